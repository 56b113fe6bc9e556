#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for a bounded time from the seed
# corpora in fuzz/corpus/. Any crash fails the run; the crashing input is
# left in build-fuzz/crashes/ to become a test.
#   FUZZ_SECONDS=60 bash scripts/fuzz.sh    (default 20 s per harness)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-20}
build=${FUZZ_BUILD_DIR:-build-fuzz}
harnesses=(fuzz_container fuzz_obex fuzz_replies fuzz_automode fuzz_configset)

command -v clang++ >/dev/null || { echo "fuzz.sh: clang++ is missing (bash scripts/install-deps.sh)"; exit 1; }
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKZ_FUZZ=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${harnesses[@]}" >/dev/null

mkdir -p "$build/crashes"
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
printf '%-16s %12s %8s %s\n' harness executions seconds result
failed=0
for h in "${harnesses[@]}"; do
  work=$(mktemp -d)
  log="$build/$h.log"
  start=$(date +%s)
  if "$build/fuzz/$h" "$work" "fuzz/corpus/$h" -max_total_time="$seconds" -timeout=10 \
       -rss_limit_mb=2048 -artifact_prefix="$build/crashes/$h-" -print_final_stats=1 >"$log" 2>&1; then
    result=ok
  else
    result=CRASH
    failed=1
  fi
  took=$(( $(date +%s) - start ))
  execs=$(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')
  printf '%-16s %12s %8s %s\n' "$h" "$execs" "$took" "$result"
  [ "$result" = ok ] || tail -40 "$log"
  rm -rf "$work"
done
exit $failed
