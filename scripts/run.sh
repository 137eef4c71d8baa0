#!/usr/bin/env bash
# Installs what is missing, builds, and starts Vellumark on the embedded
# SQLite database beside the program, creating it with the sample library
# on the first run.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/build.sh Vellumark vellumark-db vellumark_resources
# The sample library is not loaded yet: a new, empty database.
build/bin/vellumark-db init --if-missing
exec build/bin/Vellumark "$@"
