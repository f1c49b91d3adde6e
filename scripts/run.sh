#!/usr/bin/env bash
# Installs what is missing, builds KORVAL and starts it.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/build.sh"
exec "$root/build/app/korval" "$@"
