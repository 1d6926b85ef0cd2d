#!/usr/bin/env bash
# Checks that Orvelin installs as a desktop program should: the install tree,
# its desktop entry and AppStream data, the manual pages, and the .deb built
# from it, installed, started and removed again.
#
# Use: scripts/check-install.sh [BUILD_DIR]   (default: build-pkg)
# A build directory that is not configured yet is configured without tests.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-build-pkg}"
[[ "$build" = /* ]] || build="$root/$build"
jobs="${ORVELIN_JOBS:-2}"

work="$(mktemp -d)"
# apt reads the .deb as an unprivileged user: let it in.
chmod 755 "$work"
we_installed=""

cleanup() {
  if [ -n "$we_installed" ]; then
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq orvelin >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

step() { printf 'check-install: %s [%d s]\n' "$*" "$SECONDS"; }
fail() { printf 'check-install: FAILED: %s\n' "$*" >&2; exit 1; }

# --- build -----------------------------------------------------------------
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DORVELIN_TESTS=OFF -DORVELIN_BENCH=OFF >/dev/null
fi
# The package is made from everything the build dir builds, so build it all.
cmake --build "$build" -j "$jobs" >"$work/build.log" 2>&1 \
  || { tail -n 40 "$work/build.log" >&2; fail "build in $build"; }
step "ok: built $build"

gui=OFF
grep -q '^ORVELIN_GUI:BOOL=ON' "$build/CMakeCache.txt" && gui=ON

# --- install into a scratch root ---------------------------------------------
dest="$work/root"
DESTDIR="$dest" cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 \
  || { cat "$work/install.log" >&2; fail "cmake --install"; }

expected=(
  usr/bin/orvelin-codec
  usr/share/man/man1/orvelin-codec.1
  usr/share/doc/orvelin/copyright
)
if [ "$gui" = ON ]; then
  expected+=(
    usr/bin/orvelin
    usr/share/man/man1/orvelin.1
    usr/share/applications/orvelin.desktop
    usr/share/metainfo/org.example.Orvelin.metainfo.xml
    usr/share/icons/hicolor/16x16/apps/orvelin.png
    usr/share/icons/hicolor/32x32/apps/orvelin.png
    usr/share/icons/hicolor/48x48/apps/orvelin.png
    usr/share/icons/hicolor/scalable/apps/orvelin.svg
  )
fi
for f in "${expected[@]}"; do
  [ -f "$dest/$f" ] || fail "cmake --install left out /$f"
done
for program in orvelin orvelin-codec; do
  [ ! -e "$dest/usr/bin/$program" ] || [ -x "$dest/usr/bin/$program" ] \
    || fail "/usr/bin/$program is not executable"
done
stray="$(cd "$dest" && find . -mindepth 1 -maxdepth 1 ! -name usr)"
[ -z "$stray" ] || fail "installed outside the prefix: $stray"
step "ok: cmake --install put ${#expected[@]} expected files under /usr (GUI $gui)"

# A theme icon of the wrong size is scaled blurry or skipped by the desktop.
if [ "$gui" = ON ]; then
  for size in 16 32 48; do
    png="$dest/usr/share/icons/hicolor/${size}x${size}/apps/orvelin.png"
    file -b "$png" | grep -q "PNG image data, $size x $size," \
      || fail "${size}x${size} icon is $(file -b "$png")"
  done
  step "ok: icons are 16, 32 and 48 pixels square"
fi

# --- desktop entry, AppStream data, manual page -----------------------------
if [ "$gui" = ON ]; then
  desktop-file-validate "$dest/usr/share/applications/orvelin.desktop" \
    || fail "desktop-file-validate orvelin.desktop"
  step "ok: desktop-file-validate orvelin.desktop"
  appstreamcli validate --no-net "$dest/usr/share/metainfo/org.example.Orvelin.metainfo.xml" \
    >"$work/appstream.log" 2>&1 || { cat "$work/appstream.log" >&2; fail "appstreamcli validate"; }
  step "ok: appstreamcli validate --no-net org.example.Orvelin.metainfo.xml"
  # The tree check also sees that the launchable desktop entry is installed.
  appstreamcli validate-tree --no-net "$dest" >"$work/appstream.log" 2>&1 \
    || { cat "$work/appstream.log" >&2; fail "appstreamcli validate-tree"; }
  step "ok: appstreamcli validate-tree --no-net finds the metainfo and its desktop entry"
fi

for page in "$dest"/usr/share/man/man1/*.1; do
  groff -man -ww -z -Tutf8 "$page" >"$work/man.log" 2>&1 || true
  [ ! -s "$work/man.log" ] || { cat "$work/man.log" >&2; fail "$(basename "$page") has troff warnings"; }
  step "ok: $(basename "$page") formats without warnings"
done

# --- the Debian package ------------------------------------------------------
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log" >&2; fail "cpack -G DEB"; }
debs=("$work"/pkg/orvelin_*.deb)
[ -f "${debs[0]}" ] || { ls "$work/pkg" >&2; fail "cpack made no orvelin_<version>_<arch>.deb"; }
deb="${debs[0]}"
depends="$(dpkg-deb --field "$deb" Depends)"
[ -n "$depends" ] || fail "$(basename "$deb") declares no dependencies"
step "ok: cpack made $(basename "$deb") (Depends: $depends)"

if [ "$(id -u)" -ne 0 ]; then
  step "skipped: installing the package needs root"
  exit 0
fi
if dpkg-query -W -f='${Status}' orvelin 2>/dev/null | grep -q "install ok installed"; then
  step "skipped: a package orvelin is already installed here; not replacing it"
  exit 0
fi

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$deb" \
  >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "apt-get install $(basename "$deb")"; }
we_installed=yes
step "ok: apt-get install $(basename "$deb")"

/usr/bin/orvelin-codec --help >"$work/help.txt" 2>&1 \
  || { cat "$work/help.txt" >&2; fail "/usr/bin/orvelin-codec --help"; }
[ -s "$work/help.txt" ] || fail "/usr/bin/orvelin-codec --help printed nothing"
step "ok: /usr/bin/orvelin-codec --help"

printf 'Orvelin install check\r\n' >"$work/sample.txt"
ORVELIN_CODE=check7 /usr/bin/orvelin-codec encode "$work/sample.txt" -o "$work/encoded.txt" \
  || fail "/usr/bin/orvelin-codec encode"
ORVELIN_CODE=check7 /usr/bin/orvelin-codec decode "$work/encoded.txt" -o "$work/restored.txt" \
  || fail "/usr/bin/orvelin-codec decode"
! cmp -s "$work/sample.txt" "$work/encoded.txt" && cmp -s "$work/sample.txt" "$work/restored.txt" \
  || fail "/usr/bin/orvelin-codec does not give back the text it encoded"
step "ok: /usr/bin/orvelin-codec encodes and decodes a text back"

if [ -x /usr/bin/orvelin ]; then
  mkdir -m 700 "$work/runtime"
  rc=0
  QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime" \
    timeout 3 /usr/bin/orvelin </dev/null >"$work/gui.log" 2>&1 || rc=$?
  [ "$rc" -eq 124 ] || { cat "$work/gui.log" >&2; fail "/usr/bin/orvelin ended on its own with code $rc"; }
  step "ok: /usr/bin/orvelin started and kept running until stopped"
fi

DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq orvelin >"$work/apt.log" 2>&1 \
  || { cat "$work/apt.log" >&2; fail "apt-get remove orvelin"; }
we_installed=""
[ ! -e /usr/bin/orvelin-codec ] || fail "/usr/bin/orvelin-codec is still there after removal"
step "ok: apt-get remove orvelin"
step "all checks passed"
