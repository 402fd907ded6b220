#pragma once
// Path strings as the program builds them: pieces such as "\\LoaderDaten\\Screen\\" are
// concatenated and then normalised, so the same literals work on Windows and POSIX.

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

// Joins folder and name with one separator and normalises the result.
std::string JoinPath(std::string_view folder, std::string_view name);

// The file name after the last separator of either kind.
std::string FileNameOf(std::string_view path);

// The folder part (everything before the last separator), normalised; empty if none.
std::string FolderOf(std::string_view path);

// A name beside `path` that no other writer in this or another process uses at the same
// time: for files that are completed under a temporary name and then renamed over `path`.
std::string UniqueSiblingPath(const std::string& path);

// File operations on normalised paths; all report failure instead of throwing.
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
bool CreateFolderTree(const std::string& path);
bool RemoveFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);

}  // namespace roviro
