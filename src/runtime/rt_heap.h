// The runtime heap and the read-only constant pool of literal texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vlmr::rt {

// A block of n bytes from the process heap, contents undefined. Failure
// (including a negative n) is fatal: "分配 %d 字节内存失败!".
void* rt_alloc(int64_t n);
// Null and pointers into the constant pool are ignored.
void rt_free(void* p);
// Null behaves as rt_alloc; a pool pointer gives a new block holding the first
// min(n, bytes to the pool's end) bytes; otherwise resized in place or moved.
void* rt_realloc(void* p, int64_t n);

// The constant pool: literal texts of the launcher logic, stored once as GBK.
bool InConstantPool(const void* p);
size_t BytesToPoolEnd(const void* p);
// Interns a UTF-8 literal as GBK (NUL-terminated) and returns its pool address.
// The same literal always yields the same address.
const char* PoolText(std::string_view utf8);
// Places a copy of raw bytes (for example an array block) in the pool.
const void* PoolBytes(const void* data, size_t n);

namespace literals {
// "提示"_t is the GBK text of that literal, in the constant pool.
inline const char* operator""_t(const char* s, size_t n) { return PoolText({s, n}); }
}  // namespace literals

}  // namespace vlmr::rt
