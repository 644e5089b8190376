#include "component/module/cache_commands.h"

#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "component/module/cache_store.h"
#include "component/module/command_arguments.h"
#include "component/module/host_heap.h"
#include "component/module/local_cache.h"
#include "component/module/memcached_cache.h"
#include "component/module_info.h"

namespace vlmr::component::cache {
namespace {

constexpr int64_t kDefaultMaxEntries = 100000;
constexpr int64_t kDefaultMaxBytes = 64 * 1024 * 1024;
constexpr int64_t kDefaultPoolSize = 4;
constexpr int64_t kLargestPoolSize = 64;
constexpr int64_t kFailedCount = -1;

// What an object variable holds: a handle on a cache, shared by clones.
struct CacheObject {
  std::shared_ptr<CacheStore> store;
};

CacheObject*& ObjectIn(void** variable) { return *reinterpret_cast<CacheObject**>(variable); }

void ReleaseObject(void** variable) {
  delete ObjectIn(variable);
  ObjectIn(variable) = nullptr;
}

// The cache of the object in argument i; null when there is none.
CacheStore* StoreOf(const CommandArguments& arguments, int32_t i = 0) {
  void** variable = arguments.Variable(i, kCacheObjectTag);
  if (variable == nullptr || ObjectIn(variable) == nullptr) return nullptr;
  return ObjectIn(variable)->store.get();
}

// The store and checked key of a member command (object, key, ...).
struct Member {
  CacheStore* store;
  std::string_view key;
  explicit operator bool() const { return store != nullptr && IsValidKey(key); }
};
Member MemberOf(const CommandArguments& arguments) {
  return {StoreOf(arguments), arguments.Text(1)};
}

// Seconds from now, 0 (or omitted) for none; negative ones are refused.
std::optional<int64_t> ExpiryArgument(const CommandArguments& arguments, int32_t i) {
  if (!arguments.Given(i)) return 0;
  const std::optional<int64_t> expiry = arguments.Integer(i);
  if (!expiry || *expiry < 0) return std::nullopt;
  return expiry;
}

// A limit argument: omitted or 0 gives the default; negative ones are refused.
std::optional<int64_t> LimitArgument(const CommandArguments& arguments, int32_t i,
                                     int64_t fallback) {
  if (!arguments.Given(i)) return fallback;
  const std::optional<int64_t> limit = arguments.Integer(i);
  if (!limit || *limit < 0) return std::nullopt;
  return *limit == 0 ? fallback : *limit;
}

// Puts a new cache into the object variable of argument 0 (making the object
// when the variable has none).
bool InstallStore(const CommandArguments& arguments, std::unique_ptr<CacheStore> store) {
  void** variable = arguments.Variable(0, kCacheObjectTag);
  if (variable == nullptr || store == nullptr) return false;
  if (ObjectIn(variable) == nullptr) ObjectIn(variable) = new CacheObject;
  ObjectIn(variable)->store = std::move(store);
  return true;
}

void StoreValue(RtValue* result, const CommandArguments& arguments, std::string_view value) {
  const Member member = MemberOf(arguments);
  const std::optional<int64_t> expiry = ExpiryArgument(arguments, 3);
  *result = RtValue::Bool(member && expiry && member.store->Set(member.key, value, *expiry));
}

// A text ends at its first zero byte; a value holding one reads as empty
// rather than cut short.
char* TextOf(std::string_view value) {
  return value.find('\0') == std::string_view::npos ? host::NewText(value) : nullptr;
}

using ElementMaker = void* (*)(std::string_view);
void* ByteArrayElement(std::string_view bytes) { return host::NewByteArray(bytes); }
void* TextElement(std::string_view text) { return TextOf(text); }

// The table variable (argument 1, of `tag`) receives an array of the found
// entries' keys and values, alternating; its old array is freed.
void FillTable(RtValue* result, const CommandArguments& arguments, uint32_t tag,
               ElementMaker make) {
  CacheStore* store = StoreOf(arguments);
  void** table = arguments.Variable(1, tag);
  std::vector<std::string_view> keys;
  for (int32_t i = 2; i < arguments.count(); ++i) keys.push_back(arguments.Text(i));
  bool valid = store != nullptr && table != nullptr && !keys.empty();
  for (std::string_view key : keys) valid = valid && IsValidKey(key);
  const std::optional<KeyValues> found = valid ? store->MultiGet(keys) : std::nullopt;
  if (!found) {
    *result = RtValue::Bool(false);
    return;
  }
  std::vector<void*> elements;
  for (const auto& [key, value] : *found) {
    elements.push_back(make(key));
    elements.push_back(make(value));
  }
  void* array = host::NewPointerArray(elements);
  if (array == nullptr) {
    for (void* element : elements) host::Free(element);
  }
  host::FreePointerArray(*table);
  *table = array;
  *result = RtValue::Bool(array != nullptr);
}

// Incr and Decr: a negative step moves the other way.
void MoveCounter(RtValue* result, const CommandArguments& arguments, bool up) {
  const Member member = MemberOf(arguments);
  const std::optional<int64_t> step = arguments.Given(2) ? arguments.Integer(2) : 1;
  const std::optional<int64_t> expiry = ExpiryArgument(arguments, 3);
  constexpr int64_t kLargestStep = std::numeric_limits<uint32_t>::max();
  std::optional<uint64_t> moved;
  if (member && step && expiry && *step >= -kLargestStep && *step <= kLargestStep) {
    const bool upward = *step < 0 ? !up : up;
    const uint64_t size = static_cast<uint64_t>(*step < 0 ? -*step : *step);
    moved = member.store->Move(member.key, size, upward, *expiry);
  }
  *result = RtValue::Int64(moved ? static_cast<int64_t>(*moved) : kFailedCount);
}

}  // namespace

void Create(RtValue*, int32_t count, RtValue* args) {
  void** variable = CommandArguments(count, args).Variable(0, kCacheObjectTag);
  if (variable != nullptr && ObjectIn(variable) == nullptr) ObjectIn(variable) = new CacheObject;
}

void Release(RtValue*, int32_t count, RtValue* args) {
  void** variable = CommandArguments(count, args).Variable(0, kCacheObjectTag);
  if (variable != nullptr) ReleaseObject(variable);
}

void Clone(RtValue*, int32_t count, RtValue* args) {
  const CommandArguments arguments(count, args);
  void** variable = arguments.Variable(0, kCacheObjectTag);
  void** source = arguments.Variable(1, kCacheObjectTag);
  if (variable == nullptr || source == variable) return;
  auto* copy = new CacheObject;
  if (source != nullptr && ObjectIn(source) != nullptr) copy->store = ObjectIn(source)->store;
  ReleaseObject(variable);
  ObjectIn(variable) = copy;
}

void CreateLocal(RtValue* result, int32_t count, RtValue* args) {
  const CommandArguments arguments(count, args);
  const std::optional<int64_t> entries = LimitArgument(arguments, 1, kDefaultMaxEntries);
  const std::optional<int64_t> bytes = LimitArgument(arguments, 2, kDefaultMaxBytes);
  *result = RtValue::Bool(entries && bytes &&
                          InstallStore(arguments, std::make_unique<LocalCache>(*entries, *bytes)));
}

void CreateMemcached(RtValue* result, int32_t count, RtValue* args) {
  const CommandArguments arguments(count, args);
  const std::optional<int64_t> poolSize = LimitArgument(arguments, 2, kDefaultPoolSize);
  const std::string_view servers = arguments.Text(1);
  const bool valid = poolSize && *poolSize <= kLargestPoolSize && !servers.empty() &&
                     arguments.Variable(0, kCacheObjectTag) != nullptr;
  *result = RtValue::Bool(
      valid && InstallStore(arguments,
                            ConnectMemcached(servers, static_cast<int32_t>(*poolSize))));
}

void Get(RtValue* result, int32_t count, RtValue* args) {
  const Member member = MemberOf(CommandArguments(count, args));
  const std::optional<std::string> value = member ? member.store->Get(member.key) : std::nullopt;
  *result = RtValue::Bytes(value ? host::NewByteArray(*value) : nullptr);
}

void GetText(RtValue* result, int32_t count, RtValue* args) {
  const Member member = MemberOf(CommandArguments(count, args));
  const std::optional<std::string> value = member ? member.store->Get(member.key) : std::nullopt;
  *result = RtValue::Text(value ? TextOf(*value) : nullptr);
}

void Set(RtValue* result, int32_t count, RtValue* args) {
  const CommandArguments arguments(count, args);
  StoreValue(result, arguments, arguments.Bytes(2));
}

void SetText(RtValue* result, int32_t count, RtValue* args) {
  const CommandArguments arguments(count, args);
  StoreValue(result, arguments, arguments.Text(2));
}

void MultiGet(RtValue* result, int32_t count, RtValue* args) {
  FillTable(result, CommandArguments(count, args),
            static_cast<uint32_t>(rt::RtType::ByteArray) | rt::kArrayFlag, &ByteArrayElement);
}

void MultiGetText(RtValue* result, int32_t count, RtValue* args) {
  FillTable(result, CommandArguments(count, args),
            static_cast<uint32_t>(rt::RtType::Text) | rt::kArrayFlag, &TextElement);
}

void Exists(RtValue* result, int32_t count, RtValue* args) {
  const Member member = MemberOf(CommandArguments(count, args));
  *result = RtValue::Bool(member && member.store->Exists(member.key));
}

void Delete(RtValue* result, int32_t count, RtValue* args) {
  const Member member = MemberOf(CommandArguments(count, args));
  *result = RtValue::Bool(member && member.store->Delete(member.key));
}

void Clear(RtValue* result, int32_t count, RtValue* args) {
  CacheStore* store = StoreOf(CommandArguments(count, args));
  *result = RtValue::Bool(store != nullptr && store->Clear());
}

void Incr(RtValue* result, int32_t count, RtValue* args) {
  MoveCounter(result, CommandArguments(count, args), true);
}

void Decr(RtValue* result, int32_t count, RtValue* args) {
  MoveCounter(result, CommandArguments(count, args), false);
}

void SetExpire(RtValue* result, int32_t count, RtValue* args) {
  const CommandArguments arguments(count, args);
  const Member member = MemberOf(arguments);
  const std::optional<int64_t> expiry = ExpiryArgument(arguments, 2);
  *result = RtValue::Bool(member && expiry && member.store->SetExpire(member.key, *expiry));
}

void Count(RtValue* result, int32_t count, RtValue* args) {
  CacheStore* store = StoreOf(CommandArguments(count, args));
  const std::optional<int64_t> entries = store ? store->Count() : std::nullopt;
  *result = RtValue::Int64(entries.value_or(kFailedCount));
}

void Add(RtValue* result, int32_t count, RtValue* args) {
  const CommandArguments arguments(count, args);
  const Member member = MemberOf(arguments);
  const std::optional<int64_t> expiry = ExpiryArgument(arguments, 3);
  *result = RtValue::Bool(member && expiry &&
                          member.store->Add(member.key, arguments.Bytes(2), *expiry));
}

}  // namespace vlmr::component::cache
