#pragma once
// The contact profile "FS.xml" in the program's folder below the shared data folder: the
// fitter's contact data, asked for once at first start and embedded in every parameter file.

#include <string>

#include "catalogue/ContactRecord.h"
#include "platform/Result.h"

namespace roviro {

inline constexpr const char* kContactProfileName = "FS.xml";

// sharedDataFolder + "\Trevanic\DI DU-RoviroDazo\FS.xml", normalised.
std::string ContactProfilePath(const std::string& sharedDataFolder);

// Reads the profile into `record`, which is cleared first. S_OK when the file carries the
// program's declaration and a `Kontakt` element whose present values all hold text and whose
// company (if present) has at least 3 characters besides blanks; E_FAIL otherwise, and the
// record is then left cleared so that a rejected file never leaves half its values behind.
HResult ReadContactProfile(const std::string& sharedDataFolder, ContactRecord* record);

// Writes the non-empty values of `record`, creating the folder with all missing parents and
// replacing an existing profile only once the new one is complete. E_FAIL (and nothing
// written) when the shared data folder is empty or the file cannot be written.
HResult WriteContactProfile(const std::string& sharedDataFolder, const ContactRecord& record);

}  // namespace roviro
