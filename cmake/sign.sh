#!/bin/sh
# Signs the Windows programs and libraries given, in place, with the code
# signing certificate in KORVAL_SIGN_CERT (a PKCS#12 file) whose password is
# in KORVAL_SIGN_PASSWORD. Without a certificate it signs nothing and says so.
set -eu
if [ -z "${KORVAL_SIGN_CERT:-}" ]; then
  echo "Not signed (no certificate in KORVAL_SIGN_CERT): $(basename "$1")${2:+ and $(($# - 1)) more}"
  exit 0
fi
password="$(mktemp)"
trap 'rm -f "$password"' EXIT
printf '%s' "${KORVAL_SIGN_PASSWORD:-}" >"$password"
for file in "$@"; do
  osslsigncode sign -pkcs12 "$KORVAL_SIGN_CERT" -readpass "$password" -h sha256 -n KORVAL \
    -i https://korval.it/ -in "$file" -out "$file.signed" >/dev/null
  mv "$file.signed" "$file"
done
