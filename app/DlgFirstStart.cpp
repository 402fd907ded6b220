#include "app/DlgFirstStart.h"

#include <QKeyEvent>
#include <QPainter>

#include <tinyxml2.h>

#include "app/ControlPools.h"
#include "app/Translations.h"
#include "catalogue/Archive.h"
#include "catalogue/ContactProfile.h"
#include "catalogue/XmlSupport.h"
#include "controls/Fonts.h"
#include "pages/TextHelpers.h"
#include "platform/Translation.h"

namespace roviro {

namespace {

QString Latin1(const std::string& s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// The texts of the dialog template, shown when the start page cannot be read.
// (They are translated: a language without a start page of its own shows them.)
constexpr const char* kTemplateHeading = TX_NOOP("Willkommen");
constexpr const char* kTemplateIntro = TX_NOOP(
    "Bitte geben Sie einmalig Ihre Kontaktdaten ein. Sie werden in jede Parameterdatei "
    "\xFC"
    "bernommen.");
constexpr const char* kTemplateLabels[kContactFieldCount] = {TX_NOOP("Firma:"),
                                                             TX_NOOP("Stra\xDF"
                                                                     "e:"),
                                                             TX_NOOP("Nr.:"),
                                                             TX_NOOP("PLZ:"),
                                                             TX_NOOP("Ort:"),
                                                             TX_NOOP("Land:"),
                                                             TX_NOOP("E-Mail:"),
                                                             TX_NOOP("Telefon:"),
                                                             TX_NOOP("Fax:")};
constexpr const char* kTemplateSave = TX_NOOP("Speichern");
// Beside the save button while it is disabled; the start page's Fld013 may word it.
constexpr const char* kTemplateSaveHint =
    TX_NOOP("Speichern ist m\xF6glich, sobald die Firma mindestens drei Zeichen hat.");

constexpr int kWidth = 500;
constexpr int kHeight = 510;

// A note on the line left of Speichern, in `colour`.
QLabel* MakeNote(QWidget* parent, const QString& text, const QColor& colour) {
  auto* note = new QLabel(text, parent);
  note->setWordWrap(true);
  note->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  note->setGeometry(20, kHeight - 60, kWidth - 180, 48);
  QPalette palette = note->palette();
  palette.setColor(QPalette::WindowText, colour);
  note->setPalette(palette);
  return note;
}

}  // namespace

CDlgFirstStart::CDlgFirstStart(std::string sharedDataFolder, std::string startPagePath,
                               QWidget* parent)
    : CMyDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      m_sharedDataFolder(std::move(sharedDataFolder)),
      m_startPagePath(std::move(startPagePath)) {
  setFixedSize(kWidth, kHeight);
  setModal(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);

  m_heading = new QLabel(QTx(kTemplateHeading), this);
  SetControlId(m_heading, kFsHeading);
  m_heading->setWordWrap(true);
  m_heading->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  m_heading->setGeometry(20, 16, kWidth - 40, 44);

  m_intro = new QLabel(QTx(kTemplateIntro), this);
  SetControlId(m_intro, kFsIntro);
  m_intro->setWordWrap(true);
  m_intro->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_intro->setGeometry(20, 68, kWidth - 40, 56);

  for (int i = 0; i < kContactFieldCount; ++i) {
    const int y = 136 + i * 34;
    m_labels[i] = new QLabel(QTx(kTemplateLabels[i]), this);
    SetControlId(m_labels[i], kFsLabel0 + i);
    m_labels[i]->setGeometry(20, y, 130, 24);
    m_labels[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_edits[i] = new QLineEdit(this);
    SetControlId(m_edits[i], EditId(i));
    m_edits[i]->setGeometry(160, y, kWidth - 180, 24);
  }
  m_save = new QPushButton(QTx(kTemplateSave), this);
  SetControlId(m_save, kFsSave);
  m_save->setGeometry(kWidth - 140, kHeight - 52, 120, 32);
  m_save->setDefault(true);
  m_save->setEnabled(false);
  // Both notes share the line left of Speichern: the hint while Speichern is disabled, the
  // problem after a refused save (typing clears it, so they never stand on each other).
  m_saveHint = MakeNote(this, QTx(kTemplateSaveHint), QColor(0x59, 0x59, 0x59));
  SetControlId(m_saveHint, kFsSaveHint);
  m_problem = MakeNote(this, {}, QColor(0xB0, 0x00, 0x00));

  connect(m_edits[0], &QLineEdit::textChanged, this, [this] { OnCompanyChanged(); });
  connect(m_save, &QPushButton::clicked, this, [this] { OnSave(); });
}

QLineEdit* CDlgFirstStart::Edit(int field) const {
  return field >= 0 && field < kContactFieldCount ? m_edits[field] : nullptr;
}

QLabel* CDlgFirstStart::Label(int field) const {
  return field >= 0 && field < kContactFieldCount ? m_labels[field] : nullptr;
}

bool CDlgFirstStart::OnInitDialog() {
  m_heading->setFont(FontCache::Instance().Font(4));
  std::string text;
  if (!ReadWholeFile(m_startPagePath, &text)) return false;
  tinyxml2::XMLDocument doc;
  if (!ParseXml(doc, text) || !HasProgramDeclaration(doc)) return false;
  const tinyxml2::XMLElement* root = doc.FirstChildElement();
  if (root == nullptr) return false;
  auto field = [root](int n) {
    char name[16];
    std::snprintf(name, sizeof(name), "Fld%03d", n);
    return root->FirstChildElement(name);
  };
  auto attribute = [](const tinyxml2::XMLElement* e, const char* name, const char* fallback) {
    const char* value = e != nullptr ? e->Attribute(name) : nullptr;
    return std::string(value != nullptr ? value : fallback);
  };
  m_heading->setText(Latin1(ExpandLineBreaks(attribute(field(1), "strText", "Not Found"))));
  m_intro->setText(Latin1(ExpandLineBreaks(attribute(field(2), "strText", "Not Found"))));
  for (int i = 0; i < kContactFieldCount; ++i) {
    const tinyxml2::XMLElement* e = field(3 + i);
    m_labels[i]->setText(Latin1(attribute(e, "strText", "Not Found")));
    m_edits[i]->setText(Latin1(attribute(e, "strDefault", "")));
  }
  m_save->setText(Latin1(attribute(field(12), "strText", "Not Found")));
  m_saveHint->setText(Latin1(attribute(field(13), "strText", Tx(kTemplateSaveHint).c_str())));
  return true;
}

void CDlgFirstStart::OnCompanyChanged() {
  m_problem->clear();
  const std::string company = m_edits[0]->text().toLatin1().toStdString();
  const bool enough = RemoveBlanks(company).size() > 2;
  m_save->setEnabled(enough);
  m_saveHint->setVisible(!enough);
}

ContactRecord CDlgFirstStart::Record() const {
  ContactRecord record;
  for (int i = 0; i < kContactFieldCount; ++i) {
    record.*(kContactFields[i].member) = m_edits[i]->text().toLatin1().toStdString();
  }
  return record;
}

void CDlgFirstStart::Fill(const ContactRecord& record) {
  for (int i = 0; i < kContactFieldCount; ++i) {
    m_edits[i]->setText(Latin1(record.*(kContactFields[i].member)));
  }
}

void CDlgFirstStart::OnSave() {
  for (int i = 0; i < kContactFieldCount; ++i) {
    const QString text = m_edits[i]->text();
    for (const QChar c : text) {
      if (c.unicode() <= 0xFF) continue;
      // Stored as "?" the character would be lost without a word.
      m_problem->setText(QTx("Das Zeichen \xBB%1\xAB kann nicht gespeichert werden; bitte anders "
                             "schreiben.")
                             .arg(c));
      m_edits[i]->setFocus(Qt::OtherFocusReason);
      return;
    }
  }
  if (!m_sharedDataFolder.empty() && Failed(WriteContactProfile(m_sharedDataFolder, Record()))) {
    m_problem->setText(QTx("Die Kontaktdaten konnten nicht in %1 gespeichert werden. Esc "
                           "schlie\xDFt ohne zu speichern.")
                           .arg(QString::fromStdString(m_sharedDataFolder)));
    m_cancellable = true;
    return;
  }
  m_problem->clear();
  accept();
}

void CDlgFirstStart::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    if (m_cancellable) QDialog::reject();
    return;
  }
  CMyDialog::keyPressEvent(event);
}

void CDlgFirstStart::reject() {
  // Only the save button ends this dialog, or Escape where cancelling is allowed.
  if (m_cancellable) QDialog::reject();
}

void CDlgFirstStart::paintEvent(QPaintEvent*) {
  // Without a caption bar the dialog draws its own border.
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.setPen(QColor(0x1F, 0x4E, 0x79));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace roviro
