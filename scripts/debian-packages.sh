# Sourced by the deps scripts: ensure_debian_packages PKG... installs the
# missing ones (without recommends) when run as root; otherwise it names them
# and fails.
ensure_debian_packages() {
  local missing=() p status
  for p in "$@"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
  done
  ((${#missing[@]} == 0)) && return 0
  if [[ $(id -u) -ne 0 ]]; then
    echo "Missing Debian packages: ${missing[*]}" >&2
    echo "Install them with: sudo apt-get install ${missing[*]}" >&2
    return 1
  fi
  echo "Installing Debian packages: ${missing[*]}" >&2
  DEBIAN_FRONTEND=noninteractive apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}
