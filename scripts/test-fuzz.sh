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
# Each starting input once more, twice in a row, the corpus forwards and
# backwards: an input that fails only after others ran (state left behind
# between inputs) shows here. QUILLON_FUZZ_SELF_CHECK checks the targets'
# shortcuts (registry images, the reused world) against the slow ways.
replay() {  # replay TARGET LOG INPUT...
  local target=$1 log=$2
  shift 2
  if ! QUILLON_FUZZ_SELF_CHECK=1 "$build/fuzz/${target}_fuzz" -runs=2 "$@" >"$log" 2>&1; then
    echo "test-fuzz: $target fails on its starting corpus:" >&2
    grep -a -m5 -E 'Running:|check failed|ERROR|SUMMARY' "$log" >&2 || true
    exit 1
  fi
}
for target in "${targets[@]}"; do
  inputs=(fuzz/corpus/"$target"/*)
  mapfile -t backwards < <(printf '%s\n' "${inputs[@]}" | tac)
  export QUILLON_FUZZ_OUTCOMES=$build/logs/$target.outcomes
  rm -f "$QUILLON_FUZZ_OUTCOMES"
  replay "$target" "$build/logs/$target.replay.log" "${inputs[@]}"
  replay "$target" "$build/logs/$target.backwards.log" "${backwards[@]}"
  # The targets that keep their world between inputs also run each input in a
  # process of its own; every run of an input must come to the same outcome.
  [ -s "$QUILLON_FUZZ_OUTCOMES" ] || continue
  for input in "${inputs[@]}"; do replay "$target" "$build/logs/$target.alone.log" "$input"; done
  # (libFuzzer runs a process's first input once more: it allocates the world.)
  outcomes=$(sort -u "$QUILLON_FUZZ_OUTCOMES" | wc -l)
  distinct=$(cut -d' ' -f1 "$QUILLON_FUZZ_OUTCOMES" | sort -u | wc -l)
  fewest=$(cut -d' ' -f1 "$QUILLON_FUZZ_OUTCOMES" | sort | uniq -c | sort -n | awk 'NR == 1 {print $1}')
  if [ "$outcomes" -ne "$distinct" ] || [ "$fewest" -lt 6 ]; then
    echo "test-fuzz: $target: an input came to different outcomes in different runs" \
         "($distinct inputs, $outcomes outcomes, fewest runs of one $fewest;" \
         "see $QUILLON_FUZZ_OUTCOMES)" >&2
    exit 1
  fi
done
unset QUILLON_FUZZ_OUTCOMES
