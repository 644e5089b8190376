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
cmake --build "$build" -j2 --target fuzz_decode_manifest manifest_builder
builder="$build/tools/manifest_builder/manifest_builder"

corpus="$build/fuzz-corpus/decode_manifest"
texts="$build/fuzz-texts"
mkdir -p "$corpus" "$texts"
# Seeds: bodies as served (first byte even) and texts for the harness to pack
# (first byte odd, then the size word and the text).
printf 'Lanternfall\\DAC_VLMR\\0009.new\tD41D8CD98F00B204E9800998ECF8427E\thttp://h/0009.new\r\na.txt\t5D41402ABC4B2A76B9719D911017C592\thttp://h/a.txt\textra\r\n\r\nshort\tline\r\n' \
  >"$texts/text"
printf '\xb5\x5c\\x\tm\tu\x81\r\nq\tn\tv' >"$texts/gbk_text"
seed_container() {  # NAME TEXT SIZE_WORD: the container as a body seed
  "$builder" pack "$texts/$2" -o "$texts/$1.ini" --size-word "$3"
  { printf '\0'; cat "$texts/$1.ini"; } >"$corpus/$1"
}
seed_container valid text 200
seed_container tight text 80
seed_container small_n text 4
seed_container gbk gbk_text 64
{ printf '\0'; cat "$texts/text"; } >"$corpus/plain"
for name in text gbk_text; do
  { printf '\1\350\3\0\0'; cat "$texts/$name"; } >"$corpus/$name"  # size word 1000
done
# -close_fd_mask=2 hides the decoder's notes about skipped lines.
"$build/fuzz/fuzz_decode_manifest" "$corpus" -max_total_time="$seconds" -max_len=4096 \
  -close_fd_mask=2 -print_final_stats=1 -artifact_prefix="$build/fuzz-"
