#pragma once
// The fitter's contact data, kept by the main dialog and embedded in parameter files.

#include <array>
#include <string>

namespace roviro {

struct ContactRecord {
  std::string company;
  std::string street;
  std::string houseNumber;
  std::string postcode;
  std::string town;
  std::string country;
  std::string email;
  std::string telephone;
  std::string fax;

  void Clear() { *this = ContactRecord{}; }
};

// Element names, in the order they are written and read, with the member each one holds.
struct ContactField {
  const char* element;
  std::string ContactRecord::*member;
};
inline const std::array<ContactField, 9> kContactFields = {{
    {"Firmenname", &ContactRecord::company},
    {"Strasse", &ContactRecord::street},
    {"Nr", &ContactRecord::houseNumber},
    {"PLZ", &ContactRecord::postcode},
    {"Ort", &ContactRecord::town},
    {"Land", &ContactRecord::country},
    {"E-Mail", &ContactRecord::email},
    {"Telefon", &ContactRecord::telephone},
    {"Fax", &ContactRecord::fax},
}};

}  // namespace roviro
