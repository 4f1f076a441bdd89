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
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
