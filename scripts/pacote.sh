#!/usr/bin/env bash
# Builds the Debian packages (relatorios-tarvo, librelatorios-tarvo1,
# librelatorios-tarvo-dev and their -dbgsym) with dpkg-buildpackage and checks
# them with lintian. Everything lands in build-pacote/: the build runs on a
# copy of the sources there, so that its files and the packages, which
# dpkg-buildpackage puts in the parent folder, stay inside the project.
#   scripts/pacote.sh
# Installs what building the packages needs (dpkg-dev, debhelper, lintian and
# debian/control's Build-Depends).
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
cd "$raiz"

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
faltam=()
for p in dpkg-dev debhelper lintian build-essential; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || faltam+=("$p")
done
if [ ${#faltam[@]} -gt 0 ] || ! dpkg-checkbuilddeps debian/control 2>/dev/null; then
  $SUDO apt-get update -qq
  [ ${#faltam[@]} -gt 0 ] && $SUDO apt-get install -y -qq --no-install-recommends "${faltam[@]}"
  $SUDO apt-get build-dep -y -qq --no-install-recommends "$raiz"
fi

versao=$(dpkg-parsechangelog -S Version)
saida="$raiz/build-pacote"
fonte="$saida/relatorios-tarvo-$versao"
rm -rf "$saida"
mkdir -p "$fonte"
# The sources as they are in the working tree: the files git knows and the
# new ones it does not ignore (none of the build folders).
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' arquivo; do
      [ -e "$arquivo" ] && printf '%s\0' "$arquivo"
    done |
    tar --null -T - -cf - | tar -xf - -C "$fonte"
else
  tar --exclude='./build*' --exclude=./saida -cf - . | tar -xf - -C "$fonte"
fi

# Temporary files too (lintian leaves some behind) stay in build-pacote/.
export TMPDIR="$saida/tmp"
mkdir -p "$TMPDIR"
export DEB_BUILD_OPTIONS="${DEB_BUILD_OPTIONS:-parallel=$(nproc)}"
(cd "$fonte" && dpkg-buildpackage -us -uc -b)
rm -rf "$fonte"

arquitetura=$(dpkg --print-architecture)
echo
echo "lintian:"
lintian --fail-on error --info "$saida/relatorios-tarvo_${versao}_${arquitetura}.changes"
rm -rf "$TMPDIR"
echo
echo "Pacotes em $saida:"
ls "$saida"
echo "Para instalar: apt install $saida/relatorios-tarvo_${versao}_${arquitetura}.deb" \
  "$saida/librelatorios-tarvo1_${versao}_${arquitetura}.deb"
