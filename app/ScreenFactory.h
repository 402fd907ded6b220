#pragma once
// Builds screens by number. The program registers the screen classes here at start
// (RegisterScreens in screens/data/); the dialog asks for an id and gets a new screen, or null
// for an id that is not a screen number (1 to 8, 10 to 12) or whose class is not registered.

#include <functional>
#include <map>
#include <memory>

namespace roviro {

class CScreen;
class CVQZodavaRozeDlg;

class ScreenFactory {
 public:
  using Maker = std::function<std::unique_ptr<CScreen>(CVQZodavaRozeDlg*)>;

  // True for the numbers that name a screen: 1 to 8 and 10 to 12.
  static bool IsScreenId(int id);

  // Registers (or replaces) the class of `id`; false for an id that is no screen number.
  bool Register(int id, Maker maker);
  void Unregister(int id);
  bool Has(int id) const;
  // A new screen for `id`, or null.
  std::unique_ptr<CScreen> Create(int id, CVQZodavaRozeDlg* dlg) const;

 private:
  std::map<int, Maker> m_makers;
};

// The program's factory.
ScreenFactory& TheScreenFactory();

}  // namespace roviro
