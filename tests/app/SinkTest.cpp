// The Qt message sink (posted messages, worker boxes on the user-interface thread), the
// scripted prompts and the command line.

#include <QApplication>

#include <atomic>
#include <thread>

#include "AppFixture.h"
#include "app/QtMessageSink.h"
#include "app/VQZodavaRozeApp.h"
#include "screens/ParameterFile.h"

namespace roviro::test {
namespace {

class Receiver : public QObject {
 public:
  std::vector<std::uint32_t> messages;
  std::vector<std::uintptr_t> wParams;

 protected:
  bool event(QEvent* e) override {
    if (IsAppMessageEvent(e)) {
      messages.push_back(static_cast<AppMessageEvent*>(e)->message);
      wParams.push_back(static_cast<AppMessageEvent*>(e)->wParam);
      return true;
    }
    return QObject::event(e);
  }
};

TEST(QtMessageSink, PostsNumberedEventsInOrderFromAnyThread) {
  Receiver receiver;
  ScriptedPrompts prompts;
  QtMessageSink sink(&receiver, &prompts);
  sink.Post(20025);
  std::thread worker([&] { sink.Post(20026, 7); });
  worker.join();
  QApplication::processEvents();
  EXPECT_EQ(receiver.messages, (std::vector<std::uint32_t>{20025, 20026}));
  EXPECT_EQ(receiver.wParams[1], 7u);
  sink.Shutdown();
  sink.Post(20025);
  QApplication::processEvents();
  EXPECT_EQ(receiver.messages.size(), 2u);
}

TEST(QtMessageSink, AWorkersBoxIsShownOnTheGuiThreadAndItsAnswerReturned) {
  Receiver receiver;
  ScriptedPrompts prompts;
  prompts.ScriptAnswer(kIdYes);
  QtMessageSink sink(&receiver, &prompts);
  std::atomic<int> answer{0};
  std::thread worker(
      [&] { answer = sink.MessageBox("Text", "Fehler...", kMbYesNo | kMbIconError); });
  ASSERT_TRUE(AppTest::WaitFor([&] { return answer.load() != 0; }));
  worker.join();
  EXPECT_EQ(answer.load(), kIdYes);
  ASSERT_EQ(prompts.Calls().size(), 1u);
  EXPECT_EQ(prompts.Calls()[0].text, "Text");
  EXPECT_EQ(prompts.Calls()[0].style, kMbYesNo | kMbIconError);
}

TEST(QtMessageSink, ShutdownReleasesAWaitingWorkerWithARefusal) {
  Receiver receiver;
  ScriptedPrompts prompts;
  QtMessageSink sink(&receiver, &prompts);
  std::atomic<int> answer{0};
  std::thread worker([&] { answer = sink.MessageBox("Frage", "", kMbYesNo); });
  // The GUI thread does not serve the box; closing must not wait for it.
  while (prompts.Calls().empty() && answer.load() == 0) {
    sink.Shutdown();
    std::this_thread::yield();
  }
  worker.join();
  EXPECT_EQ(answer.load(), kIdNo);
  QApplication::processEvents();  // the abandoned request is not shown any more
  EXPECT_TRUE(prompts.Calls().empty());
  EXPECT_EQ(QtMessageSink::RefusingAnswer(kMbOkCancel), kIdCancel);
  EXPECT_EQ(QtMessageSink::RefusingAnswer(kMbOk), kIdOk);
}

TEST(ScriptedPrompts, AnswersFromTheScriptAndRecordsEveryCall) {
  ScriptedPrompts prompts;
  prompts.ScriptAnswer(kIdNo);
  prompts.ScriptPath("/tmp/a.kxmc");
  prompts.ScriptPath("");
  EXPECT_EQ(prompts.MessageBox("a", "b", kMbYesNo), kIdNo);
  EXPECT_EQ(prompts.MessageBox("c", "d", kMbOk), kIdOk);
  std::string path;
  EXPECT_TRUE(prompts.OpenFileName("Open", "", kParameterFileFilter, &path));
  EXPECT_EQ(path, "/tmp/a.kxmc");
  EXPECT_FALSE(prompts.SaveFileName("Save", "", kParameterFileFilter, &path, "kxmc"));
  EXPECT_TRUE(Failed(prompts.ChooseFolder("Folder", &path, 0)));
  const auto calls = prompts.Calls();
  ASSERT_EQ(calls.size(), 5u);
  EXPECT_EQ(calls[2].kind, "open");
  EXPECT_EQ(calls[3].kind, "save");
  EXPECT_EQ(calls[3].suffix, "kxmc");
  EXPECT_EQ(calls[3].filter, kParameterFileFilter);
  EXPECT_EQ(calls[4].kind, "folder");
}

TEST(AppOptions, ReadsEveryOptionAndRefusesWhatItDoesNotKnow) {
  AppOptions o;
  std::string error;
  ASSERT_TRUE(ParseAppOptions({"--port", "/dev/ttyUSB3", "--program-dir", "/p", "--data-dir", "/d",
                               "-EW", "--screenshot", "s.png"},
                              &o, &error));
  EXPECT_EQ(o.port, "/dev/ttyUSB3");
  EXPECT_EQ(o.programDir, "/p");
  EXPECT_EQ(o.dataDir, "/d");
  EXPECT_EQ(o.screenshot, "s.png");
  EXPECT_NE(o.commandLine.find("-EW"), std::string::npos);
  EXPECT_FALSE(o.simulate);

  EXPECT_FALSE(ParseAppOptions({"--port"}, &o, &error));
  EXPECT_NE(error.find("--port"), std::string::npos);
  EXPECT_FALSE(ParseAppOptions({"--simulate", "--port", "/dev/x"}, &o, &error));
  EXPECT_FALSE(ParseAppOptions({"--colour"}, &o, &error));
  EXPECT_EQ(error, "unknown option: --colour");
  ASSERT_TRUE(ParseAppOptions({"--simulate"}, &o, &error));
  EXPECT_TRUE(o.simulate);

  EXPECT_EQ(PortNumberOfPath("/dev/ttyUSB3"), 3);
  EXPECT_EQ(PortNumberOfPath("/dev/ttyACM12"), 12);
  EXPECT_EQ(PortNumberOfPath("/dev/pts/x"), 1);
}

}  // namespace
}  // namespace roviro::test

namespace roviro {
namespace {

// The program's filters name description and pattern between bars; Qt wants the description
// with the pattern in parentheses, pairs joined by ";;".
TEST(QtFileFilter, TurnsTheProgramsFilterIntoQtsForm) {
  EXPECT_EQ(QtFileFilter(kParameterFileFilter), "kxmc-File (*.kxmc)");
  EXPECT_EQ(QtFileFilter("Bilder|*.bmp|Alle|*.*||"), "Bilder (*.bmp);;Alle (*.*)");
  EXPECT_EQ(QtFileFilter("kxmc-File (*.kxmc)"), "kxmc-File (*.kxmc)");
}

}  // namespace
}  // namespace roviro
