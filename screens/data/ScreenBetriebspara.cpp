#include "screens/data/ScreenBetriebspara.h"

#include <QCoreApplication>
#include <QHeaderView>

#include <atomic>
#include <chrono>
#include <thread>

#include "controls/Fonts.h"
#include "device/OperatingData.h"
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
  const bool fromMotor = DataLoaded() && Image().m_valid != 0;
  std::vector<std::uint8_t> identity;
  const bool read = Succeeded(ReadWhilePainting(fromMotor ? nullptr : &identity));
  ParameterImage visited = Image();
  if (!fromMotor && identity.size() == 25) {
    std::copy(identity.begin(), identity.end(), visited.Block(0x39).begin());
  }
  const bool known = fromMotor || identity.size() == 25;
  AppendVisit(m_dlg->Folder(FolderKind::SharedData),
              MakeVisit(VisitKind::kOperatingData, known ? &visited : nullptr, read, "motor",
                        read ? kVisitOk : kVisitFailed, m_dlg->GetClock().LocalNow()));
  return CDataScreen::Create();
}

HResult CScreenBetriebspara::ReadWhilePainting(std::vector<std::uint8_t>* motorIdentity) {
  std::atomic<bool> done{false};
  HResult result = E_FAIL;
  CDeviceLink& link = m_dlg->Link();
  std::thread reader([&] {
    result = ReadOperatingData(link, motorIdentity);
    done = true;
  });
  while (!done.load()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (!done.load()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  reader.join();
  return result;
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
  if (!DataLoaded()) return S_OK;  // a failed read leaves the screen empty
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
