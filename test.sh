#!/bin/sh
# Builds the test configuration (AddressSanitizer + UBSan) and runs every test
# with ctest.  When clang is present, the fuzz targets are built with it first
# and each runs briefly as one of the tests.
set -e
cd "$(dirname "$0")"
./scripts/install-deps.sh

JOBS=$(nproc 2>/dev/null || echo 2)
FUZZ_ARG=""
if command -v clang++ >/dev/null 2>&1; then
  cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DSUITE_FUZZ=ON >/dev/null
  cmake --build build/fuzz -j "$JOBS"
  FUZZ_ARG="-DSUITE_FUZZ_BIN_DIR=$(pwd)/build/fuzz"
fi
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug \
      -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DCMAKE_C_FLAGS_DEBUG="-O1 -g" \
      -DSUITE_SANITIZE=ON $FUZZ_ARG >/dev/null
cmake --build build/test -j "$JOBS"
cd build/test
exec ctest --output-on-failure -j "$JOBS" "$@"
