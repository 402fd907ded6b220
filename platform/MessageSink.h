#pragma once
// How the core reaches the main dialog: numbered messages posted to it, and message boxes.
// The GUI implementation posts Qt events and marshals boxes to the GUI thread; tests use
// RecordingMessageSink.

#include <cstdint>
#include <string>

namespace roviro {

// Message box style bits, with the values the program has always used.
enum MessageBoxStyle : std::uint32_t {
  kMbOk = 0x0,
  kMbOkCancel = 0x1,
  kMbYesNo = 0x4,
  kMbIconError = 0x10,
  kMbIconQuestion = 0x20,
  kMbIconWarning = 0x30,
  kMbIconInformation = 0x40,
  kMbDefaultButton2 = 0x100,  // the second button (No, Cancel) is the default
  kMbTopmost = 0x40000,
};

// Message box answers.
enum MessageBoxAnswer : int {
  kIdOk = 1,
  kIdCancel = 2,
  kIdYes = 6,
  kIdNo = 7,
};

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // Posts application message `msg` (20012 and up) to the main dialog; never blocks.
  virtual void Post(std::uint32_t msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) = 0;
  // Shows a message box and waits for the answer. Texts are ISO-8859-1 bytes.
  virtual int MessageBox(const std::string& text, const std::string& caption,
                         std::uint32_t style) = 0;
};

// A sink that drops everything: for callers that have nobody to tell.
class NullMessageSink final : public MessageSink {
 public:
  void Post(std::uint32_t, std::uintptr_t, std::intptr_t) override {}
  int MessageBox(const std::string&, const std::string&, std::uint32_t) override { return kIdOk; }
};

}  // namespace roviro
