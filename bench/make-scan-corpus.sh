#!/usr/bin/env bash
# Builds the corpus of the scan benchmark: every font file that the Debian font packages of
# the test set-up install, copied six times under distinct names into one folder.
# Usage: bench/make-scan-corpus.sh FOLDER [COPIES]
set -euo pipefail

target="${1:?usage: make-scan-corpus.sh FOLDER [COPIES]}"
copies="${2:-6}"
packages=(fonts-dejavu-core fonts-wine fonts-wqy-microhei fonts-urw-base35 fonts-texgyre)
# Font files: outlines, collections, bitmap resources and the metrics files beside outlines.
pattern='\.(ttf|otf|ttc|fon|fnt|pfm|pfb|afm|t1)$'

if [ -e "$target" ] && [ -n "$(ls -A "$target")" ]; then
  echo "make-scan-corpus: $target is not empty" >&2
  exit 1
fi
mkdir -p "$target"
count=0
for package in "${packages[@]}"; do
  if ! dpkg -s "$package" >/dev/null 2>&1; then
    echo "make-scan-corpus: $package is not installed" >&2
    exit 1
  fi
  while IFS= read -r file; do
    [ -f "$file" ] || continue
    name="$(basename "$file")"
    stem="${name%.*}"
    extension="${name##*.}"
    for ((copy = 1; copy <= copies; copy++)); do
      # The copy number goes into the stem, so a metrics file and its outline stay a pair.
      destination="$target/$stem-copy$copy.$extension"
      if [ -e "$destination" ]; then
        destination="$target/$stem-$package-copy$copy.$extension"
      fi
      cp -L "$file" "$destination"
      count=$((count + 1))
    done
  done < <(dpkg -L "$package" | grep -iE "$pattern" | sort)
done
echo "make-scan-corpus: $count files in $target"
