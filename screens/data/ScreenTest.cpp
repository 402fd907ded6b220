#include "screens/data/ScreenTest.h"

#include "controls/Fonts.h"
#include "device/Telegram.h"
#include "pages/TextHelpers.h"
#include "platform/Translation.h"
#include "records/ScreenSettingsFile.h"
#include "rules/DataScreenRules.h"

namespace roviro {

namespace {

constexpr int kObjIntro = 0;
constexpr int kObjFirstTest = 1;  // 1 .. 6: the six test buttons
constexpr int kObjProgramCaption = 7;
constexpr int kObjPrograms = 8;  // texts 0 .. 2: the drive programs
constexpr int kProgramCount = 3;
constexpr int kObjStatus = 9;  // 0 no box, 1 box without a motor, 2 motor reached (%s = port)
constexpr int kButtonStop = 1;
constexpr int kButtonClearEndPositions = 4;
constexpr int kButtonFactoryReset = 5;

constexpr const char* kCurrentTooLow = TX_NOOP("Motorstrom zu klein oder Motor l\xE4uft nicht");
constexpr const char* kFactoryResetDone = TX_NOOP("Motor hat Werkseinstellung  beendet.");

}  // namespace

CScreenTest::CScreenTest(CVQZodavaRozeDlg* dlg)
    : CDataScreen(dlg, 7, 20, kSettingsFileTest, 6, 8) {}

HResult CScreenTest::TakeControls() {
  TakeLabel(0, PageText(kObjIntro, 0))->setFont(FontCache::Instance().Font(0));
  TakeLabel(1, PageText(kObjProgramCaption, 0));
  for (int i = 0; i < static_cast<int>(m_tests.size()); ++i) {
    m_tests[i] = TakeCommandButton(i, PageText(kObjFirstTest + i, 0));
    AddTip(m_tests[i], kObjFirstTest + i);
    AddFocus(m_tests[i]);
  }
  m_status = TakeLabel(2, {});
  m_status->setFont(FontCache::Instance().Font(0));
  m_programs = m_dlg->Pools().combos.Take(0);
  m_programs->setFont(FontCache::Instance().Font(0));
  for (int i = 0; i < kProgramCount; ++i) {
    const std::string text = PageText(kObjPrograms, i);
    m_programs->addItem(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
  }
  m_programs->setCurrentIndex(-1);
  // A drive program moves the motor: it starts only when chosen from the opened list.
  ListGuard::SetChoiceOnly(m_programs, true);
  m_programs->show();
  AddTip(m_programs, kObjPrograms);
  AddFocus(m_programs);
  return S_OK;
}

void CScreenTest::ArrangeControls() {
  ControlPools& pools = m_dlg->Pools();
  pools.statics.At(0)->setGeometry(40, 60, 720, 40);
  // Two rows of three: run up, stop, run down; the box's test run, clear end positions,
  // factory settings.
  for (int i = 0; i < static_cast<int>(m_tests.size()); ++i) {
    m_tests[i]->setGeometry(40 + (i % 3) * 190, 120 + (i / 3) * 56, 170, 40);
  }
  pools.statics.At(1)->setGeometry(40, 256, 165, 20);
  m_programs->setGeometry(210, 252, 360, 26);
  m_status->setGeometry(40, 300, 720, 20);
}

void CScreenTest::ShowStatus() {
  const int line = !BoxConnected() ? 0 : Link().Has(kLinkMotor | kLinkOtherMotor) ? 2 : 1;
  m_status->SetText(
      ReplaceAll(PageText(kObjStatus, line), "%s", std::to_string(m_dlg->Link().PortNumber())));
}

HResult CScreenTest::Create() {
  const HResult created = CDataScreen::Create();
  if (Failed(created)) return created;
  m_dlg->Link().StartTestConnection();
  return S_OK;
}

void CScreenTest::OnLeave() {
  // The motor does not run on behind the fitter's back.
  if (m_dlg->MotorMayRun() || m_dlg->StopPending()) SendStop();
  CDataScreen::OnLeave();
}

void CScreenTest::SendStop() {
  m_dlg->StopMotor(TestModeForButton(kButtonStop, Link().Has(kLinkState6)));
}

void CScreenTest::EnableTests() {
  // Blocked while a test request runs, also for an instance made while it runs; stop stays
  // enabled while anything may keep the motor running.
  const bool blocked = m_testsBlocked || Link().m_testsBlocked.load();
  for (int i = 0; i < static_cast<int>(m_tests.size()); ++i) {
    m_tests[i]->setEnabled(i == kButtonStop || !blocked);
  }
}

void CScreenTest::UpdateControls() {
  EnableTests();
  ShowStatus();
  m_programs->setEnabled(true);
  EnableTabs(false);
  m_dlg->BackButton()->show();
  m_dlg->BackButton()->setEnabled(true);
  m_dlg->NextButton()->setEnabled(true);
}

int CScreenTest::OnWindowMessage(std::uint32_t msg, std::uintptr_t, std::intptr_t, std::intptr_t*) {
  switch (msg) {
    case kMsgDisableTests:
      m_testsBlocked = true;
      EnableTests();
      break;
    case kMsgEnableTests:
      m_testsBlocked = false;
      EnableTests();
      break;
    case kMsgSearchBegins:
    case kMsgBoxFound:
      ShowStatus();
      break;
    case kMsgOutputsOff:
      m_dlg->State() &= ~(kDialogOutputA | kDialogOutputB);
      break;
    default:
      break;
  }
  return 0;
}

void CScreenTest::OnCommand(QWidget* focus) {
  if (IgnoreCommandFrom(focus) || focus == nullptr) return;
  if (focus == m_dlg->BackButton() || focus == m_dlg->NextButton()) {
    const int target = focus == m_dlg->BackButton() ? 6 : 8;
    m_dlg->PostMessage(kMsgSwitchScreen, static_cast<std::uintptr_t>(target));
    return;
  }
  for (int i = 0; i < static_cast<int>(m_tests.size()); ++i) {
    if (focus != m_tests[i]) continue;
    if (i == kButtonStop) {
      SendStop();
      ShowMotorRun(i);
      return;
    }
    if (i == kButtonClearEndPositions && !m_dlg->Confirm(Question::kClearEndPositions)) return;
    if (i == kButtonFactoryReset && !m_dlg->Confirm(Question::kFactoryReset)) return;
    if (StartCommand(TestModeForButton(i, Link().Has(kLinkState6)))) ShowMotorRun(i);
  }
}

void CScreenTest::ShowMotorRun(int button) {
  // "Up" and "Down" stay pressed once the motor was told to run that way; any other command,
  // "Stop" among them, releases them.
  m_tests[kButtonUp]->Hold(button == kButtonUp);
  m_tests[kButtonDown]->Hold(button == kButtonDown);
}

void CScreenTest::OnComboSelChange(QWidget* focus) {
  if (focus != m_programs || m_programs->currentIndex() < 0) return;
  if (StartCommand(m_programs->currentIndex() + kDriveProgramModeBase)) ShowMotorRun(-1);
}

bool CScreenTest::StartCommand(int mode) {
  Link().m_testMode = mode;
  return m_dlg->Link().StartTestCommand();
}

void CScreenTest::OnDeviceFrame(const Telegram* frame) {
  if (frame == nullptr) return;
  if (frame->m_command == 0xF1 && frame->m_subCode == 0x08) {
    m_dlg->GetPrompts().MessageBox(Tx(kCurrentTooLow), {}, kMbOk | kMbIconInformation);
  } else if (frame->m_command == 0xA8 && frame->m_subCode == 0x01) {
    m_dlg->GetPrompts().MessageBox(Tx(kFactoryResetDone), {}, kMbOk);
  }
}

}  // namespace roviro
