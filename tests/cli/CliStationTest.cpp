// roviro-cli station against a line of simulated motors on a pseudo-terminal in this process:
// what it writes into which motor, what it prints, how it ends.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <nlohmann/json.hpp>
#include <sstream>

#include "CliRunner.h"
#include "SimulatedBench.h"
#include "catalogue/Catalogue.h"
#include "platform/Paths.h"
#include "sim/BoxSimulator.h"
#include "sim/SimTransport.h"
#include "support/TempFolder.h"

namespace roviro {
namespace {

using Identity = std::array<std::uint8_t, 3>;

class CliStationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::unique_ptr<Catalogue> catalogue;
    ASSERT_TRUE(test::MakeBenchFolders(m_tmp.Path(), &catalogue));
    ASSERT_TRUE(test::StartBenchBox(*catalogue, &m_box, &m_pty));
    const std::vector<std::uint8_t> id = m_box->MotorBlock(0x39);
    m_same = {id[0], id[1], id[2]};
    ASSERT_EQ(test::RunCli({"--program-dir", m_tmp.File("prog"), "--data-dir", m_tmp.File("data"),
                            "--port", m_pty->SlavePath(), "download", "-o", m_tmp.File("set.kxmc")},
                           m_tmp.Path())
                  .exitCode,
              0);
    m_box->ClearRequests();
  }
  void TearDown() override { m_pty->Stop(); }

  // Starts the station; Finish() waits for it and returns its exit code.
  void Start(std::vector<std::string> extra) {
    std::vector<std::string> args = {
        "--program-dir",    m_tmp.File("prog"), "--data-dir", m_tmp.File("data"),     "--port",
        m_pty->SlavePath(), "station",          "--set",      m_tmp.File("set.kxmc"), "--json"};
    args.insert(args.end(), extra.begin(), extra.end());
    const std::string out = m_tmp.File("station.out");
    m_pid = ::fork();
    if (m_pid == 0) {
      ::freopen(out.c_str(), "w", stdout);
      ::freopen("/dev/null", "w", stderr);
      std::vector<char*> argv{const_cast<char*>(ROVIRO_CLI_PATH)};
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execv(ROVIRO_CLI_PATH, argv.data());
      ::_exit(127);
    }
  }
  int Finish() {
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    std::string text;
    ReadWholeFile(m_tmp.File("station.out"), &text);
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) m_lines.push_back(nlohmann::json::parse(line));
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  int Count(std::uint8_t command) const {
    int n = 0;
    for (const auto& r : m_box->Requests()) n += r[0] == command ? 1 : 0;
    return n;
  }

  test::TempFolder m_tmp;
  std::shared_ptr<sim::BoxSimulator> m_box;
  std::unique_ptr<sim::PtyTransport> m_pty;
  Identity m_same{};
  std::atomic<pid_t> m_pid{-1};
  std::vector<nlohmann::json> m_lines;
};

TEST_F(CliStationTest, ALineWithAMotorOfAnotherType) {
  Identity other = m_same;
  other[0] ^= 0x40;
  m_box->SetLine({m_same, m_same, other, m_same}, 150'000, 200'000);
  Start({"--count", "4"});
  EXPECT_EQ(Finish(), 6);
  ASSERT_EQ(m_lines.size(), 5u);
  const char* expected[4] = {"written", "written", "refused", "written"};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(m_lines[k]["n"], k + 1);
    EXPECT_EQ(m_lines[k]["result"], expected[k]) << m_lines[k].dump();
  }
  EXPECT_TRUE(m_lines[2]["motor"].is_null());
  EXPECT_NE(m_lines[2]["reason"].get<std::string>().find("another type"), std::string::npos);
  EXPECT_EQ(m_lines[4]["summary"]["written"], 3);
  EXPECT_EQ(m_lines[4]["summary"]["refused"], 1);
  EXPECT_EQ(m_box->LineArrivals(), 4);
  // Three motors were written: the refused one got no write, the box none for it.
  EXPECT_EQ(Count(0x35), 3);
  EXPECT_EQ(Count(0x3C), 3);
  int boxWrites = 0;
  for (const auto& r : m_box->Requests()) boxWrites += r[0] == 0x19 && r[1] == 0x05 ? 1 : 0;
  EXPECT_EQ(boxWrites, 3);
}

TEST_F(CliStationTest, AMotorThatStaysIsWrittenOnceAndSigtermLetsTheTransferEnd) {
  // A motor left plugged in: the station keeps asking whether it has gone, and writes nothing.
  std::atomic<int> endsSeen{0};
  std::atomic<int> pollsAfter{0};
  m_box->OnRequest([&](const std::vector<std::uint8_t>& r) {
    if (r[0] == 0x13 && r.size() == 2) ++endsSeen;
    if (r[0] == 0x21 && endsSeen > 0 && ++pollsAfter == 4) ::kill(m_pid, SIGTERM);
  });
  Start({"--count", "3"});
  EXPECT_EQ(Finish(), 0);
  EXPECT_EQ(Count(0x35), 1);
  EXPECT_GE(pollsAfter.load(), 4);
  ASSERT_EQ(m_lines.size(), 2u);
  EXPECT_EQ(m_lines[0]["result"], "written");
  EXPECT_EQ(m_lines[1]["summary"]["motors"], 1);

  // SIGTERM as the first block goes out: the write, the read-back and the connection end are
  // finished; the next motor of the line is not waited for.
  m_lines.clear();
  m_box->OnRequest([&](const std::vector<std::uint8_t>& r) {
    if (r[0] == 0x35) ::kill(m_pid, SIGTERM);
  });
  m_box->SetLine({m_same, m_same}, 150'000, 200'000);
  m_box->ClearRequests();
  Start({"--count", "2", "--verify"});
  EXPECT_EQ(Finish(), 0);
  ASSERT_EQ(m_lines.size(), 2u);
  EXPECT_EQ(m_lines[0]["result"], "verified") << m_lines[0].dump();
  EXPECT_FALSE(m_lines[0]["firmware"].is_null());
  EXPECT_EQ(m_lines[1]["summary"]["motors"], 1);
  EXPECT_EQ(Count(0x3C), 1);
  EXPECT_EQ(m_box->Requests().back(), (std::vector<std::uint8_t>{0x19, 0x04}));
  EXPECT_EQ(m_box->LineArrivals(), 1);
}

}  // namespace
}  // namespace roviro
