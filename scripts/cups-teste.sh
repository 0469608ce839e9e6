#!/usr/bin/env bash
# Prepares real CUPS queues for the printing tests: starts the scheduler when
# it is not running, adds the cups-pdf queue TarvoPDF and makes it the
# default, and adds TarvoRecusa, a queue that refuses every job. Jobs land as
# PDF files under /var/spool/cups-pdf/<user>/, where the tests read them back.
# Run as root; safe to run repeatedly.
set -euo pipefail

FILA=TarvoPDF
RECUSA=TarvoRecusa
SAIDA=/var/spool/cups-pdf

if [ "$(id -u)" -ne 0 ]; then
  echo "cups-teste.sh: run as root" >&2
  exit 1
fi

# cups-pdf writes into ${HOME}/PDF by default; a fixed spool folder per user
# is easier for the tests to find, whoever runs them.
conf=/etc/cups/cups-pdf.conf
if ! grep -q "^Out ${SAIDA}/\${USER}\$" "$conf"; then
  sed -i -e '/^Out /d' "$conf"
  echo "Out ${SAIDA}/\${USER}" >>"$conf"
fi
mkdir -p "$SAIDA"
chmod 1777 "$SAIDA"

if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
  cupsd
fi
for _ in $(seq 1 50); do
  lpstat -r 2>/dev/null | grep -q 'is running' && break
  sleep 0.2
done
if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
  echo "cups-teste.sh: the CUPS scheduler did not start" >&2
  exit 1
fi

modelo=$(lpinfo -m 2>/dev/null | grep -i 'cups-pdf' | grep -i '_opt' | head -n 1 | cut -d' ' -f1 || true)
adicionar_fila() {
  if [ -n "$modelo" ]; then
    lpadmin -p "$1" -E -v cups-pdf:/ -m "$modelo"
  else
    lpadmin -p "$1" -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
  fi
  # cups-pdf turns PostScript into PDF; made by pdftocairo, the PostScript
  # keeps the text extractable, which the tests read back.
  lpadmin -p "$1" -o pdftops-renderer-default=pdftocairo
}

adicionar_fila "$FILA"
lpadmin -d "$FILA"
cupsenable "$FILA"
cupsaccept "$FILA"

adicionar_fila "$RECUSA"
cupsreject "$RECUSA"

echo "cups-teste.sh: queue $FILA ready (default printer); files land in $SAIDA/<user>/"
echo "cups-teste.sh: queue $RECUSA refuses jobs"
