#!/usr/bin/env bash
# Installs what is missing, builds and runs every test with CTest.
# KELORVO_PRESET picks another build (asan, tsan, debug); default: default.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
kel_ensure_packages
preset=${KELORVO_PRESET:-default}
kel_build "$preset"
ctest --preset "$preset"
