#pragma once
// Screen 10, the first combined settings page: on one page the main switches and sub-switches
// of screens 2 and 3 (block 0x2E byte 8 bits 0, 5, 1, 4), the function switch of screen 4
// (byte 9 bit 0) and value A of screen 4 (byte 4). The record's branches 1 to 3 decide which
// switches appear; hidden switches are still written back as they stand.

#include "screens/settings/SettingsScreen.h"

namespace roviro {

class CScreenFek_1 final : public CSettingsScreen {
 public:
  explicit CScreenFek_1(CVQZodavaRozeDlg* dlg);

  void ArrangeControls() override;

 protected:
  void UpdateScreenControls() override;
};

}  // namespace roviro
