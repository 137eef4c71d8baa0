#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Idempotent: asks apt only for what is missing, and updates the package
# lists once, only when something has to be installed.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev libgl-dev
  qt6-multimedia-dev libqt6sql6-sqlite libqt6sql6-psql libqt6sql6-odbc
  qt6-translations-l10n qt6-qpa-plugins
  libsodium-dev libxlsxwriter-dev libfreexl-dev mdbtools-dev libquazip1-qt6-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  postgresql postgresql-contrib sqlite3
  fonts-noto-cjk unicode-data python3
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

SUDO=""
if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
