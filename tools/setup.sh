#!/usr/bin/env bash
# Install from Debian packages whatever the build and the tests need and is
# missing. Does nothing when everything is present, so every make target may
# call it.
set -euo pipefail

packages=(fpc lcl-2.2 lcl-gtk2-2.2 lcl-utils-2.2 lazarus-src-2.2 lazarus-ide-2.2 xvfb xauth make valgrind
  xdotool x11-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null; then sudo=sudo; else
    echo "setup: missing packages (${missing[*]}) and not root" >&2; exit 1
  fi
else
  sudo=
fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
