// A data folder that cannot be created: the program starts with its catalogues and tells the
// fitter once that nothing will be kept.

#include <fstream>

#include "AppFixture.h"

namespace roviro::test {
namespace {

TEST_F(AppTest, AnUnusableDataFolderIsReportedOnceAndTheCataloguesStillLoad) {
  ASSERT_TRUE(std::ofstream(data.File("file")).good());
  env.sharedDataFolder = data.File("file/shared");  // below a file: never creatable
  env.runFirstStart = [](CDlgFirstStart&) {};       // no profile can be kept either
  EXPECT_FALSE(Open().Catalogues().empty());
  int told = 0;
  for (const auto& call : prompts.Calls())
    told += call.text.find("Datenordner") != std::string::npos;
  EXPECT_EQ(told, 1);
}

}  // namespace
}  // namespace roviro::test
