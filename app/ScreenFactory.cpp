#include "app/ScreenFactory.h"

#include "app/Screen.h"

namespace roviro {

bool ScreenFactory::IsScreenId(int id) { return (id >= 1 && id <= 8) || (id >= 10 && id <= 12); }

bool ScreenFactory::Register(int id, Maker maker) {
  if (!IsScreenId(id) || !maker) return false;
  m_makers[id] = std::move(maker);
  return true;
}

void ScreenFactory::Unregister(int id) { m_makers.erase(id); }

bool ScreenFactory::Has(int id) const { return m_makers.count(id) != 0; }

std::unique_ptr<CScreen> ScreenFactory::Create(int id, CVQZodavaRozeDlg* dlg) const {
  if (!IsScreenId(id)) return nullptr;
  const auto it = m_makers.find(id);
  if (it == m_makers.end()) return nullptr;
  return it->second(dlg);
}

ScreenFactory& TheScreenFactory() {
  static ScreenFactory factory;
  return factory;
}

}  // namespace roviro
