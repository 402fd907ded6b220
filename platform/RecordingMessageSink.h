#pragma once
// A MessageSink that records every post and message box, for tests. Thread-safe, since the
// workers post from their own threads. Message boxes answer with scripted answers in order,
// then with the default answer.

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/MessageSink.h"

namespace roviro {

class RecordingMessageSink final : public MessageSink {
 public:
  struct PostedMessage {
    std::uint32_t msg;
    std::uintptr_t wParam;
    std::intptr_t lParam;
  };
  struct ShownBox {
    std::string text;
    std::string caption;
    std::uint32_t style;
  };

  void Post(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override {
    std::lock_guard lock(m_mutex);
    m_posts.push_back({msg, wParam, lParam});
  }

  int MessageBox(const std::string& text, const std::string& caption,
                 std::uint32_t style) override {
    if (m_boxHook) m_boxHook();  // set before the workers run
    std::lock_guard lock(m_mutex);
    m_boxes.push_back({text, caption, style});
    if (!m_answers.empty()) {
      const int a = m_answers.front();
      m_answers.pop_front();
      return a;
    }
    return m_defaultAnswer;
  }

  void ScriptAnswer(int answer) {
    std::lock_guard lock(m_mutex);
    m_answers.push_back(answer);
  }
  // Runs on the asking thread whenever a box is asked for; set it before the workers start.
  void SetBoxHook(std::function<void()> hook) { m_boxHook = std::move(hook); }
  void SetDefaultAnswer(int answer) {
    std::lock_guard lock(m_mutex);
    m_defaultAnswer = answer;
  }

  std::vector<PostedMessage> Posts() const {
    std::lock_guard lock(m_mutex);
    return m_posts;
  }
  std::vector<ShownBox> Boxes() const {
    std::lock_guard lock(m_mutex);
    return m_boxes;
  }
  std::vector<std::uint32_t> PostedNumbers() const {
    std::lock_guard lock(m_mutex);
    std::vector<std::uint32_t> out;
    for (const auto& p : m_posts) out.push_back(p.msg);
    return out;
  }
  void Clear() {
    std::lock_guard lock(m_mutex);
    m_posts.clear();
    m_boxes.clear();
  }

 private:
  mutable std::mutex m_mutex;
  std::vector<PostedMessage> m_posts;
  std::vector<ShownBox> m_boxes;
  std::deque<int> m_answers;
  int m_defaultAnswer = kIdOk;
  std::function<void()> m_boxHook;
};

}  // namespace roviro
