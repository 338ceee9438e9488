# Shared by scripts/run and scripts/test: installs what the build needs and builds it.
set -euo pipefail

QUILLNEST_TOP=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QUILLNEST_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-image-formats-plugins libqt6printsupport6
  libgl-dev fontconfig fonts-dejavu-core fonts-liberation2
  libzip-dev libsodium-dev libpwquality-dev cracklib-runtime libhunspell-dev hunspell-en-us libgtest-dev libgmock-dev libbenchmark-dev
  libqpdf-dev libyaml-cpp-dev qpdf unrtf poppler-utils pandoc file desktop-file-utils
  lintian appstream dpkg-dev man-db
  xvfb python3-pyatspi dbus syncthing
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs those of the given packages that are missing.
install_packages() {
  local missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
  fi
}

install_missing_packages() {
  install_packages "${QUILLNEST_PACKAGES[@]}"
}

# libFuzzer comes with clang's runtime libraries on Debian 12.
install_fuzz_packages() {
  install_packages clang libclang-rt-14-dev
}

build_quillnest() {
  cmake -S "$QUILLNEST_TOP" -B "$QUILLNEST_TOP/build" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@"
  cmake --build "$QUILLNEST_TOP/build"
}
