// A data folder that cannot be created: the program starts, loads its catalogues, and tells the
// fitter once that nothing will be kept.

#include <fstream>

#include "AppFixture.h"

namespace roviro::test {
namespace {

TEST_F(AppTest, AnUnusableDataFolderIsReportedOnceAndTheCataloguesStillLoad) {
  ASSERT_TRUE(std::ofstream(data.File("file")).good());
  env.sharedDataFolder = data.File("file/shared");  // below a file: never creatable
  int firstStarts = 0;
  env.runFirstStart = [&firstStarts](CDlgFirstStart&) { ++firstStarts; };
  auto& d = Open();
  int told = 0;
  for (const auto& call : prompts.Calls()) {
    if (call.kind == "box" && call.text.find("Datenordner") != std::string::npos) ++told;
  }
  EXPECT_EQ(told, 1);
  EXPECT_EQ(firstStarts, 1);  // no profile can be read; the dialog is offered as at a first start
  EXPECT_FALSE(d.Catalogues().empty());
}

}  // namespace
}  // namespace roviro::test
