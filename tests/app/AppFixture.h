#pragma once
// A main dialog on a program folder of its own (the built LoaderDaten tree linked into it), a
// shared data folder of its own, scripted prompts, a factory with the tests' screens and a
// device link on a scripted bridge list with a manual clock.

#include <gtest/gtest.h>

#include <QApplication>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Prompts.h"
#include "app/Screen.h"
#include "app/ScreenFactory.h"
#include "app/VQZodavaRozeDlg.h"
#include "platform/Paths.h"
#include "support/TempFolder.h"

namespace roviro::test {

// What the test screens did, in order ("create 2", "leave 1", "msg 20020", ...).
struct ScreenLog {
  std::vector<std::string> events;
  int Count(const std::string& event) const;
  bool Has(const std::string& event) const { return Count(event) > 0; }
};

// A screen that records its calls; Create fails when told to. It takes button A 0 and edit 0.
class TestScreen : public CScreenDefaults {
 public:
  TestScreen(CVQZodavaRozeDlg* dlg, int id, ScreenLog* log, bool failCreate);
  ~TestScreen() override;

  HResult Create() override;
  void UpdateControls() override;
  int OnWindowMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam,
                      std::intptr_t* result) override;
  void OnLeave() override;
  void OnEnter() override;
  void OnTimer(unsigned id) override;
  void OnDeviceFrame(const Telegram* frame) override;
  void OnButtonClicked(QWidget* focus) override;
  void OnEditChange(QWidget* focus) override;
  void StoreValues() override;
  void OnComboSelChange(QWidget* focus) override;
  void OnHScroll(unsigned code, unsigned position, QWidget* bar, QWidget* focus) override;
  void OnVScroll(unsigned code, unsigned position, QWidget* bar, QWidget* focus) override;
  void OnListItemSelected(ListViewNotify* n, std::intptr_t* result, QTreeWidget* list) override;
  void OnListItemUnselecting(ListViewNotify* n, std::intptr_t* result, QTreeWidget* list) override;
  void OnCustomDraw(NotifyHeader* header, std::intptr_t* result, QWidget* focus) override;

  // Runs inside OnButtonClicked after it is logged, as a screen's own work would.
  std::function<void(TestScreen&)> onButton;
  // The answer to a custom-draw notification.
  std::intptr_t drawAnswer = 0;

  // Access for the tests.
  using CScreen::m_flags;
  using CScreen::m_focusIndex;
  using CScreen::m_focusTable;

 protected:
  HResult TakeControls() override;

 private:
  ScreenLog* m_log;
  bool m_failCreate;
};

// Sets the locale variables LC_ALL, LC_MESSAGES and LANG (null: unset) and restores them
// when it goes.
class ScopedLocale {
 public:
  ScopedLocale(const char* all, const char* messages, const char* lang);
  ~ScopedLocale();
  ScopedLocale(const ScopedLocale&) = delete;
  ScopedLocale& operator=(const ScopedLocale&) = delete;

 private:
  std::optional<std::string> m_saved[3];
};

// The built tree: <build>/LoaderDaten.
std::string BuiltLoaderDaten();

// Everything a main dialog works with, each piece of its own: program and shared data folders,
// scripted prompts, a screen factory with its log, a manual clock, a scripted bridge list, a
// port resolver and a parameter image.
struct DialogParts {
  TempFolder program;
  TempFolder data;
  ScriptedPrompts prompts;
  ScreenFactory factory;
  ScreenLog log;
  ManualClock clock;
  SimulatedBridgeList bridges;
  PortResolver resolver;
  ParameterImage image;

  // The environment that hands these pieces to a dialog.
  DialogEnvironment MakeEnvironment();
};

class AppTest : public ::testing::Test, protected DialogParts {
 public:
  // Runs the event loop until `done` holds (false after a generous limit).
  static bool WaitFor(const std::function<bool()>& done);
  static void Pump();

 protected:
  AppTest();
  ~AppTest() override;

  // Writes a contact profile so that the first-start dialog stays away.
  void WriteProfile(const std::string& company = "Muster Rollladen GmbH");
  void WriteStartIni(const std::string& text);
  // Links the built tree (optionally without its catalogues) into the program folder.
  void LinkTree(bool withCatalogues = true);
  // Builds and initialises the dialog and shows it.
  CVQZodavaRozeDlg& Open();
  // Registers the test screen for `id` (failing Create when asked).
  void RegisterScreen(int id, bool failCreate = false);

  // Before a language is chosen the window speaks the desktop's: German here, whatever the
  // machine running the tests speaks.
  ScopedLocale germanDesktop{nullptr, nullptr, "C"};
  DialogEnvironment env;
  std::unique_ptr<CVQZodavaRozeDlg> dlg;
  bool treeLinked = false;
};

}  // namespace roviro::test
