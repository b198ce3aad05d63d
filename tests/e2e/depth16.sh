#!/usr/bin/env bash
# The refusal on a display of fewer than 24 bits: a 16-bit Xvfb and a throw-away copy of the project's Wine
# prefix (its own wineserver), then the end-to-end test that expects the message box.
#   depth16.sh BUILD_DIR E2E_TEST_EXE
set -euo pipefail
b="$1"
exe="$2"
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib.sh"
SORABUNE_KEEP_DISPLAY=1 wine_env "$b"

work="$(mktemp -d "$b/depth16.XXXXXX")"
n=$((200 + RANDOM % 300))
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
cleanup() {
    WINEPREFIX="$work/prefix" wineserver -k >/dev/null 2>&1 || true
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb ":$n" -screen 0 1024x768x16 -nolisten tcp </dev/null >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done

# The registry is copied; drive C (over a gigabyte) is shared, the test writes nothing there.
mkdir "$work/prefix"
cp -a "$WINEPREFIX"/*.reg "$WINEPREFIX"/.update-timestamp "$WINEPREFIX"/dosdevices "$work/prefix/"
ln -s "$WINEPREFIX/drive_c" "$work/prefix/drive_c"
export WINEPREFIX="$work/prefix" DISPLAY=":$n"
wine "$exe" --gtest_filter='ProgramTest.LowColourDisplayIsRefusedWithTheMessageWhateverTheArguments' \
    </dev/null >"$work/test.log" 2>&1 || { cat "$work/test.log"; exit 1; }
cat "$work/test.log"
grep -q '\[  PASSED  \] 1 test' "$work/test.log"
