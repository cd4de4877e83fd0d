#!/usr/bin/env bash
# Installs what is missing, builds, registers the modules and runs the main job
# on the virtual camera.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
kel_ensure_packages
kel_build default
bin=build/default/bin
echo "Built into $bin."
echo "The main job is not there yet: the platform core and the virtual camera are built;"
echo "registration and the capture commands come with the capture filter."
"$bin/kelorvo" --help
