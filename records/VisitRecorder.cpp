#include "records/VisitRecorder.h"

#include <utility>

#include "catalogue/Archive.h"
#include "platform/Translation.h"

namespace roviro {

std::string FitterName(const ContactRecord& contact) {
  return contact.company.empty() ? contact.email : contact.company;
}

VisitRecorder::VisitRecorder(std::string sharedDataFolder, const ProgramSettings& settings,
                             const ContactRecord& contact)
    : m_shared(std::move(sharedDataFolder)),
      m_station(StationName(settings)),
      m_fitter(FitterName(contact)),
      m_address(CompanyStoreAddress(settings)) {}

VisitRecorder::~VisitRecorder() {
  {
    std::lock_guard lock(m_mutex);
    m_stop = true;
  }
  m_stopNow = true;
  m_wake.notify_all();
  if (m_thread.joinable()) m_thread.join();
}

RecordStore* VisitRecorder::Store() {
  if (!m_triedOpen && !m_shared.empty()) {
    m_triedOpen = true;
    std::string error;
    if (m_store.Open(RecordStore::PathIn(m_shared), &error) == StoreOpenStatus::kOk) {
      if (m_store.ImportTextHistoryOnce(m_shared, m_station) < 0) {
        Tell(Tx("Der bisherige Verlauf konnte nicht in die Verlaufsdatenbank \xFC"
                "bernommen werden: %1",
                {m_store.LastError()}),
             &m_toldStore);
      }
    } else {
      Tell(error, &m_toldStore);
    }
  }
  return m_store.IsOpen() ? &m_store : nullptr;
}

void VisitRecorder::NoteBackup(const BackupResult& backup, const std::string& motorKey) {
  m_hasPending =
      backup.status == BackupStatus::kWritten && ReadWholeFile(backup.path, &m_pendingBytes);
  m_pendingMotor = motorKey;
}

bool VisitRecorder::Record(const Visit& visit) {
  if (m_shared.empty()) return false;
  // Opened first: the line about to be appended is not imported as well.
  RecordStore* store = Store();
  AppendVisit(m_shared, visit);
  if (store == nullptr) return false;
  StoredVisit stored = MakeStoredVisit(visit, m_station, m_fitter);
  const bool withSet = m_hasPending && m_pendingMotor == visit.motorKey;
  m_hasPending = false;
  if (!store->AddVisit(&stored, withSet ? &m_pendingBytes : nullptr)) {
    Tell(Tx("Der Besuch konnte nicht in die Verlaufsdatenbank geschrieben werden: %1",
            {store->LastError()}),
         &m_toldStore);
    return false;
  }
  m_pendingBytes.clear();
  RequestSync();
  return true;
}

void VisitRecorder::Tell(const std::string& words, bool* toldFlag) {
  std::function<void()> callback;
  {
    std::lock_guard lock(m_mutex);
    if (*toldFlag) return;
    *toldFlag = true;
    m_notice += (m_notice.empty() ? "" : "\n") + words;
    callback = m_onNotice;
  }
  if (callback) callback();
}

std::string VisitRecorder::TakeNotice() {
  std::lock_guard lock(m_mutex);
  return std::exchange(m_notice, std::string());
}

SyncReport VisitRecorder::SyncWith(RecordStore& store) {
  CompanyStore company;
  company.SetStopFlag(&m_stopNow);
  SyncReport report;
  report.status = company.Connect(m_address, &report.error);
  if (report.status == SyncStatus::kDone) report = company.Sync(store, m_station);
  if (report.status == SyncStatus::kUnreachable) {
    Tell(m_syncWords(report), &m_toldUnreachable);
  } else if (report.status != SyncStatus::kDone) {
    Tell(m_syncWords(report), &m_toldStore);
  }
  return report;
}

SyncReport VisitRecorder::SyncNow() {
  SyncReport report;
  if (m_address.empty()) {
    report.error = "keine Adresse der Firmendatenbank";
    return report;
  }
  RecordStore* store = Store();
  if (store == nullptr) {
    report.error = m_store.LastError();
    return report;
  }
  return SyncWith(*store);
}

void VisitRecorder::RequestSync() {
  if (m_address.empty() || m_shared.empty()) return;
  m_syncDue = true;
  if (!m_background) return;
  {
    std::lock_guard lock(m_mutex);
    m_wanted = true;
    if (!m_thread.joinable()) m_thread = std::thread([this] { SyncLoop(); });
  }
  m_wake.notify_all();
}

void VisitRecorder::WaitForSync() {
  std::unique_lock lock(m_mutex);
  m_wake.wait(lock, [&] { return m_stop || (!m_wanted && !m_running); });
}

void VisitRecorder::SyncLoop() {
  // A connection of its own to the local store: the user-interface thread keeps its own.
  RecordStore store;
  std::unique_lock lock(m_mutex);
  for (;;) {
    m_wake.wait(lock, [&] { return m_stop || m_wanted; });
    if (m_stop) break;
    m_wanted = false;
    m_running = true;
    lock.unlock();
    if (store.IsOpen() ||
        store.Open(RecordStore::PathIn(m_shared), nullptr) == StoreOpenStatus::kOk) {
      SyncWith(store);
    }
    lock.lock();
    m_running = false;
    m_wake.notify_all();
  }
  m_running = false;
  m_wake.notify_all();
}

}  // namespace roviro
