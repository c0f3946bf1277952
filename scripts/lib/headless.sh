# What scripts/run does on a machine without a display: the command-line tool writes the
# C-band example's picture, its intermodulation report and its analysis into a folder, and the
# paths are printed.

orvane_headless_job() {
  local build_dir=$1
  local out_dir=$2
  local cli="$build_dir/program/orvane-cli"
  local plan=examples/c-band-36mhz.carriers.txt
  local name
  name=$(basename "$plan" .carriers.txt)
  mkdir -p "$out_dir"
  "$cli" image "$plan" "$out_dir/$name.png"
  "$cli" report "$plan" "$out_dir/$name.htm"
  echo "Wrote into $out_dir:"
  echo "  $out_dir/$name.png (the plan's picture)"
  echo "  $out_dir/$name.htm (its intermodulation report)"
  "$cli" analyse "$plan" >"$out_dir/$name.analysis.json"
  echo "  $out_dir/$name.analysis.json (its intermodulation analysis)"
}
