#!/usr/bin/env bash
# Runs each fuzz target for a given time with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer.
#   tools/fuzz.sh [SECONDS] [TARGET...]      default: 60 seconds each, every target
# Targets: settings (the settings file reader), number (the lenient leading-number reading),
# ports_conf (the ports.conf reader), mqtt_payload (the MQTT service's message reader),
# sign_stream (the virtual sign's parser fed a serial byte stream).
# New inputs that reach new code are merged into fuzz/corpus/TARGET, which every test run
# replays; a crash leaves its input in build-fuzz/ and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(settings number ports_conf mqtt_payload sign_stream)

tools/install-deps.sh
for p in clang libclang-rt-14-dev; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev
        break
    fi
done

if [ ! -f build-fuzz/build.ninja ]; then
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DLUMAWRITE_FUZZ=ON -DBUILD_TESTING=OFF \
        -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=undefined"
fi
cmake --build build-fuzz --target $(printf 'fuzz-%s ' "${targets[@]}")

status=0
for t in "${targets[@]}"; do
    work="build-fuzz/corpus-$t"
    mkdir -p "$work"
    echo "== $t: $seconds s"
    if ! (cd build-fuzz && ASAN_OPTIONS=detect_leaks=1 "./fuzz/fuzz-$t" -max_total_time="$seconds" \
            -print_final_stats=1 "corpus-$t" "../fuzz/corpus/$t" 2>&1 | tee "fuzz-$t.log" |
            grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::peak_rss|==[0-9]+==ERROR|SUMMARY|Done )' ); then
        :
    fi
    if grep -qE '==[0-9]+==ERROR|deadly signal|Test unit written' "build-fuzz/fuzz-$t.log"; then
        echo "!! $t found a failure: see build-fuzz/fuzz-$t.log"
        status=1
        continue
    fi
    # Keep the inputs that add coverage, small, in the repository's corpus.
    (cd build-fuzz && "./fuzz/fuzz-$t" -merge=1 "../fuzz/corpus/$t" "corpus-$t" > "merge-$t.log" 2>&1) || true
done
exit $status
