#!/usr/bin/env bash
# Builds everything (scripts/build.sh: RelWithDebInfo in build/), then measures what
# the panel costs: the core benchmarks (link steps, dispatch, the event list, the saved
# log, request frames, the telemetry ring and its CSV), the Trends window per sample,
# the ring's peak memory over a day of samples, the UI thread's time per tick while a port
# opens with 1,000 extra processes running, the libraries the program links (none of
# those its modules load on first use), then the whole program against an
# empty Qt dialog (bench/measure_process.sh). Prints each, then a summary against the budgets; the
# whole report is also kept in build/bench/report.txt. Not part of the tests.
#
#   scripts/bench.sh                full run: 3 repetitions of the core benchmarks,
#                                   5 process runs with 60 s of polling (about 8 min)
#   scripts/bench.sh --quick        a short smoke run of both (under a minute)
#   scripts/bench.sh --runs N --poll-seconds S
#                                   options of bench/measure_process.sh
set -euo pipefail
cd "$(dirname "$0")/.."

core_args=(--benchmark_repetitions=3 --benchmark_report_aggregates_only=true)
for arg in "$@"; do
  [[ "$arg" == --quick ]] && core_args=(--benchmark_min_time=0.05)
done

scripts/build.sh
report=build/bench/report.txt
core_csv=build/bench/core.csv
trends_csv=build/bench/trends.csv

# Budgets of the core, in ns of wall time per operation: NAME-PATTERN LIMIT WHAT.
core_budgets() {
  cat <<'TABLE'
^BM_LinkStep 20000 a link step without the break
^BM_DispatchReply/ 5000 a dispatch
^BM_EventLineAddedToList/100000 10000 a record reply adding its lines at 100,000 lines
^BM_SaveLogOf100000Lines 200000000 saving 100,000 lines
^BM_SampleAddedToFullDayRing 10000 a sample added to a full day's ring
TABLE
}

# The same for the Trends window, in ns of CPU time per new sample.
trends_budgets() {
  cat <<'TABLE'
^BM_TrendsWindowNewSample/0/ 3000000 the open Trends window, a sample, 5 minutes shown
^BM_TrendsWindowNewSample/1/ 3000000 the open Trends window, a sample, 30 minutes shown
^BM_TrendsWindowNewSample/2/ 3000000 the open Trends window, a sample, 4 hours shown
TABLE
}

# summary CSV BUDGETS COLUMN TITLE: each budget of the BUDGETS function against the
# slowest benchmark its pattern matches, by the CSV's COLUMN (3 wall time, 4 CPU time).
summary() {
  # The CSV holds one row per benchmark (or, with repetitions, its aggregates); take
  # medians where there are aggregates, else the single run. Times are converted to ns.
  local rows
  rows=$(awk -F, -v column="$3" 'NR > 1 {
      name = $1; gsub(/"/, "", name)
      unit = $5; gsub(/"/, "", unit)
      scale = (unit == "ms") ? 1e6 : (unit == "us") ? 1e3 : (unit == "s") ? 1e9 : 1
      if (name ~ /_(mean|stddev|cv)$/) next
      sub(/_median$/, "", name)
      print name, $column * scale
    }' "$1")
  echo "$4"
  while read -r pattern limit what; do
    echo "$rows" | awk -v p="$pattern" -v l="$limit" -v w="$what" '
      $1 ~ p { if ($2 > worst) { worst = $2; name = $1 } ; found = 1 }
      END {
        if (!found) { printf "  %-50s not measured\n", w; exit }
        show = (l >= 1e6) ? sprintf("%.2f ms", worst / 1e6) : sprintf("%.3f us", worst / 1e3)
        limit = (l >= 1e6) ? sprintf("%g ms", l / 1e6) : sprintf("%g us", l / 1e3)
        printf "  %-50s %12s  (%s)  %s %s\n", w, show, name, worst < l ? "within" : "OVER", limit
      }'
  done < <("$2")
}

# open_ticks N: the ticks of an open (bench/open_ticks.cpp) with N extra processes running,
# each tick against the budget of 20 ms of the UI thread.
open_ticks() {
  local sleepers=()
  for _ in $(seq "$1"); do
    sleep 600 < /dev/null > /dev/null 2>&1 &
    sleepers+=("$!")
  done
  build/bench/kelo-open-ticks | tee build/bench/open-ticks.txt || true
  kill "${sleepers[@]}" 2> /dev/null || true
  wait "${sleepers[@]}" 2> /dev/null || true
  awk '{
      for (i = 1; i <= NF; ++i) { split($i, kv, "="); value[kv[1]] = kv[2] }
      worst = value["slowest_link_tick_ms"] + 0
      if (value["slowest_connect_tick_ms"] + 0 > worst) worst = value["slowest_connect_tick_ms"] + 0
      printf "  %-50s %9.2f ms  (CPU %.2f ms)  %s 20 ms\n", "slowest tick, " value["case"] \
        " device, " value["processes"] " processes", worst, value["most_tick_cpu_ms"], \
        worst <= 20 ? "within" : "OVER"
    }' build/bench/open-ticks.txt
}

# The libraries the program links: none of those its modules bring on first use.
first_use_libraries() {
  local linked first_use
  linked=$(ldd build/app/kelo-configuration)
  first_use=$(grep -E 'libQt6Charts|libQt6OpenGL|libzip' <<< "$linked" || true)
  printf '  %-50s %9s  (the label dialog: %s)\n' "libraries kelo-configuration links" \
    "$(wc -l <<< "$linked")" "$(ldd build/bench/label-dialog-probe | wc -l)"
  if [[ -z "$first_use" ]]; then
    echo "  none of Qt Charts, Qt OpenGL and libzip: within"
  else
    echo "  OVER: it links what its modules load on first use:"
    echo "$first_use"
  fi
}

{
  echo "Kelo Configuration benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC') on $(uname -n)," \
       "$(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
  echo
  # Of the repetitions' aggregates only the medians are shown; the CSV keeps them all.
  TZ=UTC build/bench/kelo-core-bench "${core_args[@]}" \
    --benchmark_out="$core_csv" --benchmark_out_format=csv | grep -v -E '_(mean|stddev|cv) '
  echo
  summary "$core_csv" core_budgets 3 \
    "Core budgets (wall time, median of repetitions where run; slowest case of each):"
  echo
  TZ=UTC build/bench/kelo-trends-bench "${core_args[@]}" \
    --benchmark_out="$trends_csv" --benchmark_out_format=csv | grep -v -E '_(mean|stddev|cv) '
  echo
  summary "$trends_csv" trends_budgets 4 \
    "Trends budgets (CPU time of the whole process, median of repetitions where run):"
  echo
  echo "Peak memory of a day of telemetry (budget: the ring's fixed cost plus 10 %):"
  build/bench/kelo-ring-memory || true
  echo
  echo "The UI thread per link and connect tick while a port opens, 1,000 extra processes:"
  open_ticks 1000
  echo
  echo "Libraries loaded at start (ldd):"
  first_use_libraries
  echo
  bench/measure_process.sh "$@"
} 2>&1 | tee "$report"
