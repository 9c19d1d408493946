#!/usr/bin/env bash
# The fuzz targets as a test: each runs a few seconds from its starting corpus,
# then replays that corpus input by input. A failed check, a sanitizer report
# or a crash fails the run (a fuzzed input is kept in build/fuzz/findings/).
#
#   scripts/test-fuzz.sh [SECONDS]   (default 5 per target)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-5}
targets=(read_value_text load_directory_addresses delete_account apply_identity_line
         validate_input page_load)
build=build/fuzz

echo "== fuzz targets: starting corpora, then ${seconds} s each"
for target in "${targets[@]}"; do
  inputs=(fuzz/corpus/"$target"/*)
  if [ ! -e "${inputs[0]}" ]; then
    echo "test-fuzz: fuzz/corpus/$target holds no starting corpus" >&2
    exit 1
  fi
done
# scripts/fuzz builds the targets and runs each from its starting corpus (a
# failing starting input fails it at once) plus a scratch corpus wiped first,
# so the run takes the same time every day.
scratch=$build/test-corpus
rm -rf "$scratch"
QUILLON_FUZZ_CORPUS=$scratch scripts/fuzz "$seconds" "${targets[@]}"
# Each starting input once more on its own: an input that fails only after
# others ran (state left behind between inputs) shows here.
for target in "${targets[@]}"; do
  if ! "$build/fuzz/${target}_fuzz" fuzz/corpus/"$target"/* \
      >"$build/logs/$target.replay.log" 2>&1; then
    echo "test-fuzz: $target fails on its starting corpus:" >&2
    grep -a -m5 -E 'Running:|check failed|ERROR|SUMMARY' "$build/logs/$target.replay.log" >&2 || true
    exit 1
  fi
done
