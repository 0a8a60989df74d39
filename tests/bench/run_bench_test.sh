#!/usr/bin/env bash
# scripts/run-bench against a stand-in rights_bench that writes a known CSV:
# the ratio lines (names, order, two decimals), the PostgreSQL lines only with
# WMS_PG_URL, a missing median reported and failing, the repetitions floor
# and the options passed through.
#   tests/bench/run_bench_test.sh SOURCE_DIR
set -uo pipefail
src=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
work=$(mktemp -d /tmp/run-bench-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

mkdir -p "$work/build/bench"
# The stand-in: records its arguments, writes $CSV to --benchmark_out.
cat >"$work/build/bench/rights_bench" <<'STUB'
#!/usr/bin/env bash
printf '%s\n' "$@" >"$ARGS_FILE"
for a in "$@"; do
  case "$a" in --benchmark_out=*) cp "$CSV" "${a#--benchmark_out=}" ;; esac
done
STUB
chmod +x "$work/build/bench/rights_bench"

header='name,iterations,real_time,cpu_time,time_unit,bytes_per_second,items_per_second,label,error_occurred,error_message'
row() { echo "\"$1\",5,$2,$3,$4,,,,,"; }
{
  echo "$header"
  row check_right_sqlite_floor_mean 6.5 6 us
  row check_right_sqlite_floor_median 6.06 5.77 us
  row check_right_sqlite_median 9.13 8.62 us
  row button_right_sqlite_median 9.6 9.3 us
  row check_menu_sqlite_floor_median 0.875 0.8 ms
  row check_menu_sqlite_median 2.915 2.9 ms
  row group_members_sqlite_floor_median 12.443 11.7 ms
  row group_members_sqlite_median 108.243 105 ms
  row rights_editor_sqlite_floor_median 0.368 0.35 ms
  row rights_editor_sqlite_median 541.857 538 ms
  row journal_write_sqlite_floor_median 4.0 3.9 ms
  row journal_write_sqlite_median 4.2 4.1 ms
} >"$work/sqlite.csv"
{
  cat "$work/sqlite.csv"
  row check_right_pg_floor_median 33.259 6.7 us
  row check_right_pg_median 45.48 12.7 us
  row check_menu_pg_floor_median 11.537 2.7 ms
  row check_menu_pg_median 22.511 7.5 ms
  row group_members_pg_floor_median 17.638 7 ms
  row group_members_pg_median 227.327 125 ms
  row rights_editor_pg_floor_median 0.558 0.13 ms
  row rights_editor_pg_median 723.848 681 ms
  row journal_write_pg_floor_median 20.0 5 ms
  row journal_write_pg_median 22.2 6 ms
} >"$work/both.csv"
grep -v '"group_members_pg_median"' "$work/both.csv" >"$work/missing.csv"

run() {  # run CSV [VAR=value...] COMMAND...: stdout in $work/out, stderr in $work/err, status in $status
  local csv=$1; shift
  env -u WMS_PG_URL ARGS_FILE="$work/args" CSV="$csv" "$@" >"$work/out" 2>"$work/err"
  status=$?
}

# SQLite only: five ratio lines, in order, and nothing for PostgreSQL.
run "$work/sqlite.csv" "$src/scripts/run-bench" "$work/build"
[ "$status" -eq 0 ] || fail "SQLite only: status $status: $(cat "$work/err")"
expected='ratio check_right_sqlite 1.51
ratio check_menu_sqlite 3.33
ratio group_members_sqlite 8.70
ratio rights_editor_sqlite 1472.44
ratio journal_write_sqlite 1.05'
[ "$(grep '^ratio ' "$work/out")" = "$expected" ] || fail "SQLite only: ratio lines: $(grep '^ratio ' "$work/out")"
grep -q 'no PostgreSQL lines: WMS_PG_URL is not set' "$work/out" || fail "SQLite only: no reason for the missing PostgreSQL lines"
grep -q 'check_right_sqlite .*floor .*6.060 us.*measured .*9.130 us' "$work/out" || fail "SQLite only: the medians are not printed"

# Both backends: ten lines, PostgreSQL after SQLite.
run "$work/both.csv" WMS_PG_URL=postgresql://nobody@127.0.0.1:1/none "$src/scripts/run-bench" "$work/build"
[ "$status" -eq 0 ] || fail "both: status $status: $(cat "$work/err")"
expected="$expected
ratio check_right_pg 1.37
ratio check_menu_pg 1.95
ratio group_members_pg 12.89
ratio rights_editor_pg 1297.22
ratio journal_write_pg 1.11"
[ "$(grep '^ratio ' "$work/out")" = "$expected" ] || fail "both: ratio lines: $(grep '^ratio ' "$work/out")"

# A median missing: the others are printed, the missing one is reported and the run fails.
run "$work/missing.csv" WMS_PG_URL=postgresql://nobody@127.0.0.1:1/none "$src/scripts/run-bench" "$work/build"
[ "$status" -ne 0 ] || fail "missing median: the run did not fail"
grep -q '^ratio group_members_pg' "$work/out" && fail "missing median: a ratio was printed for group_members_pg"
grep -q 'no ratio for group_members_pg' "$work/err" || fail "missing median: not reported: $(cat "$work/err")"
[ "$(grep -c '^ratio ' "$work/out")" -eq 9 ] || fail "missing median: $(grep -c '^ratio ' "$work/out") ratio lines instead of 9"

# Fewer than 5 repetitions are raised to 5; further options reach rights_bench.
run "$work/sqlite.csv" REPETITIONS=2 "$src/scripts/run-bench" "$work/build" --benchmark_filter=_sqlite
grep -qx -- '--benchmark_repetitions=5' "$work/args" || fail "repetitions: $(cat "$work/args")"
grep -qx -- '--benchmark_filter=_sqlite' "$work/args" || fail "options not passed: $(cat "$work/args")"
grep -qx -- '--benchmark_enable_random_interleaving=true' "$work/args" || fail "repetitions not interleaved"
run "$work/sqlite.csv" REPETITIONS=9 "$src/scripts/run-bench" "$work/build"
grep -qx -- '--benchmark_repetitions=9' "$work/args" || fail "repetitions 9: $(cat "$work/args")"

# login_bench: the greatest median of the five refusals over the smallest, per
# backend, after the other ratios; a missing refusal fails the run.
cat >"$work/build/bench/login_bench" <<'STUB'
#!/usr/bin/env bash
for a in "$@"; do
  case "$a" in --benchmark_out=*) cp "$LOGIN_CSV" "${a#--benchmark_out=}" ;; esac
done
STUB
chmod +x "$work/build/bench/login_bench"
{
  echo "$header"
  for reason in unknown:80 inactive:82 empty:81.5 wrong:88 plain:85; do
    row "login_refusal_${reason%%:*}_sqlite/iterations:1/repeats:9/real_time_median" "${reason#*:}" 1 ms
    row "login_refusal_${reason%%:*}_sqlite/iterations:1/repeats:9/real_time_mean" 500 1 ms
  done
} >"$work/login.csv"
run "$work/sqlite.csv" LOGIN_CSV="$work/login.csv" "$src/scripts/run-bench" "$work/build"
[ "$status" -eq 0 ] || fail "login: status $status: $(cat "$work/err")"
[ "$(grep '^ratio ' "$work/out" | tail -1)" = "ratio login_refusals 1.10" ] || fail "login: $(grep '^ratio ' "$work/out")"
[ "$(grep -c '^ratio ' "$work/out")" -eq 6 ] || fail "login: $(grep -c '^ratio ' "$work/out") ratio lines instead of 6"
grep -q "login_refusal_wrong_sqlite .*88.000 ms (1.000)" "$work/out" || fail "login: the medians are not printed"
grep -v '"login_refusal_empty_' "$work/login.csv" >"$work/login-missing.csv"
run "$work/sqlite.csv" LOGIN_CSV="$work/login-missing.csv" "$src/scripts/run-bench" "$work/build"
[ "$status" -ne 0 ] || fail "login missing: the run did not fail"
grep -q 'no ratio for login_refusals' "$work/err" || fail "login missing: not reported: $(cat "$work/err")"

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "run-bench: all checks passed"
