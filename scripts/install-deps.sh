#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need (only those missing).
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-charts-dev libqt6opengl6-dev
  libsqlcipher-dev sqlcipher libgcrypt20-dev libboost-regex-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-translations-l10n fonts-wqy-microhei xvfb xauth imagemagick poppler-utils
  libxlsxwriter-dev python3-openpyxl
  python3 python3-aiosmtpd openssl
  dbus-daemon desktop-file-utils appstream dpkg-dev file
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
