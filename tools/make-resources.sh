#!/usr/bin/env bash
# Generates the sounds, icons and the background picture in data/res/; with --app-icons, only
# the program's icon for the desktop's menu as PNG files of the sizes given (the build does that).
#
# Needs: sox, imagemagick (convert); --app-icons needs imagemagick only.
# Usage: bash tools/make-resources.sh
#        bash tools/make-resources.sh --app-icons DIR SIZE...   (writes DIR/SIZE.png)
#
# The output is deterministic: sox runs in repeatable mode without dither,
# imagemagick output is stripped of metadata, so re-running the script
# yields identical files.
set -euo pipefail

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

RATE=22050
SOX=(sox -R -D --no-show-progress)
FMT=(-r "$RATE" -b 16 -c 1 -e signed-integer)

# ---------------------------------------------------------------------------
# Sounds
# ---------------------------------------------------------------------------

# tone FILE FREQ LENGTH AMPLITUDE
# A soft bell-like tone: fundamental plus quiet 2nd and 3rd harmonics,
# 6 ms fade in and a decay over the whole length (ends at zero, no click).
tone() {
    local file=$1 f=$2 len=$3 amp=$4
    local f2 f3
    f2=$(awk -v f="$f" 'BEGIN { printf "%.2f", f * 2 }')
    f3=$(awk -v f="$f" 'BEGIN { printf "%.2f", f * 3 }')
    "${SOX[@]}" -n "${FMT[@]}" "$tmp/h1.wav" synth "$len" sine "$f"
    "${SOX[@]}" -n "${FMT[@]}" "$tmp/h2.wav" synth "$len" sine "$f2" vol 0.22
    "${SOX[@]}" -n "${FMT[@]}" "$tmp/h3.wav" synth "$len" sine "$f3" vol 0.07
    "${SOX[@]}" -m -v 1 "$tmp/h1.wav" -v 1 "$tmp/h2.wav" -v 1 "$tmp/h3.wav" \
        "${FMT[@]}" "$tmp/mix.wav"
    # fade in quickly, then a smooth decay to silence over the full length
    "${SOX[@]}" "$tmp/mix.wav" "${FMT[@]}" "$file" \
        vol "$amp" fade q 0.006 "$len" "$(awk -v l="$len" 'BEGIN { print l - 0.006 }')" \
        fade h 0 "$len" "$(awk -v l="$len" 'BEGIN { print l * 0.85 }')"
}

# place FILE OFFSET -> FILE padded with OFFSET seconds of leading silence
place() {
    "${SOX[@]}" "$1" "${FMT[@]}" "$2" pad "$3"
}

make_sounds() {
    # call.wav: friendly two-tone chime (E5 - C5), played twice, ~1.9 s
    tone "$tmp/hi.wav" 659.26 0.60 0.42
    tone "$tmp/lo.wav" 523.25 0.80 0.42
    place "$tmp/hi.wav" "$tmp/c1.wav" 0.00
    place "$tmp/lo.wav" "$tmp/c2.wav" 0.30
    place "$tmp/hi.wav" "$tmp/c3.wav" 0.95
    place "$tmp/lo.wav" "$tmp/c4.wav" 1.25
    "${SOX[@]}" -m "$tmp/c1.wav" "$tmp/c2.wav" "$tmp/c3.wav" "$tmp/c4.wav" \
        "${FMT[@]}" "$tmp/call.wav" vol 4 trim 0 1.95 fade t 0 1.95 0.05
    cp "$tmp/call.wav" "$out/call.wav"

    # info.wav: soft single blip (A5), 0.3 s
    tone "$tmp/blip.wav" 880.00 0.30 0.45
    cp "$tmp/blip.wav" "$out/info.wav"

    # load.wav: rising two-note "window opens" (C6 -> G6), 0.35 s
    tone "$tmp/n1.wav" 1046.50 0.16 0.40
    tone "$tmp/n2.wav" 1567.98 0.24 0.36
    place "$tmp/n2.wav" "$tmp/n2p.wav" 0.11
    "${SOX[@]}" -m "$tmp/n1.wav" "$tmp/n2p.wav" "${FMT[@]}" "$tmp/load.wav" \
        vol 2 trim 0 0.35
    cp "$tmp/load.wav" "$out/load.wav"

    echo "sounds done"
}

# ---------------------------------------------------------------------------
# Icons
# ---------------------------------------------------------------------------
# Shapes are drawn in white on a 256x256 transparent canvas (a mask), then
# coloured, trimmed, centred on a square and scaled down to 48, 32 and 16
# pixels. All icons share the same outline so only the colour differs.

BIG=256

# Telephone handset: a thick arc (the handle) bulging towards the lower left,
# an ear cup at the upper left and a mouth cup at the lower right, both
# slightly tilted towards each other. The ear half is drawn and the mouth cup
# is its mirror image across the anti-diagonal (-transverse), so the figure is
# symmetric.
handset_mask() {
    convert -size ${BIG}x${BIG} xc:none -stroke none -fill white \
        -draw "path 'M 34,80 A 142,142 0 0,0 176,222 L 176,180 A 100,100 0 0,1 76,80 Z'" \
        -draw "push graphic-context translate 56,86 rotate 10
               path 'M -24,8 L -24,-40 Q -24,-60 -4,-61 L 24,-64 Q 46,-66 46,-44
                     L 46,8 Q 46,24 30,24 L -8,24 Q -24,24 -24,8 Z'
               pop graphic-context" \
        \( +clone -transverse \) -compose over -composite "$1"
}

# Eye: almond outline with rounded corners, round iris with a white glint.
eye_mask() {
    convert -size ${BIG}x${BIG} xc:none -fill none -stroke white -strokewidth 28 \
        -draw "stroke-linejoin round
               path 'M 14,128 C 66,28 190,28 242,128 C 190,228 66,228 14,128 Z'" \
        -stroke none -fill white -draw "circle 128,128 128,84" "$1"
}

# colourise MASK COLOUR OUT [DRAW]: the mask's shape in COLOUR, optionally
# with white details drawn on top (DRAW, in mask coordinates), trimmed, scaled
# to fill 232x232 and centred on a 256x256 square (a small margin remains).
colourise() {
    local extra=()
    if [ $# -ge 4 ]; then extra=(-fill white -draw "$4"); fi
    convert "$1" -fill "$2" -colorize 100 "${extra[@]}" -trim +repage \
        -filter Lanczos -resize 232x232 \
        -background none -gravity center -extent ${BIG}x${BIG} "$3"
}

# halo PNG: a soft light rim around the shape, so a dark icon stays visible on a
# dark panel as well as on a light one.
halo() {
    convert "$1" \( +clone -alpha extract -morphology Dilate Disk:10 \
        -background '#f4f4f4' -alpha shape -channel A -evaluate multiply 0.85 +channel \) \
        +swap -background none -compose over -layers merge +repage "$1"
}

# to_ico BIGPNG OUT.ico [BIGPNG16]: 48, 32 and 16 pixel images in one icon
# file; the 16 pixel one is made from BIGPNG16 if given (a simplified drawing).
to_ico() {
    local small=${3:-$1}
    convert "$1" -filter Lanczos \
        \( -clone 0 -resize 48x48 \) \
        \( -clone 0 -resize 32x32 \) \
        \( "$small" -resize 16x16 -unsharp 0x0.6+0.6+0 \) \
        -delete 0 -strip "$2"
}

# The black of the handset and the eye, used for the program's icon in the menu as well.
BLACK="#1c1c1c"

make_icons() {
    handset_mask "$tmp/handset.png"
    eye_mask "$tmp/eye.png"

    for spec in "black:$BLACK" green:#14913a red:#d0202a; do
        name=${spec%%:*}
        colour=${spec#*:}
        colourise "$tmp/handset.png" "$colour" "$tmp/phone$name.png"
        halo "$tmp/phone$name.png"
        to_ico "$tmp/phone$name.png" "$out/phone$name.ico"
    done

    # the glint is too small to show at 16 pixels: plain iris there
    colourise "$tmp/eye.png" "$BLACK" "$tmp/eye-col.png" "circle 146,110 146,96"
    colourise "$tmp/eye.png" "$BLACK" "$tmp/eye-plain.png"
    halo "$tmp/eye-col.png"
    halo "$tmp/eye-plain.png"
    to_ico "$tmp/eye-col.png" "$out/eye.ico" "$tmp/eye-plain.png"

    echo "icons done"
}

# app_icons DIR SIZE...: the black handset of the windows' icon as DIR/SIZE.png, drawn large and
# scaled down like the icon files, sharpened at 16 pixels and below as there.
app_icons() {
    local dir=$1 size
    shift
    mkdir -p "$dir"
    handset_mask "$tmp/handset.png"
    colourise "$tmp/handset.png" "$BLACK" "$tmp/app.png"
    halo "$tmp/app.png"
    for size in "$@"; do
        local sharpen=()
        if [ "$size" -le 16 ]; then sharpen=(-unsharp 0x0.6+0.6+0); fi
        convert "$tmp/app.png" -filter Lanczos -resize "${size}x${size}" "${sharpen[@]}" \
            -strip "$dir/$size.png"
    done
}

# ---------------------------------------------------------------------------
# Background picture of the journal window
# ---------------------------------------------------------------------------
# Diagonal gradient from a light blue-grey (upper left) to white (lower
# right), overlaid with very faint wavy lines. Light throughout, so black
# text stays readable.
make_background() {
    convert -size 640x480 xc: \
        -sparse-color barycentric '0,0 #d3dde8  640,480 #fbfcfd  640,0 #e8eef4' \
        \( -size 640x480 xc: -fx '0.5 + 0.035 * sin(2 * pi * (j / 24 + 0.8 * sin(2 * pi * i / 640) + 0.25 * sin(2 * pi * (i + j) / 410)))' \) \
        -compose softlight -composite \
        -strip -sampling-factor 4:2:0 -interlace none -quality 85 "$out/bg.jpg"

    echo "picture done"
}

if [ "${1:-}" = "--app-icons" ]; then
    shift
    app_icons "$@"
    exit 0
fi

out="$(cd "$(dirname "$0")" && pwd)/../data/res"
mkdir -p "$out"
out=$(cd "$out" && pwd)
make_sounds
make_icons
make_background
