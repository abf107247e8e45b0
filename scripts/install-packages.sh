#!/usr/bin/env bash
# Installs the Debian packages of the lists given (scripts/packages.txt when
# none is) that are missing: scripts/install-packages.sh [LIST...]. This is
# the only step that needs root: run as an ordinary user, it asks sudo for
# the two apt-get calls alone.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -eq 0 ] && set -- "$here/packages.txt"
mapfile -t wanted < <(cat "$@" | grep -v -E '^\s*(#|$)')
missing=()
for pkg in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Installing them needs root, and sudo is not installed: install them as root" >&2
    echo "(su -c '$here/install-packages.sh'), then run this again." >&2
    exit 1
  fi
  as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
# sudo clears the environment, so the frontend is passed through env.
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
