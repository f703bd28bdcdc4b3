#!/usr/bin/env bash
# Builds the Debian package of Skyatlas and checks it with lintian:
#   bash scripts/package.sh
# The build is the preset "package" (installed under /usr, without tests
# and benchmarks) in build/package; `cpack -G DEB` writes
# build/package/skyatlas_<version>_<arch>.deb (the one package there), whose
# path is the last line printed. Fails when lintian finds an error.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
cd "$root"
# Objects the default build already compiled come from ccache when it is
# the compiler launcher: paths below the tree and the build folder's own
# name do not count.
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
# The same warnings as the default build, so that its objects are the ones
# reused (CI sets SKAT_STRICT_WARNINGS=ON for both).
cmake --preset package -DSKAT_STRICT_WARNINGS="${SKAT_STRICT_WARNINGS:-OFF}" >/dev/null
cmake --build --preset package --target skat skat-cli ndhost Lumaro packaging_files
rm -f build/package/skyatlas_*.deb
(cd build/package && cpack -G DEB >/dev/null)
debs=(build/package/skyatlas_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  echo "package.sh: cpack wrote no package (or more than one)" >&2
  exit 1
fi
deb=$(realpath "${debs[0]}")
lintian --fail-on error --info "$deb"
echo "$deb"
