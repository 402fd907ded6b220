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
  // The read runs on the user-interface thread's behalf: it waits for it, but keeps the
  // window painting and answering meanwhile (a motor that does not answer takes seconds). A
  // tab pressed meanwhile switches once this screen is built; nothing reaches the screen
  // before.
  HResult ReadWhilePainting(std::vector<std::uint8_t>* motorIdentity);

  CMyStatic* m_time = nullptr;
  CMyStatic* m_firstCounter = nullptr;
  CMyStatic* m_secondCounter = nullptr;
  QTreeWidget* m_events = nullptr;
};

}  // namespace roviro
