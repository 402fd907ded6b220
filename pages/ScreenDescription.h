#pragma once
// One page description: the heading, the page flag and, per object, the texts, bitmap names,
// tooltip, flag, position and font that a page file ("Screen%.3d.dat") gives.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"

namespace roviro {

struct ScreenRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// One numbered object of a page; everything empty or 0 until the file sets it.
struct ScreenObject {
  std::string font;
  std::vector<std::string> bitmaps;  // for picture buttons: 0 disabled, 1 normal, 2 over, 4 pressed
  std::uint32_t flag = 0;
  ScreenRect position;
  std::vector<std::string> texts;
  std::string tooltip;
};

class ScreenDescription {
 public:
  // Larger capacities are refused as an allocation failure: no page has more than a few
  // dozen objects, and a caller must not be able to exhaust memory through this number.
  static constexpr int kMaxCapacity = 100000;

  ScreenDescription();

  // Reads "<folder>\Screen<nnn>.dat" (path normalised) with room for `capacity` objects.
  // S_OK on success; E_FAIL for a negative or absurd capacity, a file that cannot be opened or
  // a [POSITION] line without four integers (the objects read up to there stay). Heading and
  // page flag keep their values unless the file sets them.
  HResult Load(std::string_view folder, int screenNumber, int capacity);
  // The same rules over an open stream (read from its current position; not closed here).
  HResult LoadFromStream(std::FILE* file, int screenNumber, int capacity);
  // The same rules over the bytes of a page file held in memory.
  HResult LoadFromText(std::string_view text, int screenNumber, int capacity);

  // Discards the objects, sets the page flag to 0 and the heading to "Error".
  void Reset();

  std::string Heading() const { return m_heading; }
  std::uint32_t ScreenFlag() const { return m_screenFlag; }
  int ScreenNumber() const { return m_screenNumber; }
  int Capacity() const { return m_capacity; }

  // Text n of object k with "\n" pairs turned into line feeds; "Error" without objects or for
  // a bad k, "" for a bad n.
  std::string Text(int k, int n) const;
  // Bitmap name n of object k as written; "" when there is none.
  std::string Bitmap(int k, int n) const;
  // Tooltip of object k with "\n" pairs turned into line feeds; "" when there is none.
  std::string Tooltip(int k) const;
  std::uint32_t ObjectFlag(int k) const;
  ScreenRect ObjectPosition(int k) const;
  std::string ObjectFont(int k) const;

  // The file name of page `screenNumber` in `folder`, normalised.
  static std::string PagePath(std::string_view folder, int screenNumber);

 private:
  // Records number and capacity and drops the old objects; E_FAIL for a negative capacity.
  HResult Begin(int screenNumber, int capacity);
  // Makes room for `m_capacity` default objects; E_FAIL when that is refused or impossible.
  HResult Allocate();
  // Interprets the lines that `next` delivers (false at the end) until the end or a failure.
  HResult Parse(const std::function<bool(std::string&)>& next);
  const ScreenObject* Object(int k) const;

  std::vector<ScreenObject> m_objects;  // empty when nothing is loaded
  std::uint32_t m_screenFlag = 0;
  std::string m_heading;
  int m_screenNumber = 0;
  int m_capacity = 0;
};

}  // namespace roviro
