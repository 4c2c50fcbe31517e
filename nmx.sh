#!/usr/bin/env bash
# Set-up, build and run in one step on a Debian 12 machine.
#
#   ./nmx.sh tour            install what is missing, build, run the tour (examples/tour.cpp)
#   ./nmx.sh test [preset]   install what is missing, build, run every test (preset: release,
#                            debug or asan; default release); tsan builds and runs the tests
#                            whose names mention threads, under ThreadSanitizer
#   ./nmx.sh bench           install the peers, build and run the benchmarks in bench/
#
# NMX_WERROR=ON turns warnings into errors (CI sets it).
set -euo pipefail
cd "$(dirname "$0")"

need_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if ((${#missing[@]})); then
    echo "nmx: installing ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

base_packages=(g++ cmake ninja-build pkg-config)
werror="${NMX_WERROR:-OFF}"

configure_and_build() {  # preset, extra cmake arguments...
  local preset=$1; shift
  cmake --preset "$preset" -DNMX_WERROR="$werror" "$@"
  cmake --build --preset "$preset"
}

case "${1:-}" in
  tour)
    need_packages "${base_packages[@]}"
    configure_and_build release -DNMX_BUILD_EXAMPLES=ON -DNMX_BUILD_TESTS=OFF
    ./build/release/examples/nmx_tour
    ;;
  test)
    preset="${2:-release}"
    need_packages "${base_packages[@]}" libgtest-dev libgmock-dev
    extra=()
    # The consumer projects rebuild the library; once, in the plain build, is enough.
    [ "$preset" = asan ] || [ "$preset" = tsan ] && extra+=(-DNMX_CONSUMER_TESTS=OFF)
    configure_and_build "$preset" -DNMX_BUILD_TESTS=ON "${extra[@]}"
    ctest --preset "$preset" -j "$(nproc)"
    ;;
  bench)
    need_packages "${base_packages[@]}" libbenchmark-dev libeigen3-dev libopenblas-dev \
      liblapacke-dev libfftw3-dev
    configure_and_build release -DNMX_BUILD_BENCHMARKS=ON
    for b in build/release/bench/nmx_*_bench; do
      [ -x "$b" ] && "$b"
    done
    ;;
  *)
    sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
    ;;
esac
