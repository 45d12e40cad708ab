# Installs the Debian packages given as arguments when any of them is missing.
# Sourced by the build scripts; needs root or sudo only when it installs.
ensure_packages() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing ${missing[*]}" >&2
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
}

# What every build needs.
BUILD_PACKAGES=(g++ cmake ninja-build qt6-base-dev libgl-dev)

# What the tests need besides the build: independent readers of the RTF and
# PDF files the records window writes; the validators of the installed
# desktop entry, metainfo and manual pages; a virtual display on which the
# installed program opens its help; a session bus and the accessibility bus
# with its Python reader, through which the main window is read as a screen
# reader reads it.
TEST_PACKAGES=(unrtf poppler-utils desktop-file-utils appstream man-db file xvfb xauth xdotool x11-utils
               dbus at-spi2-core python3-pyatspi)

# What building and checking the Debian package needs besides the build.
PACKAGE_PACKAGES=(dpkg-dev lintian file pkg-config bash-completion)

# What the program needs to look right: metric-compatible fonts for the print
# font's default (Arial) and the design's fonts.
RUN_PACKAGES=(fonts-liberation)
