#pragma once
// Picture files shared by the whole program: a process-wide cache that loads each file once
// (names compared without regard to case) and shares it by reference count, and the picture
// holder each control owns: frames, the current frame, and drawing with fitting, alignment,
// scaling and transparency.

#include <QImage>
#include <QRect>

#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "controls/geometry/ControlGeometry.h"
#include "platform/Result.h"

class QPainter;

namespace roviro {

struct PictureRecord {
  std::string fileName;  // as given
  QImage image;          // the program's own copy of the decoded picture
  // The same picture drawn at twice the pixel size ("<name>@2x.<ext>" beside the file), for
  // windows shown at 200 % and more; null when there is none. Placement and sizes always
  // follow `image`.
  QImage detail;
};

// "Bilder/Logo.bmp" gives "Bilder/Logo@2x.bmp".
std::string DetailPictureName(const std::string& file);

class PictureCache {
 public:
  static PictureCache& Instance();

  // The shared record of `file`, loaded on first use; null when it cannot be loaded.
  const PictureRecord* Acquire(const std::string& file);
  // Drops one reference; the picture is freed with the last one. E_FAIL for null or unknown.
  HResult Release(const PictureRecord* record);

  // For checks: the references held on `file` (0 when not cached) and the number of entries.
  int ReferenceCount(const std::string& file) const;
  int EntryCount() const { return static_cast<int>(m_entries.size()); }

  // Decodes a picture file: any format the image readers understand. False on any failure.
  static bool LoadPictureFile(const std::string& file, QImage* out);

 private:
  PictureCache() = default;
  struct Entry {
    int references = 0;
    PictureRecord record;
  };
  std::list<Entry> m_entries;
};

inline constexpr std::uint32_t kPictureWrap = 0x1000;

class PictureHolder {
 public:
  PictureHolder() = default;
  ~PictureHolder();
  PictureHolder(const PictureHolder&) = delete;
  PictureHolder& operator=(const PictureHolder&) = delete;

  // Appends the (normalised) file as a frame and makes it the current frame. On failure the
  // failed index is still remembered as current, so IsLoaded answers false.
  bool AddFrame(const std::string& file);
  void Clear();
  bool SetFrame(int index);
  void NextFrame();
  void PreviousFrame();
  bool IsLoaded() const;
  Size FrameSize() const;  // (0, 0) when nothing is loaded
  int Count() const { return static_cast<int>(m_frames.size()); }
  int Current() const { return m_current; }
  const PictureRecord* Frame(int index) const;

  std::uint32_t Options() const { return m_options; }
  void SetOptions(std::uint32_t options) { m_options = options; }
  std::uint32_t DrawMode() const { return m_drawMode; }
  void SetDrawMode(std::uint32_t drawMode) { m_drawMode = drawMode; }
  std::uint32_t Key() const { return m_key; }
  void SetKey(std::uint32_t key) { m_key = key; }
  const Rect& Target() const { return m_target; }
  void SetTarget(const Rect& target) { m_target = target; }
  const Rect& Source() const { return m_source; }
  void SetSource(const Rect& source) { m_source = source; }

  // Draws the current frame: 0 on success, else a PictureDrawResult. `enabled` false draws it
  // faded, as a disabled control shows its picture.
  int Draw(std::uint32_t key, const Rect& target, const Rect* source, QPainter& painter,
           std::uint32_t drawMode, bool enabled = true) const;
  // Draws with the holder's own key, target, source and draw mode.
  int Draw(QPainter& painter) const;

 private:
  std::vector<const PictureRecord*> m_frames;
  int m_current = 0;
  std::uint32_t m_options = 0;
  std::uint32_t m_drawMode = 0;
  std::uint32_t m_key = 0;
  Rect m_target;
  Rect m_source;
};

inline QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }
inline Rect FromQRect(const QRect& r) {
  return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

}  // namespace roviro
