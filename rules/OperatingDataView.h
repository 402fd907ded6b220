#pragma once
// How the operating-parameters screen words the motor's operating data (block 0x30): the
// running time line, the two counters and the ten most recent events with their texts. Kept
// free of widgets so that the screen and the command-line tool show the same words.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/ParameterImage.h"
#include "pages/ScreenDescription.h"

namespace roviro {

// Object numbers of the operating-data page that the wording comes from.
inline constexpr int kOpTimeParts = 1;   // 0 separator, 1 years, 3 days, 4 hours, 5 min, 6 s
inline constexpr int kOpEventTexts = 3;  // 0 count (hex), then code + text lines
inline constexpr int kOpEventColumns = 5;

struct EventTextEntry {
  std::uint32_t code = 0;
  std::string text;
};

struct OperatingDataView {
  std::uint32_t runningSeconds = 0;
  std::string timeLine;  // the parts, then the motor firmware text
  std::string firstCounter;
  std::string secondCounter;
  struct EventRow {
    std::uint8_t code = 0;
    std::array<std::string, 3> columns;  // row number, code, event text
  };
  std::array<EventRow, 10> events;
};

// The event-text list of the page: text (3, 0) is the count c as a hex number, texts (3, 1) to
// (3, c - 1) follow, each an 8-digit hex code and the text.
std::vector<EventTextEntry> BuildEventTextList(const ScreenDescription& page);

// The text of the first entry whose code equals `code`; empty when there is none.
std::string EventText(const std::vector<EventTextEntry>& list, std::uint32_t code);

// The running time in years, days, hours, minutes and seconds, worded with the page's parts.
std::string RunningTimeLine(std::uint32_t seconds, const ScreenDescription& page);

// Everything the screen shows, from the image's block 0x30 and block 0x39 byte 16.
OperatingDataView BuildOperatingDataView(const ParameterImage& image,
                                         const ScreenDescription& page);

}  // namespace roviro
