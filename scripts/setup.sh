#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, skipping those already present.
# The end-to-end tests add an X server with pointer, keyboard, screenshot and clipboard
# tools, and a print system with a PDF printer; the label template tests read the sheet
# templates of glabels-data.
set -euo pipefail
packages=(g++ cmake ninja-build pkg-config qt6-base-dev libcups2-dev fonts-dejavu-core fonts-liberation fonts-wqy-microhei libzxing-dev zlib1g-dev poppler-utils zbar-tools librsvg2-bin glabels-data
          xvfb xdotool xclip imagemagick dbus at-spi2-core python3-pyatspi cups cups-client printer-driver-cups-pdf)
"$(dirname "$0")/install-packages.sh" "${packages[@]}"
