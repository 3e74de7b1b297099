#!/usr/bin/env python3
"""Writes the engine's fluid files (*.FLD) and its mixture file (hmx.bnc).

Usage: make_fluid_files.py DATA_DIR OUT_DIR
DATA_DIR holds fluids.json, kij_pr.csv and mixing.json of the fluid data set. Run once; the
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
  #FEQ     multiparameter equation: "R r", "tred T", "rhored rho" (mol/L), then terms
           with tau = tred/T, delta = rho/rhored:
             term n d t gd ld gt lt eta eps beta gam:
               n delta^d tau^t exp(-gd delta^ld - gt tau^lt - eta (delta-eps)^2 - beta (tau-gam)^2)
             gaob n d t eta eps beta gam b:
               n delta^d tau^t exp(-eta (delta-eps)^2 + 1/(beta (tau-gam)^2 + b))
             na n a b beta A B C D: non-analytic term (critical region of water and CO2)
  #ANC     ancillary equations, theta = 1 - T/Tr: "ps|dl|dv form Tr value usetau n1 t1 ...";
           form exp: value exp(f sum n theta^t), f = Tr/T when usetau is 1;
           form lin: value (1 + sum n theta^t); ps in kPa, dl and dv in mol/L
The mixture file also carries the multi-fluid model: lines
  KW CAS1 CAS2 betaT gammaT betaV gammaV F departure   (departure "-" when F = 0)
and departure functions "DEP name", term lines as in #FEQ, "END".
"""
import csv
import json
import math
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


def term_line(n, d, t, gd=0.0, ld=0.0, gt=0.0, lt=0.0, eta=0.0, eps=0.0, beta=0.0, gam=0.0):
    return "term " + " ".join(num(v) for v in (n, d, t, gd, ld, gt, lt, eta, eps, beta, gam))


def residual_terms(alphar):
    """Every residual term type of the data set in the forms of the #FEQ section."""
    out = []
    for blk in alphar:
        kind = blk["type"]
        keys = [k for k, v in blk.items() if isinstance(v, list)]
        cols = [dict(zip(keys, vals)) for vals in zip(*[blk[k] for k in keys])]
        for c in cols:
            if kind == "ResidualHelmholtzPower":
                out.append(term_line(c["n"], c["d"], c["t"], 1.0 if c["l"] > 0 else 0.0, c["l"]))
            elif kind == "ResidualHelmholtzGaussian":
                out.append(term_line(c["n"], c["d"], c["t"], eta=c["eta"], eps=c["epsilon"],
                                     beta=c["beta"], gam=c["gamma"]))
            elif kind == "ResidualHelmholtzExponential":
                on = c["l"] > 0 and c["g"] != 0
                out.append(term_line(c["n"], c["d"], c["t"], c["g"] if on else 0.0, c["l"]))
            elif kind == "ResidualHelmholtzDoubleExponential":
                gd = c["gd"] if c["ld"] > 0 and c["gd"] != 0 else 0.0
                gt = c["gt"] if c["lt"] != 0 else 0.0
                out.append(term_line(c["n"], c["d"], c["t"], gd, c["ld"], gt, c["lt"]))
            elif kind == "ResidualHelmholtzLemmon2005":
                out.append(term_line(c["n"], c["d"], c["t"], 1.0 if c["l"] > 0 else 0.0, c["l"],
                                     1.0 if c["m"] != 0 else 0.0, c["m"]))
            elif kind == "ResidualHelmholtzGaoB":
                # stored eta is negative: exp(eta (delta-eps)^2) = exp(-(-eta) (delta-eps)^2)
                out.append("gaob " + " ".join(num(v) for v in (
                    c["n"], c["d"], c["t"], -c["eta"], c["epsilon"], c["beta"], c["gamma"], c["b"])))
            elif kind == "ResidualHelmholtzNonAnalytic":
                out.append("na " + " ".join(num(c[k]) for k in ("n", "a", "b", "beta", "A", "B", "C", "D")))
            else:
                raise SystemExit("unknown residual term type " + kind)
    return out


def departure_terms(dep):
    """Departure function terms in the #FEQ term form."""
    keys = [k for k in ("n", "t", "d", "l", "eta", "epsilon", "beta", "gamma") if k in dep]
    cols = [dict(zip(keys, vals)) for vals in zip(*[dep[k] for k in keys])]
    kind, npower = dep["type"], dep.get("Npower", 0)
    out = []
    for k, c in enumerate(cols):
        if kind == "Exponential" or (kind == "Gaussian+Exponential" and k < npower):
            out.append(term_line(c["n"], c["d"], c["t"], 1.0 if c["l"] > 0 else 0.0, c["l"]))
        elif kind == "Gaussian+Exponential":
            out.append(term_line(c["n"], c["d"], c["t"], eta=c["eta"], eps=c["epsilon"],
                                 beta=c["beta"], gam=c["gamma"]))
        elif kind == "GERG-2008" and k < npower:
            out.append(term_line(c["n"], c["d"], c["t"]))
        elif kind == "GERG-2008":
            # -eta (delta-eps)^2 - beta (delta-gam) = -eta (delta-eps')^2 + const, folded into n
            n, eta, eps, beta, gam = c["n"], c["eta"], c["epsilon"], c["beta"], c["gamma"]
            if eta != 0:
                e2 = eps - beta / (2 * eta)
                out.append(term_line(n * math.exp(eta * e2 * e2 - eta * eps * eps + beta * gam),
                                     c["d"], c["t"], eta=eta, eps=e2))
            else:
                out.append(term_line(n * math.exp(beta * gam), c["d"], c["t"], beta, 1.0))
        else:
            raise SystemExit("unknown departure function type " + kind)
    return out


def mixture_lines(mixing):
    out = ["! Multi-fluid model: reducing functions and departure functions of the pairs",
           "!   KW CAS1 CAS2 betaT gammaT betaV gammaV F departure   (oriented: i = CAS1)"]
    for p in mixing["pairs"]:
        q = p if p["reducing_form"] == "beta_gamma" else p["equivalent_beta_gamma"]
        out.append("KW %-12s %-12s %s %s %s %s %s %s ! %s/%s" % (
            p["cas1"], p["cas2"], num(q["betaT"]), num(q["gammaT"]), num(q["betaV"]), num(q["gammaV"]),
            num(p["F"]), p["departure_function"] or "-", p["fluid1"], p["fluid2"]))
    for name, dep in mixing["departure_functions"].items():
        out.append("DEP %s" % name)
        out += departure_terms(dep)
        out.append("END")
    return out


def ancillary_lines(anc):
    out = []
    for key, code in (("pS", "ps"), ("rhoL", "dl"), ("rhoV", "dv")):
        a = anc.get(key)
        if not a:
            continue
        form = "lin" if a["type"] == "rhoLnoexp" else "exp"
        pairs = " ".join("%s %s" % (num(n), num(t)) for n, t in zip(a["n"], a["t"]))
        out.append("%s %s %s %s %d %s" % (code, form, num(a["T_r"]), num(a["reducing_value"] / 1000.0),
                                          1 if a["using_tau_r"] else 0, pairs))
    return out


def body(f):
    out = ["", "#MODELS            !model codes provided, per category"]
    out.append("EOS NBS FEQ PR")
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
    red = eos["reducing"]
    out += ["", "#FEQ               !multiparameter Helmholtz equation, residual part",
            "R %s" % num(eos["gas_constant_J_per_mol_K"]), "tred %s" % num(red["T_K"]),
            "rhored %s" % num(red["rho_mol_per_L"])]
    out += residual_terms(eos["alphar"])
    out += ["", "#ANC               !ancillary equations (starting values)"]
    out += ancillary_lines(f["ancillaries"])
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
        with open(os.path.join(data, "mixing.json"), encoding="utf-8") as mh:
            fh.write("\n".join(mixture_lines(json.load(mh))) + "\n")


if __name__ == "__main__":
    main()
