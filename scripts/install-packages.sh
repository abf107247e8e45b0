#!/usr/bin/env bash
# Installs the Debian packages of the lists given (scripts/packages.txt when
# none is) that are missing: scripts/install-packages.sh [LIST...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -eq 0 ] && set -- "$here/packages.txt"
mapfile -t wanted < <(cat "$@" | grep -v -E '^\s*(#|$)')
missing=()
for pkg in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
