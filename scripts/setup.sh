#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need.
# Run as root it installs what is missing; otherwise it prints the one line to run.
set -euo pipefail

packages=(
    g++ cmake make pkgconf
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 libqt6sql6-sqlite qt6-qpa-plugins
    libgl-dev libsqlite3-dev sqlite3 fonts-dejavu-core
    poppler-utils xvfb xauth desktop-file-utils
    libxlsxwriter-dev unzip
    libpq-dev postgresql postgresql-contrib
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Run as root:" >&2
    echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
