#!/bin/sh
# Draws every image of the report site into site/html/images/.
#
# The generated images are committed, so building and running the programs
# never needs ImageMagick; run this script only after changing a drawing.
# Needs the Debian packages imagemagick and fonts-dejavu-core; installs them
# when missing (as root).
#
# Images that are not transparent are painted onto the background colour of
# the stylesheet class they sit on (see c-kestro.css), so their anti-aliased
# edges blend in. Keep the colours below in step with the stylesheet.
set -eu
cd "$(dirname "$0")"

need=""
command -v convert >/dev/null 2>&1 && convert -version 2>/dev/null | grep -q ImageMagick || need="imagemagick"
[ -f /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf ] || need="$need fonts-dejavu-core"
if [ -n "$need" ]; then
  echo "Installing:$need"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # shellcheck disable=SC2086
  apt-get install -y -qq --no-install-recommends $need
fi

FONT=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
FONT_BOOK=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
FONT_COND=/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf
[ -f "$FONT_COND" ] || FONT_COND=$FONT

# Background colours of the stylesheet classes.
BG_PAGE='#0b0e13'
BG_NEUTRAL='#1a1f28'
BG_RED='#2a1215'
BG_BLUE='#0f1a2f'
BG_TILE='#12161d'   # award icon tile

OUT=html/images
mkdir -p "$OUT/awards" "$OUT/maps"

# Output options: no metadata (so a redraw gives the same bytes), fixed quality.
JPG="-strip -quality 90 -sampling-factor 1x1"
GIF="-strip"

# --------------------------------------------------------------------------
# Award icons, 32x32. One shape per group:
#   carnage_*  (most kills with a weapon)   filled disc ringed in the weapon colour
#   accuracy_* (best accuracy with a weapon) hollow crosshair ring in the weapon colour
#   player_*   (general awards)              gold shield with a symbol
#   ctf_*      (capture the flag awards)     teal hexagon with a symbol
# Weapons are told apart by their colour and short letters.
# --------------------------------------------------------------------------

# weapon file-name part, letters, ring colour, dark fill colour
WEAPONS="gauntlet:G:#00e5ff:#063a44
machine:MG:#ffe600:#3d3700
shot:SG:#fcb903:#3f2c00
grenade:GL:#20c03a:#063512
rocket:RL:#ff3a2a:#46100c
lightning:LG:#e8f2ff:#2c3442
rail:RG:#3dff3d:#0c3f0c
plasma:PG:#ff4dff:#3f0d3f
bfg:BFG:#3d8df0:#0b2446
nail:NG:#3fb2c2:#0d3238
grapple:GH:#00d6bd:#003a33"

letters_size() {
  case "${#1}" in
    1) echo 15 ;;
    2) echo 12 ;;
    *) echo 9 ;;
  esac
}

echo "$WEAPONS" | while IFS=: read -r name letters ring fill; do
  size=$(letters_size "$letters")
  # Kills: a solid disc with a bright ring, white letters.
  # shellcheck disable=SC2086
  convert -size 32x32 "xc:$BG_TILE" \
    -fill "$fill" -stroke "$ring" -strokewidth 2.5 -draw "circle 16,16 16,3" \
    -stroke none -fill '#00000090' -font "$FONT" -pointsize "$size" -gravity center -annotate +1+1 "$letters" \
    -fill '#ffffff' -annotate +0+0 "$letters" \
    $JPG "$OUT/awards/carnage_$name.jpg"

  # Accuracy: a hollow crosshair ring with ticks, letters in the weapon colour.
  # The machine gun to BFG get an icon; so does the gauntlet (most hits).
  case "$name" in nail|grapple) continue ;; esac
  [ "${#letters}" -gt 2 ] && size=8
  # shellcheck disable=SC2086
  convert -size 32x32 "xc:$BG_TILE" \
    -fill none -stroke "$ring" -strokewidth 1.6 -draw "circle 16,16 16,5" \
    -strokewidth 2 -draw "line 16,1 16,6" -draw "line 16,26 16,31" \
    -draw "line 1,16 6,16" -draw "line 26,16 31,16" \
    -stroke none -fill "$ring" -font "$FONT_COND" -pointsize "$size" -gravity center -annotate +0+0 "$letters" \
    $JPG "$OUT/awards/accuracy_$name.jpg"
done

# Gold shield for the general player awards: file part, symbol, font size, symbol colour.
SHIELD="path 'M 5,4 L 27,4 L 27,15 C 27,22 22,27 16,30 C 10,27 5,22 5,15 Z'"
player_icon() {
  # shellcheck disable=SC2086
  eval convert -size 32x32 "xc:$BG_TILE" \
    -fill "'#3a2a08'" -stroke "'#e9b62e'" -strokewidth 2 -draw "\"$SHIELD\"" \
    -stroke none -fill "'$4'" -font "$FONT" -pointsize "$3" -gravity center -annotate +0-1 "'$2'" \
    $JPG "$OUT/awards/player_$1.jpg"
}
player_icon kills    '☠' 26 '#f4f1e6'   # most kills
player_icon combat   '⚔' 24 '#ffb347'   # deadliest player
player_icon kestro   '★' 28 '#ffd84a'   # most valuable player
player_icon damage   '✹' 26 '#ff7a3a'   # most damage inflicted
player_icon accuracy '◎' 24 '#9ee7ff'   # best overall accuracy
# Highest kill streak: a blood drop.
convert -size 32x32 "xc:$BG_TILE" \
  -fill '#3a2a08' -stroke '#e9b62e' -strokewidth 2 -draw "path 'M 5,4 L 27,4 L 27,15 C 27,22 22,27 16,30 C 10,27 5,22 5,15 Z'" \
  -stroke none -fill '#e0202e' -draw "path 'M 16,8 C 13,13 10,16 10,19 C 10,22.5 12.7,25 16,25 C 19.3,25 22,22.5 22,19 C 22,16 19,13 16,8 Z'" \
  -fill '#ff9aa2' -draw "ellipse 13.5,19 1.3,2.4 0,360" \
  $JPG "$OUT/awards/player_bloodlust.jpg"

# Teal hexagon for the capture-the-flag awards.
HEX="polygon 16,2 28.5,9 28.5,23 16,30 3.5,23 3.5,9"
ctf_icon() {
  # shellcheck disable=SC2086
  eval convert -size 32x32 "xc:$BG_TILE" \
    -fill "'#0b3530'" -stroke "'#2fd3b5'" -strokewidth 2 -draw "'$HEX'" \
    -stroke none -fill "'$4'" -font "$FONT" -pointsize "$3" -gravity center -annotate +0+0 "'$2'" \
    $JPG "$OUT/awards/ctf_$1.jpg"
}
ctf_icon caps    '⚑'  23 '#ffffff'   # most flag captures
ctf_icon defense '♜'  22 '#d8f7f0'   # most base defends
ctf_icon assists '+1' 12 '#b6ffef'   # most assists
ctf_icon escort  '⚐'  23 '#ffe27a'   # best flag-carrier escort
ctf_icon chaser  '↺'  24 '#ff9c7a'   # most flag returns / carrier kills
ctf_icon holder  'HK' 11 '#ffd0e0'   # most kills while holding the flag

# Season awards for items picked up: a steel tile with the item's sign in its
# in-game colour (health by size: green, yellow, orange, blue for mega).
item_icon() {
  # shellcheck disable=SC2086
  eval convert -size 32x32 "xc:$BG_TILE" \
    -fill "'#13233a'" -stroke "'#5f86b8'" -strokewidth 2 -draw "'roundrectangle 3,3 28,28 6,6'" \
    -stroke none -fill "'$4'" -font "$FONT" -pointsize "$3" -gravity center -annotate +0+0 "'$2'" \
    $JPG "$OUT/awards/item_$1.jpg"
}
item_icon health_small '✚' 14 '#6fe07a'   # most small health
item_icon health       '✚' 19 '#ffe65c'   # most health
item_icon health_large '✚' 23 '#ff9f3a'   # most large health
item_icon mega         '✚' 25 '#5aa8ff'   # most mega health
item_icon ra           'RA' 12 '#ff4b55'  # most red armour
item_icon ya           'YA' 12 '#ffd84a'  # most yellow armour
item_icon shard        '◆' 18 '#9ee08a'   # most armour shards
item_icon regen        'R'  18 '#ff5050'  # most regeneration
item_icon haste        'H'  18 '#ffd84a'  # most haste
item_icon quad         'Q'  18 '#4d94ff'  # most quad damage

# The season's hall of shame: a dull red tombstone with a sign.
shame_icon() {
  # shellcheck disable=SC2086
  eval convert -size 32x32 "xc:$BG_TILE" \
    -fill "'#2e1418'" -stroke "'#8c2a35'" -strokewidth 2 -draw "\"path 'M 6,29 L 6,12 C 6,5 26,5 26,12 L 26,29 Z'\"" \
    -stroke none -fill "'$4'" -font "$FONT" -pointsize "$3" -gravity center -annotate +0+2 "'$2'" \
    $JPG "$OUT/awards/shame_$1.jpg"
}
shame_icon suicides    '☠' 18 '#c9a0a6'   # most suicides
shame_icon teamkills   '✖' 16 '#ff7a85'   # most team kills
shame_icon deathstreak '↓' 18 '#c9a0a6'   # longest death streak

# No award in a group: a transparent spacer of the same size keeps rows even.
convert -size 32x32 xc:none $GIF "$OUT/awards/blank.gif"

# --------------------------------------------------------------------------
# Flags of the score block. They stand at the top of the red and blue side
# cells (classes "red" and "blue"); free-for-all banners on "neutral".
# --------------------------------------------------------------------------

# Capture the flag: a waving flag on a pole, 80x120.
ctf_flag() { # out, background, flag colour, dark shade, light shade
  # shellcheck disable=SC2086
  convert -size 80x120 "xc:$2" \
    -fill '#9aa3b0' -stroke '#5d6470' -strokewidth 1 -draw "roundrectangle 9,8 13,114 2,2" \
    -fill '#c9ced6' -stroke none -draw "circle 11,7 11,3" \
    -fill '#3a404a' -draw "roundrectangle 4,112 18,117 2,2" \
    -fill "$3" -stroke "$4" -strokewidth 1.5 \
    -draw "path 'M 13,12 C 30,2 46,20 74,10 L 74,58 C 46,68 30,50 13,60 Z'" \
    -stroke none -fill "$5" \
    -draw "path 'M 13,30 C 30,20 46,38 74,28 L 74,36 C 46,46 30,28 13,38 Z'" \
    -fill '#ffffffd0' -draw "circle 43,33 43,25" \
    -fill "$3" -draw "circle 43,33 43,29" \
    $JPG "$1"
}
ctf_flag "$OUT/flag_ctf_red.jpg"  "$BG_RED"  '#d3202c' '#6e0d14' '#f0505a'
ctf_flag "$OUT/flag_ctf_blue.jpg" "$BG_BLUE" '#1f5fd8' '#0c2a66' '#4f8cf5'

# Team deathmatch: a hanging swallow-tail banner on a cross bar, 64x120.
tdm_flag() { # out, background, banner colour, dark shade, emblem colour
  # shellcheck disable=SC2086
  convert -size 64x120 "xc:$2" \
    -fill '#9aa3b0' -stroke '#5d6470' -strokewidth 1 -draw "roundrectangle 4,6 60,10 2,2" \
    -fill '#c9ced6' -stroke none -draw "circle 4,8 4,5" -draw "circle 60,8 60,5" \
    -fill "$3" -stroke "$4" -strokewidth 1.5 \
    -draw "polygon 10,10 54,10 54,108 32,92 10,108" \
    -stroke none -fill "$4" -draw "rectangle 10,11 54,16" \
    -fill none -stroke "$5" -strokewidth 4 -draw "polyline 18,50 32,36 46,50" -draw "polyline 18,66 32,52 46,66" \
    $GIF "$1"
}
tdm_flag "$OUT/flag_tdm_red.gif"  "$BG_RED"  '#c41e2a' '#6e0d14' '#ffd0d4'
tdm_flag "$OUT/flag_tdm_blue.gif" "$BG_BLUE" '#1d58c8' '#0c2a66' '#d0e0ff'

# Free-for-all: a neutral steel banner with a gold star, 64x120.
convert -size 64x120 "xc:$BG_NEUTRAL" \
  -fill '#9aa3b0' -stroke '#5d6470' -strokewidth 1 -draw "roundrectangle 4,6 60,10 2,2" \
  -fill '#c9ced6' -stroke none -draw "circle 4,8 4,5" -draw "circle 60,8 60,5" \
  -fill '#4a5363' -stroke '#262c36' -strokewidth 1.5 -draw "polygon 10,10 54,10 54,108 32,92 10,108" \
  -stroke none -fill '#262c36' -draw "rectangle 10,11 54,16" \
  -fill '#e9b62e' -font "$FONT" -pointsize 30 -gravity north -annotate +0+34 '★' \
  -fill '#c9ced6' -font "$FONT" -pointsize 11 -annotate +0+74 'FFA' \
  $GIF "$OUT/flag_ffa.gif"

# --------------------------------------------------------------------------
# Divider above section links: a thin red-to-blue rule with a centre mark,
# 480x9, transparent around it (sits on the page background).
# --------------------------------------------------------------------------
# shellcheck disable=SC2086
convert -size 480x2 "xc:$BG_PAGE" \
  \( -size 2x480 gradient:'#c42530-#2f6fe0' -rotate -90 \) \
  \( -size 480x2 xc: -fx 'min(1, min(i, w-1-i)/150)' \) \
  -composite \
  -background "$BG_PAGE" -gravity center -extent 480x9 \
  -fill "$BG_PAGE" -draw "polygon 230,4 240,-1 250,4 240,9" \
  -fill '#c9ced6' -draw "polygon 234,4 240,1 246,4 240,7" \
  -transparent "$BG_PAGE" $GIF "$OUT/break.gif"

# --------------------------------------------------------------------------
# Map placeholder, 160x128, shown when a map has no picture.
# --------------------------------------------------------------------------
grid=""
for x in 16 32 48 64 80 96 112 128 144; do grid="$grid -draw 'line $x,0 $x,127'"; done
for y in 16 32 48 64 80 96 112; do grid="$grid -draw 'line 0,$y 159,$y'"; done
eval convert -size 160x128 "'xc:#151a22'" \
  -stroke "'#1e2430'" -strokewidth 1 "$grid" \
  -fill none -stroke "'#38414f'" -strokewidth 5 \
  -draw "'polyline 24,100 24,60 56,60 56,28 104,28 104,60 136,60 136,100 88,100 88,76 72,76 72,100 24,100'" \
  -stroke "'#151a22'" -strokewidth 1.5 \
  -draw "'polyline 24,100 24,60 56,60 56,28 104,28 104,60 136,60 136,100 88,100 88,76 72,76 72,100 24,100'" \
  -stroke none -fill "'#151a22d8'" -draw "'rectangle 0,48 159,82'" \
  -fill "'#aab3c2'" -font "$FONT" -pointsize 12 -gravity center -annotate +0-6 "'no map picture'" \
  -fill "'#6c7586'" -font "$FONT_BOOK" -pointsize 9 -annotate +0+9 "'kestro stats'" \
  -fill none -stroke "'#3a4352'" -strokewidth 1 -draw "'rectangle 0,0 159,127'" \
  $GIF "$OUT/maps/default.gif"

# --------------------------------------------------------------------------
# Logos of the credits table (on "neutral") and of the page header.
# --------------------------------------------------------------------------

# The product: a hexagon split red and blue with a "k", and the word mark. 150x48.
convert -size 150x48 "xc:$BG_NEUTRAL" \
  -fill '#c41e2a' -draw "polygon 24,4 24,44 4,34 4,14" \
  -fill '#1d58c8' -draw "polygon 24,4 44,14 44,34 24,44" \
  -fill none -stroke '#e6e9ef' -strokewidth 1.5 -draw "polygon 24,4 44,14 44,34 24,44 4,34 4,14" \
  -stroke none -fill '#ffffff' -font "$FONT" -pointsize 24 -gravity northwest -annotate +16+8 'k' \
  -fill '#eef1f6' -font "$FONT" -pointsize 19 -annotate +52+6 'kestro' \
  -fill '#8fa0b8' -font "$FONT_BOOK" -pointsize 11 -annotate +53+29 's t a t s' \
  $GIF "$OUT/logo-kestro.gif"

# The makers: three chevrons and "the kestro stats team". 150x48.
convert -size 150x48 "xc:$BG_NEUTRAL" \
  -fill none -strokewidth 4 \
  -stroke '#c41e2a' -draw "polyline 6,14 16,24 6,34" \
  -stroke '#c9ced6' -draw "polyline 16,14 26,24 16,34" \
  -stroke '#1d58c8' -draw "polyline 26,14 36,24 26,34" \
  -stroke none -fill '#8fa0b8' -font "$FONT_BOOK" -pointsize 10 -gravity northwest -annotate +46+8 'the' \
  -fill '#eef1f6' -font "$FONT" -pointsize 13 -annotate +46+19 'kestro stats' \
  -fill '#8fa0b8' -font "$FONT_BOOK" -pointsize 10 -annotate +46+34 'team' \
  $GIF "$OUT/logo-team.gif"

# The game modification the reports are made for: a plain lettered badge. 120x48.
convert -size 120x48 "xc:$BG_NEUTRAL" \
  -fill '#262c36' -stroke '#e08a1e' -strokewidth 2 -draw "roundrectangle 10,6 110,42 6,6" \
  -stroke none -fill '#f2f4f8' -font "$FONT" -pointsize 20 -gravity center -annotate +0-4 'OSP' \
  -fill '#e08a1e' -font "$FONT_BOOK" -pointsize 8 -annotate +0+12 'game modification' \
  $GIF "$OUT/logo-osp.gif"

echo "Images written to $(pwd)/$OUT"
