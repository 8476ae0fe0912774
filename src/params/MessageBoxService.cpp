#include "MessageBoxService.h"

#include <atomic>

namespace kest {

namespace {
std::atomic<IMessageBoxService*> gService{nullptr};
} // namespace

int RecordingMessageBoxService::Show(const std::string& text, const std::string& caption,
                                     unsigned flags) {
  Messages.push_back({text, caption, flags});
  return 1;
}

RecordingMessageBoxService& RecordedMessages() {
  static RecordingMessageBoxService recorder;
  return recorder;
}

IMessageBoxService& MessageBoxService() {
  IMessageBoxService* s = gService.load();
  return s != nullptr ? *s : RecordedMessages();
}

void SetMessageBoxService(IMessageBoxService* service) {
  gService.store(service);
}

} // namespace kest
