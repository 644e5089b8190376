#!/usr/bin/env bash
# Builds the manifest-decoder fuzz target with clang (libFuzzer + ASan) and runs
# it for a bounded time. Usage: fuzz/run_fuzz.sh [SECONDS] [BUILD_DIR]
# Needs clang and libclang-rt-dev (the libFuzzer runtime).
set -euo pipefail
seconds="${1:-300}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${2:-$root/build-fuzz}"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVLMR_FUZZ=ON -DVLMR_BUILD_TESTS=OFF -DVLMR_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j2 --target fuzz_decode_manifest

corpus="$build/fuzz-corpus/decode_manifest"
mkdir -p "$corpus"
# Seeds: bodies as served (first byte even) and texts for the harness to pack
# (first byte odd, then the size word and the text).
python3 - "$corpus" <<'PY'
import os, struct, sys, zlib
out = sys.argv[1]
text = (b"Lanternfall\\DAC_VLMR\\0009.new\tD41D8CD98F00B204E9800998ECF8427E\thttp://h/0009.new\r\n"
        b"a.txt\t5D41402ABC4B2A76B9719D911017C592\thttp://h/a.txt\textra\r\n\r\nshort\tline\r\n")
def container(n, body=text):
    return struct.pack("<II", 0x033E0F0D, n) + zlib.compress(body, 9)
seeds = {"valid": container(len(text)), "tight": container(len(text) // 2),
         "small_n": container(4), "plain": text, "gbk": container(64, b"\xb5\x5c\\x\tm\tu\x81\r\nq\tn\tv")}
for name, data in seeds.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(b"\0" + data)
for name, body in {"text": text, "gbk_text": b"\xb5\x5c\\x\tm\tu\x81\r\nq\tn\tv\r\n"}.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(b"\1" + struct.pack("<I", 1000) + body)
PY
# -close_fd_mask=2 hides the decoder's notes about skipped lines.
"$build/fuzz/fuzz_decode_manifest" "$corpus" -max_total_time="$seconds" -max_len=4096 \
  -close_fd_mask=2 -print_final_stats=1 -artifact_prefix="$build/fuzz-"
