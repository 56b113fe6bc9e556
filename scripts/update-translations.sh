#!/usr/bin/env bash
# Brings translations/kzconfig_en.ts in step with the sources: new texts come
# in unfinished, texts gone from the sources go. No line numbers are kept, so
# that moving code leaves the file as it is.
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
ts=${1:-translations/kzconfig_en.ts}
"$lupdate" -silent -locations none -no-obsolete -extensions cpp,h,ui \
    -source-language ru -target-language en -I . \
    app cli config device firmware forms obex ui -ts "$ts"
