#include "SimulatedBench.h"

#include "catalogue/Archive.h"
#include "catalogue/CatalogueDocuments.h"
#include "platform/Paths.h"

namespace roviro::test {

::testing::AssertionResult MakeBenchFolders(const std::string& root,
                                            std::unique_ptr<Catalogue>* catalogue) {
  const std::string config = JoinPath(root, "prog/LoaderDaten/Config");
  const std::string data = JoinPath(root, "data");
  if (!CreateFolderTree(config) || !CreateFolderTree(data) ||
      !WriteCatalogueArchive(JoinPath(config, "family.kxbmc"),
                             {{"family.xml", RealisticCatalogue(5)}})) {
    return ::testing::AssertionFailure() << "the bench's folders cannot be written in " << root;
  }
  if (catalogue == nullptr) return ::testing::AssertionSuccess();
  CatalogueList list;
  NullMessageSink quiet;
  if (LoadCatalogueFolder({"", data, &quiet}, config, list) != 1) {
    return ::testing::AssertionFailure() << "the bench's catalogue does not load";
  }
  *catalogue = std::move(list[0]);
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult StartBenchBox(const Catalogue& catalogue,
                                         std::shared_ptr<sim::BoxSimulator>* box,
                                         std::unique_ptr<sim::PtyTransport>* pty) {
  ParameterImage factory;
  factory.Clear();
  CopyMotorToParameterImage(&catalogue, &factory, 0);
  *box = std::make_shared<sim::BoxSimulator>(RealClock());
  (*box)->LoadMotor(SealedMotorBlocks(factory));
  *pty = std::make_unique<sim::PtyTransport>(*box);
  if ((*pty)->Start() != S_OK) return ::testing::AssertionFailure() << "no pseudo-terminal";
  return ::testing::AssertionSuccess();
}

}  // namespace roviro::test
