#!/usr/bin/env bash
# Tests the Windows Installer packages (scripts/package) under Wine, each case in
# a fresh prefix (a copy of one prefix made for this run):
#  - each x64 package installs silently and writes, key for key, what regsvr32
#    (per machine) resp. regsvr32 /n /i:user writes; the stand-in creates the
#    installed page by ProgID on the sample profile; uninstalling leaves nothing
#    but the profile; version N+1 over N leaves one registration, N+1's file;
#  - the x86 packages, which cannot run here, by their tables;
#  - signing with a throwaway certificate, and scripts/package's bad input.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/install-deps.sh package
source scripts/wine-env.sh

work=build/package-tests
win64=build/win64
win32=build/win32
clsid='{E81ED592-4150-42B6-B949-17B9278EB854}'
progid=Quillon.QuillonPage
profile='HKEY_CURRENT_USER\Software\Microsoft\Windows NT\CurrentVersion\Windows Messaging Subsystem\Profiles\Quillon Sample'
failures=0
start=$SECONDS

pass() { echo "   ok: $*"; }
fail() { echo "   FAILED: $*" >&2; failures=$((failures + 1)); }
check() { local what=$1; shift; if "$@"; then pass "$what"; else fail "$what"; fi; }
winpath() { printf 'Z:%s' "$(realpath -m "$1" | tr / '\\')"; }

echo "== packages: building"
cmake --build "$win64" -j2 --target Quillon QuillonOptions QuillonSession >/dev/null
cmake --build "$win32" -j2 --target Quillon >/dev/null
rm -rf "$work"
mkdir -p "$work"
dll64=$win64/win/control/Quillon.dll
dll32=$win32/win/control/Quillon.dll
version=$(sed -n 's/^project(Quillon VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
next=${version%.*}.$((${version##*.} + 1))
# N+1 ships a DLL that differs from N's (bytes appended after the image), so the
# installed file tells which package put it there.
cp "$dll64" "$work/next-x64.dll"
printf 'next package' >>"$work/next-x64.dll"
package() {  # package(out dir, extra env...)
  local dir=$1; shift
  env QUILLON_PACKAGE_OUT="$dir" QUILLON_PACKAGE_DLL_X64="${dll_x64:-$dll64}" \
    QUILLON_PACKAGE_DLL_X86="$dll32" "$@" scripts/package >"$dir.log" 2>&1
}
package "$work/v1" || { cat "$work/v1.log"; exit 1; }
dll_x64=$work/next-x64.dll package "$work/v2" QUILLON_PACKAGE_VERSION="$next" || { cat "$work/v2.log"; exit 1; }
v1=$work/v1/Quillon-$version
v2=$work/v2/Quillon-$next

echo "== packages: a fresh Wine prefix as the template of every case"
quillon_wine_env "$work/template"
quillon_wine_prefix
quillon_wine_stop

fresh() {  # fresh(name): a copy of the template prefix, server started
  quillon_wine_env "$work/template"
  quillon_wine_stop
  rm -rf "${work:?}/$1"
  cp -a "$work/template" "$work/$1"
  quillon_wine_env "$work/$1"
  quillon_wine_start
}
drive_c() { echo "$WINEPREFIX/drive_c"; }

# The class's keys below one Software\Classes, as sorted lines, the DLL path as <dll>.
classes() {  # classes(HKEY_LOCAL_MACHINE|HKEY_CURRENT_USER)
  local key file=$WINEPREFIX/drive_c/classes.reg
  for key in "$1\\Software\\Classes\\CLSID\\$clsid" "$1\\Software\\Classes\\$progid"; do
    rm -f "$file"
    "$WINE" regedit /E 'C:\classes.reg' "$key" >/dev/null 2>&1 || continue
    iconv -f UTF-16 -t UTF-8 "$file" | tr -d '\r' | sed '1d;/^$/d'
  done | awk '/^\[/ { key = $0 } /^\[.*\\InprocServer32\]$/ { inproc = 1; print; next }
              /^\[/ { inproc = 0 } inproc && /^@=/ { print "@=\"<dll>\""; next } { print }'
  rm -f "$file"
}
# The registered DLL path, as Windows sees it.
registered_dll() {  # registered_dll(HKLM|HKCU)
  "$WINE" reg query "$1\\Software\\Classes\\CLSID\\$clsid\\InprocServer32" /ve 2>/dev/null |
    tr -d '\r' | sed -n 's/^ *(Default) *REG_SZ *//p'
}
unix_path() { "$WINE" winepath -u "$1" 2>/dev/null | tr -d '\r'; }
# Every file and folder of drive C, and the whole registry, for "nothing left".
files() { (cd "$(drive_c)" && find . -path ./windows/Installer -prune -o -path ./registry.reg -prune -o -print | sort); }
registry() {
  "$WINE" regedit /E 'C:\registry.reg' >/dev/null 2>&1
  # Windows Installer's own bookkeeping keys stay behind empty: not the package's.
  iconv -f UTF-16 -t UTF-8 "$(drive_c)/registry.reg" | tr -d '\r' |
    grep -v -e '^\[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\' \
            -e '^\[HKEY_USERS\\S-[-0-9]*\\Software\\Microsoft\\Installer' \
            -e '^\[HKEY_CURRENT_USER\\Software\\Microsoft\\Installer'
  rm -f "$(drive_c)/registry.reg"
}
msiexec() {  # msiexec(/i|/x, package): exit code of a silent run
  "$WINE" msiexec "$1" "$(winpath "$2")" /qn </dev/null >/dev/null 2>&1
}
installed_products() {  # how many products name themselves Quillon in Add/Remove Programs
  "$WINE" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
    tr -d '\r' | grep -c 'DisplayName *REG_SZ *Quillon$' || true
}
same() { diff -u "$1" "$2" >&2; }

echo "== packages: what regsvr32 writes (the reference)"
fresh regsvr32
"$WINE" regsvr32 /s "$(winpath "$dll64")" && "$WINE" regsvr32 /s /n /i:user "$(winpath "$dll64")" ||
  fail "regsvr32 could not register $dll64"
classes HKEY_LOCAL_MACHINE >"$work/regsvr32-machine.txt"
classes HKEY_CURRENT_USER >"$work/regsvr32-user.txt"
check "regsvr32 wrote 10 rows per scope" \
  test "$(grep -c '' "$work/regsvr32-machine.txt")" -ge 10 -a "$(grep -c '' "$work/regsvr32-user.txt")" -ge 10
quillon_wine_stop

# install_case(name, package, hive, export root, expected folder)
install_case() {
  local name=$1 msi=$2 hive=$3 export_root=$4 folder=$5 scope=$6
  echo "== packages: $(basename "$msi") ($scope)"
  fresh "$name"
  files >"$work/$name-files-before.txt"
  registry >"$work/$name-registry-before.txt"
  check "msiexec /i /qn exits 0" msiexec /i "$msi"
  classes "$export_root" >"$work/$name-installed.txt"
  check "the registry equals what regsvr32 ${7:-}writes" same "$work/regsvr32-$scope.txt" "$work/$name-installed.txt"
  local dll; dll=$(registered_dll "$hive")
  check "InprocServer32 names $folder\\Quillon.dll" test "${dll,,}" = "${folder,,}\\quillon.dll"
  check "the installed file is the packaged DLL" cmp -s "$(unix_path "$dll")" "$dll64"
  check "one product in Add/Remove Programs" test "$(installed_products)" = 1
}
uninstall_case() {  # uninstall_case(name, package)
  check "msiexec /x /qn exits 0" msiexec /x "$2"
  files >"$work/$1-files-after.txt"
  registry >"$work/$1-registry-after.txt"
  check "no file or folder left" same "$work/$1-files-before.txt" "$work/$1-files-after.txt"
  check "no key or value left" same "$work/$1-registry-before.txt" "$work/$1-registry-after.txt"
  quillon_wine_stop
}

install_case machine "$v1-x64.msi" HKLM HKEY_LOCAL_MACHINE 'C:\Program Files\Quillon' machine
"$WINE" regedit /S "$(winpath samples/quillon-sample.reg)"
session=$("$WINE" "$win64/standin/driver/QuillonSession.exe" "$(winpath "$win64/standin/QuillonOptions.exe")" \
  "$(winpath samples/quillon-sample.json)" 'C:\outlook-log.json' 'C:\screenshot.bmp' 2>&1 | tr -d '\r') || true
check "the stand-in created the installed page by ProgID and loaded the sample profile" \
  grep -q 'identity: ' <<<"$session"
"$WINESERVER" -w
rm -f "$(drive_c)/outlook-log.json" "$(drive_c)/screenshot.bmp"
"$WINE" regedit /E 'C:\profile-before.reg' "$profile"
# What the session saved is the user's: the uninstall must keep it, byte for byte.
files >"$work/machine-files-before.txt"
registry >"$work/machine-registry-before.txt"
uninstall_case machine "$v1-x64.msi"

install_case user "$v1-x64-user.msi" HKCU HKEY_CURRENT_USER 'C:\users\root\AppData\Local\Programs\Quillon' user "/n /i:user "
uninstall_case user "$v1-x64-user.msi"
