#!/usr/bin/env bash
# Makes a register of ROWS realistic rows (varied Russian names, vehicles, up to six drivers) for measurements:
#   scripts/make-register.sh ROWS FILE [SEED]
# Builds the generator in the release tree first. A million rows take about a minute and 1.9 GB.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-release"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DOSAGO_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target osago-make-register >/dev/null
exec "$build/src/storage/sqlite/tools/osago-make-register" "$@"
