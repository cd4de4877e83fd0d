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
# The main job: a short film recorded on the camera (the virtual one when no
# grabber is attached) and saved into ./films/ with its parameter file.
# Each run replaces the last run's film.
mkdir -p films
"$bin/kelorvo" capture --frames 100 --out films/film --force
