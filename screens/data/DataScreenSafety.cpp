// The data screens' part of the safety net: automatic backups, the service history and the
// read-back after an upload.

#include <QCoreApplication>

#include <atomic>
#include <chrono>
#include <thread>

#include "screens/data/DataScreen.h"

namespace roviro {

ProgramSettings CDataScreen::Settings() const {
  return ReadProgramSettings(m_dlg->Folder(FolderKind::SharedData));
}

BackupResult CDataScreen::WriteSetBackup(BackupKind kind) {
  BackupContext context;
  context.sharedDataFolder = m_dlg->Folder(FolderKind::SharedData);
  context.tempFolder = m_dlg->Folder(FolderKind::Temp);
  context.contact = m_dlg->Contact();
  context.currentCatalogue = m_dlg->CurrentCatalogue();
  context.now = m_dlg->GetClock().LocalNow();
  context.keep = Settings().backupsPerMotor;
  const BackupResult result = WriteBackup(context, Image(), kind);
  m_dlg->Records().NoteBackup(result, MotorKey(Image()));
  return result;
}

void CDataScreen::TellBackupFailure(const BackupResult& result) {
  if (result.status == BackupStatus::kFailed && FirstBackupFailureOfRun()) {
    ErrorBox(BackupFailureText(result), CommonText(0));
  }
}

void CDataScreen::RecordVisit(VisitKind kind, bool motor, bool operatingData, const char* source,
                              const char* result) {
  // The text history, the local store and (in the background) the company store.
  m_dlg->Records().Record(MakeVisit(kind, motor ? &Image() : nullptr, operatingData, source, result,
                                    m_dlg->GetClock().LocalNow()));
  m_dlg->ShowRecordsNotice();
}

VerifyReport CDataScreen::VerifyWhilePainting(VerifyTarget target) {
  std::atomic<bool> done{false};
  VerifyReport report;
  CDeviceLink& link = m_dlg->Link();
  const ParameterImage written = Image();
  std::thread reader([&] {
    report = VerifyWrittenSet(link, written, target);
    done = true;
  });
  while (!done.load()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (!done.load()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  reader.join();
  return report;
}

}  // namespace roviro
