#pragma once
// Path strings as the program builds them: pieces such as "\\LoaderDaten\\Screen\\" are
// concatenated and then normalised, so the same literals work on Windows and POSIX.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace roviro {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Unifies every separator ("/" and "\") to the native one, collapses doubled separators,
// strips leading and trailing separators. On POSIX the single leading "/" of an absolute
// path is kept, since without it the path would change its meaning.
std::string NormalisePath(std::string_view path);

// Joins folder and name with one separator and normalises the result. An empty folder gives
// the name alone: a folder that is not known never turns into the file-system root.
std::string JoinPath(std::string_view folder, std::string_view name);

// The file name after the last separator of either kind.
std::string FileNameOf(std::string_view path);

// The folder part (everything before the last separator), normalised; empty if none.
std::string FolderOf(std::string_view path);

// A name beside `path` that no other writer in this or another process uses at the same
// time: for files that are completed under a temporary name and then renamed over `path`.
std::string UniqueSiblingPath(const std::string& path);

// File operations on normalised paths; all report failure instead of throwing.
// A path of the system's name (UTF-8) as the standard library's path, and a path's name
// back: on Windows a plain narrow string would be read in the ANSI code page, losing every
// name it cannot hold; on POSIX the bytes pass unchanged.
std::filesystem::path FsPath(std::string_view utf8);
std::string FsName(const std::filesystem::path& path);

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
bool CreateFolderTree(const std::string& path);
bool RemoveFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);

// Forces the file's bytes to the disk (fsync); false when the file cannot be opened or the
// disk reports an error.
bool SyncFileToDisk(const std::string& path);
// Forces the folder's entries (a rename inside it) to the disk. Where the system cannot do
// that for folders (Windows), it reports success.
bool SyncFolderToDisk(const std::string& folder);

// The last step of every save that replaces a fitter's file: the completed file `from` is
// forced to the disk, renamed over `to`, and the folder is forced to the disk as well, so
// a power cut leaves either the old file or the new one, never an empty or partial one.
// False (and `to` untouched) when the new file cannot be synced or renamed.
bool CommitReplacement(const std::string& from, const std::string& to);

// Observes the steps of CommitReplacement ("sync", "rename", "sync folder") with the path
// each one works on; for tests that check the order. An empty function ends the observation.
void SetCommitObserver(std::function<void(std::string_view step, const std::string& path)> f);

}  // namespace roviro
