#!/usr/bin/env bash
# Makes the two images the README shows, again from the sources:
#   docs/window.png                 the window of the real korvanta.exe under Wine, frame included
#   docs/contact-sheet-excerpt.png  a few rows of both icon sets from the build's contact sheet
# The program runs against the demo game installation of run.sh, on a private virtual display
# inside Wine's virtual desktop; the Wine processes and the display are ended afterwards.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/demo.sh"
demo_build screenshots
cmake --build --preset "$DEMO_PRESET" --target payload_files >/dev/null
build=$DEMO_BUILD
sheet=$build/payload/generated/contact-sheet.png
docs=$root/docs
work=$build/screenshots/docs
mkdir -p "$docs" "$work"

# Always a display of our own, whatever $DISPLAY the caller has: the picture must not depend on it.
unset WINE_ENV_USE_DISPLAY DISPLAY
demo_prepare "$build/screenshots/lane"
trap 'wine_stop' EXIT

desktop=640x400
"$WINE_ENV_LOADER" explorer /desktop=korvanta,$desktop "$DEMO_EXE" </dev/null >"$work/wine.log" 2>&1 &
wid=
for _ in $(seq 1 150); do
    wid=$(xdotool search --onlyvisible --name '^Korvanta$' 2>/dev/null | head -n 1) && [ -n "$wid" ] && break
    sleep 0.2
done
if [ -z "$wid" ]; then
    echo "screenshots: no window titled Korvanta appeared; see $work/wine.log" >&2
    exit 1
fi

# Wait until the desktop stops changing (the label and buttons painted), at most ten seconds.
import -window root "$work/desktop.png"
for _ in $(seq 1 20); do
    sleep 0.5
    import -window root "$work/desktop-next.png"
    if [ "$(compare -metric AE "$work/desktop.png" "$work/desktop-next.png" null: 2>&1 || true)" = 0 ]; then
        break
    fi
    mv "$work/desktop-next.png" "$work/desktop.png"
done

# The window's rectangle on the desktop, frame and caption included (xwininfo's absolute
# position: xdotool counts the offset of a window inside the desktop window twice).
info=$(xwininfo -id "$wid")
X=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
Y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
WIDTH=$(sed -n 's/.*Width: *//p' <<<"$info")
HEIGHT=$(sed -n 's/.*Height: *//p' <<<"$info")
crop="${WIDTH}x${HEIGHT}+${X}+${Y}"
convert "$work/desktop.png" -crop "$crop" +repage -strip \
    -define png:compression-level=9 "$docs/window.png"
echo "screenshots: docs/window.png (${WIDTH}x${HEIGHT}, the window at +${X}+${Y} on a $desktop desktop)"

# The contact sheet: columns 1-5 of rank rows 6-10 (ranks 51-95) of both sets, side by side with
# the sheet's own divider, scaled to 900 pixels wide. The sheet's geometry is that of
# payload/generator/contact_sheet.cpp: sides 1152 wide, an 8-pixel divider, 16-pixel margins,
# cells 112 wide, the first section's rows 118 high from y = 16.
side=1152 margin=16 pitch=112 row=118
cols=5 first_row=6 rows=5
w=$((margin + cols * pitch))
h=$((rows * row + 4))
y=$((margin + (first_row - 1) * row - 4))
convert "$sheet" \
    \( -clone 0 -crop "${w}x${h}+0+${y}" +repage \) \
    \( -clone 0 -crop "8x${h}+${side}+${y}" +repage \) \
    \( -clone 0 -crop "${w}x${h}+$((side + 8))+${y}" +repage \) \
    -delete 0 +append -resize '900x>' -strip +dither -colors 128 \
    -define png:compression-level=9 "$docs/contact-sheet-excerpt.png"
echo "screenshots: docs/contact-sheet-excerpt.png (ranks 51-95 of both sets, from $sheet)"
