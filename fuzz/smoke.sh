#!/bin/sh
# Short smoke run of the table-reader fuzz target (ctest). Exit 77 = skipped
# when no clang with the libFuzzer runtime is available.
# Usage: smoke.sh <source dir> <build dir> <seconds>
quelle=$1; bau=$2; sekunden=${3:-20}
clang=$(command -v clang++ || command -v clang++-14 || command -v clang++-15 || command -v clang++-16)
if [ -z "$clang" ]; then echo "clang++ not found: fuzz smoke run skipped"; exit 77; fi
mkdir -p "$bau" || exit 1
printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' > "$bau/probe.cpp"
if ! "$clang" -fsanitize=fuzzer "$bau/probe.cpp" -o "$bau/probe" >/dev/null 2>&1; then
  echo "clang without libFuzzer runtime: fuzz smoke run skipped"; exit 77
fi
cmake -S "$quelle/fuzz" -B "$bau" -G Ninja -DCMAKE_CXX_COMPILER="$clang" >/dev/null || exit 1
cmake --build "$bau" || exit 1
mkdir -p "$bau/korpus"
exec "$bau/lese_tabelle_fuzz" -max_total_time="$sekunden" -rss_limit_mb=2048 -timeout=10 \
     "$bau/korpus" "$quelle/fuzz/korpus"
