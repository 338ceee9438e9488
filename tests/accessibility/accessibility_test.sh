#!/usr/bin/env bash
# Shows the program's windows on a private X display with a private session
# bus and accessibility bus, and walks them as a screen reader sees them.
# Exit 77 (skipped) only when Xvfb or the AT-SPI Python bindings are missing.
set -u
program=$1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# Debian's interpreter: the bindings are Debian packages, not in another Python on the path.
python=/usr/bin/python3

if ! command -v Xvfb >/dev/null; then
  echo "SKIPPED: Xvfb is not installed (Debian package xvfb)"
  exit 77
fi
if ! "$python" -c 'import pyatspi' 2>/dev/null; then
  echo "SKIPPED: the AT-SPI Python bindings are not installed (Debian package python3-pyatspi)"
  exit 77
fi
for needed in dbus-run-session dbus-daemon /usr/libexec/at-spi-bus-launcher; do
  if ! command -v "$needed" >/dev/null; then
    echo "FAILED: $needed is missing (Debian packages dbus and at-spi2-core)"
    exit 1
  fi
done

work=$(mktemp -d)
xvfb=
session=
cleanup() {
  # The session's own group: what the bus started for it, the accessibility bus and its registry, may outlive the walk.
  if [ -n "$session" ]; then kill -TERM -- "-$session" 2>/dev/null; wait "$session" 2>/dev/null; fi
  if [ -n "$xvfb" ]; then kill -TERM "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

# Xvfb picks a free display itself and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb" 2>/dev/null || break
  sleep 0.1
done
if [ ! -s "$work/display" ]; then
  echo "FAILED: Xvfb did not start"
  cat "$work/xvfb.log"
  exit 1
fi

mkdir -m 700 "$work/runtime"
export DISPLAY=":$(head -n1 "$work/display")"
export XDG_RUNTIME_DIR="$work/runtime"
export QT_QPA_PLATFORM=xcb
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS WAYLAND_DISPLAY XAUTHORITY

# In its own process group, so cleanup ends whatever the session bus started.
setsid timeout 100 dbus-run-session -- "$python" "$here/accessibility_walk.py" "$program" &
session=$!
wait "$session"
status=$?
[ "$status" -eq 124 ] && echo "FAILED: the walk did not end within 100 s"
exit "$status"
