#pragma once
// The load-data screen's motor list without the widget: one line per loaded catalogue (a
// "catalogue motor"), its name built from the language description's name parts, and the
// entry that matches the parameter image's motor identity.

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "catalogue/ParameterImage.h"
#include "pages/ScreenDescription.h"

namespace roviro {

// Replaces "%a" .. "%e" in `pattern` with the language texts that the code selects:
// h = bits 22-23; %a = (5, h), %b = (h + 6, bits 16-21), %c = (10, bits 12-15),
// %d = (11, bits 8-11), %e = (h + 12, bits 4-7).
std::string BuildMotorName(const std::string& pattern, std::uint32_t code,
                           const ScreenDescription& language);

// The list line of a catalogue: motor record 0's name with its parts filled in; "??xx??" for a
// missing catalogue.
std::string MotorListLine(const Catalogue* catalogue, const ScreenDescription& language);

// The selection: the first present entry, replaced by every entry (the last one wins) one of
// whose three motor records has the image's identity when the variant bits are ignored. An
// identity of 0 never matches. -1 for an empty list.
int SelectMotorForImage(const CatalogueList& catalogues, const ParameterImage& image);

// True when the image holds a motor (an identity other than 0) that no motor record of any
// loaded catalogue has, the variant bits ignored: a motor type the program does not know.
bool IsUnknownMotor(const CatalogueList& catalogues, const ParameterImage& image);

}  // namespace roviro
