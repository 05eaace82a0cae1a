#!/bin/sh
# Builds one libFuzzer target with clang, AddressSanitizer and UBSan over the
# sources it reads (the library's, or the design-file or module-information reader's with Qt Core)
# and runs it for a bounded time.
#   fuzz/run.sh NAME [SECONDS]     NAME: the NAME of fuzz/fuzz_NAME.cpp
set -eu
cd "$(dirname "$0")/.."
name="${1:?usage: fuzz/run.sh NAME [SECONDS]}"
seconds="${2:-60}"
out=build-fuzz
mkdir -p "$out/corpus-$name" "$out/work-$name"
for p in clang libclang-rt-14-dev; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="${missing:-} $p"
done
if [ -n "${missing:-}" ]; then
    sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends $missing
fi
case "$name" in
designfile)
    sources="core/designfile.cpp core/cp932.cpp core/tablefields.cpp"
    flags="-fPIC -Icore -Imibtext/include $(pkg-config --cflags Qt6Core)"
    libs="$(pkg-config --libs Qt6Core)"
    ;;
moduleinfo)
    sources="smi/moduleinfo.cpp model/*.cpp core/tablefields.cpp"
    flags="-fPIC -Icore -Imodel -Ismi -Imibtext/include $(pkg-config --cflags Qt6Core)"
    libs="$(pkg-config --libs Qt6Core)"
    ;;
*)
    sources="mibtext/*.cpp"
    flags="-Imibtext/include -Imibtext"
    libs=""
    ;;
esac
# shellcheck disable=SC2086 # the lists are meant to split
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    $flags "fuzz/fuzz_$name.cpp" $sources $libs -o "$out/fuzz_$name"
seeds=""
[ -d "fuzz/seeds/$name" ] && seeds="fuzz/seeds/$name"
cd "$out/work-$name"
exec "../fuzz_$name" -max_total_time="$seconds" -timeout=10 "../corpus-$name" ${seeds:+"../../$seeds"}
