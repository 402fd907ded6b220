#include "app/QtMessageSink.h"

#include <QCoreApplication>
#include <QThread>

#include "app/AppMessages.h"
#include "app/Prompts.h"

namespace roviro {

namespace {

QEvent::Type BoxEventType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

}  // namespace

class QtMessageSink::BoxEvent : public QEvent {
 public:
  explicit BoxEvent(std::shared_ptr<BoxRequest> r)
      : QEvent(BoxEventType()), request(std::move(r)) {}
  std::shared_ptr<BoxRequest> request;
};

bool IsAppMessageEvent(const QEvent* event) {
  const int type = static_cast<int>(event->type());
  return type >= static_cast<int>(kMsgFirstAppMessage) &&
         type <= static_cast<int>(kMsgLastAppMessage);
}

QtMessageSink::QtMessageSink(QObject* target, Prompts* prompts)
    : m_target(target), m_prompts(prompts) {}

QtMessageSink::~QtMessageSink() { Shutdown(); }

void QtMessageSink::Post(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  std::lock_guard lock(m_mutex);
  if (m_shutDown || m_target == nullptr) return;
  QCoreApplication::postEvent(m_target, new AppMessageEvent(msg, wParam, lParam));
}

int QtMessageSink::RefusingAnswer(std::uint32_t style) {
  switch (style & 0xFu) {
    case kMbOkCancel:
      return kIdCancel;
    case kMbYesNo:
      return kIdNo;
    default:
      return kIdOk;
  }
}

int QtMessageSink::MessageBox(const std::string& text, const std::string& caption,
                              std::uint32_t style) {
  if (QThread::currentThread() == thread()) {
    if (IsShutDown() || IsQuiet() || m_prompts == nullptr) return RefusingAnswer(style);
    return m_prompts->MessageBox(text, caption, style);
  }
  // A worker: the box is shown by the user-interface thread, the worker waits for it.
  auto request = std::make_shared<BoxRequest>();
  request->text = text;
  request->caption = caption;
  request->style = style;
  std::unique_lock lock(m_mutex);
  if (m_shutDown || m_quiet || m_prompts == nullptr) return RefusingAnswer(style);
  QCoreApplication::postEvent(this, new BoxEvent(request));
  m_answered.wait(lock, [&] { return request->done || m_shutDown || m_quiet; });
  return request->done ? request->answer : RefusingAnswer(style);
}

void QtMessageSink::Shutdown() {
  {
    std::lock_guard lock(m_mutex);
    m_shutDown = true;
    m_target = nullptr;
  }
  m_answered.notify_all();
}

void QtMessageSink::Quiet() {
  {
    std::lock_guard lock(m_mutex);
    m_quiet = true;
  }
  m_answered.notify_all();
}

bool QtMessageSink::IsQuiet() const {
  std::lock_guard lock(m_mutex);
  return m_quiet;
}

bool QtMessageSink::IsShutDown() const {
  std::lock_guard lock(m_mutex);
  return m_shutDown;
}

bool QtMessageSink::event(QEvent* e) {
  if (e->type() != BoxEventType()) return QObject::event(e);
  auto request = static_cast<BoxEvent*>(e)->request;
  if (IsShutDown() || IsQuiet()) return true;  // the worker has been released already
  const int answer = m_prompts->MessageBox(request->text, request->caption, request->style);
  {
    std::lock_guard lock(m_mutex);
    request->answer = answer;
    request->done = true;
  }
  m_answered.notify_all();
  return true;
}

}  // namespace roviro
