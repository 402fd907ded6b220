#pragma once
// The MessageSink of the program window: posted messages become events of the same number,
// queued for the main dialog; message boxes asked for by a worker thread are shown on the
// user-interface thread while the worker waits for the answer.

#include <QEvent>
#include <QObject>

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "platform/MessageSink.h"

namespace roviro {

class Prompts;

// An application message as a Qt event: the event type is the message number.
class AppMessageEvent : public QEvent {
 public:
  AppMessageEvent(std::uint32_t msg, std::uintptr_t w, std::intptr_t l)
      : QEvent(static_cast<QEvent::Type>(msg)), message(msg), wParam(w), lParam(l) {}
  std::uint32_t message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
};

// True for the event types that carry application messages.
bool IsAppMessageEvent(const QEvent* event);

class QtMessageSink final : public QObject, public MessageSink {
  Q_OBJECT

 public:
  // Lives on the user-interface thread; `target` receives the posted messages and `prompts`
  // shows the boxes. Both must outlive the sink or be detached first.
  QtMessageSink(QObject* target, Prompts* prompts);
  ~QtMessageSink() override;

  void Post(std::uint32_t msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) override;
  int MessageBox(const std::string& text, const std::string& caption, std::uint32_t style) override;

  // From now on nothing is posted and waiting workers are released with a refusing answer
  // (Cancel, No or OK by the box's buttons), so that closing never waits for a box.
  void Shutdown();
  bool IsShutDown() const;
  // From now on messages are still posted, but no box is shown: each gets the refusing
  // answer at once (the window has been closed and only waits for its workers).
  void Quiet();
  bool IsQuiet() const;

  // The answer a box gets when nobody can show it.
  static int RefusingAnswer(std::uint32_t style);

 protected:
  bool event(QEvent* event) override;

 private:
  struct BoxRequest {
    std::string text;
    std::string caption;
    std::uint32_t style = 0;
    int answer = 0;
    bool done = false;
  };
  class BoxEvent;

  mutable std::mutex m_mutex;
  std::condition_variable m_answered;
  QObject* m_target;
  Prompts* m_prompts;
  bool m_shutDown = false;
  bool m_quiet = false;
};

}  // namespace roviro
