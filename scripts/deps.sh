#!/usr/bin/env bash
# Installs the Debian packages Pawfolio needs to build and run, when missing,
# and any further packages named as arguments.
set -euo pipefail
packages=(build-essential cmake qt6-base-dev fonts-comic-neue "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  # Installing needs root; nothing else here does.
  as_root=()
  if [ "$(id -u)" != 0 ]; then
    if ! command -v sudo > /dev/null; then
      echo "Missing: ${missing[*]}. Install them as root (apt-get install ${missing[*]}), then run this again." >&2
      exit 1
    fi
    as_root=(sudo)
  fi
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
