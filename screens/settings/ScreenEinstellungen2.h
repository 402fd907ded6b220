#pragma once
// Screens 3 and 12, the speed profile: five step values (block 0x34 bytes 2 to 11), each
// picked from the motor's division table with "+" and "-", a main switch and a sub-switch
// (block 0x2E byte 8 bits 1 and 4) and one value (byte 2) that needs the sub-switch. Where
// the catalogue does not use branch 1 the switches and the value disappear and the step values
// are always editable.
//
// Both screens are one implementation; they differ in their number (record, page, defaults
// of back and next) and in where a typed value is bounded when it settles: screen 3 by the
// record's range, screen 12 always by the page's range.

#include "screens/settings/SettingsScreen.h"

namespace roviro {

class CSpeedProfileScreen : public CSettingsScreen {
 public:
  void ArrangeControls() override;

 protected:
  CSpeedProfileScreen(CVQZodavaRozeDlg* dlg, int screenId, std::span<const ValuePairSpec> pairs);

  void UpdateScreenControls() override;

 private:
  // Whether the switches and the value are on the page: without a record, or where the
  // record uses branch 1.
  bool SwitchesUsed() const;
};

class CScreenEinstellungen2 final : public CSpeedProfileScreen {
 public:
  explicit CScreenEinstellungen2(CVQZodavaRozeDlg* dlg);
};

class CScreenEinstellungen12 final : public CSpeedProfileScreen {
 public:
  explicit CScreenEinstellungen12(CVQZodavaRozeDlg* dlg);
};

}  // namespace roviro
