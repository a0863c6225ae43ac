#!/usr/bin/env bash
# Times the reference host at the scale of an assembly drawing, under Wine: whole runs of
# tlhost.exe that load the add-in and place 0, 100 and 1,000 Number leaders (t0, t100, t1000),
# and the scale case at 1,000 leaders (tests/wine/scale_script.sh), whose steps are timed from the
# moments their transcript lines arrive: the box selection with Renumber by rows and OK, the undo
# and the redo. Placing costs the same for each leader when (t1000 - t0) / (t100 - t0) is near 10.
#
# ./run bench runs it in a Wine session on a virtual display, with the DLL registered:
#   bench/host_scale_timing.sh BUILD-FOLDER
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:?usage: host_scale_timing.sh BUILD-FOLDER}"
work="$build/host_scale"
mkdir -p "$work"

# Runs one script; its transcript goes to <name>.log with the arrival time of each line in front,
# and the whole run's seconds are printed.
run_timed() {  # run_timed <name>
  local name=$1 started status
  started=$EPOCHREALTIME
  set +e
  wine "$build/tlhost.exe" --script "$work/$name.tlh" --out "$work/$name" |
    while IFS= read -r line; do printf '%s %s\n' "$EPOCHREALTIME" "$line"; done >"$work/$name.log"
  status=${PIPESTATUS[0]}
  set -e
  if [[ $status -ne 0 ]]; then
    echo "host_scale_timing: $name failed; see $work/$name.log" >&2
    grep FAILED "$work/$name.log" >&2 || true
    return 1
  fi
  awk -v a="$started" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.2f\n", b - a }'
}

# The seconds from the first line that starts with `from` to the next one that starts with `to`
# (the time stamp stripped).
between() {  # between <log> <from> <to>
  awk -v from="$2" -v to="$3" '{
    stamp = $1; sub(/^[^ ]* /, "")
    if (start == "" && index($0, from) == 1) start = stamp
    else if (start != "" && index($0, to) == 1) { printf "%.2f\n", stamp - start; exit }
  }' "$1"
}

declare -A seconds
for count in 0 100 1000; do
  "$root/tests/wine/scale_script.sh" "$count" place >"$work/place_$count.tlh"
  seconds[$count]=$(run_timed "place_$count")
done
"$root/tests/wine/scale_script.sh" 1000 >"$work/scale_1000.tlh"
run_timed scale_1000 >/dev/null
log="$work/scale_1000.log"

echo "The reference host at scale (tlhost.exe under Wine, one run each; see $work):"
printf '  t0      %7.2f s  load the add-in, place nothing\n' "${seconds[0]}"
printf '  t100    %7.2f s  place 100 Number leaders\n' "${seconds[100]}"
printf '  t1000   %7.2f s  place 1,000 Number leaders\n' "${seconds[1000]}"
awk -v t0="${seconds[0]}" -v t100="${seconds[100]}" -v t1000="${seconds[1000]}" \
  'BEGIN { printf "  (t1000 - t0) / (t100 - t0) = %.1f  (the same cost for every leader gives 10)\n", (t1000 - t0) / (t100 - t0) }'
printf '  select 1,000 by a box, Renumber by rows, OK  %5.2f s\n' "$(between "$log" "> select box" "renumbered by rows")"
printf '  undo of that renumber                        %5.2f s\n' "$(between "$log" "> undo" "undone")"
printf '  redo of that renumber                        %5.2f s\n' "$(between "$log" "> redo" "redone")"
