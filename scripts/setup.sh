#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; does nothing when all are present.
# "--sandbox": only what the Linux build needs, which is all the sandbox (scripts/sandbox.sh) uses;
# "--windows-sandbox": that and the Windows build with Wine (scripts/sandbox.sh --windows).
set -euo pipefail

sandbox_only=false
windows=true
case "${1:-}" in
  "") ;;
  --sandbox)
    sandbox_only=true
    windows=false
    ;;
  --windows-sandbox) sandbox_only=true ;;
  *)
    echo "usage: $0 [--sandbox | --windows-sandbox]" >&2
    exit 2
    ;;
esac

# The Linux build against the stand-in host.
packages=(
  cmake g++ make python3
  nlohmann-json3-dev libspdlog-dev libfmt-dev
  googletest libgtest-dev libbenchmark-dev
  libcli11-dev libasio-dev
  # Line editing in the sandbox's console on a terminal.
  libedit-dev
)
# The sanitizer and fuzz builds (clang with libFuzzer), valgrind, and symbols in their reports.
test_packages=(
  clang libclang-rt-14-dev llvm valgrind
  # Coverage reports and static analysis (scripts/coverage.sh, scripts/tidy.sh).
  gcovr clang-tidy-14
)
# The Windows build (clang for the MSVC ABI, lld-link, the LLVM tools that make its import libraries,
# mingw-w64's C and Windows headers) and Wine to run its tests; Wine wants its recommended
# packages. unzip lists the release archive for docs/operators.md; git fetches the C++ library below.
windows_packages=(clang-19 lld-19 llvm-19 mingw-w64-x86-64-dev wine64 wine unzip git)

missing() {
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      echo "$package"
    fi
  done
}

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
updated=false
install() {
  echo "setup: installing $*"
  if ! $updated; then
    "${as_root[@]}" apt-get update -qq
    updated=true
  fi
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq "$@"
}

mapfile -t needed < <(missing "${packages[@]}")
[ ${#needed[@]} -eq 0 ] || install --no-install-recommends "${needed[@]}"
if $windows; then
  mapfile -t needed < <(missing "${windows_packages[@]}")
  [ ${#needed[@]} -eq 0 ] || install "${needed[@]}"
fi

# The C++ library of the MSVC toolset (open source, Apache-2.0 WITH LLVM-exception) at the tag the
# Windows build is made with: from QV_MSVC_STL_DIR when set (a copy made elsewhere), else cloned
# once into build/msvc-stl, where the toolchain file looks, and its commit checked.
msvc_stl_tag=vs-2022-17.14
msvc_stl_commit=1f6e5b16ec02216665624c1e762f3732605cf2b4
if $windows; then
  if [ -n "${QV_MSVC_STL_DIR:-}" ]; then
    [ -f "$QV_MSVC_STL_DIR/stl/inc/yvals_core.h" ] || {
      echo "setup: QV_MSVC_STL_DIR=$QV_MSVC_STL_DIR holds no C++ library (stl/inc/yvals_core.h)" >&2
      exit 1
    }
  else
    stl_dir="$(dirname "$0")/../build/msvc-stl"
    if [ ! -f "$stl_dir/stl/inc/yvals_core.h" ]; then
      echo "setup: cloning the MSVC C++ library, tag $msvc_stl_tag"
      rm -rf "$stl_dir.partial"
      git clone -q --depth 1 --branch "$msvc_stl_tag" https://github.com/microsoft/STL \
        "$stl_dir.partial"
      commit=$(git -C "$stl_dir.partial" rev-parse HEAD)
      if [ "$commit" != "$msvc_stl_commit" ]; then
        echo "setup: tag $msvc_stl_tag is commit $commit, not $msvc_stl_commit: not used" >&2
        exit 1
      fi
      mv "$stl_dir.partial" "$stl_dir"
    fi
  fi
fi
$sandbox_only && exit 0
mapfile -t needed < <(missing "${test_packages[@]}")
[ ${#needed[@]} -eq 0 ] || install --no-install-recommends "${needed[@]}"
# Node.js and npm run the RCON test's client. Checked by command: a Node.js from elsewhere that
# brings its own npm serves as well as Debian's two packages.
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  install --no-install-recommends nodejs npm
fi
