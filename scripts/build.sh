#!/usr/bin/env bash
# Configures and builds everything in build/. Pass extra CMake targets to
# build only those.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLUMARK_WERROR=ON >/dev/null
if (($# > 0)); then
  cmake --build build --target "$@"
else
  cmake --build build
fi
