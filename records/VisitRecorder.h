#pragma once
// Where the program and roviro-cli record a visit: the history text file of the motor (kept
// as before), the local store (with the set the backup before it kept) and, with a company
// store's address, a sync in the background on a thread of its own, so that no transfer waits
// for the network. The thread is joined when the recorder is destroyed.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "catalogue/ContactRecord.h"
#include "records/Backups.h"
#include "records/CompanyStore.h"
#include "records/ProgramSettings.h"
#include "records/RecordStore.h"

namespace roviro {

// The fitter's name in the records: the contact profile's company, else its e-mail address.
std::string FitterName(const ContactRecord& contact);

class VisitRecorder {
 public:
  VisitRecorder(std::string sharedDataFolder, const ProgramSettings& settings,
                const ContactRecord& contact);
  ~VisitRecorder();
  VisitRecorder(const VisitRecorder&) = delete;
  VisitRecorder& operator=(const VisitRecorder&) = delete;

  const std::string& Station() const { return m_station; }
  // The fitter of the visits recorded from now on.
  void SetFitter(const ContactRecord& contact) { m_fitter = FitterName(contact); }
  const std::string& Address() const { return m_address; }

  // The backup just written: its bytes go with the next visit of the same motor.
  void NoteBackup(const BackupResult& backup, const std::string& motorKey);

  // Appends the visit to the text history and commits it (with the set noted) to the local
  // store; then asks for a background sync. False when the store did not take it (the text
  // line may still have been written); Notice() then has the words.
  bool Record(const Visit& visit);

  // The local store, opened (and the text history imported) on first use; null when it
  // cannot be used.
  RecordStore* Store();

  // Syncs on the calling thread (the tool at the end of its command).
  SyncReport SyncNow();
  // Wakes the background sync (nothing without an address). Without background syncs (the
  // tool) it only notes that a sync is due.
  void RequestSync();
  void SetBackgroundSync(bool on) { m_background = on; }
  bool SyncDue() const { return m_syncDue; }
  // Waits until no background sync is asked for or running (tests).
  void WaitForSync();

  // What the fitter should be told, once per run for each kind (the store refused, the
  // company store unreachable); empty when nothing new. Taking it clears it.
  std::string TakeNotice();
  // Called from the sync thread when a notice is waiting.
  void OnNotice(std::function<void()> callback) { m_onNotice = std::move(callback); }
  // How a failed sync is worded in the notice (default: SyncFailureText, the window's words
  // in the fitter's language; the command-line tool words it in English).
  void SetSyncWords(std::function<std::string(const SyncReport&)> words) {
    m_syncWords = std::move(words);
  }

 private:
  void SyncLoop();
  void Tell(const std::string& words, bool* toldFlag);
  SyncReport SyncWith(RecordStore& store);

  std::string m_shared;
  std::string m_station;
  std::string m_fitter;
  std::string m_address;
  RecordStore m_store;
  bool m_triedOpen = false;
  std::string m_pendingMotor;
  std::string m_pendingBytes;
  bool m_hasPending = false;
  bool m_background = true;
  bool m_syncDue = false;

  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::thread m_thread;
  bool m_stop = false;
  std::atomic<bool> m_stopNow{false};  // the recorder ends: a sync under way gives up
  bool m_wanted = false;
  bool m_running = false;
  std::string m_notice;
  std::function<std::string(const SyncReport&)> m_syncWords = SyncFailureText;
  bool m_toldStore = false;
  bool m_toldUnreachable = false;
  std::function<void()> m_onNotice;
};

}  // namespace roviro
