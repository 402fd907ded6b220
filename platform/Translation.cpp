#include "platform/Translation.h"

#include <atomic>

namespace roviro {

namespace {

std::atomic<TextTranslator> g_translator{nullptr};

}  // namespace

void SetTextTranslator(TextTranslator translator) { g_translator.store(translator); }

std::string Tx(const std::string& german) {
  const TextTranslator translator = g_translator.load();
  std::string translated;
  if (translator != nullptr && translator(german, &translated)) return translated;
  return german;
}

std::string Tx(const char* german) { return Tx(std::string(german != nullptr ? german : "")); }

std::string Tx(const char* german, std::initializer_list<std::string> args) {
  const std::string text = Tx(german);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
      const auto n = static_cast<std::size_t>(text[i + 1] - '1');
      if (n < args.size()) {
        out += *(args.begin() + n);
        ++i;
        continue;
      }
    }
    out += c;
  }
  return out;
}

}  // namespace roviro
