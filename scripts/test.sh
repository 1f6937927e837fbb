#!/usr/bin/env bash
# Builds everything and runs every test: the C++ suite (plain, then under ASan+UBSan) and the Python suite.
source "$(dirname "$0")/setup.sh" libgtest-dev librsvg2-bin pkg-config libcairo2-dev libdeflate-dev fonts-dejavu-core \
  poppler-utils clang-16 lld-16 wasi-libc libc++-16-dev-wasm32 libc++abi-16-dev-wasm32 libclang-rt-16-dev-wasm32 nodejs \
  chromium

# The WebAssembly core is built once, by the module's build, which embeds it and whose tests run it. The
# bench programs are built with the tests, so that a change to the core cannot leave them behind.
cmake -S . -B build/cpp -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQC_WERROR=ON -DQC_WASM=OFF -DQC_BUILD_BENCH=ON
cmake --build build/cpp
ctest --test-dir build/cpp --output-on-failure -j "$JOBS"

cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQC_WERROR=ON -DQC_SANITIZE=ON -DQC_WASM=OFF
cmake --build build/asan
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/asan --output-on-failure -j "$JOBS"

# Warnings are errors here, not in a user's install.
python -m pip install -q --no-build-isolation -Ccmake.define.QC_WERROR=ON .
python -m pytest -q tests
