// Arbitrary bytes as a page file. The first byte chooses the capacity (a few negative ones
// included); every getter is then asked about objects and indices in and out of range. On
// POSIX the same bytes are also read through a FILE*, and both ways must agree.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "pages/ScreenDescription.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// The objects asked about: the first ones, which short inputs can name, and those around the
// end of the capacity, in and out of range.
bool Asked(int k, int capacity) { return k < 34 || k > capacity - 3; }

void Agree(const roviro::ScreenDescription& a, const roviro::ScreenDescription& b, int capacity) {
  Check(a.Heading() == b.Heading());
  Check(a.ScreenFlag() == b.ScreenFlag());
  for (int k = 0; k < capacity; ++k) {
    if (!Asked(k, capacity)) continue;
    for (int n = 0; n < 4; ++n) {
      Check(a.Text(k, n) == b.Text(k, n));
      Check(a.Bitmap(k, n) == b.Bitmap(k, n));
    }
    Check(a.Tooltip(k) == b.Tooltip(k));
    Check(a.ObjectFlag(k) == b.ObjectFlag(k));
    Check(a.ObjectPosition(k) == b.ObjectPosition(k));
    Check(a.ObjectFont(k) == b.ObjectFont(k));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int capacity = static_cast<int>(data[0]) - 4;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  roviro::ScreenDescription d;
  const roviro::HResult result = d.LoadFromText(text, 7, capacity);
  Check(result == roviro::S_OK || result == roviro::E_FAIL);
  if (capacity < 0) Check(result == roviro::E_FAIL);
  Check(d.ScreenNumber() == 7 && d.Capacity() == capacity);

  for (int k = -2; k < capacity + 2; ++k) {
    if (!Asked(k, capacity)) continue;
    const bool valid = k >= 0 && k < capacity;
    for (int n = -2; n < 4; ++n) {
      const std::string t = d.Text(k, n);
      const std::string b = d.Bitmap(k, n);
      if (!valid) Check(t == "Error" && b.empty());
      if (n < 0 && valid) Check(t.empty() && b.empty());
    }
    if (!valid) {
      Check(d.Tooltip(k).empty() && d.ObjectFont(k).empty() && d.ObjectFlag(k) == 0);
      Check(d.ObjectPosition(k) == roviro::ScreenRect{});
    }
    // Line breaks only ever shrink a text; nothing grows beyond the input.
    Check(d.Text(k, 0).size() <= text.size() || d.Text(k, 0) == "Error");
  }
  Check(d.Heading().size() <= text.size() || d.Heading() == "Error");

#ifndef _WIN32
  if (capacity >= 0 && size > 1) {
    // Through ReadLine the same bytes must give the same page as the in-memory line cutter.
    std::FILE* f = fmemopen(const_cast<std::uint8_t*>(data + 1), size - 1, "r");
    if (f != nullptr) {
      roviro::ScreenDescription fromFile;
      Check(fromFile.LoadFromStream(f, 7, capacity) == result);
      std::fclose(f);
      Agree(d, fromFile, capacity);
    }
  }
#endif

  d.Reset();
  Check(d.Heading() == "Error" && d.ScreenFlag() == 0 && d.Text(0, 0) == "Error");
  return 0;
}
