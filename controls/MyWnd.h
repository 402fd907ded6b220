#pragma once
// CMyWnd: the second base of every custom control. It keeps the control's appearance (flag
// word, captured background of the parent, banded gradient, tiled picture), its timers and
// the small command protocol with which any window enables, shows or checks a control.
// CMyObjGroup keeps a list of controls and forwards commands to all of them.

#include <QEvent>
#include <QImage>
#include <QPointer>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "controls/Pictures.h"
#include "controls/geometry/ControlGeometry.h"
#include "platform/Result.h"

class QPainter;
class QWidget;

namespace roviro {

// Private control messages.
inline constexpr unsigned kMsgEnable = 0x10001;      // wParam non-zero enables, zero disables
inline constexpr unsigned kMsgShow = 0x10002;        // wParam is the show command (0 hides)
inline constexpr unsigned kMsgSetCheck = 0x10003;    // buttons: wParam non-zero checks
inline constexpr unsigned kMsgInvalidate = 0x10004;  // groups: repaint, wParam = erase flag

inline constexpr unsigned kBlinkTimer = 0x100000;

// A control message travelling as a Qt event. Qt's event numbers end at 65535, so the message
// number rides inside one registered event type.
class ControlCommandEvent : public QEvent {
 public:
  ControlCommandEvent(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
  static QEvent::Type EventType();

  unsigned message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
  bool handled = false;
  std::intptr_t result = 0;
};

// Delivers a control message at once; true when the control handled it (result in `result`).
bool SendCommand(QWidget* window, unsigned message, std::uintptr_t wParam = 0,
                 std::intptr_t lParam = 0, std::intptr_t* result = nullptr);
// Queues a control message for the window's event loop.
void PostCommand(QWidget* window, unsigned message, std::uintptr_t wParam = 0,
                 std::intptr_t lParam = 0);

// Shared flag bits.
inline constexpr std::uint32_t kFlagOwnDraw = 0x1;
inline constexpr std::uint32_t kFlagTimer = 0x2;
inline constexpr std::uint32_t kFlag2 = 0x4;
inline constexpr std::uint32_t kFlagTransparent = 0x8;
inline constexpr std::uint32_t kFlagGradientHorizontal = 0x10;
inline constexpr std::uint32_t kFlagGradientVertical = 0x20;
inline constexpr std::uint32_t kFlagPicture = 0x40;
inline constexpr std::uint32_t kFlagPictureArea = 0x80;
inline constexpr std::uint32_t kFlagPictureMargins = 0x100;
inline constexpr std::uint32_t kFlagGradientArea = 0x200;
inline constexpr std::uint32_t kFlagGradientMargins = 0x400;
inline constexpr std::uint32_t kFlag11 = 0x800;
inline constexpr std::uint32_t kFlag12 = 0x1000;
inline constexpr std::uint32_t kFlag13 = 0x2000;

class CMyWnd {
 public:
  explicit CMyWnd(QWidget* window);
  virtual ~CMyWnd();
  CMyWnd(const CMyWnd&) = delete;
  CMyWnd& operator=(const CMyWnd&) = delete;

  // Slots 0 to 23.
  virtual std::uint32_t GetFlags() const;
  virtual std::uint32_t SetFlags(std::uint32_t value);
  virtual std::uint32_t ModifyFlags(std::uint32_t remove, std::uint32_t add);
  virtual bool HasBackground() const;
  virtual bool IsInitialised() const;
  virtual bool IsFlag0() const;
  virtual bool IsFlag2() const;
  virtual bool IsTransparent() const;
  virtual bool IsGradientHorizontal() const;
  virtual bool IsGradientVertical() const;
  virtual bool UsesGradientArea() const;
  virtual bool UsesGradientMargins() const;
  virtual bool ShowsPicture() const;
  virtual bool UsesPictureArea() const;
  virtual bool UsesPictureMargins() const;
  virtual bool IsFlag11() const;
  virtual bool IsFlag12() const;
  virtual bool IsFlag13() const;
  virtual bool IsTimerRunning() const;
  virtual bool ReleaseBackground();
  virtual Size GetPreferredSize(int options) = 0;
  virtual bool NeedsErase() const;
  virtual bool ExecuteCommand(unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                              std::intptr_t* result);
  virtual void ResetToDefaults() = 0;

  void Clear();
  // Everything a screen may have changed back to a fresh control's look: the flag word
  // becomes `flags`, picture and gradient areas and margins are emptied, colours, picture and
  // captured background are dropped.
  void ResetAppearance(std::uint32_t flags);

  Rect PictureMargins() const { return m_pictureMargins; }
  Rect SetPictureMargins(const Rect& r);
  Rect PictureArea() const { return m_pictureArea; }
  Rect SetPictureArea(const Rect& r);
  Rect GradientMargins() const { return m_gradientMargins; }
  Rect SetGradientMargins(const Rect& r);
  Rect GradientArea() const { return m_gradientArea; }
  Rect SetGradientArea(const Rect& r);

  void AddColour(Colour rgb);
  void ClearColours();
  Colour GetColour(int index) const;  // magenta 0xFF00FF when out of range
  int ColourCount() const { return static_cast<int>(m_colours.size()); }

  // Adds `file` as a frame of the tiled picture, drawn with `drawMode` and `key`.
  HResult LoadPicture(const std::string& file, std::uint32_t drawMode, std::uint32_t key);
  PictureHolder& Picture() { return m_picture; }

  // Copies the part `rect` of `source` into the background store (cut to the client size).
  HResult CaptureBackgroundFrom(const QImage* source, const Rect& rect);
  const QImage& CapturedBackground() const { return m_background; }

  void StartTimer(unsigned id, unsigned interval);
  void StopTimer(unsigned id);
  // The blink timer toggles the window's enabled state.
  void OnTimer(unsigned id);

  // Background, gradient and picture, in this order.
  void PaintLayers(QPainter& painter);

  QWidget* Window() const { return m_window; }
  QWidget* BackgroundSource() const { return m_backgroundSource; }

 protected:
  // The shared message routing: takes the background source on the first event and runs the
  // control commands. True when the event was a command that is now finished.
  bool RouteEvent(QEvent* event);
  // Our timer id for a Qt timer id, 0 when it is not one of ours.
  unsigned TimerIdOf(int qtTimerId) const;
  void SetWindowTimer(unsigned id, unsigned interval);
  void KillWindowTimer(unsigned id);
  Rect ClientRect() const;
  virtual void FlagsChanged() {}

  int m_initialised = 0;

 private:
  void PaintBackground(QPainter& painter);
  void PaintGradient(QPainter& painter);
  void PaintPicture(QPainter& painter);

  QWidget* m_window;
  QPointer<QWidget> m_backgroundSource;
  std::uint32_t m_flags = 0;
  PictureHolder m_picture;
  Rect m_pictureMargins;
  Rect m_pictureArea;
  std::vector<std::string> m_colours;
  Rect m_gradientMargins;
  Rect m_gradientArea;
  QImage m_background;  // non-null exactly while a background is captured
  std::map<unsigned, int> m_timers;
};

class CMyObjGroup {
 public:
  HResult Add(QWidget* control);
  // Null empties the list; E_FAIL for a control that is not a member.
  HResult Remove(QWidget* control);
  bool Contains(QWidget* control) const;
  void RemoveAll() { m_members.clear(); }
  int Count() const { return static_cast<int>(m_members.size()); }
  // Walking the list: FirstPosition gives 0 or -1 for an empty list; Next answers the member
  // at `position` and moves it on (to -1 after the last).
  int FirstPosition() const { return m_members.empty() ? -1 : 0; }
  QWidget* Next(int& position) const;

  // 0x10002 shows (value = show command), 0x10001 enables (value), 0x10004 repaints; any
  // other code is posted to the member with value and extra. `only` limits it to one member.
  // E_FAIL when a member has gone away.
  HResult Broadcast(unsigned code, QWidget* only, std::uintptr_t value, std::intptr_t extra);

 private:
  std::vector<QPointer<QWidget>> m_members;
};

}  // namespace roviro
