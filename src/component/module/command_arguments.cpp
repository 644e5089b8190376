#include "component/module/command_arguments.h"

#include <cstring>

namespace vlmr::component {

std::string_view CommandArguments::Text(int32_t i) const {
  if (!Given(i) || args_[i].Type() != rt::RtType::Text) return {};
  const char* text = args_[i].AsPointer<const char>();
  return text ? std::string_view(text) : std::string_view();
}

std::string_view CommandArguments::Bytes(int32_t i) const {
  if (!Given(i) || args_[i].Type() != rt::RtType::ByteArray) return {};
  const auto* block = args_[i].AsPointer<const char>();
  if (block == nullptr) return {};
  int32_t length;
  std::memcpy(&length, block + sizeof(int32_t), sizeof length);
  return length > 0 ? std::string_view(block + 2 * sizeof(int32_t), size_t(length))
                    : std::string_view();
}

std::optional<int64_t> CommandArguments::Integer(int32_t i) const {
  if (!Given(i)) return std::nullopt;
  switch (args_[i].Type()) {
    case rt::RtType::Byte: return args_[i].Low() & 0xFF;
    case rt::RtType::Short: return static_cast<int16_t>(args_[i].Low());
    case rt::RtType::Int: return args_[i].AsInt();
    case rt::RtType::Int64: return args_[i].AsInt64();
    default: return std::nullopt;
  }
}

void** CommandArguments::Variable(int32_t i, uint32_t tag) const {
  if (!Given(i) || args_[i].type != tag) return nullptr;
  return args_[i].AsPointer<void*>();
}

}  // namespace vlmr::component
