#!/usr/bin/env bash
# Installs what is missing, builds a release and starts the program in the current folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build-release" -DCMAKE_BUILD_TYPE=Release -DOSAGO_TESTS=OFF >/dev/null
cmake --build "$root/build-release" -j"$(nproc)" --target osago
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display: the program needs a desktop display (DISPLAY or WAYLAND_DISPLAY is not set)." >&2
    echo "Under a headless machine, start it inside Xvfb:  xvfb-run -a $root/build-release/src/app/osago" >&2
    exit 1
fi
exec "$root/build-release/src/app/osago" "$@"
