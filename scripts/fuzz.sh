#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 60)
# from the seed corpus in fuzz/corpus/. New inputs go to a scratch copy; a crash
# leaves its input in build-fuzz/crashes/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/setup.sh test build-fuzz -DTQ_FUZZ=ON -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14
# Absolute paths: the targets move into a scratch folder of their own.
top=$(pwd)
mkdir -p build-fuzz/crashes
for target in build-fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus=$top/build-fuzz/corpus-$name
  mkdir -p "$corpus"
  cp -n fuzz/corpus/"${name#fuzz_}"/* "$corpus"/ 2>/dev/null || true
  echo "== $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=4096 \
    -artifact_prefix="$top/build-fuzz/crashes/$name-" -print_final_stats=1 "$corpus" 2>&1 | tail -n 12
done
