#!/usr/bin/env bash
# Installs the built package as a user would (apt-get install ./build/...deb), then, as an
# ordinary user on a private X display and D-Bus session, runs installed.py and has
# /usr/bin/ruvola-batch write a PNG. Removes the package again when it was not installed
# before, and the user it made. Needs root (or sudo).
set -euo pipefail
cd "$(dirname "$0")/../.."
deb=$(ls build/ruvola-barcode_*.deb)
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
before=$(dpkg-query -W -f='${Status}' ruvola-barcode 2>/dev/null || true)
user=ruvola-check
made_user=0
cleanup() {
  kill "${xvfb:-}" 2>/dev/null || true
  [[ "$before" == *"install ok installed"* ]] || $sudo apt-get remove -y -qq ruvola-barcode >/dev/null || true
  [ "$made_user" -eq 1 ] && $sudo userdel -r "$user" 2>/dev/null || true
}
trap cleanup EXIT
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "./$deb" >/dev/null
if ! id "$user" >/dev/null 2>&1; then $sudo useradd -m -s /bin/bash "$user"; made_user=1; fi
home=$(getent passwd "$user" | cut -d: -f6)
$sudo rm -rf "$home/.config/ruvola"
display=:$((500 + RANDOM % 400))
Xvfb "$display" -screen 0 1280x1024x24 -ac -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
script=$(readlink -f tests/package/installed.py)
$sudo cp "$script" /tmp/ruvola-installed.py && $sudo chmod 0644 /tmp/ruvola-installed.py
as_user() { $sudo runuser -u "$user" -- env -i HOME="$home" USER="$user" PATH=/usr/bin:/bin DISPLAY="$display" "$@"; }
as_user dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  sleep 1
  cd "$HOME" && /usr/bin/python3 /tmp/ruvola-installed.py
  status=$?
  kill %1 2>/dev/null
  exit $status'
png=$(as_user mktemp -u /tmp/ruvola-batch-XXXXXX.png)
as_user /usr/bin/ruvola-batch ean13 590123412345 12 -o "$png"
[ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
  { echo "ruvola-batch from /usr/bin wrote no PNG" >&2; exit 1; }
rm -f "$png" /tmp/ruvola-installed.py
echo "installed package: the program keeps its settings in $home/.config/ruvola, ruvola-batch writes a PNG"
