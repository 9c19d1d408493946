# Configuring the Windows cross-builds, shared by the scripts that build them.
# Source it from bash:
#
#   source scripts/win-build.sh
#   quillon_win_configure build/win64 x86_64   # or build/win32 i686
#
# Configures once (QUILLON_WIN_BUILD_TYPE, default Release: what ships); later builds
# re-run CMake themselves when a CMakeLists changes. A changed toolchain file only
# takes effect in a fresh cache, so one newer than the cache starts it again.
quillon_win_configure() {
  local dir=${1:?build directory expected} arch=${2:?x86_64 or i686 expected} file
  local toolchain=$PWD/cmake/toolchain-mingw-$arch.cmake
  for file in "$toolchain" cmake/toolchain-mingw-common.cmake; do
    if [ "$file" -nt "$dir/CMakeCache.txt" ]; then rm -f "$dir/CMakeCache.txt" "$dir/build.ninja"; fi
  done
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="${QUILLON_WIN_BUILD_TYPE:-Release}" \
      -DCMAKE_TOOLCHAIN_FILE="$toolchain" >/dev/null
  fi
}
