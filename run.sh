#!/usr/bin/env bash
# Sets up what Dravelin needs, builds it and starts it.
set -euo pipefail
cd "$(dirname "$0")"
tools/bootstrap
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Dravelin needs a desktop: no display was found (DISPLAY or WAYLAND_DISPLAY is not set)."
  echo "Start ./run.sh from a desktop session."
  exit 1
fi
exec build/dravelin "$@"
