#!/usr/bin/env bash
# Installs the Debian packages needed to build, test and run the project.
# Safe to run repeatedly; does nothing when everything is already present.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
  libsqlite3-dev sqlite3 libicu-dev libqpdf-dev qpdf
  libgtest-dev googletest
  fonts-liberation2 fonts-dejavu-core fontconfig
  poppler-utils
  cups-daemon cups-client
  clang libclang-rt-14-dev
  qt6-translations-l10n adwaita-icon-theme
  time
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
