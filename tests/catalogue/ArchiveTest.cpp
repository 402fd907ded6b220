#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "catalogue/Archive.h"
#include "catalogue/Catalogue.h"
#include "platform/Paths.h"
#include "records/ParameterFile.h"
#include "support/TempFolder.h"

namespace roviro {
namespace {

using test::TempFolder;

void WriteFile(const std::string& path, const std::string& bytes) {
  ASSERT_TRUE(WriteTextFile(bytes, path)) << path;
}

TEST(Md5, KnownDigestsInUpperCase) {
  TempFolder tmp;
  WriteFile(tmp.File("empty"), "");
  WriteFile(tmp.File("abc"), "abc");
  std::string digest = "prefix:";
  ASSERT_EQ(Md5OfFile(tmp.File("abc"), &digest), 1);
  EXPECT_EQ(digest, "prefix:900150983CD24FB0D6963F7D28E17F72");  // appended, not replaced
  digest.clear();
  ASSERT_EQ(Md5OfFile(tmp.File("empty"), &digest), 1);
  EXPECT_EQ(digest, "D41D8CD98F00B204E9800998ECF8427E");
  EXPECT_EQ(Md5OfFile(tmp.File("missing"), &digest), 0);
  EXPECT_EQ(Md5OfFile(tmp.File("abc"), nullptr), 0);
}

TEST(Md5, FilesLargerThanOneReadBlock) {
  TempFolder tmp;
  std::string big(16384 * 3 + 7, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 31 + 7);
  WriteFile(tmp.File("big"), big);
  std::string fromFile;
  ASSERT_EQ(Md5OfFile(tmp.File("big"), &fromFile), 1);
  EXPECT_EQ(fromFile, Md5OfBytes(big));
  EXPECT_EQ(Md5OfBytes("The quick brown fox jumps over the lazy dog"),
            "9E107D9D372BB6826BD81D3542A419D6");
}

TEST(FolderArchive, AddsTheTreeWithManifestLinesInOrder) {
  TempFolder tmp;
  const std::string src = tmp.File("src");
  ASSERT_TRUE(CreateFolderTree(JoinPath(src, "sub")));
  WriteFile(JoinPath(src, "a.txt"), "alpha");
  WriteFile(JoinPath(src, "sub/b.bin"), std::string("\0\x01\xFF", 3));

  ArchiveWriter zip;
  ASSERT_TRUE(zip.Create(tmp.File("out.zip")));
  std::string manifest;
  ASSERT_TRUE(AddFolderToArchive("", src + "/", zip, &manifest));
  ASSERT_TRUE(zip.Close());

  std::string text;
  ASSERT_EQ(ReadArchiveEntry(tmp.File("out.zip"), "a.txt", &text), 1);
  EXPECT_EQ(text, "alpha");
  ASSERT_EQ(ReadArchiveEntry(tmp.File("out.zip"), "sub\\b.bin", &text), 1);
  EXPECT_EQ(text, std::string("\0\x01\xFF", 3));

  // One "DIGEST;name\n" line per file; sub-folder entries use "\".
  const std::string lineA = Md5OfBytes("alpha") + ";a.txt\n";
  const std::string lineB = Md5OfBytes(std::string("\0\x01\xFF", 3)) + ";sub\\b.bin\n";
  EXPECT_EQ(manifest.size(), lineA.size() + lineB.size());
  EXPECT_NE(manifest.find(lineA), std::string::npos);
  EXPECT_NE(manifest.find(lineB), std::string::npos);
}

TEST(FolderArchive, PrefixAndEmptyFolder) {
  TempFolder tmp;
  ASSERT_TRUE(CreateFolderTree(tmp.File("empty")));
  ArchiveWriter zip;
  ASSERT_TRUE(zip.Create(tmp.File("e.zip")));
  std::string manifest = "";
  ASSERT_TRUE(AddFolderToArchive("", tmp.File("empty") + "/", zip, &manifest));
  ASSERT_TRUE(zip.Close());
  EXPECT_TRUE(manifest.empty());

  WriteFile(JoinPath(tmp.File("empty"), "x"), "x");
  ASSERT_TRUE(zip.Create(tmp.File("p.zip")));
  ASSERT_TRUE(AddFolderToArchive("top", tmp.File("empty") + "/", zip, nullptr));
  ASSERT_TRUE(zip.Close());
  std::string text;
  EXPECT_EQ(ReadArchiveEntry(tmp.File("p.zip"), "top\\x", &text), 1);
  EXPECT_EQ(text, "x");
}

// Every level of a stored name is separated by "\", folder entries included; a link that
// points back up the tree is not followed (it would recurse without end).
TEST(FolderArchive, FolderEntriesUseBackslashAndLinksToFoldersAreNotFollowed) {
  TempFolder tmp;
  const std::string src = tmp.File("src");
  ASSERT_TRUE(CreateFolderTree(JoinPath(src, "sub")));
  WriteFile(JoinPath(src, "sub/b.bin"), "b");
  std::filesystem::create_directory_symlink(src, JoinPath(src, "sub/loop"));
  std::filesystem::create_symlink(JoinPath(src, "sub/b.bin"), JoinPath(src, "c.lnk"));
  ArchiveWriter zip;
  ASSERT_TRUE(zip.Create(tmp.File("t.zip")));
  ASSERT_TRUE(AddFolderToArchive("top", src + "/", zip, nullptr));
  ASSERT_TRUE(zip.Close());
  std::vector<std::string> names;
  ASSERT_TRUE(ListArchiveEntries(tmp.File("t.zip"), &names));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names,
            (std::vector<std::string>{"top\\", "top\\c.lnk", "top\\sub\\", "top\\sub\\b.bin"}));
}

// A crypto provider may refuse MD5: no save may then claim success with empty digests, and
// no existing file is replaced.
TEST(FolderArchive, WithoutMd5NoArchiveIsWrittenAndNothingIsReplaced) {
  TempFolder tmp;
  ParameterImage image;
  ASSERT_TRUE(WriteCatalogueArchive(tmp.File("old.kxbmc"), {{"a.xml", "<alt/>"}}));
  ASSERT_EQ(SaveParameterFile(tmp.File("old.kxmc"), image, {}, nullptr, tmp.Path(), {}), S_OK);
  std::string catalogue, set, now;
  ASSERT_TRUE(ReadWholeFile(tmp.File("old.kxbmc"), &catalogue));
  ASSERT_TRUE(ReadWholeFile(tmp.File("old.kxmc"), &set));

  ASSERT_EQ(EVP_set_default_properties(nullptr, "fips=yes"), 1);
  EXPECT_EQ(Md5OfBytes("abc"), "");
  EXPECT_FALSE(WriteCatalogueArchive(tmp.File("old.kxbmc"), {{"a.xml", "<neu/>"}}));
  EXPECT_EQ(SaveParameterFile(tmp.File("old.kxmc"), image, {}, nullptr, tmp.Path(), {}), E_FAIL);
  ASSERT_EQ(EVP_set_default_properties(nullptr, ""), 1);

  ASSERT_TRUE(ReadWholeFile(tmp.File("old.kxbmc"), &now));
  EXPECT_EQ(now, catalogue);
  ASSERT_TRUE(ReadWholeFile(tmp.File("old.kxmc"), &now));
  EXPECT_EQ(now, set);
}

TEST(ArchiveEntries, LookupIgnoresCaseAndMissingEntriesFail) {
  TempFolder tmp;
  ArchiveWriter zip;
  ASSERT_TRUE(zip.Create(tmp.File("c.kxbmc")));
  ASSERT_TRUE(zip.AddBytes("Katalog.XML", "<a/>"));
  ASSERT_TRUE(zip.Close());

  std::string text = "unchanged";
  EXPECT_EQ(ReadArchiveEntry(tmp.File("c.kxbmc"), "katalog.xml", &text), 1);
  EXPECT_EQ(text, "<a/>");
  text = "unchanged";
  EXPECT_EQ(ReadArchiveEntry(tmp.File("c.kxbmc"), "other.xml", &text), 0);
  EXPECT_EQ(text, "unchanged");
  EXPECT_EQ(ReadArchiveEntry(tmp.File("missing.kxbmc"), "katalog.xml", &text), 0);

  EXPECT_EQ(ExtractArchiveEntry(tmp.File("c.kxbmc"), "KATALOG.xml", "0001.tmp", tmp.Path()), 1);
  std::string extracted;
  ASSERT_TRUE(ReadWholeFile(tmp.File("0001.tmp"), &extracted));
  EXPECT_EQ(extracted, "<a/>");
  EXPECT_EQ(ExtractArchiveEntry(tmp.File("c.kxbmc"), "nope", "0002.tmp", tmp.Path()), 0);
  EXPECT_FALSE(FileExists(tmp.File("0002.tmp")));
}

TEST(ArchiveEntries, NotAnArchiveIsAFailureNotACrash) {
  TempFolder tmp;
  WriteFile(tmp.File("junk.kxbmc"), std::string(1000, 'P'));
  std::string text;
  EXPECT_EQ(ReadArchiveEntry(tmp.File("junk.kxbmc"), "x", &text), 0);
  EXPECT_EQ(ExtractArchiveEntry(tmp.File("junk.kxbmc"), "x", "t", tmp.Path()), 0);
}

// Flips a byte inside the compressed data of the only entry, so its CRC no longer matches.
TEST(ArchiveEntries, DamagedEntryFailsInsteadOfReturningWrongBytes) {
  TempFolder tmp;
  std::string payload;
  for (int i = 0; i < 4000; ++i) payload += std::to_string(i * 7919 % 1000) + ",";
  {
    ArchiveWriter zip;
    ASSERT_TRUE(zip.Create(tmp.File("d.zip")));
    ASSERT_TRUE(zip.AddBytes("e.txt", payload));
    ASSERT_TRUE(zip.Close());
  }
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(tmp.File("d.zip"), &bytes));
  // Local header (30 bytes) + name (5) starts the data; damage its middle.
  const std::size_t dataStart = 30 + 5;
  const std::size_t central = bytes.rfind(std::string("PK\x01\x02", 4));
  ASSERT_NE(central, std::string::npos);
  const std::size_t target = dataStart + (central - dataStart) / 2;
  bytes[target] = static_cast<char>(bytes[target] ^ 0x10);
  WriteFile(tmp.File("d.zip"), bytes);

  std::string text = "unchanged";
  EXPECT_EQ(ReadArchiveEntry(tmp.File("d.zip"), "e.txt", &text), 0);
  EXPECT_EQ(text, "unchanged");
  EXPECT_EQ(ExtractArchiveEntry(tmp.File("d.zip"), "e.txt", "out", tmp.Path()), 0);
  EXPECT_FALSE(FileExists(tmp.File("out")));
}

// The central directory claims a huge unpacked size: the reader refuses without allocating.
TEST(ArchiveEntries, ImplausibleSizeIsRefused) {
  TempFolder tmp;
  {
    ArchiveWriter zip;
    ASSERT_TRUE(zip.Create(tmp.File("big.zip")));
    ASSERT_TRUE(zip.AddBytes("e.txt", "small"));
    ASSERT_TRUE(zip.Close());
  }
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(tmp.File("big.zip"), &bytes));
  const std::size_t central = bytes.rfind(std::string("PK\x01\x02", 4));
  ASSERT_NE(central, std::string::npos);
  // Uncompressed size field of the central directory entry: offset 24, little-endian.
  const std::uint32_t huge = 0x7FFFFFF0u;
  for (int i = 0; i < 4; ++i) bytes[central + 24 + i] = static_cast<char>((huge >> (8 * i)) & 0xFF);
  WriteFile(tmp.File("big.zip"), bytes);
  std::string text;
  EXPECT_EQ(ReadArchiveEntry(tmp.File("big.zip"), "e.txt", &text), 0);
}

// The size check works without writing the bytes: the file is sparse.
TEST(TextFiles, ReadingIsCappedAndRefusesFolders) {
  TempFolder tmp;
  WriteFile(tmp.File("big"), "x");
  std::filesystem::resize_file(tmp.File("big"), kMaxReadFileSize + 1);
  std::string text = "unchanged";
  EXPECT_FALSE(ReadWholeFile(tmp.File("big"), &text));
  EXPECT_FALSE(ReadWholeFile(tmp.Path(), &text));
  EXPECT_EQ(text, "unchanged");
  std::filesystem::resize_file(tmp.File("big"), kMaxReadFileSize);
  EXPECT_TRUE(ReadWholeFile(tmp.File("big"), &text));
}

TEST(TextFiles, WriteReplacesTheWholeFile) {
  TempFolder tmp;
  WriteFile(tmp.File("t"), "a much longer first content");
  WriteFile(tmp.File("t"), "short\n");
  std::string text;
  ASSERT_TRUE(ReadWholeFile(tmp.File("t"), &text));
  EXPECT_EQ(text, "short\n");
  EXPECT_FALSE(WriteTextFile("x", tmp.File("no/such/folder/t")));
}

}  // namespace
}  // namespace roviro
