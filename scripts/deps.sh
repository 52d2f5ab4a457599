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
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
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
