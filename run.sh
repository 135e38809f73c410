#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor in run/ (a working
# directory of its own, created on first use with the sample chips and map).
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
brindle_install_missing
brindle_build build
bash tools/prepare_run_dir.sh run
cd run
exec ../build/brindlecot
