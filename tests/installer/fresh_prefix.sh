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

# Each part passes only when Wine ends it with status 0 and GoogleTest counts every case of the part as passed:
# a program that crashed after its summary, or that ran fewer cases than the source holds, fails here.
source_file="$(dirname "${BASH_SOURCE[0]}")/InstallEndToEndTest.cpp"
declined_cases=$(grep -cE '^TEST_F\(InstallEndToEndTest, \w*(AnsweredNo|CouldNotRemove)' "$source_file")
story_cases=$(($(grep -cE '^TEST_F\(InstallEndToEndTest, ' "$source_file") - declined_cases))
status=0
run_part() {
    local log="$work/$1.log" filter="$2" cases="$3" code=0
    wine "$exe" --gtest_filter="$filter" </dev/null >"$log" 2>&1 || code=$?
    cat "$log"
    if [ $code -ne 0 ]; then
        echo "fresh_prefix.sh: the $1 part ended with exit status $code"
        status=1
    elif ! grep -q "^\[  PASSED  \] $cases tests\?\." "$log"; then
        echo "fresh_prefix.sh: the $1 part did not pass all of its $cases cases"
        status=1
    fi
}
unpack
run_part story '-*AnsweredNo*:*CouldNotRemove*' "$story_cases"
unpack
run_part declined '*AnsweredNo*:*CouldNotRemove*' "$declined_cases"
exit $status
