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

# The demo never touches your settings file or a serial port of this computer: it runs with a
# configuration folder of its own, whose settings send to the virtual sign on 127.0.0.1 and whose
# ports.conf maps COM 1 to the virtual sign's own pseudo-terminal.
demo=$(mktemp -d)
sign_pid=""
tail_pid=""
cleanup() {
    [ -n "$sign_pid" ] && kill "$sign_pid" 2>/dev/null || true
    [ -n "$tail_pid" ] && kill "$tail_pid" 2>/dev/null || true
    rm -rf "$demo"
}
trap cleanup EXIT

# The sign listens on UDP and on a pseudo-terminal it makes, and names the terminal ("pty: PATH").
build/tools/virtual-sign/virtual-sign --listen 127.0.0.1:12346 --pty >"$demo/sign.log" 2>&1 &
sign_pid=$!
tail -n +1 -f "$demo/sign.log" &
tail_pid=$!
pty=""
for _ in $(seq 50); do
    pty=$(sed -n 's/^pty: //p' "$demo/sign.log" | head -n 1)
    [ -n "$pty" ] && break
    kill -0 "$sign_pid" 2>/dev/null || break
    sleep 0.1
done
if [ -z "$pty" ] || ! kill -0 "$sign_pid" 2>/dev/null; then
    echo "The virtual sign could not start (is UDP port 12346 on 127.0.0.1 in use?)." >&2
    exit 1
fi
tools/demo-setup.sh "$demo" "$pty"
echo "Virtual sign listening on 127.0.0.1:12346 and on $pty (COM 1 in the demo)."
echo "Upload a message from Luma Write over LAN or Serial (RS-485) to see it scroll."
XDG_CONFIG_HOME="$demo" build/app/lumawrite
