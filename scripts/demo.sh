#!/usr/bin/env bash
# Installs what is missing, builds, and opens KZConfig on a simulated KZ520.
# Arguments go to the simulator, e.g.: bash scripts/demo.sh --set echo=off -v
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
scenario=${SCENARIO:-sim/scenarios/base.kzsim}

bash scripts/install-deps.sh

# A build directory configured before keeps its own build type.
if [ -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" >/dev/null
else
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target kzconfig kz520-sim

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  cat >&2 <<MSG
demo: built, but there is no display to open the window on (DISPLAY is not set).
  On a desktop, run it from a terminal of that desktop, or over ssh -X.
  Without a screen, run it on a virtual one:  xvfb-run -a bash scripts/demo.sh
MSG
  exit 2
fi

out=$(mktemp)
"$build/sim/kz520-sim" --scenario "$scenario" "$@" >"$out" &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true; rm -f "$out"' EXIT

# The simulator prints the path of its pseudo-terminal first.
port=""
for _ in $(seq 100); do
  port=$(head -n 1 "$out")
  [ -n "$port" ] && break
  kill -0 "$sim" 2>/dev/null || break
  sleep 0.1
done
case "$port" in
  /dev/*) ;;
  *) echo "demo: the simulator did not start:" >&2; cat "$out" >&2; exit 1 ;;
esac

echo "demo: simulated KZ520 on $port; press Подключиться in the window."
"$build/app/kzconfig" "$port"
