#!/bin/sh
# Pictures of the workbench window for the manual (docs/images/window-tab_*.png): a script builds
# results on the example data in a fresh folder, then the window is opened there on the same data
# and saves a picture of each tab. Needs a built program (default build/vorn); no display needed.
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
program=$(cd "$(dirname "${1:-$source_dir/build/vorn}")" && pwd)/$(basename "${1:-$source_dir/build/vorn}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$source_dir/examples/sedge_aflp.txt" "$work/"
cd "$work"
"$program" --script - --seed 1 >/dev/null <<'SCRIPT'
File > Load
    file: sedge_aflp.txt
DataMatrix > Matrix Statistics
    Statistics: Yes
Analysis > Standard Similarity
    Output file exists: Yes
Trees > UPGMA
SCRIPT
QT_QPA_PLATFORM=offscreen "$program" --screenshot window.png sedge_aflp.txt >/dev/null
for tab in Data Results Trees Log; do
  cp "window-tab_$tab.png" "$source_dir/docs/images/"
done
echo "saved docs/images/window-tab_{Data,Results,Trees,Log}.png"
