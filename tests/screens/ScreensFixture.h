#pragma once
// The real screens in a main dialog: the program's screen classes registered, a box
// simulator reached in memory (its motor loaded with a catalogue motor's factory lines when
// asked), catalogues either the shipped ones or documents written by the test, and
// screenshots into build/screenshots/.

#include <QImage>

#include <memory>
#include <string>
#include <vector>

#include "AppFixture.h"
#include "sim/BoxSimulator.h"

namespace roviro::test {

class ScreensTest : public AppTest {
 protected:
  static constexpr int kSimComPort = 3;

  // Registers the program's screens, writes a contact profile and the language choice
  // (0 German, 1 English, 2 French, 3 Italian, 4 Dutch), turns the questions before writing or
  // replacing a set off as a bench does, and plugs the simulated box in.
  explicit ScreensTest(int language = 0);
  // The questions on (true) or off, in Einstellungen.ini.
  void AskQuestions(bool ask);

  // Catalogues from documents instead of the shipped ones: one archive per document
  // (call before Open).
  void InstallCatalogues(const std::vector<std::string>& documents);
  // Opens the dialog and waits until the port watch has found the box.
  CVQZodavaRozeDlg& OpenConnected();
  // Gives the simulated motor (and the factory reset) the factory lines of motor record
  // `variant` of catalogue `index` of the open dialog.
  void LoadSimulatedMotor(int catalogueIndex, int variant = 0);
  // Presses start on the start view and answers whether screen 1 came up.
  bool PressStart();
  // The id of the current screen, 0 for none.
  int Current() const;
  // Runs the event loop until the link is idle again (no transfer or test worker running).
  bool WaitIdle();
  // Runs the dialog's timers after moving the manual clock on.
  void Advance(std::int64_t ms);
  // Saves what the window shows as build/screenshots/<name>.png; false when the picture
  // cannot be written or is blank.
  bool SaveScreenshot(const std::string& name);
  // What the window shows, drawn without a focus frame.
  QImage Screenshot();
  // The message boxes shown so far (text, caption), oldest first.
  std::vector<ScriptedPrompts::Call> Boxes() const;

  std::shared_ptr<sim::BoxSimulator> box;
  int language;
};

// Short codes for screenshot names and names for parametrised tests, per language index.
inline const char* const kLanguageCodes[] = {"de", "en", "fr", "it", "nl"};
inline const char* const kLanguageNames[] = {"German", "English", "French", "Italian", "Dutch"};

// What would look wrong in the window: shown pooled controls that overlap each other or leave
// the page (between the heading and the bottom bar), labels too small for their text, a
// heading cut off; on the start view language buttons missing from their one row.
std::vector<std::string> LayoutFaults(CVQZodavaRozeDlg& d);

}  // namespace roviro::test
