#!/usr/bin/env bash
# Installs what is missing, builds Luma Write and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
tools/build.sh
# Tests never touch the operator's settings: they run with their own configuration folder.
export XDG_CONFIG_HOME
XDG_CONFIG_HOME="$(mktemp -d)"
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --timeout 300
