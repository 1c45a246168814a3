#!/usr/bin/env bash
# Sets up and builds (scripts/setup.sh), then starts the program with the arguments given.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
exec build/trelvinshow "$@"
