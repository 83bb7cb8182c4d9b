#!/usr/bin/env bash
# Builds the GIF decoder's libFuzzer target with clang in build-fuzz and runs
# it for SECONDS (default 600) on one core, under AddressSanitizer and
# UndefinedBehaviorSanitizer. It starts from the seed corpus in fuzz/corpus;
# inputs it finds go to fuzz/corpus-work (not committed), findings to
# build-fuzz/findings/. Every finding belongs in tests/gif as a regression test.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}

cmake -S . -B build-fuzz -G Ninja -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORL_FUZZ=ON >/dev/null
cmake --build build-fuzz --target gif_fuzzer -j2

mkdir -p fuzz/corpus-work build-fuzz/findings
# One job on one worker; libFuzzer writes the job's log to fuzz-0.log.
cd build-fuzz
status=0
./fuzz/gif_fuzzer -jobs=1 -workers=1 -max_total_time="$seconds" -print_final_stats=1 \
  -artifact_prefix=findings/ ../fuzz/corpus-work ../fuzz/corpus || status=$?
tail -n 25 fuzz-0.log
exit $status
