#pragma once
// Screen 7, motor test: run the connected motor either way, stop it, let the box exercise it,
// clear its end positions, reset it to factory settings (the set is read back) and start one
// of three timed drive programs. Every action runs on a worker; the screen sets the test mode.

#include <QComboBox>

#include <array>

#include "screens/data/DataScreen.h"

namespace roviro {

class CScreenTest final : public CDataScreen {
 public:
  explicit CScreenTest(CVQZodavaRozeDlg* dlg);

  HResult Create() override;
  void UpdateControls() override;
  // Leaving while the motor may run sends its stop first.
  void OnLeave() override;
  void ArrangeControls() override;
  int OnWindowMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam,
                      std::intptr_t* result) override;
  void OnCommand(QWidget* focus) override;
  void OnComboSelChange(QWidget* focus) override;
  void OnDeviceFrame(const Telegram* frame) override;

 protected:
  HResult TakeControls() override;

 private:
  // False when the command could not be started.
  bool StartCommand(int mode);
  // Shows which way the motor was last told to run (button 0 up, 2 down; others: neither).
  void ShowMotorRun(int button);

  static constexpr int kButtonUp = 0;
  static constexpr int kButtonDown = 2;
  // The stop, sent at once or as soon as the link is free.
  void SendStop();
  void EnableTests();
  // Whether the box is connected and a motor is reached.
  void ShowStatus();

  std::array<CMyButton*, 6> m_tests{};
  QComboBox* m_programs = nullptr;
  CMyStatic* m_status = nullptr;
  // Between 20040 and 20041 a test request runs and the buttons but stop stay off.
  bool m_testsBlocked = false;
};

}  // namespace roviro
