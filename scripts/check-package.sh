#!/usr/bin/env bash
# Installs the two packages that scripts/package.sh built into a clean Debian
# 12 system (a debootstrap chroot, made once in build-package/chroot), checks
# that each file is where Debian's games policy puts it, plays a short demo,
# runs a tool, then purges both and lists any file the packages left.
# Needs root (chroot) and the Debian archive: sudo scripts/check-package.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
game=$(ls "$root"/build-package/kelvarok_*.deb)
tools=$(ls "$root"/build-package/kelvarok-tools_*.deb)
system="$root/build-package/chroot"
if [ ! -x "$system/bin/bash" ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
  debootstrap --variant=minbase bookworm "$system" http://deb.debian.org/debian >/dev/null
  cp /etc/resolv.conf "$system/etc/"
fi
cp "$game" "$system/tmp/kelvarok.deb"
cp "$tools" "$system/tmp/kelvarok-tools.deb"
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
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq /tmp/kelvarok.deb /tmp/kelvarok-tools.deb >/dev/null
  echo "installed kelvarok and kelvarok-tools $(dpkg-query -W -f="\${Version}" kelvarok)"
  for f in /usr/games/kelvarok /usr/share/games/kelvarok/help/kelvarok.html /usr/share/man/man6/kelvarok.6.gz \
      /usr/bin/kelvarok-sim /usr/bin/kelvarok-mix /usr/bin/kelvarok-mix-play \
      /usr/share/man/man1/kelvarok-sim.1.gz /usr/share/man/man1/kelvarok-mix.1.gz \
      /usr/share/man/man1/kelvarok-mix-play.1.gz; do
    [ -e "$f" ] || { echo "not installed: $f"; exit 1; }
  done
  # The program looks for its help from its own folder, which is
  # /usr/games: the data folder it knows must be /usr/share/games/kelvarok.
  grep -q -a "\.\./share/games/kelvarok/help/kelvarok.html" /usr/games/kelvarok ||
    { echo "the game does not look for its help in /usr/share/games/kelvarok"; exit 1; }
  mkdir -p -m 700 /tmp/run
  XDG_RUNTIME_DIR=/tmp/run QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
    kelvarok --demo --frames 100 --screenshot /tmp/demo.png
  echo "demo: status 0, $(stat -c %s /tmp/demo.png) bytes of screenshot"
  kelvarok-sim --autopilot --until 20000 >/dev/null
  echo "kelvarok-sim: 20 s of autopilot, status 0"
  dpkg -L kelvarok kelvarok-tools > /tmp/files.txt
  DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq kelvarok kelvarok-tools >/dev/null
  DEBIAN_FRONTEND=noninteractive apt-get autoremove --purge -y -qq >/dev/null
  left=$(while read -r f; do [ ! -e "$f" ] || [ -d "$f" ] || echo "$f"; done < /tmp/files.txt)
  new=$(snapshot | comm -13 /tmp/before.txt - | grep -i -E "kelvarok|ombrix" || true)
  if [ -n "$left$new" ]; then echo "left behind:"; echo "$left$new"; exit 1; fi
  echo "purged: nothing of the packages is left"'
cp "$system/tmp/demo.png" "$root/build-package/chroot-demo.png"
echo "screenshot: build-package/chroot-demo.png"
