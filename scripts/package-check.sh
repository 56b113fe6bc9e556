#!/usr/bin/env bash
# Checks the desktop integration and the Debian package the way a distribution
# would: validates the desktop entry and the AppStream metainfo, builds the
# package with cpack, runs lintian on it (errors fail, warnings are printed),
# installs it with apt, runs the installed programs (the simulator and the
# command line talking, the manual page, the completion, the window), then
# purges it and checks that none of its files is left.
# Needs root (or sudo) for apt. BUILD_DIR chooses the build directory.
set -euo pipefail
cd "$(dirname "$0")/.."
src=$PWD
build=$(cd "${BUILD_DIR:-build}" && pwd)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
appstream_id=$(sed -n 's/^KZ_APPSTREAM_ID:STRING=//p' "$build/CMakeCache.txt")
arch=$(dpkg --print-architecture)
deb="$build/kzconfig_${version}_${arch}.deb"
tmp=$(mktemp -d)
installed=0
sim=""

cleanup() {
  [ -n "$sim" ] && kill "$sim" 2>/dev/null && wait "$sim" 2>/dev/null
  if [ "$installed" = 1 ]; then
    DEBIAN_FRONTEND=noninteractive $sudo apt-get purge -y -qq kzconfig >/dev/null 2>&1 || true
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "package-check: $*" >&2; exit 1; }
step() { echo "+ package-check: $*"; }

step "desktop entry"
desktop-file-validate packaging/kzconfig.desktop

step "AppStream metainfo"
cmake --build "$build" -j"$(nproc)" --target kzdocs >/dev/null
appstreamcli validate --no-net "$build/packaging/$appstream_id.metainfo.xml"

step "cpack -G DEB"
# cpack installs what "all" builds; build it here, in parallel (a no-op after the tests).
cmake --build "$build" -j"$(nproc)" >/dev/null
rm -f "$build"/kzconfig_*.deb
(cd "$build" && cpack -G DEB >"$tmp/cpack.log") || { cat "$tmp/cpack.log" >&2; fail "cpack failed"; }
[ -f "$deb" ] || { ls "$build"/*.deb >&2 || true; fail "no $deb"; }
dpkg-deb --field "$deb"
# Read whole, not piped into grep -q: grep leaving early would fail
# dpkg-deb's later writes under pipefail.
for field in Section Maintainer Depends Description; do
  [ -n "$(dpkg-deb --field "$deb" "$field")" ] || fail "the package has no $field field"
done
depends=$(dpkg-deb --field "$deb" Depends)
[[ $depends == *libqt6serialport6* ]] || fail "Depends lacks the Qt libraries (shlibdeps): $depends"

step "lintian"
lintian --fail-on error --display-level '>=warning' "$deb" || fail "lintian found errors"

step "apt-get install"
if dpkg -s kzconfig >/dev/null 2>&1; then
  echo "package-check: kzconfig was installed already; it is replaced and purged at the end"
fi
installed=1
(cd "$build" && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "./$(basename "$deb")") \
  >"$tmp/apt.log" 2>&1 || { cat "$tmp/apt.log" >&2; fail "apt-get install failed"; }
dpkg -L kzconfig | sort >"$tmp/files"
for f in /usr/bin/kzconfig /usr/bin/kzconfig-cli /usr/bin/kz520-sim \
         /usr/share/applications/kzconfig.desktop /usr/share/metainfo/"$appstream_id".metainfo.xml \
         /usr/share/icons/hicolor/scalable/apps/kzconfig.svg /usr/share/icons/hicolor/48x48/apps/kzconfig.png \
         /usr/share/man/man1/kzconfig-cli.1.gz /usr/share/bash-completion/completions/kzconfig-cli; do
  [ -e "$f" ] || fail "not installed: $f"
done
desktop-file-validate /usr/share/applications/kzconfig.desktop

step "--version and --help of the installed programs"
for p in kzconfig kzconfig-cli kz520-sim; do
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY "/usr/bin/$p" --version)
  [ "$out" = "$p $version" ] || fail "$p --version printed '$out', not '$p $version'"
  env -u DISPLAY -u WAYLAND_DISPLAY "/usr/bin/$p" --help | grep -- '--version' >/dev/null \
    || fail "$p --help does not list --version"
done

step "installed kz520-sim and kzconfig-cli talk"
/usr/bin/kz520-sim --scenario /usr/share/kzconfig/scenarios/base.kzsim --link "$tmp/kz520" >"$tmp/sim.out" 2>&1 &
sim=$!
for _ in $(seq 100); do
  [ -L "$tmp/kz520" ] && break
  kill -0 "$sim" 2>/dev/null || { cat "$tmp/sim.out" >&2; fail "kz520-sim did not start"; }
  sleep 0.1
done
pty=$(head -n 1 "$tmp/sim.out")
info=$(/usr/bin/kzconfig-cli --port "$pty" info) || fail "kzconfig-cli --port $pty info failed"
echo "$info"
grep -q '^model: KZ520' <<<"$info" || fail "info did not report the model"
/usr/bin/kzconfig-cli --port "$tmp/kz520" read >"$tmp/read.json" || fail "read over the link failed"
python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); assert d["gprs"], d' "$tmp/read.json" \
  || fail "read gave no GPRS profiles"
kill "$sim"; wait "$sim" || fail "kz520-sim did not stop cleanly on SIGTERM"
sim=""
[ ! -e "$tmp/kz520" ] || fail "kz520-sim left its link behind"

step "man kzconfig-cli"
MANWIDTH=80 man -P cat kzconfig-cli >"$tmp/man.txt" 2>"$tmp/man.err" || { cat "$tmp/man.err" >&2; fail "man failed"; }
for section in SYNOPSIS DESCRIPTION OPTIONS COMMANDS 'EXIT STATUS' FILES EXAMPLES; do
  grep -q "^$section" "$tmp/man.txt" || fail "man kzconfig-cli has no $section section"
done
grep -q "KZConfig $version" "$tmp/man.txt" || fail "man kzconfig-cli does not show version $version"
for page in kzconfig kz520-sim; do
  MANWIDTH=80 man -P cat "$page" | grep '^SYNOPSIS' >/dev/null || fail "man $page does not render"
done

step "bash completion"
mkdir "$tmp/files-dir" && touch "$tmp/files-dir/"{set.kzini,fw.kzbin,state.kzrep,notes.txt}
complete_line() {
  (cd "$tmp/files-dir" && bash -c '
    source /usr/share/bash-completion/bash_completion
    source /usr/share/bash-completion/completions/kzconfig-cli
    COMP_LINE=$1; COMP_POINT=${#COMP_LINE}
    read -ra COMP_WORDS <<<"$COMP_LINE"; [[ $COMP_LINE == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _kzconfig_cli; printf "%s\n" "${COMPREPLY[@]}" | sort | tr "\n" " "' _ "$1")
}
check_completion() {
  got=$(complete_line "$1")
  [ "$got" = "$2" ] || fail "completing '$1' gave '$got', expected '$2'"
}
check_completion "kzconfig-cli --port /dev/null re" "read report report-show reset "
check_completion "kzconfig-cli --pa" "--parity "
check_completion "kzconfig-cli --parity " "E N O "
check_completion "kzconfig-cli --port x apply " "set.kzini "
check_completion "kzconfig-cli --port x flash " "fw.kzbin "
check_completion "kzconfig-cli report-show " "state.kzrep "
check_completion "kzconfig-cli --port x mode set X --ch" "--channel "
check_completion "kzconfig-cli --port x mode set X --channel " "bt com none "

step "the installed window starts"
# Offscreen: it starts and stays in its event loop until stopped.
rc=0
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen timeout 5 /usr/bin/kzconfig "$tmp/no-port" \
  >"$tmp/window.log" 2>&1 || rc=$?
[ "$rc" = 124 ] || { cat "$tmp/window.log" >&2; fail "kzconfig ended (status $rc) before it was stopped"; }
# On a virtual display: the window is mapped, with its title.
cat >"$tmp/window.sh" <<'SH'
/usr/bin/kzconfig >"$1/window-x.log" 2>&1 &
w=$!
for _ in $(seq 100); do
  if xwininfo -root -tree | grep -q "\"KZ-Config v$2\""; then
    xwininfo -name "KZ-Config v$2" | grep -q 'Map State: IsViewable' && { kill $w; wait $w; exit 0; }
  fi
  kill -0 $w 2>/dev/null || break
  sleep 0.2
done
kill $w 2>/dev/null
cat "$1/window-x.log" >&2
exit 1
SH
xvfb-run -a bash "$tmp/window.sh" "$tmp" "$version" || fail "the window did not show on a virtual display"
echo "window shown: KZ-Config v$version"

step "apt-get purge"
DEBIAN_FRONTEND=noninteractive $sudo apt-get purge -y -qq kzconfig >/dev/null 2>&1 || fail "purge failed"
installed=0
! dpkg -s kzconfig >/dev/null 2>&1 || fail "kzconfig is still known to dpkg after purge"
left=0
while read -r f; do
  # Folders the system shares stay; a file, or a folder of ours, must not.
  if [ -e "$f" ] && { [ ! -d "$f" ] || [[ $f == */kzconfig ]]; }; then
    echo "left behind: $f" >&2
    left=1
  fi
done <"$tmp/files"
[ "$left" = 0 ] || fail "the purge left files behind"
echo "package-check: $(wc -l <"$tmp/files") paths installed and removed; all checks passed"
