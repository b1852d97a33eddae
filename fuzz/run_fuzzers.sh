#!/usr/bin/env bash
# Runs the fuzz harnesses (every one, or those named) one after the other,
# each for a while on its corpus, and prints executions, coverage and the
# result of each. The corpora grow in BUILD/corpus/NAME from one run to the
# next; the seeds come from data/ and fuzz/seeds/ and are made again each
# run. A harness that finds a fault leaves the input in BUILD/artifacts/ and
# its log in BUILD/logs/NAME.log, and the script then fails.
#
#   fuzz/run_fuzzers.sh [--build DIR] [--seconds N] [NAME...]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

build=build-fuzz
seconds=30
names=()
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build=$2; shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    -h|--help) sed -n '2,9p' "$0"; exit 0 ;;
    *) names+=("$1"); shift ;;
  esac
done
[ ${#names[@]} -eq 0 ] && names=(fuzz_level_load fuzz_level_edit fuzz_bump_map fuzz_messages fuzz_movie fuzz_play
                                 fuzz_editor fuzz_key_script fuzz_settings fuzz_progress)
case "$build" in /*) ;; *) build="$root/$build" ;; esac

mkdir -p "$build/corpus" "$build/artifacts" "$build/logs"
# Each run makes its own seeds, so that two runs can go side by side.
seeds=$(mktemp -d "$build/seeds.XXXXXX")
trap 'rm -rf "$seeds"' EXIT

# Seeds: the game's own files and the hand-made odd ones; for play and the
# editor, each level map followed by a zero byte and some input.
python3 - "$root" "$seeds" <<'EOF'
import glob, os, shutil, sys
root, seeds = sys.argv[1], sys.argv[2]
def copy(name, patterns):
    os.makedirs(os.path.join(seeds, name), exist_ok=True)
    for pattern in patterns:
        for path in glob.glob(os.path.join(root, pattern)):
            shutil.copy(path, os.path.join(seeds, name, os.path.basename(path)))
maps = ["data/levels/*.map", "fuzz/seeds/maps/*"]
copy("fuzz_level_load", maps)
copy("fuzz_level_edit", maps)
copy("fuzz_bump_map", ["data/bump_maps/*.map", "fuzz/seeds/bump_maps/*"])
copy("fuzz_messages", ["data/messages/*.txt", "fuzz/seeds/messages/*"])
copy("fuzz_movie", ["data/movie/*.dat", "fuzz/seeds/movie/*"])
copy("fuzz_key_script", ["tools/movies/*.txt"])
copy("fuzz_settings", ["fuzz/seeds/settings/*"])
copy("fuzz_progress", ["fuzz/seeds/progress/*"])

# Play: the demo's keys (fly, left, right, up, down, pause are the low bits
# of a signal word and of a key byte alike), and a run to the right.
words = []
try:
    with open(os.path.join(root, "data/movie/movie.dat")) as movie:
        words = [int(token) for token in movie.read().split()[1:]]
except (OSError, ValueError):
    pass
demo = bytes(word & 0x3F for word in words)
right = bytes([0x04] * 20 + [0x0C] * 12 + [0x05] * 40 + [0x10] * 30)
# Editor: three bytes a tick, one bit per key in the harness's order.
def keys(*bits):
    value = 0
    for bit in bits:
        value |= 1 << bit
    return value.to_bytes(3, "little")
idle = keys()
editor = b"".join([keys(20), idle * 8, keys(7), idle * 8, keys(5), idle * 8, keys(8), idle * 8, keys(5), idle * 8,
                   keys(8), idle * 8, keys(14), idle * 8, keys(10), keys(21), idle * 8, keys(8), idle * 8, keys(9),
                   idle * 8, keys(19), keys(13), idle * 8, keys(15), idle * 8, keys(17), idle * 8, keys(1) * 6,
                   keys(11), idle * 8, keys(12), idle * 8])
os.makedirs(os.path.join(seeds, "fuzz_play"), exist_ok=True)
os.makedirs(os.path.join(seeds, "fuzz_editor"), exist_ok=True)
for path in glob.glob(os.path.join(root, "data/levels/*.map")) + glob.glob(os.path.join(root, "fuzz/seeds/maps/*")):
    text = open(path, "rb").read()
    base = os.path.basename(path)
    for mode, tail, name in ((0, demo, "demo"), (2, demo, "title"), (0, right, "right"), (1, right, "reset")):
        with open(os.path.join(seeds, "fuzz_play", base + "." + name), "wb") as seed:
            seed.write(text + b"\0" + bytes([mode]) + tail)
    with open(os.path.join(seeds, "fuzz_editor", base + ".edit"), "wb") as seed:
        seed.write(text + b"\0" + editor)
EOF

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/leak_suppressions.txt}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}

failed=0
printf '%-16s %8s %10s %8s %6s %6s  %s\n' harness seconds executions exec/s cov ft result
for name in "${names[@]}"; do
  harness="$build/$name"
  if [ ! -x "$harness" ]; then
    echo "$name: not built ($harness)" >&2
    failed=1
    continue
  fi
  case "$name" in
    fuzz_level_load|fuzz_level_edit|fuzz_movie) options=(-max_len=16384 -dict="$root/fuzz/numbers.dict") ;;
    fuzz_bump_map) options=(-max_len=4096 -dict="$root/fuzz/numbers.dict") ;;
    fuzz_messages|fuzz_key_script|fuzz_settings) options=(-max_len=16384) ;;
    *) options=(-max_len=16384 -dict="$root/fuzz/numbers.dict") ;;
  esac
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  log="$build/logs/$name.log"
  status=0
  # The timeout catches a tick or a load that never ends; the memory limits
  # catch one that eats the memory.
  "$harness" "$corpus" "$seeds/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -malloc_limit_mb=512 -print_final_stats=1 -artifact_prefix="$build/artifacts/$name-" "${options[@]}" \
    >"$log" 2>&1 || status=$?
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  last=$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  result=ok
  if [ "$status" -ne 0 ]; then
    result="FAILED (status $status, see $log)"
    failed=1
  fi
  printf '%-16s %8s %10s %8s %6s %6s  %s\n' "$name" "$seconds" "${executions:-?}" "${speed:-?}" "${cov:-?}" \
    "${ft:-?}" "$result"
done
exit $failed
