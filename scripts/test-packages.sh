#!/usr/bin/env bash
# Tests the Windows Installer packages (scripts/package) under Wine, each case in
# a fresh prefix (a copy of one prefix that wineboot made and nothing ran in):
#  - each package installs silently and writes, key for key, what regsvr32 of its
#    bitness (per machine) resp. regsvr32 /n /i:user writes, in the registry view
#    its bitness sees; the stand-in of that bitness creates the installed page by
#    ProgID on the sample profile; uninstalling leaves nothing but the profile;
#    version N+1 over N leaves one registration, N+1's file. The x86 packages run
#    where 32-bit Wine can (a 64-bit prefix: 32-bit Outlook on 64-bit Windows);
#  - the x86 packages by their tables as well;
#  - signing with a throwaway certificate, and scripts/package's bad input.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/install-deps.sh package
source scripts/wine-env.sh
source scripts/win-build.sh

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
quillon_win_configure "$win64" x86_64
quillon_win_configure "$win32" i686
cmake --build "$win64" -j2 --target Quillon QuillonOptions QuillonSession >/dev/null
cmake --build "$win32" -j2 --target Quillon QuillonOptions QuillonSession >/dev/null
rm -rf "$work"
mkdir -p "$work"
dll64=$win64/win/control/Quillon.dll
dll32=$win32/win/control/Quillon.dll
version=$(sed -n 's/^project(Quillon VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
next=${version%.*}.$((${version##*.} + 1))
# N+1 ships a DLL that differs from N's (bytes appended after the image), so the
# installed file tells which package put it there.
cp "$dll64" "$work/next-x64.dll"
cp "$dll32" "$work/next-x86.dll"
printf 'next package' | tee -a "$work/next-x64.dll" >>"$work/next-x86.dll"
package() {  # package(out dir, extra env...)
  local dir=$1; shift
  env QUILLON_PACKAGE_OUT="$dir" QUILLON_PACKAGE_DLL_X64="${dll_x64:-$dll64}" \
    QUILLON_PACKAGE_DLL_X86="${dll_x86:-$dll32}" "$@" scripts/package >"$dir.log" 2>&1
}
package "$work/v1" || { cat "$work/v1.log"; exit 1; }
dll_x64=$work/next-x64.dll dll_x86=$work/next-x86.dll package "$work/v2" QUILLON_PACKAGE_VERSION="$next" ||
  { cat "$work/v2.log"; exit 1; }
v1=$work/v1/Quillon-$version
v2=$work/v2/Quillon-$next

# Booting Wine costs more than the cases themselves: one prefix, made by wineboot and
# never run, is the template every case copies. It is kept between runs while the Wine
# that made it is the installed one.
template=build/package-prefix-template
# A template made before 32-bit Wine could run has no 32-bit system: made again.
wine_version=$("$quillon_wine64_loader" --version 2>/dev/null || wine --version)
if quillon_wine_has_win32; then wine_version+=" with 32-bit"; fi
if [ "$(cat "$template/wine-version" 2>/dev/null)" != "$wine_version" ]; then
  echo "== packages: a fresh Wine prefix as the template of every case"
  rm -rf "$template"
  quillon_wine_env "$template"
  quillon_wine_prefix
  quillon_wine_stop
  echo "$wine_version" >"$template/wine-version"
fi

fresh() {  # fresh(name): a copy of the template prefix, server started
  rm -rf "${work:?}/$1"
  cp -a "$template" "$work/$1"
  quillon_wine_env "$work/$1"
  quillon_wine_start
}
drive_c() { echo "$WINEPREFIX/drive_c"; }

# The build whose packages the next cases install: its DLL, stand-in and tools. A
# 32-bit program sees the 32-bit registry view (on 64-bit Windows the x86 classes
# below HKLM live in Wow6432Node), so the x86 cases read the registry with the
# 32-bit reg.exe and register with the 32-bit regsvr32, as 32-bit Outlook would see it.
use_arch() {  # use_arch(x64|x86)
  arch=$1
  if [ "$arch" = x86 ]; then
    build_dir=$win32 dll=$dll32 program_files='C:\Program Files (x86)'
    reg='C:\windows\syswow64\reg.exe' regsvr32='C:\windows\syswow64\regsvr32.exe'
    regedit='C:\windows\syswow64\regedit.exe'
  else
    build_dir=$win64 dll=$dll64 program_files='C:\Program Files' reg=reg regsvr32=regsvr32 regedit=regedit
  fi
}

# The class's keys below one Software\Classes, as sorted lines, the DLL path as <dll>.
classes() {  # classes(HKEY_LOCAL_MACHINE|HKEY_CURRENT_USER)
  local key file=$WINEPREFIX/drive_c/classes.reg
  for key in "$1\\Software\\Classes\\CLSID\\$clsid" "$1\\Software\\Classes\\$progid"; do
    rm -f "$file"
    "$WINE" "$reg" export "$key" 'C:\classes.reg' /y >/dev/null 2>&1 || continue
    iconv -f UTF-16 -t UTF-8 "$file" | tr -d '\r' | sed '1d;/^$/d'
  done | awk '/^\[/ { key = $0 } /^\[.*\\InprocServer32\]$/ { inproc = 1; print; next }
              /^\[/ { inproc = 0 } inproc && /^@=/ { print "@=\"<dll>\""; next } { print }'
  rm -f "$file"
}
# The registered DLL path, as Windows sees it.
registered_dll() {  # registered_dll(HKLM|HKCU)
  "$WINE" "$reg" query "$1\\Software\\Classes\\CLSID\\$clsid\\InprocServer32" /ve 2>/dev/null |
    tr -d '\r' | sed -n 's/^ *(Default) *REG_SZ *//p'
}
unix_path() { "$WINE" winepath -u "$1" 2>/dev/null | tr -d '\r'; }
# Every file and folder of drive C, and the whole registry, for "nothing left".
files() { (cd "$(drive_c)" && find . -path ./windows/Installer -prune -o -path ./registry.reg -prune -o -print | sort); }
registry() {  # registry(): the whole registry, one section per key
  "$WINE" regedit /E 'C:\registry.reg' >/dev/null 2>&1
  # Windows Installer's own bookkeeping keys stay behind empty: not the package's.
  # HKLM\System holds hardware state Wine rewrites whenever a display driver starts, and
  # Software\Wine\Temporary System Parameters the desktop settings a window program caches.
  iconv -f UTF-16 -t UTF-8 "$(drive_c)/registry.reg" | tr -d '\r' | awk '
    /^\[/ { key = substr($0, 2, length($0) - 2)
            drop = key ~ /^HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\/ ||
                   key ~ /^HKEY_LOCAL_MACHINE\\Software\\Classes\\Installer(\\|$)/ ||
                   key ~ /^HKEY_LOCAL_MACHINE\\System\\/ ||
                   key ~ /^HKEY_USERS\\S-[-0-9]*\\Software\\Microsoft\\Installer/ ||
                   key ~ /^HKEY_CURRENT_USER\\Software\\Microsoft\\Installer/ ||
                   key ~ /^HKEY_USERS\\S-[-0-9]*\\Software\\Wine\\Temporary System Parameters(\\|$)/ }
    !drop && $0 != "" { print }'
  rm -f "$(drive_c)/registry.reg"
}
# A whole-registry snapshot split in two: the sample profile's keys (the user's data,
# which the session may change) and everything else. The export shows the profile below
# HKEY_USERS\<user's SID>; the name comes in through the environment, as awk -v would
# take its backslashes for escapes.
registry_part() {  # registry_part(profile|rest, snapshot)
  part=$1 profile_key=${profile#HKEY_CURRENT_USER\\} awk '
    /^\[/ { key = substr($0, 2, length($0) - 2); sub(/^HKEY_USERS\\[^\\]*\\/, "", key)
            inside = key == ENVIRON["profile_key"] || index(key, ENVIRON["profile_key"] "\\") == 1 }
    (ENVIRON["part"] == "profile") == inside { print }' "$2"
}
msiexec() {  # msiexec(/i|/x, package): exit code of a silent run
  "$WINE" msiexec "$1" "$(winpath "$2")" /qn </dev/null >/dev/null 2>&1
}
# A 32-bit product is listed in the 32-bit view (Wow6432Node), as on Windows.
installed_products() {  # how many products name themselves Quillon in Add/Remove Programs
  "$WINE" "$reg" query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
    tr -d '\r' | grep -c 'DisplayName *REG_SZ *Quillon$' || true
}
same() { diff -u "$1" "$2" >&2; }

reference() {  # reference(): what regsvr32 of the current build's bitness writes, per scope
  echo "== packages: what $arch regsvr32 writes (the reference)"
  fresh "regsvr32-$arch"
  "$WINE" "$regsvr32" /s "$(winpath "$dll")" && "$WINE" "$regsvr32" /s /n /i:user "$(winpath "$dll")" ||
    fail "regsvr32 could not register $dll"
  classes HKEY_LOCAL_MACHINE >"$work/regsvr32-$arch-machine.txt"
  classes HKEY_CURRENT_USER >"$work/regsvr32-$arch-user.txt"
  check "regsvr32 wrote 10 rows per scope" test "$(grep -c '' "$work/regsvr32-$arch-machine.txt")" -ge 10 \
    -a "$(grep -c '' "$work/regsvr32-$arch-user.txt")" -ge 10
  quillon_wine_stop
}

# install_case(name, package, hive, export root, expected folder, scope, regsvr32 switches)
install_case() {
  local name=$1 msi=$2 hive=$3 export_root=$4 folder=$5 scope=$6
  echo "== packages: $(basename "$msi") ($scope)"
  fresh "$name"
  ${prepare:-true}
  files >"$work/$name-files-before.txt"
  registry >"$work/$name-registry-before.txt"
  check "msiexec /i /qn exits 0" msiexec /i "$msi"
  classes "$export_root" >"$work/$name-installed.txt"
  check "the registry equals what $arch regsvr32 ${7:-}writes" \
    same "$work/regsvr32-$arch-$scope.txt" "$work/$name-installed.txt"
  local installed; installed=$(registered_dll "$hive")
  check "InprocServer32 names $folder\\Quillon.dll" test "${installed,,}" = "${folder,,}\\quillon.dll"
  check "the installed file is the packaged DLL" cmp -s "$(unix_path "$installed")" "$dll"
  check "one product in Add/Remove Programs" test "$(installed_products)" = 1
}
leaves_nothing() {  # leaves_nothing(name): after the uninstall, as before the install
  local name=$1
  files >"$work/$name-files-after.txt"
  registry >"$work/$name-registry-after.txt"
  check "no file or folder left" same "$work/$name-files-before.txt" "$work/$name-files-after.txt"
  check "no key or value left" same <(registry_part rest "$work/$name-registry-before.txt") \
    <(registry_part rest "$work/$name-registry-after.txt")
  # The profile as it was just before the uninstall: what the user saved is kept, byte for byte.
  check "the profile is kept as it was" same <(registry_part profile "$work/$name-registry-installed.txt") \
    <(registry_part profile "$work/$name-registry-after.txt")
}
uninstall_case() {  # uninstall_case(name, package)
  registry >"$work/$1-registry-installed.txt"
  check "msiexec /x /qn exits 0" msiexec /x "$2"
  leaves_nothing "$1"
  quillon_wine_stop
}

# The sample's POP3 account class goes to the view of the Outlook it stands for: in the
# other one the page would not know its identity accounts as such.
import_sample() { "$WINE" "$regedit" /S "$(winpath samples/quillon-sample.reg)"; }
# Not a vacuous comparison: the sample's accounts were in the snapshot before the install
# and are still there after the uninstall.
has_accounts() { grep -q '\\Quillon Sample\\9375CFF0413111d3B88A00104B2A6676\\00000003\]$' <(registry_part profile "$1"); }
machine_and_user_cases() {  # for the current build
  prepare=import_sample install_case "machine-$arch" "$v1-$arch.msi" HKLM HKEY_LOCAL_MACHINE \
    "$program_files\\Quillon" machine
  session=$("$WINE" "$build_dir/standin/driver/QuillonSession.exe" "$(winpath "$build_dir/standin/QuillonOptions.exe")" \
    "$(winpath samples/quillon-sample.json)" 'C:\outlook-log.json' 'C:\screenshot.bmp' 2>&1 | tr -d '\r') || true
  check "the $arch stand-in created the installed page by ProgID and it listed the sample's identities" \
    grep -qF 'identity: Jane Doe - Sales <sales@quillon-sample.com>' <<<"$session"
  rm -f "$(drive_c)/outlook-log.json" "$(drive_c)/screenshot.bmp"
  uninstall_case "machine-$arch" "$v1-$arch.msi"
  check "the sample profile's accounts were there before the install" \
    has_accounts "$work/machine-$arch-registry-before.txt"
  check "and are there after the uninstall" has_accounts "$work/machine-$arch-registry-after.txt"

  install_case "user-$arch" "$v1-$arch-user.msi" HKCU HKEY_CURRENT_USER \
    'C:\users\root\AppData\Local\Programs\Quillon' user "/n /i:user "
  uninstall_case "user-$arch" "$v1-$arch-user.msi"
}

refused() { ! msiexec "$@"; }
upgrade_case() {  # upgrade_case(name, package suffix, HKLM|HKCU, export root, machine|user)
  local name=$1-$arch suffix=$2 hive=$3 export_root=$4 scope=$5 installed
  echo "== packages: $arch version $next over $version (major upgrade, $scope)"
  fresh "$name"
  files >"$work/$name-files-before.txt"
  registry >"$work/$name-registry-before.txt"
  check "msiexec /i $version exits 0" msiexec /i "$v1-$arch$suffix.msi"
  check "msiexec /i $next exits 0" msiexec /i "$v2-$arch$suffix.msi"
  check "one product in Add/Remove Programs" test "$(installed_products)" = 1
  classes "$export_root" >"$work/$name-installed.txt"
  check "one registration, as regsvr32 writes it" same "$work/regsvr32-$arch-$scope.txt" "$work/$name-installed.txt"
  installed=$(registered_dll "$hive")
  check "it names $next's file" cmp -s "$(unix_path "$installed")" "$work/next-$arch.dll"
  check "one Quillon.dll installed" \
    test "$(cd "$(drive_c)" && find . -path ./windows -prune -o -iname quillon.dll -print | wc -l)" = 1
  check "the lower version is refused over the higher one" refused /i "$v1-$arch$suffix.msi"
  uninstall_case "$name" "$v2-$arch$suffix.msi"
}

arches=(x64)
if quillon_wine_has_win32; then
  arches+=(x86)
else
  echo "== packages: x86 installs SKIPPED: $QUILLON_WINE32_WHY; their tables are still checked below"
fi
for arch in "${arches[@]}"; do
  use_arch "$arch"
  reference
  machine_and_user_cases
  upgrade_case upgrade '' HKLM HKEY_LOCAL_MACHINE machine
  upgrade_case upgrade-user -user HKCU HKEY_CURRENT_USER user
done

echo "== packages: x86, by their tables"
table() { msiinfo export "$1" "$2" | tr -d '\r' | tail -n +4; }
for scope in machine user; do
  suffix=; [ $scope = user ] && suffix=-user
  x86=$v1-x86$suffix.msi x64=$v1-x64$suffix.msi
  echo "   $(basename "$x86")"
  check "Intel platform in the summary information" grep -qx 'Template: Intel;1033' <(msiinfo suminfo "$x86")
  check "the same registry rows as the x64 package" \
    same <(table "$x64" Registry | cut -f2- | sort) <(table "$x86" Registry | cut -f2- | sort)
  check "the component is 32-bit" grep -qP '^QuillonControl\t\{[-0-9A-F]+\}\tINSTALLFOLDER\t0\t' <(table "$x86" Component)
  check "the x86 DLL, by size" grep -qP "^QuillonDll\tQuillonControl\tQuillon.dll\t$(stat -c %s "$dll32")\t" <(table "$x86" File)
  extracted=$work/extract-$scope
  rm -rf "$extracted" && mkdir -p "$extracted"
  (cd "$extracted" && msiextract "$(realpath "$root/$x86")" >/dev/null)
  check "the x86 DLL, by content" cmp -s "$(find "$extracted" -name Quillon.dll)" "$dll32"
done
check "per machine: the 32-bit Program Files folder" \
  grep -qP '^INSTALLFOLDER\tProgramFilesFolder\tQuillon$' <(table "$v1-x86.msi" Directory)
check "per user: the user's local programs folder" \
  grep -qP '^UserProgramsFolder\tLocalAppDataFolder\tPrograms$' <(table "$v1-x86-user.msi" Directory)

echo "== packages: signing with a throwaway certificate"
signing=$root/$work/signing
mkdir -p "$signing"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj '/CN=Quillon test signing' \
  -keyout "$signing/key.pem" -out "$signing/cert.pem" >/dev/null 2>&1
if package "$signing/out" QUILLON_SIGN_CERT="$signing/cert.pem" QUILLON_SIGN_KEY="$signing/key.pem"; then
  pass "scripts/package signs with a certificate and key"
  check "it says the packages are signed" grep -q '^   signed' "$signing/out.log"
  verify() { osslsigncode verify -CAfile "$signing/cert.pem" -in "$1" >"$1.verify" 2>&1; }
  for msi in "$signing/out"/*.msi; do check "$(basename "$msi") verifies" verify "$msi"; done
  for scope in x64 x86; do
    rm -rf "$signing/extract-$scope" && mkdir -p "$signing/extract-$scope"
    (cd "$signing/extract-$scope" && msiextract "$(realpath "$signing/out/Quillon-$version-$scope.msi")" >/dev/null)
    check "its $scope Quillon.dll verifies" verify "$(find "$signing/extract-$scope" -name Quillon.dll)"
  done
else
  fail "scripts/package could not sign: $(tail -3 "$signing/out.log")"
fi
check "without a certificate it says the packages are unsigned" grep -q '^   unsigned' "$work/v1.log"

echo "== packages: bad input leaves no package behind"
no_package_in() { ! find "$1" -mindepth 1 -print -quit 2>/dev/null | grep -q .; }
refuses() {  # refuses(what, expected message, env...)
  local what=$1 message=$2 dir=$work/bad-$3; shift 3
  rm -rf "$dir"
  if package "$dir" "$@"; then fail "$what: scripts/package succeeded"; return; fi
  check "$what: says so" grep -q "$message" "$dir.log"
  check "$what: nothing in the output folder" no_package_in "$dir"
}
refuses "a missing x64 DLL" 'the x64 DLL .* does not exist' missing-dll QUILLON_PACKAGE_DLL_X64="$work/none.dll"
refuses "a missing x86 DLL" 'the x86 DLL .* does not exist' missing-dll-x86 QUILLON_PACKAGE_DLL_X86="$work/none.dll"
printf 'not a certificate\n' >"$signing/garbage.pem"
refuses "an unusable certificate" 'signing Quillon.dll failed' bad-cert \
  QUILLON_SIGN_CERT="$signing/garbage.pem" QUILLON_SIGN_KEY="$signing/key.pem"
refuses "half a signing identity" 'needs both QUILLON_SIGN_CERT and QUILLON_SIGN_KEY' half-identity \
  QUILLON_SIGN_CERT="$signing/cert.pem"

echo "   (Wine's msiexec cannot show: per-user classes through HKEY_CLASSES_ROOT, which Wine does"
echo "    not merge from HKCU, so the per-user page is checked by its keys, not created; elevation"
echo "    prompts and Group Policy/Intune deployment)"
echo "== packages: $failures failure(s) in $((SECONDS - start)) s"
[ "$failures" = 0 ]
