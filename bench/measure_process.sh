#!/usr/bin/env bash
# Measures the panel as a whole process against a baseline built in the same tree:
# an empty Qt dialog (empty-dialog-probe), with a dialog showing one label
# (label-dialog-probe) as a reference for what any text costs. All run on the
# offscreen platform with the probe of bench/first_show_probe.cpp linked in.
#
#   start-up   time from exec to the first Show of the window (and to the end of its
#              first paint), peak resident memory then; median of the runs
#   polling    the panel connected to brumo-sim and polling for the given seconds:
#              CPU time (user + system) and peak resident memory; the baseline sits
#              idle for as long. The link sleeps through each request's 6 ms break, so
#              CPU is set against what the panel used when it spun through the break
#              (1.094 s per 60 s, measured on 2026-12-07): the budget is a fifth of it
#   Trends     beside it, a second panel against a second brumo-sim with its Trends
#              window open from Connect on: the CPU that window adds, against a budget
#              of 0.5 % of a core (0.3 s per 60 s)
#
# Usage: bench/measure_process.sh [--runs N] [--poll-seconds S] [--quick] [--build DIR]
#   --runs N          runs of each measurement (default 5); medians are reported
#   --poll-seconds S  how long each polling run lasts (default 60)
#   --quick           a smoke run: 2 runs, 5 s of polling
#   --build DIR       the build tree (default build)
# Exit status 0 when every run measured (whatever the figures), 1 otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=5
poll_seconds=60
build=build
while [[ $# -gt 0 ]]; do
  case "$1" in
    --runs) runs="$2"; shift 2 ;;
    --poll-seconds) poll_seconds="$2"; shift 2 ;;
    --quick) runs=2; poll_seconds=5; shift ;;
    --build) build="$2"; shift 2 ;;
    -h|--help) sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    *) echo "measure_process.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
[[ "$runs" =~ ^[1-9][0-9]*$ && "$poll_seconds" =~ ^[1-9][0-9]*$ ]] || {
  echo "measure_process.sh: --runs and --poll-seconds take a positive whole number" >&2
  exit 2
}

bin="$build/bench"
sim="$build/tools/brumo-sim/brumo-sim"
for program in "$bin/kelo-probe-launch" "$bin/kelo-configuration-probe" "$bin/empty-dialog-probe" \
               "$bin/label-dialog-probe" "$sim"; do
  [[ -x "$program" ]] || { echo "measure_process.sh: $program is not built" >&2; exit 1; }
done

# Polling CPU per 60 s while the break was still spun, and the budget against it.
readonly kSpinningCpuPerMinute=1.094 kSleepingBudget=0.2
# What the open Trends window may add: 0.5 % of a core.
readonly kTrendsCoreShare=0.005

work=$(mktemp -d "${TMPDIR:-/tmp}/kelo-measure.XXXXXX")
running=()  # processes this script started and has not yet waited for
cleanup() {
  local pid
  for pid in "${running[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The programs read the profile from here (port 1 is the simulated machine) and keep
# their runtime files here; nothing of the user's own is touched.
mkdir -p "$work/profile" "$work/profile-trends" "$work/runtime"
chmod 700 "$work/runtime"
for profile in profile profile-trends; do
  link=$work/brumo
  [[ "$profile" == profile-trends ]] && link=$work/brumo-trends
  cat > "$work/$profile/kelo-configuration.ini" <<INI
[Kelo Config]
Comm Port=1

[Ports]
COM1=$link
INI
done

forget() {  # forget PID: it has been waited for
  local keep=() pid
  for pid in "${running[@]}"; do [[ "$pid" == "$1" ]] || keep+=("$pid"); done
  running=("${keep[@]}")
}

# probe MODE PROGRAM OUTFILE LIMIT_S [PROFILE [PRESS]]: runs PROGRAM under the probe in
# the background, with the profile of $work/PROFILE (default profile), pressing the
# button PRESS after Connect; its pid is left in $probe_pid.
probe() {
  env QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/${5:-profile}" \
      XDG_RUNTIME_DIR="$work/runtime" KELO_PROBE_PRESS="${6:-}" \
      KELO_PROBE_MODE="$1" KELO_PROBE_SECONDS="$poll_seconds" \
      timeout --kill-after=5 "$4" "$bin/kelo-probe-launch" "$bin/$2" > "$3" 2> "$3.err" &
  probe_pid=$!
  running+=("$probe_pid")
}

finish() {  # finish PID: waits for a probe run; false if it failed
  local status=0
  wait "$1" || status=$?
  forget "$1"
  return "$status"
}

field() {  # field NAME FILE: the value of NAME=... on the probe's line
  sed -n 's/^kelo-probe .*[ ]'"$1"'=\("[^"]*"\|[^ ]*\).*/\1/p' "$2" | tr -d '"'
}

median() {
  sort -g | awk '{v[NR] = $1} END {
    if (NR == 0) { print "nan"; exit }
    print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

failed=0
fail() { echo "  FAILED: $*"; failed=1; }

# --- Start-up: first Show, first paint, peak memory ---
programs=(empty-dialog-probe label-dialog-probe kelo-configuration-probe)
declare -A label=([empty-dialog-probe]="empty dialog" [label-dialog-probe]="label dialog"
                  [kelo-configuration-probe]="panel")
echo "Start-up on the offscreen platform, $runs runs each (after one warm-up run):"
for run in $(seq 0 "$runs"); do
  for program in "${programs[@]}"; do
    out="$work/startup-$program-$run.txt"
    probe startup "$program" "$out" 30
    finish "$probe_pid" || true
    [[ "$run" -eq 0 ]] && continue
    show=$(field show_ms "$out")
    if [[ -z "$show" ]]; then
      fail "${label[$program]} start-up run $run: $(cat "$out.err" "$out" | tail -n 3)"
      continue
    fi
    printf '  run %d  %-13s show %7.2f ms  paint %7s ms  peak RSS %6d kB\n' "$run" \
      "${label[$program]}" "$show" "$(field paint_ms "$out")" "$(field maxrss_kb "$out")"
    echo "$show" >> "$work/$program.show"
    paint=$(field paint_ms "$out")
    [[ "$paint" =~ ^[0-9.]+$ ]] && echo "$paint" >> "$work/$program.paint"
    field maxrss_kb "$out" >> "$work/$program.rss"
  done
done

# --- Polling: the panel against brumo-sim, the baseline idle beside it ---
echo
# start_sim LINK LOG: starts brumo-sim on $work/LINK; its pid is left in $sim_pid.
# False when it does not come up.
start_sim() {
  rm -f "$work/$1"
  "$sim" --link "$work/$1" --verbose > /dev/null 2> "$2" &
  sim_pid=$!
  running+=("$sim_pid")
  for _ in $(seq 100); do
    [[ -L "$work/$1" ]] && return 0
    kill -0 "$sim_pid" 2>/dev/null || break
    sleep 0.05
  done
  fail "brumo-sim did not start: $(tail -n 3 "$2")"
  return 1
}

stop_sim() {
  kill "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
  forget "$1"
}

echo "Polling for $poll_seconds s, $runs runs (the panel connected to brumo-sim; beside it"
echo "the panel with its Trends window open against a second brumo-sim, and the empty dialog"
echo "idle for as long):"
for run in $(seq 1 "$runs"); do
  start_sim brumo "$work/sim-$run.log" || break
  panel_sim=$sim_pid
  start_sim brumo-trends "$work/sim-trends-$run.log" || break
  trends_sim=$sim_pid

  panel_out="$work/poll-panel-$run.txt"
  trends_out="$work/poll-trends-$run.txt"
  empty_out="$work/poll-empty-$run.txt"
  probe poll kelo-configuration-probe "$panel_out" $((poll_seconds + 30))
  panel_pid=$probe_pid
  probe poll kelo-configuration-probe "$trends_out" $((poll_seconds + 30)) profile-trends Trends
  trends_pid=$probe_pid
  probe poll empty-dialog-probe "$empty_out" $((poll_seconds + 30))
  empty_pid=$probe_pid
  finish "$panel_pid" || true
  finish "$trends_pid" || true
  finish "$empty_pid" || true
  stop_sim "$panel_sim"
  stop_sim "$trends_sim"

  cpu=$(field cpu_s "$panel_out")
  status=$(field status "$panel_out")
  requests=$(grep -c '] request ' "$work/sim-$run.log" || true)
  if [[ -z "$cpu" || "$(field connect "$panel_out")" != pressed || "$status" != *"Link is live"* ]]; then
    fail "panel polling run $run: ${status:-no report} $(tail -n 3 "$panel_out.err")"
    continue
  fi
  trends_cpu=$(field cpu_s "$trends_out")
  if [[ -z "$trends_cpu" || "$(field press "$trends_out")" != pressed ||
        "$(field windows "$trends_out")" -lt 2 || "$(field status "$trends_out")" != *"Link is live"* ]]; then
    fail "polling run $run with Trends open: $(cat "$trends_out" "$trends_out.err" | tail -n 3)"
    continue
  fi
  if [[ -z "$(field cpu_s "$empty_out")" ]]; then
    fail "empty dialog idle run $run: $(tail -n 3 "$empty_out.err")"
    continue
  fi
  printf '  run %d  panel CPU %6.3f s  peak RSS %6d kB  requests %4d  |  with Trends CPU %6.3f s  peak RSS %6d kB  |  empty dialog CPU %6.3f s  peak RSS %6d kB\n' \
    "$run" "$cpu" "$(field maxrss_kb "$panel_out")" "$requests" \
    "$trends_cpu" "$(field maxrss_kb "$trends_out")" \
    "$(field cpu_s "$empty_out")" "$(field maxrss_kb "$empty_out")"
  echo "$cpu" >> "$work/poll-panel.cpu"
  field maxrss_kb "$panel_out" >> "$work/poll-panel.rss"
  echo "$requests" >> "$work/poll-panel.requests"
  echo "$trends_cpu" >> "$work/poll-trends.cpu"
  field maxrss_kb "$trends_out" >> "$work/poll-trends.rss"
  field cpu_s "$empty_out" >> "$work/poll-empty.cpu"
  field maxrss_kb "$empty_out" >> "$work/poll-empty.rss"
done

# --- Summary ---
med() {  # med FILE [DECIMALS]
  if [[ -s "$1" ]]; then median < "$1" | awk -v d="${2:-2}" '{ printf "%.*f\n", d, $1 }'; else echo nan; fi
}
ratio() {
  awk -v a="$1" -v b="$2" 'BEGIN {
    if (a == "nan" || b == "nan") print "nan"; else if (b == 0) print "inf"; else printf "%.2f", a / b }'
}
verdict() {  # verdict RATIO LIMIT
  awk -v r="$1" -v l="$2" 'BEGIN { if (r == "nan") print "not measured"; else if (r <= l) print "within " l "x"; else print "OVER " l "x" }'
}

e_show=$(med "$work/empty-dialog-probe.show");  l_show=$(med "$work/label-dialog-probe.show")
p_show=$(med "$work/kelo-configuration-probe.show")
e_paint=$(med "$work/empty-dialog-probe.paint"); l_paint=$(med "$work/label-dialog-probe.paint")
p_paint=$(med "$work/kelo-configuration-probe.paint")
e_rss=$(med "$work/empty-dialog-probe.rss" 0);    l_rss=$(med "$work/label-dialog-probe.rss" 0)
p_rss=$(med "$work/kelo-configuration-probe.rss" 0)
pp_cpu=$(med "$work/poll-panel.cpu" 3);  pe_cpu=$(med "$work/poll-empty.cpu" 3)
pp_rss=$(med "$work/poll-panel.rss" 0);  pe_rss=$(med "$work/poll-empty.rss" 0)
pp_req=$(med "$work/poll-panel.requests" 0)
pt_cpu=$(med "$work/poll-trends.cpu" 3);  pt_rss=$(med "$work/poll-trends.rss" 0)
trends_added=$(awk -v t="$pt_cpu" -v p="$pp_cpu" 'BEGIN { if (t == "nan" || p == "nan") print "nan"; else printf "%.3f", t - p }')
trends_budget=$(awk -v s="$poll_seconds" -v c="$kTrendsCoreShare" 'BEGIN { printf "%.3f", c * s }')
spinning=$(awk -v s="$poll_seconds" -v c="$kSpinningCpuPerMinute" 'BEGIN { printf "%.3f", c * s / 60 }')
per_request=$(awk -v c="$pp_cpu" -v n="$pp_req" 'BEGIN { if (n == "nan" || n == 0) print "nan"; else printf "%.3f", c * 1000 / n }')

echo
echo "Summary (medians of $runs runs; ratios are the panel's figure over the reference's):"
printf '  %-34s %10s %10s %10s  %-9s %-9s %s\n' "" "empty" "label" "panel" "/empty" "/label" "budget (vs empty)"
printf '  %-34s %10s %10s %10s  %-9s %-9s %s\n' "start-up to first Show (ms)" "$e_show" "$l_show" "$p_show" \
  "$(ratio "$p_show" "$e_show")" "$(ratio "$p_show" "$l_show")" "$(verdict "$(ratio "$p_show" "$e_show")" 1.25)"
printf '  %-34s %10s %10s %10s  %-9s %-9s\n' "start-up to first paint done (ms)" "$e_paint" "$l_paint" "$p_paint" \
  "$(ratio "$p_paint" "$e_paint")" "$(ratio "$p_paint" "$l_paint")"
printf '  %-34s %10s %10s %10s  %-9s %-9s %s\n' "peak RSS at start-up (kB)" "$e_rss" "$l_rss" "$p_rss" \
  "$(ratio "$p_rss" "$e_rss")" "$(ratio "$p_rss" "$l_rss")" "$(verdict "$(ratio "$p_rss" "$e_rss")" 1.25)"
printf '  %-34s %10s %10s %10s  %-9s %-9s %s\n' "peak RSS after ${poll_seconds} s (kB)" "$pe_rss" "-" "$pp_rss" \
  "$(ratio "$pp_rss" "$pe_rss")" "-" "$(verdict "$(ratio "$pp_rss" "$pe_rss")" 1.25)"
printf '  %-34s %10s %10s %10s  %-9s\n' "CPU over ${poll_seconds} s (s)" "$pe_cpu" "-" "$pp_cpu" \
  "$(ratio "$pp_cpu" "$pe_cpu")"
echo
printf '  polling CPU while the break was spun: %s s per %s s; panel CPU / that = %s  (%s)\n' \
  "$spinning" "$poll_seconds" "$(ratio "$pp_cpu" "$spinning")" \
  "$(verdict "$(ratio "$pp_cpu" "$spinning")" "$kSleepingBudget")"
printf '  requests sent: %s; CPU per request, everything included: %s ms\n' "$pp_req" "$per_request"
printf '  with Trends open: CPU %s s, peak RSS %s kB; the window adds %s s per %s s  (%s)\n' \
  "$pt_cpu" "$pt_rss" "$trends_added" "$poll_seconds" \
  "$(awk -v a="$trends_added" -v b="$trends_budget" 'BEGIN { if (a == "nan") print "not measured"; else if (a <= b) print "within " b " s"; else print "OVER " b " s" }')"
exit "$failed"
