#!/usr/bin/env bash
# Installs the Debian package into a fresh Debian 12 and removes it again:
#   bash scripts/package-check.sh build/package/skyatlas_<version>_<arch>.deb
# Makes a clean root with debootstrap (minbase, from Debian's mirror or
# $DEBIAN_MIRROR, with the tools the checks use), installs the package there
# with `apt install ./FILE.deb`, which fetches its dependencies, runs the
# programs, finds the man page, validates the desktop entry and completes a
# command line, then purges the package with the dependencies it brought
# and checks that the root holds exactly the files it held before. Needs
# root (or sudo) and the network; nothing is kept between runs.
#
# Recommended packages are left out, so that the programs are seen to run
# with the package's dependencies alone (its one recommendation,
# bash-completion, is among the tools).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
deb=$(realpath "${1:?usage: package-check.sh FILE.deb}")
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
[ -f "$deb" ] || { echo "package-check.sh: no file $deb" >&2; exit 1; }
if [ "$(id -u)" -ne 0 ]; then
  exec sudo --preserve-env=DEBIAN_MIRROR bash "$here/package-check.sh" "$deb"
fi
command -v debootstrap >/dev/null || bash "$here/install-deps.sh"

started=$SECONDS
step() { echo "-- $1 ($((SECONDS - started)) s)"; }

target=$(mktemp -d /tmp/skyatlas-debian12.XXXXXX)
# The root of a system: its users other than root (apt's, man's) go in.
chmod 755 "$target"
cleanup() {
  for mount in "$target/dev/pts" "$target/proc"; do
    mountpoint -q "$mount" && umount "$mount"
  done
  rm -rf --one-file-system "$target"
}
trap cleanup EXIT

step "debootstrap bookworm from $mirror"
debootstrap --variant=minbase --include=man-db,desktop-file-utils,bash-completion \
  bookworm "$target" "$mirror" >"$target.log" 2>&1 ||
  { tail -20 "$target.log"; rm -f "$target.log"; exit 1; }
rm -f "$target.log"
mount -t proc proc "$target/proc"
mkdir -p "$target/dev/pts"
mount -t devpts -o newinstance,ptmxmode=0666 devpts "$target/dev/pts"
cp /etc/resolv.conf "$target/etc/resolv.conf"
# No services start in a root that no init runs, as in any chroot.
printf '#!/bin/sh\nexit 101\n' >"$target/usr/sbin/policy-rc.d"
chmod 755 "$target/usr/sbin/policy-rc.d"
inside() { chroot "$target" env DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8 bash -euo pipefail -c "$1"; }
inside "apt-get update -q >/dev/null"

# Every path of the root but the package manager's and the system's state.
snapshot() {
  inside "find / -xdev \\( -path /proc -o -path /tmp -o -path /run -o -path /dev \\
      -o -path /var/cache -o -path /var/log -o -path /var/lib/apt -o -path /var/lib/dpkg \\) \\
      -prune -o -print | sort"
}
packages() { inside "dpkg-query -W -f '\${Package} \${Version}\n' | sort"; }
snapshot >"$target/tmp/before"
packages >"$target/tmp/packages-before"

step "apt install ./$(basename "$deb")"
cp "$deb" "$target/tmp/"
inside "cd /tmp && apt-get install -y -q --no-install-recommends ./$(basename "$deb") >/dev/null"

step "the installed programs"
inside '
  # (grep reads all it is given: a reader that stops early would fail the
  # writer, and the pipe with it.)
  skat-cli --help | grep -x "Usage: skat-cli \[--navdata DIR\] \[--verbose\] COMMAND \[ARGS...\]" >/dev/null
  skat-cli --version && skat --version && ndhost --version
  test "$(man -w skat-cli)" = /usr/share/man/man1/skat-cli.1.gz
  for page in skat skat-cli ndhost; do man -w "$page" >/dev/null; done
  MANWIDTH=80 man skat-cli 2>/dev/null | grep -x "DATABASE LOCK" >/dev/null
  desktop-file-validate /usr/share/applications/skat.desktop
  test -f /usr/share/icons/hicolor/48x48/apps/skat.png
  test -f /usr/share/icons/hicolor/scalable/apps/skat.svg
  test -f /usr/share/metainfo/org.skyatlas.skat.metainfo.xml

  # The demo database, and the display loading the installed module for a
  # simulator folder that has none.
  mkdir -p /tmp/sim
  cp -R /usr/share/skyatlas/demo/NavData /tmp/sim/NavData
  skat-cli --navdata /tmp/sim/NavData check | grep -x "VOR 45" >/dev/null
  ndhost --sim-root /tmp/sim --frames 3 --lat 48.85 --lon 2.35 --nav1 PGS --report |
    grep -x "database status 0" >/dev/null
  rm -rf /tmp/sim

  # bash-completion finds the completion by the command name.
  completions=$(bash -c "
    source /usr/share/bash-completion/bash_completion
    _completion_loader skat-cli
    COMP_WORDS=(skat-cli find \"\"); COMP_CWORD=2; COMP_LINE=\"skat-cli find \"; COMP_POINT=14
    _skat_cli skat-cli \"\" find
    echo \"\${COMPREPLY[*]}\"")
  test "$completions" = "ndb vor apt int"
'

# What the package brought goes with it, even a package that one of the
# tools merely recommends (apt would keep that one by default).
step "apt purge --autoremove skyatlas"
inside "dpkg -L skyatlas >/tmp/installed && apt-get purge -y -q --autoremove \
  -o APT::AutoRemove::RecommendsImportant=false skyatlas >/dev/null"
snapshot >"$target/tmp/after"
packages >"$target/tmp/packages-after"
left=$(inside "while read -r path; do [ -e \"\$path\" ] && [ ! -d \"\$path\" ] && echo \"\$path\"; done </tmp/installed" || true)
if [ -n "$left" ]; then
  echo "package-check.sh: files of the package left after its removal:" >&2
  echo "$left" >&2
  exit 1
fi
if ! diff -u "$target/tmp/packages-before" "$target/tmp/packages-after"; then
  echo "package-check.sh: the packages installed differ from before the package" >&2
  exit 1
fi
if ! diff -u "$target/tmp/before" "$target/tmp/after"; then
  echo "package-check.sh: the root differs from before the package was installed" >&2
  exit 1
fi
step "done: installed, run and removed cleanly"
