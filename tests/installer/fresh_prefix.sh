#!/usr/bin/env bash
# The release package in a fresh Wine prefix of its own (own wineserver, the test session's display): the
# package is unpacked into a folder with a Japanese name, then the end-to-end program installs, starts and
# uninstalls it; a second unpacked copy is installed again, the uninstaller declined, then run with a file
# held open.
#   fresh_prefix.sh BUILD_DIR ZIP TEST_EXE
set -euo pipefail
b="$1"
zip="$2"
exe="$3"
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib.sh"
wine_env "$b"

work="$(mktemp -d "$b/install-e2e.XXXXXX")"
export WINEPREFIX="$work/prefix" HOME="$work/home"
mkdir -p "$HOME"
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

wineboot -i </dev/null >"$work/wineboot.log" 2>&1
# A crash gives an exit code instead of a dialog; the virtual desktop keeps window teardown fast.
reg="$work/prefix.reg"
{
    printf 'Windows Registry Editor Version 5.00\n\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\n"Desktop"="Default"\n\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\n"Default"="1024x768"\n\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\n"ShowCrashDialog"=dword:00000000\n\n'
} | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg"
wine regedit /S "Z:$(echo "$reg" | sed 's|/|\\|g')" </dev/null >>"$work/wineboot.log" 2>&1
wineserver -w
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

target="$WINEPREFIX/drive_c/ソフト"
unpack() {
    rm -rf "$target"
    mkdir -p "$target"
    (cd "$target" && cmake -E tar xf "$zip")
}
export SORABUNE_PACKAGE_FOLDER='C:\ソフト\Sorabune'

status=0
unpack
wine "$exe" --gtest_filter='-*AnsweredNo*:*CouldNotRemove*' </dev/null >"$work/story.log" 2>&1 || status=1
cat "$work/story.log"
unpack
wine "$exe" --gtest_filter='*AnsweredNo*:*CouldNotRemove*' </dev/null >"$work/declined.log" 2>&1 || status=1
cat "$work/declined.log"
exit $status
