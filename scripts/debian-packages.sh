# Shared by the cross-build scripts (sourced): Debian packages they miss, and Debian's own
# source packages for the libraries they build themselves.

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
apt_get() { DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=900 "$@"; }

install_missing() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt_get update -qq
    apt_get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# Debian's source lists, next to the binary ones the machine already has.
enable_sources() {
  apt-cache showsrc libogg >/dev/null 2>&1 && return 0
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      $sudo tee /etc/apt/sources.list.d/voidrift-deb-src.sources >/dev/null
  else
    sed -n 's/^deb \(.*debian.*\)$/deb-src \1/p' /etc/apt/sources.list |
      $sudo tee /etc/apt/sources.list.d/voidrift-deb-src.list >/dev/null
  fi
  apt_get update -qq
}

# Unpacks Debian's source package $1 (patches applied) under $2/$1 and prints its folder.
fetch_source() {
  local package=$1 dir="$2/$1"
  if [ ! -f "$dir/.unpacked" ]; then
    rm -rf "$dir" && mkdir -p "$dir"
    # The newest version first; a mirror that lacks one (the security pool, say) falls back.
    local version fetched=""
    for version in $(apt-cache showsrc "$package" | sed -n 's/^Version: //p' | sort -urV); do
      if (cd "$dir" && apt-get source -qq "$package=$version" >/dev/null 2>&1); then
        fetched=$version
        break
      fi
      rm -rf "${dir:?}"/*
    done
    [ -n "$fetched" ] || { echo "voidrift: apt-get source $package failed" >&2; exit 1; }
    touch "$dir/.unpacked"
  fi
  find "$dir" -mindepth 1 -maxdepth 1 -type d | head -n 1
}
