#pragma once
// Screen 5, start-up and overload protection: soft start (block 0x2E byte 8 bit 4) with its
// start speed (byte 7), the rated speed as a step value (block 0x34 bytes 0 and 1) and a fixed
// overload threshold (byte 8 bit 6) with its value (byte 3). A catalogue that does not use
// branch 3 forces the fixed threshold on and shows the switch's text alone.

#include "screens/settings/SettingsScreen.h"

namespace roviro {

class CScreenEinstellungen4 final : public CSettingsScreen {
 public:
  explicit CScreenEinstellungen4(CVQZodavaRozeDlg* dlg);

  void ArrangeControls() override;

 protected:
  // The threshold bit is forced on first where the catalogue does not use branch 3.
  void LoadValues() override;
  void UpdateScreenControls() override;

 private:
  // Branch 3 of the record is used; without a record it counts as used (switch B shown).
  bool ThresholdSwitchUsed() const;
};

}  // namespace roviro
