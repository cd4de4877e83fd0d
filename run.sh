#!/usr/bin/env bash
# Installs what is missing, builds, registers the modules and starts the desktop
# shell, or without a display runs the main job on the command line.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
kel_ensure_packages
kel_build default
bin=build/default/bin
echo "Built into $bin."
# Registering again only rewrites the same entries, so every run may do it.
"$bin/kelorvo" register
# With a display, the desktop shell on the camera (the virtual one when no
# grabber is attached).
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin/WinKelOrvoShell"
fi
# Without one, the main job from the command line: a short film recorded and
# saved into ./films/ with its parameter file. Each run replaces the last
# run's film.
mkdir -p films
"$bin/kelorvo" capture --frames 100 --out films/film --force
echo "No display: to use the desktop shell, start $bin/WinKelOrvoShell on a desktop"
echo "(or: xvfb-run -s '-screen 0 1600x1000x24' $bin/WinKelOrvoShell)."
