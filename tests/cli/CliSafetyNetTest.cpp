// roviro-cli's safety net: a trace replayed by `sim --replay`, upload --verify, diff --motor
// and the service history, against a simulated box on a pseudo-terminal.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "CliRunner.h"
#include "SimulatedBench.h"
#include "catalogue/Catalogue.h"
#include "platform/Paths.h"
#include "sim/BoxSimulator.h"
#include "sim/SimTransport.h"
#include "support/TempFolder.h"

namespace roviro {
namespace {

using test::CliResult;
using test::RunCli;

// roviro-cli started in the background; its first line of output is read, and it is ended
// (by its own process id) when the object goes.
class BackgroundCli {
 public:
  explicit BackgroundCli(const std::vector<std::string>& args) {
    int out[2];
    if (::pipe(out) != 0) return;
    m_pid = ::fork();
    if (m_pid == 0) {
      ::dup2(out[1], STDOUT_FILENO);
      ::close(out[0]);
      ::close(out[1]);
      std::vector<char*> argv{const_cast<char*>(ROVIRO_CLI_PATH)};
      for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      ::execv(ROVIRO_CLI_PATH, argv.data());
      ::_exit(127);
    }
    ::close(out[1]);
    char c = 0;
    while (::read(out[0], &c, 1) == 1 && c != '\n') m_line.push_back(c);
    ::close(out[0]);
  }
  ~BackgroundCli() {
    if (m_pid <= 0) return;
    ::kill(m_pid, SIGTERM);
    int status = 0;
    ::waitpid(m_pid, &status, 0);
  }
  const std::string& FirstLine() const { return m_line; }

 private:
  pid_t m_pid = -1;
  std::string m_line;
};

class CliSafetyNetTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(test::MakeBenchFolders(m_tmp.Path(), &m_catalogue)); }
  std::vector<std::string> Folders() const {
    return {"--program-dir", m_tmp.File("prog"), "--data-dir", m_tmp.File("data")};
  }
  CliResult Cli(std::vector<std::string> args) {
    std::vector<std::string> all = Folders();
    all.insert(all.end(), args.begin(), args.end());
    return RunCli(all, m_tmp.Path());
  }
  std::string Blocks(const std::string& file) {
    const CliResult r = Cli({"show", "--json", file});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return nlohmann::json::parse(r.out)["blocks"].dump();
  }
  // A box on a pseudo-terminal in this process, its motor of the catalogue's type.
  void StartBox() { ASSERT_TRUE(test::StartBenchBox(*m_catalogue, &m_box, &m_pty)); }
  void TearDown() override {
    if (m_pty) m_pty->Stop();
  }

  test::TempFolder m_tmp;
  std::unique_ptr<Catalogue> m_catalogue;
  std::shared_ptr<sim::BoxSimulator> m_box;
  std::unique_ptr<sim::PtyTransport> m_pty;
};

TEST_F(CliSafetyNetTest, ATraceReplayedBySimReplayGivesTheSameDownload) {
  const std::string trace = m_tmp.File("support case.txt");
  const std::string original = m_tmp.File("original.kxmc");
  CliResult r = Cli({"--simulate", "--trace", trace, "download", "-o", original});
  ASSERT_EQ(r.exitCode, 0) << r.err;

  std::vector<std::string> args = Folders();
  args.insert(args.end(), {"sim", "--replay", trace});
  BackgroundCli replay(args);
  ASSERT_EQ(replay.FirstLine().rfind("/dev/", 0), 0u) << replay.FirstLine();
  const std::string again = m_tmp.File("again.kxmc");
  r = Cli({"--port", replay.FirstLine(), "download", "-o", again});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(Blocks(again), Blocks(original));
  EXPECT_EQ(Cli({"diff", original, again}).exitCode, 0);

  EXPECT_EQ(Cli({"sim", "--replay", m_tmp.File("missing.txt")}).exitCode, 7);
}

TEST_F(CliSafetyNetTest, UploadVerifyDiffWithTheMotorAndTheHistoryOfItsVisits) {
  ASSERT_NO_FATAL_FAILURE(StartBox());
  const std::string port = m_pty->SlavePath();
  const std::string file = m_tmp.File("set.kxmc");
  ASSERT_EQ(Cli({"--port", port, "download", "-o", file}).exitCode, 0);
  EXPECT_EQ(Cli({"--port", port, "diff", file, "--motor"}).exitCode, 0);
  CliResult r = Cli({"--port", port, "upload", "--verify", file});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  // What the upload took from the box and the clock is shown, not counted: diff agrees.
  r = Cli({"--port", port, "diff", file, "--motor"});
  EXPECT_EQ(r.exitCode, 0) << r.out;
  EXPECT_NE(r.out.find("(not counted: set by the upload)"), std::string::npos) << r.out;

  // The stamp block goes unanswered, which the upload accepts: the motor keeps its small
  // numbers, and the read-back tells.
  auto identity = m_box->MotorBlock(0x39);
  identity[9] = 77;
  sim::BoxSimulator::Seal(identity);
  m_box->SetMotorBlock(0x39, identity);
  m_box->SilenceCommand(0x3A, 1);
  r = Cli({"--port", port, "upload", "--verify", file});
  EXPECT_EQ(r.exitCode, 4) << r.err;
  EXPECT_EQ(r.out.rfind("motor block 0x39 (Zeile_1) byte  9: written 00, read 4D\n", 0), 0u)
      << r.out;
  r = Cli({"--port", port, "diff", file, "--motor"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.out.find("byte  9: 00 4D\n"), std::string::npos) << r.out;
  EXPECT_EQ(Cli({"diff", file}).exitCode, 2);

  r = Cli({"history"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string key = r.out.substr(0, r.out.find('\t'));
  EXPECT_NE(r.out.find("\t3 visits\tlast "), std::string::npos) << r.out;
  r = Cli({"history", key.substr(0, 4)});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("download  motor  ok"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("upload    motor  ok-verified"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("upload    motor  verify-mismatch"), std::string::npos) << r.out;
  EXPECT_EQ(Cli({"history", "FFFF"}).exitCode, 2);
  EXPECT_TRUE(FolderExists(m_tmp.File("data/Trevanic/DI DU-RoviroDazo/Sicherungen/" + key)));
}

TEST_F(CliSafetyNetTest, ExitCodesForNoMotorAndTraceFilesThatAreNotTraces) {
  ASSERT_NO_FATAL_FAILURE(StartBox());
  const std::string port = m_pty->SlavePath();
  const std::string file = m_tmp.File("set.kxmc");
  // One damaged reply to the probe is not "no box"; a motor left at 0/0 is told about.
  m_box->CorruptNextReplyChecksum();
  CliResult r = Cli({"--port", port, "download", "-o", file});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find("cannot tell this motor"), std::string::npos) << r.err;

  m_box->SetMotorPresent(false);
  r = Cli({"--port", port, "upload", file});
  EXPECT_EQ(r.exitCode, 8);
  EXPECT_NE(r.err.find("no motor connected: only the box was written"), std::string::npos);
  EXPECT_EQ(Cli({"--port", port, "upload", "--box-only", file}).exitCode, 0);
  const std::string fromBox = m_tmp.File("box.kxmc");
  EXPECT_EQ(Cli({"--port", port, "download", "-o", fromBox}).exitCode, 0);
  ASSERT_TRUE(RemoveFile(fromBox));
  EXPECT_EQ(Cli({"--port", port, "download", "--require-motor", "-o", fromBox}).exitCode, 8);
  EXPECT_FALSE(FileExists(fromBox));

  // --trace never empties another file, and is not made before the arguments are checked.
  const std::string notes = m_tmp.File("notes.txt");
  ASSERT_TRUE(WriteTextFile("my notes\n", notes));
  EXPECT_EQ(Cli({"--port", port, "--trace", notes, "download", "-o", fromBox}).exitCode, 2);
  std::string kept;
  ASSERT_TRUE(ReadWholeFile(notes, &kept));
  EXPECT_EQ(kept, "my notes\n");
  const std::string fresh = m_tmp.File("fresh.txt");
  EXPECT_EQ(Cli({"--port", port, "--trace", fresh, "upload", m_tmp.File("none.kxmc")}).exitCode, 7);
  EXPECT_FALSE(FileExists(fresh));
  // A trace that cannot be written whole fails a command that went well otherwise.
  EXPECT_EQ(Cli({"--simulate", "--trace", "/dev/full", "download", "-o", fromBox}).exitCode, 7);
}

}  // namespace
}  // namespace roviro
