// The main dialog's "Verlauf..." entry: the visits of the motor on screen 1 and loading the
// set of one of them.

#include <unistd.h>

#include <filesystem>

#include "app/Screen.h"
#include "app/VQZodavaRozeDlg.h"
#include "catalogue/Archive.h"
#include "platform/Paths.h"
#include "platform/TextEncoding.h"
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
  // The bytes become a file in a scratch folder of the temporary folder and are read as the
  // open dialog's file would be. A parameter file's document is named after the file, so the
  // scratch file takes the name its one ".kxm" entry gives.
  static int serial = 0;
  const std::string temp = Folder(FolderKind::Temp);
  if (temp.empty()) return false;
  const std::string folder = JoinPath(
      temp, "Verlauf." + std::to_string(getpid()) + "." + std::to_string(++serial) + ".tmp");
  if (!CreateFolderTree(folder)) return false;
  struct Cleanup {
    std::string folder;
    ~Cleanup() {
      std::error_code ec;
      std::filesystem::remove_all(FsPath(folder), ec);
    }
  } cleanup{folder};
  const std::string first = JoinPath(folder, "Satz.kxmc");
  if (!WriteTextFile(bytes, first)) return false;
  std::vector<std::string> entries;
  if (!ListArchiveEntries(first, &entries)) return false;
  std::string title;
  for (const std::string& entry : entries) {
    if (entry.size() > 4 && entry.compare(entry.size() - 4, 4, ".kxm") == 0) {
      if (!title.empty()) return false;  // not the one document a parameter file holds
      title = Latin1ToUtf8(entry.substr(0, entry.size() - 4));
    }
  }
  if (title.empty() || title == "." || title == ".." ||
      title.find_first_of("/\\") != std::string::npos) {
    return false;
  }
  const std::string path = JoinPath(folder, title + ".kxmc");
  if (path != first && !RenameFile(first, path)) return false;
  ParameterImage scratch;
  int selection = CurrentCatalogueIndex();
  const ParameterFileLoadResult loaded =
      LoadParameterFile(path, scratch, Catalogues(), &selection, &Sink());
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
