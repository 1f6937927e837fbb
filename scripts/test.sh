#!/usr/bin/env bash
# Builds everything and runs every test: the C++ suite (plain, then under ASan+UBSan) and the Python suite.
source "$(dirname "$0")/setup.sh" libgtest-dev librsvg2-bin pkg-config libcairo2-dev libdeflate-dev fonts-dejavu-core \
  poppler-utils nodejs chromium

# The bench programs are built with the tests, so that a change to the core cannot leave them behind. The
# WebAssembly core's toolchain is installed by scripts/wasm_core.sh, which a test runs to rebuild the kept core.
cmake -S . -B build/cpp -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQC_WERROR=ON -DQC_BUILD_BENCH=ON
cmake --build build/cpp
ctest --test-dir build/cpp --output-on-failure -j "$JOBS"

cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQC_WERROR=ON -DQC_SANITIZE=ON
cmake --build build/asan
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/asan --output-on-failure -j "$JOBS"

# Warnings are errors here, not in a user's install.
python -m pip install -q --no-build-isolation -Ccmake.define.QC_WERROR=ON .
python -m pytest -q tests
