# Installs the Debian packages the build needs, only those that are missing.
# Sourced by the other scripts: `ensure_packages PKG...`.

ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "== installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    apt_waiting_for_lock $sudo apt-get update -qq
    apt_waiting_for_lock $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
}

# apt_waiting_for_lock COMMAND...: runs an apt-get command; while another
# package install (another clone's set-up, an unattended upgrade) holds the
# package manager's lock, says so and tries again every few seconds, for
# APT_LOCK_WAIT seconds (600 unless set) at most. Any other failure ends it
# at once with apt's own message.
apt_waiting_for_lock() {
    local bound=${APT_LOCK_WAIT:-600} waited=0 told=0 rc err
    err=$(mktemp)
    while :; do
        rc=0 && "$@" 2>"$err" || rc=$?
        if [ "$rc" -eq 0 ] || ! grep -qiE 'could not get lock|unable to (acquire|lock)' "$err"; then
            cat "$err" >&2 && rm -f "$err"
            return "$rc"
        fi
        if [ "$waited" -ge "$bound" ]; then
            cat "$err" >&2 && rm -f "$err"
            echo "== gave up after ${waited}s waiting for the package manager's lock (APT_LOCK_WAIT=$bound)" >&2
            return "$rc"
        fi
        if [ "$told" -eq 0 ]; then
            echo "== another package install holds the package manager's lock; waiting up to ${bound}s for it:" >&2
            grep -iE 'lock' "$err" | head -n 2 | sed 's/^/   /' >&2
            told=1
        fi
        sleep 5 && waited=$((waited + 5))
    done
}

BUILD_PACKAGES=(cmake ninja-build g++ pkg-config ccache
                libcairo2-dev libpango1.0-dev libfontconfig-dev libxml2-dev libpng-dev libdeflate-dev
                fonts-ipafont-gothic fonts-wqy-microhei
                libxcb1-dev libxcb-xkb-dev libxkbcommon-x11-dev libxcb-shm0-dev libxcb-randr0-dev
                libxcb-xtest0-dev libxcb-cursor-dev libxcb-icccm4-dev libxcb-imdkit-dev
                libcups2-dev)
# An X server and a print scheduler of the tests' own: the display and CUPS
# tests start them privately and fail, not skip, where they cannot. A real
# window manager, for the test of a click on an owner under its pop-up.
# glibc's character maps, read as an independent check of the text widths.
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev poppler-utils
               xvfb xdotool fcitx5 fcitx5-anthy cups cups-client cups-daemon openbox locales)

build_jobs() {
    nproc 2>/dev/null || echo 2
}
