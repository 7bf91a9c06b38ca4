# Shared by the Windows scripts: the cross build tree and what it needs. Source common.sh first.
WIN_BUILD="$ROOT/build-win"

# Cross compilers (posix threads for std::thread and std::mutex) and GoogleTest's source.
WINDOWS_BUILD_PACKAGES=(cmake ninja-build googletest mingw-w64 gcc-mingw-w64-i686-posix
                        g++-mingw-w64-i686-posix)
# Wine runs the 32-bit tests; Xvfb, xdotool and ImageMagick drive and photograph the window.
WINDOWS_TEST_PACKAGES=(wine wine32 xvfb xauth xdotool x11-utils imagemagick)

# wine32 is an i386 package: the architecture must be known to dpkg before it installs.
ensure_i386() {
    dpkg --print-foreign-architectures | grep -qx i386 && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Enable 32-bit packages with: sudo dpkg --add-architecture i386 && sudo apt-get update" >&2
        exit 1
    fi
    dpkg --add-architecture i386
    apt-get update -qq
}

# build_windows [TARGET...]: configures the cross tree and builds the targets (all by default).
build_windows() {
    cmake -S "$ROOT" -B "$WIN_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
          -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-i686.cmake" >/dev/null
    if [ $# -eq 0 ]; then
        cmake --build "$WIN_BUILD" --parallel "$(nproc)"
    else
        cmake --build "$WIN_BUILD" --parallel "$(nproc)" --target "$@"
    fi
}

# A 32-bit Wine prefix of its own inside the build tree, without the Mono and Gecko prompts.
# Its windows are not left to a window manager (Xvfb has none, and Wine would wait two
# seconds for one whenever a window closes); Wine draws their frames itself.
use_wine_prefix() {
    export WINEPREFIX="$WIN_BUILD/wineprefix" WINEARCH=win32 WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [ ! -f "$WINEPREFIX/.jingleconv-ready" ]; then
        echo "Creating the Wine prefix in $WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.jingleconv-ready"
    fi
}
