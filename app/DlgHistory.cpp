// The main dialog's "Verlauf..." entry: the visits of the motor on screen 1 and loading the
// set of one of them.

#include <fstream>

#include "app/Screen.h"
#include "app/VQZodavaRozeDlg.h"
#include "platform/Paths.h"
#include "records/Backups.h"
#include "records/ParameterFile.h"

namespace roviro {

namespace {
// Screen 1's word for a set that came from a file (its SetOriginKind).
constexpr int kOriginFile = 1;
}  // namespace

void CVQZodavaRozeDlg::ShowHistory() {
  RecordStore* store = Records().Store();
  ShowRecordsNotice();
  if (store == nullptr) return;
  const std::string motor = MotorKey(Image());
  CHistoryDlg dlg(motor, store->VisitsOf(motor), this);
  if (m_env.runHistory) {
    m_env.runHistory(dlg);
  } else {
    dlg.exec();
  }
  if (dlg.result() != QDialog::Accepted || dlg.ChosenSet().empty()) return;
  std::string bytes;
  if (!store->SetBytes(dlg.ChosenSet(), &bytes) || !LoadRecordedSet(bytes)) {
    Sink().MessageBox(CommonText(7), CommonText(0), kMbOk | kMbIconError | kMbTopmost);
  }
}

bool CVQZodavaRozeDlg::LoadRecordedSet(const std::string& bytes) {
  // The bytes become a file in the temporary folder, read as the open dialog's file would be.
  const std::string path = UniqueSiblingPath(JoinPath(Folder(FolderKind::Temp), "Verlauf.kxmc"));
  {
    std::ofstream out(FsPath(path), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      RemoveFile(path);
      return false;
    }
  }
  ParameterImage scratch;
  int selection = CurrentCatalogueIndex();
  const ParameterFileLoadResult loaded =
      LoadParameterFile(path, scratch, Catalogues(), &selection, &Sink());
  RemoveFile(path);
  if (!loaded.Ok() || selection < 0 || selection >= CatalogueCount()) return false;
  if (CurrentScreen() != nullptr) CurrentScreen()->StoreValues();
  if (SetUnkept() && !Confirm(Question::kReplaceSet)) return true;
  Image() = scratch;
  MarkSetToKeep();
  SetCurrentCatalogue(Catalogues()[static_cast<std::size_t>(selection)].get());
  SetOrigin() = kOriginFile;
  // Screen 1 is built afresh from the set (its fields were stored above, before the set
  // was replaced, so leaving it must not store them again).
  if (m_screenCallDepth == 0 && CurrentScreen() != nullptr && CurrentScreen()->ScreenId() == 1) {
    DropScreen();
  }
  SwitchScreen(1);
  return true;
}

}  // namespace roviro
