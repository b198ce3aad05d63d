# Shared settings of the project scripts: where the build lives and the Wine environment every
# Wine process of the project gets. Sourced, never run.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${SORABUNE_BUILD_DIR:-$ROOT/build}"
case "$BUILD_DIR" in /*) ;; *) BUILD_DIR="$ROOT/$BUILD_DIR" ;; esac

wine_env() {
    local b="$1"
    export WINEPREFIX="$b/wineprefix"
    export HOME="$b/wineprefix.home"
    export WINEARCH=win64
    export WINEDEBUG="${SORABUNE_WINEDEBUG:--all}"
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export LANG=ja_JP.UTF-8
    export LC_ALL=ja_JP.UTF-8
    export ALSA_CONFIG_PATH="$b/alsa.conf"
    if [ -z "${SORABUNE_KEEP_DISPLAY:-}" ] && [ -s "$b/wine.display" ]; then
        export DISPLAY=":$(cat "$b/wine.display")"
    fi
}
