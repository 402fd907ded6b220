#!/usr/bin/env bash
# Plants one include against the layers at a time into a scratch copy of the sources and
# expects scripts/check-layers to name it and fail; the untouched copy must pass.
set -euo pipefail
src=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for folder in app cli controls device pages platform records rules screens sim catalogue programs; do
  cp -r "$src/$folder" "$scratch/"
done
cp -r "$src/scripts" "$scratch/"
"$scratch/scripts/check-layers" "$scratch" >/dev/null

# file to plant into | line planted | what the report must name
plants=(
  "records/Backups.h|#include <QString>|records is Qt-free"
  "controls/geometry/ControlGeometry.h|#include <QRect>|controls/geometry is Qt-free"
  "cli/Main.cpp|#include \"screens/data/DataScreen.h\"|may not include from screens/"
  "rules/MotorList.cpp|#include \"app/Screen.h\"|may not include from app/"
  "device/Telegram.h|#include \"records/Backups.h\"|may not include from records/"
  "app/Screen.h|#include \"screens/data/RegisterScreens.h\"|may not include from screens/"
  "platform/Clock.h|#include \"pages/TextHelpers.h\"|may not include from pages/"
)
for plant in "${plants[@]}"; do
  IFS='|' read -r file line expected <<<"$plant"
  cp "$scratch/$file" "$scratch/$file.orig"
  echo "$line" >>"$scratch/$file"
  if report=$("$scratch/scripts/check-layers" "$scratch" 2>&1); then
    echo "FAIL: $line in $file was not refused"
    exit 1
  fi
  if [[ $report != *"$file"*"$expected"* ]]; then
    echo "FAIL: $line in $file: the report does not say '$expected':"
    echo "$report"
    exit 1
  fi
  mv "$scratch/$file.orig" "$scratch/$file"
done
echo "every planted include was refused"
