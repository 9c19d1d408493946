# Wine environment for running the Windows build's binaries headless.
# Source it from bash; it defines functions and changes nothing until called.
#
#   source scripts/wine-env.sh
#   quillon_wine_env BUILD_DIR   # exports WINEPREFIX=BUILD_DIR/wine-prefix, WINEDEBUG=-all,
#                                # WINEDLLOVERRIDES="mscoree,mshtml=", WINE (the wine command),
#                                # WINESERVER (the wineserver command)
#   quillon_wine_prefix          # creates the prefix once (null graphics driver, no X needed);
#                                # safe when several processes call it at the same time
#   quillon_wine_reset_registry  # back to the registry the prefix was created with
#   quillon_wine_start           # keeps a wineserver running (fast ctest); idempotent
#   quillon_wine_stop            # ends that prefix's wineserver and its processes
#
# Then run programs as: "$WINE" program.exe args...   (exit codes come back; stdout has CRLF)
# Each build directory gets its own prefix, so concurrent builds do not share registry state.
# QUILLON_WINE_PERSIST (seconds, default 120) is how long the started wineserver outlives its
# last client.

quillon_wine_env() {
  local build_dir=${1:?quillon_wine_env: build directory expected}
  mkdir -p "$build_dir"
  build_dir=$(cd "$build_dir" && pwd)
  export WINEPREFIX="$build_dir/wine-prefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  # The 64-bit loader itself: Debian's `wine` wrapper picks the 32-bit loader as
  # soon as wine32:i386 is installed, and that fails where 32-bit code cannot run.
  if [ -x "$quillon_wine64_loader" ]; then
    export WINE=$quillon_wine64_loader WINELOADER=$quillon_wine64_loader
  else
    export WINE=wine
  fi
  export WINESERVER=wineserver
}

quillon_wine64_loader=/usr/lib/wine/wine64
# Debian's wine32:i386; QUILLON_WINE32_LOADER names another (e.g. one that fails, to see
# the x86 suites skipped as on a machine that cannot run 32-bit programs).
quillon_wine32_loader=${QUILLON_WINE32_LOADER:-/usr/lib/wine/wine}

# Can 32-bit Wine run here (needed for the x86 binaries)? Decided by running its
# loader; QUILLON_WINE32_WHY says why not.
quillon_wine_has_win32() {
  if [ ! -x "$quillon_wine32_loader" ]; then
    QUILLON_WINE32_WHY="32-bit Wine is not installed (package wine32:i386, needs i386 multiarch)"
    return 1
  fi
  local output
  if ! output=$("$quillon_wine32_loader" --version 2>&1 </dev/null); then
    QUILLON_WINE32_WHY="32-bit Wine is installed but cannot run on this machine: ${output:-no output}"
    return 1
  fi
}

quillon_wine_prefix() {
  : "${WINEPREFIX:?call quillon_wine_env first}"
  local stamp="$WINEPREFIX/.quillon-ready"
  quillon_wine_prefix_usable "$stamp" && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    quillon_wine_prefix_usable "$stamp" && exit 0
    echo "== creating Wine prefix $WINEPREFIX" >&2
    rm -rf "$WINEPREFIX"
    local log="$WINEPREFIX.log"
    # Wine's own words are the only clue when it cannot start: keep them.
    if ! "$WINE" wineboot --init </dev/null >"$log" 2>&1 ||
       ! "$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >>"$log" 2>&1; then
      echo "could not create the Wine prefix $WINEPREFIX with $WINE; Wine said:" >&2
      tail -n 20 "$log" >&2
      exit 1
    fi
    # Windows without X: the driver is picked when the session starts, hence the restart.
    "$WINESERVER" -w
    # The registry as created, for quillon_wine_reset_registry.
    mkdir -p "$WINEPREFIX/.quillon-pristine"
    cp "$WINEPREFIX"/*.reg "$WINEPREFIX/.quillon-pristine/"
    touch "$stamp"
  ) 9>"$WINEPREFIX.lock"
}

# A prefix made before 32-bit Wine could run here has no 32-bit system (syswow64)
# and cannot start the x86 build: it is made again.
quillon_wine_prefix_usable() {  # quillon_wine_prefix_usable(stamp)
  [ -f "$1" ] || return 1
  [ -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ] || ! quillon_wine_has_win32
}

# Puts the prefix's registry back to how it was created, so that what one run's
# tests left behind cannot change the next run. Ends the prefix's wineserver.
quillon_wine_reset_registry() {
  : "${WINEPREFIX:?call quillon_wine_env first}"
  if [ ! -d "$WINEPREFIX/.quillon-pristine" ]; then
    quillon_wine_stop
    rm -rf "$WINEPREFIX"
    quillon_wine_prefix
    return
  fi
  quillon_wine_stop
  "$WINESERVER" -w 2>/dev/null || true
  cp "$WINEPREFIX/.quillon-pristine"/*.reg "$WINEPREFIX/"
}

quillon_wine_start() {
  quillon_wine_prefix || return 1
  # -pN only in this attached form: a bare -p keeps the server alive forever. Its
  # output goes nowhere, or it would hold the caller's pipe open as long as it runs.
  # Exit code 2: a server of this prefix is already running, which is what we want.
  "$WINESERVER" -p"${QUILLON_WINE_PERSIST:-120}" </dev/null >/dev/null 2>&1 || [ $? -eq 2 ]
  # The first client starts Wine's services; start them here with no pipe attached, or
  # they hold ctest's output pipe open and every test waits for the server to exit.
  "$WINE" cmd /c exit 0 </dev/null >/dev/null 2>&1
}

quillon_wine_stop() {
  : "${WINEPREFIX:?call quillon_wine_env first}"
  # No server running is fine; callers may run under set -e.
  if [ -d "$WINEPREFIX" ]; then "$WINESERVER" -k 2>/dev/null || true; fi
}
