#!/usr/bin/env bash
# Installs every Debian package the build and the tests need, when missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev
  qt6-multimedia-dev libqt6multimedia6 qt6-translations-l10n
  libgl-dev libfontconfig-dev
  fonts-dejavu-core fonts-liberation2
  libhidapi-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev
  chromium
  libmodbus-dev
  libcurl4-openssl-dev
  libasound2-dev
  python3-aiosmtpd
)

# A package counts as installed when it is, or when an installed package provides it (a
# virtual name), so that nothing is installed again on every run.
installed() {
  dpkg-query -W -f='${Status}\n' "$1" 2>/dev/null | grep -q "install ok installed" && return 0
  dpkg-query -W -f='${Status}|${Provides}\n' 2>/dev/null |
    grep "^install ok installed|" | cut -d'|' -f2 | tr ',' '\n' |
    sed -e 's/^ *//' -e 's/ .*//' | grep -qx "$1"
}

missing=()
for p in "${PACKAGES[@]}"; do
  if ! installed "$p"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
