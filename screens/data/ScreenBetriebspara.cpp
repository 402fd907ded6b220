#include "screens/data/ScreenBetriebspara.h"

#include <QHeaderView>

#include <algorithm>

#include "controls/Fonts.h"
#include "device/OperatingData.h"
#include "platform/Translation.h"
#include "records/ScreenSettingsFile.h"
#include "rules/OperatingDataView.h"

namespace roviro {

namespace {

constexpr int kObjIntro = 0;
constexpr int kObjTimeCaption = 2;
constexpr int kObjCounterCaptions = 4;
constexpr int kObjColumnHeadings = 6;
constexpr int kObjListTip = 7;
constexpr int kColumnCount = 3;
// Column widths read back from the settings file are used only inside the list's width.
constexpr int kMinColumnWidth = 10;
constexpr int kMaxColumnWidth = 720;

constexpr const char* kLinkBusyText =
    TX_NOOP("Die Verbindung zum ZodavaRoze ist belegt; gelesen wird, sobald sie frei ist...");
constexpr const char* kReadingText =
    TX_NOOP("Die Betriebsdaten werden aus dem Rohrmotor gelesen...");
constexpr const char* kReadFailedText =
    TX_NOOP("Die Betriebsdaten konnten nicht gelesen werden: der Rohrmotor antwortet nicht.");

QString Latin1(const std::string& s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

CScreenBetriebspara::CScreenBetriebspara(CVQZodavaRozeDlg* dlg)
    : CDataScreen(dlg, 8, 20, kSettingsFileOperatingData, 7, 7) {}

HResult CScreenBetriebspara::Create() {
  if (m_dlg == nullptr) return E_FAIL;
  // A set read from this motor names it; a set from a file or the catalogue need not be the
  // connected motor's, so the motor's identity block is read along.
  m_fromMotor = DataLoaded() && Image().m_valid != 0;
  // The screen is built at once and tells what it waits for; the read runs as a worker of the
  // link (after the worker that holds it, if any) and its result arrives as a message.
  m_phase = Link().Has(kLinkBusy) || m_dlg->Link().Lock().Depth() > 0 ? Phase::kWaitingForLink
                                                                      : Phase::kReading;
  m_read = m_dlg->Link().StartOperatingDataRead(!m_fromMotor);
  if (m_read == 0) m_phase = Phase::kFailed;
  return CDataScreen::Create();
}

int CScreenBetriebspara::OnWindowMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t,
                                         std::intptr_t*) {
  if (msg != kMsgOperatingData) return 0;
  if (wParam == kOperatingDataReading && m_phase == Phase::kWaitingForLink) {
    m_phase = Phase::kReading;
    ShowPhase();
    return 0;
  }
  CDeviceLink::OperatingDataResult r;
  if (wParam != kOperatingDataDone || !m_dlg->Link().TakeOperatingData(m_read, &r)) return 0;
  const bool read = Succeeded(r.result);
  // The block becomes part of the set here, on the user-interface thread.
  if (read) std::copy(r.block.begin(), r.block.end(), Image().Block(0x30).begin());
  m_phase = read ? Phase::kShown : Phase::kFailed;
  ParameterImage visited = Image();
  if (!m_fromMotor && r.identity.size() == 25) {
    std::copy(r.identity.begin(), r.identity.end(), visited.Block(0x39).begin());
  }
  const bool known = m_fromMotor || r.identity.size() == 25;
  m_dlg->Records().Record(MakeVisit(VisitKind::kOperatingData, known ? &visited : nullptr, read,
                                    "motor", read ? kVisitOk : kVisitFailed,
                                    m_dlg->GetClock().LocalNow()));
  FillControls();
  m_dlg->ShowRecordsNotice();
  return 0;
}

void CScreenBetriebspara::ShowPhase() {
  switch (m_phase) {
    case Phase::kWaitingForLink:
      m_time->SetText(Tx(kLinkBusyText));
      break;
    case Phase::kReading:
      m_time->SetText(Tx(kReadingText));
      break;
    case Phase::kFailed:
      m_time->SetText(Tx(kReadFailedText));
      break;
    case Phase::kShown:
      break;
  }
}

HResult CScreenBetriebspara::TakeControls() {
  TakeLabel(0, PageText(kObjIntro, 0))->setFont(FontCache::Instance().Font(0));
  TakeLabel(1, PageText(kObjTimeCaption, 0));
  TakeLabel(2, PageText(kObjCounterCaptions, 0));
  TakeLabel(3, PageText(kObjCounterCaptions, 1));
  m_time = TakeLabel(4, {});
  m_firstCounter = TakeLabel(5, {});
  m_secondCounter = TakeLabel(6, {});
  for (CMyStatic* value : {m_time, m_firstCounter, m_secondCounter}) {
    value->setFont(FontCache::Instance().Font(0));
  }
  m_events = m_dlg->Pools().lists.Take(0);
  m_events->setFont(FontCache::Instance().Font(0));
  m_events->setColumnCount(kColumnCount);
  QStringList headings;
  for (int c = 0; c < kColumnCount; ++c) headings << Latin1(PageText(kObjColumnHeadings, c));
  m_events->setHeaderLabels(headings);
  // Every column keeps the width it is given, the last one too, so the widths can be kept.
  m_events->header()->setStretchLastSection(false);
  m_events->show();
  AddTip(m_events, kObjListTip);
  AddFocus(m_events);
  return S_OK;
}

void CScreenBetriebspara::ArrangeControls() {
  ControlPools& pools = m_dlg->Pools();
  pools.statics.At(0)->setGeometry(40, 60, 720, 24);
  pools.statics.At(1)->setGeometry(40, 100, 200, 20);
  pools.statics.At(2)->setGeometry(40, 126, 200, 20);
  pools.statics.At(3)->setGeometry(40, 152, 200, 20);
  m_time->setGeometry(250, 100, 510, 20);
  m_firstCounter->setGeometry(250, 126, 200, 20);
  m_secondCounter->setGeometry(250, 152, 200, 20);
  m_events->setGeometry(40, 186, 720, 308);
  m_events->setColumnWidth(0, 60);
  m_events->setColumnWidth(1, 90);
  m_events->setColumnWidth(2, 540);
}

HResult CScreenBetriebspara::FillControls() {
  m_events->clear();
  m_firstCounter->SetText({});
  m_secondCounter->SetText({});
  // Until the read has succeeded the time line tells what the screen waits for, or that the
  // read failed; the list and the counters stay empty.
  if (m_phase != Phase::kShown || !DataLoaded()) {
    if (m_phase == Phase::kShown) m_phase = Phase::kFailed;
    ShowPhase();
    return S_OK;
  }
  const OperatingDataView view = BuildOperatingDataView(Image(), m_desc);
  m_time->SetText(view.timeLine);
  m_firstCounter->SetText(view.firstCounter);
  m_secondCounter->SetText(view.secondCounter);
  for (const auto& row : view.events) {
    auto* item = new QTreeWidgetItem(m_events);
    for (int c = 0; c < kColumnCount; ++c) item->setText(c, Latin1(row.columns[c]));
  }
  return S_OK;
}

void CScreenBetriebspara::UpdateControls() {
  EnableTabs(false);
  m_dlg->BackButton()->show();
  m_dlg->BackButton()->setEnabled(true);
  m_dlg->NextButton()->hide();
}

void CScreenBetriebspara::OnCommand(QWidget* focus) {
  if (IgnoreCommandFrom(focus)) return;
  if (focus != nullptr && focus == m_dlg->BackButton()) {
    m_dlg->PostMessage(kMsgSwitchScreen, 7);
  }
}

void CScreenBetriebspara::OnLeave() {
  std::vector<int> widths;
  for (int c = 0; c < m_events->columnCount(); ++c) widths.push_back(m_events->columnWidth(c));
  WriteColumnWidths(m_dlg->Folder(FolderKind::ScreenSettings), kSettingsFileOperatingData, widths);
}

void CScreenBetriebspara::OnEnter() {
  const ScreenSettings settings =
      ReadScreenSettings(m_dlg->Folder(FolderKind::ScreenSettings), kSettingsFileOperatingData);
  const int count = std::min(static_cast<int>(settings.columnWidths.size()), kColumnCount);
  for (int c = 0; c < count; ++c) {
    const int width = settings.columnWidths[static_cast<std::size_t>(c)];
    if (width >= kMinColumnWidth && width <= kMaxColumnWidth) m_events->setColumnWidth(c, width);
  }
}

}  // namespace roviro
