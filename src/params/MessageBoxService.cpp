#include "MessageBoxService.h"

#include <atomic>
#include <cstdio>

namespace kest {

namespace {
std::atomic<IMessageBoxService*> gService{nullptr};
} // namespace

int RecordingMessageBoxService::Show(const std::string& text, const std::string& caption,
                                     unsigned flags) {
  std::lock_guard<std::mutex> guard(fLock);
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  fMessages.push_back({text, caption, flags});
  if (fMessages.size() > kKept) fMessages.pop_front();
  return 1;
}

std::vector<RecordedMessage> RecordingMessageBoxService::Messages() const {
  std::lock_guard<std::mutex> guard(fLock);
  return {fMessages.begin(), fMessages.end()};
}

void RecordingMessageBoxService::Clear() {
  std::lock_guard<std::mutex> guard(fLock);
  fMessages.clear();
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
