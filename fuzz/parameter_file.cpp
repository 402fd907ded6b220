// Arbitrary bytes as the XML document of a parameter file, read into a parameter image with a
// small catalogue list, as the load-data screen does after unpacking the archive entry.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "catalogue/Catalogue.h"
#include "catalogue/ParameterImage.h"
#include "platform/MessageSink.h"
#include "records/ParameterFile.h"

namespace {

const roviro::CatalogueList& Catalogues() {
  static const roviro::CatalogueList list = [] {
    roviro::CatalogueList l;
    auto a = std::make_unique<roviro::Catalogue>();
    a->motors[0].strGuidNQB = "{11111111-2222-3333-4444-555555555555}";
    a->motors[0].strGuidUMode = "{11111111-2222-3333-4444-5555555555FF}";
    a->motors[1].strGuidNQB = "{11111111-2222-3333-4444-555555555556}";
    l.push_back(std::move(a));
    auto b = std::make_unique<roviro::Catalogue>();
    b->motors[2].strGuidNQB = "{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}";
    l.push_back(std::move(b));
    l.push_back(nullptr);  // a missing entry must be skipped
    return l;
  }();
  return list;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  roviro::ParameterImage image;
  roviro::NullMessageSink sink;
  int selection = size > 0 ? static_cast<int>(data[0] % 3) - 1 : -1;
  const std::string_view xml(reinterpret_cast<const char*>(data), size);
  const roviro::ParameterFileLoadResult result =
      roviro::ReadParameterDocument(xml, image, Catalogues(), &selection, &sink);
  // A failed load never leaves a half-loaded set behind.
  if (!result.Ok() && (image.m_valid != 0 || image.m_block != roviro::DefaultParameterBlock() ||
                       !image.m_moName.empty() || !image.m_kommentar.empty())) {
    __builtin_trap();
  }
  if (result.Ok() && (selection < 0 || image.m_valid != 1)) __builtin_trap();
  return 0;
}
