#!/usr/bin/env bash
# Second line of defence for the code that handles untrusted bytes: the
# Qt-free tests (codec, code page, command line, fuzz corpus replay) again
# under AddressSanitizer and UBSan, then each codec fuzzer for a short,
# bounded time over a scratch copy of its seed corpus.
#
# Environment: ORVELIN_ASAN_DIR and ORVELIN_FUZZ_DIR (build folders,
# default build-asan and build-fuzz), ORVELIN_FUZZ_SECONDS (per fuzzer,
# default 10).
set -euo pipefail
cd "$(dirname "$0")/.."

asan_dir=${ORVELIN_ASAN_DIR:-build-asan}
fuzz_dir=${ORVELIN_FUZZ_DIR:-build-fuzz}
fuzz_seconds=${ORVELIN_FUZZ_SECONDS:-10}
jobs=$(nproc)

started=$SECONDS
step() { printf '== [%3d s] %s\n' "$((SECONDS - started))" "$*"; }

# Runs a command quietly; on failure shows the end of what it said.
quietly() {
  local log
  log=$(mktemp)
  if ! "$@" >"$log" 2>&1; then
    tail -n 40 "$log"
    rm -f "$log"
    return 1
  fi
  rm -f "$log"
}

step "sanitize: configuring $asan_dir (ASan + UBSan, no windows)"
quietly cmake --preset asan -B "$asan_dir"
step "sanitize: building"
quietly cmake --build "$asan_dir" -j "$jobs"
step "sanitize: running the tests"
if ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
   UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
   ctest --test-dir "$asan_dir" --output-on-failure -j "$jobs" >"$asan_dir/ctest.log" 2>&1; then
  step "sanitize: passed ($(grep -E 'tests passed' "$asan_dir/ctest.log" | tail -1))"
else
  cat "$asan_dir/ctest.log"
  step "sanitize: FAILED"
  exit 1
fi

if ! command -v clang++ >/dev/null 2>&1; then
  step "fuzz: skipped (no clang++)"
  exit 0
fi

step "fuzz: configuring $fuzz_dir (clang, libFuzzer)"
quietly cmake --preset fuzz -B "$fuzz_dir"
step "fuzz: building"
quietly cmake --build "$fuzz_dir" -j "$jobs" --target decode_fuzzer round_trip_fuzzer

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for target in decode round_trip; do
  mkdir -p "$scratch/$target/corpus"
  cp fuzz/corpus/"$target"/* "$scratch/$target/corpus/"
  step "fuzz: $target for ${fuzz_seconds}s"
  if "$fuzz_dir/fuzz/${target}_fuzzer" -max_total_time="$fuzz_seconds" \
       -artifact_prefix="$scratch/$target/" "$scratch/$target/corpus" \
       >"$scratch/$target/log" 2>&1; then
    step "fuzz: $target passed ($(grep -Eo 'Done [0-9]+ runs' "$scratch/$target/log" | tail -1))"
  else
    tail -n 40 "$scratch/$target/log"
    mkdir -p "$fuzz_dir/crashes"
    cp "$scratch/$target"/crash-* "$scratch/$target"/leak-* "$scratch/$target"/timeout-* \
       "$fuzz_dir/crashes/" 2>/dev/null || true
    step "fuzz: $target FAILED (inputs kept in $fuzz_dir/crashes)"
    exit 1
  fi
done
