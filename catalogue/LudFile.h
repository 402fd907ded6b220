#pragma once
// The per-motor data file ("*.lud") in the temporary folder: four short texts of a parameter
// set that belong to one motor and one box setting, offered again the next time.

#include <cstdint>
#include <string>

#include "catalogue/Catalogue.h"
#include "catalogue/ContactRecord.h"
#include "catalogue/ParameterImage.h"
#include "platform/Result.h"

namespace roviro {

// The four texts a LUD file carries, by element: MN, FN, NM, NT.
struct LudTexts {
  std::string moName;     // MN: motor name
  std::string firma;      // FN: company
  std::string name;       // NM: set name
  std::string kommentar;  // NT: comment; line breaks are stored as backslash-n
};

// The motor code as a hex word followed by the two bytes as two upper-case digits each:
// 0x00012340, 0x05, 0x0A gives "00 01 23 40050A.lud".
std::string LudFileName(std::uint32_t motorCode, std::uint8_t a, std::uint8_t b);

// Takes the LUD file of motor `motorIndex` of `current` and the image's block 0x39 bytes 9
// and 10 into the image's texts. The image's company is first set to the contact's company.
// The comment's backslash-n sequences become line feeds (raw line feeds of older files stay).
// S_OK also when there is nothing to read (no temporary folder, no catalogue); E_FAIL for a
// missing image, a motor index outside 0..2, a missing or malformed file, or an element with
// an empty text (texts taken before it stay).
HResult ReadLudFile(ParameterImage* image, const Catalogue* current, int motorIndex,
                    const std::string& tempFolder, const ContactRecord& contact);

// Writes the non-empty texts under the name of motor record 0 and the two bytes (each line
// break of the comment as backslash-n), creating the temporary folder with all missing
// parents and replacing an existing file only once the new one is complete and on the disk.
// E_FAIL (nothing written) without a temporary folder or catalogue, or when
// the file cannot be written.
HResult WriteLudFile(const std::string& tempFolder, const Catalogue* current, std::uint8_t byte9,
                     std::uint8_t byte10, const LudTexts& texts);

}  // namespace roviro
