#pragma once
// What the screens and the dialog ask the fitter: message boxes, file open and save dialogs
// and the folder choice. QtPrompts shows the real dialogs; ScriptedPrompts (tests) answers from
// a script and records every call. Texts are ISO-8859-1 bytes.

#include <QString>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/MessageSink.h"
#include "platform/Result.h"

class QMessageBox;
class QWidget;

namespace roviro {

// File dialog filters are written as the program has always written them: pairs of a
// description and a pattern separated by "|", ended by "||" ("kxmc-File (*.kxmc)|*.kxmc||").
// The parameter-file filter is kParameterFileFilter in records/ParameterFile.h.

// The filter in the form Qt's file dialogs take: "kxmc-File (*.kxmc)".
std::string QtFileFilter(const std::string& filter);

// File names are the system's (UTF-8), not ISO-8859-1 texts: what a file dialog chose becomes
// the path that names exactly that file, and a folder is offered under its own name.
std::string PathFromDialog(const QString& chosen);
QString PathToDialog(const std::string& path);

class Prompts {
 public:
  virtual ~Prompts() = default;
  // A message box with the style bits of MessageBoxStyle; answers a MessageBoxAnswer.
  virtual int MessageBox(const std::string& text, const std::string& caption,
                         std::uint32_t style) = 0;
  // File dialogs: true with the chosen path, false when the fitter cancels. `folder` is the
  // folder (or file) offered first. The save dialog appends `defaultSuffix` (without its dot)
  // to a name typed without an extension before it asks whether to overwrite, so the question
  // is about the file that will really be written.
  virtual bool OpenFileName(const std::string& title, const std::string& folder,
                            const std::string& filter, std::string* path) = 0;
  virtual bool SaveFileName(const std::string& title, const std::string& folder,
                            const std::string& filter, std::string* path,
                            const std::string& defaultSuffix = {}) = 0;
  // S_OK with the chosen folder, E_FAIL when the fitter cancels.
  virtual HResult ChooseFolder(const std::string& title, std::string* path,
                               unsigned browseFlags) = 0;
};

// The questions asked before what cannot be undone.
enum class Question {
  kWriteMotor,         // writing the set into the motor
  kFactoryReset,       // resetting the motor to its factory settings
  kClearEndPositions,  // clearing the motor's end positions
  kReplaceSet,         // replacing a set that is neither saved nor written
};

// The question's text in the installed language (app/Translations.h); `motorType` and
// `motorName` name the motor of kWriteMotor.
std::string QuestionText(Question question, const std::string& motorType = {},
                         const std::string& motorName = {});
// The caption of every question.
std::string QuestionCaption();

// Asks `question` with Yes and No, No being the default (Enter and Escape answer no); true
// for yes. With `ask` false (questions turned off in the program settings) true without
// asking.
bool Confirm(Prompts& prompts, bool ask, Question question, const std::string& motorType = {},
             const std::string& motorName = {});

// The message box QtPrompts shows: icon and buttons by the style bits, the buttons worded in
// the installed language, No or Cancel the default with kMbDefaultButton2.
std::unique_ptr<QMessageBox> MakeMessageBox(const std::string& text, const std::string& caption,
                                            std::uint32_t style, QWidget* owner);

// The real dialogs, owned by `owner` (may be null).
class QtPrompts final : public Prompts {
 public:
  explicit QtPrompts(QWidget* owner = nullptr) : m_owner(owner) {}
  void SetOwner(QWidget* owner) { m_owner = owner; }

  int MessageBox(const std::string& text, const std::string& caption, std::uint32_t style) override;
  bool OpenFileName(const std::string& title, const std::string& folder, const std::string& filter,
                    std::string* path) override;
  bool SaveFileName(const std::string& title, const std::string& folder, const std::string& filter,
                    std::string* path, const std::string& defaultSuffix = {}) override;
  HResult ChooseFolder(const std::string& title, std::string* path, unsigned browseFlags) override;

 private:
  QWidget* m_owner;
};

// Scripted answers, every call recorded. Thread-safe (worker boxes arrive through the GUI
// thread, but tests read the record from anywhere).
class ScriptedPrompts final : public Prompts {
 public:
  struct Call {
    std::string kind;  // "box", "open", "save", "folder"
    std::string text;  // box text or dialog title
    std::string caption;
    std::uint32_t style = 0;
    std::string folder;  // file dialogs: the folder offered, the filter, the default suffix
    std::string filter;
    std::string suffix;
  };

  void ScriptAnswer(int answer);
  void SetDefaultAnswer(int answer);
  // The next file or folder dialog answers `path`; an empty path cancels it.
  void ScriptPath(const std::string& path);
  // What a file dialog returned (a name as the desktop shows it), turned into the path the way
  // the real dialogs turn it.
  void ScriptChosenFile(const QString& chosen);

  std::vector<Call> Calls() const;
  void Clear();
  // Called with every message box as it is shown, on the thread that shows it (what the
  // window says at that moment can be looked at).
  void OnBox(std::function<void(const Call&)> observer);

  int MessageBox(const std::string& text, const std::string& caption, std::uint32_t style) override;
  bool OpenFileName(const std::string& title, const std::string& folder, const std::string& filter,
                    std::string* path) override;
  bool SaveFileName(const std::string& title, const std::string& folder, const std::string& filter,
                    std::string* path, const std::string& defaultSuffix = {}) override;
  HResult ChooseFolder(const std::string& title, std::string* path, unsigned browseFlags) override;

 private:
  bool NextPath(Call call, std::string* path);

  mutable std::mutex m_mutex;
  std::vector<Call> m_calls;
  std::deque<int> m_answers;
  std::deque<std::string> m_paths;
  int m_defaultAnswer = kIdOk;
  std::function<void(const Call&)> m_onBox;
};

}  // namespace roviro
