# shellcheck shell=bash
# Shared by the benchmarks: the Wine test library gives the session, the copy of the dist
# folder, the driver and the clean-up (zt_init, zt_drv, zt_field, zt_windows_path, zh_desk_run); this
# adds the median and the writer of one section of docs/benchmarks.md.
# shellcheck source=../tests/wine/lib/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/../tests/wine/lib/common.sh"

bench_median() {
  sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print int((v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}

# bench_write_section HEADING FILE: puts FILE in place of the "## HEADING" section (up to the
# next "## " heading) of docs/benchmarks.md, or at its end, keeping the other sections.
bench_write_section() {
  local heading="## $1" section="$2" doc="$ZT_REPO/docs/benchmarks.md"
  mkdir -p "$(dirname "$doc")"
  [ -f "$doc" ] || printf '# Benchmarks\n\n' >"$doc"
  awk -v heading="$heading" -v section="$section" '
    $0 == heading { skipping = 1; while ((getline line < section) > 0) print line; next }
    skipping && /^## / { skipping = 0 }
    !skipping { print }
  ' "$doc" >"$ZT_TMP/doc.md"
  grep -qxF "$heading" "$doc" || cat "$section" >>"$ZT_TMP/doc.md"
  cp "$ZT_TMP/doc.md" "$doc"
  echo "bench: wrote $doc"
}
