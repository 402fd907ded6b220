#include "app/Prompts.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QString>

#include <vector>

#include "app/Translations.h"
#include "controls/MyDialog.h"
#include "platform/Translation.h"

namespace roviro {

namespace {

QString Latin1(const std::string& s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

std::string PathFromDialog(const QString& chosen) {
  return QFile::encodeName(QDir::toNativeSeparators(chosen)).toStdString();
}

QString PathToDialog(const std::string& path) {
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string QtFileFilter(const std::string& filter) {
  std::vector<std::string> parts;
  std::size_t begin = 0;
  while (begin <= filter.size()) {
    const std::size_t bar = filter.find('|', begin);
    const std::size_t end = bar == std::string::npos ? filter.size() : bar;
    parts.push_back(filter.substr(begin, end - begin));
    if (bar == std::string::npos) break;
    begin = bar + 1;
  }
  if (parts.size() < 2) return filter;  // already a plain description
  std::string out;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    const std::string& description = parts[i];
    const std::string& pattern = parts[i + 1];
    if (description.empty()) break;  // the closing "||"
    if (!out.empty()) out += ";;";
    // Qt reads the patterns from the parentheses of the description.
    if (description.find('(') != std::string::npos || pattern.empty()) {
      out += description;
    } else {
      out += description + " (" + pattern + ")";
    }
  }
  return out;
}

namespace {

QMessageBox::Icon IconOf(std::uint32_t style) {
  switch (style & 0xF0u) {
    case kMbIconError:
      return QMessageBox::Critical;
    case kMbIconQuestion:
      return QMessageBox::Question;
    case kMbIconWarning:
      return QMessageBox::Warning;
    case kMbIconInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

std::string QuestionCaption() { return Tx("Warnung"); }

std::string QuestionText(Question question, const std::string& motorType,
                         const std::string& motorName) {
  switch (question) {
    case Question::kWriteMotor:
      return Tx("Die Parameter in den Rohrmotor schreiben?\n\nMotortyp: %1\nMotorname: %2",
                {motorType, motorName});
    case Question::kFactoryReset:
      return Tx(
          "Den Rohrmotor auf Werkseinstellung zur\xFC"
          "cksetzen?\nSeine jetzigen Einstellungen und Endlagen gehen verloren.");
    case Question::kClearEndPositions:
      return Tx(
          "Die Endlagen des Rohrmotors l\xF6schen?\nSie m\xFCssen danach neu eingestellt "
          "werden.");
    case Question::kReplaceSet:
      return Tx(
          "Die bearbeiteten Parameter sind weder gespeichert noch in den Motor "
          "geschrieben.\nTrotzdem ersetzen?");
  }
  return {};
}

bool Confirm(Prompts& prompts, bool ask, Question question, const std::string& motorType,
             const std::string& motorName) {
  if (!ask) return true;
  const int answer =
      prompts.MessageBox(QuestionText(question, motorType, motorName), QuestionCaption(),
                         kMbYesNo | kMbIconQuestion | kMbDefaultButton2 | kMbTopmost);
  return answer == kIdYes;
}

std::unique_ptr<QMessageBox> MakeMessageBox(const std::string& text, const std::string& caption,
                                            std::uint32_t style, QWidget* owner) {
  auto made = std::make_unique<QMessageBox>(IconOf(style), Latin1(caption), Latin1(text),
                                            QMessageBox::NoButton, owner);
  QMessageBox& box = *made;
  QAbstractButton* second = nullptr;
  switch (style & 0xFu) {
    case kMbOkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      box.button(QMessageBox::Cancel)->setText(QTx("Abbrechen"));
      second = box.button(QMessageBox::Cancel);
      break;
    case kMbYesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.button(QMessageBox::Yes)->setText(QTx("&Ja"));
      box.button(QMessageBox::No)->setText(QTx("&Nein"));
      second = box.button(QMessageBox::No);
      break;
    default:
      box.setStandardButtons(QMessageBox::Ok);
      break;
  }
  if (second != nullptr && (style & kMbDefaultButton2)) {
    box.setDefaultButton(static_cast<QPushButton*>(second));
    box.setEscapeButton(second);
  }
  if (style & kMbTopmost) box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  return made;
}

int QtPrompts::MessageBox(const std::string& text, const std::string& caption,
                          std::uint32_t style) {
  const std::unique_ptr<QMessageBox> made = MakeMessageBox(text, caption, style, m_owner);
  QMessageBox& box = *made;
  switch (box.exec()) {
    case QMessageBox::Yes:
      return kIdYes;
    case QMessageBox::No:
      return kIdNo;
    case QMessageBox::Cancel:
      return kIdCancel;
    default:
      return kIdOk;
  }
}

bool QtPrompts::OpenFileName(const std::string& title, const std::string& folder,
                             const std::string& filter, std::string* path) {
  if (path == nullptr) return false;
  const QString chosen = QFileDialog::getOpenFileName(m_owner, Latin1(title), PathToDialog(folder),
                                                      Latin1(QtFileFilter(filter)));
  if (chosen.isEmpty()) return false;
  *path = PathFromDialog(chosen);
  return true;
}

bool QtPrompts::SaveFileName(const std::string& title, const std::string& folder,
                             const std::string& filter, std::string* path,
                             const std::string& defaultSuffix) {
  if (path == nullptr) return false;
  // The dialog itself, not the static helper, so that it knows the suffix before it asks
  // about overwriting.
  QFileDialog dialog(m_owner, Latin1(title), PathToDialog(folder), Latin1(QtFileFilter(filter)));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  if (!defaultSuffix.empty()) dialog.setDefaultSuffix(Latin1(defaultSuffix));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  const QString chosen = dialog.selectedFiles().front();
  if (chosen.isEmpty()) return false;
  *path = PathFromDialog(chosen);
  return true;
}

HResult QtPrompts::ChooseFolder(const std::string& title, std::string* path, unsigned browseFlags) {
  return roviro::ChooseFolder(m_owner, title, path, browseFlags);
}

// ---------------------------------------------------------------------------------------------

void ScriptedPrompts::ScriptAnswer(int answer) {
  std::lock_guard lock(m_mutex);
  m_answers.push_back(answer);
}

void ScriptedPrompts::SetDefaultAnswer(int answer) {
  std::lock_guard lock(m_mutex);
  m_defaultAnswer = answer;
}

void ScriptedPrompts::ScriptPath(const std::string& path) {
  std::lock_guard lock(m_mutex);
  m_paths.push_back(path);
}

void ScriptedPrompts::ScriptChosenFile(const QString& chosen) {
  ScriptPath(PathFromDialog(chosen));
}

std::vector<ScriptedPrompts::Call> ScriptedPrompts::Calls() const {
  std::lock_guard lock(m_mutex);
  return m_calls;
}

void ScriptedPrompts::Clear() {
  std::lock_guard lock(m_mutex);
  m_calls.clear();
}

void ScriptedPrompts::OnBox(std::function<void(const Call&)> observer) {
  std::lock_guard lock(m_mutex);
  m_onBox = std::move(observer);
}

int ScriptedPrompts::MessageBox(const std::string& text, const std::string& caption,
                                std::uint32_t style) {
  std::function<void(const Call&)> observer;
  const Call call{"box", text, caption, style, {}, {}, {}};
  int answer = m_defaultAnswer;
  {
    std::lock_guard lock(m_mutex);
    m_calls.push_back(call);
    observer = m_onBox;
    answer = m_defaultAnswer;
    if (!m_answers.empty()) {
      answer = m_answers.front();
      m_answers.pop_front();
    }
  }
  if (observer) observer(call);
  return answer;
}

bool ScriptedPrompts::NextPath(Call call, std::string* path) {
  std::lock_guard lock(m_mutex);
  m_calls.push_back(std::move(call));
  if (m_paths.empty()) return false;
  std::string next = m_paths.front();
  m_paths.pop_front();
  if (next.empty() || path == nullptr) return false;
  *path = next;
  return true;
}

bool ScriptedPrompts::OpenFileName(const std::string& title, const std::string& folder,
                                   const std::string& filter, std::string* path) {
  return NextPath({"open", title, {}, 0, folder, filter, {}}, path);
}

bool ScriptedPrompts::SaveFileName(const std::string& title, const std::string& folder,
                                   const std::string& filter, std::string* path,
                                   const std::string& defaultSuffix) {
  return NextPath({"save", title, {}, 0, folder, filter, defaultSuffix}, path);
}

HResult ScriptedPrompts::ChooseFolder(const std::string& title, std::string* path, unsigned) {
  return NextPath({"folder", title, {}, 0, {}, {}, {}}, path) ? S_OK : E_FAIL;
}

}  // namespace roviro
