#!/usr/bin/env bash
# Installs the package that scripts/package.sh built into a clean Debian 12
# system (a debootstrap chroot, made once in build-package/chroot), plays a
# short demo with it, then purges it and lists any file the package left.
# Needs root (chroot) and the Debian archive: sudo scripts/check-package.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deb=$(ls "$root"/build-package/kelvarok_*.deb)
system="$root/build-package/chroot"
if [ ! -x "$system/bin/bash" ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
  debootstrap --variant=minbase bookworm "$system" http://deb.debian.org/debian >/dev/null
  cp /etc/resolv.conf "$system/etc/"
fi
cp "$deb" "$system/tmp/kelvarok.deb"
mountpoint -q "$system/proc" || mount -t proc proc "$system/proc"
trap 'umount "$system/proc"' EXIT
chroot "$system" /usr/bin/env -i PATH=/usr/local/bin:/usr/bin:/bin:/usr/games HOME=/root \
  bash -euo pipefail -c '
  snapshot() {
    find / -xdev \( -path /proc -o -path /tmp -o -path /run -o -path /var/cache -o -path /var/lib/apt \
      -o -path /var/log \) -prune -o -print | sort
  }
  snapshot > /tmp/before.txt
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq /tmp/kelvarok.deb >/dev/null
  echo "installed kelvarok $(dpkg-query -W -f="\${Version}" kelvarok)"
  mkdir -p -m 700 /tmp/run
  XDG_RUNTIME_DIR=/tmp/run QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
    kelvarok --demo --frames 100 --screenshot /tmp/demo.png
  echo "demo: status 0, $(stat -c %s /tmp/demo.png) bytes of screenshot"
  dpkg -L kelvarok > /tmp/files.txt
  DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq kelvarok >/dev/null
  DEBIAN_FRONTEND=noninteractive apt-get autoremove --purge -y -qq >/dev/null
  left=$(while read -r f; do [ ! -e "$f" ] || [ -d "$f" ] || echo "$f"; done < /tmp/files.txt)
  new=$(snapshot | comm -13 /tmp/before.txt - | grep -i -E "kelvarok|ombrix" || true)
  if [ -n "$left$new" ]; then echo "left behind:"; echo "$left$new"; exit 1; fi
  echo "purged: nothing of the package is left"'
cp "$system/tmp/demo.png" "$root/build-package/chroot-demo.png"
echo "screenshot: build-package/chroot-demo.png"
