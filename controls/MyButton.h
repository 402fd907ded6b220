#pragma once
// CMyButton: the program's only button, drawn by itself. Flag bits make it a push button,
// toggle button, check box or radio button; six state pictures, a caption and a layout word
// decide its look. Radio buttons keep each other exclusive through their group.

#include <QAbstractButton>

#include <array>
#include <cstdint>
#include <string>

#include "controls/MyWnd.h"
#include "controls/Pictures.h"
#include "controls/geometry/ButtonGeometry.h"

namespace roviro {

inline constexpr std::uint32_t kButtonPictureDrawMode = 0x472;
inline constexpr std::uint32_t kButtonPictureKey = 0x50FF00FF;

// State requests.
enum ButtonRequest : std::uint32_t {
  kRequestCheck = 1,
  kRequestUncheck = 2,
  kRequestHoverOn = 8,
  kRequestHoverOff = 16,
};

class CMyButton : public QAbstractButton, public CMyWnd {
  Q_OBJECT

 public:
  explicit CMyButton(QWidget* parent = nullptr);
  ~CMyButton() override;

  virtual bool IsFlag31() const { return Bit(31); }
  virtual bool IsFlag20() const { return Bit(20); }
  virtual bool IsFlag19() const { return Bit(19); }
  virtual bool IsFlag30() const { return Bit(30); }
  virtual bool IsFlag18() const { return Bit(18); }
  virtual bool IsFlag23() const { return Bit(23); }
  virtual bool IsFlag21() const { return Bit(21); }
  virtual bool IsFlag22() const { return Bit(22); }
  virtual bool IsFlag16() const { return Bit(16); }
  virtual bool IsFlag29() const { return Bit(29); }
  virtual bool IsFlag28And30() const { return Bit(28) && Bit(30); }
  virtual bool IsFlag17() const { return Bit(17); }
  virtual bool HasStatePicture() const { return Bit(26) && m_statePictures.IsLoaded(); }
  virtual bool IsFlag25() const { return Bit(25); }
  virtual bool IsFlag24() const { return Bit(24); }
  virtual bool IsFlag15() const { return Bit(15); }
  virtual bool IsCheckedToggle() const;  // checked, and a toggle, radio button or check box
  virtual bool IsHovering() const;       // hover state with mouse tracking
  virtual bool IsFlag16AndState9() const { return Bit(16) && (m_state & 9) == 9; }
  virtual bool IsFocusShown() const { return (m_itemState & kItemFocus) && Bit(31); }
  virtual bool IsDisabled() const { return m_itemState & kItemDisabled; }
  virtual bool IsPressed() const { return m_itemState & kItemPressed; }

  // Loads six pictures into frames 0 to 5; false at the first that fails (the frames loaded so
  // far stay).
  bool SetStatePictures(const std::string& pressed, const std::string& hover,
                        const std::string& disabledChecked, const std::string& disabled,
                        const std::string& checked, const std::string& normal);
  // With bit 14 the six names are derived from `name` ("Inaktiv" marks the normal picture);
  // otherwise `name` is the only picture.
  bool SetStatePicture(const std::string& name, bool clearFirst);
  PictureHolder& StatePictures() { return m_statePictures; }

  void SetLayout(std::uint32_t layout);
  std::uint32_t GetLayout() const { return m_layout; }
  void SetChecked(bool on);
  void RequestState(std::uint32_t request);
  std::uint32_t State() const { return m_state; }
  // Held down by the program (the current screen's tab, the way a motor was told to run):
  // shown pressed until released here, whatever happens to the focus.
  void Hold(bool held);
  bool Held() const { return m_held; }
  std::uint32_t ItemState() const { return m_itemState; }

  Rect CaptionArea() const { return m_captionArea; }
  Rect SetCaptionArea(const Rect& r);
  Rect PictureSlot() const { return m_pictureSlot; }
  Rect SetPictureSlot(const Rect& r);
  Rect Margins() const { return m_margins; }
  Rect SetMargins(const Rect& r);

  // Makes this button and `other` members of each other's radio group.
  HResult JoinRadioGroup(CMyButton* other);
  // Leaves `other`'s group and removes `other` from this one; null leaves every group.
  HResult LeaveRadioGroup(CMyButton* other = nullptr);
  CMyObjGroup& RadioGroup() { return m_radioGroup; }

  // The caption as stored (ISO-8859-1).
  void SetCaption(const std::string& text);
  std::string Caption() const;

  Size GetPreferredSize(int options) override;
  void ResetToDefaults() override;

  QSize sizeHint() const override;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void nextCheckState() override {}  // the checked state changes only by state requests

 private:
  bool Bit(int n) const { return (GetFlags() >> n) & 1u; }
  bool IsCheckBox() const { return GetFlags() & kButtonCheckBox; }
  bool IsRadio() const { return GetFlags() & kButtonRadio; }
  void InitialiseOnce();
  void UpdateFrame();
  void HoverOn();
  void HoverOff();
  void LeaveAllGroups();
  // What a release inside the button does to its checked state (radio buttons check, check
  // boxes and toggle buttons flip; push buttons keep theirs).
  void ReleasedInside();
  QFont CaptionFont() const;

  std::uint32_t m_itemState = 0;
  PictureHolder m_statePictures;
  std::uint32_t m_state = 0;
  bool m_held = false;
  std::uint32_t m_layout = 0;
  Rect m_captionArea;
  Rect m_pictureSlot;
  Rect m_margins{2, 2, 2, 2};
  CMyObjGroup m_radioGroup;
};

}  // namespace roviro
