#!/usr/bin/env bash
# Builds the module and renders every example chart to an SVG file under examples/out/.
source "$(dirname "$0")/setup.sh" pkg-config libcairo2-dev libdeflate-dev fonts-dejavu-core \
  clang-16 lld-16 wasi-libc libc++-16-dev-wasm32 libc++abi-16-dev-wasm32 libclang-rt-16-dev-wasm32
python -m pip install -q --no-build-isolation .
mkdir -p examples/out
for script in examples/*.py; do
  python "$script" examples/out
done
ls -l examples/out
