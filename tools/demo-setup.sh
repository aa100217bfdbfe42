#!/usr/bin/env bash
# Writes the demo's configuration into FOLDER (used as XDG_CONFIG_HOME): settings that send to
# the virtual sign on 127.0.0.1 and keep COM 1, and a ports.conf that maps COM 1 to the virtual
# sign's pseudo-terminal, so the demo opens no serial port of the computer.
#   tools/demo-setup.sh FOLDER PTY
set -euo pipefail
if [ $# -ne 2 ] || [ -z "$1" ] || [ "${2#/}" = "$2" ]; then
    echo "usage: $0 FOLDER PTY (PTY an absolute path)" >&2
    exit 2
fi
folder=$1/lumawrite
pty=$2
mkdir -p "$folder"
printf '"127.0.0.1"\r\n2001\r\n20\r\n1\r\n1\r\n8\r\n0\r\n12\r\n1\r\n0\r\n0\r\n0\r\n-3\r\n"Welcome to Luma Write! Press Modify, then ^^Upload ^^."\r\n' \
    > "$folder/tabro.cfg"
printf '# The demo: COM 1 is the virtual sign'"'"'s own pseudo-terminal.\nCOM 1 = %s\n' "$pty" \
    > "$folder/ports.conf"
