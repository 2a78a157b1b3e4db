#!/bin/sh
# Checks that every image, stylesheet and script file an HTML page refers to
# exists, relative to the page.
#
# Usage: scripts/check-site.sh [-l] PAGE.html...
#   -l  also check links (<a href>) to local files, such as the weapon page.
#
# Looked at: src= of <img>, <script>, <input>; href= of <link> (and of <a>
# with -l); the address assigned in a page script with `.src="..."` (the map
# fall-back). Attribute and tag names may be in any case; values may be
# double-quoted, single-quoted or bare. Addresses with a scheme (http:,
# mailto:, data:, ...) and pure #anchors are skipped; ?query and #anchor
# parts are cut. A <base href> that is a relative folder is honoured.
# An <img> with an onError handler may name a picture that does not exist
# (the handler swaps in another one); it is reported as a note only.
#
# Prints one line "missing: ADDRESS (in PAGE)" per missing file and exits 1
# when anything is missing, 2 on a usage error or an unreadable page, else 0.
set -u

check_links=0
if [ "${1:-}" = "-l" ]; then
  check_links=1
  shift
fi
if [ $# -eq 0 ]; then
  echo "usage: $0 [-l] PAGE.html..." >&2
  exit 2
fi

status=0
tab=$(printf '\t')

# Lists "KIND<tab>ADDRESS" for every reference of the page on standard input.
# KIND is "need", "fallback" (an img with onError) or "base".
references() {
  # One tag per line: line ends become blanks, each "<" starts a line, and
  # the tag ends at its first ">". Names are matched in lower case, values
  # are taken from the original text.
  tr '\n\r' '  ' | tr '<' '\n' | sed -n 's/^\([^>]*\)>.*/\1/p' |
  awk -v links="$check_links" '
    # Value of attribute "name" in tag t (lower-case copy lt), or "".
    function attr(t, lt, name,    p, rest, q, v) {
      if (!match(lt, "[ \t]" name "[ \t]*=[ \t]*")) return ""
      rest = substr(t, RSTART + RLENGTH)
      q = substr(rest, 1, 1)
      if (q == "\"" || q == "\047") {
        rest = substr(rest, 2)
        p = index(rest, q)
        return p ? substr(rest, 1, p - 1) : rest
      }
      v = rest
      if (match(v, /[ \t"\047]/)) v = substr(v, 1, RSTART - 1)
      return v
    }
    {
      t = " " $0; lt = tolower(t)
      if (!match(lt, /^ [a-z]+/)) next
      name = substr(lt, 2, RLENGTH - 1)
      t = substr(t, RLENGTH + 1); lt = substr(lt, RLENGTH + 1)
      if (name == "img" || name == "input") {
        v = attr(t, lt, "src")
        if (v != "") print (match(lt, /[ \t]onerror[ \t]*=/) ? "fallback" : "need") "\t" v
      } else if (name == "script") {
        v = attr(t, lt, "src"); if (v != "") print "need\t" v
      } else if (name == "link") {
        v = attr(t, lt, "href"); if (v != "") print "need\t" v
      } else if (name == "base") {
        v = attr(t, lt, "href"); if (v != "") print "base\t" v
      } else if (name == "a" && links == 1) {
        v = attr(t, lt, "href"); if (v != "") print "need\t" v
      }
    }'
}

for page in "$@"; do
  if [ ! -r "$page" ] || [ -d "$page" ]; then
    echo "cannot read page: $page" >&2
    status=2
    continue
  fi
  dir=$(dirname "$page")
  refs=$( { references <"$page"
            # Addresses set by page scripts, as in document.MAP.src="x.gif".
            tr '\n\r' '  ' <"$page" |
              grep -o '\.src[[:space:]]*=[[:space:]]*["'"'"'][^"'"'"']*["'"'"']' |
              sed 's/^[^"'"'"']*["'"'"']\([^"'"'"']*\)["'"'"']$/need\t\1/'
          } )
  base=$(printf '%s\n' "$refs" | sed -n "s/^base$tab//p" | head -n 1)
  case "$base" in
    "" | *:*) ;;   # none, or an absolute URL that cannot be checked on disk
    /*) dir=${base%/*} ;;
    *) dir="$dir/${base%/*}" ;;
  esac
  [ -n "$dir" ] || dir=/

  missing=$(printf '%s\n' "$refs" | sort -u | while IFS="$tab" read -r kind addr; do
    [ -n "$kind" ] || continue
    [ "$kind" = base ] && continue
    addr=${addr%%#*}
    addr=${addr%%\?*}
    case "$addr" in
      "") continue ;;                       # "#anchor" within the page
      //* | [A-Za-z]*:*) continue ;;        # scheme or network path
    esac
    # %20 is the one escape worth undoing for file names.
    case "$addr" in *%20*) addr=$(printf '%s\n' "$addr" | sed 's/%20/ /g') ;; esac
    case "$addr" in
      /*) file=$addr ;;
      *) file="$dir/$addr" ;;
    esac
    if [ ! -e "$file" ]; then
      if [ "$kind" = fallback ]; then
        echo "note: $addr does not exist; the page's onError handler replaces it (in $page)" >&2
      else
        echo "missing: $addr (in $page)"
      fi
    fi
  done)
  if [ -n "$missing" ]; then
    printf '%s\n' "$missing" | sort -u
    status=1
  fi
done
exit "$status"
