// Calls of the cache object type's commands with their real argument records,
// for the tests and the probe loaded into the launcher. Which routine answers
// each number is the caller's: the launcher's entry points and exports in the
// tests, the exports found by name and the module's table in the probe.
// Returned blocks come from the runtime's heap (the C heap) and are freed here.
#pragma once

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "component/module_info.h"
#include "runtime/rt_value.h"

namespace vlmr::test {

using component::CommandNumber;
using rt::RtType;
using rt::RtValue;

// Routines of commands 268-286.
struct CacheCalls {
  std::array<rt::CommandFn, component::kCacheAdd - component::kCacheCreate + 1> routines{};
  rt::CommandFn& operator[](int32_t number) { return routines[number - component::kCacheCreate]; }
  rt::CommandFn operator[](int32_t number) const {
    return routines[number - component::kCacheCreate];
  }
};

class TestCache {
 public:
  explicit TestCache(const CacheCalls& calls) : calls_(calls) { Call(component::kCacheCreate, {}); }
  ~TestCache() { Call(component::kCacheRelease, {}); }
  TestCache(const TestCache&) = delete;
  TestCache& operator=(const TestCache&) = delete;

  RtValue Object() {
    return RtValue::Make(static_cast<RtType>(component::kCacheObjectTag),
                         reinterpret_cast<uintptr_t>(&object_));
  }
  void* held() const { return object_; }

  bool CreateLocal(int64_t maxEntries, int64_t maxBytes) {
    return Call(component::kCacheCreateLocal, {RtValue::Int64(maxEntries), RtValue::Int64(maxBytes)})
        .AsBool();
  }
  bool CreateMemcached(const std::string& servers, int32_t poolSize) {
    return Call(component::kCacheCreateMemcached,
                {RtValue::Text(servers.c_str()), RtValue::Int(poolSize)})
        .AsBool();
  }
  void CloneFrom(TestCache& source) { Call(component::kCacheClone, {source.Object()}); }

  // Nothing for a missing key (or an empty value, which is the empty array).
  std::optional<std::string> Get(const std::string& key) {
    const RtValue r = Call(component::kCacheGet, {RtValue::Text(key.c_str())});
    return TakeBytes(r.AsPointer<char>());
  }
  std::string GetText(const std::string& key) {
    char* text = Call(component::kCacheGetText, {RtValue::Text(key.c_str())}).AsPointer<char>();
    std::string value = text ? text : "";
    std::free(text);
    return value;
  }
  bool Set(const std::string& key, const std::string& value, std::optional<int32_t> expiry = {}) {
    std::vector<char> bytes = ByteArray(value);
    return Call(component::kCacheSet, {RtValue::Text(key.c_str()),
                                       RtValue::Bytes(bytes.empty() ? nullptr : bytes.data()),
                                       Expiry(expiry)})
        .AsBool();
  }
  bool SetText(const std::string& key, const std::string& value, std::optional<int32_t> expiry = {}) {
    return Call(component::kCacheSetText,
                {RtValue::Text(key.c_str()), RtValue::Text(value.c_str()), Expiry(expiry)})
        .AsBool();
  }
  bool Add(const std::string& key, const std::string& value, std::optional<int32_t> expiry = {}) {
    std::vector<char> bytes = ByteArray(value);
    return Call(component::kCacheAdd, {RtValue::Text(key.c_str()), RtValue::Bytes(bytes.data()),
                                       Expiry(expiry)})
        .AsBool();
  }
  // The table as "key=value" pieces in order; nothing when the command failed.
  std::optional<std::vector<std::string>> MultiGet(const std::vector<std::string>& keys,
                                                   bool asText) {
    void* table = nullptr;
    const uint32_t base = static_cast<uint32_t>(asText ? RtType::Text : RtType::ByteArray);
    std::vector<RtValue> args = {RtValue::Make(static_cast<RtType>(base | rt::kArrayFlag),
                                               reinterpret_cast<uintptr_t>(&table))};
    for (const std::string& key : keys) args.push_back(RtValue::Text(key.c_str()));
    const bool ok =
        Call(asText ? component::kCacheMultiGetText : component::kCacheMultiGet, args).AsBool();
    std::vector<std::string> pairs = TakeTable(table, asText);
    if (!ok) return std::nullopt;
    return pairs;
  }
  bool Exists(const std::string& key) { return KeyCall(component::kCacheExists, key).AsBool(); }
  bool Delete(const std::string& key) { return KeyCall(component::kCacheDelete, key).AsBool(); }
  bool Clear() { return Call(component::kCacheClear, {}).AsBool(); }
  int64_t Incr(const std::string& key, int64_t step, std::optional<int32_t> expiry = {}) {
    return Call(component::kCacheIncr, {RtValue::Text(key.c_str()), RtValue::Int64(step), Expiry(expiry)})
        .AsInt64();
  }
  int64_t Decr(const std::string& key, int64_t step, std::optional<int32_t> expiry = {}) {
    return Call(component::kCacheDecr, {RtValue::Text(key.c_str()), RtValue::Int64(step), Expiry(expiry)})
        .AsInt64();
  }
  bool SetExpire(const std::string& key, int32_t expiry) {
    return Call(component::kCacheSetExpire, {RtValue::Text(key.c_str()), RtValue::Int(expiry)})
        .AsBool();
  }
  int64_t Count() { return Call(component::kCacheCount, {}).AsInt64(); }

  // Command `number` with the object first, then `args`.
  RtValue Call(int32_t number, std::vector<RtValue> args) {
    args.insert(args.begin(), Object());
    RtValue result{};
    calls_[number](&result, static_cast<int32_t>(args.size()), args.data());
    return result;
  }

 private:
  static RtValue Expiry(std::optional<int32_t> expiry) {
    return expiry ? RtValue::Int(*expiry) : RtValue::Omitted();
  }
  static std::vector<char> ByteArray(const std::string& value) {
    if (value.empty()) return {};
    std::vector<char> block(8 + value.size());
    const int32_t header[2] = {1, static_cast<int32_t>(value.size())};
    std::memcpy(block.data(), header, 8);
    std::memcpy(block.data() + 8, value.data(), value.size());
    return block;
  }
  static std::optional<std::string> TakeBytes(char* block) {
    if (block == nullptr) return std::nullopt;
    int32_t length;
    std::memcpy(&length, block + 4, 4);
    std::string value(block + 8, static_cast<size_t>(length));
    std::free(block);
    return value;
  }
  static std::vector<std::string> TakeTable(void* table, bool asText) {
    std::vector<std::string> pairs;
    if (table == nullptr) return pairs;
    int32_t count;
    std::memcpy(&count, static_cast<char*>(table) + 4, 4);
    auto** elements = reinterpret_cast<char**>(static_cast<char*>(table) + 8);
    for (int32_t i = 0; i + 1 < count; i += 2) {
      std::string key = asText ? std::string(elements[i]) : TakeBytes(elements[i]).value_or("");
      std::string value = asText ? std::string(elements[i + 1] ? elements[i + 1] : "")
                                 : TakeBytes(elements[i + 1]).value_or("");
      if (asText) {
        std::free(elements[i]);
        std::free(elements[i + 1]);
      }
      pairs.push_back(key + "=" + value);
    }
    std::free(table);
    return pairs;
  }
  RtValue KeyCall(int32_t number, const std::string& key) {
    return Call(number, {RtValue::Text(key.c_str())});
  }

  CacheCalls calls_;
  void* object_ = nullptr;
};

}  // namespace vlmr::test
