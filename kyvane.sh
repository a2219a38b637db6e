#!/usr/bin/env bash
# Sets up, builds and then runs or tests Kyvane on Debian 12.
#
#   ./kyvane.sh run    install what is missing, build, start Kyvane
#   ./kyvane.sh test   install what is missing, build with AddressSanitizer and
#                      UndefinedBehaviorSanitizer, run every test through CTest
#   ./kyvane.sh build  install what is missing and build, without starting
#   ./kyvane.sh package
#                      install what is missing, build a release and make the
#                      Debian package build-package/kyvane_<version>_<arch>.deb
#   ./kyvane.sh deps [PACKAGE...]
#                      only install what is missing, with more packages if named
#
# Run as root (or with sudo available) so missing packages can be installed.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
mode="${1:-}"

build_packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev libsqlite3-dev
    libjpeg62-turbo-dev)
runtime_packages=(qt6-image-formats-plugins qt6-qpa-plugins libqt6svg6 libsqlite3-0
    qt6-translations-l10n fonts-roboto fonts-noto-cjk)
# Only the tests need these: ffmpeg makes the videos that the capture-time test
# reads both with Kyvane and with ffprobe; the validators check the desktop
# entry and the AppStream metainfo of the package; systemd brings
# systemd-analyze, which checks the server's service unit (no running systemd
# needed); haproxy stands in front of two servers on one store.
test_packages=(ffmpeg desktop-file-utils appstream systemd haproxy)
# CPack finds the package's library dependencies with dpkg-shlibdeps and file.
package_packages=(dpkg-dev file)

install_missing() {
    local missing=()
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return
    fi
    echo "Installing: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

configure_and_build() {
    local dir="$1"
    shift
    cmake -S "$here" -B "$dir" -G Ninja "$@"
    cmake --build "$dir" --parallel "$(nproc)"
}

case "$mode" in
deps)
    shift
    install_missing "${build_packages[@]}" "${runtime_packages[@]}" "$@"
    ;;
run)
    install_missing "${build_packages[@]}" "${runtime_packages[@]}"
    configure_and_build "$here/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKYVANE_BUILD_TESTS=OFF \
        -DKYVANE_BUILD_BENCH=OFF
    exec "$here/build/kyvane"
    ;;
build)
    install_missing "${build_packages[@]}" "${runtime_packages[@]}"
    configure_and_build "$here/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKYVANE_BUILD_TESTS=OFF \
        -DKYVANE_BUILD_BENCH=OFF
    ;;
package)
    install_missing "${build_packages[@]}" "${runtime_packages[@]}" "${package_packages[@]}"
    configure_and_build "$here/build-package" -DCMAKE_BUILD_TYPE=Release -DKYVANE_BUILD_TESTS=OFF \
        -DKYVANE_BUILD_BENCH=OFF -DKYVANE_PER_USER_FOLDER=ON
    (cd "$here/build-package" && cpack -G DEB)
    ;;
test)
    install_missing "${build_packages[@]}" "${runtime_packages[@]}" "${test_packages[@]}"
    configure_and_build "$here/build-test" -DCMAKE_BUILD_TYPE=Debug -DKYVANE_SANITIZE=ON \
        -DKYVANE_WERROR=ON -DKYVANE_BUILD_BENCH=OFF
    cd "$here/build-test"
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 600
    ;;
*)
    echo "usage: $0 run|test|build|package|deps [PACKAGE...]" >&2
    exit 2
    ;;
esac
