#pragma once
// Makes the screen classes known to a screen factory. Registration is explicit: objects that
// register themselves from a static library would be dropped by the linker.

namespace roviro {

class ScreenFactory;

// Registers every screen class under its number: the data screens 1, 6, 7 and 8 and the
// settings screens 2 to 5 and 10 to 12.
void RegisterScreens(ScreenFactory& factory);

}  // namespace roviro
