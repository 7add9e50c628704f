#!/usr/bin/env bash
# Installs the Debian packages the build needs, skipping those already there.
set -euo pipefail
packages=(g++ cmake ninja-build pkg-config ccache
  libsqlite3-dev libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools fonts-liberation xvfb)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
for attempt in 1 2 3; do
  if $sudo apt-get -o DPkg::Lock::Timeout=300 update -qq &&
     $sudo apt-get -o DPkg::Lock::Timeout=300 install -y -qq --no-install-recommends "${missing[@]}"; then
    exit 0
  fi
  echo "apt-get failed (attempt $attempt); retrying" >&2
  sleep 10
done
exit 1
