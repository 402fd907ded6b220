#include "rules/OperatingDataView.h"

#include <cstdio>

#include "pages/TextHelpers.h"

namespace roviro {

namespace {

std::string Decimal(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%1.1u", value);
  return text;
}

}  // namespace

std::vector<EventTextEntry> BuildEventTextList(const ScreenDescription& page) {
  std::vector<EventTextEntry> list;
  const std::uint32_t count = HexToValue(page.Text(kOpEventTexts, 0));
  // The page cannot hold more lines than this; a damaged count must not spin for ages.
  const std::uint32_t limit = count > 10000 ? 10000 : count;
  for (std::uint32_t i = 1; i < limit; ++i) {
    const std::string line = page.Text(kOpEventTexts, static_cast<int>(i));
    EventTextEntry entry;
    entry.code = HexToValue(line.substr(0, 8));
    if (line.size() >= 9) entry.text = line.substr(8);
    list.push_back(std::move(entry));
  }
  return list;
}

std::string EventText(const std::vector<EventTextEntry>& list, std::uint32_t code) {
  for (const EventTextEntry& entry : list) {
    if (entry.code == code) return entry.text;
  }
  return {};
}

std::string RunningTimeLine(std::uint32_t seconds, const ScreenDescription& page) {
  const std::uint32_t years = seconds / 31536000u;
  const std::uint32_t days = seconds / 86400u - years * 365u;
  const std::uint32_t hours = (seconds / 3600u) % 24u;
  const std::uint32_t minutes = (seconds / 60u) % 60u;
  const std::uint32_t secs = seconds % 60u;
  const std::string separator = page.Text(kOpTimeParts, 0);

  std::string line;
  const auto add = [&](int part, std::uint32_t value) {
    if (!line.empty()) line += separator;
    line += ReplaceAll(page.Text(kOpTimeParts, part), "%a", Decimal(value));
  };
  if (years != 0) add(1, years);
  if (!line.empty() || days != 0) add(3, days);
  if (!line.empty() || hours != 0) add(4, hours);
  if (!line.empty() || minutes != 0) add(5, minutes);
  add(6, secs);
  return line;
}

OperatingDataView BuildOperatingDataView(const ParameterImage& image,
                                         const ScreenDescription& page) {
  OperatingDataView view;
  const auto data = image.Block(0x30);
  view.runningSeconds = std::uint32_t{data[0]} | (std::uint32_t{data[1]} << 8) |
                        (std::uint32_t{data[2]} << 16) | (std::uint32_t{data[3]} << 24);
  view.timeLine =
      RunningTimeLine(view.runningSeconds, page) + MotorFirmwareText(image.Block(0x39)[16]);
  view.firstCounter = Decimal(data[5]);
  view.secondCounter = Decimal(data[7]);

  const std::vector<EventTextEntry> texts = BuildEventTextList(page);
  for (std::size_t k = 0; k < view.events.size(); ++k) {
    auto& row = view.events[k];
    row.code = data[11 + k];
    char code[8];
    std::snprintf(code, sizeof code, "%2.2X", row.code);
    row.columns[0] =
        ReplaceAll(page.Text(kOpEventColumns, 0), "%a", Decimal(static_cast<std::uint32_t>(k)));
    row.columns[1] = ReplaceAll(page.Text(kOpEventColumns, 1), "%a", code);
    row.columns[2] = ReplaceAll(page.Text(kOpEventColumns, 2), "%a", EventText(texts, row.code));
  }
  return view;
}

}  // namespace roviro
