#!/usr/bin/env bash
# Sets up what Dravelin needs, builds the program when it changed and starts it.
set -euo pipefail
cd "$(dirname "$0")"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Dravelin needs a desktop: no display was found (DISPLAY or WAYLAND_DISPLAY is not set)." >&2
  echo "Start ./run.sh from a desktop session." >&2
  exit 1
fi
tools/bootstrap
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# Only the program, not the tests and benchmarks; silent when it is up to date.
cmake --build build --target dravelin |
  { grep -v -e '^ninja: no work to do\.$' -e '\] Re-checking globbed directories\.\.\.$' || true; }
exec build/dravelin "$@"
