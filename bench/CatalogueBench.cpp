// Start-up cost of the catalogues: LoadCatalogues over a Config folder of N realistic
// archives (one catalogue each, unique GUIDs), reported per catalogue.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <system_error>

#include "catalogue/Catalogue.h"
#include "platform/Folders.h"
#include "platform/Paths.h"
#include "tests/catalogue/CatalogueDocuments.h"

namespace roviro {
namespace {

// One program folder per N, built on first use and removed when the program ends.
class CatalogueFolders {
 public:
  ~CatalogueFolders() {
    for (const auto& [n, folder] : m_folders) {
      std::error_code ec;
      std::filesystem::remove_all(folder, ec);
    }
  }

  const std::string& ProgramFolder(int n) {
    auto it = m_folders.find(n);
    if (it != m_folders.end()) return it->second;
    std::error_code ec;
    const std::string root =
        (std::filesystem::temp_directory_path(ec) /
         ("roviro-bench-cat-" + std::to_string(std::random_device{}()) + "-" + std::to_string(n)))
            .string();
    const std::string config = NormalisePath(root + kConfigFolder);
    CreateFolderTree(config);
    CreateFolderTree(JoinPath(root, "temp"));
    for (int i = 0; i < n; ++i) {
      const unsigned id = static_cast<unsigned>(i + 1);
      WriteCatalogueArchive(JoinPath(config, "Serie" + std::to_string(id) + ".kxbmc"),
                            {{"Katalog.xml", test::RealisticCatalogue(id)}});
    }
    return m_folders.emplace(n, root).first->second;
  }

 private:
  std::map<int, std::string> m_folders;
};

CatalogueFolders& BenchFolders() {
  static CatalogueFolders folders;
  return folders;
}

void BM_LoadCatalogues(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  NullMessageSink sink;
  CatalogueLoadContext context;
  context.programFolder = BenchFolders().ProgramFolder(n);
  context.tempFolder = JoinPath(context.programFolder, "temp");
  context.sink = &sink;

  for (auto _ : state) {
    CatalogueList list;
    const int result = LoadCatalogues(context, list);
    if (result != 1 || static_cast<int>(list.size()) != n) {
      state.SkipWithError("catalogues not loaded");
      break;
    }
    benchmark::DoNotOptimize(list.data());
  }
  state.SetItemsProcessed(state.iterations() * n);
  // Seconds (wall clock: the file system work counts) per catalogue.
  state.counters["per_catalogue"] =
      benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate |
                                                     benchmark::Counter::kInvert);
}

BENCHMARK(BM_LoadCatalogues)
    ->Arg(1)
    ->Arg(10)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace roviro
