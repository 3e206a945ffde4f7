#!/usr/bin/env bash
# Installs the dependencies, builds Kelvaro (with its generated art and sound) and starts it.
# The game runs from ~/.local/share/kelvaro, so records.rec and screenshots survive rebuilds.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
"$ROOT/scripts/install-deps.sh"
cmake -S "$ROOT" -B "$ROOT/build/release" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$ROOT/build/release" --target kelvaro -j"$(nproc)"
DATA="${XDG_DATA_HOME:-$HOME/.local/share}/kelvaro"
mkdir -p "$DATA"
cd "$DATA"
exec "$ROOT/build/release/kelvaro"
