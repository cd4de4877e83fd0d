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
# Registering again only rewrites the same entries, so every run may do it.
"$bin/kelorvo" register
# The virtual camera stands in when no grabber is attached.
"$bin/kelorvo" info
echo "Recording a film, playing it back and saving it come later; the camera is set up and answering."
