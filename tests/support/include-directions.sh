#!/bin/sh
# Fails when an include runs against the program's layers: platform/ knows
# only itself, engine/ and resources/ only platform/, and no part of the
# core reaches up to the application or across to a dialog it must not
# know. Usage: include-directions.sh SOURCE_DIR
set -eu
cd "$1"
status=0

# refuse FOLDER TOPS WHY: no file of FOLDER may include a header from one of
# the top folders TOPS ("a|b").
refuse() {
  found=$(grep -rnE "^#include \"($2)/" --include='*.h' --include='*.cpp' "$1") ||
    { [ $? -eq 1 ] || exit 2; }
  if [ -n "$found" ]; then
    printf '%s\n%s\n\n' "$3" "$found"
    status=1
  fi
}

refuse platform 'app|collect|dialogs|engine|ledgerengine|report|resources|tests' \
  "platform/ includes nothing above it:"
refuse engine 'app|collect|dialogs|ledgerengine|report|resources' \
  "engine/ includes only platform/:"
refuse resources 'app|collect|dialogs|engine|report' "resources/ includes only platform/:"
for core in collect dialogs report; do
  refuse "$core" 'app' "$core/ does not include app/:"
done
for core in collect report; do
  refuse "$core" 'dialogs' "$core/ reports progress through collect/Progress.h, not a dialog:"
done
exit $status
