#!/usr/bin/env bash
# about-screenshots.sh BUILD_DIR OUT_DIR
# Saves OUT_DIR/about-96.png and OUT_DIR/about-144.png: the About box as it shows at 96 and
# at 144 DPI. Runs inside a Wine session of BUILD_DIR (tools/wine-session.sh), which gives
# it the Xvfb display; the screen resolution is the prefix's setting, restored afterwards.
set -euo pipefail
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
. "$build/wine-env.sh"
[ -n "${DISPLAY:-}" ] || { echo "about-screenshots: run me through tools/wine-session.sh" >&2; exit 1; }

# A prefix may lack the fonts of a Windows desktop (Tahoma for the dialog font, Marlett for
# the caption buttons); the box's process then gets them from Wine's own font folder. Not
# Wine's Tahoma Bold: it draws thin strokes at 144 DPI, where Wine's own bolding of Tahoma
# looks right at both sizes.
fonts=()
for f in tahoma.ttf marlett.ttf; do
  if [ -f "/usr/share/wine/fonts/$f" ]; then fonts+=("Z:\\usr\\share\\wine\\fonts\\$f"); fi
done

work=$(mktemp -d)
key='HKCU\Control Panel\Desktop'
reg() { "$WINELOADER" reg "$@" </dev/null >/dev/null 2>&1; }
restore() {
  reg delete "$key" /v LogPixels /f || true
  rm -rf "$work"
}
trap restore EXIT

for dpi in 96 144; do
  # Each Wine process reads the resolution when it starts.
  reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f
  rm -f "$work/done" "$work/rect"
  "$WINELOADER" "$build/bin/about-shot.exe" "Z:${work//\//\\}\\done" "${fonts[@]}" >"$work/rect" 2>"$work/errors" </dev/null &
  shot=$!
  for _ in $(seq 300); do [ -s "$work/rect" ] && break; sleep 0.1; done
  if ! [ -s "$work/rect" ]; then
    cat "$work/errors" >&2
    kill "$shot" 2>/dev/null || true
    exit 1
  fi
  read -r left top width height <"$work/rect"
  import -window root -crop "${width}x${height}+${left}+${top}" +repage -strip "$out/about-$dpi.png"
  touch "$work/done"
  wait "$shot"
  echo "about-screenshots: $out/about-$dpi.png (${width}x${height})"
done
