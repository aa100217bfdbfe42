#!/usr/bin/env bash
# Installs what is missing, builds Luma Write and runs every test: once in the ordinary build,
# with the checks of the installation and the Debian package (tests/packaging.sh), and once
# more built with AddressSanitizer and UndefinedBehaviorSanitizer, where any report fails the
# run.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh --test
tools/build.sh

# Tests never touch the operator's settings: they run with their own configuration folder.
export XDG_CONFIG_HOME
XDG_CONFIG_HOME="$(mktemp -d)"
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT
export QT_QPA_PLATFORM=offscreen

echo "== tests"
ctest --test-dir build --output-on-failure --timeout 300

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
if [ ! -f build-asan/build.ninja ]; then
    CXXFLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" \
        LDFLAGS="-fsanitize=address,undefined" \
        cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug
fi
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
    LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure --timeout 600
