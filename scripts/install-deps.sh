#!/usr/bin/env bash
# Installs every Debian package KORVAL needs to build, run and test; with
# --ci also what CI's further checks need (a second compiler, packaging, a
# window manager); with --windows what the
# Windows cross-build, its tests under Wine and its installer need
# (MinGW-w64, GoogleTest's sources, Wine, NSIS, wixl for the MSI package, a
# display for the installed program).
# Packages that are already installed are left alone, so running it again is
# cheap and silent.
set -euo pipefail

packages=(
  build-essential cmake pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools libqt6printsupport6 libgl-dev
  qt6-qpa-plugins qt6-wayland qt6-translations-l10n qt6-base-private-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  cups cups-client cups-bsd libcups2-dev
  cups-filters printer-driver-cups-pdf cups-ipp-utils ghostscript
  dbus-daemon dbus-session-bus-common
  fonts-liberation2 fonts-dejavu-core
  # Wine's Tahoma: the desktop table in a Windows UI font's metrics.
  fonts-wine
  poppler-utils desktop-file-utils appstream
  xvfb x11-utils xdotool weston wayland-utils
  # GNOME's and KDE's compositors, which the Wayland tests start.
  mutter kwin-wayland kwin-style-breeze
)

case "${1:-}" in
  --ci) packages+=(clang dpkg-dev openbox valgrind) ;;
  # The Windows cross-build and its runs under Wine. Qt for Windows is
  # built from Debian's source of qt6-base against the host's own Qt tools;
  # its translations are the host's, which are the same files.
  --windows) packages=(cmake ninja-build dpkg-dev debian-keyring xz-utils qt6-base-dev qt6-base-dev-tools
    qt6-translations-l10n g++-mingw-w64-x86-64-posix googletest wine64 fonts-wine
    fonts-liberation2 poppler-utils nsis wixl osslsigncode openssl xvfb xdotool imagemagick
    cups cups-client cups-bsd cups-filters ghostscript) ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
