#!/usr/bin/env bash
# Installs every prerequisite of the build and the tests on a Debian 12 machine (run as root).
# Idempotent: each step checks whether its result is already there, so a second run takes seconds.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
deps=${UNINST_DEPS_DIR:-/opt/uninst-deps}
packages=(
  g++-mingw-w64-i686 mingw-w64-i686-dev cmake make ninja-build
  wine wine32:i386 wine64 xvfb xauth xdotool imagemagick x11-utils
  osslsigncode openssl p7zip-full dpkg-dev
  googletest fonts-wqy-microhei python3-fonttools python3
  librsvg2-bin
  icoutils
)

log() { printf '[setup] %s\n' "$*"; }

ensure_apt_sources() {
  local changed=0
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    changed=1
  fi
  local src=/etc/apt/sources.list.d/uninst-deb-src.sources
  if [ ! -f "$src" ]; then
    cat >"$src" <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    changed=1
  fi
  if [ "$changed" = 1 ] || [ ! -d /var/lib/apt/lists ] || ! ls /var/lib/apt/lists/*Sources* >/dev/null 2>&1; then
    log "apt-get update"
    apt-get update -qq
  fi
}

ensure_packages() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  log "installing ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# cJSON: one C file, compiled by the project's build from the unpacked source.
ensure_cjson() {
  [ -f "$deps/cjson/cJSON.c" ] && return 0
  log "fetching cjson source"
  local tmp; tmp=$(mktemp -d)
  (cd "$tmp" && apt-get source -qq cjson >/dev/null 2>&1)
  mkdir -p "$deps/cjson"
  cp "$tmp"/cjson-*/cJSON.c "$tmp"/cjson-*/cJSON.h "$deps/cjson/"
  rm -rf "$tmp"
}

# 7z.dll for Windows, built from Debian's 7zip source; the source tree stays as the reference.
ensure_7z() {
  [ -f "$deps/7z/7z.dll" ] && return 0
  log "building 7z.dll (a few minutes)"
  mkdir -p "$deps/7z"
  if [ ! -d "$deps/7z/src" ]; then
    local tmp; tmp=$(mktemp -d)
    (cd "$tmp" && apt-get source -qq 7zip >/dev/null 2>&1)
    mv "$tmp"/7zip-*/ "$deps/7z/src"
    rm -rf "$tmp"
  fi
  (cd "$deps/7z/src/CPP/7zip/Bundles/Format7zF" &&
    make -s -j"$(nproc)" -f makefile.gcc IS_MINGW=1 MSYSTEM=1 DISABLE_RAR=1 \
      CC=i686-w64-mingw32-gcc CXX=i686-w64-mingw32-g++ RC=i686-w64-mingw32-windres >"$deps/7z/build.log" 2>&1) ||
    { tail -20 "$deps/7z/build.log"; exit 1; }
  cp "$deps/7z/src/CPP/7zip/Bundles/Format7zF/_o/7z.dll" "$deps/7z/7z.dll"
}

# GoogleTest built with the cross compiler.
ensure_gtest() {
  [ -f "$deps/gtest/lib/libgtest.a" ] && return 0
  log "building googletest for i686-w64-mingw32"
  rm -rf "$deps/gtest/build"
  {
    cmake -S /usr/src/googletest -B "$deps/gtest/build" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_INSTALL_PREFIX="$deps/gtest" -Dgtest_disable_pthreads=ON -DBUILD_GMOCK=ON &&
      cmake --build "$deps/gtest/build" && cmake --install "$deps/gtest/build"
  } >"$deps/gtest-build.log" 2>&1 || { tail -20 "$deps/gtest-build.log"; exit 1; }
}

make_cert() {
  openssl req -x509 -newkey rsa:2048 -sha256 -days 3650 -nodes -keyout "$1" -out "$2" -subj "/CN=$3" \
    -addext "extendedKeyUsage=codeSigning" >/dev/null 2>&1
}

# The development code-signing certificate; its common name is the expected signer name.
ensure_cert() {
  local signer=${UNINST_SIGNER_NAME:-Kelvo Dev Signing}
  local dir="$deps/cert"
  if [ -f "$dir/cert.pem" ] && [ -f "$dir/other.pem" ] && [ "$(cat "$dir/signer" 2>/dev/null)" = "$signer" ]; then
    return 0
  fi
  log "making the code-signing certificates for \"$signer\" and a foreign signer"
  mkdir -p "$dir"
  make_cert "$dir/key.pem" "$dir/cert.pem" "$signer"
  make_cert "$dir/other.key.pem" "$dir/other.pem" "Foreign Test Signer"
  printf '%s' "$signer" >"$dir/signer"
}

# A CJK font under one of the names the UI looks for (Wine has none of them): a renamed copy of
# WenQuanYi Micro Hei that every test and demo prefix gets in its Fonts folder (tests/harness/new-prefix).
ensure_ui_font() {
  local out="$deps/ui-font/msyh.ttf"
  [ -f "$out" ] && return 0
  log "making the UI test font"
  mkdir -p "$deps/ui-font"
  /usr/bin/python3 "$here/tools/make-ui-font.py" /usr/share/fonts/truetype/wqy/wqy-microhei.ttc "$out.tmp"
  mv "$out.tmp" "$out"
}

# The pristine 32-bit Wine prefix that every test copies instead of booting its own.
# Bump when the template's contents change, so that existing machines make it again.
template_version=2

ensure_wine_template() {
  local tpl="$deps/wine-template"
  [ "$(cat "$tpl/.ready" 2>/dev/null)" = "$template_version" ] && return 0
  log "creating the pristine Wine prefix"
  rm -rf "$tpl"
  export WINEARCH=win32 WINEPREFIX="$tpl" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  wineboot -i >/dev/null 2>&1
  # A crashing test program ends at once instead of waiting in the debugger.
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d '' /f >/dev/null 2>&1
  wineserver -w
  printf '%s' "$template_version" >"$tpl/.ready"
}

ensure_apt_sources
ensure_packages
ensure_cjson
ensure_7z
ensure_gtest
ensure_cert
ensure_ui_font
ensure_wine_template
log "ready ($deps)"
