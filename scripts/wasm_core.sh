#!/usr/bin/env bash
# Rebuilds the WebAssembly core from canvas/src with the pinned toolchain and writes its gzipped bytes to the
# file the module embeds (canvas-py/src/page/canvas.wasm.gz), or to the path given.
# Usage: bash scripts/wasm_core.sh [OUTPUT]
# The pinned Debian 12 packages: the kept bytes are theirs, so another version is refused rather than let
# the kept file drift with the machine that last rebuilt it.
PINNED=(
  clang-16=1:16.0.6-15~deb12u1 lld-16=1:16.0.6-15~deb12u1 wasi-libc=0.0~git20220510.9886d3d-2
  libc++-16-dev-wasm32=1:16.0.6-15~deb12u1 libc++abi-16-dev-wasm32=1:16.0.6-15~deb12u1
  libclang-rt-16-dev-wasm32=1:16.0.6-15~deb12u1 gzip=1.12-1
)
OUT=$(realpath -m "${1:-$(dirname "$0")/../canvas-py/src/page/canvas.wasm.gz}")
QC_REQUIREMENTS=build
source "$(dirname "$0")/setup.sh" "${PINNED[@]%%=*}"

for pin in "${PINNED[@]}"; do
  have=$(dpkg-query -W -f='${Version}' "${pin%%=*}")
  if [ "$have" != "${pin#*=}" ]; then
    echo "scripts/wasm_core.sh: ${pin%%=*} is $have here; the kept core is built with ${pin#*=}" >&2
    exit 1
  fi
done

# Debian's clang finds the wasm C++ headers only through a sysroot laid out as it expects.
BUILD=$ROOT/build/wasm
SYSROOT=$BUILD/sysroot
mkdir -p "$SYSROOT/include/c++" "$SYSROOT/lib"
ln -sfn /usr/include/wasm32-wasi "$SYSROOT/include/wasm32-wasi"
ln -sfn /usr/lib/wasm32-wasi "$SYSROOT/lib/wasm32-wasi"
ln -sfn /usr/lib/llvm-16/include/wasm32-wasi/c++/v1 "$SYSROOT/include/c++/v1"

cmake -S canvas/wasm -B "$BUILD/core" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$ROOT/canvas/wasm/toolchain.cmake" -DQC_WASM_CXX=/usr/bin/clang++-16 \
  -DQC_WASM_SYSROOT="$SYSROOT" -DQC_SOURCE_DIR="$ROOT" -DQC_WERROR=ON >/dev/null
cmake --build "$BUILD/core"
# No name and no time in the gzip header: the same bytes on every build.
gzip -9 -n -c "$BUILD/core/canvas.wasm" > "$OUT.tmp"
mv "$OUT.tmp" "$OUT"
echo "wrote $OUT ($(stat -c %s "$OUT") bytes)"
