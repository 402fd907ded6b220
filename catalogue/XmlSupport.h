#pragma once
// What every XML file of the program shares: the declaration version "1.0" with encoding
// "iso-8859-1", written and checked exactly; texts stay ISO-8859-1 bytes end to end.

#include <tinyxml2.h>

#include <string>
#include <string_view>

namespace roviro {

// True when the document's first node is a declaration whose version is exactly "1.0" and
// whose encoding is exactly "iso-8859-1".
bool HasProgramDeclaration(const tinyxml2::XMLDocument& doc);

// The value of `name` inside a declaration text (`xml version="1.0" ...`); empty if absent.
std::string DeclarationAttribute(std::string_view declaration, std::string_view name);

// Adds the program's declaration as the document's first node.
void AddProgramDeclaration(tinyxml2::XMLDocument& doc);

// Parses `text` (which may hold any bytes); false when it is not well-formed or nested
// deeper than the parser's limit (TINYXML2_MAX_ELEMENT_DEPTH levels).
bool ParseXml(tinyxml2::XMLDocument& doc, std::string_view text);

// The document as the program writes it: the declaration, then the elements indented by
// four blanks per level, each text on the line of its element.
std::string PrintXml(const tinyxml2::XMLDocument& doc);

// Adds <name>text</name> under `parent`; an empty text gives an empty element.
tinyxml2::XMLElement* AddTextElement(tinyxml2::XMLElement* parent, const char* name,
                                     const std::string& text);

// The text of the element's first child node: how the program's readers take a value.
// Returns false when the element has no child node at all.
bool FirstChildText(const tinyxml2::XMLElement* element, std::string* out);

// Writes `bytes` to `path` through a temporary file beside it that is forced to the disk and
// then replaces the target (CommitReplacement); an existing file survives every failure and
// a power cut leaves the old file or the new one.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace roviro
