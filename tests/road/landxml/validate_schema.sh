#!/usr/bin/env bash
# Every LandXML file in FOLDER must validate against the LandXML 1.2 schema.
# Usage: validate_schema.sh SCHEMA FOLDER
set -euo pipefail
schema=$1
folder=$2
shopt -s nullglob
files=("$folder"/*.xml)
if [ ${#files[@]} -eq 0 ]; then
  echo "no LandXML files in $folder" >&2
  exit 1
fi
xmllint --noout --schema "$schema" "${files[@]}"
echo "${#files[@]} files valid"
