#!/usr/bin/env bash
# Cross-builds the parts of Orvelin that need no Qt (codec, code page,
# instance guard, file access and orvelin-codec) for 64-bit Windows with
# mingw-w64, so that Linux-only code shows up early.
#
# Use: scripts/cross-windows.sh [BUILD_DIR]   (default: build-win)
# Installs g++-mingw-w64-x86-64 when missing and run as root; without it the
# check is skipped with a line saying so, and the script exits 0.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-build-win}"
[[ "$build" = /* ]] || build="$root/$build"
jobs="${ORVELIN_JOBS:-2}"
compiler=x86_64-w64-mingw32-g++-posix

say() { printf 'cross-windows: %s\n' "$*"; }
started=$SECONDS

if ! command -v "$compiler" >/dev/null 2>&1; then
  if [ "$(id -u)" -ne 0 ]; then
    say "skipped: $compiler is missing and installing it needs root (apt-get install g++-mingw-w64-x86-64)"
    exit 0
  fi
  say "installing g++-mingw-w64-x86-64"
  log="$(mktemp)"
  # About 130 MB; a slow mirror must not hold CI up for long.
  if ! timeout 600 bash -c 'apt-get update -qq && DEBIAN_FRONTEND=noninteractive \
         apt-get install -y -qq --no-install-recommends g++-mingw-w64-x86-64' >"$log" 2>&1; then
    tail -n 20 "$log" >&2
    rm -f "$log"
    say "skipped: g++-mingw-w64-x86-64 could not be installed (or not within 10 minutes)"
    exit 0
  fi
  rm -f "$log"
  say "ok: installed mingw-w64 in $((SECONDS - started)) s"
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
      -DORVELIN_GUI=OFF -DORVELIN_TESTS=OFF -DORVELIN_BENCH=OFF -DORVELIN_FUZZ=OFF >/dev/null
say "ok: configured $build for x86_64-w64-mingw32"

# Keep going past the first failure so one run lists every file that needs
# a Windows branch.
build_started=$SECONDS
log="$build/cross-windows.log"
if ! cmake --build "$build" -j "$jobs" -- -k 0 >"$log" 2>&1; then
  grep -E ': (fatal )?error:|undefined reference' "$log" | sort -u >&2 || true
  say "FAILED: the Windows build has errors (full log: $log)"
  exit 1
fi

exe="$build/cli/orvelin-codec.exe"
if [ -f "$exe" ]; then
  file -b "$exe" | grep -q 'PE32+ executable' || { say "FAILED: $exe is not a Windows program"; exit 1; }
  say "ok: built $(basename "$exe") ($(file -b "$exe" | cut -d, -f1))"
  # A clean Windows machine has no mingw runtime DLLs: only system ones may be needed.
  foreign="$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' \
             | grep -viE '^(kernel32|msvcrt|user32|advapi32|ucrtbase|api-ms-win-.*)\.dll$' || true)"
  [ -z "$foreign" ] || { say "FAILED: $(basename "$exe") needs DLLs Windows lacks: $foreign"; exit 1; }
  say "ok: $(basename "$exe") needs only the system's own DLLs"
else
  say "ok: built the libraries (orvelin-codec.exe is not part of the tree yet)"
fi
say "done in $((SECONDS - started)) s (build $((SECONDS - build_started)) s)"
