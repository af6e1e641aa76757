# Shared by scripts/run, scripts/test and scripts/bench: install what the build needs, configure
# and build.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

PACKAGES=(cmake g++ make pkg-config clang-tidy qt6-base-dev qt6-declarative-dev qt6-webengine-dev libqt6svg6 libgl-dev
          libsqlcipher-dev sqlcipher xvfb xauth librsvg2-bin gzip desktop-file-utils appstream
          openbox x11-utils xdotool dbus at-spi2-core python3-pyatspi libglib2.0-bin)

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

# start_desktop WxH: a private X server with the openbox window manager, for the tests that need
# real windows. Exports DISPLAY; stop_desktop ends both (call it from an EXIT trap).
DESKTOP_PIDS=()
DESKTOP_DIR=""
start_desktop() {
    local size="$1" try
    DESKTOP_DIR="$(mktemp -d)"
    # Xvfb picks a free display itself and writes its number once it accepts connections.
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$DESKTOP_DIR/display" \
        >"$DESKTOP_DIR/xvfb.log" 2>&1 &
    DESKTOP_PIDS+=($!)
    for try in $(seq 100); do
        [ -s "$DESKTOP_DIR/display" ] && break
        kill -0 "${DESKTOP_PIDS[0]}" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -s "$DESKTOP_DIR/display" ]; then
        echo "Xvfb did not start:" >&2
        cat "$DESKTOP_DIR/xvfb.log" >&2
        return 1
    fi
    export DISPLAY=":$(head -n1 "$DESKTOP_DIR/display")"
    openbox --sm-disable >"$DESKTOP_DIR/openbox.log" 2>&1 &
    DESKTOP_PIDS+=($!)
    # The window manager is up once it announces itself on the root window.
    for try in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && return 0
        kill -0 "${DESKTOP_PIDS[1]}" 2>/dev/null || break
        sleep 0.1
    done
    echo "openbox did not start on $DISPLAY:" >&2
    cat "$DESKTOP_DIR/openbox.log" "$DESKTOP_DIR/xvfb.log" >&2
    return 1
}

# start_accessibility_bus: a private D-Bus session with the AT-SPI accessibility bus on it, switched
# on as a screen reader switches it on, for the tests that read the program as a screen reader
# does. Call after start_desktop; stop_desktop ends it. Without the tools those tests skip.
start_accessibility_bus() {
    local launcher=/usr/libexec/at-spi-bus-launcher out try p
    if ! command -v dbus-daemon >/dev/null || ! command -v gdbus >/dev/null || [ ! -x "$launcher" ]; then
        echo "No dbus-daemon, gdbus or $launcher: the screen-reader tests will skip" >&2
        return 0
    fi
    out="$(dbus-daemon --session --fork --print-address=1 --print-pid=1)" || return 0
    export DBUS_SESSION_BUS_ADDRESS="$(sed -n 1p <<<"$out")"
    DESKTOP_PIDS+=("$(sed -n 2p <<<"$out")")
    "$launcher" --launch-immediately >"$DESKTOP_DIR/at-spi.log" 2>&1 &
    DESKTOP_PIDS+=($!)
    for try in $(seq 100); do
        gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
            --method org.freedesktop.DBus.NameHasOwner org.a11y.Bus 2>/dev/null | grep -q true && break
        sleep 0.1
    done
    for p in IsEnabled ScreenReaderEnabled; do
        gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
            --method org.freedesktop.DBus.Properties.Set org.a11y.Status "$p" "<true>" \
            >/dev/null 2>&1 || echo "Could not switch on $p on the accessibility bus" >&2
    done
    return 0
}

stop_desktop() {
    local i pid
    if [ ${#DESKTOP_PIDS[@]} -gt 0 ] && ! kill -0 "${DESKTOP_PIDS[0]}" 2>/dev/null; then
        echo "Xvfb ended before the tests did:" >&2
        cat "$DESKTOP_DIR/xvfb.log" >&2
    fi
    # The window manager first, then its server.
    for ((i = ${#DESKTOP_PIDS[@]} - 1; i >= 0; i--)); do
        pid="${DESKTOP_PIDS[$i]}"
        { kill "$pid" && wait "$pid"; } 2>/dev/null || true
    done
    DESKTOP_PIDS=()
    [ -n "$DESKTOP_DIR" ] && rm -rf "$DESKTOP_DIR"
    DESKTOP_DIR=""
    return 0
}

# Qt WebEngine refuses its sandbox as root (CI, containers).
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
true
