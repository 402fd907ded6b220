#include "catalogue/Archive.h"

#include <openssl/evp.h>
#include <unzip.h>
#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "pages/TextHelpers.h"
#include "platform/Paths.h"

namespace roviro {

namespace {

struct Md5Context {
  EVP_MD_CTX* ctx = EVP_MD_CTX_new();
  ~Md5Context() { EVP_MD_CTX_free(ctx); }
  bool Init() { return ctx != nullptr && EVP_DigestInit_ex(ctx, EVP_md5(), nullptr) == 1; }
  bool Update(const void* data, std::size_t size) { return EVP_DigestUpdate(ctx, data, size) == 1; }
  bool Final(std::string* hexOut) {
    unsigned char md[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    if (EVP_DigestFinal_ex(ctx, md, &len) != 1) return false;
    *hexOut = RemoveBlanks(BytesToHex(md, static_cast<int>(len)));
    return true;
  }
};

// The MS-DOS attribute of a folder entry.
constexpr uLong kFolderAttribute = 0x10;

zip_fileinfo EntryInfoNow() {
  zip_fileinfo info{};
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
#ifdef _WIN32
  localtime_s(&tm, &now);
#else
  localtime_r(&now, &tm);
#endif
  info.tmz_date.tm_sec = static_cast<uInt>(tm.tm_sec > 59 ? 59 : tm.tm_sec);
  info.tmz_date.tm_min = static_cast<uInt>(tm.tm_min);
  info.tmz_date.tm_hour = static_cast<uInt>(tm.tm_hour);
  info.tmz_date.tm_mday = static_cast<uInt>(tm.tm_mday);
  info.tmz_date.tm_mon = static_cast<uInt>(tm.tm_mon);
  info.tmz_date.tm_year = static_cast<uInt>(tm.tm_year + 1900);
  return info;
}

// An archive opened for reading, closed on every path.
class ZipReader {
 public:
  explicit ZipReader(const std::string& path) : m_file(unzOpen64(path.c_str())) {}
  ~ZipReader() {
    if (m_file != nullptr) unzClose(m_file);
  }
  ZipReader(const ZipReader&) = delete;
  ZipReader& operator=(const ZipReader&) = delete;

  bool IsOpen() const { return m_file != nullptr; }

  // Finds the entry by name ignoring case and opens it; returns its unpacked size.
  bool Open(const std::string& name, std::uint64_t* size) {
    if (m_file == nullptr) return false;
    if (unzLocateFile(m_file, name.c_str(), 2 /* case-insensitive */) != UNZ_OK) return false;
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(m_file, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
      return false;
    }
    if (unzOpenCurrentFile(m_file) != UNZ_OK) return false;
    m_entryOpen = true;
    *size = info.uncompressed_size;
    return true;
  }

  // Reads at most `capacity` bytes; negative on error.
  int Read(void* buffer, unsigned capacity) { return unzReadCurrentFile(m_file, buffer, capacity); }

  // Closes the entry; false on a CRC error or any other failure.
  bool CloseEntry() {
    if (!m_entryOpen) return false;
    m_entryOpen = false;
    return unzCloseCurrentFile(m_file) == UNZ_OK;
  }

 private:
  unzFile m_file;
  bool m_entryOpen = false;
};

}  // namespace

std::string Md5OfBytes(std::string_view bytes) {
  Md5Context md5;
  std::string hex;
  if (!md5.Init() || !md5.Update(bytes.data(), bytes.size()) || !md5.Final(&hex)) return {};
  return hex;
}

int Md5OfFile(const std::string& path, std::string* digestOut) {
  if (digestOut == nullptr) return 0;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return 0;
  Md5Context md5;
  bool ok = md5.Init();
  std::vector<unsigned char> block(16384);
  while (ok) {
    const std::size_t n = std::fread(block.data(), 1, block.size(), f);
    if (n > 0) ok = md5.Update(block.data(), n);
    if (n < block.size()) {
      ok = ok && !std::ferror(f);
      break;
    }
  }
  std::fclose(f);
  std::string hex;
  if (!ok || !md5.Final(&hex)) return 0;
  digestOut->append(hex);
  return 1;
}

struct ArchiveWriter::Impl {
  zipFile file = nullptr;
  bool failed = false;
};

ArchiveWriter::ArchiveWriter() : m_impl(std::make_unique<Impl>()) {}

ArchiveWriter::~ArchiveWriter() { Close(); }

bool ArchiveWriter::Create(const std::string& path) {
  Close();
  m_impl->failed = false;
  m_impl->file = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
  return m_impl->file != nullptr;
}

bool ArchiveWriter::IsOpen() const { return m_impl->file != nullptr; }

bool ArchiveWriter::AddFolder(const std::string& entryName) {
  if (m_impl->file == nullptr) return false;
  // Folder levels are separated by "\\" in every name the program stores, the folder
  // entry's own end included; the attribute marks it as a folder for other readers.
  std::string name = entryName;
  for (char& c : name) {
    if (c == '/') c = '\\';
  }
  if (name.empty() || name.back() != '\\') name.push_back('\\');
  zip_fileinfo info = EntryInfoNow();
  info.external_fa = kFolderAttribute;
  bool ok = zipOpenNewFileInZip64(m_impl->file, name.c_str(), &info, nullptr, 0, nullptr, 0,
                                  nullptr, 0, 0, 0) == ZIP_OK;
  ok = (zipCloseFileInZip(m_impl->file) == ZIP_OK) && ok;
  if (!ok) m_impl->failed = true;
  return ok;
}

bool ArchiveWriter::AddBytes(const std::string& entryName, std::string_view bytes) {
  if (m_impl->file == nullptr) return false;
  const zip_fileinfo info = EntryInfoNow();
  bool ok = zipOpenNewFileInZip64(m_impl->file, entryName.c_str(), &info, nullptr, 0, nullptr, 0,
                                  nullptr, Z_DEFLATED, Z_DEFAULT_COMPRESSION,
                                  bytes.size() >= 0xFFFFFFFFu) == ZIP_OK;
  if (ok && !bytes.empty()) {
    // zipWriteInFileInZip takes 32-bit lengths; write in pieces.
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
      const std::size_t chunk = std::min<std::size_t>(bytes.size() - done, 1u << 20);
      ok = zipWriteInFileInZip(m_impl->file, bytes.data() + done, static_cast<unsigned>(chunk)) ==
           ZIP_OK;
      done += chunk;
    }
  }
  ok = (zipCloseFileInZip(m_impl->file) == ZIP_OK) && ok;
  if (!ok) m_impl->failed = true;
  return ok;
}

bool ArchiveWriter::AddFile(const std::string& entryName, const std::string& diskPath) {
  std::string bytes;
  if (!ReadWholeFile(diskPath, &bytes)) {
    m_impl->failed = true;
    return false;
  }
  return AddBytes(entryName, bytes);
}

bool ArchiveWriter::Close() {
  if (m_impl->file == nullptr) return false;
  const bool ok = zipClose(m_impl->file, nullptr) == ZIP_OK;
  m_impl->file = nullptr;
  return ok && !m_impl->failed;
}

bool AddFileToArchive(const std::string& entryName, const std::string& diskPath,
                      ArchiveWriter& archive, std::string* manifest) {
  if (!archive.AddFile(entryName, diskPath)) return false;
  if (manifest != nullptr) {
    // A line without its digest would make the archive fail every check later on.
    std::string digest;
    if (Md5OfFile(diskPath, &digest) != 1 || digest.empty()) return false;
    manifest->append(digest).append(";").append(entryName).append("\n");
  }
  return true;
}

bool AddFolderToArchive(std::string prefix, const std::string& folder, ArchiveWriter& archive,
                        std::string* manifest) {
  bool ok = true;
  if (!prefix.empty()) {
    ok = archive.AddFolder(prefix);
    prefix.push_back('\\');
  }
  std::error_code ec;
  std::vector<std::filesystem::directory_entry> entries;
  for (std::filesystem::directory_iterator it(FsPath(NormalisePath(folder)), ec), end;
       !ec && it != end; it.increment(ec)) {
    entries.push_back(*it);
  }
  if (ec) return false;
  for (const auto& entry : entries) {
    const std::string name = FsName(entry.path().filename());
    std::error_code typeEc;
    // A link to a folder is not followed: a link that points back up would never end.
    if (entry.is_symlink(typeEc) && entry.is_directory(typeEc)) continue;
    if (entry.is_directory(typeEc)) {
      ok = AddFolderToArchive(prefix + name, FsName(entry.path()) + kPathSeparator, archive,
                              manifest) &&
           ok;
    } else if (entry.is_regular_file(typeEc)) {
      ok = AddFileToArchive(prefix + name, FsName(entry.path()), archive, manifest) && ok;
    }
  }
  return ok;
}

bool WriteTextFile(std::string_view text, const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  bool ok = text.empty() || std::fwrite(text.data(), 1, text.size(), f) == text.size();
  ok = (std::fclose(f) == 0) && ok;
  return ok;
}

bool ReadWholeFile(const std::string& path, std::string* out, std::uint64_t limit) {
  if (out == nullptr) return false;
  std::error_code ec;
  const auto status = std::filesystem::status(FsPath(path), ec);
  if (std::filesystem::is_directory(status)) return false;
  if (std::filesystem::is_regular_file(status) &&
      std::filesystem::file_size(FsPath(path), ec) > limit) {
    return false;
  }
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return false;
  std::string content;
  char buffer[16384];
  bool ok = true;
  while (true) {
    const std::size_t n = std::fread(buffer, 1, sizeof buffer, f);
    // Counted while reading: a device or a growing file has no size to ask for beforehand.
    if (content.size() + n > limit) {
      ok = false;
      break;
    }
    content.append(buffer, n);
    if (n < sizeof buffer) {
      ok = !std::ferror(f);
      break;
    }
  }
  std::fclose(f);
  if (ok) *out = std::move(content);
  return ok;
}

int ReadArchiveEntry(const std::string& archivePath, const std::string& entryName,
                     std::string* textOut) {
  if (textOut == nullptr) return 0;
  ZipReader zip(archivePath);
  std::uint64_t size = 0;
  if (!zip.Open(entryName, &size)) return 0;
  if (size > kMaxArchiveEntrySize) {
    zip.CloseEntry();
    return 0;
  }
  std::string content(static_cast<std::size_t>(size), '\0');
  std::size_t done = 0;
  while (done < content.size()) {
    const int n = zip.Read(content.data() + done, static_cast<unsigned>(content.size() - done));
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  // An entry that holds more than its header claims is damaged as well.
  char extra = 0;
  const bool complete = done == content.size() && zip.Read(&extra, 1) == 0;
  const bool crcOk = zip.CloseEntry();
  if (!complete || !crcOk) return 0;
  *textOut = std::move(content);
  return 1;
}

bool ListArchiveEntries(const std::string& archivePath, std::vector<std::string>* names) {
  if (names == nullptr) return false;
  unzFile file = unzOpen64(archivePath.c_str());
  if (file == nullptr) return false;
  std::vector<std::string> found;
  int rc = unzGoToFirstFile(file);
  for (; rc == UNZ_OK; rc = unzGoToNextFile(file)) {
    char name[1024];
    unz_file_info64 info{};
    rc = unzGetCurrentFileInfo64(file, &info, name, sizeof name, nullptr, 0, nullptr, 0);
    if (rc != UNZ_OK) break;
    found.emplace_back(name, std::min<std::size_t>(info.size_filename, sizeof name - 1));
  }
  unzClose(file);
  // An archive without entries has no first one; anything else that ends the walk is damage.
  const bool ok = rc == UNZ_END_OF_LIST_OF_FILE;
  if (ok) *names = std::move(found);
  return ok;
}

int ExtractArchiveEntry(const std::string& archivePath, const std::string& entryName,
                        const std::string& targetName, const std::string& targetFolder) {
  ZipReader zip(archivePath);
  std::uint64_t size = 0;
  if (!zip.Open(entryName, &size)) return 0;
  const std::string target = JoinPath(targetFolder, targetName);
  std::FILE* f = std::fopen(target.c_str(), "wb");
  if (f == nullptr) {
    zip.CloseEntry();
    return 0;
  }
  bool ok = true;
  std::uint64_t total = 0;
  char buffer[16384];
  while (true) {
    const int n = zip.Read(buffer, sizeof buffer);
    if (n < 0) {
      ok = false;
      break;
    }
    if (n == 0) break;
    total += static_cast<std::uint64_t>(n);
    if (total > kMaxArchiveEntrySize ||
        std::fwrite(buffer, 1, static_cast<std::size_t>(n), f) != static_cast<std::size_t>(n)) {
      ok = false;
      break;
    }
  }
  ok = zip.CloseEntry() && ok;
  ok = (std::fclose(f) == 0) && ok;
  if (!ok) {
    RemoveFile(target);
    return 0;
  }
  return 1;
}

}  // namespace roviro
