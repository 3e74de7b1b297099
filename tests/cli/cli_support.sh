# Sourced by cli_test.sh: running tools/tarnevo.sh and checking what it printed.
#   run show CliGas --csv        stdout in $out, stderr in $err, exit code in $rc
#   expect_rc 2 "unknown package"
#   expect_out 'CH4'; expect_err 'usage: tarnevo show'
#   v=$(csv_value properties density 4)     column 4 of the row whose first field is density
#   near "$v" 2280 0.01 "density"            |v - 2280| <= 0.01 * |2280|
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
out="$work/out"
err="$work/err"
failures=0
current=""

run() {
  current="tarnevo $*"
  bash "$TARNEVO_ROOT/tools/tarnevo.sh" "$@" >"$out" 2>"$err"
  rc=$?
  tr -d '\r' <"$out" >"$out.tmp" && mv "$out.tmp" "$out"
  tr -d '\r' <"$err" >"$err.tmp" && mv "$err.tmp" "$err"
}

fail() {
  failures=$((failures + 1))
  echo "FAIL [$current]: $*"
  echo "  stdout: $(head -c 1500 "$out")"
  echo "  stderr: $(head -c 1500 "$err")"
}

expect_rc() { [ "$rc" -eq "$1" ] || fail "exit code $rc, expected $1 ($2)"; }
expect_out() { grep -qF -- "$1" "$out" || fail "stdout lacks: $1"; }
expect_no_out() { ! grep -qF -- "$1" "$out" || fail "stdout has: $1"; }
expect_err() { grep -qF -- "$1" "$err" || fail "stderr lacks: $1"; }
expect_err_line() { grep -qxF -- "$1" "$err" || fail "stderr lacks the line: $1"; }

# csv_value TABLE_HEADER_PREFIX KEY COLUMN [KEY2 COL2]: the field of the first row whose first
# field is KEY (and field COL2 is KEY2) in the CSV table whose header starts with the prefix.
csv_value() {
  awk -F, -v head="$1" -v key="$2" -v col="$3" -v key2="${4:-}" -v col2="${5:-0}" '
    /^$/ { intable = 0; next }
    !intable && index($0, head) == 1 { intable = 1; next }
    intable && $1 == key && (key2 == "" || $col2 == key2) { print $col; exit }' "$out"
}

# near VALUE EXPECTED RELATIVE_TOLERANCE WHAT
near() {
  if ! awk -v v="$1" -v e="$2" -v t="$3" 'BEGIN {
        if (v == "") exit 1; d = v - e; if (d < 0) d = -d; m = e < 0 ? -e : e;
        exit !(d <= t * m) }'; then
    fail "$4 = '$1', expected $2 within $3 (relative)"
  fi
}

# less A B WHAT: A < B numerically.
less() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a != "" && b != "" && a + 0 < b + 0) }' || fail "$3: $1 is not below $2"; }

finish() {
  if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "all checks passed"
}

# The package every group uses, created once in the test prefix.
gas=0.85,0.06,0.03,0.04,0.02
ensure_gas() {
  run packages --csv
  if ! grep -qx CliGas "$out"; then
    run new CliGas --fluids METHANE,ETHANE,PROPANE,NITROGEN,CO2 --description "CLI test gas"
    expect_rc 0 "creating the test package"
  fi
}

# The package folder of the test prefix, as a Unix path.
package_folder() {
  ls -d "$TARNEVO_WINEPREFIX"/drive_c/users/*/AppData/Roaming/Tarnevo/PropertyPackages 2>/dev/null | head -1
}

# Z:\... form of a Unix path for the program's file arguments.
windows_path() { local p="$1"; printf 'Z:%s' "${p//\//\\}"; }
