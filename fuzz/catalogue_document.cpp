// Feeds arbitrary bytes to the catalogue document reader as the text of one archive entry.
// Whatever it accepts must be a catalogue the rest of the program can use safely.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "catalogue/Catalogue.h"
#include "platform/MessageSink.h"

namespace {

// Counts the message boxes and checks that every one is a complete error box.
class CountingSink final : public roviro::MessageSink {
 public:
  void Post(std::uint32_t, std::uintptr_t, std::intptr_t) override {}
  int MessageBox(const std::string& text, const std::string& caption,
                 std::uint32_t style) override {
    if (text.empty() || caption != "Fehler..." ||
        style != (roviro::kMbIconError | roviro::kMbTopmost)) {
      std::abort();
    }
    ++m_count;
    return roviro::kIdOk;
  }

 private:
  int m_count = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CountingSink sink;
  roviro::CatalogueLoadContext context;
  context.sink = &sink;
  roviro::CatalogueList list;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const int result = roviro::ReadCatalogueDocument(context, "fuzz.kxbmc", "fuzz.xml", text, list);
  if (result != 0 && result != 1) std::abort();
  if (list.size() > 1) std::abort();  // one document gives at most one catalogue

  for (const auto& catalogue : list) {
    bool anyNqb = false;
    bool anyUMode = false;
    for (const roviro::MotorRecord& m : catalogue->motors) {
      anyNqb = anyNqb || !m.strGuidNQB.empty();
      anyUMode = anyUMode || !m.strGuidUMode.empty();
    }
    if (!anyNqb || !anyUMode) std::abort();  // AddCatalogue must have refused it
    for (int n = -1; n <= roviro::kCatalogueScreenCount; ++n) {
      (void)roviro::GetScreenRecord(catalogue.get(), n);
    }
    roviro::ParameterImage image;
    for (int k = 0; k < roviro::kMotorCount; ++k) {
      if (roviro::CopyMotorToParameterImage(catalogue.get(), &image, k) != roviro::S_OK) {
        std::abort();
      }
    }
  }
  return 0;
}
