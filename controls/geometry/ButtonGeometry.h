#pragma once
// The owner-drawn button's decisions without any window-system type: which state picture to
// show, the names of the six state pictures, where frame, picture, check mark and caption go
// and which of them are drawn.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "controls/geometry/ControlGeometry.h"

namespace roviro {

// Kind bits of the button in the shared flag word.
inline constexpr std::uint32_t kButtonNamedPictures = 0x4000;
inline constexpr std::uint32_t kButtonFrozenPicture = 0x8000;
inline constexpr std::uint32_t kButtonPushFrame = 0x80000;
inline constexpr std::uint32_t kButtonToggle = 0x100000;
inline constexpr std::uint32_t kButtonRadio = 0x200000;
inline constexpr std::uint32_t kButtonNoFocus = 0x400000;
inline constexpr std::uint32_t kButtonCheckBox = 0x800000;
inline constexpr std::uint32_t kButtonCaption = 0x1000000;
inline constexpr std::uint32_t kButtonOtherContent = 0x2000000;
inline constexpr std::uint32_t kButtonStatePicture = 0x4000000;
inline constexpr std::uint32_t kButtonTrackMouse = 0x40000000;
inline constexpr std::uint32_t kButtonFocusCaption = 0x80000000;

// State word bits and the draw state copied at each paint.
inline constexpr std::uint32_t kStateChecked = 0x1;
inline constexpr std::uint32_t kStateHover = 0x8;
// Draw state bits.
inline constexpr std::uint32_t kItemPressed = 0x10000000;
inline constexpr std::uint32_t kItemDisabled = 0x10000;
inline constexpr std::uint32_t kItemFocus = 0x8000;

// Frames of the state picture holder.
enum ButtonFrame : int {
  kFramePressed = 0,
  kFrameHover = 1,
  kFrameDisabledChecked = 2,
  kFrameDisabled = 3,
  kFrameChecked = 4,
  kFrameNormal = 5,
};

// Disabled: 2 when checked, else 3; otherwise checked 4, pressed 0, hovering 1, else 5.
int ChooseStateFrame(bool disabled, bool checked, bool pressed, bool hovering);

// The six state picture names derived from one name in which "Inaktiv" marks the normal
// picture: pressed, hover, disabled+checked, disabled, checked, normal.
std::array<std::string, 6> NamedStatePictures(const std::string& name);

inline constexpr std::uint32_t kButtonOwnLayout = 0xC4202222;
inline constexpr std::uint32_t kScreenButtonLayout = 0xC4082022;

// Places `size` inside `area` by four bits starting at `hShift` (1/4, 1/2, 3/4 centre, far
// edge; none = near edge) and four bits starting at `vShift`.
Rect PlaceByLayout(const Rect& area, Size size, std::uint32_t layout, int hShift, int vShift);

// The caption area adjusted to the picture by layout bits 0x40000 to 0x2000000.
Rect AdjustCaptionArea(Rect area, const Rect& picture, const Rect& margins, std::uint32_t layout);

// Width plus 20, height at least 18.
Size PreferredButtonSize(Size text);

enum class ButtonFrameKind { kNone, kStandard, kHover3D };
enum class CheckMarkKind { kNone, kCheckBox, kRadio };
enum class TextAlign { kNear, kCentre, kFar };

struct ButtonPaintInput {
  Rect client;
  std::uint32_t flags = 0;
  std::uint32_t layout = 0;
  std::uint32_t state = 0;
  std::uint32_t itemState = 0;
  bool statePictureLoaded = false;
  Size frameSize;    // size of the current state picture
  Rect pictureSlot;  // empty = the item rectangle
  Rect captionArea;  // empty = the item rectangle
  Rect margins{2, 2, 2, 2};
  // Measures the caption; the argument is the width available (0 = unlimited) and the
  // measuring options (1 several lines, 2 cut at blanks).
  std::function<Size(int maxWidth, int options)> measureCaption;
};

struct ButtonPaintPlan {
  bool checked = false;
  bool hovering = false;
  bool pressed = false;
  bool disabled = false;
  bool focused = false;

  bool blackFocusFrame = false;  // one-pixel black frame around blackFrameRect
  Rect blackFrameRect;
  ButtonFrameKind frame = ButtonFrameKind::kNone;
  Rect frameRect;
  bool frameSunken = false;    // pressed or checked
  bool frameInactive = false;  // disabled

  CheckMarkKind checkMark = CheckMarkKind::kNone;  // drawn when there is no state picture
  bool checkMarkChecked = false;
  bool checkMarkInactive = false;

  bool drawPicture = false;  // the state picture, cut to `clip`
  bool pictureEnabled = true;
  Rect pictureRect;
  Rect clip;

  bool drawCaption = false;
  Rect captionArea;
  Rect captionRect;
  TextAlign hAlign = TextAlign::kNear;
  TextAlign vAlign = TextAlign::kNear;
  bool multiLine = false;

  bool focusRect = false;   // dotted, around captionArea
  bool emptyFrame = false;  // one-pixel frame in kEmptyFrameColour around the item rectangle
};

inline constexpr Colour kEmptyFrameColour = 0x011001;

ButtonPaintPlan PlanButtonPaint(const ButtonPaintInput& in);

}  // namespace roviro
