#pragma once
// Screen 8, operating parameters: reads the motor's operating data when it is created and
// shows the running time, the firmware version, two counters and the ten most recent events.

#include <QTreeWidget>

#include <cstdint>
#include <vector>

#include "screens/data/DataScreen.h"

namespace roviro {

class CScreenBetriebspara final : public CDataScreen {
 public:
  explicit CScreenBetriebspara(CVQZodavaRozeDlg* dlg);

  HResult Create() override;
  // The read's progress and result (kMsgOperatingData).
  int OnWindowMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam,
                      std::intptr_t* result) override;
  void UpdateControls() override;
  void ArrangeControls() override;
  void OnCommand(QWidget* focus) override;
  // The event list's column widths are kept in the settings file.
  void OnLeave() override;
  void OnEnter() override;

 protected:
  HResult TakeControls() override;
  HResult FillControls() override;

 private:
  // What the screen shows: waiting for the link, reading, the data, or that the read failed.
  enum class Phase { kWaitingForLink, kReading, kShown, kFailed };
  void ShowPhase();

  Phase m_phase = Phase::kReading;
  std::uint32_t m_read = 0;
  bool m_fromMotor = false;

  CMyStatic* m_time = nullptr;
  CMyStatic* m_firstCounter = nullptr;
  CMyStatic* m_secondCounter = nullptr;
  QTreeWidget* m_events = nullptr;
};

}  // namespace roviro
