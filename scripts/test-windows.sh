#!/usr/bin/env bash
# Cross-builds the Windows targets for x64 (build/win64) and x86 (build/win32),
# checks that every binary imports only system DLLs, and runs the Windows test
# suites under Wine, headless, in each build directory's private Wine prefix.
# The x86 tests run in a 64-bit prefix, as 32-bit Outlook on 64-bit Windows, where
# 32-bit Wine runs; elsewhere they are skipped with the reason.
# QUILLON_WIN_BUILD_TYPE overrides the build type (default Release: what ships).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh windows
source scripts/wine-env.sh
source scripts/win-build.sh

build_type=${QUILLON_WIN_BUILD_TYPE:-Release}
# DLLs every Windows installation provides; anything else would have to ship.
system_dlls='^(kernel32|user32|gdi32|advapi32|ole32|oleaut32|shell32|shlwapi|comctl32|comdlg32|msvcrt|uxtheme|version|winmm|imm32|rpcrt4|oleacc|ws2_32)\.dll$'

build() {  # build(dir, arch)
  local dir=$1 arch=$2 start=$SECONDS
  echo "== Windows $arch build ($dir, $build_type)"
  quillon_win_configure "$dir" "$arch"
  cmake --build "$dir" -j2
  echo "   built in $((SECONDS - start)) s"
}

check_imports() {  # check_imports(dir, arch)
  local dir=$1 arch=$2 bad=0 file dlls
  while IFS= read -r file; do
    dlls=$("$arch-w64-mingw32-objdump" -p "$file" | sed -n 's/^\s*DLL Name: //p' | sort -f | tr '\n' ' ')
    printf '   %-48s %9s bytes  imports: %s\n' "$file" "$(stat -c %s "$file")" "$dlls"
    for dll in $dlls; do
      if ! [[ ${dll,,} =~ $system_dlls ]]; then
        echo "   ERROR: $file imports $dll, which is not a system DLL" >&2
        bad=1
      fi
    done
  done < <(find "$dir" -path "$dir/wine-prefix" -prune -o -type f \( -name '*.exe' -o -name '*.dll' \) \
             -not -path '*/CMakeFiles/*' -print | sort)
  return $bad
}

# The library's exports by their plain names: an x86 build that decorated them
# (_DllGetClassObject@12) could not be registered or created by COM.
check_exports() {  # check_exports(dir, arch)
  local dll=$1/win/control/Quillon.dll arch=$2 names
  names=$("$arch-w64-mingw32-objdump" -p "$dll" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/s/^\s*\[ *[0-9]*\] //p' | sort | tr '\n' ' ')
  echo "   $dll exports: $names"
  if [ "$names" != "DllCanUnloadNow DllGetClassObject DllInstall DllRegisterServer DllUnregisterServer " ]; then
    echo "   ERROR: $dll must export exactly the five Dll* entry points, undecorated" >&2
    return 1
  fi
}

run_tests() {  # run_tests(dir)
  local dir=$1 start=$SECONDS
  quillon_wine_env "$dir"
  quillon_wine_reset_registry
  quillon_wine_start
  # One test at a time: all Wine processes of a prefix share one registry and one
  # desktop, so tests running side by side see each other's keys (HKEY_CLASSES_ROOT
  # entries are not per test) and take each other's active window and keystrokes.
  # Each test costs Wine little once the server is up. A test stuck in a modal loop
  # fails after the timeout instead of stalling the run.
  ctest --test-dir "$dir" --output-on-failure --timeout "${QUILLON_TEST_TIMEOUT:-300}"
  echo "   tests ran in $((SECONDS - start)) s"
}

build build/win64 x86_64
build build/win32 i686
echo "== Windows binaries and the DLLs they import"
check_imports build/win64 x86_64
check_imports build/win32 i686
echo "== Quillon.dll's exports"
check_exports build/win64 x86_64
check_exports build/win32 i686

echo "== Windows x64 tests under Wine"
run_tests build/win64
if quillon_wine_has_win32; then
  echo "== Windows x86 tests under Wine"
  run_tests build/win32
else
  echo "== Windows x86 tests SKIPPED: $QUILLON_WINE32_WHY;" \
       "the x86 build was still made and checked above."
fi
