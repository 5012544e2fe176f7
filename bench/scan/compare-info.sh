#!/usr/bin/env bash
# Checks that a change to the font-file library leaves every output of `quillmark-cli info`
# as it was: records the JSON of a set of font files with one build, then compares another
# build's JSON with it.
#
#   bench/scan/compare-info.sh record CLI OUTDIR   # with the build before the change
#   bench/scan/compare-info.sh check  CLI OUTDIR   # with the build after it; diff on mismatch
#
# The set: the font folders of the system (/usr/share/fonts, /usr/share/wine/fonts,
# /usr/share/texmf/fonts), the fuzz regressions, and damaged copies made once in
# OUTDIR/damaged: every SFNT and bitmap file cut at a few lengths, and SFNT files with bytes
# of the directory or of the "name" table overwritten (the same bytes on every run). Each
# set is read with and without --tables, under a few locales (the name choice follows the
# locale).
set -euo pipefail

mode="${1:?usage: compare-info.sh record|check CLI OUTDIR}"
cli="${2:?usage: compare-info.sh record|check CLI OUTDIR}"
out="${3:?usage: compare-info.sh record|check CLI OUTDIR}"
here="$(cd "$(dirname "$0")/../.." && pwd)"
folders=()
for folder in /usr/share/fonts /usr/share/wine/fonts /usr/share/texmf/fonts; do
  [ -d "$folder" ] && folders+=("$folder")
done
locales=(C de_CH.UTF-8 zh_CN.UTF-8 ja_JP.UTF-8)

make_damaged() {
  local target="$1"
  mkdir -p "$target"
  find "${folders[@]}" -type f \( -iname '*.ttf' -o -iname '*.otf' -o -iname '*.ttc' -o -iname '*.fon' \) -print0 |
    sort -z | perl -0 -e '
      use strict; use warnings;
      my $target = shift;
      my $n = 0;
      sub put { my ($name, $bytes) = @_; open(my $f, ">:raw", "$target/$name") or die; print $f $bytes; close $f; }
      while (my $file = <STDIN>) {
        chomp $file;
        open(my $in, "<:raw", $file) or next;
        local $/; my $bytes = <$in>; close $in;
        my $len = length $bytes;
        my ($stem, $ext) = $file =~ m{([^/]+)\.([^./]+)$};
        $n++;
        for my $cut (200, 4096, int($len / 2), $len - 1) {
          next if $cut <= 0 || $cut >= $len;
          put("cut$cut-$n-$stem.$ext", substr($bytes, 0, $cut));
        }
        next unless $ext =~ /^(ttf|otf)$/i && $len > 12;
        # The "name" table of the directory, if any.
        my $tables = unpack("n", substr($bytes, 4, 2));
        my ($nameOffset, $nameLength) = (0, 0);
        for my $i (0 .. $tables - 1) {
          last if 12 + 16 * ($i + 1) > $len;
          my ($tag, $sum, $offset, $length) = unpack("a4NNN", substr($bytes, 12 + 16 * $i, 16));
          ($nameOffset, $nameLength) = ($offset, $length) if $tag eq "name";
        }
        srand($n);
        for my $m (1 .. 8) {
          my $copy = $bytes;
          my ($from, $span) = $m <= 2 ? (0, $len < 1024 ? $len : 1024) : ($nameOffset, $nameLength);
          next if $span <= 0 || $from + $span > $len;
          for (1 .. 16) {
            substr($copy, $from + int(rand($span)), 1) = chr(int(rand(256)));
          }
          put("mut$m-$n-$stem.$ext", $copy);
        }
      }' "$target"
}

run_set() {
  local outdir="$1"
  mkdir -p "$outdir"
  local regressions=()
  while IFS= read -r -d '' file; do regressions+=("$file"); done \
    < <(find "$here/tests/fuzz/regressions" -type f -print0 2>/dev/null | sort -z)
  for locale in "${locales[@]}"; do
    for tables in "" "--tables"; do
      local name="info-${locale}${tables:+-tables}.json"
      # The exit status says whether every path could be read; damaged files make it 1.
      LC_ALL="$locale" LANG="$locale" "$cli" info --recursive $tables "${folders[@]}" "$out/damaged" \
        "${regressions[@]}" > "$outdir/$name" 2> "$outdir/$name.stderr" || true
    done
  done
}

case "$mode" in
  record)
    rm -rf "$out"
    mkdir -p "$out"
    make_damaged "$out/damaged"
    run_set "$out/recorded"
    echo "compare-info: recorded $(cat "$out"/recorded/*.json | wc -l) lines from $(ls "$out/damaged" | wc -l) damaged files and ${folders[*]}"
    ;;
  check)
    [ -d "$out/recorded" ] || { echo "compare-info: nothing recorded in $out" >&2; exit 2; }
    rm -rf "$out/checked"
    run_set "$out/checked"
    if diff -r "$out/recorded" "$out/checked" > "$out/diff.txt"; then
      echo "compare-info: identical ($(cat "$out"/checked/*.json | wc -l) lines)"
    else
      echo "compare-info: DIFFERENT, see $out/diff.txt" >&2
      head -20 "$out/diff.txt" >&2
      exit 1
    fi
    ;;
  *) echo "compare-info: unknown mode $mode" >&2; exit 2 ;;
esac
