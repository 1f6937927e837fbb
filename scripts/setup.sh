# Sourced by the other scripts: installs what the build needs on a fresh machine and enters the venv.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

need_apt=()
for pkg in "$@"; do
  dpkg -s "$pkg" >/dev/null 2>&1 || need_apt+=("$pkg")
done
if [ ${#need_apt[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${need_apt[@]}" >/dev/null
fi

# pyenv's 3.12 (selected by .python-version), else any python3.12 on PATH.
PY=""
if command -v pyenv >/dev/null 2>&1; then
  ver=$(pyenv versions --bare | grep -E '^3\.12(\.|$)' | sort -V | tail -n1 || true)
  [ -n "$ver" ] && PY="$(pyenv root)/versions/$ver/bin/python3.12"
fi
[ -z "$PY" ] && PY=$(command -v python3.12 || true)
if [ -z "$PY" ]; then echo "CPython 3.12 not found" >&2; exit 1; fi

VENV="$ROOT/.venv"
if [ ! -x "$VENV/bin/python" ] || ! "$VENV/bin/python" -c 'import sys; assert sys.version_info[:2] == (3, 12)' 2>/dev/null; then
  rm -rf "$VENV"
  "$PY" -m venv "$VENV"
fi
# shellcheck disable=SC1091
source "$VENV/bin/activate"
# QC_REQUIREMENTS names scripts/requirements-NAME.txt: "build" (the module's build alone) or "dev" (the
# default: the build and the tests). Each file includes the build's, so installing one stamps both.
REQUIREMENTS=${QC_REQUIREMENTS:-dev}
stamp_of() {
  echo "$VENV/.deps-$1-$(cat "$ROOT/scripts/requirements-build.txt" "$ROOT/scripts/requirements-$1.txt" | md5sum | cut -c1-12)"
}
if [ ! -f "$(stamp_of "$REQUIREMENTS")" ]; then
  python -m pip install -q --upgrade pip
  python -m pip install -q -r "$ROOT/scripts/requirements-$REQUIREMENTS.txt"
  touch "$(stamp_of "$REQUIREMENTS")" "$(stamp_of build)"
fi
JOBS=$(nproc 2>/dev/null || echo 2)
export CMAKE_BUILD_PARALLEL_LEVEL=$JOBS
