#!/usr/bin/env bash
# Installs the Debian packages the project needs. Safe to run repeatedly;
# does nothing when everything is already present.
#   scripts/install-deps.sh            building and running the program (demo.sh)
#   scripts/install-deps.sh --testes   the same and what the tests, the
#                                      sanitizer and fuzzing builds need
set -euo pipefail

# Building the library and the program, creating the demo declaration
# (sqlite3) and running it: fonts for the reports, Qt's Portuguese texts and
# icons for its dialogs, libcups for printing, hb-subset (in libharfbuzz-dev)
# and libdeflate for the PDF writer, the sRGB profile PDF/A files embed.
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libsqlite3-dev sqlite3 libicu-dev libdeflate-dev libcups2-dev
  libharfbuzz-dev libfontconfig-dev icc-profiles-free
  fonts-liberation2 fonts-dejavu-core fontconfig
  qt6-translations-l10n adwaita-icon-theme
)
if [ "${1:-}" = "--testes" ]; then
  packages+=(
    libgtest-dev googletest
    qt6-qpa-plugins qpdf poppler-utils mupdf-tools ghostscript
    python3-pypdf python3-pdfminer python3-reportlab
    cups-daemon cups-client
    clang libclang-rt-14-dev
    time
    python3 python3-jsonschema bash-completion mandoc desktop-file-utils
  )
fi

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
