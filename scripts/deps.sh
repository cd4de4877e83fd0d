# Sourced by run.sh and test.sh: installs the Debian packages the build needs.
# As root it runs apt-get; otherwise it prints the line to run and stops.

KEL_PACKAGES=(
  build-essential cmake pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev libopencv-imgproc-dev
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev
  libfreetype-dev libfontconfig-dev fonts-dejavu-core
  qt6-base-dev xvfb
)

kel_missing_packages() {
  local p missing=()
  for p in "${KEL_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  echo "${missing[@]}"
}

kel_ensure_packages() {
  local missing
  missing=$(kel_missing_packages)
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: $missing"
    apt-get update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing >/dev/null
  else
    echo "Missing packages. Run:" >&2
    echo "  sudo apt-get install $missing" >&2
    exit 1
  fi
}

# Configures a preset once, then builds it (a second run only rebuilds what changed).
kel_build() {
  local preset=$1
  [ -f "build/$preset/CMakeCache.txt" ] || cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
}
