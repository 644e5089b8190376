#!/usr/bin/env python3
"""Writes src/platform/gb18030_ranges.h: the runs of Basic Multilingual Plane
characters that GB18030 gives four-byte codes, each as (first character,
first linear index, length), from Python's own gb18030 codec. A four-byte
code b1 b2 b3 b4 has the linear index ((b1-0x81)*10 + (b2-0x30))*1260 +
(b3-0x81)*10 + (b4-0x30); within a run both grow by one.

Usage: tools/codepage/make_gb18030_ranges.py > src/platform/gb18030_ranges.h
"""

runs = []
for code in range(0x80, 0x10000):
    if 0xD800 <= code <= 0xDFFF:
        continue
    encoded = chr(code).encode("gb18030")
    if len(encoded) != 4:
        continue
    b1, b2, b3, b4 = encoded
    linear = ((b1 - 0x81) * 10 + (b2 - 0x30)) * 1260 + (b3 - 0x81) * 10 + (b4 - 0x30)
    if runs and code == runs[-1][0] + runs[-1][2] and linear == runs[-1][1] + runs[-1][2]:
        runs[-1][2] += 1
    else:
        runs.append([code, linear, 1])

print("// Made by tools/codepage/make_gb18030_ranges.py: the runs of Basic")
print("// Multilingual Plane characters with GB18030 four-byte codes, as (first")
print("// character, first linear index, length), in the order of both.")
print("#pragma once")
print()
print("#include <array>")
print("#include <cstdint>")
print()
print("namespace vlmr::platform::gb18030 {")
print()
print("struct Run {")
print("  uint32_t firstCharacter;")
print("  uint32_t firstLinear;")
print("  uint32_t length;")
print("};")
print()
print(f"inline constexpr std::array<Run, {len(runs)}> kBmpRuns = {{{{")
for first, linear, length in runs:
    print(f"    {{0x{first:04X}, {linear}, {length}}},")
print("}};")
print()
print("}  // namespace vlmr::platform::gb18030")
