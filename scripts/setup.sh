#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine, as root.
# Does nothing that is already done.
set -euo pipefail

packages=(cmake ninja-build g++ googletest
          g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
          mingw-w64-i686-dev libz-mingw-w64-dev
          g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
          binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
          wine wine32 wine64 xvfb xauth x11-utils
          cups cups-client printer-driver-cups-pdf libcups2:i386 libcups2
          zlib1g-dev clang-14 libclang-rt-14-dev
          python3-pil pngcheck imagemagick poppler-utils
          libreoffice-impress libreoffice-draw libreoffice-calc
          python3 tidy xclip universal-ctags
          ghostscript librsvg2-bin libxml2-utils python3-ezdxf hp2xx libwmf-bin emf2svg)

need_arch=0
dpkg --print-foreign-architectures | grep -qx i386 || need_arch=1
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if (( need_arch )) || (( ${#missing[@]} )); then
  echo "setup: installing ${missing[*]:-(i386 architecture)}"
  (( need_arch )) && dpkg --add-architecture i386
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# A real default printer for Wine: cups-pdf's queue named PDF.
cups_running() { lpstat -r 2>/dev/null | grep -q 'is running'; }
if ! cups_running; then
  /usr/sbin/cupsd >/dev/null 2>&1 || true
  for _ in $(seq 100); do cups_running && break; sleep 0.1; done
fi
if ! lpstat -p PDF >/dev/null 2>&1; then
  ppd=$(ls /usr/share/ppd/cups-pdf/*.ppd 2>/dev/null | head -n 1 || true)
  lpadmin -p PDF -v cups-pdf:/ -E ${ppd:+-P "$ppd"}
fi
lpadmin -d PDF >/dev/null 2>&1 || true

# Every PDF is named with its job's number as well as its title, so that a
# later job of the same title (or of none) never overwrites an earlier file.
pdf_conf=/etc/cups/cups-pdf.conf
if [[ -f $pdf_conf ]] && ! grep -qx 'Label 1' "$pdf_conf"; then
  sed -i '/^#\?Label[[:space:]]/d' "$pdf_conf"
  echo 'Label 1' >> "$pdf_conf"
fi
