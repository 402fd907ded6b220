// Saving a parameter file and loading it back, as the save-data and load-data screens do:
// document, scratch files, archive with manifest, unpacking and reading.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <system_error>

#include "catalogue/Catalogue.h"
#include "catalogue/ParameterImage.h"
#include "platform/MessageSink.h"
#include "platform/Paths.h"
#include "records/ParameterFile.h"

namespace roviro {
namespace {

// A fresh folder below the system's temporary folder, removed afterwards.
class BenchFolder {
 public:
  BenchFolder() {
    std::random_device rd;
    m_path =
        (std::filesystem::temp_directory_path() / ("roviro-bench-files-" + std::to_string(rd())))
            .string();
    std::error_code ec;
    std::filesystem::create_directories(m_path, ec);
  }
  ~BenchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
  }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

void BM_ParameterFileSaveAndLoad(benchmark::State& state) {
  BenchFolder folder;
  const std::string path = JoinPath(folder.Path(), "Satz.kxmc");
  const std::string temp = JoinPath(folder.Path(), "temp");

  CatalogueList catalogues;
  for (int i = 0; i < 8; ++i) {
    auto c = std::make_unique<Catalogue>();
    c->motors[0].strGuidNQB = "{0000000" + std::to_string(i) + "-1111-2222-3333-444444444444}";
    c->motors[1].strGuidNQB = "{0000000" + std::to_string(i) + "-1111-2222-3333-444444444445}";
    catalogues.push_back(std::move(c));
  }
  ParameterImage image;
  for (int i = 0; i < kParameterBlockSize; ++i) {
    image.m_block[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 3 + 1);
  }
  image.Block(0x39)[2] = 0x01;
  image.m_moName = "RM 10";
  image.m_name = "Wohnzimmer";
  image.m_firma = "Rolladen Bau";
  image.m_kommentar = "erste Zeile\nzweite Zeile";
  ContactRecord contact;
  contact.company = "Fitter GmbH";
  contact.street = "Hauptstrasse";
  contact.town = "Musterstadt";
  const SystemTime now{2011, 3, 1, 14, 9, 5, 7, 123};
  NullMessageSink sink;
  ParameterImage loaded;

  for (auto _ : state) {
    if (SaveParameterFile(path, image, contact, catalogues[3].get(), temp, now) != S_OK) {
      state.SkipWithError("save failed");
      break;
    }
    int selection = -1;
    if (!LoadParameterFile(path, loaded, catalogues, &selection, &sink).Ok()) {
      state.SkipWithError("load failed");
      break;
    }
    benchmark::DoNotOptimize(loaded.m_block);
  }
}
BENCHMARK(BM_ParameterFileSaveAndLoad)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace roviro
