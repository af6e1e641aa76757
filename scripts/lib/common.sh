# Shared by scripts/run, scripts/test and scripts/bench: install what the build needs, configure
# and build.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

PACKAGES=(cmake g++ make pkg-config qt6-base-dev qt6-webengine-dev libqt6svg6 libgl-dev
          libsqlcipher-dev sqlcipher xvfb xauth librsvg2-bin gzip desktop-file-utils appstream)

ensure_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -ne 0 ] && sudo="sudo"
        $sudo apt-get update
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
    fi
}

# build DIR TYPE [extra cmake args...]
build() {
    local dir="$1" type="$2"
    shift 2
    cmake -S "$ROOT" -B "$ROOT/$dir" -DCMAKE_BUILD_TYPE="$type" "$@"
    cmake --build "$ROOT/$dir" -j "$(nproc)"
}

# Qt WebEngine refuses its sandbox as root (CI, containers).
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
true
