#!/bin/sh
# Tests of the report site (site/) and of scripts/check-site.sh.
# Usage: scripts/site-test.sh [--no-browser]
#   1. check-site.sh on small hand-written pages: what it must find and what
#      it must leave alone.
#   2. The site files: every image a report can name is there, in the format
#      its name says, and the stylesheet defines every class the pages use.
#   3. In headless Chromium (installed when missing unless --no-browser):
#      the preview pages load every image and pick up the stylesheet.
# Prints one line per failed case and exits 1 when any failed.
set -u
cd "$(dirname "$0")/.."
root=$(pwd)
check="$root/scripts/check-site.sh"
browser=1
[ "${1:-}" = "--no-browser" ] && browser=0

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { :; }

tmp=$(mktemp -d "${TMPDIR:-/tmp}/ks-site-test.XXXXXX")
trap 'rm -rf "$tmp"' EXIT INT TERM

# Runs check-site.sh; sets $out (standard output) and $rc.
run_check() {
  out=$(sh "$check" "$@" 2>/dev/null)
  rc=$?
}

# ---- 1. check-site.sh ----------------------------------------------------
w="$tmp/web"
mkdir -p "$w/html/images/awards" "$w/html/images/maps" "$w/other"
touch "$w/html/c-kestro.css" "$w/html/images/break.gif" \
  "$w/html/images/awards/blank.gif" "$w/html/images/maps/default.gif" \
  "$w/html/images/my pic.gif" "$w/html/wpn.html"

# Everything present, in the spellings the report pages use: bare, quoted,
# upper-case tags and attributes, a tag spread over lines.
cat >"$w/html/ok.html" <<'EOF'
<html><head><LINK REL=stylesheet HREF="c-kestro.css" TYPE="text/css">
<script language="JavaScript">
function loadDefaultMap()
{ document.MAP.src="images/maps/default.gif"; }
</script></head><body>
<IMG SRC=images/break.gif><BR><img src='images/awards/blank.gif'>
<IMG src=images/awards/blank.gif TITLE="best killer">&nbsp;<img
   alt="x"
   src="images/break.gif?v=2#top">
<img src="images/my%20pic.gif">
<IMG name=MAP src=images/maps/q3dm17.jpg WIDTH=160 HEIGHT=128 onError="loadDefaultMap();">
<A HREF="http://example.invalid/">home</A> <a href="mailto:x@example.invalid">mail</a>
<img src="data:image/gif;base64,R0lGODlhAQABAAAAACw="> <A href="#list-x">x</A>
<A HREF=wpn.html>view weapon stats</A> <A href="wpn.html#weapons-^1x">x</A>
</body></html>
EOF
run_check "$w/html/ok.html"
[ "$rc" -eq 0 ] && [ -z "$out" ] || fail "complete page: rc=$rc out=$out"
run_check -l "$w/html/ok.html"
[ "$rc" -eq 0 ] && [ -z "$out" ] || fail "complete page with -l: rc=$rc out=$out"

# Each missing kind of reference is named, and only the missing ones.
cat >"$w/html/bad.html" <<'EOF'
<html><head><link rel="stylesheet" href="gone.css"></head><body>
<IMG SRC=images/flag_ctf_red.jpg><img alt='a' src='images/awards/ctf_caps.jpg'>
<SCRIPT SRC="lib.js"></SCRIPT><img src="images/break.gif">
<IMG SRC="images/awards/ctf_caps.jpg">
</body></html>
EOF
run_check "$w/html/bad.html"
[ "$rc" -eq 1 ] || fail "missing files: exit status $rc, want 1"
for name in gone.css images/flag_ctf_red.jpg images/awards/ctf_caps.jpg lib.js; do
  printf '%s\n' "$out" | grep -q "missing: $name " || fail "missing file $name not named: $out"
done
[ "$(printf '%s\n' "$out" | grep -c 'ctf_caps')" -eq 1 ] || fail "a file missing twice is named twice: $out"
printf '%s\n' "$out" | grep -q 'break.gif' && fail "present file named as missing: $out"

# A picture with an onError fall-back may be absent, but the fall-back may not.
cat >"$w/html/map.html" <<'EOF'
<script>function loadDefaultMap() { document.MAP.src="images/maps/none.gif"; }</script>
<IMG name=MAP src=images/maps/.jpg WIDTH=160 HEIGHT=128 onError="loadDefaultMap();">
EOF
run_check "$w/html/map.html"
[ "$rc" -eq 1 ] || fail "missing fall-back picture: exit status $rc, want 1"
printf '%s\n' "$out" | grep -q 'missing: images/maps/none.gif' || fail "fall-back not named: $out"
printf '%s\n' "$out" | grep -q 'maps/.jpg' && fail "picture with onError named as missing: $out"

# Links to pages are checked only with -l.
printf '<A HREF=kestrostats_x_wpn.html>view weapon stats</A>\n' >"$w/html/link.html"
run_check "$w/html/link.html"
[ "$rc" -eq 0 ] || fail "link checked without -l: rc=$rc out=$out"
run_check -l "$w/html/link.html"
[ "$rc" -eq 1 ] && printf '%s\n' "$out" | grep -q 'kestrostats_x_wpn.html' ||
  fail "missing linked page not named with -l: rc=$rc out=$out"

# A relative <base> moves the folder the addresses start from.
printf '<base href="../html/"><IMG SRC=images/break.gif><LINK REL=stylesheet HREF="c-kestro.css">\n' \
  >"$w/other/based.html"
run_check "$w/other/based.html"
[ "$rc" -eq 0 ] || fail "base href ignored: rc=$rc out=$out"

# Several pages at once: the status is that of the worst.
run_check "$w/html/ok.html" "$w/html/bad.html"
[ "$rc" -eq 1 ] || fail "one bad page among two: exit status $rc, want 1"

# No page, or an unreadable one.
run_check
[ "$rc" -eq 2 ] || fail "no arguments: exit status $rc, want 2"
run_check "$w/html/no-such-page.html"
[ "$rc" -eq 2 ] || fail "missing page: exit status $rc, want 2"

# ---- 2. the site files ---------------------------------------------------
img="$root/site/html/images"

# Prints the format of a file from its first bytes.
format_of() {
  head -c 4 "$1" | od -An -tx1 | tr -d ' \n' | sed \
    -e 's/^47494638.*/gif/' -e 's/^ffd8ff.*/jpg/' -e 's/^89504e47.*/png/'
}

awards="carnage_gauntlet carnage_machine carnage_shot carnage_grenade carnage_rocket
carnage_lightning carnage_rail carnage_plasma carnage_bfg carnage_nail carnage_grapple
accuracy_gauntlet accuracy_machine accuracy_shot accuracy_grenade accuracy_rocket
accuracy_lightning accuracy_rail accuracy_plasma accuracy_bfg player_kills ctf_caps
player_combat player_kestro ctf_defense ctf_assists player_bloodlust player_damage
player_accuracy ctf_escort ctf_chaser ctf_holder"
files="flag_ctf_red.jpg flag_ctf_blue.jpg flag_tdm_red.gif flag_tdm_blue.gif flag_ffa.gif
break.gif logo-osp.gif logo-kestro.gif logo-team.gif maps/default.gif awards/blank.gif"
for a in $awards; do files="$files awards/$a.jpg"; done
count=0
for f in $files; do
  count=$((count + 1))
  if [ ! -s "$img/$f" ]; then fail "image missing or empty: images/$f"; continue; fi
  want=${f##*.}
  got=$(format_of "$img/$f")
  [ "$got" = "$want" ] || fail "images/$f holds a $got file"
done
[ "$count" -eq 43 ] || fail "test lists $count images, want 43"

# GIF width and height are the little-endian words at bytes 6 to 9.
gif_size() {
  od -An -tu1 -j6 -N4 "$1" | awk '{ print $1 + 256 * $2 "x" $3 + 256 * $4 }'
}
[ "$(gif_size "$img/maps/default.gif")" = 160x128 ] ||
  fail "maps/default.gif is $(gif_size "$img/maps/default.gif"), the page shows it at 160x128"

total=$(du -sk "$root/site/html" | awk '{ print $1 }')
[ "$total" -le 300 ] || fail "site/html holds $total KB, more than 300"

css="$root/site/html/c-kestro.css"
for class in red blue redHighlight blueHighlight neutral neutralHighlight \
  neutralLowlight neutralCtf neutralHighlightCtf; do
  grep -q "^\.$class[[:space:]]*{" "$css" || fail "stylesheet lacks a rule for .$class"
done

for f in c-header.html c-footer.html; do
  [ -s "$root/site/$f" ] || { fail "site/$f missing"; continue; }
  # Copied into pages inside html/; they must work offline.
  grep -qi 'https\?://' "$root/site/$f" && fail "site/$f refers to the network"
  # Checked as if it were a page in html/, beside the site's images.
  mkdir -p "$tmp/h"
  [ -e "$tmp/h/images" ] || ln -s "$root/site/html/images" "$tmp/h/images"
  cp "$root/site/$f" "$tmp/h/$f"
  run_check "$tmp/h/$f"
  [ "$rc" -eq 0 ] || fail "site/$f refers to missing files: $out"
done

for page in "$root"/site/preview/*.html; do
  run_check -l "$page"
  [ "$rc" -eq 0 ] || fail "$(basename "$page"): $out"
done

# ---- 3. in a browser -------------------------------------------------------
if [ "$browser" -eq 1 ]; then
  chromium=""
  for b in chromium chromium-browser; do
    command -v "$b" >/dev/null 2>&1 && { chromium=$b; break; }
  done
  if [ -z "$chromium" ]; then
    sh "$root/scripts/ensure-packages.sh" chromium >/dev/null && chromium=chromium
  fi
  for page in "$root"/site/preview/*.html; do
    name=$(basename "$page")
    # A copy whose base points at the site folder by absolute address and
    # which reports, once everything has loaded, the images that did not
    # decode and the background the stylesheet gives a "red" cell.
    sed "s|<base href=\"../html/\">|<base href=\"file://$root/site/html/\">|" "$page" |
      sed 's|</body>|<script>window.addEventListener("load", function () { setTimeout(function () {\
var bad = []; for (var i = 0; i < document.images.length; i++) { var im = document.images[i];\
if (!im.complete \|\| im.naturalWidth === 0) bad.push(im.getAttribute("src")); }\
var td = document.querySelector("td.red"); var bg = td ? getComputedStyle(td).backgroundColor : "none";\
document.title = "RESULT images=" + document.images.length + " broken=[" + bad.join(" ") + "] red=" + bg;\
}, 300); });</script></body>|' >"$tmp/$name"
    dom=$("$chromium" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
      --disable-background-networking --disable-component-update --disable-sync \
      --allow-file-access-from-files --user-data-dir="$tmp/profile" \
      --virtual-time-budget=5000 --dump-dom "file://$tmp/$name" 2>/dev/null)
    result=$(printf '%s\n' "$dom" | sed -n 's/.*<title>\(RESULT[^<]*\)<\/title>.*/\1/p')
    case "$result" in
      "RESULT images="*" broken=[] red=rgb(42, 18, 21)") ;;
      "") fail "$name: the browser reported nothing" ;;
      *) fail "$name in the browser: $result" ;;
    esac
  done
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures site test(s) failed"
  exit 1
fi
echo "site tests passed"
