#pragma once
// Screen 4, running time and intermediate position: the rated speed as a step value (block
// 0x34 bytes 0 and 1), the maximum running time (block 0x2E byte 4) and, behind a function
// switch (byte 9 bit 0), the two times of the intermediate position (bytes 6 and 5). A
// catalogue that does not use branch 2 forces the function on and shows the switch's text
// alone; one that hides branch 2 leaves only the running time and the rated speed.

#include "screens/settings/SettingsScreen.h"

namespace roviro {

class CScreenEinstellungen3 final : public CSettingsScreen {
 public:
  explicit CScreenEinstellungen3(CVQZodavaRozeDlg* dlg);

  void ArrangeControls() override;

 protected:
  // The function bit is forced on first where the catalogue does not use branch 2.
  void LoadValues() override;
  void UpdateScreenControls() override;

 private:
  // Branch 2 of the record: used (U) and hidden (H). Without a record the branch counts as
  // used and not hidden, so every control is on the page.
  bool FunctionUsed() const;
  bool FunctionHidden() const;
};

}  // namespace roviro
