#!/bin/sh
# Builds one libFuzzer target with clang, AddressSanitizer and UBSan over the
# library's sources and runs it for a bounded time.
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
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -Imibtext/include -Imibtext "fuzz/fuzz_$name.cpp" mibtext/*.cpp -o "$out/fuzz_$name"
seeds=""
[ -d "fuzz/seeds/$name" ] && seeds="fuzz/seeds/$name"
cd "$out/work-$name"
exec "../fuzz_$name" -max_total_time="$seconds" -timeout=10 "../corpus-$name" ${seeds:+"../../$seeds"}
