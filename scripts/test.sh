#!/usr/bin/env bash
# Installs what is missing, builds the tests with AddressSanitizer and UBSan and runs them all headless.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
build="$root/build-tests"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DOSAGO_SANITIZE=ON -DOSAGO_TESTS=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
