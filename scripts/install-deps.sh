#!/bin/sh
# Installs the Debian packages the suite needs, only those that are missing.
# Uses sudo when not run as root.
set -e
PACKAGES="build-essential cmake ninja-build pkg-config qt6-base-dev qt6-translations-l10n libjpeg62-turbo-dev \
googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev xvfb xauth \
fonts-dejavu-core locales"

missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

echo "Installing the packages the suite needs (apt-get; this takes a while the first time):"
echo " $missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq || true
$SUDO apt-get install -y -qq --no-install-recommends $missing
