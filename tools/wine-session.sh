#!/usr/bin/env bash
# wine-session.sh BUILD_DIR COMMAND...
# Runs COMMAND with a private Xvfb display and the build tree's Wine prefix warm:
# creates and configures the prefix on first use, starts the Wine services before
# COMMAND (so that no test becomes their parent), and stops everything afterwards.
set -euo pipefail
build=$(cd "$1" && pwd); shift
. "$build/wine-env.sh"

# A machine that cannot run this build's Wine (no 32-bit user code, say) runs only the
# checks that need none; the test tree knows which those are.
if ! "$WINELOADER" --version >/dev/null 2>&1; then
  echo "wine-session: $WINELOADER cannot run here; running without Wine"
  exec "$@"
fi

display=
for n in $(seq 90 140); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=$n; break; fi
done
[ -n "$display" ] || { echo "wine-session: no free X display" >&2; exit 1; }
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
stop() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
}
trap stop EXIT
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.05; done
export DISPLAY=":$display"

wine() { "$WINELOADER" "$@" </dev/null >/dev/null 2>&1; }
if [ ! -f "$WINEPREFIX/.pinvale-ready" ]; then
  rm -rf "$WINEPREFIX"
  wine wineboot -i
  # No crash dialog for a crashing test child; message boxes and dialogs without
  # the wait for a window manager.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d nodebugger /f
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f
  "$WINESERVER" -w
  touch "$WINEPREFIX/.pinvale-ready"
fi
"$WINESERVER" -p </dev/null >/dev/null 2>&1
wine cmd /c exit

"$@"
