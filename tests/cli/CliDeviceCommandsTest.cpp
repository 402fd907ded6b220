// roviro-cli against the simulated box on a pseudo-terminal, the way a service bench uses it:
// the simulator runs in this process, so the test can look at what was written into it.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "CliRunner.h"
#include "SimulatedBench.h"
#include "catalogue/Catalogue.h"
#include "pages/TextHelpers.h"
#include "platform/Paths.h"
#include "platform/SerialPort.h"
#include "sim/BoxSimulator.h"
#include "sim/SimTransport.h"
#include "support/TempFolder.h"

namespace roviro {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::CliResult;
using test::RunCli;
using test::TempFolder;

class CliDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A program folder with one catalogue whose first motor type is the simulated motor.
    ASSERT_TRUE(test::MakeBenchFolders(m_tmp.Path(), &m_catalogue));
    ASSERT_TRUE(test::StartBenchBox(*m_catalogue, &m_box, &m_pty));
  }

  void TearDown() override { m_pty->Stop(); }

  CliResult Cli(std::vector<std::string> args, bool withPort = true) {
    std::vector<std::string> all = {"--program-dir", m_tmp.File("prog"), "--data-dir",
                                    m_tmp.File("data")};
    if (withPort) all.insert(all.end(), {"--port", m_pty->SlavePath()});
    all.insert(all.end(), args.begin(), args.end());
    return RunCli(all, m_tmp.Path());
  }

  // The seven blocks of a parameter file, as `show --json` reports them.
  std::map<std::uint8_t, Bytes> FileBlocks(const std::string& file) {
    CliResult r = Cli({"show", "--json", file}, false);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::map<std::uint8_t, Bytes> out;
    const auto doc = nlohmann::json::parse(r.out);
    for (const BlockInfo& b : kBlocks) {
      char key[8];
      std::snprintf(key, sizeof key, "0x%02X", b.command);
      const std::string hex = doc["blocks"][key];
      Bytes bytes(static_cast<std::size_t>(b.size));
      HexToBytes(bytes.data(), hex, b.size);
      out[b.command] = bytes;
    }
    return out;
  }

  TempFolder m_tmp;
  std::unique_ptr<Catalogue> m_catalogue;
  std::shared_ptr<sim::BoxSimulator> m_box;
  std::unique_ptr<sim::PtyTransport> m_pty;
};

TEST_F(CliDeviceTest, DownloadThenShowGivesTheMotorsBlocks) {
  const std::string file = m_tmp.File("set.kxmc");
  CliResult r = Cli({"download", "-o", file, "--name", "Halle 3", "--comment", "a\\nb"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto blocks = FileBlocks(file);
  for (const BlockInfo& b : kBlocks) {
    Bytes expected = m_box->MotorBlock(b.command);
    if (b.command == 0x39) {
      // A file carries no upload stamp.
      expected[11] = expected[12] = expected[13] = 0xFF;
      expected[14] = 1;
      sim::BoxSimulator::Seal(expected);
    }
    EXPECT_EQ(blocks.at(b.command), expected) << "block " << std::hex << int(b.command);
  }
  CliResult show = Cli({"show", "--json", file}, false);
  const auto doc = nlohmann::json::parse(show.out);
  EXPECT_EQ(doc["name"], "Halle 3");
  EXPECT_EQ(doc["kommentar"], "a\nb");
  EXPECT_EQ(doc["guid"], m_catalogue->motors[0].strGuidNQB);
  EXPECT_EQ(doc["catalogue"], m_catalogue->motors[0].strMoNa);
}

TEST_F(CliDeviceTest, UploadWritesEveryBlockIntoMotorAndBox) {
  const std::string file = m_tmp.File("set.kxmc");
  ASSERT_EQ(Cli({"download", "-o", file}).exitCode, 0);
  // A different motor of the same type: change a settings byte in the motor first.
  Bytes changed = m_box->MotorBlock(0x34);
  changed[0] = static_cast<std::uint8_t>(changed[0] + 9);
  sim::BoxSimulator::Seal(changed);
  m_box->SetMotorBlock(0x34, changed);

  CliResult r = Cli({"upload", file});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto blocks = FileBlocks(file);
  for (const BlockInfo& b : kBlocks) {
    if (b.command == 0x30) continue;  // the operating data is never written
    const Bytes motor = m_box->MotorBlock(b.command);
    Bytes expected = blocks.at(b.command);
    if (b.command == 0x39) {
      // The upload stamps the set with the hour it was written and records the box version;
      // the identity block goes out unsealed.
      for (int i = 11; i <= 13; ++i) expected[i] = motor[i];
      EXPECT_NE(motor[11], 0xFF);
      expected[15] = motor[15];
    }
    if (b.command == 0x2E) {
      // The box serial number, and the flag bit taken over from the motor.
      expected[0] = motor[0];
      expected[1] = motor[1];
      expected[8] = static_cast<std::uint8_t>((expected[8] & 0x7F) | (motor[8] & 0x80));
      sim::BoxSimulator::Seal(expected);
    }
    EXPECT_EQ(motor, expected) << "motor block " << std::hex << int(b.command);
  }
  // The box keeps sealed copies of the identity, box and settings blocks.
  const std::uint8_t boxSources[3] = {0x39, 0x2E, 0x34};
  for (int i = 0; i < 3; ++i) {
    Bytes sealed = m_box->MotorBlock(boxSources[i]);
    sim::BoxSimulator::Seal(sealed);
    EXPECT_EQ(m_box->BoxBlock(i), sealed) << "box block " << i;
  }
}

TEST_F(CliDeviceTest, MotorOfAnotherTypeIsNotWritten) {
  const std::string file = m_tmp.File("set.kxmc");
  ASSERT_EQ(Cli({"download", "-o", file}).exitCode, 0);
  Bytes id = m_box->MotorBlock(0x39);
  id[0] = static_cast<std::uint8_t>(id[0] ^ 0x40);
  sim::BoxSimulator::Seal(id);
  m_box->SetMotorBlock(0x39, id);
  std::map<std::uint8_t, Bytes> before;
  for (const BlockInfo& b : kBlocks) before[b.command] = m_box->MotorBlock(b.command);

  CliResult r = Cli({"upload", file});
  EXPECT_EQ(r.exitCode, 6) << r.err;
  for (const BlockInfo& b : kBlocks) EXPECT_EQ(m_box->MotorBlock(b.command), before[b.command]);
}

TEST_F(CliDeviceTest, WithoutMotorTheBoxAnswersOrHasNothing) {
  m_box->SetMotorPresent(false);
  CliResult fromBox = Cli({"download", "-o", m_tmp.File("box.kxmc")});
  EXPECT_EQ(fromBox.exitCode, 0) << fromBox.err;
  EXPECT_NE(fromBox.err.find("box (no motor connected)"), std::string::npos);

  m_box->SetBoxHasParameters(false);
  CliResult empty = Cli({"download", "-o", m_tmp.File("none.kxmc")});
  EXPECT_EQ(empty.exitCode, 5) << empty.err;
  EXPECT_NE(empty.err.find("the box holds no parameters"), std::string::npos) << empty.err;
  EXPECT_FALSE(FileExists(m_tmp.File("none.kxmc")));
}

TEST_F(CliDeviceTest, PortsAndMissingBoxes) {
  CliResult ports = Cli({"ports"});
  EXPECT_EQ(ports.exitCode, 0) << ports.err;
  EXPECT_NE(ports.out.find(m_pty->SlavePath()), std::string::npos) << ports.out;

  const std::vector<std::string> noBox = {"--program-dir", m_tmp.File("prog"),
                                          "--data-dir",    m_tmp.File("data"),
                                          "--port",        m_tmp.File("no-such-tty")};
  for (const auto& command : std::vector<std::vector<std::string>>{
           {"ports"}, {"download", "-o", m_tmp.File("x.kxmc")}, {"opdata"}}) {
    std::vector<std::string> args = noBox;
    args.insert(args.end(), command.begin(), command.end());
    if (command[0] == "opdata") continue;  // needs page files; covered below
    CliResult r = RunCli(args, m_tmp.Path());
    EXPECT_EQ(r.exitCode, 3) << command[0] << ": " << r.err;
    EXPECT_EQ(r.err, "roviro-cli: " + m_tmp.File("no-such-tty") + ": no such device\n");
  }
  EXPECT_FALSE(FileExists(m_tmp.File("x.kxmc")));
  // A file that cannot be loaded never reaches the box.
  EXPECT_EQ(Cli({"upload", m_tmp.File("missing.kxmc")}).exitCode, 7);
}

}  // namespace
}  // namespace roviro

namespace roviro {
namespace {

TEST_F(CliDeviceTest, ABoxThatVanishesMidTransferFailsWithoutAFile) {
  m_box->UnplugAfterRequests(6);
  CliResult r = Cli({"download", "-o", m_tmp.File("half.kxmc")});
  EXPECT_EQ(r.exitCode, 4) << r.err;
  EXPECT_FALSE(FileExists(m_tmp.File("half.kxmc")));
}

}  // namespace
}  // namespace roviro

namespace roviro {
namespace {

std::string LastLine(const std::string& text) {
  const std::size_t start = text.rfind('\n', text.size() >= 2 ? text.size() - 2 : 0);
  return text.substr(start == std::string::npos ? 0 : start + 1);
}

// Without the page files the read still happens: the numbers are there, the texts are not.
TEST_F(CliDeviceTest, OpdataWithoutWordingFilesPrintsNumbersAndCodes) {
  CliResult r = Cli({"opdata"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err,
            "roviro-cli: the event texts are not available (no operating-data page of "
            "language 0 below " +
                m_tmp.File("prog/LoaderDaten/Screen") + "); numbers and codes only\n");
  const Bytes d = m_box->MotorBlock(0x30);
  const unsigned seconds = d[0] | (d[1] << 8) | (d[2] << 16) | (d[3] << 24);
  char expected[160];
  std::snprintf(expected, sizeof expected, "Running time: %u s", seconds);
  EXPECT_EQ(r.out.rfind(expected, 0), 0u) << r.out;
  std::snprintf(expected, sizeof expected, "Counter 1: %u\nCounter 2: %u\n0\t%02X\n", d[5], d[7],
                d[11]);
  EXPECT_NE(r.out.find(expected), std::string::npos) << r.out;
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 13);
}

// Every device command, on a port nobody answers on, on one that is no serial line, and on
// one that goes away during the work.
TEST_F(CliDeviceTest, APortThatIsNotABoxOrDisappears) {
  const std::string file = m_tmp.File("set.kxmc");
  ASSERT_EQ(Cli({"download", "-o", file}).exitCode, 0);
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_TRUE(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
  const std::vector<std::vector<std::string>> commands = {
      {"ports"}, {"download", "-o", m_tmp.File("x.kxmc")}, {"upload", file}, {"opdata"}};
  for (const std::string& port : {std::string(ptsname(master)), std::string("/dev/null")}) {
    for (auto args : commands) {
      args.insert(args.begin(), {"--program-dir", m_tmp.File("prog"), "--data-dir",
                                 m_tmp.File("data"), "--port", port});
      CliResult r = RunCli(args, m_tmp.Path());
      EXPECT_EQ(r.exitCode, 3) << port << " " << args[6] << ": " << r.err;
      EXPECT_EQ(LastLine(r.err), "roviro-cli: " + port +
                                     ": cannot be opened, or the box does not answer the probe\n");
    }
  }
  close(master);
  EXPECT_FALSE(FileExists(m_tmp.File("x.kxmc")));

  for (const auto& [command, reason] : std::vector<std::pair<std::string, std::string>>{
           {"upload", "upload failed"}, {"opdata", "the motor does not answer"}}) {
    // A vanished port is gone for good; the box comes back on a new one each time.
    m_pty->Stop();
    m_box->Replug();
    m_pty = std::make_unique<sim::PtyTransport>(m_box);
    ASSERT_EQ(m_pty->Start(), S_OK);
    m_box->UnplugAfterRequests(6);
    CliResult r = Cli(command == "upload" ? std::vector<std::string>{command, file}
                                          : std::vector<std::string>{command});
    EXPECT_EQ(r.exitCode, 4) << r.err;
    EXPECT_EQ(LastLine(r.err), "roviro-cli: " + reason + "\n");
  }
}

// A box another program holds (here this process) is left alone, with a word.
TEST_F(CliDeviceTest, ABoxHeldByAnotherProgramIsNotTalkedTo) {
  SerialPort holder;
  ASSERT_EQ(holder.Open(m_pty->SlavePath(), {}), S_OK);
  m_box->ClearRequests();
  CliResult r = Cli({"opdata"});
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_EQ(LastLine(r.err).find("roviro-cli: " + m_pty->SlavePath() + ": in use by another"), 0u);
  EXPECT_TRUE(m_box->Requests().empty());
  holder.Close();
  EXPECT_EQ(Cli({"opdata"}).exitCode, 0);
}

}  // namespace
}  // namespace roviro
