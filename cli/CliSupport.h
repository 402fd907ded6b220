#pragma once
// What every roviro-cli command shares: exit codes, the global options, the folders, a message
// sink that prints to standard error, loading the catalogues, and ISO-8859-1 output.

#include <cstdint>
#include <iosfwd>
#include <mutex>
#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "catalogue/ContactRecord.h"
#include "platform/Folders.h"
#include "platform/MessageSink.h"
#include "platform/TextEncoding.h"

namespace roviro::cli {

// Scripts depend on these values; never renumber them.
enum ExitCode : int {
  kExitOk = 0,
  kExitDifferences = 1,  // diff found differences; catalogue check showed messages
  kExitUsage = 2,
  kExitNoBox = 3,         // no box found, port cannot be opened or the probe is not answered
  kExitTransfer = 4,      // transfer failed
  kExitNoParameters = 5,  // the box holds no parameters
  kExitOtherMotor = 6,    // a motor of another type is connected; nothing written
  kExitFile = 7,          // a file cannot be read or written
  kExitNoMotor = 8,       // no motor connected: the box only was written (or read)
};

struct GlobalOptions {
  std::string programDir;  // holds LoaderDaten/ and IgnorePortList.txt
  std::string dataDir;     // the shared data folder
  std::string port;        // explicit device path; skips discovery
  bool simulate = false;   // run the simulated box in-process
  int language = 0;        // 0 to 4: the language folder of the main description
  std::string trace;       // write every telegram sent and received to this file
};

// Message boxes of the core, printed as "caption: text" on standard error (a box without
// caption prints the text alone); questions are answered "no". Posted messages are kept, so
// a command can see how a worker ended. Safe to call from worker threads.
class StderrMessageSink final : public MessageSink {
 public:
  struct Posted {
    std::uint32_t msg;
    std::uintptr_t wParam;
  };
  void Post(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override;
  int MessageBox(const std::string& text, const std::string& caption, std::uint32_t style) override;
  int Count() const;
  std::vector<Posted> Posts() const;
  // True when `msg` was posted (with `wParam`, when given).
  bool WasPosted(std::uint32_t msg, int wParam = -1) const;

 private:
  mutable std::mutex m_mutex;
  int m_count = 0;
  std::vector<Posted> m_posts;
};

bool StderrIsTerminal();

// The folder of language 0 to 4, as the main description (Screen999.dat) names it; empty
// when the main description cannot be read.
std::string LanguageFolder(const Folders& folders, int language);

// Program, shared data, settings and temporary folders from the options (defaults as the
// program uses them).
Folders MakeFolders(const GlobalOptions& options);

// Writes `bytes` to `path` through a temporary file that replaces the target only when
// complete; false (and no file left behind) on failure.
bool WriteOutputFile(const std::string& path, const std::string& bytes);

// A path as the platform writes it (the program builds paths from pieces such as
// "\\LoaderDaten\\Screen\\"), for every message that names one.
std::string DisplayPath(const std::string& path);

// Prints "roviro-cli: PATH: REASON" as one line on standard error.
void PrintPathError(const std::string& path, const std::string& reason);

// Why `path` cannot serve as an input file, or empty when it can: "no such file", "is a
// folder, not a file", "cannot be read (REASON)". Reads one byte to be sure.
std::string InputFileProblem(const std::string& path);

// Why no file can be written at `path`, or empty: "is a folder, not a file", "the folder
// FOLDER does not exist".
std::string OutputFileProblem(const std::string& path);

// Why `path` (a readable file) is no archive with the entry `entryName`, or empty when the
// entry can be read: "is not an archive (no ZIP directory)", "holds no entry NAME",
// "entry NAME is damaged or too large".
std::string ArchiveEntryProblem(const std::string& path, const std::string& entryName);

}  // namespace roviro::cli
