#!/usr/bin/env bash
# Installs what is missing, builds the programs (not the tests) and starts Luma Write.
#   ./run.sh        the program, with your own settings
#   ./run.sh demo   the program and a virtual sign on this computer, with settings of their own
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
tools/build.sh run

if [ "${1:-}" != "demo" ]; then
    exec build/app/lumawrite
fi

# The demo never touches your settings file: it runs with a configuration folder of its own,
# whose settings send to the virtual sign on 127.0.0.1.
demo=$(mktemp -d)
sign_pid=""
cleanup() {
    [ -n "$sign_pid" ] && kill "$sign_pid" 2>/dev/null || true
    rm -rf "$demo"
}
trap cleanup EXIT
mkdir -p "$demo/lumawrite"
printf '"127.0.0.1"\r\n2001\r\n20\r\n1\r\n1\r\n8\r\n0\r\n12\r\n1\r\n0\r\n0\r\n0\r\n-3\r\n"Welcome to Luma Write! Press Modify, then ^^Upload ^^."\r\n' \
    > "$demo/lumawrite/tabro.cfg"

build/tools/virtual-sign/virtual-sign --listen 127.0.0.1:12346 &
sign_pid=$!
sleep 1
if ! kill -0 "$sign_pid" 2>/dev/null; then
    echo "The virtual sign could not start (is UDP port 12346 on 127.0.0.1 in use?)." >&2
    exit 1
fi
echo "Virtual sign listening on 127.0.0.1:12346. Upload a message from Luma Write to see it scroll."
XDG_CONFIG_HOME="$demo" build/app/lumawrite
