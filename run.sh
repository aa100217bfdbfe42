#!/usr/bin/env bash
# Installs what is missing, builds Luma Write and starts it.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
tools/build.sh
exec build/app/lumawrite
