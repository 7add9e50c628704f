#!/usr/bin/env bash
# Installs the Debian packages the build needs, skipping those already there.
set -euo pipefail
packages=(g++ cmake ninja-build pkg-config ccache
  libsqlite3-dev sqlite3 libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools fonts-liberation xvfb
  locales desktop-file-utils appstream
  qt6-charts-dev libqt6opengl6-dev libxkbcommon-dev libxss-dev poppler-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# The tests check numbers under a German locale (decimal comma).
make_test_locale() {
  locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$' && return 0
  echo "Making the de_DE.UTF-8 locale for the tests"
  # localedef ends with 1 after mere warnings: what counts is the locale made.
  $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8 || locale -a | grep -qi '^de_DE\.utf-\?8$'
}
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if [ ${#missing[@]} -eq 0 ]; then
  make_test_locale
  exit 0
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
for attempt in 1 2 3; do
  if $sudo apt-get -o DPkg::Lock::Timeout=300 update -qq &&
     $sudo apt-get -o DPkg::Lock::Timeout=300 install -y -qq --no-install-recommends "${missing[@]}"; then
    make_test_locale
    exit 0
  fi
  echo "apt-get failed (attempt $attempt); retrying" >&2
  sleep 10
done
exit 1
