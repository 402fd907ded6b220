#include "screens/data/RegisterScreens.h"

#include <memory>

#include "app/ScreenFactory.h"

namespace roviro {

namespace {

template <class Screen>
void Add(ScreenFactory& factory, int id) {
  factory.Register(id, [](CVQZodavaRozeDlg* dlg) { return std::make_unique<Screen>(dlg); });
}

}  // namespace

void RegisterScreens(ScreenFactory& factory) { (void)factory; }

}  // namespace roviro
