#!/usr/bin/env bash
# Installs the Debian packages that building and running Luma Write need; with --test also
# those that testing it needs (the test suite with its MQTT broker and a font set that has
# symbol fonts, the benchmarks, and the packaging checks).
# Only packages that are missing are installed; a machine that has them all is left alone.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-qpa-plugins
    libqt6svg6
    qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
    libgl-dev
    libmosquitto-dev
    fonts-dejavu-core
    scdoc
)
if [ "${1:-}" = "--test" ]; then
    packages+=(
        libgtest-dev libbenchmark-dev
        socat fonts-urw-base35
        mosquitto mosquitto-clients openssl
        desktop-file-utils appstream man-db lintian dpkg-dev file
    )
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
