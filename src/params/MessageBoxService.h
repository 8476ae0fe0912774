#pragma once
// Messages to the user go through one service: the ui toolkit installs a real
// message box; without it the messages are recorded (tests read them).
#include <cstddef>
#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <vector>

namespace kest {

// Icon and button flags with the platform's values.
enum MessageBoxFlags : unsigned {
  kMbOk = 0x00,
  kMbIconError = 0x10,
  kMbIconQuestion = 0x20,
  kMbIconExclamation = 0x30,
  kMbIconInformation = 0x40,
};

class IMessageBoxService {
public:
  virtual ~IMessageBoxService() = default;
  // Shows text (UTF-8) with a caption; answers the button pressed (1 = OK).
  virtual int Show(const std::string& text, const std::string& caption, unsigned flags) = 0;
};

struct RecordedMessage {
  std::string text;
  std::string caption;
  unsigned flags;
};

// The default until a ui installs its own: prints every message to stderr and
// keeps the most recent few (tests read them).
class RecordingMessageBoxService : public IMessageBoxService {
public:
  static constexpr std::size_t kKept = 16;

  int Show(const std::string& text, const std::string& caption, unsigned flags) override;
  std::vector<RecordedMessage> Messages() const; // oldest first
  void Clear();

private:
  mutable std::mutex fLock;
  std::deque<RecordedMessage> fMessages;
};

// The installed service (the recording one by default).
IMessageBoxService& MessageBoxService();
// Installs a service; null restores the recording default. Not owned.
void SetMessageBoxService(IMessageBoxService* service);
// The default recording service, for tests.
RecordingMessageBoxService& RecordedMessages();

// Ends an operation after its failure has been shown to the user; callers
// catch it and report nothing more.
class EAbort : public std::exception {
public:
  const char* what() const noexcept override { return "Operation aborted"; }
};

} // namespace kest
