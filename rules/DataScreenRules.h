#pragma once
// What the data screens decide without a widget: the status line, the load-data screen's
// number fields and entry checks, the variant choice, the save-data screen's upload answer
// and the test screen's buttons. The screen classes only wire controls to these.

#include <cstdint>
#include <string>

#include "catalogue/Catalogue.h"
#include "catalogue/ParameterImage.h"
#include "pages/ScreenDescription.h"

namespace roviro {

// Objects of the load-data page (screen 1).
inline constexpr int kLoadStatusTexts = 0;  // 0 no box, 1 box ready ("%s" = port number)
inline constexpr int kLoadResultTexts = 3;
inline constexpr int kLoadFailureTexts = 4;
inline constexpr int kLoadEntryErrors = 20;

// The status line of the load-data and save-data screens: text (0, 1) with "%s" replaced by
// the port number when the box is connected, else text (0, 0). A device path of the system's
// ("/dev/ttyUSB0") is named beside the logical port.
std::string BoxStatusText(const ScreenDescription& page, bool connected, int portNumber,
                          const std::string& devicePath = {});

// A number field of the load-data screen after the fitter typed into it: a fourth character
// is removed, the value clamped to at most 255, 0 or less leaves the field empty, anything
// else is written back in decimal; the caret stays at most at position 3.
struct NumberField {
  std::string text;
  int value = 0;  // 0 for an empty field
  int caret = 0;
};
NumberField ApplyNumberFieldRule(const std::string& typed, int caret);

// The byte a number field stands for (its text read as a number, 0 to 255).
std::uint8_t NumberFieldByte(const std::string& text);

// The check before the load-data screen's entries are stored: the index n of the error text
// (20, n) to show, or -1 when everything is in order. With blanks removed the motor name must
// not be empty (0) and the company must have at least 3 characters (1); the motor list must
// have a selection (2) and a current catalogue motor must exist (3).
int CheckLoadDataEntries(const std::string& motorName, const std::string& company,
                         bool hasSelection, bool hasCatalogue);

// True when the catalogue motor has a motor-type record for `variant` (0 to 2) that the upload
// can use: one that the catalogue names by both of its GUIDs.
bool HasVariant(const Catalogue* catalogue, int variant);

// The fitter clicked a variant button: the variant bits of block 0x39 byte 2 become `variant`
// (1, 2, or 0 when neither button is checked) and block 0x3B is taken from that motor type's
// factory lines.
void ApplyVariantChoice(ParameterImage& image, const Catalogue* catalogue, int variant);

// The test screen's buttons 0 to 5 and the test mode each starts; the run buttons 0 to 2 use
// the modes 11 to 13 when the motor was reached through the 0x2D branch.
int TestModeForButton(int button, bool reachedThroughState6);

// The drive programs of the list start the modes 20 to 22.
inline constexpr int kDriveProgramModeBase = 20;

}  // namespace roviro
