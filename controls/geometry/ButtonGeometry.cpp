#include "controls/geometry/ButtonGeometry.h"

#include <algorithm>

#include "pages/TextHelpers.h"

namespace roviro {

int ChooseStateFrame(bool disabled, bool checked, bool pressed, bool hovering) {
  if (disabled) {
    return checked ? kFrameDisabledChecked : kFrameDisabled;
  }
  if (checked) {
    return kFrameChecked;
  }
  if (pressed) {
    return kFramePressed;
  }
  return hovering ? kFrameHover : kFrameNormal;
}

namespace {

int PlaceAxis(int start, int length, int inner, std::uint32_t bits) {
  if (bits & 0x1) {
    return start + length / 4 - inner / 2;
  }
  if (bits & 0x2) {
    return start + length / 2 - inner / 2;
  }
  if (bits & 0x4) {
    return start + length * 3 / 4 - inner / 2;
  }
  if (bits & 0x8) {
    return start + length - inner;
  }
  return start;
}

}  // namespace

std::array<std::string, 6> NamedStatePictures(const std::string& name) {
  const std::string grey = ReplaceAll(name, "Inaktiv", "Grey");
  return {ReplaceAll(name, "Inaktiv", "Pressed"), name, grey, grey, name, name};
}

Rect PlaceByLayout(const Rect& area, Size size, std::uint32_t layout, int hShift, int vShift) {
  const int x = PlaceAxis(area.left, area.Width(), size.cx, (layout >> hShift) & 0xF);
  const int y = PlaceAxis(area.top, area.Height(), size.cy, (layout >> vShift) & 0xF);
  return MakeRect(x, y, size.cx, size.cy);
}

Rect AdjustCaptionArea(Rect area, const Rect& picture, const Rect& m, std::uint32_t layout) {
  if (layout & 0x40000) area.right = picture.left - m.left;
  if (layout & 0x80000) area.left = picture.right + m.right + 2;
  if (layout & 0x100000) area.right = picture.bottom - m.top;
  if (layout & 0x200000) area.top = picture.top + m.bottom;
  if (layout & 0x400000) area.left = picture.left + m.left;
  if (layout & 0x800000) area.right = picture.right - m.right;
  if (layout & 0x1000000) area.top = picture.top + m.top;
  if (layout & 0x2000000) area.bottom = picture.bottom - m.bottom;
  return area;
}

Size PreferredButtonSize(Size text) { return {text.cx + 20, std::max(text.cy, 18)}; }

ButtonPaintPlan PlanButtonPaint(const ButtonPaintInput& in) {
  ButtonPaintPlan p;
  const std::uint32_t f = in.flags;
  const bool checkBox = (f & kButtonCheckBox) != 0;
  const bool radio = (f & kButtonRadio) != 0;
  const bool toggle = (f & kButtonToggle) != 0;
  p.checked = (in.state & kStateChecked) && (toggle || radio || checkBox);
  p.hovering = (in.state & kStateHover) && (f & kButtonTrackMouse);
  p.pressed = (in.itemState & kItemPressed) != 0;
  p.disabled = (in.itemState & kItemDisabled) != 0;
  p.focused = (in.itemState & kItemFocus) != 0;

  Rect rect = in.client;
  int shift = 0;
  if (!(f & kButtonNamedPictures)) {
    rect = Deflate(rect, 2, 2);
    if ((p.pressed || p.checked) && !checkBox && !radio) {
      shift = 2;
    }
  }

  if (!checkBox && !radio) {
    if (p.focused && (f & kButtonFocusCaption)) {
      p.blackFocusFrame = true;
      p.blackFrameRect = rect;
      rect = Deflate(rect, 1, 1);
    }
    if (f & kButtonPushFrame) {
      p.frame = p.hovering ? ButtonFrameKind::kHover3D : ButtonFrameKind::kStandard;
      p.frameRect = rect;
      p.frameSunken = p.pressed || p.checked;
      p.frameInactive = p.disabled;
      rect = Deflate(rect, 2, 2);
    }
  } else {
    p.checkMark = checkBox ? CheckMarkKind::kCheckBox : CheckMarkKind::kRadio;
    p.checkMarkChecked = p.checked;
    p.checkMarkInactive = p.pressed || p.disabled;
  }

  const Rect item = Offset(rect, shift, shift);
  const bool usePicture = (f & kButtonStatePicture) && in.statePictureLoaded;
  Size pictureSize;
  if (usePicture) {
    pictureSize = in.frameSize;
  } else if (checkBox) {
    pictureSize = {15, 15};
  } else if (radio) {
    pictureSize = {12, 12};
  }
  const Rect pictureArea = in.pictureSlot.IsEmpty() ? item : Offset(in.pictureSlot, shift, shift);
  if (in.layout & 0x10000) {
    p.pictureRect = MakeRect(item.left, item.top, pictureSize.cx, pictureSize.cy);
  } else {
    p.pictureRect = PlaceByLayout(pictureArea, pictureSize, in.layout, 0, 4);
  }
  p.clip = item;
  p.drawPicture = usePicture;
  p.pictureEnabled = (f & kButtonNamedPictures) || !p.disabled;
  if (usePicture) {
    p.checkMark = CheckMarkKind::kNone;
  }

  const Rect startArea = in.captionArea.IsEmpty() ? item : Offset(in.captionArea, shift, shift);
  p.captionArea = AdjustCaptionArea(startArea, p.pictureRect, in.margins, in.layout);
  p.multiLine = (in.layout & 0x80000000) != 0;
  p.hAlign = (in.layout & 0x4000000)   ? TextAlign::kCentre
             : (in.layout & 0x8000000) ? TextAlign::kFar
                                       : TextAlign::kNear;
  p.vAlign = (in.layout & 0x10000000)   ? TextAlign::kCentre
             : (in.layout & 0x20000000) ? TextAlign::kFar
                                        : TextAlign::kNear;
  p.drawCaption = (f & kButtonCaption) || checkBox || radio;
  if (p.drawCaption) {
    Size text;
    if (in.measureCaption) {
      const int options = (p.multiLine ? 1 : 0) | ((in.layout & 0x40000000) ? 2 : 0);
      text = in.measureCaption(std::max(0, p.captionArea.Width()), options);
    }
    if (in.layout & 0x20000) {
      p.captionRect = MakeRect(p.captionArea.left, p.captionArea.top, text.cx, text.cy);
    } else {
      p.captionRect = PlaceByLayout(p.captionArea, text, in.layout, 8, 12);
    }
  }

  p.focusRect = ((checkBox || radio) && ((p.focused && (f & kButtonFocusCaption)) || p.hovering)) ||
                ((f & (kButtonPushFrame | kButtonToggle)) && p.hovering);
  const bool anyContent = (f & (kButtonCaption | kButtonOtherContent | kButtonStatePicture)) != 0;
  p.emptyFrame = ((f & kButtonStatePicture) && !in.statePictureLoaded) || !anyContent;
  return p;
}

}  // namespace roviro
