# Shared by the Windows scripts: the cross build trees and what they need. Source common.sh first.
# The programs that ship (win32 thread model, Windows XP SP3 and later) are built in one
# tree; the tests, which need GoogleTest and so the posix thread model, in another, from
# which they check the shipped programs.
WIN_BUILD="$ROOT/build-win"
WIN_PROGRAMS="$WIN_BUILD/bin"
WIN_TEST_BUILD="$ROOT/build-win-test"

# Cross compilers of both thread models, and GoogleTest's source.
WINDOWS_BUILD_PACKAGES=(cmake ninja-build googletest mingw-w64 gcc-mingw-w64-i686-win32 g++-mingw-w64-i686-win32
                        gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix)
# Wine runs the 32-bit tests; Xvfb, xdotool and ImageMagick drive and photograph the window;
# icoutils reads the programs' resources back.
WINDOWS_TEST_PACKAGES=(wine wine32 xvfb xauth xdotool x11-utils imagemagick icoutils)

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

# build_windows: configures and builds the shipped programs, both in $WIN_PROGRAMS.
build_windows() {
    # A tree configured when it held the posix compilers keeps them, whatever the toolchain
    # file now says: it starts afresh.
    if grep -qs -- '-posix"' "$WIN_BUILD"/CMakeFiles/*/CMakeCXXCompiler.cmake; then rm -rf "$WIN_BUILD"; fi
    cmake -S "$ROOT" -B "$WIN_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DJINGLECONV_TESTS=OFF \
          -DCMAKE_RUNTIME_OUTPUT_DIRECTORY="$WIN_PROGRAMS" \
          -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-i686.cmake" >/dev/null
    cmake --build "$WIN_BUILD" --parallel "$(nproc)" --target jingleconv pdxsql
}

# build_windows_tests: configures and builds the test tree, which tests $WIN_PROGRAMS.
build_windows_tests() {
    cmake -S "$ROOT" -B "$WIN_TEST_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
          -DJINGLECONV_SHIPPED_DIR="$WIN_PROGRAMS" \
          -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-i686-posix.cmake" >/dev/null
    cmake --build "$WIN_TEST_BUILD" --parallel "$(nproc)"
}

# A 32-bit Wine prefix of its own inside the test tree, without the Mono and Gecko prompts.
# Its windows are not left to a window manager (Xvfb has none, and Wine would wait two
# seconds for one whenever a window closes); Wine draws their frames itself.
use_wine_prefix() {
    export WINEPREFIX="$WIN_TEST_BUILD/wineprefix" WINEARCH=win32 WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [ ! -f "$WINEPREFIX/.jingleconv-ready" ]; then
        echo "Creating the Wine prefix in $WINEPREFIX"
        mkdir -p "$WIN_TEST_BUILD"
        wineboot -i >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.jingleconv-ready"
    fi
}
