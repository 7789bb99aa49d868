#!/usr/bin/env bash
# Makes po/korvelin.pot from the game's sources (every text in Tr("...")) and merges it into each
# catalogue po/LANG.po. Run it after changing a text the player sees, then translate what
# msgmerge marked new or fuzzy in each catalogue (the English one translates itself).
#   scripts/update-po.sh          update the template and the catalogues
#   scripts/update-po.sh --check  change nothing; fail when the template or a catalogue is behind
set -euo pipefail
cd "$(dirname "$0")/.."
check=0
[ "${1:-}" = "--check" ] && check=1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Sorted by file, so a change shows where it came from; no dates, so the file changes only with
# its texts.
find src -name '*.cpp' -o -name '*.hpp' | LC_ALL=C sort > "$work/files"
xgettext --from-code=UTF-8 --language=C++ --keyword= --keyword=Tr --keyword=TrLater --flag=Tr:1:pass-c-format \
  --add-comments=TRANSLATORS: --sort-by-file --package-name=korvelin --no-wrap \
  --msgid-bugs-address=maintainers@korvelin.org -f "$work/files" -o "$work/korvelin.pot"
sed -i -e "/^\"POT-Creation-Date:/d" -e "s/charset=CHARSET/charset=UTF-8/" "$work/korvelin.pot"

texts() { msgcat --no-wrap --sort-output "$1" 2>/dev/null | grep -v '^#:' ; }

if [ $check = 1 ]; then
  status=0
  if ! diff -q <(texts po/korvelin.pot) <(texts "$work/korvelin.pot") >/dev/null; then
    echo "po/korvelin.pot is behind the sources: run scripts/update-po.sh"
    diff <(texts po/korvelin.pot) <(texts "$work/korvelin.pot") | head -20
    status=1
  fi
  for po in po/*.po; do
    stats=$(msgfmt --check --statistics -o /dev/null "$po" 2>&1)
    if echo "$stats" | grep -qE 'fuzzy|untranslated'; then
      echo "$po: $stats"
      status=1
    fi
    if msgattrib --no-obsolete "$po" | msgcmp - "$work/korvelin.pot" >/dev/null 2>&1; then :; else
      echo "$po lacks texts of the sources: run scripts/update-po.sh and translate them"
      status=1
    fi
  done
  exit $status
fi

cp "$work/korvelin.pot" po/korvelin.pot
for po in po/*.po; do
  [ "$po" = po/en.po ] && continue
  msgmerge --quiet --update --backup=none --no-wrap --sort-by-file "$po" po/korvelin.pot
done
# The English catalogue is the sources' own words (msginit copies them for English).
msginit --no-translator --no-wrap -l en_US.UTF-8 -i po/korvelin.pot -o "$work/en.po" 2>/dev/null
sed -e '1,4c\# The game'"'"'s words in English: the sources'"'"' own.' \
    -e 's/^"PO-Revision-Date: .*/"PO-Revision-Date: '"$(date -u +%F)"' 00:00+0000\\n"/' \
    -e 's/^"Last-Translator: .*/"Last-Translator: KORVELIN maintainers <maintainers@korvelin.org>\\n"/' \
    -e 's/^"Language-Team: .*/"Language-Team: KORVELIN maintainers <maintainers@korvelin.org>\\n"/' \
    -e 's/^"Language: .*/"Language: en\\n"/' "$work/en.po" > po/en.po
echo "po/korvelin.pot: $(grep -c '^msgid "' po/korvelin.pot) texts"
