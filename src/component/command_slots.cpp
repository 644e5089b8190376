#include "component/command_slots.h"

#include <array>
#include <atomic>
#include <cstdio>
#include <utility>

namespace vlmr::component {
namespace {

void NotLoaded(rt::RtValue*, int32_t, rt::RtValue*) {
  std::fputs("TARN: a command was called before the component was loaded\n", stderr);
}

// Filled once at start-up and read by any thread afterwards; empty before.
std::array<std::atomic<rt::CommandFn>, kCommandCount> g_slots{};

template <int32_t number>
void Forward(rt::RtValue* result, int32_t count, rt::RtValue* args) {
  const rt::CommandFn command = g_slots[number].load(std::memory_order_acquire);
  (command ? command : &NotLoaded)(result, count, args);
}

template <int32_t... numbers>
constexpr std::array<rt::CommandFn, kCommandCount> BuildEntries(
    std::integer_sequence<int32_t, numbers...>) {
  return {&Forward<numbers>...};
}

constexpr std::array<rt::CommandFn, kCommandCount> kEntries =
    BuildEntries(std::make_integer_sequence<int32_t, kCommandCount>{});

}  // namespace

void BindCommandSlots(const rt::CommandFn* commands) {
  for (int32_t k = 0; k < kCommandCount; ++k) {
    g_slots[k].store(commands[k], std::memory_order_release);
  }
}

rt::CommandFn CommandEntry(int32_t number) { return kEntries[number]; }

}  // namespace vlmr::component
