#pragma once
// CDlgFirstStart: asked once, at the first start, for the fitter's contact data, which it
// writes as the contact profile. Its texts come from "ScreenStart.dat" of the language folder;
// the save button is enabled only while the company name has more than two characters
// besides blanks.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <array>
#include <string>

#include "catalogue/ContactRecord.h"
#include "controls/MyDialog.h"
#include "platform/Result.h"

namespace roviro {

// Control IDs of the first-start dialog.
enum FirstStartId : int {
  kFsSave = 1,
  kFsCompany = 1022,  // 1022..1029 and 1032: the nine edits in record order
  kFsFax = 1032,
  kFsHeading = 1030,
  kFsIntro = 1031,
  kFsLabel0 = 1033,    // 1033..1041: the nine labels
  kFsSaveHint = 1042,  // why the save button is not yet enabled
};

inline constexpr int kContactFieldCount = 9;

class CDlgFirstStart : public CMyDialog {
  Q_OBJECT

 public:
  CDlgFirstStart(std::string sharedDataFolder, std::string startPagePath,
                 QWidget* parent = nullptr);

  // Reads the texts of the start page; false when the file is missing or malformed (the
  // template texts then stay and the dialog remains usable).
  bool OnInitDialog();

  // Writes the profile (only when the shared data folder is known) and closes with OK. A
  // character the profile cannot store (outside ISO-8859-1) or a profile that cannot be
  // written is told in the dialog, which stays open; after a failed write Escape closes it.
  void OnSave();
  // The edits filled from `record`, to change the contact data later.
  void Fill(const ContactRecord& record);
  // Escape closes the dialog without saving (the contact data changed later).
  void AllowCancel(bool allow) { m_cancellable = allow; }
  // What the dialog says about the last save; empty when nothing went wrong.
  QLabel* Problem() const { return m_problem; }
  // The record as the edits hold it now.
  ContactRecord Record() const;

  QLineEdit* Edit(int field) const;  // 0..8 in record order
  QLabel* Label(int field) const;
  QLabel* Heading() const { return m_heading; }
  QLabel* Intro() const { return m_intro; }
  QPushButton* SaveButton() const { return m_save; }
  QLabel* SaveHint() const { return m_saveHint; }
  // The ID of edit `field`.
  static int EditId(int field) { return field < 8 ? kFsCompany + field : kFsFax; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void reject() override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void OnCompanyChanged();

  std::string m_sharedDataFolder;
  std::string m_startPagePath;
  QLabel* m_heading = nullptr;
  QLabel* m_intro = nullptr;
  std::array<QLabel*, kContactFieldCount> m_labels{};
  std::array<QLineEdit*, kContactFieldCount> m_edits{};
  QPushButton* m_save = nullptr;
  QLabel* m_saveHint = nullptr;
  QLabel* m_problem = nullptr;
  bool m_cancellable = false;
};

}  // namespace roviro
