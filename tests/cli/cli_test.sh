#!/usr/bin/env bash
# The command-line host as a user runs it (tools/tarnevo.sh under Wine): output, values and exit
# codes of each command, including refused input (exit 2 with a usage line) and CAPE-OPEN
# failures (exit 1 with description, scope and interface).
#   bash cli_test.sh packages|props|flash|envelope|bench
# Environment: TARNEVO_ROOT (source tree), TARNEVO_BUILD, TARNEVO_WINEPREFIX.
set -uo pipefail
source "$(dirname "$0")/cli_support.sh"
R=8.31447215

packages_group() {
  ensure_gas
  run new CliGas --fluids METHANE
  expect_rc 2 "existing name"
  expect_err 'tarnevo: a package named "CliGas" already exists'
  expect_err 'usage: tarnevo new NAME --fluids'

  run new CliBad --fluids METHANE,UNOBTAINIUM
  expect_rc 2 "unknown fluid"
  expect_err 'unknown fluid "UNOBTAINIUM"'
  run new CliBad --fluids ""
  expect_rc 2 "empty fluid list"
  expect_err_line 'tarnevo: At least one fluid must be present in package'
  run new CliBad --fluids METHANE,methane
  expect_rc 2 "fluid listed twice"
  expect_err 'fluid "methane" is listed twice'
  run new CliBad --fluids METHANE --model SRK
  expect_rc 2 "unknown model"
  run packages --csv
  expect_no_out CliBad

  # A package with other fluids, named by CAS number and in lower case, on the Peng-Robinson model.
  local name="CliTemp$$"
  run new "$name" --fluids methane,7727-37-9 --model pr --description "temporary"
  expect_rc 0 "new package"
  expect_out "$name"
  expect_out PR
  run show "$name" --csv
  expect_rc 0 "show new package"
  expect_out "$name,temporary,PR,2"
  expect_out "NITROGEN,N2,28.01348"
  rm -f "$(package_folder)/$name.rpp"

  # The bundled engine has no GERG-2008: the package does not initialise and is not kept.
  run new "$name" --fluids METHANE --model GERG
  expect_rc 1 "package that does not initialise"
  expect_err "tarnevo: package \"$name\" does not initialise; its file was removed"
  expect_err "  description: Error selecting GERG: "
  expect_err_line "  scope: Initialize"
  expect_err_line "  interface: ICapeUtilities"
  [ ! -f "$(package_folder)/$name.rpp" ] || fail "the package file was kept"

  # A mixture file the engine cannot find: same path.
  run new "$name" --fluids METHANE,ETHANE --mix 'fluids\nothere.bnc'
  expect_rc 1 "missing mixture file"
  expect_err "tarnevo: package \"$name\" does not initialise; its file was removed"
  expect_err "nothere.bnc"
  [ ! -f "$(package_folder)/$name.rpp" ] || fail "the package file was kept"

  run packages --csv
  expect_rc 0 packages
  [ "$(head -1 "$out")" = "name" ] || fail "the CSV header is not 'name'"
  expect_out CliGas
  run packages --json
  python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); assert any(p["name"]=="CliGas" for p in d["packages"])' "$out" ||
    fail "packages --json is not the expected JSON"

  run show CliGas --csv
  expect_rc 0 show
  expect_out "CliGas,CLI test gas,DEFAULT,5"
  near "$(csv_value compound, METHANE 3)" 16.0428 1e-9 "METHANE molecular weight"
  near "$(csv_value compound, CO2 6)" 304.1282 1e-9 "CO2 critical temperature"
  [ "$(csv_value compound, ETHANE 2)" = C2H6 ] || fail "ETHANE formula"
  [ "$(csv_value compound, NITROGEN 5)" = 7727-37-9 ] || fail "NITROGEN CAS number"
  run show CliGas
  expect_out "METHANE   CH4"

  run show NoSuchGas
  expect_rc 2 "unknown package"
  expect_err 'tarnevo: unknown package "NoSuchGas" (packages: '
  expect_err 'usage: tarnevo show NAME'
  run show CliGas --bogus
  expect_rc 2 "unknown option"
  expect_err "unknown option --bogus"
  run frobnicate
  expect_rc 2 "unknown command"
  expect_err "tarnevo: unknown command frobnicate"
  run
  expect_rc 2 "no command"
  run props --help
  expect_rc 0 "help"
  expect_out "usage: tarnevo props NAME --phase Vapor|Liquid"
}

props_group() {
  ensure_gas
  run props CliGas --phase Vapor --T 300 --P 5e6 --x $gas --csv
  expect_rc 0 props
  local rho v z mw
  rho=$(csv_value property, density 4)
  v=$(csv_value property, volume 4)
  z=$(csv_value property, compressibilityFactor 4)
  mw=$(csv_value property, molecularWeight 4)
  near "$(awk -v a="$rho" -v b="$v" 'BEGIN { printf "%.15g", a * b }')" 1 1e-9 "density x volume"
  near "$z" "$(awk -v p=5e6 -v r="$rho" -v R=$R 'BEGIN { printf "%.15g", p / (r * R * 300) }')" 1e-6 "compressibilityFactor"
  near "$mw" "$(awk 'BEGIN { printf "%.15g", 0.85*16.0428 + 0.06*30.06904 + 0.03*44.09562 + 0.04*28.01348 + 0.02*44.0098 }')" 1e-6 \
    "molecularWeight"
  # A natural gas at 300 K and 5 MPa: about 2.3 kmol/m3, Z about 0.88.
  near "$rho" 2280 0.05 "density"
  [ "$(grep -c '^fugacityCoefficient,' "$out")" -eq 5 ] || fail "five fugacity coefficients"
  expect_out "heatCapacityCp,,,"
  expect_out "J/(mol K)"
  # The same request through the CAPE-OPEN 1.0 surface prints the same table.
  cp "$out" "$out.v11"
  run props CliGas --phase Vapor --T 300 --P 5e6 --x $gas --csv --api 1.0
  expect_rc 0 "props through the 1.0 surface"
  cmp -s "$out" "$out.v11" || fail "the 1.0 surface printed other values than the 1.1 surface"

  # The same gas given in percent: normalised with a note, same density.
  run props CliGas --phase vapor --T 300 --P 5e6 --x 85,6,3,4,2 --csv --props density
  expect_rc 0 "percent composition"
  expect_err_line "note: --x sums to 100; normalised to 1"
  near "$(csv_value property, density 4)" "$rho" 1e-9 "density from percent"

  run props CliGas --phase Vapor --T 300 --P 5e6 --x $gas --props density,enthalpy --derivatives --csv
  expect_rc 0 derivatives
  expect_out "density.Dtemperature,,,"
  expect_out "mol/(m3 K)"
  expect_out "enthalpy.Dpressure,,,"
  run props CliGas --phase Vapor --T 300 --P 5e6 --x $gas --props fugacityCoefficient.Dmoles --csv
  expect_rc 0 "nc x nc derivative"
  [ "$(grep -c '^fugacityCoefficient.Dmoles,' "$out")" -eq 25 ] || fail "25 fugacity coefficient derivatives"
  expect_out "fugacityCoefficient.Dmoles,METHANE,ETHANE,"

  # A methane-ethane liquid at 150 K and 5 MPa: far denser than the gas.
  run props CliGas --phase Liquid --T 150 --P 5e6 --x METHANE=0.9,ETHANE=0.1 --props density,enthalpy --csv
  expect_rc 0 "liquid properties"
  expect_out "x PROPANE,0,-"
  less 20000 "$(csv_value property, density 4)" "liquid density"
  less "$(csv_value property, enthalpy 4)" 14151 "liquid enthalpy below the gas at 300 K"

  # Refused input (the readers' messages are checked in cli_parts_test).
  run props CliGas --phase Vapor --T 300 --P 5e6 --x 0.5,0.5
  expect_rc 2 "composition of the wrong length"
  expect_err "--x has 2 values but package holds 5 compounds (METHANE, ETHANE, PROPANE, NITROGEN, CO2)"
  expect_err "usage: tarnevo props NAME"
  run props CliGas --phase Solid --T 300 --P 5e6 --x $gas
  expect_rc 2 "unknown phase"

  # CAPE-OPEN failures of the package.
  run props CliGas --phase Vapor --T 300 --P 5e6 --x $gas --props density,frobnicity
  expect_rc 1 "unknown property"
  expect_err "tarnevo: CAPE-OPEN failure ECapeUnknownHR (0x80040501)"
  expect_err_line '  description: Unknown/unsupported single phase property "frobnicity"'
  expect_err_line "  scope: CalcSinglePhaseProp"
  expect_err_line "  interface: ICapeThermoPropertyRoutine"

  run tdep CliGas --T 150 --csv
  expect_rc 0 tdep
  # Methane boils at about 1.04 MPa at 150 K; nitrogen is supercritical there (missing, with a note).
  near "$(csv_value property, vaporPressure 3)" 1.04e6 0.03 "methane vapour pressure at 150 K"
  [ -z "$(csv_value property, vaporPressure 6)" ] || fail "nitrogen has no vapour pressure at 150 K"
  near "$(csv_value property, idealGasHeatCapacity 6)" 29.1 0.02 "nitrogen ideal-gas cp"
  expect_err "note: NITROGEN vaporPressure: "
  run tdep CliGas --T 250 --compounds propane,ETHANE --props vaporPressure --csv
  expect_rc 0 "tdep of two compounds"
  expect_out "property,unit,PROPANE,ETHANE"
  near "$(csv_value property, vaporPressure 3)" 2.18e5 0.03 "propane vapour pressure at 250 K"
  run tdep CliGas --T 250 --compounds METHANE,H2O --props vaporPressure
  expect_rc 1 "unknown compound"
  expect_err 'Compound list contains unknown compound ID "H2O"'
  run tdep CliGas --T -5
  expect_rc 1 "negative temperature"
  expect_err_line "  description: Temperature must be positive"
  expect_err_line "  scope: GetTDependentProperty"
  expect_err_line "  interface: ICapeThermoCompounds"
}

flash_group() {
  ensure_gas
  run flash CliGas --z $gas --T 200 --P 3e6 --csv
  expect_rc 0 "T-P flash"
  local bv bl
  bv=$(csv_value phase, Vapor 2)
  bl=$(csv_value phase, Liquid 2)
  near "$(awk -v a="$bv" -v b="$bl" 'BEGIN { printf "%.15g", a + b }')" 1 1e-9 "phase fractions"
  less 0 "$bl" "liquid fraction"
  near "$(csv_value phase, Vapor 3)" 200 1e-12 "vapour temperature"
  local i=0 compound zi yi xi
  for compound in METHANE ETHANE PROPANE NITROGEN CO2; do
    zi=$(csv_value compound, $compound 2)
    yi=$(csv_value compound, $compound 3)
    xi=$(csv_value compound, $compound 4)
    near "$(awk -v y="$yi" -v x="$xi" -v v="$bv" -v l="$bl" 'BEGIN { printf "%.15g", v * y + l * x }')" "$zi" 1e-6 \
      "material balance of $compound"
  done
  less "$(csv_value compound, PROPANE 3)" "$(csv_value compound, PROPANE 4)" "propane enriched in the liquid"
  less "$(csv_value property, density 3)" "$(csv_value property, density 4)" "vapour lighter than liquid"

  local h
  h=$(csv_value property, enthalpy 5)
  # The same flash through the CAPE-OPEN 1.0 surface prints the same tables.
  cp "$out" "$out.v11"
  run flash CliGas --z $gas --T 200 --P 3e6 --csv --api 1.0
  expect_rc 0 "T-P flash through the 1.0 surface"
  cmp -s "$out" "$out.v11" || fail "the 1.0 surface printed another flash than the 1.1 surface"
  run flash CliGas --z $gas --T 200 --U 5000 --api 1.0
  expect_rc 2 "a flash the 1.0 surface does not have"
  expect_err "the 1.0 interface has no T-U flash"

  # The P-H flash at the T-P flash's overall enthalpy finds 200 K again.
  run flash CliGas --z $gas --P 3e6 --H "$h" --csv
  expect_rc 0 "P-H flash"
  near "$(csv_value quantity, temperature 2)" 200 5e-5 "P-H round trip temperature"
  run flash CliGas --z $gas --P 3e6 --Q 0.5 --json
  expect_rc 0 "P-Q flash"
  python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); v=[p for p in d["phases"] if p["phase"]=="Vapor"][0]
assert abs(v["phaseFraction (mole)"]-0.5) < 1e-9' "$out" || fail "P-Q flash JSON with vapour fraction 0.5"

  # A vapour fraction on a mass basis: the mole-basis fractions the package reports weigh 50:50.
  run flash CliGas --z $gas --P 3e6 --Q 0.5 --mass --csv
  expect_rc 0 "P-Q flash on a mass basis"
  near "$(awk -v bv="$(csv_value phase, Vapor 2)" -v bl="$(csv_value phase, Liquid 2)" \
              -v mv="$(csv_value property, molecularWeight 3)" -v ml="$(csv_value property, molecularWeight 4)" \
              'BEGIN { printf "%.15g", bv * mv / (bv * mv + bl * ml) }')" 0.5 1e-6 "mass vapour fraction"

  run flash CliGas --z $gas --T 200
  expect_rc 2 "missing specification"
  expect_err "tarnevo: a flash needs exactly two of --T, --P, --H, --S, --U, --V, --Q (1 given)"
  expect_err "usage: tarnevo flash NAME --z"
  run flash CliGas --z $gas --T 200 --P 3e6 --mass
  expect_rc 2 "--mass without --Q"

  # Above the cricondentherm no vapour fraction of 0.5 exists: the engine fails the flash.
  run flash CliGas --z $gas --T 400 --Q 0.5
  expect_rc 1 "flash failing in the engine"
  expect_err "tarnevo: CAPE-OPEN failure "
  expect_err "  description: TQFLSHdll"
  expect_err_line "  scope: CalcEquilibrium"
  expect_err_line "  interface: ICapeThermoEquilibriumRoutine"
}

envelope_group() {
  ensure_gas
  local prefix="$work/env"
  run envelope CliGas --z $gas --points 12 --out "$(windows_path "$prefix")" --csv
  expect_rc 0 envelope
  [ -f "$prefix.csv" ] && [ -f "$prefix.svg" ] || fail "envelope files not written"
  [ "$(head -1 "$prefix.csv" | tr -d '\r')" = "curve,pressure (Pa),temperature (K)" ] || fail "envelope CSV header"
  local tb td
  tb=$(awk -F, '$1 == "bubble" { print $3; exit }' "$prefix.csv")
  td=$(awk -F, '$1 == "dew" { print $3; exit }' "$prefix.csv")
  less "$tb" "$td" "bubble below dew temperature at 0.1 MPa"
  near "$tb" 101 0.05 "bubble temperature at 0.1 MPa"
  [ "$(grep -c '^bubble,' "$prefix.csv")" -ge 8 ] || fail "at least 8 bubble points"
  for text in '<svg' 'temperature (K)' 'pressure (MPa)' 'bubble curve (Q = 0)' 'dew curve (Q = 1)' \
              'critical region (series stops)' '<polyline'; do
    grep -qF "$text" "$prefix.svg" || fail "SVG lacks $text"
  done
  expect_err "envelope: pressure 1/12"
  expect_err "curve stops above"

  run envelope CliGas --z $gas --points 1
  expect_rc 2 "one point"
  expect_err "--points must be a whole number from 2 to 1000"
  run envelope CliGas --z $gas --pmin 5e6 --pmax 1e6
  expect_rc 2 "inverted pressure range"
}

bench_group() {
  ensure_gas
  run bench CliGas --z $gas --P 3e6 --seconds 0.2 --csv
  expect_rc 0 bench
  for request in "CalcSinglePhaseProp (6 properties)," "host material alone (the calls of the first request)," '"CalcSinglePhaseProp (6 + T, P, n derivatives)",' \
                 "CalcEquilibrium T-P (two-phase)," "CalcEquilibrium P-H (two-phase),"; do
    expect_out "$request"
  done
  run bench CliGas --seconds 0
  expect_rc 2 "zero duration"
}

case "${1:-}" in
  packages | props | flash | envelope | bench) "${1}_group" ;;
  *) echo "usage: cli_test.sh packages|props|flash|envelope|bench" >&2; exit 2 ;;
esac
finish
