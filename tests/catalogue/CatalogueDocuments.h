#pragma once
// Catalogue document texts for tests and the benchmark: the pieces of a document (screens,
// motor types, parameter lines with correct checksums) and a complete realistic catalogue.
// Header-only so the benchmark can share it.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/ParameterImage.h"
#include "pages/TextHelpers.h"

namespace roviro::test {

inline constexpr const char* kCatalogueDeclaration =
    "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>\n";

// The bytes of a parameter line as a catalogue carries it: header, length n, command, the
// slot's bytes (the payload, then its check byte ChSee), then ChSmsg; n counts the slot's
// bytes plus one. `payload` is the slot without its last byte; both check bytes are
// computed, so the line passes both checks.
inline std::vector<std::uint8_t> LineBytes(int line, const std::vector<std::uint8_t>& payload) {
  const BlockInfo* block = FindBlockByLine(line);
  const std::uint8_t header = block != nullptr ? block->fileHeader : 0x00;
  const std::uint8_t command = block != nullptr ? block->command : 0x00;
  std::vector<std::uint8_t> L{header, static_cast<std::uint8_t>(payload.size() + 2), command};
  unsigned see = 0;
  for (std::uint8_t b : payload) {
    L.push_back(b);
    see += b;
  }
  see &= 0xFFu;
  L.push_back(static_cast<std::uint8_t>(see));
  L.push_back(static_cast<std::uint8_t>((command + see + see) & 0xFFu));
  return L;
}

// A deterministic payload filling line `line`'s slot (all but the check byte).
inline std::vector<std::uint8_t> FactoryPayload(int line, unsigned seed) {
  const BlockInfo* block = FindBlockByLine(line);
  std::vector<std::uint8_t> payload;
  for (int i = 0; block != nullptr && i + 1 < block->size; ++i) {
    payload.push_back(static_cast<std::uint8_t>(
        (seed * 31u + static_cast<unsigned>(line) * 17u + static_cast<unsigned>(i) * 7u) & 0xFFu));
  }
  return payload;
}

inline std::string Hex(const std::vector<std::uint8_t>& bytes) {
  return BytesToHex(bytes.data(), static_cast<int>(bytes.size()));
}

// <name>hex</name>
inline std::string LineElement(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  return "<" + name + ">" + Hex(bytes) + "</" + name + ">";
}

// A GUID in braces, 38 characters, unique per (a, b).
inline std::string GuidText(unsigned a, unsigned b) {
  char text[64];
  std::snprintf(text, sizeof text, "{%08X-5A17-4C0D-9E21-%012X}", a, b);
  return text;
}

struct MotorEntry {
  std::uint32_t code = 0;  // dhMoNa; its lower three bits are the motor index
  std::string name = "RM 10/16";
  std::string nqb;
  std::string umode;
  std::string divHB = "01 02 03 04 05 06";
  std::string divLB = "0A 0B 0C 0D 0E 0F";
  std::string lines;  // the children of ParaDa
};

// All seven factory lines of a motor, with correct checksums.
inline std::string AllFactoryLines(unsigned seed) {
  std::string out;
  for (int line = 1; line <= 7; ++line) {
    out += LineElement("Zl" + std::to_string(line), LineBytes(line, FactoryPayload(line, seed)));
  }
  return out;
}

inline std::string MotorXml(const MotorEntry& m) {
  return "<Rumpf><MoNa dhMoNa=\"" + ValueToHex(m.code) + "\" strMoNa=\"" + m.name +
         "\"/><Guid strGuidNQB=\"" + m.nqb + "\" strGuidUMode=\"" + m.umode + "\"/><DivTab><ucHB>" +
         m.divHB + "</ucHB><ucLB>" + m.divLB + "</ucLB></DivTab><ParaDa>" + m.lines +
         "</ParaDa></Rumpf>";
}

// One screen with three branches of four objects.
inline std::string ScreenXml(int number, int next, int prev) {
  std::string s = "<Scr" + std::to_string(number) + "><Next stNext=\"" + std::to_string(next) +
                  "\"/><Prev stPrev=\"" + std::to_string(prev) + "\"/><Brch>";
  for (int b = 0; b < 3; ++b) {
    s += "<Brch" + std::to_string(b) + " bUse=\"1\" bHide=\"" + std::to_string(b == 2) + "\">";
    for (int o = 0; o < 4; ++o) {
      s += "<Obj" + std::to_string(o) + " iMin=\"" + std::to_string(o) + "\" iMax=\"" +
           std::to_string(10 * (o + 1)) + "\" bEnable=\"1\" bShow=\"1\"/>";
    }
    s += "</Brch" + std::to_string(b) + ">";
  }
  return s + "</Brch></Scr" + std::to_string(number) + ">";
}

inline std::string KxbmXml(const std::string& motors, int verMain = 2) {
  return "<KXBM dVerMain=\"" + std::to_string(verMain) +
         "\" dVerRel=\"1\" dVerBld=\"7\"><Dtm>12.03.2009</Dtm><Frm strFrm=\"Trevanic\"/>"
         "<Kmmntr dUseKom=\"1\">Werkseinstellung\\nSerie R</Kmmntr>" +
         motors + "</KXBM>";
}

// A whole document: declaration, root element, the given top-level elements.
inline std::string DocumentXml(const std::string& body,
                               const std::string& declaration = kCatalogueDeclaration) {
  return declaration + "<Katalog>" + body + "</Katalog>\n";
}

// The three motor types of catalogue `id`, with GUIDs unique to it.
inline std::vector<MotorEntry> RealisticMotors(unsigned id) {
  std::vector<MotorEntry> motors;
  for (unsigned k = 0; k < 3; ++k) {
    MotorEntry m;
    m.code = 0x00100000u + ((id & 0xFFFu) << 8) + k;
    m.name = "RM " + std::to_string(id) + "/" + std::to_string(k);
    m.nqb = GuidText(id, 0x100 + k);
    m.umode = GuidText(id, 0x200 + k);
    m.lines = AllFactoryLines(id * 3 + k);
    motors.push_back(m);
  }
  return motors;
}

// A catalogue as shipped: screens 1 to 8 and 10 to 12 chained by Next/Prev, three motor
// types with GUIDs unique to `id`, all seven factory lines each.
inline std::string RealisticCatalogue(unsigned id) {
  std::string screens = "<Scr>";
  const int numbers[] = {1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12};
  for (int i = 0; i < 11; ++i) {
    screens += ScreenXml(numbers[i], i + 1 < 11 ? numbers[i + 1] : -1, i > 0 ? numbers[i - 1] : -1);
  }
  screens += "</Scr>";
  std::string motors;
  for (const MotorEntry& m : RealisticMotors(id)) motors += MotorXml(m);
  return DocumentXml(screens + KxbmXml(motors));
}

}  // namespace roviro::test
