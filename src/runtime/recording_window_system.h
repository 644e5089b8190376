// A window system without windows: it records message boxes and sent messages
// and keeps control properties in memory. It answers until the real window
// system is installed, and in tests.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "runtime/window_system.h"

namespace vlmr::rt {

class RecordingWindowSystem : public WindowSystem {
 public:
  struct Box {
    std::string text;     // GBK
    std::string caption;  // GBK
    int32_t flags;
  };
  struct SentMessage {
    uint32_t windowId;
    uint32_t message;
    int64_t wparam;
    int64_t lparam;
  };
  struct PropertyWrite {
    uint32_t windowId;
    uint32_t controlId;
    int32_t index;
    uint64_t value;
    bool operator==(const PropertyWrite&) const = default;
  };

  // Makes a window count as loaded with the given controls.
  void AddWindow(uint32_t windowId, std::vector<uint32_t> controlIds);
  // The answer of the next message box (default: OK).
  void QueueAnswer(int32_t answer);

  std::vector<Box> Boxes();
  std::vector<SentMessage> SentMessages();
  // The last value written to a property, or 0.
  uint64_t Stored(uint32_t windowId, uint32_t controlId, int32_t index);
  // The text last written to a text property (GBK).
  std::string StoredText(uint32_t windowId, uint32_t controlId, int32_t index);
  // Every text written to a text property, in order.
  std::vector<std::string> TextHistory(uint32_t windowId, uint32_t controlId, int32_t index);
  // Every value written to a property, in order.
  std::vector<uint64_t> History(uint32_t windowId, uint32_t controlId, int32_t index);
  // Every property write of every control, in the order they were made.
  std::vector<PropertyWrite> Writes();
  // Marks a property as holding a text, so reads return copies.
  void MarkTextProperty(uint32_t windowId, uint32_t controlId, int32_t index);

  bool LoadWindow(uint32_t windowId) override;
  bool IsWindowLoaded(uint32_t windowId) override;
  bool HasControl(uint32_t windowId, uint32_t controlId) override;
  std::string WindowName(uint32_t windowId) override;
  std::string ControlName(uint32_t windowId, uint32_t controlId) override;
  uint64_t GetProperty(uint32_t windowId, uint32_t controlId, int32_t index,
                       int32_t element) override;
  void SetProperty(uint32_t windowId, uint32_t controlId, int32_t index, int32_t element,
                   uint32_t low, uint32_t high) override;
  int32_t ShowMessageBox(const char* text, int32_t flags, const char* caption) override;
  int32_t SendWindowMessage(uint32_t windowId, uint32_t message, int64_t wparam,
                            int64_t lparam) override;
  void ProcessPendingMessages() override {}
  void RunMessageLoop() override {}

 private:
  using Key = std::tuple<uint32_t, uint32_t, int32_t>;
  std::mutex mutex_;
  std::map<uint32_t, std::set<uint32_t>> windows_;
  std::map<Key, uint64_t> values_;
  std::map<Key, std::string> texts_;
  std::map<Key, std::vector<uint64_t>> history_;
  std::map<Key, std::vector<std::string>> textHistory_;
  std::vector<PropertyWrite> writes_;
  std::deque<int32_t> answers_;
  std::vector<Box> boxes_;
  std::vector<SentMessage> sent_;
};

}  // namespace vlmr::rt
