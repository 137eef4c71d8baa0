#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test. The tests
# start and stop their own PostgreSQL server.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/build.sh
cd build
ctest --output-on-failure -j2
