#!/usr/bin/env bash
# Check that an application requiring only the runtime package links no unit
# of the IDE's interfaces: the runtime package requires the LCL only, and no
# unit compiled for it or for the test program (which requires nothing else)
# uses an IDEIntf or BuildIntf unit. Run after a build; make test does.
set -uo pipefail
cd "$(dirname "$0")/.."

lazdir=${LAZDIR:-/usr/lib/lazarus/2.2.6}
required=$(sed -n '/<RequiredPkgs/,/<\/RequiredPkgs>/s/.*<PackageName Value="\([^"]*\)".*/\1/p' package/orvane_d5.lpk)
if [ "$required" != "LCL" ]; then
  echo "runtime: package/orvane_d5.lpk requires" $required "(the LCL only is allowed)"
  exit 1
fi

ideunits=$(ls "$lazdir"/components/ideintf/*.pas "$lazdir"/components/ideintf/*.pp \
  "$lazdir"/components/buildintf/*.pas "$lazdir"/components/buildintf/*.pp 2>/dev/null \
  | xargs -n1 basename | sed 's/\.[^.]*$//' | tr 'A-Z' 'a-z' | sort -u)
[ -n "$ideunits" ] || { echo "runtime: no IDEIntf sources under $lazdir/components"; exit 1; }

ppus=$(find package/lib -maxdepth 2 -name '*.ppu' -not -path '*/dsgn/*' 2>/dev/null; \
  find tests/lib -name '*.ppu' 2>/dev/null)
[ -n "$ppus" ] || { echo "runtime: nothing built to check"; exit 1; }
used=$(for f in $ppus; do ppudump "$f" | sed -n 's/^Uses unit: \([^ ]*\).*/\1/p'; done | tr 'A-Z' 'a-z' | sort -u)
bad=$(comm -12 <(echo "$used") <(echo "$ideunits"))
if [ -n "$bad" ]; then
  echo "runtime: IDE interface units reached:" $bad
  exit 1
fi
echo "runtime: $(echo "$ppus" | wc -l) units of the runtime package and the test program use no IDE interface unit"
