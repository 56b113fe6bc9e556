#!/usr/bin/env bash
# Remakes docs/screenshot-connected-ru.png and -en.png: the window connected
# to the simulated modem in each language, on a virtual screen.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake --build "$build" -j2 --target tst_windowenglish
KZ_SCREENSHOT_DIR="$PWD/docs" QT_QPA_PLATFORM=xcb QT_LOGGING_RULES=default.debug=false \
    xvfb-run -a -s "-screen 0 1024x768x24" \
    "$build/tests/language/tst_windowenglish" screenshots
