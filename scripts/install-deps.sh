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

# 32-bit Outlook loads the x86 DLL, so its suites run under 32-bit Wine wherever this
# machine can execute 32-bit programs. Decided by running one: a 100-byte static i386
# ELF written here that exits with 42 (nothing downloaded). Printed on every run.
runs_32bit_programs() {
  local probe rc=0
  probe=$(mktemp) || return 1
  python3 - "$probe" <<'PY' || { rm -f "$probe"; return 1; }
import struct, sys
code = bytes([0xb8, 1, 0, 0, 0, 0xbb, 42, 0, 0, 0, 0xcd, 0x80])  # exit(42) via int 0x80
base, ehsize, phsize = 0x08048000, 52, 32
header = b"\x7fELF" + bytes([1, 1, 1, 0]) + bytes(8) + struct.pack(
    "<HHIIIIIHHHHHH", 2, 3, 1, base + ehsize + phsize, ehsize, 0, 0, ehsize, phsize, 1, 0, 0, 0)
size = ehsize + phsize + len(code)
segment = struct.pack("<IIIIIIII", 1, 0, base, base, size, size, 5, 0x1000)
open(sys.argv[1], "wb").write(header + segment + code)
PY
  chmod +x "$probe"
  "$probe" 2>/dev/null || rc=$?
  rm -f "$probe"
  [ "$rc" -eq 42 ]
}

case "${1:-all}" in
  windows|package|all)
    if ! command -v python3 >/dev/null; then
      echo "32-bit Wine: not installed, python3 is missing to write the probe (x86 suites will be skipped)"
    elif runs_32bit_programs; then
      echo "32-bit Wine: this machine runs 32-bit programs, so the x86 suites run under wine32:i386"
      wanted+=(wine32:i386)
    else
      echo "32-bit Wine: this machine cannot run a 32-bit program, so the x86 suites are skipped"
    fi ;;
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
if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi
"${sudo_cmd[@]}" apt-get update -qq || true
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
