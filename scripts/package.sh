#!/usr/bin/env bash
# Builds the Debian package build-package/quantix96_<version>_<arch>.deb with
# CPack, with Debian's hardening flags and stripped programs, and checks it:
# lintian with no error and no warning, its dependencies found, its files
# where a Debian system looks for them, and the unpacked program working.
# BUILD_DIR chooses the build folder (default build-package).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"
export BUILD_DIR=${BUILD_DIR:-build-package}

# Debian's flags with every hardening feature; CMake reads no CPPFLAGS, so
# they go with the compiler flags.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
scripts/build.sh -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
    "-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)"
rm -f "$BUILD_DIR"/quantix96_*.deb
(cd "$BUILD_DIR" && cpack -G DEB >/dev/null)
debs=("$BUILD_DIR"/quantix96_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "cpack made no single quantix96 package" >&2; exit 1; }
deb=${debs[0]}

fail() { echo "FAIL: $*" >&2; exit 1; }
version=$(dpkg-deb -f "$deb" Version)
architecture=$(dpkg-deb -f "$deb" Architecture)
[ "$(basename "$deb")" = "quantix96_${version}_$architecture.deb" ] || fail "unexpected file name $(basename "$deb")"
[ "$architecture" = "$(dpkg --print-architecture)" ] || fail "architecture $architecture"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "the dependencies were not found: $(dpkg-deb -f "$deb" Depends)"

contents=$(dpkg-deb --contents "$deb" | awk '{ $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }')
[ "$(grep '^\./usr/bin/.' <<< "$contents")" = "$(printf './usr/bin/quantix96\n./usr/bin/quantix96-convert')" ] ||
    fail "usr/bin holds more than the two programs"
completions=$(pkg-config --variable=completionsdir bash-completion)
for file in "./usr/share/quantix96/Quantix 96.hlp" ".$completions/quantix96-convert" \
    ./usr/share/applications/io.github.quantix96.quantix96.desktop \
    ./usr/share/metainfo/io.github.quantix96.quantix96.metainfo.xml \
    ./usr/share/icons/hicolor/256x256/apps/io.github.quantix96.quantix96.png \
    ./usr/share/man/man1/quantix96.1.gz ./usr/share/man/man1/quantix96-convert.1.gz \
    ./usr/share/doc/quantix96/copyright ./usr/share/doc/quantix96/changelog.gz; do
    grep -qxF "$file" <<< "$contents" || fail "the package lacks $file"
done

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
for program in quantix96 quantix96-convert; do
    file "$unpacked/usr/bin/$program" | grep -q ', stripped' || fail "$program is not stripped"
done
[ "$(XDG_CONFIG_HOME=$unpacked "$unpacked/usr/bin/quantix96-convert" --version)" = "quantix96-convert $version" ] ||
    fail "the packaged quantix96-convert is not version $version"

lintian --fail-on error,warning --display-info "$deb" || fail "lintian"
echo "Built $deb: lintian reports no error and no warning."
