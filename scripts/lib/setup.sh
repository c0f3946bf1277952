# Shared set-up for scripts/run and scripts/test: installs the Debian packages the build needs
# when they are missing (as root, or through sudo; otherwise prints the apt-get line and stops)
# and makes sure the comma-decimal test locale exists.

orvane_packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  libfftw3-dev libliquid-dev
  fonts-liberation2 locales
  clang libclang-rt-14-dev clang-format lld
  valgrind
  dpkg-dev lintian
  time
)

orvane_as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    sudo "$@"
  else
    return 1
  fi
}

orvane_install_packages() {
  local missing=()
  local package
  for package in "${orvane_packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$package")
    fi
  done
  if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    if ! orvane_as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq ||
       ! orvane_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"; then
      echo "Cannot install packages without root. Run this, then try again:" >&2
      echo "  sudo apt-get install -y ${missing[*]}" >&2
      exit 1
    fi
  fi
  if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    echo "Generating the de_DE.UTF-8 locale for the locale tests"
    if ! orvane_as_root sh -c "sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen && \
         (grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' >> /etc/locale.gen) && \
         locale-gen >/dev/null"; then
      echo "Cannot generate the de_DE.UTF-8 locale without root: sudo locale-gen de_DE.UTF-8" >&2
      exit 1
    fi
  fi
}

orvane_configure_and_build() {
  local build_dir=$1
  shift
  cmake -S . -B "$build_dir" -G Ninja "$@"
  cmake --build "$build_dir" --parallel "$(nproc)"
}
