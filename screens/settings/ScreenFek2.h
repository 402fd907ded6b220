#pragma once
// Screen 11, the second combined settings page: the two switches of screen 5 (block 0x2E
// byte 8 bits 4 and 6) and value B of screen 5 (byte 3), which needs switch B. A catalogue
// that does not use branch 1 forces switch B's bit on; one that does not use branch 2 shows
// switch B's text in place of the switch.

#include "screens/settings/SettingsScreen.h"

namespace roviro {

class CScreenFek_2 final : public CSettingsScreen {
 public:
  explicit CScreenFek_2(CVQZodavaRozeDlg* dlg);

  void ArrangeControls() override;

 protected:
  void LoadValues() override;
  void UpdateScreenControls() override;

 private:
  // Branch 2 bUse; without a record switch B counts as used (shown, its text label hidden).
  bool SwitchBUsed() const;
};

}  // namespace roviro
