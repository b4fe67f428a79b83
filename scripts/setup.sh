#!/usr/bin/env bash
# Installs everything both builds and all tests need on a Debian 12 machine.
# Idempotent: a second run checks and returns quickly.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ make pkg-config git
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev
  zlib1g-dev libminizip-dev libpng-dev googletest
  wine wine64 wine32:i386
  xvfb xdotool x11-utils imagemagick
  locales fonts-wqy-microhei
  python3 unzip xz-utils dpkg-dev util-linux procps file
  osslsigncode openssl
)
SRC_LIST=/etc/apt/sources.list.d/korvanta-deb-src.sources
CACHE_DIR=${KORVANTA_CACHE:-/var/cache/korvanta}
TEST_USER=korvanta-test

log() { printf 'setup: %s\n' "$*" >&2; }

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Two set-ups at once (two checkouts tested side by side) take turns: the second finds the
# first one's work done. apt itself also waits for a package manager that is already busy.
if [ -z "${KORVANTA_SETUP_LOCKED:-}" ]; then
  lock=/var/lock/korvanta-setup.lock
  [ -w /var/lock ] || lock=${TMPDIR:-/tmp}/korvanta-setup.lock
  exec env KORVANTA_SETUP_LOCKED=1 flock "$lock" bash "$0" "$@"
fi
APT_WAIT=(-o DPkg::Lock::Timeout=600)

missing_packages() {
  local p
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || echo "$p"
  done
}

need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  log "adding the i386 architecture"
  as_root dpkg --add-architecture i386
  need_update=1
fi

# minizip for the Windows build is compiled from Debian's zlib source package,
# so the source entries must mirror the binary ones.
if [ ! -f "$SRC_LIST" ]; then
  log "enabling deb-src entries"
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed -e 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | as_root tee "$SRC_LIST" >/dev/null
  else
    grep -h '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | as_root tee "${SRC_LIST%.sources}.list" >/dev/null
    as_root touch "$SRC_LIST"
  fi
  need_update=1
fi

missing=$(missing_packages)
if [ -n "$missing" ] || [ "$need_update" -eq 1 ]; then
  log "apt-get update"
  as_root apt-get "${APT_WAIT[@]}" update -qq
fi
missing=$(missing_packages)
if [ -n "$missing" ]; then
  log "installing: $(echo $missing)"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get "${APT_WAIT[@]}" install -y -qq --no-install-recommends $missing >/dev/null
fi

# The Wine lanes' code pages come from these locales (tests/wine/wine-env.sh): zh_CN gives 936,
# zh_TW 950, en_US 1252, and hi_IN as the character type 65001.
missing_locales=()
for name in zh_CN en_US zh_TW hi_IN; do
  locale -a 2>/dev/null | grep -qix "$name.utf8" || missing_locales+=("$name")
done
if [ "${#missing_locales[@]}" -gt 0 ]; then
  log "generating the locales: ${missing_locales[*]/%/.UTF-8}"
  for name in "${missing_locales[@]}"; do
    as_root sed -i "s/^# *$name.UTF-8 UTF-8/$name.UTF-8 UTF-8/" /etc/locale.gen
    grep -q "^$name.UTF-8 UTF-8" /etc/locale.gen || echo "$name.UTF-8 UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
  done
  as_root locale-gen >/dev/null
fi

# Read-only behaviour only holds for an unprivileged Wine process.
if ! id "$TEST_USER" >/dev/null 2>&1; then
  log "creating the unprivileged test user $TEST_USER"
  as_root useradd --system --create-home --shell /usr/sbin/nologin "$TEST_USER"
fi

if ! ls "$CACHE_DIR"/zlib_*.orig.tar.* >/dev/null 2>&1; then
  log "fetching Debian's zlib sources into $CACHE_DIR"
  as_root mkdir -p "$CACHE_DIR"
  tmp=$(mktemp -d)
  chmod 777 "$tmp"
  # A mirror may list a source version it does not serve (security updates
  # often carry binaries only), so every listed version is tried in turn.
  fetched=0
  for version in "" $(apt-cache showsrc zlib 2>/dev/null | sed -n 's/^Version: //p' | sort -ru); do
    spec=zlib${version:+=$version}
    if ( cd "$tmp" && apt-get source --download-only -qq "$spec" >/dev/null 2>&1 ); then
      fetched=1
      break
    fi
  done
  [ "$fetched" -eq 1 ] || { log "could not fetch the zlib source package"; exit 1; }
  as_root cp "$tmp"/zlib_*.orig.tar.* "$CACHE_DIR"/
  rm -rf "$tmp"
fi

echo "$CACHE_DIR"
