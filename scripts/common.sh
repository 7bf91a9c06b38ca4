# Shared by the scripts: the project's root, and installing what is missing.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Debian packages the native build and its tests need.
NATIVE_PACKAGES=(build-essential cmake ninja-build pkg-config qt6-base-dev googletest libgtest-dev pxlib-dev
                 xvfb xauth fonts-dejavu-core)

# ensure_packages PKG...: installs the packages that are missing (apt-get when root, otherwise
# prints the exact command and stops).
ensure_packages() {
    local missing=()
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages. Install them with:" >&2
        echo "  sudo apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

# configure_native BUILD_DIR: configures and builds the native tree.
build_native() {
    local dir=$1
    cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$dir" --parallel "$(nproc)"
}
