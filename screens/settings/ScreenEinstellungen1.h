#pragma once
// Screen 2, the first settings page: a main switch with a sub-switch (block 0x2E byte 8 bits
// 0 and 5), five switches for the situations in which the function works (byte 9 bits 1 to
// 5) and one value (byte 3) that needs the main switch and, where the catalogue offers it,
// the sub-switch.

#include "screens/settings/SettingsScreen.h"

namespace roviro {

class CScreenEinstellungen1 final : public CSettingsScreen {
 public:
  explicit CScreenEinstellungen1(CVQZodavaRozeDlg* dlg);

  void ArrangeControls() override;

 protected:
  void UpdateScreenControls() override;

 private:
  // Whether the record offers the sub-switch (branch 1 object 1 bShow); without a record the
  // sub-switch counts as offered.
  bool SubSwitchOffered() const;
};

}  // namespace roviro
