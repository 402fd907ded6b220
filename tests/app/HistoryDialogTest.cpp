// "Verlauf...": a visit's set chosen in the history dialog replaces the set on screen 1, and
// bytes that are no parameter file leave the set as it was and are told.

#include <QPushButton>
#include <QTableWidget>

#include "AppFixture.h"
#include "catalogue/Archive.h"
#include "records/ParameterFile.h"

namespace roviro::test {
namespace {

TEST_F(AppTest, AVisitsSetChosenInTheHistoryIsLoadedAndADamagedOneLeavesTheSet) {
  WriteProfile();
  LinkTree();
  RegisterScreen(1);
  int row = 0;
  int shown = -1;
  env.runHistory = [&](CHistoryDlg& h) {
    shown = h.Table()->rowCount();
    h.Table()->selectRow(row);
    h.LoadButton()->click();
  };
  CVQZodavaRozeDlg& d = Open();
  ASSERT_GT(d.CatalogueCount(), 0);
  // A set that differs from the one on screen in one byte, recorded with a visit.
  ParameterImage recorded = d.Image();
  recorded.Block(0x34)[3] = static_cast<std::uint8_t>(recorded.Block(0x34)[3] ^ 0x5A);
  const std::string file = data.File("recorded.kxmc");
  ASSERT_TRUE(Succeeded(SaveParameterFile(file, recorded, d.Contact(), d.CurrentCatalogue(),
                                          d.Folder(FolderKind::Temp), clock.LocalNow())));
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(file, &bytes));
  RecordStore* store = d.Records().Store();
  ASSERT_NE(store, nullptr);
  Visit visit;
  visit.motorKey = MotorKey(d.Image());
  visit.time = clock.LocalNow();
  StoredVisit good = MakeStoredVisit(visit, "Halle 2", "Firma");
  ASSERT_TRUE(store->AddVisit(&good, &bytes));
  const std::string damaged = bytes.substr(0, bytes.size() / 2);
  StoredVisit bad = MakeStoredVisit(visit, "Halle 3", "Firma");
  bad.utc = good.utc + "~";  // sorts after the good one
  ASSERT_TRUE(store->AddVisit(&bad, &damaged));

  d.MarkSetKept();  // nothing to ask before replacing it
  d.ShowHistory();
  EXPECT_EQ(shown, 2);
  EXPECT_EQ(d.Image().Block(0x34)[3], recorded.Block(0x34)[3]);
  EXPECT_EQ(d.SetOrigin(), 1);

  const auto before = d.Image().Block(0x34)[3];
  d.Image().Block(0x34)[3] = static_cast<std::uint8_t>(before ^ 0xFF);
  d.MarkSetKept();
  prompts.Clear();
  row = 1;
  d.ShowHistory();
  EXPECT_EQ(d.Image().Block(0x34)[3], static_cast<std::uint8_t>(before ^ 0xFF));
  EXPECT_FALSE(prompts.Calls().empty());
}

}  // namespace
}  // namespace roviro::test
