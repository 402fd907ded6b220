#pragma once
// Small pictures made in code for the control tests and the gallery.

#include <QColor>
#include <QImage>

#include <string>

#include "support/TempFolder.h"

namespace roviro::test {

// Saves `image` under `name` (the extension picks the format) and returns the full path.
std::string SaveImage(const TempFolder& folder, const std::string& name, const QImage& image);

QImage SolidImage(int width, int height, const QColor& colour);
// Magenta (the buttons' transparent colour) around a rounded body with a light mark on it.
QImage ButtonFace(int width, int height, const QColor& body);
QImage Checker(int width, int height, const QColor& a, const QColor& b, int cell);

inline const QColor kMagenta(255, 0, 255);

}  // namespace roviro::test
