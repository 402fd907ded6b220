#pragma once
// The process-wide font cache with its eight slots, and text measuring with a font.

#include <QFont>

#include <array>
#include <string>

#include "controls/geometry/ControlGeometry.h"
#include "controls/geometry/TextGeometry.h"
#include "platform/Result.h"

namespace roviro {

class FontCache {
 public:
  static FontCache& Instance();

  // The font of `slot`. Slot 6 is first recreated from height, weight and face when all three
  // are given (height and weight non-zero, face not empty); every other slot ignores them and
  // answers its prepared font. Heights are character heights in pixels, written negative.
  const QFont& Font(int slot, int height = 0, int width = 0, int weight = 0, int pitchAndFamily = 0,
                    const std::string& face = {});

  static QFont MakeFont(int height, int weight, const std::string& face);

 private:
  FontCache();
  std::array<QFont, 7> m_slots;
  QFont m_other;  // any index outside 0..6
};

// Measures `text` with `font` (or, when null, the device's font `deviceFont`) by the options
// of LayoutText. E_FAIL when the text is empty or `out` is missing.
HResult TextExtent(const QFont& deviceFont, const std::string& text, Size* out, int maxWidth,
                   int options, const QFont* font = nullptr);

}  // namespace roviro
