# Debian 12 packages the project needs; sourced by scripts/run and scripts/test.
# Installs only what is missing, without prompts.
KV_BUILD_PACKAGES=(cmake g++ make qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl-dev fonts-liberation2)
# GoogleTest and Google Benchmark; independent dBASE readers the compatibility tests check
# our files with; poppler for PDF checks; CUPS with a PDF queue for the printing tests; a
# virtual X server with a window manager and the tools that type at the program, for the
# end-to-end tests; for the package test dpkg-shlibdeps, man, groff and the validators of
# the desktop entry and the AppStream metainfo; the accessibility bus and its Python client
# for the screen-reader test.
KV_TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev python3-dbfread libdbd-xbase-perl gdal-bin
                  poppler-utils cups cups-client printer-driver-cups-pdf
                  xvfb xdotool openbox wmctrl x11-utils imagemagick
                  dpkg-dev man-db groff-base appstream desktop-file-utils
                  at-spi2-core python3-pyatspi dbus-daemon)

kv_install_packages() {
  local wanted=("$@") missing=() pkg
  for pkg in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# kv_configure_and_build TOP BUILD [CMAKE OPTIONS...]
kv_configure_and_build() {
  local top=$1 build=$2
  shift 2
  cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  cmake --build "$build" -j"$(nproc)"
}
