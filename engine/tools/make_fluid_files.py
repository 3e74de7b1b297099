#!/usr/bin/env python3
"""Writes the engine's fluid files (*.FLD) and its mixture file (hmx.bnc).

Usage: make_fluid_files.py DATA_DIR OUT_DIR
DATA_DIR holds fluids.json and kij_pr.csv of the fluid data set. Run once; the
output is committed under engine/fluids and the build never reads DATA_DIR.

File layout (text, "!" starts a comment):
  lines 0-12  header: name, CAS, full name, formula, synonym, molar mass,
              triple point, normal boiling point, Tc, pc (kPa), rhoc (mol/L),
              acentric factor, dipole moment (debye)
  then sections, each started by a line "#NAME":
  #MODELS  one line per category: category followed by the model codes provided
  #PR      Peng-Robinson constants and the range of the data: key value lines
  #CP0     ideal-gas heat capacity:  cp0/R = c0 + sum c T^t
                                      + sum v (u/T)^2 exp(u/T) / (exp(u/T) - 1)^2
           lines "R r", "c0 x", "power c t", "pe v u"
  #CHUNG   transport constants (association factor kappa; LJ hints)
  #ST1     surface tension sigma = sum a (1 - T/Tc)^n, N/m: "tc x", "term a n"
"""
import csv
import json
import os
import sys

KAPPA = {  # association factors of the Chung et al. method
    "WATER": 0.075908, "METHANOL": 0.215175, "ETHANOL": 0.174823,
}


def num(x):
    return repr(float(x))


def header(f):
    tt = f["t_triple_K"]
    tt_note = "triple point temperature [K]"
    if tt is None:
        tt = f["eos"]["T_min_K"]
        tt_note = "lower temperature limit [K] (no triple point on the saturation line)"
    nbp = f["t_nbp_K"]
    nbp_note = "normal boiling point [K]"
    if nbp is None:
        nbp = f["t_nbp_alternative"]["value_K"]
        nbp_note = "sublimation temperature at 101.325 kPa [K] (no normal boiling point)"
    rows = [
        (f["short_name"], "short name"),
        (f["cas"], "CAS number"),
        (f["full_name"], "full name"),
        (f["formula"], "chemical formula"),
        (f["synonym"] or "", "synonym"),
        (num(f["molar_mass_g_per_mol"]), "molar mass [g/mol]"),
        (num(tt), tt_note),
        (num(nbp), nbp_note),
        (num(f["t_crit_K"]), "critical temperature [K]"),
        (num(f["p_crit_kPa"]), "critical pressure [kPa]"),
        (num(f["rho_crit_mol_per_L"]), "critical density [mol/L]"),
        (num(f["acentric_factor"]), "acentric factor [-]"),
        (num(f["dipole_debye"]), "dipole moment [Debye]"),
    ]
    return ["%-24s!%s" % (v, c) for v, c in rows]


def body(f):
    out = ["", "#MODELS            !model codes provided, per category"]
    out.append("EOS NBS PR")
    out.append("ETA NBS")
    out.append("TCX NBS")
    out.append("STN NBS ST1" if f["surface_tension"] else "STN")
    eos = f["eos"]
    out += ["", "#PR                !Peng-Robinson constants and range of the data",
            "tc %s" % num(f["t_crit_K"]), "pc %s" % num(f["p_crit_kPa"]),
            "omega %s" % num(f["acentric_factor"]),
            "tmin %s" % num(eos["T_min_K"]), "tmax %s" % num(eos["T_max_K"]),
            "pmax %s" % num(eos["p_max_kPa"])]
    cp0 = f["cp0"]
    out += ["", "#CP0               !ideal-gas heat capacity",
            "R %s" % num(cp0["gas_constant_J_per_mol_K"]), "c0 %s" % num(cp0["c0"])]
    out += ["power %s %s" % (num(t["c"]), num(t["t"])) for t in cp0["power_terms"]]
    out += ["pe %s %s" % (num(t["v"]), num(t["u_K"])) for t in cp0["planck_einstein_terms"]]
    out += ["", "#CHUNG             !transport: Chung et al. dense-fluid method",
            "kappa %s" % num(KAPPA.get(f["short_name"], 0.0))]
    hints = f["transport_hints"]
    if hints and hints.get("lennard_jones_sigma_nm") is not None:
        out.append("lj_sigma_nm %s" % num(hints["lennard_jones_sigma_nm"]))
    if hints and hints.get("lennard_jones_epsilon_over_k_K") is not None:
        out.append("lj_epsilon_K %s" % num(hints["lennard_jones_epsilon_over_k_K"]))
    st = f["surface_tension"]
    if st:
        out += ["", "#ST1               !surface tension, N/m", "tc %s" % num(st["Tc_K"])]
        out += ["term %s %s" % (num(a), num(n)) for a, n in zip(st["a"], st["n"])]
    out += ["", "#END"]
    return out


def main():
    data, outdir = sys.argv[1], sys.argv[2]
    with open(os.path.join(data, "fluids.json"), encoding="utf-8") as fh:
        fluids = json.load(fh)["fluids"]
    os.makedirs(outdir, exist_ok=True)
    for f in fluids:
        lines = header(f) + body(f)
        path = os.path.join(outdir, f["short_name"] + ".FLD")
        with open(path, "w", encoding="ascii", newline="\n") as fh:
            fh.write("\n".join(lines) + "\n")
    rows = []
    with open(os.path.join(data, "kij_pr.csv"), encoding="utf-8") as fh:
        for r in csv.DictReader(fh):
            rows.append("PR %-12s %-12s %-10s ! %s/%s" % (
                r["CAS1"], r["CAS2"], num(r["kij"]), r["name1"], r["name2"]))
    with open(os.path.join(outdir, "hmx.bnc"), "w", encoding="ascii", newline="\n") as fh:
        fh.write("! Binary interaction parameters, one pair per line:\n")
        fh.write("!   model CAS1 CAS2 kij   (kij = kji; pairs not listed have kij = 0)\n")
        fh.write("! PR: Peng-Robinson with van der Waals one-fluid mixing,\n")
        fh.write("!     a_ij = sqrt(a_i a_j) (1 - kij)\n")
        fh.write("\n".join(rows) + "\n")


if __name__ == "__main__":
    main()
