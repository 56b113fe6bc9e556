#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the demo and the package
# checks (scripts/package-check.sh) need: lupdate and lrelease
# (qt6-l10n-tools) and their CMake functions (qt6-tools-dev) for the
# translation, Qt's own translations for the standard buttons and dialogs.
set -euo pipefail
pkgs=(cmake g++ make qt6-base-dev qt6-base-dev-tools libqt6serialport6-dev libgl-dev
      qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
      xvfb xauth python3 clang libclang-rt-14-dev
      dpkg-dev file desktop-file-utils appstream lintian man-db bash-completion x11-utils)
missing=()
for p in "${pkgs[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
