#!/usr/bin/env bash
# Installs the Debian packages the build needs (when missing) and builds everything
# into build/. Used by both commands of the README and by CI.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t PACKAGES < scripts/packages.txt

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y "${missing[@]}"
fi

BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo}
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="$BUILD_TYPE"
cmake --build build -j"$(nproc)"
# The installable package (build/coinwick_<version>_<arch>.deb); its test reads it.
cmake --build build --target package
