#include "runtime/rt_heap.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/codepage.h"
#include "runtime/runtime_frame.h"

namespace vlmr::rt {
namespace {

// The pool is one fixed region so that "is this a literal?" is a bounds test.
constexpr size_t kPoolCapacity = 1 << 20;
alignas(16) char g_pool[kPoolCapacity];
size_t g_poolUsed = 0;
std::recursive_mutex g_poolMutex;  // recursive: a full pool reports through PoolText

std::unordered_map<std::string, const char*>& InternedTexts() {
  static auto* map = new std::unordered_map<std::string, const char*>();
  return *map;
}

[[noreturn]] void AllocationFailed(int64_t n) {
  std::string message = PoolText("分配 ");
  message += std::to_string(n);
  message += PoolText(" 字节内存失败!");
  fatal_message(message);
}

// Appends bytes to the pool; the caller holds the mutex.
const char* AppendToPool(const void* data, size_t n, bool terminate) {
  size_t need = n + (terminate ? 1 : 0);
  size_t start = (g_poolUsed + 15) & ~size_t{15};
  if (start + need > kPoolCapacity) AllocationFailed(static_cast<int64_t>(need));
  std::memcpy(g_pool + start, data, n);
  if (terminate) g_pool[start + n] = '\0';
  g_poolUsed = start + need;
  return g_pool + start;
}

}  // namespace

void* rt_alloc(int64_t n) {
  if (n < 0) AllocationFailed(n);
  void* p = std::malloc(n == 0 ? 1 : static_cast<size_t>(n));
  if (p == nullptr) AllocationFailed(n);
  return p;
}

void rt_free(void* p) {
  if (p == nullptr || InConstantPool(p)) return;
  std::free(p);
}

void* rt_realloc(void* p, int64_t n) {
  if (p == nullptr) return rt_alloc(n);
  if (n < 0) AllocationFailed(n);
  if (InConstantPool(p)) {
    void* fresh = rt_alloc(n);
    size_t available = BytesToPoolEnd(p);
    std::memcpy(fresh, p, std::min<size_t>(static_cast<size_t>(n), available));
    return fresh;
  }
  void* moved = std::realloc(p, n == 0 ? 1 : static_cast<size_t>(n));
  if (moved == nullptr) AllocationFailed(n);
  return moved;
}

bool InConstantPool(const void* p) {
  auto* c = static_cast<const char*>(p);
  return c >= g_pool && c < g_pool + kPoolCapacity;
}

size_t BytesToPoolEnd(const void* p) {
  return InConstantPool(p) ? static_cast<size_t>(g_pool + kPoolCapacity - static_cast<const char*>(p))
                           : 0;
}

const char* PoolText(std::string_view utf8) {
  std::lock_guard lock(g_poolMutex);
  auto& interned = InternedTexts();
  std::string key(utf8);
  if (auto it = interned.find(key); it != interned.end()) return it->second;
  std::string gbk = platform::Utf8ToGbk(utf8);
  const char* address = AppendToPool(gbk.data(), gbk.size(), true);
  interned.emplace(std::move(key), address);
  return address;
}

const void* PoolBytes(const void* data, size_t n) {
  std::lock_guard lock(g_poolMutex);
  return AppendToPool(data, n, false);
}

}  // namespace vlmr::rt
