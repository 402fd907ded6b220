#include "controls/geometry/ControlGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace roviro {

Rect Intersect(const Rect& a, const Rect& b) {
  Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  if (r.IsEmpty()) {
    return {};
  }
  return r;
}

Rect Offset(const Rect& r, int dx, int dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

Rect Deflate(const Rect& r, int dx, int dy) {
  return {r.left + dx, r.top + dy, r.right - dx, r.bottom - dy};
}

Rect Deflate(const Rect& r, const Rect& margins) {
  return {r.left + margins.left, r.top + margins.top, r.right - margins.right,
          r.bottom - margins.bottom};
}

std::string FormatColourEntry(Colour rgb) {
  char text[24];
  std::snprintf(text, sizeof text, "%.8d", static_cast<int>(rgb));
  return text;
}

Colour ColourAt(const std::vector<std::string>& entries, int index) {
  if (index < 0 || index >= static_cast<int>(entries.size())) {
    return 0xFF00FF;
  }
  return static_cast<Colour>(std::strtol(entries[index].c_str(), nullptr, 10));
}

namespace {

// Start of a piece of length `inner` inside one of length `outer` starting at `start`.
int AlignStart(int start, int outer, int inner, bool centre, bool far) {
  if (centre) {
    return start + (outer - inner) / 2;
  }
  if (far) {
    return start + outer - inner;
  }
  return start;
}

// Places the shorter of picture part and target along one axis inside the longer one.
void AlignAxis(int& targetStart, int& targetEnd, int& sourceStart, int& sourceEnd,
               int targetOuterStart, int targetOuterLength, int sourceOuterStart,
               int sourceOuterLength, bool centre, bool far) {
  const int length = targetEnd - targetStart;
  if (length < targetOuterLength) {
    targetStart = AlignStart(targetOuterStart, targetOuterLength, length, centre, far);
    targetEnd = targetStart + length;
  }
  const int sourceLength = sourceEnd - sourceStart;
  if (sourceLength < sourceOuterLength) {
    sourceStart = AlignStart(sourceOuterStart, sourceOuterLength, sourceLength, centre, far);
    sourceEnd = sourceStart + sourceLength;
  }
}

}  // namespace

PicturePlacement PlacePicture(Size pictureSize, const Rect& target, const Rect& source,
                              std::uint32_t drawMode) {
  PicturePlacement out;
  if (pictureSize.cx < 1 || pictureSize.cy < 1) {
    out.result = kDrawPictureTooSmall;
    return out;
  }
  if (target.IsEmpty()) {
    out.result = kDrawEmptyTarget;
    return out;
  }
  const Rect whole{0, 0, pictureSize.cx, pictureSize.cy};
  const Rect src = source.IsEmpty() ? whole : Intersect(source, whole);
  if (src.IsEmpty()) {
    out.result = kDrawEmptySource;
    return out;
  }
  out.target = target;
  out.source = src;
  if (drawMode & kDrawNoScale) {
    const int w = std::min(target.Width(), src.Width());
    const int h = std::min(target.Height(), src.Height());
    out.target = MakeRect(target.left, target.top, w, h);
    out.source = MakeRect(src.left, src.top, w, h);
  } else if (drawMode & kDrawFit) {
    const double sx = static_cast<double>(target.Width()) / src.Width();
    const double sy = static_cast<double>(target.Height()) / src.Height();
    const bool fill = (drawMode & kDrawFill) != 0;
    const double scale = fill ? std::max(sx, sy) : std::min(sx, sy);
    if (fill) {
      // The whole target is covered; only the part of the picture that fits is shown.
      const int w =
          std::clamp(static_cast<int>(std::lround(target.Width() / scale)), 1, src.Width());
      const int h =
          std::clamp(static_cast<int>(std::lround(target.Height() / scale)), 1, src.Height());
      out.source = MakeRect(src.left, src.top, w, h);
    } else {
      const int w =
          std::clamp(static_cast<int>(std::lround(src.Width() * scale)), 1, target.Width());
      const int h =
          std::clamp(static_cast<int>(std::lround(src.Height() * scale)), 1, target.Height());
      out.target = MakeRect(target.left, target.top, w, h);
    }
  } else {
    return out;  // stretched over the whole target
  }
  AlignAxis(out.target.left, out.target.right, out.source.left, out.source.right, target.left,
            target.Width(), src.left, src.Width(), (drawMode & kDrawCentreX) != 0,
            (drawMode & kDrawRight) != 0);
  AlignAxis(out.target.top, out.target.bottom, out.source.top, out.source.bottom, target.top,
            target.Height(), src.top, src.Height(), (drawMode & kDrawCentreY) != 0,
            (drawMode & kDrawBottom) != 0);
  return out;
}

std::vector<Tile> TileArea(const Rect& area, Size pictureSize) {
  std::vector<Tile> tiles;
  if (area.IsEmpty() || pictureSize.cx < 1 || pictureSize.cy < 1) {
    return tiles;
  }
  for (int y = area.top; y < area.bottom; y += pictureSize.cy) {
    for (int x = area.left; x < area.right; x += pictureSize.cx) {
      Tile t;
      t.target = {x, y, std::min(x + pictureSize.cx, area.right),
                  std::min(y + pictureSize.cy, area.bottom)};
      t.source = {0, 0, t.target.Width(), t.target.Height()};
      tiles.push_back(t);
    }
  }
  return tiles;
}

int StepFrame(int current, int count, bool forward, bool wrap) {
  if (count <= 0) {
    return current;
  }
  if (current < 0 || current >= count) {
    return forward ? count - 1 : 0;
  }
  if (forward) {
    if (current + 1 < count) {
      return current + 1;
    }
    return wrap ? 0 : count - 1;
  }
  if (current > 0) {
    return current - 1;
  }
  return wrap ? count - 1 : 0;
}

std::vector<Span> GradientBands(int extent, int colourCount) {
  std::vector<Span> bands;
  if (colourCount < 2 || extent <= 0) {
    return bands;
  }
  const int n = colourCount - 1;
  for (int i = 0; i < n; ++i) {
    const int begin = static_cast<int>(static_cast<long long>(extent) * i / n);
    const int end =
        i == n - 1 ? extent : static_cast<int>(static_cast<long long>(extent) * (i + 1) / n);
    bands.push_back({begin, end});
  }
  return bands;
}

int GradientSteps(Colour from, Colour to, int length, int bitsPerPixel) {
  if (bitsPerPixel < 8) {
    return 1;
  }
  const int difference =
      std::max({std::abs(RedOf(to) - RedOf(from)), std::abs(GreenOf(to) - GreenOf(from)),
                std::abs(BlueOf(to) - BlueOf(from))});
  return std::max(1, std::min(difference, length));
}

Colour GradientStepColour(Colour from, Colour to, int k, int steps) {
  auto channel = [&](int a, int b) {
    return static_cast<int>(a + static_cast<double>(k) * (b - a) / steps);
  };
  return MakeColour(channel(RedOf(from), RedOf(to)), channel(GreenOf(from), GreenOf(to)),
                    channel(BlueOf(from), BlueOf(to)));
}

std::vector<ColourFill> PlanGradient(const Rect& area, const std::vector<Colour>& colours,
                                     bool vertical, int bitsPerPixel) {
  std::vector<ColourFill> fills;
  if (area.IsEmpty() || colours.empty()) {
    return fills;
  }
  if (colours.size() == 1) {
    fills.push_back({area, colours[0]});
    return fills;
  }
  const int extent = vertical ? area.Height() : area.Width();
  const int origin = vertical ? area.top : area.left;
  const std::vector<Span> bands = GradientBands(extent, static_cast<int>(colours.size()));
  for (std::size_t i = 0; i < bands.size(); ++i) {
    const int length = bands[i].end - bands[i].begin;
    const int steps = GradientSteps(colours[i], colours[i + 1], length, bitsPerPixel);
    for (int k = 0; k < steps; ++k) {
      const int s0 = length * k / steps;
      const int s1 = k == steps - 1 ? length : length * (k + 1) / steps;
      if (s1 <= s0) {
        continue;
      }
      const int a = origin + bands[i].begin + s0;
      const int b = origin + bands[i].begin + s1;
      const Rect r =
          vertical ? Rect{area.left, a, area.right, b} : Rect{a, area.top, b, area.bottom};
      fills.push_back({r, GradientStepColour(colours[i], colours[i + 1], k, steps)});
    }
  }
  return fills;
}

}  // namespace roviro
