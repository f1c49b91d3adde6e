#!/bin/sh
# msi.sh BUILD VERSION OUTPUT: the MSI package of BUILD (cmake/korval.wxs)
# at VERSION, holding the copy `cmake --install` makes, signed as the other
# Windows binaries are.
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
output="$(cd "$(dirname "$3")" && pwd)/$(basename "$3")"
# wixl takes its files by paths relative to where it runs.
cd "$1"
rm -rf msi-copy
cmake --install . --prefix msi-copy >/dev/null
find msi-copy -type f | sort | wixl-heat --prefix msi-copy/ --directory-ref INSTALLDIR --component-group Files \
  --var var.Copy >msi-files.wxs
wixl --arch x64 -D Copy=msi-copy -D Version="$2" -D Size="$(du -sk msi-copy | cut -f1)" -o "$output" korval.wxs msi-files.wxs
sh "$here/sign.sh" "$output"
