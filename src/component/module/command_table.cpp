#include "component/module/command_table.h"

#include <atomic>
#include <cstdio>
#include <utility>

#include "component/module/cache_commands.h"
#include "component/module/text_file_commands.h"

namespace vlmr::component {
namespace {

struct ProvidedCommand {
  int32_t number;
  rt::CommandFn routine;
};

// The commands this component provides; every other number is bound to
// NotProvided.
constexpr ProvidedCommand kProvided[] = {
    {kReadStringFileNumber, &ReadStringFile},
    {kWriteStringFileNumber, &WriteStringFile},
    {kCacheCreate, &cache::Create},
    {kCacheRelease, &cache::Release},
    {kCacheClone, &cache::Clone},
    {kCacheCreateLocal, &cache::CreateLocal},
    {kCacheCreateMemcached, &cache::CreateMemcached},
    {kCacheGet, &cache::Get},
    {kCacheGetText, &cache::GetText},
    {kCacheSet, &cache::Set},
    {kCacheSetText, &cache::SetText},
    {kCacheMultiGet, &cache::MultiGet},
    {kCacheMultiGetText, &cache::MultiGetText},
    {kCacheExists, &cache::Exists},
    {kCacheDelete, &cache::Delete},
    {kCacheClear, &cache::Clear},
    {kCacheIncr, &cache::Incr},
    {kCacheDecr, &cache::Decr},
    {kCacheSetExpire, &cache::SetExpire},
    {kCacheCount, &cache::Count},
    {kCacheAdd, &cache::Add},
};

// Command `number` of the suite that this component does not carry: its
// result stays zero, and the first call says so on standard error.
template <int32_t number>
void NotProvided(rt::RtValue*, int32_t, rt::RtValue*) {
  static std::atomic<bool> said{false};
  if (!said.exchange(true)) {
    std::fprintf(stderr, "TARN: command %d is not provided by this component\n", number);
  }
}

template <int32_t... numbers>
constexpr std::array<rt::CommandFn, kCommandCount> BuildTable(
    std::integer_sequence<int32_t, numbers...>) {
  std::array<rt::CommandFn, kCommandCount> table = {&NotProvided<numbers>...};
  for (const ProvidedCommand& command : kProvided) table[command.number] = command.routine;
  return table;
}

constexpr std::array<rt::CommandFn, kCommandCount> kTable =
    BuildTable(std::make_integer_sequence<int32_t, kCommandCount>{});

}  // namespace

const std::array<rt::CommandFn, kCommandCount>& CommandTable() { return kTable; }

}  // namespace vlmr::component
