#!/usr/bin/env bash
# Refreshes the README's pictures of the real windows: builds the screenshot tool and runs it under Xvfb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build-release" -DCMAKE_BUILD_TYPE=Release -DOSAGO_TESTS=OFF -DOSAGO_TOOLS=ON >/dev/null
cmake --build "$root/build-release" -j"$(nproc)" --target osago_screenshots
mkdir -p "$root/docs"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24" "$root/build-release/tools/osago_screenshots" "$root/docs"
