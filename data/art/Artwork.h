#pragma once
// The shipped pictures, drawn with QPainter: the picture buttons in their four states, the
// two logos and the navigation strip with one frame per screen id. Every picture has a fixed
// file name below "LoaderDaten/Screen/Bilder/"; the page files name them.

#include <QImage>
#include <QString>
#include <vector>

namespace roviro::art {

// The four looks of a picture button, in the order the page files list them after the
// disabled one: normal, mouse over, pressed.
enum class ButtonState { Disabled, Normal, Hover, Pressed };

struct Picture {
  QString name;  // file name inside the picture folder
  QImage image;  // opaque RGB; magenta (0xFF00FF) where the background shows through
  bool keyed;    // true for button pictures drawn with the transparent colour
};

// Every picture of the shipped tree, in a stable order. Scale 2 draws each at twice its pixel
// size, for windows shown at 200 % (shipped as "<name>@2x.bmp" beside the picture).
std::vector<Picture> DrawAllPictures(int scale = 1);

// The program's icon: the logo's emblem on a transparent square of `size` pixels.
QImage DrawIcon(int size);
// The sizes the icon is shipped in (the hicolor theme's folders <size>x<size>).
inline constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// One sheet with every picture, the button states side by side, keyed pixels shown over the
// dialog's white background, for looking at the set as a whole.
QImage DrawContactSheet(const std::vector<Picture>& pictures);

// The folder of the pictures relative to the program folder, as the page files write it.
inline constexpr const char* kPictureFolder = "LoaderDaten/Screen/Bilder";

}  // namespace roviro::art
