#!/usr/bin/env bash
# Takes the README's pictures again, with the run command on a virtual
# display: docs/main-window.png (the main window after a desktop capture) and
# docs/rectangle-selection.png (a rectangle dragged on the frozen screen).
set -euo pipefail
cd "$(dirname "$0")/.."
env -u DISPLAY TOVIK_RUN_SHOTS="$PWD/docs" tools/run.sh --once
