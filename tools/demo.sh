#!/usr/bin/env bash
# The main job under Wine: load the library, then one whole lock job through the console
# host, with the demo runner showing the command line and the job file it was handed.
set -euo pipefail
build=$1
run() { echo "\$ pinvale-host $*"; "$build/wine-run" "$build/demo/pinvale-host.exe" "$@"; echo; }
# No install path: the runner is looked for beside the library.
"$build/wine-run" reg delete 'HKLM\Software\Velmora\Keelmark' /f >/dev/null 2>&1 || true
deck=$("$build/wine-run" winepath -w "$(pwd)/samples/Quarterly.pptx" 2>/dev/null | tr -d '\r')
run info
run lock "$deck" --slide 2:260:5 --slide 7:3:1 --slide 2:261:4 --master 1:12:2 --slide 2:260:7
