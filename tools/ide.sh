#!/usr/bin/env bash
# Install the package in a Lazarus IDE: register the runtime package,
# install the design-time package and rebuild the IDE with it.
#
#   tools/ide.sh            (what `make ide` runs)
#
# Where the IDE is built, from the environment:
#   IDE_LAZDIR  the Lazarus tree the IDE is built in. Default: a private copy
#               of the installed tree under /tmp/orvane-ide, made on the first
#               run, so that the installed LCL units are never rebuilt under
#               the programs compiled against them. Give your own Lazarus tree
#               (one you can write to) to rebuild your own IDE.
#   IDE_PCP     the IDE's configuration folder. Default /tmp/orvane-ide/config;
#               give ~/.lazarus to install into your everyday configuration.
#   LAZSRC      the installed tree the private copy is made from.
#
# The rebuilt IDE is $IDE_LAZDIR/lazarus; start it with
#   $IDE_LAZDIR/lazarus --pcp=$IDE_PCP
# The first build compiles the LCL and the IDE's packages once (minutes on
# a small machine); later runs rebuild what changed.
set -euo pipefail
cd "$(dirname "$0")/.."

LAZSRC=${LAZSRC:-/usr/lib/lazarus/2.2.6}
IDE_LAZDIR=${IDE_LAZDIR:-/tmp/orvane-ide/lazarus}
IDE_PCP=${IDE_PCP:-/tmp/orvane-ide/config}
LAZBUILD=${LAZBUILD:-lazbuild}

if [ ! -d "$IDE_LAZDIR" ]; then
  echo "ide: copying $LAZSRC to $IDE_LAZDIR"
  mkdir -p "$(dirname "$IDE_LAZDIR")"
  cp -a "$LAZSRC" "$IDE_LAZDIR"
fi
mkdir -p "$IDE_PCP"

ide_lazbuild() {
  "$LAZBUILD" -q --ws=gtk2 --lazarusdir="$IDE_LAZDIR" --pcp="$IDE_PCP" "$@"
}

here=$(pwd)
echo "ide: registering $here/package/orvane_d5.lpk"
ide_lazbuild --add-package-link "$here/package/orvane_d5.lpk"
echo "ide: installing $here/package/orvane_d5_dsgn.lpk and building the IDE"
ide_lazbuild --add-package "$here/package/orvane_d5_dsgn.lpk" --build-ide= >"$IDE_PCP/orvane-build.log" 2>&1 || {
  grep -E 'Error|Fatal' "$IDE_PCP/orvane-build.log" | head -n 40
  echo "ide: the IDE build failed; see $IDE_PCP/orvane-build.log"
  exit 1
}

# lazbuild keeps the configuration's Lazarus directory, and marks it with a
# version spelled otherwise than the IDE's own, which would make the IDE ask
# on start whether to downgrade it: the IDE must find the tree it was built
# in, and its own version.
version=$(sed -n "s/^'\(.*\)'$/\1/p" "$IDE_LAZDIR/ide/version.inc")
sed -i -e "s|<LazarusDirectory Value=\"[^\"]*\"|<LazarusDirectory Value=\"$IDE_LAZDIR/\"|" \
  -e "s|<Version Value=\"\([0-9]*\)\" Lazarus=\"[^\"]*\"|<Version Value=\"\1\" Lazarus=\"$version\"|" \
  "$IDE_PCP/environmentoptions.xml"

grep -q '^orvane_d5_dsgn,' "$IDE_PCP/staticpackages.inc" || {
  echo "ide: orvane_d5_dsgn is not among the IDE's packages ($IDE_PCP/staticpackages.inc)"
  exit 1
}
echo "ide: built $IDE_LAZDIR/lazarus with orvane_d5_dsgn"
echo "ide: start it with: $IDE_LAZDIR/lazarus --pcp=$IDE_PCP"
