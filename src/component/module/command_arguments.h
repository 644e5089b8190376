// Reading the argument records of a command inside the module. A record that
// is missing (beyond the count), omitted or of another type reads as absent,
// so a command never follows a payload it cannot trust.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "runtime/rt_value.h"

namespace vlmr::component {

class CommandArguments {
 public:
  CommandArguments(int32_t count, rt::RtValue* args) : count_(count < 0 ? 0 : count), args_(args) {}

  int32_t count() const { return count_; }
  bool Given(int32_t i) const { return i < count_ && !args_[i].IsOmitted(); }
  // A text argument's bytes (up to its NUL); empty when absent or null.
  std::string_view Text(int32_t i) const;
  // A byte array argument's bytes; empty when absent or null.
  std::string_view Bytes(int32_t i) const;
  // An integer argument (byte, short, int or int64); nothing when absent.
  std::optional<int64_t> Integer(int32_t i) const;
  // The address of the caller's variable passed by reference with `tag`;
  // null when the record is absent, of another tag or null.
  void** Variable(int32_t i, uint32_t tag) const;

 private:
  int32_t count_;
  rt::RtValue* args_;
};

}  // namespace vlmr::component
