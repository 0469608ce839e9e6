#!/usr/bin/env bash
# The printing tests' own CUPS scheduler, kept entirely under the build
# folder and never touching the machine's printers:
#   scripts/cups-teste.sh iniciar BUILD   start it (stopping a leftover one)
#   scripts/cups-teste.sh parar BUILD     stop it
# It listens only on the domain socket BUILD/cups/cupsd.sock (the tests point
# CUPS_SERVER at it) and has three queues: TarvoPDF, its default printer, a
# raw queue whose backend writes every job as BUILD/cups/saida/job-N.pdf;
# TarvoOpcoes, whose driver file offers paper sizes, two-sided printing,
# colour and quality and which keeps its jobs, unchanged too, in
# BUILD/cups/saida-opcoes; and TarvoRecusa, stopped and refusing every job.
# Exits 77 (the fixture's "skipped") when the scheduler cannot run here.
set -euo pipefail
# cupsd lives in sbin, which a normal user's PATH may lack.
PATH=$PATH:/usr/sbin:/sbin

uso() {
  echo "usage: cups-teste.sh iniciar|parar BUILD_FOLDER" >&2
  exit 2
}
[ $# -eq 2 ] || uso
acao=$1
[ -d "$2" ] || {
  echo "cups-teste.sh: the build folder \"$2\" does not exist" >&2
  exit 1
}
raiz=$(cd "$2" && pwd)/cups
socket=$raiz/cupsd.sock
pidfile=$raiz/cupsd.pid

# Stops the scheduler named by our pid file or by the one cupsd keeps in its
# state folder, if that process is still our cupsd (a stale pid may belong to
# another program by now).
parar() {
  local arquivo pid
  for arquivo in "$pidfile" "$raiz/estado/cupsd.pid"; do
    [ -f "$arquivo" ] || continue
    pid=$(cat "$arquivo")
    if [ -n "$pid" ] && [ "$(cat /proc/"$pid"/comm 2>/dev/null)" = cupsd ] &&
      tr '\0' ' ' </proc/"$pid"/cmdline | grep -qF -- "$raiz/conf/"; then
      kill "$pid" 2>/dev/null || true
      for _ in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
      done
      if kill -0 "$pid" 2>/dev/null; then
        kill -9 "$pid" 2>/dev/null || true
      fi
    fi
    rm -f "$arquivo"
  done
}

case "$acao" in
parar)
  parar
  exit 0
  ;;
iniciar) ;;
*) uso ;;
esac

command -v cupsd >/dev/null || {
  echo "cups-teste.sh: cupsd is not installed (package cups-daemon); the printing tests are skipped" >&2
  exit 77
}
# A domain socket path holds at most 107 bytes.
if [ ${#socket} -gt 100 ]; then
  echo "cups-teste.sh: the socket path is too long for a domain socket: $socket; the printing tests are skipped" >&2
  exit 77
fi

parar
rm -rf "$raiz"
mkdir -p "$raiz"/{conf/ppd,bin/backend,spool/tmp,estado,cache,log,saida,saida-opcoes}

# The scheduler's programs are the system's (it starts every backend through
# daemon/cups-exec), except for the backend folder, which holds only the
# test backend.
for pasta in cgi-bin daemon filter monitor notifier; do
  if [ -d "/usr/lib/cups/$pasta" ]; then
    ln -s "/usr/lib/cups/$pasta" "$raiz/bin/$pasta"
  fi
done
cat >"$raiz/bin/backend/tarvopdf" <<'EOF'
#!/bin/sh
# Writes each job, unchanged, as job-N.pdf in the folder named by the device
# URI (tarvopdf:/folder); written to a temporary name first so a reader
# never sees half a file.
[ $# -eq 0 ] && exit 0
pasta=${DEVICE_URI#tarvopdf:}
destino=$pasta/job-$1.pdf
if [ -n "$6" ]; then cat "$6"; else cat; fi >"$destino.tmp" && mv "$destino.tmp" "$destino"
EOF
# A backend only its owner may run is run as that owner (root in CI) rather
# than as the unprivileged printing user, so it can write in the build folder.
chmod 0700 "$raiz/bin/backend/tarvopdf"

cat >"$raiz/conf/cups-files.conf" <<EOF
ServerRoot $raiz/conf
ServerBin $raiz/bin
RequestRoot $raiz/spool
TempDir $raiz/spool/tmp
StateDir $raiz/estado
CacheDir $raiz/cache
AccessLog $raiz/log/access_log
ErrorLog $raiz/log/error_log
PageLog $raiz/log/page_log
Printcap $raiz/estado/printcap
CreateSelfSignedCerts no
EOF

cat >"$raiz/conf/cupsd.conf" <<EOF
Listen $socket
Browsing Off
BrowseLocalProtocols none
WebInterface No
LogLevel warn
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF

# The queues are written into the scheduler's own configuration before it
# starts: no administration command is sent anywhere, so nothing can reach
# the machine's scheduler even if the socket were not ours.
cat >"$raiz/conf/printers.conf" <<EOF
<DefaultPrinter TarvoPDF>
Info Fila de teste: cada trabalho em $raiz/saida
DeviceURI tarvopdf:$raiz/saida
State Idle
Accepting Yes
Shared No
</DefaultPrinter>
<Printer TarvoOpcoes>
Info Fila de teste com opções: cada trabalho em $raiz/saida-opcoes
Location Sala de testes
DeviceURI tarvopdf:$raiz/saida-opcoes
State Idle
Accepting Yes
Shared No
</Printer>
<Printer TarvoRecusa>
Info Fila de teste que recusa todo trabalho
Location Depósito
DeviceURI tarvopdf:$raiz/saida
State Stopped
StateMessage Tampa aberta
Reason paused
Accepting No
Shared No
</Printer>
EOF

# TarvoOpcoes's driver file: its choices become the queue's IPP options
# (media, sides, print-color-mode, print-quality), and its one filter "-"
# hands the PDF to the backend as it came, as on the raw queue.
cat >"$raiz/conf/ppd/TarvoOpcoes.ppd" <<'EOF'
*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "TARVO.PPD"
*Manufacturer: "Tarvo"
*Product: "(Tarvo Opcoes)"
*ModelName: "Tarvo Opcoes"
*ShortNickName: "Tarvo Opcoes"
*NickName: "Tarvo Opcoes"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: True
*DefaultColorSpace: RGB
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsFilter: "application/pdf 0 -"
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*PageSize Letter/US Letter: "<</PageSize[612 792]>>setpagedevice"
*PageSize Legal/US Legal: "<</PageSize[612 1008]>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: A4
*PageRegion A4/A4: "<</PageSize[595 842]>>setpagedevice"
*PageRegion Letter/US Letter: "<</PageSize[612 792]>>setpagedevice"
*PageRegion Legal/US Legal: "<</PageSize[612 1008]>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: A4
*ImageableArea A4/A4: "18 18 577 824"
*ImageableArea Letter/US Letter: "18 18 594 774"
*ImageableArea Legal/US Legal: "18 18 594 990"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
*PaperDimension Letter/US Letter: "612 792"
*PaperDimension Legal/US Legal: "612 1008"
*OpenUI *Duplex/2-Sided Printing: PickOne
*OrderDependency: 10 AnySetup *Duplex
*DefaultDuplex: None
*Duplex None/Off: "<</Duplex false>>setpagedevice"
*Duplex DuplexNoTumble/Long Edge: "<</Duplex true/Tumble false>>setpagedevice"
*Duplex DuplexTumble/Short Edge: "<</Duplex true/Tumble true>>setpagedevice"
*CloseUI: *Duplex
*OpenUI *ColorModel/Color Mode: PickOne
*OrderDependency: 10 AnySetup *ColorModel
*DefaultColorModel: RGB
*ColorModel Gray/Grayscale: "<</cupsColorSpace 0>>setpagedevice"
*ColorModel RGB/Color: "<</cupsColorSpace 1>>setpagedevice"
*CloseUI: *ColorModel
*OpenUI *cupsPrintQuality/Print Quality: PickOne
*OrderDependency: 10 AnySetup *cupsPrintQuality
*DefaultcupsPrintQuality: Normal
*cupsPrintQuality Draft/Draft: ""
*cupsPrintQuality Normal/Normal: ""
*cupsPrintQuality High/High: ""
*CloseUI: *cupsPrintQuality
*DefaultFont: Courier
*Font Courier: Standard "(002.004S)" Standard ROM
EOF

if ! cupsd -t -c "$raiz/conf/cupsd.conf" -s "$raiz/conf/cups-files.conf" >"$raiz/log/verificacao.txt" 2>&1; then
  echo "cups-teste.sh: cupsd rejects the configuration:" >&2
  cat "$raiz/log/verificacao.txt" >&2
  exit 1
fi

# In the foreground of its own background process, so its pid is known; its
# outputs go to a file, so that nothing waiting on this script's output
# waits on the scheduler too.
cupsd -f -c "$raiz/conf/cupsd.conf" -s "$raiz/conf/cups-files.conf" \
  </dev/null >>"$raiz/log/cupsd.txt" 2>&1 &
echo $! >"$pidfile"

for _ in $(seq 1 100); do
  lpstat -h "$socket" -r 2>/dev/null | grep -q 'is running' && break
  if ! kill -0 "$(cat "$pidfile")" 2>/dev/null; then
    break
  fi
  sleep 0.1
done
if ! lpstat -h "$socket" -r 2>/dev/null | grep -q 'is running'; then
  echo "cups-teste.sh: the tests' cupsd did not start; the printing tests are skipped. $raiz/log:" >&2
  cat "$raiz"/log/*_log "$raiz/log/cupsd.txt" >&2 2>/dev/null || true
  parar
  exit 77
fi

echo "cups-teste.sh: the tests' cupsd listens on $socket (pid $(cat "$pidfile")); its default queue TarvoPDF writes to $raiz/saida, TarvoRecusa refuses jobs"
