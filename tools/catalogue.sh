#!/usr/bin/env bash
# The catalogue of every text the game shows, and its translations (po/).
#
#   tools/catalogue.sh pot        gathers po/bluejay.pot from the sources
#   tools/catalogue.sh fresh      fails when po/bluejay.pot is out of date
#   tools/catalogue.sh update     merges po/bluejay.pot into every po/*.po
#   tools/catalogue.sh check      every po/*.po: placeholders as in the
#                                 English; German (the complete translation)
#                                 has every text, the others say what they
#                                 lack (it reads English)
#
# The texts are the arguments of Translate(...) and TRANSLATE_LATER(...) in
# src/, and the desktop entry's names. The locations name files only, and the
# texts are sorted, so moving code about leaves the catalogue as it is.
set -euo pipefail
cd "$(dirname "$0")/.."

pot=po/bluejay.pot

gather() {
  local out=$1 scratch
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' RETURN
  (cd src && ls *.cpp *.h) | sed 's|^|src/|' | LC_ALL=C sort >"$scratch/files"
  xgettext --from-code=UTF-8 --language=C++ --keyword= --keyword=Translate --keyword=TRANSLATE_LATER \
    --add-comments=TRANSLATORS: --add-location=file --sort-output --package-name=bluejay \
    --msgid-bugs-address=bluejay --files-from="$scratch/files" -o "$scratch/code.pot"
  local parts=("$scratch/code.pot")
  for desktop in desktop/*.desktop.in; do
    [ -e "$desktop" ] || continue
    xgettext --from-code=UTF-8 --language=Desktop --add-location=file -o "$scratch/$(basename "$desktop").pot" "$desktop"
    parts+=("$scratch/$(basename "$desktop").pot")
  done
  for metainfo in desktop/*.metainfo.xml.in desktop/*.metainfo.xml; do
    [ -e "$metainfo" ] || continue
    xgettext --from-code=UTF-8 --its=/usr/share/gettext/its/metainfo.its --add-location=file \
      -o "$scratch/$(basename "$metainfo").pot" "$metainfo"
    parts+=("$scratch/$(basename "$metainfo").pot")
  done
  msgcat --use-first --add-location=file --sort-output "${parts[@]}" -o "$out"
  # The header as xgettext writes it, with the charset every translation uses.
  sed -i 's/charset=CHARSET/charset=UTF-8/' "$out"
}

# The catalogue without the date it was made.
undated() {
  grep -v '^"POT-Creation-Date:' "$1"
}

case "${1:-}" in
pot)
  gather "$pot"
  echo "$pot: $(grep -c '^msgid ' "$pot") entries (the first is the header)"
  ;;
fresh)
  scratch=$(mktemp)
  trap 'rm -f "$scratch"' EXIT
  gather "$scratch"
  if ! diff <(undated "$pot") <(undated "$scratch") >/dev/null; then
    diff <(undated "$pot") <(undated "$scratch") | head -40 >&2 || true
    echo "$pot is out of date with the sources: run make pot (then make po-update and translate)" >&2
    exit 1
  fi
  ;;
update)
  for translation in po/*.po; do
    [ -e "$translation" ] || continue
    msgmerge --quiet --update --backup=none --add-location=file --sort-output "$translation" "$pot"
  done
  ;;
check)
  status=0
  for translation in po/*.po; do
    [ -e "$translation" ] || continue
    # Placeholders, the header and the entries' form.
    msgfmt --check --statistics -o /dev/null "$translation" || status=1
    # Every text of the catalogue translated (not fuzzy, not missing).
    # (A translation may be ahead of the catalogue: texts not used yet are
    # no fault.)
    if [ "$translation" = po/de.po ]; then
      report=$(msgcmp "$translation" "$pot" 2>&1) || status=1
      grep -v 'warning: this message is not used' <<<"$report" >&2 || true
    else
      msgcmp "$translation" "$pot" 2>/dev/null || echo "$translation: not complete; the texts it lacks read English" >&2
    fi
  done
  exit $status
  ;;
*)
  sed -n '2,14p' "$0" >&2
  exit 2
  ;;
esac
