#!/usr/bin/env bash
# Builds Quorl's Debian package: a release build in BUILD (default
# build-release, the one scripts/run.sh uses too) for the prefix /usr, packed
# by CPack with its Depends computed from the shared libraries. The last line
# printed is the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-release}

scripts/install-deps.sh
# Debian's hardening flags (fortified calls, stack protector, read-only
# relocations bound at start), as a package built by Debian's tools gets.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build"
rm -f "$build"/package/quorl_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/package/quorl_*.deb
