#include "component/module/host_heap.h"

#include <atomic>
#include <cstring>
#include <limits>

namespace vlmr::component::host {
namespace {

std::atomic<rt::RuntimeCallback> g_callback{nullptr};

// Array block: int32 dimension count, int32 extent, then the elements.
constexpr size_t kArrayHeader = 2 * sizeof(int32_t);

}  // namespace

void SetRuntimeCallback(rt::RuntimeCallback callback) { g_callback = callback; }

void* Allocate(size_t n) {
  const rt::RuntimeCallback callback = g_callback;
  if (callback == nullptr || n == 0 || n > size_t{std::numeric_limits<int32_t>::max()}) {
    return nullptr;
  }
  return reinterpret_cast<void*>(callback(rt::kRequestAllocate, static_cast<intptr_t>(n), 0));
}

void Free(void* block) {
  const rt::RuntimeCallback callback = g_callback;
  if (callback != nullptr && block != nullptr) {
    callback(rt::kRequestFree, reinterpret_cast<intptr_t>(block), 0);
  }
}

char* NewText(std::string_view bytes) {
  if (bytes.empty()) return nullptr;
  auto* text = static_cast<char*>(Allocate(bytes.size() + 1));
  if (text == nullptr) return nullptr;
  std::memcpy(text, bytes.data(), bytes.size());
  text[bytes.size()] = '\0';
  return text;
}

uint8_t* NewByteArray(std::string_view bytes) {
  if (bytes.empty()) return nullptr;
  auto* block = static_cast<uint8_t*>(Allocate(kArrayHeader + bytes.size()));
  if (block == nullptr) return nullptr;
  const int32_t header[2] = {1, static_cast<int32_t>(bytes.size())};
  std::memcpy(block, header, sizeof header);
  std::memcpy(block + kArrayHeader, bytes.data(), bytes.size());
  return block;
}

void* NewPointerArray(const std::vector<void*>& elements) {
  const size_t bytes = kArrayHeader + elements.size() * sizeof(void*);
  auto* block = static_cast<uint8_t*>(Allocate(bytes));
  if (block == nullptr) return nullptr;
  const int32_t header[2] = {1, static_cast<int32_t>(elements.size())};
  std::memcpy(block, header, sizeof header);
  if (!elements.empty()) {
    std::memcpy(block + kArrayHeader, elements.data(), elements.size() * sizeof(void*));
  }
  return block;
}

void FreePointerArray(void* array) {
  if (array == nullptr) return;
  int32_t header[2];
  std::memcpy(header, array, sizeof header);
  if (header[0] == 1) {
    auto* elements = static_cast<uint8_t*>(array) + kArrayHeader;
    for (int32_t i = 0; i < header[1]; ++i) {
      void* element;
      std::memcpy(&element, elements + size_t(i) * sizeof(void*), sizeof element);
      Free(element);
    }
  }
  Free(array);
}

}  // namespace vlmr::component::host
