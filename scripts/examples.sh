#!/usr/bin/env bash
# Builds the module and renders every example chart to an SVG file under examples/out/.
# The build's tools alone: no test or bench packages.
QC_REQUIREMENTS=build
source "$(dirname "$0")/setup.sh" pkg-config libcairo2-dev libdeflate-dev fonts-dejavu-core
python -m pip install -q --no-build-isolation .
mkdir -p examples/out
for script in examples/*.py; do
  # The live page is a server, not a chart writer: python examples/live_page.py runs it.
  [ "$script" = examples/live_page.py ] && continue
  python "$script" examples/out
done
ls -l examples/out
