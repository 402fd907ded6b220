#include "catalogue/Catalogue.h"

#include "catalogue/Archive.h"
#include "platform/Paths.h"

namespace roviro {

namespace {

// Offset of the line-1 slot (block 0x39) inside a motor record's parameter block.
int LineOneOffset() { return FindBlockByLine(1)->offset; }

bool SameNonEmpty(const std::string& a, const std::string& b) { return !a.empty() && a == b; }

// The file name without its last extension.
std::string FileTitle(const std::string& path) {
  std::string name = FileNameOf(path);
  const auto dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

}  // namespace

bool AddCatalogue(CatalogueList& list, std::unique_ptr<Catalogue>& catalogue) {
  if (!catalogue) return false;
  Catalogue& c = *catalogue;

  bool anyUMode = false;
  bool anyNQB = false;
  for (const MotorRecord& m : c.motors) {
    anyUMode = anyUMode || !m.strGuidUMode.empty();
    anyNQB = anyNQB || !m.strGuidNQB.empty();
  }
  if (!anyUMode || !anyNQB) return false;

  // A motor type may be offered by one catalogue only; the GUIDs are compared per variant.
  for (const auto& existing : list) {
    if (!existing) continue;
    for (int k = 0; k < kMotorCount; ++k) {
      if (SameNonEmpty(c.motors[k].strGuidUMode, existing->motors[k].strGuidUMode) ||
          SameNonEmpty(c.motors[k].strGuidNQB, existing->motors[k].strGuidNQB)) {
        return false;
      }
    }
  }

  // The head of line 1 always carries the motor code and the catalogue's main version,
  // whatever the factory line said.
  const int base = LineOneOffset();
  for (MotorRecord& m : c.motors) {
    std::uint8_t* slot = m.block.data() + base;
    slot[0] = static_cast<std::uint8_t>(m.dhMoNa >> 16);
    slot[1] = static_cast<std::uint8_t>(m.dhMoNa >> 8);
    slot[2] = static_cast<std::uint8_t>(m.dhMoNa);
    for (int i = 3; i <= 8; ++i) slot[i] = 0xFF;
    slot[9] = 0;
    slot[10] = 0;
    for (int i = 11; i <= 13; ++i) slot[i] = 0xFF;
    slot[14] = 1;
    slot[15] = 0xFF;
    slot[16] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(c.dVerMain) & 0xFFu);
  }

  list.push_back(std::move(catalogue));
  return true;
}

const ScreenRecord* GetScreenRecord(const Catalogue* catalogue, int number) {
  if (catalogue == nullptr || number < 0 || number >= kCatalogueScreenCount) return nullptr;
  return catalogue->screens[static_cast<std::size_t>(number)].get();
}

HResult CopyMotorToParameterImage(const Catalogue* catalogue, ParameterImage* image, int index) {
  if (catalogue == nullptr || image == nullptr || index < 0 || index >= kMotorCount) {
    return E_FAIL;
  }
  const MotorRecord& motor = catalogue->motors[static_cast<std::size_t>(index)];
  image->m_block = motor.block;
  image->m_firma = catalogue->strFrm;
  image->m_name = catalogue->text2;
  image->m_kommentar = catalogue->comment;
  image->m_datum = catalogue->date;
  image->m_useKom = catalogue->dUseKom;
  image->m_guid = motor.strGuidUMode + " " + motor.strGuidNQB;
  return S_OK;
}

bool WriteCatalogueArchive(const std::string& archivePath,
                           const std::vector<ArchiveEntryText>& documents) {
  // Written beside the target and moved over it only when complete, so a failed run never
  // leaves a broken catalogue where a good one was.
  const std::string temp = UniqueSiblingPath(archivePath);
  bool ok = true;
  {
    ArchiveWriter writer;
    if (!writer.Create(temp)) return false;
    std::string manifest;
    for (const ArchiveEntryText& doc : documents) {
      ok = writer.AddBytes(doc.name, doc.text) && ok;
      // Without its digest a line can never match: the archive would load nothing.
      const std::string digest = Md5OfBytes(doc.text);
      ok = ok && !digest.empty();
      manifest.append(digest).append(";").append(doc.name).append(";\n");
    }
    ok = writer.AddBytes(FileTitle(archivePath) + ".md6", manifest) && ok;
    ok = writer.Close() && ok;
  }
  if (ok) ok = CommitReplacement(temp, archivePath);
  if (!ok) RemoveFile(temp);
  return ok;
}

}  // namespace roviro
