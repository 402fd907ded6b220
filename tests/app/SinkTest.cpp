// The Qt message sink (posted messages, worker boxes on the user-interface thread), the
// scripted prompts and the command line.

#include <QApplication>

#include <atomic>
#include <chrono>
#include <thread>

#include "AppFixture.h"
#include "app/QtMessageSink.h"
#include "app/VQZodavaRozeApp.h"
#include "device/DeviceLink.h"
#include "records/ParameterFile.h"
#include "sim/BoxSimulator.h"
#include "sim/SimTransport.h"

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

TEST(QtMessageSink, AWorkerWaitingForItsBoxLeavesTheLinkLockToTheGuiThread) {
  Receiver receiver;
  ScriptedPrompts prompts;
  QtMessageSink sink(&receiver, &prompts);
  ManualClock clock;
  SimulatedBridgeList bridges;
  PortResolver resolver;
  ParameterImage image;
  auto box = std::make_shared<sim::BoxSimulator>(clock);
  sim::AttachInMemory(box, resolver, bridges, 5);
  CDeviceLink link(clock, &bridges, resolver, image);
  link.Init(&sink, 1, 100);
  ASSERT_TRUE(Succeeded(link.Discover()));
  box->ClearRequests();
  // A factory reset whose reading of block 0x34 fails six times ends with the error box.
  box->SilenceCommand(0x34, 6);
  link.State().m_testRequest = {2, 0x28, 0x01, 0xA8, 0x00};
  ASSERT_TRUE(link.StartTestRequest());
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (box->Requests().size() < 10 && std::chrono::steady_clock::now() < limit) {
    std::this_thread::yield();  // 0x13, 0x12, {0x24, 0x01}, {0x28, 0x01}, six times 0x34
  }
  // The GUI thread, not serving its events, wants the lock (as a queue pop on 20029 does).
  bool locked = false;
  while (!locked && std::chrono::steady_clock::now() < limit) locked = link.Lock().try_lock();
  if (locked) link.Lock().unlock();
  EXPECT_TRUE(locked);
  // Serving the events shows the box; the worker then ends.
  ASSERT_TRUE(AppTest::WaitFor([&] { return link.RunningWorkers() == 0; }));
  EXPECT_EQ(prompts.Calls().size(), 1u);
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
  EXPECT_FALSE(ParseAppOptions({"--simulate-motor", "compact"}, &o, &error));
  EXPECT_EQ(error, "--simulate-motor needs --simulate");
  ASSERT_TRUE(ParseAppOptions({"--simulate-motor", "compact", "--simulate"}, &o, &error));
  EXPECT_EQ(o.simulatedMotor, "compact");

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
