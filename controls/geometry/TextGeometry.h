#pragma once
// Text measuring for the controls: splits a text into lines by the measuring options, cuts
// lines that are too wide (at a blank with option 2) and adds up the line sizes. The pixel
// widths come from a callback, so the same rules serve every font and every test.

#include <functional>
#include <string>
#include <vector>

#include "controls/geometry/ControlGeometry.h"
#include "platform/Result.h"

namespace roviro {

enum TextExtentOption : int {
  kExtentMultiLine = 1,   // split at line feeds (otherwise only the first line counts)
  kExtentCutAtBlank = 2,  // a cut inside a word moves back to the last blank
  kExtentTrimBlanks = 4,  // blanks stripped at both ends of the text and of each line
  kExtentTrimLineFeeds = 8,
};

// Size of one line of text as the font draws it.
using MeasureLineFn = std::function<Size(const std::string& line)>;

struct TextLayout {
  Size size;                       // widest line + 2, sum of the line heights
  std::vector<std::string> lines;  // the lines as measured, after cutting
};

// Lays out `text` (each backslash-n pair counts as a line feed) within `maxWidth` (0 = no
// limit). E_FAIL for an empty text or a missing measuring function.
HResult LayoutText(const std::string& text, int maxWidth, int options, const MeasureLineFn& measure,
                   TextLayout* out);

}  // namespace roviro
