#include "controls/Pictures.h"

#include <QByteArray>
#include <QPainter>

#include <fstream>
#include <iterator>

#include "pages/TextHelpers.h"
#include "platform/Paths.h"

namespace roviro {

PictureCache& PictureCache::Instance() {
  static PictureCache cache;
  return cache;
}

bool PictureCache::LoadPictureFile(const std::string& file, QImage* out) {
  if (file.empty() || !out) {
    return false;
  }
  const std::string path = NormalisePath(file);
  if (!FileExists(path)) {
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return false;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.empty()) {
    return false;
  }
  QImage image;
  if (!image.loadFromData(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()))) ||
      image.isNull()) {
    return false;
  }
  *out = image.convertToFormat(QImage::Format_ARGB32);
  return true;
}

std::string DetailPictureName(const std::string& file) {
  const std::size_t dot = file.rfind('.');
  const std::size_t slash = file.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
    return file + "@2x";
  }
  return file.substr(0, dot) + "@2x" + file.substr(dot);
}

const PictureRecord* PictureCache::Acquire(const std::string& file) {
  for (Entry& e : m_entries) {
    if (EqualsNoCase(e.record.fileName, file)) {
      ++e.references;
      return &e.record;
    }
  }
  QImage image;
  if (!LoadPictureFile(file, &image)) {
    return nullptr;
  }
  Entry& e = m_entries.emplace_back();
  e.references = 1;
  e.record.fileName = file;
  // A detail picture of any other size would not fit the places computed from the picture.
  QImage detail;
  if (LoadPictureFile(DetailPictureName(file), &detail) && detail.size() == image.size() * 2) {
    e.record.detail = std::move(detail);
  }
  e.record.image = std::move(image);
  return &e.record;
}

HResult PictureCache::Release(const PictureRecord* record) {
  if (!record) {
    return E_FAIL;
  }
  for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
    if (&it->record == record) {
      if (--it->references <= 0) {
        m_entries.erase(it);
      }
      return S_OK;
    }
  }
  return E_FAIL;
}

int PictureCache::ReferenceCount(const std::string& file) const {
  for (const Entry& e : m_entries) {
    if (EqualsNoCase(e.record.fileName, file)) {
      return e.references;
    }
  }
  return 0;
}

PictureHolder::~PictureHolder() { Clear(); }

bool PictureHolder::AddFrame(const std::string& file) {
  const std::string path = NormalisePath(file);
  const PictureRecord* record = PictureCache::Instance().Acquire(path);
  if (!record) {
    m_current = static_cast<int>(m_frames.size());  // remembered, but not loaded
    return false;
  }
  m_frames.push_back(record);
  m_current = static_cast<int>(m_frames.size()) - 1;
  return true;
}

void PictureHolder::Clear() {
  for (const PictureRecord* record : m_frames) {
    PictureCache::Instance().Release(record);
  }
  m_frames.clear();
  m_current = 0;
}

bool PictureHolder::SetFrame(int index) {
  if (index < 0 || index >= Count()) {
    return false;
  }
  m_current = index;
  return true;
}

void PictureHolder::NextFrame() {
  m_current = StepFrame(m_current, Count(), true, (m_options & kPictureWrap) != 0);
}

void PictureHolder::PreviousFrame() {
  m_current = StepFrame(m_current, Count(), false, (m_options & kPictureWrap) != 0);
}

const PictureRecord* PictureHolder::Frame(int index) const {
  if (index < 0 || index >= Count()) {
    return nullptr;
  }
  return m_frames[index];
}

bool PictureHolder::IsLoaded() const {
  const PictureRecord* record = Frame(m_current);
  return record && !record->image.isNull();
}

Size PictureHolder::FrameSize() const {
  if (!IsLoaded()) {
    return {};
  }
  const QImage& image = m_frames[m_current]->image;
  return {image.width(), image.height()};
}

namespace {

// Pixels of the key's colour become fully transparent.
QImage MaskKeyColour(const QImage& part, std::uint32_t key) {
  QImage masked = part.convertToFormat(QImage::Format_ARGB32);
  const QRgb transparent = qRgb(RedOf(key), GreenOf(key), BlueOf(key)) & 0xFFFFFF;
  for (int y = 0; y < masked.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(masked.scanLine(y));
    for (int x = 0; x < masked.width(); ++x) {
      if ((line[x] & 0xFFFFFF) == transparent) {
        line[x] = 0;
      }
    }
  }
  return masked;
}

}  // namespace

int PictureHolder::Draw(std::uint32_t key, const Rect& target, const Rect* source,
                        QPainter& painter, std::uint32_t drawMode, bool enabled) const {
  if (m_frames.empty() || m_current < 0 || m_current >= Count()) {
    return kDrawNothingLoaded;
  }
  const PictureRecord* record = m_frames[m_current];
  if (!record || record->image.isNull()) {
    return kDrawNoPicture;
  }
  const QImage& image = record->image;
  const PicturePlacement place =
      PlacePicture({image.width(), image.height()}, target, source ? *source : Rect{}, drawMode);
  if (place.result != kDrawOk) {
    return place.result;
  }
  // On a window shown at more than 100 % the detail picture gives the device pixels; it is
  // cut and scaled as the picture would be, at twice the size.
  const qreal ratio = painter.device() != nullptr ? painter.device()->devicePixelRatioF() : 1.0;
  const bool detailed = ratio > 1.0 && !record->detail.isNull();
  const int factor = detailed ? 2 : 1;
  const QRect cut = ToQRect(place.source);
  QImage part =
      detailed ? record->detail.copy(QRect(cut.topLeft() * 2, cut.size() * 2)) : image.copy(cut);
  const bool blend = (drawMode & kDrawBlend) != 0;
  if (!blend && (drawMode & kDrawKeyColour)) {
    part = MaskKeyColour(part, key);
  }
  const QSize size(place.target.Width() * factor, place.target.Height() * factor);
  if (part.size() != size) {
    const bool resample = (drawMode & (kDrawResample | kDrawResampleSmooth)) != 0;
    part = part.scaled(size, Qt::IgnoreAspectRatio,
                       resample ? Qt::SmoothTransformation : Qt::FastTransformation);
  }
  painter.save();
  double opacity = blend ? static_cast<double>((key >> 24) & 0xFF) / 255.0 : 1.0;
  if (!enabled) {
    opacity *= 0.45;
  }
  painter.setOpacity(painter.opacity() * opacity);
  if (detailed) {
    part.setDevicePixelRatio(factor);
    // Other ratios than 2 scale the detail picture once more, down, which must stay smooth.
    if (ratio != factor) painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
  }
  painter.drawImage(QPoint(place.target.left, place.target.top), part);
  painter.restore();
  return kDrawOk;
}

int PictureHolder::Draw(QPainter& painter) const {
  return Draw(m_key, m_target, m_source.IsEmpty() ? nullptr : &m_source, painter, m_drawMode);
}

}  // namespace roviro
