#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each for
# SECONDS (default 600) on one core, under AddressSanitizer and
# UndefinedBehaviorSanitizer: the GIF decoder from the seeds in fuzz/corpus,
# then the picture loader (every other format) from fuzz/picture-corpus.
# Inputs found go to fuzz/corpus-work and fuzz/picture-corpus-work (not
# committed), findings to build-fuzz/findings/. Every finding belongs in the
# tests as a regression test.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}

cmake -S . -B build-fuzz -G Ninja -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORL_FUZZ=ON >/dev/null
cmake --build build-fuzz --target gif_fuzzer picture_fuzzer -j2

mkdir -p fuzz/corpus-work fuzz/picture-corpus-work build-fuzz/findings
# One job on one worker each; libFuzzer writes the job's log to fuzz-0.log.
cd build-fuzz
status=0
for target in gif picture; do
  seeds=../fuzz/corpus
  [ $target = picture ] && seeds=../fuzz/picture-corpus
  LSAN_OPTIONS=suppressions=$PWD/../fuzz/lsan-libraries.supp ./fuzz/${target}_fuzzer -jobs=1 -workers=1 -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix=findings/ "$seeds-work" "$seeds" || status=$?
  tail -n 25 fuzz-0.log
done
exit $status
