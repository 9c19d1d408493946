#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when they are missing.
# Usage: scripts/install-deps.sh [native|windows|package|all]   (default: all)
set -euo pipefail

native=(cmake ninja-build g++ libgtest-dev googletest libbenchmark-dev clang libclang-rt-14-dev
        python3 unicode-data)
windows=(cmake ninja-build mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64
         nlohmann-json3-dev imagemagick xvfb xauth)
# Windows Installer packages: wixl builds them, msiinfo/msidump read them back,
# osslsigncode and openssl sign them (and make the tests' throwaway certificate); g++
# builds the host tool that writes the packages' registry rows.
package=(g++ wixl msitools osslsigncode openssl)

case "${1:-all}" in
  native) wanted=("${native[@]}") ;;
  windows) wanted=("${windows[@]}") ;;
  package) wanted=("${windows[@]}" "${package[@]}") ;;
  *) wanted=("${native[@]}" "${windows[@]}" "${package[@]}") ;;
esac

missing=()
for pkg in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq || true
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
