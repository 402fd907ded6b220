#include "screens/data/RegisterScreens.h"

#include <memory>

#include "app/ScreenFactory.h"
#include "screens/data/ScreenBetriebspara.h"
#include "screens/data/ScreenDatenladen.h"
#include "screens/data/ScreenDatenspeichern.h"
#include "screens/data/ScreenTest.h"
#include "screens/settings/ScreenEinstellungen1.h"
#include "screens/settings/ScreenFek1.h"
#include "screens/settings/ScreenFek2.h"

namespace roviro {

namespace {

template <class Screen>
void Add(ScreenFactory& factory, int id) {
  factory.Register(id, [](CVQZodavaRozeDlg* dlg) { return std::make_unique<Screen>(dlg); });
}

}  // namespace

void RegisterScreens(ScreenFactory& factory) {
  Add<CScreenDatenladen>(factory, 1);
  Add<CScreenEinstellungen1>(factory, 2);
  Add<CScreenDatenspeichern>(factory, 6);
  Add<CScreenTest>(factory, 7);
  Add<CScreenBetriebspara>(factory, 8);
  Add<CScreenFek_1>(factory, 10);
  Add<CScreenFek_2>(factory, 11);
}

}  // namespace roviro
