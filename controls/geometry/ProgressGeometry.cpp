#include "controls/geometry/ProgressGeometry.h"

#include <algorithm>

#include "pages/TextHelpers.h"

namespace roviro {

int LimitInterval(int interval) { return std::max(interval, kMinimumInterval); }
int LimitStep(int step) { return std::max(step, 1); }
int LimitBlockLength(int blockLength) { return std::max(blockLength, 1); }

namespace {

int Scale(long long v, long long length, long long range) {
  return static_cast<int>(v * length / range);
}

}  // namespace

std::string ProgressCaption(const std::string& captionTemplate, int minimum, int maximum,
                            int position) {
  if (minimum >= maximum) {
    return {};
  }
  const long long percent = (static_cast<long long>(position) - minimum) * 100 /
                            (static_cast<long long>(maximum) - minimum);
  std::string text = ReplaceAll(captionTemplate, "%a", std::to_string(percent));
  text = ReplaceAll(text, "%b", std::to_string(position));
  return ReplaceAll(text, "% ", "%");
}

Rect ProgressBarRect(const ProgressBarInput& in) {
  if (in.minimum >= in.maximum || in.area.IsEmpty()) {
    return {};
  }
  const long long v =
      static_cast<long long>(std::clamp(in.position, in.minimum, in.maximum)) - in.minimum;
  const long long r = static_cast<long long>(in.maximum) - in.minimum;
  const bool reversed = (in.flags & kProgressReversed) != 0;
  const Rect& a = in.area;
  Rect bar = a;
  if (!(in.flags & kProgressBlock)) {
    if (!in.vertical) {
      if (reversed) {
        bar.left = a.right - Scale(v, a.Width(), r);
      } else {
        bar.right = a.left + Scale(v, a.Width(), r);
      }
    } else if (reversed) {
      bar.bottom = a.top + Scale(v, a.Height(), r);
    } else {
      bar.top = a.bottom - Scale(v, a.Height(), r);
    }
    return Intersect(bar, a);
  }
  // The block travels over the length plus its own: at the minimum it lies just before the
  // area, at the maximum just beyond it, so it enters and leaves the area completely. Which of
  // its edges leads depends on the direction it moves (reversed XOR motion bit 0), not where
  // it is: the position alone places it.
  const int block = LimitBlockLength(in.blockLength);
  if (!in.vertical) {
    const int run = Scale(v, static_cast<long long>(a.Width()) + block, r);
    bar.left = reversed ? a.right - run : a.left - block + run;
    bar.right = bar.left + block;
  } else {
    const int run = Scale(v, static_cast<long long>(a.Height()) + block, r);
    bar.top = reversed ? a.top - block + run : a.bottom - run;
    bar.bottom = bar.top + block;
  }
  return Intersect(bar, a);
}

std::vector<ColourFill> PlanProgressShade(const ProgressBarInput& in, const Rect& bar,
                                          Colour colour3, Colour colour4, int bitsPerPixel) {
  std::vector<ColourFill> out;
  if (bar.IsEmpty()) {
    return out;
  }
  const Rect area = (in.flags & kProgressStretch) ? bar : in.area;
  std::vector<ColourFill> fills;
  if (in.flags & kProgressShadeAlong) {
    bool startsNear = !(in.flags & kProgressReversed);  // left, or bottom for a vertical bar
    if ((in.flags & kProgressBlock) && (in.motion & kMotionBackwards)) {
      startsNear = !startsNear;
    }
    // PlanGradient runs left to right or top to bottom.
    const bool startAtOrigin = in.vertical ? !startsNear : startsNear;
    const std::vector<Colour> colours = startAtOrigin ? std::vector<Colour>{colour4, colour3}
                                                      : std::vector<Colour>{colour3, colour4};
    fills = PlanGradient(area, colours, in.vertical, bitsPerPixel);
  } else {
    fills = PlanGradient(area, {colour3, colour4}, !in.vertical, bitsPerPixel);
  }
  for (const ColourFill& f : fills) {
    const Rect cut = Intersect(f.rect, bar);
    if (!cut.IsEmpty()) {
      out.push_back({cut, f.colour});
    }
  }
  return out;
}

Rect ProgressCaptionRect(const Rect& client, const ProgressBarInput& in, const Rect& bar,
                         Size text) {
  const Rect base = (in.flags & kProgressCaptionInBarArea) ? in.area : client;
  Rect r = MakeRect(base.left + (base.Width() - text.cx) / 2,
                    base.top + (base.Height() - text.cy) / 2, text.cx, text.cy);
  if (in.vertical) {
    return r;
  }
  const bool reversed = (in.flags & kProgressReversed) != 0;
  int x = r.left;
  if ((in.flags & kProgressCaptionAtEdge) && !bar.IsEmpty()) {
    x = reversed ? bar.left + 2 : bar.right - text.cx - 2;
  } else if (in.flags & kProgressCaptionAtStart) {
    x = reversed ? in.area.right - text.cx - 2 : in.area.left + 2;
  } else {
    return r;
  }
  x = std::clamp(x, in.area.left, std::max(in.area.left, in.area.right - text.cx));
  return Offset(r, x - r.left, 0);
}

int NextAnimationPosition(int position, int minimum, int maximum, int step, bool bounce,
                          std::uint32_t* motion) {
  std::uint32_t dummy = 0;
  std::uint32_t& m = motion ? *motion : dummy;
  step = LimitStep(step);
  long long p = (m & kMotionBackwards) ? static_cast<long long>(position) - step
                                       : static_cast<long long>(position) + step;
  if (p < minimum) {
    if (bounce) {
      p = 2LL * minimum - p;
      m ^= kMotionBackwards;
    } else {
      p = maximum;
    }
  }
  if (p > maximum) {
    if (bounce) {
      p = 2LL * maximum - p;
      m ^= kMotionBackwards;
    } else {
      p = minimum;
    }
  }
  // A step longer than the whole range would bounce past the other end.
  return static_cast<int>(std::clamp<long long>(p, std::min(minimum, maximum), maximum));
}

int StaticMeasureOptions(std::uint32_t textOptions) {
  return static_cast<int>((textOptions >> 6) & 0xF);
}

StaticTextFormat MakeStaticTextFormat(std::uint32_t style, std::uint32_t textOptions) {
  StaticTextFormat f;
  f.right = (style & kStyleRight) != 0;
  f.centre = (style & kStyleCentre) != 0;
  f.vCentre = (style & kStyleCentreImage) != 0;
  f.noPrefix = (style & kStyleNoPrefix) != 0;
  f.singleLine = f.vCentre || !(textOptions & kStaticMultiLine);
  f.wordBreak = (style & 0xC20C) == 0;
  if ((style & kStyleWordEllipsis) == kStylePathEllipsis) {
    f.ellipsis = Ellipsis::kPath;
  } else if ((style & kStyleWordEllipsis) == kStyleEndEllipsis) {
    f.ellipsis = Ellipsis::kEnd;
  } else if (style & kStyleWordEllipsis) {
    f.ellipsis = Ellipsis::kWord;
  }
  return f;
}

Rect StaticTextRect(const Rect& client, Size text, std::uint32_t textOptions, std::uint32_t style) {
  Rect r = Intersect(MakeRect(client.left, client.top, text.cx, text.cy), client);
  if (r.IsEmpty()) {
    return r;
  }
  if (textOptions & kStaticCentreVertically) {
    r = Offset(r, 0, (client.Height() - r.Height()) / 2);
  }
  if (style & kStyleCentre) {
    r = Offset(r, (client.Width() - r.Width()) / 2, 0);
  } else if (style & kStyleRight) {
    // Right-aligned text needs its rectangle at the right edge, or it would stay at the left.
    r = Offset(r, client.Width() - r.Width(), 0);
  }
  return r;
}

}  // namespace roviro
