#pragma once
// ZIP archives with an MD5 manifest, as catalogues and parameter files use them. No archive
// is ever protected by a password. Entry names keep "\" between folder levels.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace roviro {

// Largest entry this program unpacks. Real entries are a few kilobytes; anything bigger is a
// damaged or hostile archive and is refused rather than allocated.
inline constexpr std::uint64_t kMaxArchiveEntrySize = 16u * 1024u * 1024u;

// Largest file ReadWholeFile reads: the program's own files (FS.xml, LUD files, page files,
// catalogue sources) are a few kilobytes, and they are capped as the archive entries are.
inline constexpr std::uint64_t kMaxReadFileSize = kMaxArchiveEntrySize;

// MD5 of `bytes` as 32 upper-case hex digits; empty when no MD5 is available (for example
// under a crypto provider that refuses it).
std::string Md5OfBytes(std::string_view bytes);

// Appends the MD5 of the file's bytes as 32 upper-case hex digits to `digestOut` and returns
// 1; returns 0 when the file cannot be opened or read.
int Md5OfFile(const std::string& path, std::string* digestOut);

// An archive being written. Closing (explicitly or by destruction) finishes the file.
class ArchiveWriter {
 public:
  ArchiveWriter();
  ~ArchiveWriter();
  ArchiveWriter(const ArchiveWriter&) = delete;
  ArchiveWriter& operator=(const ArchiveWriter&) = delete;

  // Creates (or truncates) the archive file.
  bool Create(const std::string& path);
  bool IsOpen() const;
  bool AddFolder(const std::string& entryName);
  bool AddFile(const std::string& entryName, const std::string& diskPath);
  bool AddBytes(const std::string& entryName, std::string_view bytes);
  // False when any step since Create failed or the central directory cannot be written.
  bool Close();

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

// Adds every file below `folder` to `archive` under `prefix` + its relative name, recursing
// into sub-folders (folder entries end in "\", as the levels of every name are separated by
// "\"; symbolic links to folders are not followed); with a manifest, appends one
// "DIGEST;name\n" line per file. Returns false when any file could not be added or its
// digest could not be computed.
bool AddFolderToArchive(std::string prefix, const std::string& folder, ArchiveWriter& archive,
                        std::string* manifest);

// Adds one disk file as `entryName`; with a manifest, appends its "DIGEST;name\n" line.
// False when the file cannot be added or, with a manifest, its digest cannot be computed.
bool AddFileToArchive(const std::string& entryName, const std::string& diskPath,
                      ArchiveWriter& archive, std::string* manifest);

// Creates or truncates the file and writes the bytes unchanged.
bool WriteTextFile(std::string_view text, const std::string& path);

// Reads a whole file; false (and `out` untouched) when it cannot be opened or read, is a
// folder, or holds more than `limit` bytes.
bool ReadWholeFile(const std::string& path, std::string* out,
                   std::uint64_t limit = kMaxReadFileSize);

// The entry's whole content (found by name, ignoring case): 1, or 0 when the archive cannot
// be opened, the entry is missing, larger than kMaxArchiveEntrySize, or damaged.
int ReadArchiveEntry(const std::string& archivePath, const std::string& entryName,
                     std::string* textOut);

// The names of every entry in the archive's central directory, in stored order; false when
// the file cannot be opened as an archive.
bool ListArchiveEntries(const std::string& archivePath, std::vector<std::string>* names);

// Unpacks the entry to targetFolder + "\" + targetName: 1, or 0 when the entry is not in the
// archive or cannot be unpacked completely (no partial file is left behind).
int ExtractArchiveEntry(const std::string& archivePath, const std::string& entryName,
                        const std::string& targetName, const std::string& targetFolder);

}  // namespace roviro
