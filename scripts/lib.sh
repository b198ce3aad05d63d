# Shared settings of the project scripts: the target, where its build lives and the Wine environment every
# Wine process of the project gets. Sourced, never run.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# SORABUNE_TARGET chooses the Windows build: x86_64 (default) or i686 (32-bit Windows). Each target has its
# own build folder under build/, so switching never rebuilds the other.
SORABUNE_TARGET="${SORABUNE_TARGET:-x86_64}"
case "$SORABUNE_TARGET" in
x86_64 | i686) ;;
*) echo "SORABUNE_TARGET must be x86_64 or i686, not '$SORABUNE_TARGET'" >&2; exit 2 ;;
esac
BUILD_ROOT="$ROOT/build"
BUILD_DIR="${SORABUNE_BUILD_DIR:-$BUILD_ROOT/$SORABUNE_TARGET}"
case "$BUILD_DIR" in /*) ;; *) BUILD_DIR="$ROOT/$BUILD_DIR" ;; esac
TOOLCHAIN_FILE="$ROOT/cmake/mingw-$SORABUNE_TARGET.cmake"

# Wine's loaders are called directly: Debian's /usr/bin/wine picks the 32-bit loader whenever its file exists,
# even on a kernel that cannot run 32-bit programs.
WINE64_LOADER=/usr/lib/wine/wine64
WINE32_LOADER=/usr/lib/wine/wine

# The target of a build folder: what CMake recorded there, else the chosen one.
build_target() {
    if [ -s "$1/wine.target" ]; then cat "$1/wine.target"; else echo "$SORABUNE_TARGET"; fi
}

wine_env() {
    local b="$1"
    export WINEPREFIX="$b/wineprefix"
    export HOME="$b/wineprefix.home"
    export WINEARCH=win64
    # Wine's own errors only: quiet in a run that goes well (a handful of lines in the whole suite), and the reason
    # when a program cannot start.
    export WINEDEBUG="${SORABUNE_WINEDEBUG:-err+all}"
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export LANG=ja_JP.UTF-8
    export LC_ALL=ja_JP.UTF-8
    export ALSA_CONFIG_PATH="$b/alsa.conf"
    if [ "$(build_target "$b")" = i686 ]; then
        # The 32-bit loader starts 64-bit helpers of the prefix through wine64 by itself.
        SORABUNE_WINE="$WINE32_LOADER"
        unset WINELOADER
    else
        SORABUNE_WINE="$WINE64_LOADER"
        export WINELOADER="$WINE64_LOADER"
    fi
    export SORABUNE_WINE
    # Wine processes start without address-space randomisation where the kernel allows it. With it, about one
    # start in 4,000 here found a randomised mapping at the fixed address of Windows' shared user data ("failed to
    # map the shared user data: c0000018"), and Wine ended that process before the program ran: status 1 for a
    # start from here, error 1359 for a CreateProcess of a test. Without it every start lays out its address space
    # alike. The processes a Wine process starts inherit the setting.
    if [ -z "${SORABUNE_WINE_LAUNCH+set}" ]; then
        SORABUNE_WINE_LAUNCH=""
        if setarch "$(uname -m)" -R true 2>/dev/null; then
            SORABUNE_WINE_LAUNCH="setarch $(uname -m) -R"
        fi
        export SORABUNE_WINE_LAUNCH
    fi
    if [ -x /usr/lib/wine/wineserver64 ]; then
        export WINESERVER=/usr/lib/wine/wineserver64
    else
        export WINESERVER=/usr/lib/wine/wineserver32
    fi
    if [ -z "${SORABUNE_KEEP_DISPLAY:-}" ] && [ -s "$b/wine.display" ]; then
        export DISPLAY=":$(cat "$b/wine.display")"
    fi
}

# Wine's commands, run by the loader of the build folder's target (wine_env sets it).
wine() { $SORABUNE_WINE_LAUNCH "${SORABUNE_WINE:-$WINE64_LOADER}" "$@"; }
wineboot() { wine wineboot.exe "$@"; }
wineserver() { "${WINESERVER:-/usr/lib/wine/wineserver64}" "$@"; }

# True when this machine runs 32-bit x86 Linux programs (the 32-bit Wine loader is one). Some kernels have
# that emulation switched off; they fail with "Exec format error". The probe is a minimal static i386 ELF
# program that only exits, so nothing needs to be installed to ask.
can_run_32bit() {
    local probe
    probe="$(mktemp)"
    python3 - "$probe" <<'PY'
import struct, sys
code = bytes([0x31, 0xDB, 0xB8, 1, 0, 0, 0, 0xCD, 0x80])  # xor ebx,ebx; mov eax,1 (exit); int 0x80
size = 52 + 32 + len(code)
header = b"\x7fELF" + bytes([1, 1, 1, 0]) + bytes(8) + struct.pack(
    "<HHIIIIIHHHHHH", 2, 3, 1, 0x08048054, 52, 0, 0, 52, 32, 1, 0, 0, 0)
segment = struct.pack("<IIIIIIII", 1, 0, 0x08048000, 0x08048000, size, size, 5, 0x1000)
open(sys.argv[1], "wb").write(header + segment + code)
PY
    chmod +x "$probe"
    local ok=1
    "$probe" >/dev/null 2>&1 && ok=0
    rm -f "$probe"
    return $ok
}

# apt's own error lines of a log, on one line ("E: ..."), or its last line when it has none.
apt_error() {
    local errors
    errors="$(grep -a '^E: ' "$1" | head -n 3 | tr '\n' ' ' | sed 's/ $//')"
    [ -n "$errors" ] || errors="$(tail -n 1 "$1")"
    echo "${errors:-no output}"
}
