#include "controls/geometry/TextGeometry.h"

#include <algorithm>
#include <deque>

#include "pages/TextHelpers.h"

namespace roviro {

namespace {

void Trim(std::string& s, char c) {
  const std::size_t first = s.find_first_not_of(c);
  if (first == std::string::npos) {
    s.clear();
    return;
  }
  s.erase(s.find_last_not_of(c) + 1);
  s.erase(0, first);
}

}  // namespace

HResult LayoutText(const std::string& text, int maxWidth, int options, const MeasureLineFn& measure,
                   TextLayout* out) {
  if (!out || !measure || text.empty()) {
    return E_FAIL;
  }
  std::string t = ExpandLineBreaks(text);
  if (options & kExtentTrimLineFeeds) {
    Trim(t, '\n');
  }
  if (options & kExtentTrimBlanks) {
    Trim(t, ' ');
  }
  std::deque<std::string> pending;
  if (options & kExtentMultiLine) {
    std::size_t start = 0;
    for (std::size_t at = t.find('\n'); at != std::string::npos; at = t.find('\n', start)) {
      pending.push_back(t.substr(start, at - start));
      start = at + 1;
    }
    pending.push_back(t.substr(start));
  } else {
    pending.push_back(t.substr(0, t.find('\n')));
  }

  const Size average = measure("R");
  const int averageWidth = std::max(1, average.cx);
  TextLayout layout;
  while (!pending.empty()) {
    std::string line = std::move(pending.front());
    pending.pop_front();
    if (options & kExtentTrimBlanks) {
      Trim(line, ' ');
    }
    Size size = line.empty() ? Size{0, average.cy} : measure(line);
    if (maxWidth > 0 && size.cx > maxWidth && line.size() > 1) {
      const int length = static_cast<int>(line.size());
      const int cut = (size.cx - maxWidth) / averageWidth + 1;
      int keep = std::clamp(length - cut, 1, length);
      while (keep > 1 && measure(line.substr(0, keep)).cx > maxWidth) {
        --keep;
      }
      while (keep < length && measure(line.substr(0, keep + 1)).cx <= maxWidth) {
        ++keep;
      }
      bool atBlank = false;
      if ((options & kExtentCutAtBlank) && keep < length && line[keep] != ' ' &&
          line[keep - 1] != ' ') {
        const std::size_t blank = line.rfind(' ', keep - 1);
        if (blank != std::string::npos && blank > 0) {
          keep = static_cast<int>(blank);
          atBlank = true;
        }
      }
      if (keep < length) {
        std::string rest = line.substr(keep);
        if (atBlank) {
          rest.erase(0, rest.find_first_not_of(' '));
        }
        pending.push_front(std::move(rest));
        line.resize(keep);
        size = measure(line);
      }
    }
    layout.size.cx = std::max(layout.size.cx, size.cx + 2);
    layout.size.cy += size.cy;
    layout.lines.push_back(std::move(line));
  }
  *out = std::move(layout);
  return S_OK;
}

}  // namespace roviro
