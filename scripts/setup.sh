#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need,
# only those that are missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-base-private-dev libgl-dev qt6-translations-l10n
  libsqlite3-dev libjpeg62-turbo-dev zlib1g-dev libexpat1-dev
  libgraphicsmagick++1-dev librsvg2-dev libemf2svg-dev ghostscript
  googletest libgtest-dev libgmock-dev libbenchmark-dev pxlib-dev
  fonts-dejavu-core fonts-liberation chromium
  dpkg-dev lintian appstream desktop-file-utils clang
  libcurl4-openssl-dev libssl-dev libxxhash-dev libsecret-1-dev openssl openssh-server openssh-client vsftpd lftp
  gnome-keyring dbus-daemon dbus-bin
)
if [ "${1:-}" = "--with-tools" ]; then
  packages+=(libclang-rt-14-dev xvfb xauth imagemagick graphicsmagick hyperfine xdotool)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
