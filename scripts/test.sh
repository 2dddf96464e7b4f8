#!/usr/bin/env bash
# Installs what is missing, builds the tests with AddressSanitizer and UBSan and runs them all headless.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
build="$root/build-tests"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DOSAGO_SANITIZE=ON -DOSAGO_TESTS=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
cd "$build"
# CTest stops the throwaway PostgreSQL server after the last test that needs it, failed or not; this stops it
# too when the run itself is cut short (Ctrl+C, a time limit).
stop_servers() {
    QT_QPA_PLATFORM=offscreen ctest -R '^osago_server_stop$' >/dev/null 2>&1 || true
}
trap stop_servers EXIT
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
