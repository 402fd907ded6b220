#!/usr/bin/env bash
# Plants one fault at a time into a scratch copy of the sources and translations and expects
# scripts/translations check to name it and fail; the untouched copy must pass.
set -euo pipefail
src=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for folder in app screens controls rules device records catalogue pages platform translations \
  scripts; do
  cp -r "$src/$folder" "$scratch/"
done
check() { python3 "$scratch/scripts/translations" check --root "$scratch" 2>&1; }
check >/dev/null

# plant FILE SED-SCRIPT WHAT-THE-REPORT-MUST-NAME
plant() {
  local file=$1 script=$2 expected=$3 report
  cp "$scratch/$file" "$scratch/$file.orig"
  sed -i "$script" "$scratch/$file"
  if cmp -s "$scratch/$file" "$scratch/$file.orig"; then
    echo "FAIL: nothing planted in $file"
    exit 1
  fi
  if report=$(check); then
    echo "FAIL: $script in $file was not found"
    exit 1
  fi
  if ! grep -qF "$expected" <<<"$report"; then
    echo "FAIL: the report does not say $expected: $report"
    exit 1
  fi
  mv "$scratch/$file.orig" "$scratch/$file"
}
plant device/TransferWorkers.cpp 's/Tx("Falscher Thread gestartet")/Tx("Falscher Thread")/' \
  'no translation of "Falscher Thread"'
plant translations/roviro_it.ts 's|<translation>Salva</translation>|<translation type="unfinished">Salva</translation>|' \
  'unfinished translation of "Speichern"'
plant translations/roviro_nl.ts 's|<translation>Foutcode %1</translation>|<translation>Foutcode</translation>|' \
  'does not keep the placeholders'
plant translations/roviro_fr.ts 's|<translation>Fermer</translation>|<translation>Fermer \xc5\x93</translation>|' \
  'beyond ISO-8859-1'
plant screens/data/ScreenTest.cpp 's/MessageBox(Tx(kCurrentTooLow)/MessageBox(kCurrentTooLow/' \
  'kCurrentTooLow shown without Tx()'
plant app/Prompts.cpp 's/QTx("Abbrechen")/QTx("Abbr\xc3\xa9chen")/' 'beyond ASCII'
check >/dev/null
echo "every planted fault was found"
