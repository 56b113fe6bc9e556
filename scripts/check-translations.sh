#!/usr/bin/env bash
# Fails when translations/kzconfig_en.ts is out of step with the sources
# (lupdate would change it: run scripts/update-translations.sh and translate
# what comes in) or when an entry is unfinished, empty, or loses or gains a
# placeholder (%1...) or an HTML tag of its source.
set -euo pipefail
cd "$(dirname "$0")/.."
ts=translations/kzconfig_en.ts
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp "$ts" "$tmp/kzconfig_en.ts"
bash scripts/update-translations.sh "$tmp/kzconfig_en.ts"
if ! diff -u "$ts" "$tmp/kzconfig_en.ts" >"$tmp/diff"; then
    echo "check-translations: $ts is out of step with the sources; run scripts/update-translations.sh" >&2
    head -40 "$tmp/diff" >&2
    exit 1
fi
python3 - "$ts" <<'PY'
import re, sys
import xml.etree.ElementTree as ET
bad = []
for ctx in ET.parse(sys.argv[1]).getroot().iter('context'):
    name = ctx.findtext('name')
    for m in ctx.iter('message'):
        src = m.findtext('source') or ''
        tr = m.find('translation')
        text = (tr.text or '') if tr is not None else ''
        if tr is None or tr.get('type') in ('unfinished', 'vanished', 'obsolete') or not text.strip():
            bad.append('%s: unfinished: %r' % (name, src))
            continue
        marks = lambda s: sorted(re.findall(r'%\d|<[^>]+>', s))
        if marks(src) != marks(text):
            bad.append('%s: placeholders or tags differ: %r -> %r' % (name, src, text))
        if re.search('[\u0400-\u04FF]', text):
            bad.append('%s: Cyrillic left in: %r' % (name, text))
for b in bad:
    print('check-translations:', b, file=sys.stderr)
sys.exit(1 if bad else 0)
PY
echo "translations: in step, complete"
