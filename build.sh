#!/bin/sh
# Installs the Debian packages Korvel needs (only those missing), builds, and
# then starts the program (`run`) or runs the whole test suite (`test`).
#   ./build.sh run     build and start Korvel
#   ./build.sh test    build and run every test (ctest)
#   ./build.sh asan    the same tests in a build with AddressSanitizer and UBSan
set -eu
cd "$(dirname "$0")"

# qt6-tools-dev and qt6-l10n-tools build the English translation (Qt
# Linguist's CMake support and lrelease). The last line is what the package
# test needs: cpack's Debian tools and the
# validators of the desktop entry and the AppStream metadata.
packages="g++ cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
libgtest-dev libgmock-dev libbenchmark-dev fonts-ipafont-gothic xdg-utils
libsmi2-dev smitools snmp libsnmp-base qt6-translations-l10n qt6-tools-dev qt6-l10n-tools
dpkg-dev file desktop-file-utils appstream"

missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends $missing
fi

jobs=$(nproc 2>/dev/null || echo 2)
mode="${1:-run}"
case "$mode" in
run)
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build -j "$jobs"
    exec ./build/korvel
    ;;
test)
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVEL_WERROR=ON
    cmake --build build -j "$jobs"
    QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$jobs"
    ;;
asan)
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKORVEL_WERROR=ON \
        -DKORVEL_SANITIZE=ON -DKORVEL_BENCH=OFF
    cmake --build build-asan -j "$jobs"
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
    LSAN_OPTIONS=suppressions="$PWD/.ci/lsan.supp":print_suppressions=0 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    QT_QPA_PLATFORM=offscreen ctest --test-dir build-asan --output-on-failure -j "$jobs"
    ;;
*)
    echo "usage: $0 run|test|asan" >&2
    exit 2
    ;;
esac
