#!/usr/bin/env bash
# Check that README.md is true: run every command it shows in a fresh clone
# of the committed tree with a fresh Lazarus configuration, check each code
# excerpt against the file it names, and each folder of the layout against
# the tree. Slow (it builds everything); run by hand, not by `make test`.
#
#   tools/readmecheck.sh            every command
#   tools/readmecheck.sh --quick    without make bench, make perf, make ide and make ide-check
#
# README conventions it relies on: code blocks are indented four spaces; a
# block whose first line starts with make, lazbuild, tests/ or tools/ holds
# commands, one a line, with an optional "# exit N" comment when N is the
# expected exit code (0 otherwise); any other block is an excerpt of the last
# `examples/...` or `tools/...` file (.lpr, .pas or .tbl) named in the paragraph before it, except
# the block under "## Layout", whose first words are folders. make clean runs
# last, since it removes what later commands run.
set -uo pipefail
cd "$(dirname "$0")/.."
quick=
[ "${1:-}" = "--quick" ] && quick=1

repo=$(pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cfg=$work/lazcfg
git clone -q "$repo" "$work/clone" || { echo "readmecheck: cannot clone $repo"; exit 1; }
cd "$work/clone"

# One record per block line: kind, README line number, text, file, block.
awk '
  function flush() { inblock = 0 }
  /^```/ {
    # A fenced block is one excerpt of the file last named, as it stands.
    if (infence) { infence = 0; file = "" } else { infence = 1; block++ }
    next
  }
  infence {
    if ($0 != "") printf "excerpt\t%d\t%s\t%s\t%d\n", NR, $0, file, block
    next
  }
  /^## / { section = $0; file = "" }
  /^    / {
    text = substr($0, 5)
    if (!inblock) {
      inblock = 1
      block++
      if (section == "## Layout") kind = "folder"
      else if (text ~ /^(make|lazbuild) |^make$|^(tests|tools)\//) kind = "command"
      else kind = "excerpt"
    }
    printf "%s\t%d\t%s\t%s\t%d\n", kind, NR, text, (kind == "excerpt" ? file : ""), block
    next
  }
  /^$/ { if (inblock) { flush(); file = "" } ; next }
  {
    flush()
    line = $0
    while (match(line, /`(examples|tools)\/[^`]*\.(lpr|pas|tbl|lfm)`/)) {
      file = substr(line, RSTART + 1, RLENGTH - 2)
      line = substr(line, RSTART + RLENGTH)
    }
  }
' README.md >"$work/blocks"

ok=0
failed=0
pass() { ok=$((ok + 1)); echo "ok      $1"; }
fail() { failed=$((failed + 1)); echo "FAILED  $1"; }

lazflags="-q -q --ws=gtk2 --pcp=$cfg"

run_command() {
  local nr=$1 text=$2 expect=0 cmd status
  cmd=${text%%#*}
  cmd=${cmd%"${cmd##*[![:space:]]}"}
  if [[ $text =~ \#\ exit\ ([0-9]+) ]]; then expect=${BASH_REMATCH[1]}; fi
  case $cmd in
    "make bench"|"make perf"|"make ide"|"make ide-check") [ -n "$quick" ] && { echo "skipped $cmd (--quick)"; return; } ;;
  esac
  case $cmd in
    make\ *|make) bash -c "$cmd LAZFLAGS=\"$lazflags\"" >"$work/out" 2>&1 ;;
    lazbuild\ *) bash -c "lazbuild --pcp=$cfg ${cmd#lazbuild }" >"$work/out" 2>&1 ;;
    *) bash -c "$cmd" >"$work/out" 2>&1 ;;
  esac
  status=$?
  if [ "$status" -eq "$expect" ] && ! grep -q '^Option at position' "$work/out"; then
    pass "README:$nr $cmd"
  else
    fail "README:$nr $cmd (exit $status, expected $expect)"
    tail -n 15 "$work/out" | sed 's/^/        /'
  fi
  case $cmd in
    lazbuild\ --add-package-link*) check_registered "$nr" ;;
  esac
}

# A registered package is found by name: build the by-name example with its
# requirement naming only the package.
check_registered() {
  if ! grep -q '<Name Value="orvane_d5"/>' "$cfg/packagefiles.xml" 2>/dev/null; then
    fail "README:$1 the package is not registered in $cfg"
    return
  fi
  sed '/<DefaultFilename /d' examples/orvbyname.lpi >examples/orvbyname-bylink.lpi
  if lazbuild $lazflags examples/orvbyname-bylink.lpi >"$work/out" 2>&1; then
    pass "README:$1 a project requiring orvane_d5 by name builds"
  else
    fail "README:$1 a project requiring orvane_d5 by name does not build"
    tail -n 15 "$work/out" | sed 's/^/        /'
  fi
  rm -f examples/orvbyname-bylink.lpi
}

# Each excerpt line must be in the file, in the order shown.
check_excerpts() {
  local block file nr text at last missing
  for block in $(awk -F'\t' '$1 == "excerpt" { print $5 }' "$work/blocks" | uniq); do
    file=$(awk -F'\t' -v b="$block" '$5 == b { print $4; exit }' "$work/blocks")
    nr=$(awk -F'\t' -v b="$block" '$5 == b { print $2; exit }' "$work/blocks")
    if [ -z "$file" ] || [ ! -f "$file" ]; then
      fail "README:$nr excerpt names no file of the tree (${file:-none})"
      continue
    fi
    last=0
    missing=
    while IFS= read -r text; do
      at=$(grep -nF -- "${text#"${text%%[![:space:]]*}"}" "$file" | cut -d: -f1 |
        awk -v after="$last" '$1 > after { print; exit }')
      if [ -z "$at" ]; then missing=$text; break; fi
      last=$at
    done < <(awk -F'\t' -v b="$block" '$5 == b { print $3 }' "$work/blocks")
    if [ -n "$missing" ]; then
      fail "README:$nr excerpt line not in $file: $missing"
    else
      pass "README:$nr excerpt of $file"
    fi
  done
}

check_layout() {
  local folder nr listed=
  while IFS=$'\t' read -r nr folder; do
    listed="$listed ${folder%/}"
    if [ -d "$folder" ]; then pass "README:$nr folder $folder"; else fail "README:$nr folder $folder does not exist"; fi
  done < <(awk -F'\t' '$1 == "folder" { split($3, w, " "); print $2 "\t" w[1] }' "$work/blocks")
  for folder in $(git ls-files | grep / | cut -d/ -f1 | grep -v '^\.' | sort -u); do
    case " $listed " in
      *" $folder "*) ;;
      *) fail "README layout does not list $folder/" ;;
    esac
  done
}

deferred=()
while IFS=$'\t' read -r kind nr text _ _; do
  [ "$kind" = command ] || continue
  case $text in
    "make clean"*) deferred+=("$nr"$'\t'"$text") ;;
    *) run_command "$nr" "$text" ;;
  esac
done <"$work/blocks"
check_excerpts
check_layout
for entry in "${deferred[@]}"; do
  run_command "${entry%%$'\t'*}" "${entry#*$'\t'}"
done

echo "$ok passed, $failed failed"
[ "$failed" -eq 0 ]
