// roviro-cli against the simulated box on a pseudo-terminal, the way a service bench uses it:
// the simulator runs in this process, so the test can look at what was written into it.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "CliRunner.h"
#include "catalogue/Archive.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueDocuments.h"
#include "platform/Paths.h"
#include "sim/BoxSimulator.h"
#include "sim/SimTransport.h"
#include "support/TempFolder.h"
#include "ui/TextHelpers.h"

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
    const std::string config = m_tmp.File("prog/LoaderDaten/Config");
    ASSERT_TRUE(CreateFolderTree(config));
    ASSERT_TRUE(CreateFolderTree(m_tmp.File("data")));
    ASSERT_TRUE(WriteCatalogueArchive(JoinPath(config, "family.kxbmc"),
                                      {{"family.xml", test::RealisticCatalogue(5)}}));
    CatalogueList list;
    NullMessageSink quiet;
    ASSERT_EQ(LoadCatalogueFolder({"", m_tmp.File("data"), &quiet}, config, list), 1);
    ASSERT_EQ(list.size(), 1u);
    m_catalogue = std::move(list[0]);

    m_box = std::make_shared<sim::BoxSimulator>(RealClock());
    ParameterImage factory;
    factory.Clear();
    CopyMotorToParameterImage(m_catalogue.get(), &factory, 0);
    for (const BlockInfo& b : kBlocks) {
      const auto block = factory.Block(b.command);
      Bytes bytes(block.begin(), block.end());
      sim::BoxSimulator::Seal(bytes);
      m_box->SetMotorBlock(b.command, bytes);
    }
    m_pty = std::make_unique<sim::PtyTransport>(m_box);
    ASSERT_EQ(m_pty->Start(), S_OK);
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

// The last line of standard error: the reason the command gives.
std::string LastLine(const std::string& text) {
  const std::size_t end = text.empty() || text.back() != '\n' ? text.size() : text.size() - 1;
  const std::size_t start = text.rfind('\n', end == 0 ? 0 : end - 1);
  return text.substr(start == std::string::npos ? 0 : start + 1,
                     end - (start == std::string::npos ? 0 : start + 1));
}

// Without the page files the read still happens; the texts are missing, the numbers are not.
TEST_F(CliDeviceTest, OpdataWithoutWordingFilesPrintsNumbersAndCodes) {
  CliResult r = Cli({"opdata"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err,
            "roviro-cli: the event texts are not available (no operating-data page of language 0 "
            "below " +
                NormalisePath(m_tmp.File("prog") + "/LoaderDaten/Screen") +
                "); numbers and codes only\n");
  const Bytes data = m_box->MotorBlock(0x30);
  const std::uint32_t seconds = data[0] | (data[1] << 8) | (data[2] << 16) | (data[3] << 24);
  EXPECT_EQ(r.out.rfind("Running time: " + std::to_string(seconds) + " s", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("Counter 1: " + std::to_string(data[5]) + "\n"), std::string::npos);
  char event[16];
  std::snprintf(event, sizeof event, "9\t%02X\n", data[20]);
  EXPECT_NE(r.out.find(event), std::string::npos) << r.out;

  CliResult json = Cli({"opdata", "--json"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  const auto doc = nlohmann::json::parse(json.out);
  EXPECT_EQ(doc["runningSeconds"], seconds);
  EXPECT_TRUE(doc["events"][0]["text"].is_null());
}

TEST_F(CliDeviceTest, APortThatIsNotABox) {
  const std::string file = m_tmp.File("set.kxmc");
  ASSERT_EQ(Cli({"download", "-o", file}).exitCode, 0);
  // A pseudo-terminal nobody answers on, and a device that is no serial line at all.
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  const std::string silent = ptsname(master);
  for (const std::string& port : {silent, std::string("/dev/null")}) {
    for (const auto& command : std::vector<std::vector<std::string>>{
             {"ports"}, {"download", "-o", m_tmp.File("x.kxmc")}, {"upload", file}, {"opdata"}}) {
      std::vector<std::string> args = {"--program-dir",    m_tmp.File("prog"), "--data-dir",
                                       m_tmp.File("data"), "--port",           port};
      args.insert(args.end(), command.begin(), command.end());
      CliResult r = RunCli(args, m_tmp.Path());
      EXPECT_EQ(r.exitCode, 3) << port << " " << command[0] << ": " << r.err;
      EXPECT_EQ(LastLine(r.err),
                "roviro-cli: " + port + ": cannot be opened, or the box does not answer the probe")
          << r.err;
    }
  }
  close(master);
  EXPECT_FALSE(FileExists(m_tmp.File("x.kxmc")));
}

TEST_F(CliDeviceTest, APortThatDisappears) {
  const std::string file = m_tmp.File("set.kxmc");
  ASSERT_EQ(Cli({"download", "-o", file}).exitCode, 0);
  m_box->UnplugAfterRequests(6);
  CliResult upload = Cli({"upload", file});
  EXPECT_EQ(upload.exitCode, 4) << upload.err;
  EXPECT_EQ(LastLine(upload.err), "roviro-cli: upload failed") << upload.err;
  // The vanished port is gone for good; the box comes back on a new one.
  m_pty->Stop();
  m_box->Replug();
  m_pty = std::make_unique<sim::PtyTransport>(m_box);
  ASSERT_EQ(m_pty->Start(), S_OK);
  m_box->UnplugAfterRequests(6);
  CliResult opdata = Cli({"opdata"});
  EXPECT_EQ(opdata.exitCode, 4) << opdata.err;
  EXPECT_EQ(LastLine(opdata.err), "roviro-cli: the motor does not answer") << opdata.err;
}

}  // namespace
}  // namespace roviro
