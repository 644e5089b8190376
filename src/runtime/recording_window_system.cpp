#include "runtime/recording_window_system.h"

#include "runtime/rt_blocks.h"

namespace vlmr::rt {

void RecordingWindowSystem::AddWindow(uint32_t windowId, std::vector<uint32_t> controlIds) {
  std::lock_guard lock(mutex_);
  windows_[windowId].insert(controlIds.begin(), controlIds.end());
}

void RecordingWindowSystem::QueueAnswer(int32_t answer) {
  std::lock_guard lock(mutex_);
  answers_.push_back(answer);
}

std::vector<RecordingWindowSystem::Box> RecordingWindowSystem::Boxes() {
  std::lock_guard lock(mutex_);
  return boxes_;
}

std::vector<RecordingWindowSystem::SentMessage> RecordingWindowSystem::SentMessages() {
  std::lock_guard lock(mutex_);
  return sent_;
}

uint64_t RecordingWindowSystem::Stored(uint32_t windowId, uint32_t controlId, int32_t index) {
  std::lock_guard lock(mutex_);
  auto it = values_.find({windowId, controlId, index});
  return it == values_.end() ? 0 : it->second;
}

std::string RecordingWindowSystem::StoredText(uint32_t windowId, uint32_t controlId,
                                              int32_t index) {
  std::lock_guard lock(mutex_);
  auto it = texts_.find({windowId, controlId, index});
  return it == texts_.end() ? std::string() : it->second;
}

std::vector<std::string> RecordingWindowSystem::TextHistory(uint32_t windowId, uint32_t controlId,
                                                           int32_t index) {
  std::lock_guard lock(mutex_);
  auto it = textHistory_.find({windowId, controlId, index});
  return it == textHistory_.end() ? std::vector<std::string>() : it->second;
}

std::vector<uint64_t> RecordingWindowSystem::History(uint32_t windowId, uint32_t controlId,
                                                     int32_t index) {
  std::lock_guard lock(mutex_);
  auto it = history_.find({windowId, controlId, index});
  return it == history_.end() ? std::vector<uint64_t>() : it->second;
}

std::vector<RecordingWindowSystem::PropertyWrite> RecordingWindowSystem::Writes() {
  std::lock_guard lock(mutex_);
  return writes_;
}

void RecordingWindowSystem::MarkTextProperty(uint32_t windowId, uint32_t controlId,
                                             int32_t index) {
  std::lock_guard lock(mutex_);
  texts_.try_emplace({windowId, controlId, index});
}

bool RecordingWindowSystem::LoadWindow(uint32_t windowId) {
  std::lock_guard lock(mutex_);
  windows_[windowId];
  return true;
}

bool RecordingWindowSystem::IsWindowLoaded(uint32_t windowId) {
  std::lock_guard lock(mutex_);
  return windows_.count(windowId) != 0;
}

bool RecordingWindowSystem::HasControl(uint32_t windowId, uint32_t controlId) {
  std::lock_guard lock(mutex_);
  auto it = windows_.find(windowId);
  return it != windows_.end() && it->second.count(controlId) != 0;
}

std::string RecordingWindowSystem::WindowName(uint32_t) { return {}; }
std::string RecordingWindowSystem::ControlName(uint32_t, uint32_t) { return {}; }

uint64_t RecordingWindowSystem::GetProperty(uint32_t windowId, uint32_t controlId,
                                            int32_t index, int32_t) {
  std::lock_guard lock(mutex_);
  Key key{windowId, controlId, index};
  if (auto text = texts_.find(key); text != texts_.end()) {
    return reinterpret_cast<uintptr_t>(NewText(text->second));
  }
  auto it = values_.find(key);
  return it == values_.end() ? 0 : it->second;
}

void RecordingWindowSystem::SetProperty(uint32_t windowId, uint32_t controlId, int32_t index,
                                        int32_t, uint32_t low, uint32_t high) {
  std::lock_guard lock(mutex_);
  Key key{windowId, controlId, index};
  uint64_t value = (uint64_t{high} << 32) | low;
  values_[key] = value;
  history_[key].push_back(value);
  writes_.push_back({windowId, controlId, index, value});
  if (auto text = texts_.find(key); text != texts_.end()) {
    text->second = TextView(reinterpret_cast<const char*>(static_cast<uintptr_t>(value)));
    textHistory_[key].push_back(text->second);
  }
}

int32_t RecordingWindowSystem::ShowMessageBox(const char* text, int32_t flags,
                                              const char* caption) {
  std::lock_guard lock(mutex_);
  boxes_.push_back({std::string(TextView(text)), std::string(TextView(caption)), flags});
  if (answers_.empty()) return kBoxOk;
  int32_t answer = answers_.front();
  answers_.pop_front();
  return answer;
}

int32_t RecordingWindowSystem::SendWindowMessage(uint32_t windowId, uint32_t message,
                                                 int64_t wparam, int64_t lparam) {
  std::lock_guard lock(mutex_);
  sent_.push_back({windowId, message, wparam, lparam});
  return 0;
}

}  // namespace vlmr::rt
