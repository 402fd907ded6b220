#pragma once
// The dialog's fixed pools of controls. Every control any screen ever shows is created once,
// hidden, in one of these pools; a screen takes the elements it needs (setting the pool's
// in-use bit) and the dialog resets them all to their defaults when the screen is dropped.

#include <QComboBox>
#include <QPlainTextEdit>
#include <QTimeEdit>
#include <QTreeWidget>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "controls/ListGuard.h"
#include "controls/MyButton.h"
#include "controls/MyProgressCtrl.h"
#include "controls/MySliderCtrl.h"
#include "controls/MyStatic.h"

namespace roviro {

class ToolTips;

// The ID a control carries (0 when it has none).
int ControlId(const QWidget* control);
void SetControlId(QWidget* control, int id);

template <class T, int N>
class ControlPool {
 public:
  static constexpr int kCount = N;

  explicit ControlPool(int firstId) : m_firstId(firstId) {}

  // Element i, or null outside the pool.
  T* At(int i) const { return i >= 0 && i < N ? m_controls[i] : nullptr; }
  // Element i marked as taken by the current screen.
  T* Take(int i) {
    if (i < 0 || i >= N) return nullptr;
    m_inUse |= 1u << i;
    return m_controls[i];
  }
  T* ById(int id) const { return At(id - m_firstId); }
  // The index of `control` in this pool, -1 when it is not a member.
  int IndexOf(const QWidget* control) const {
    for (int i = 0; i < N; ++i) {
      if (m_controls[i] == control) return i;
    }
    return -1;
  }
  std::uint32_t InUse() const { return m_inUse; }
  void Release() { m_inUse = 0; }
  int FirstId() const { return m_firstId; }
  bool Contains(int id) const { return id >= m_firstId && id < m_firstId + N; }
  void Set(int i, T* control) { m_controls[i] = control; }
  const std::array<T*, N>& All() const { return m_controls; }

 private:
  std::array<T*, N> m_controls{};
  int m_firstId;
  std::uint32_t m_inUse = 0;
};

// Defaults of the pooled buttons.
inline constexpr std::uint32_t kPoolButtonFlags =
    kButtonStatePicture | kButtonCaption | kButtonTrackMouse;
inline constexpr std::uint32_t kPoolButtonLayoutAC = 0xC4082020;
inline constexpr std::uint32_t kPoolButtonLayoutB = 0xC4208022;
inline constexpr std::uint32_t kPoolButtonKey = 0x50FF00FF;
inline constexpr int kComboCount = 10;

struct ControlPools {
  ControlPool<CMyButton, 20> buttonsA{2001};
  ControlPool<CMyButton, 15> buttonsB{2101};
  ControlPool<CMyButton, 20> buttonsC{2201};
  ControlPool<QPlainTextEdit, 10> edits{2401};
  ControlPool<CMyStatic, 20> statics{2501};
  ControlPool<QTreeWidget, 3> lists{2601};
  ControlPool<QComboBox, kComboCount> combos{2801};
  ControlPool<CMySliderCtrl, 10> slidersV{3001};
  ControlPool<CMySliderCtrl, 10> slidersH{3101};
  ControlPool<CMyProgressCtrl, 2> progress{3201};
  ControlPool<QTimeEdit, 5> timePickers{3301};
  // The dialog's variable beside each combo box, exchanged around every routed event.
  std::array<std::string, kComboCount> comboTexts;
  // Keeps the wheel off every list, combo box and time picker without the focus.
  ListGuard* listGuard = nullptr;

  // Creates every control, hidden, as a child of `parent`.
  void CreateAll(QWidget* parent);
  // Clears every in-use mask.
  void ReleaseAll();
  // Every pooled control back to its defaults: hidden, empty, at (0,0,0,0), font 1, default
  // style words, released; buttons C get `defaultPictures` (disabled, normal, over, -,
  // pressed); tooltips of the pooled controls are removed from `tips`.
  void ResetAll(const std::vector<std::string>& defaultPictures, ToolTips* tips);
  // Hides and disables every pooled control.
  void HideAndDisableAll();
  // Every pooled control, in ID order.
  std::vector<QWidget*> AllControls() const;
  // The pooled control with `id`, or null.
  QWidget* Control(int id) const;
};

// Gives `button` the five pictures of a page object (entries 0 disabled, 1 normal, 2 mouse
// over, 4 pressed; each already a full path). False when a picture cannot be loaded.
bool SetButtonPictures(CMyButton* button, const std::vector<std::string>& entries);

}  // namespace roviro
