#!/usr/bin/env python3
"""Compares the calculation methods on the same plant.

Each group is one plant (one site data set of the default database) computed
with the analytic method and the time-step methods. The members of a group
differ only in the calculation settings `num`: where the default database
holds a member it is used as it is; where it does not (an analytic twin of a
time-step data set, a temperature twin of a reservoir plant), the script
creates the twin with `varnek-cli sweep` by varying only `num.art` and
`num.zeitraum` of the group's base data set, so plant, weather, heat pump
model and store stay the same.

For every member the script simulates the data set on a fresh default
database and reads the area section asked for (default 18 m²) with
`varnek-cli show --csv`. It prints per group
  - the yearly figures side by side: collector heat esa + ls, the
    intermediate heat pump's electricity nh, the main heat pump's
    electricity ok, the pump electricity zpk, jkk, degra_j, etawicht, with the
    difference of each member's collector heat and jkk from the reference;
  - the monthly collector heat, nh and zpk side by side, with the largest
    difference from the reference and the month it occurs in.

With --pruefen the script checks the bounds of the method comparison and
exits 1 when one fails: the yearly collector heat of every member within
20 % of the reference's, jkk within 15 %; no month with collector heat below
-0.5 kWh at any area; degra_m in [0, 1] in every month of every area;
etawicht in (0, 1) wherever the collector delivered heat. The bounds of a
member marked "frei" (shown for information, a different plant) are not
checked.

Usage: scripts/methodenvergleich.py [--cli PATH] [--flaeche A] [--gruppe NAME ...]
                                    [--keep DIR] [--pruefen]
Exit status 0 when every bound holds (or --pruefen is not given), 1 when a
bound fails, 2 when a run failed.
"""

import argparse
import csv
import io
import os
import shutil
import subprocess
import sys
import tempfile

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

GRENZE_KOLLEKTOR = 0.20   # relative difference of the yearly collector heat
GRENZE_JKK = 0.15         # relative difference of jkk
GRENZE_NEGATIV = -0.5     # kWh: lowest monthly collector heat allowed

# A member: (label, data set or None, variation of num for a twin, checked).
# A twin is created from the group's base with the given num columns.

def zwillinge(referenz, arten, mitglieder_info=(), modell="L"):
    """Members: the twins of the base for every method of `arten` (label: art, or
    art/zeitraum), all with the heat-pump model `modell`; then the default data sets
    named in `mitglieder_info`, shown for information."""
    zeitraum = {"A": "I", "V": "M", "T": "M", "M": "M", "V/I": "I"}
    m = []
    for a in arten:
        m.append((a, None, {"art": a.split("/")[0], "zeitraum": zeitraum[a], "modelltypwp": modell}, True))
    for label, satz in mitglieder_info:
        m.append((label, satz, None, False))
    return m


# The analytic method needs the linear model of the intermediate heat pump
# (it solves for the collector outflow with the linearised COP), so every
# twin of a group uses the linear model "L"; the default data sets computed
# with the polynomial model "4" are shown beside them for information.
GRUPPEN = [
    {
        "name": "Braunschweig EFH",
        "basis": "Braunschweig EFH",
        "referenz": "A",
        "mitglieder": zwillinge("A", ["A", "V", "T", "M", "V/I"],
                                [("V (4)", "Braunschweig EFH"), ("A (IAAN-N)", "test_ZJEG_IAAN-N_st0")]),
    },
    {
        "name": "Braunschweig EFH, Reservoir",
        "basis": "Braunschweig EFH Intervall M Reservoir",
        "referenz": "T",
        "mitglieder": zwillinge("T", ["T", "M", "V/I"],
                                [("M (4)", "Braunschweig EFH Intervall M Reservoir")]),
    },
    {
        "name": "Potsdam stündlich",
        "basis": "EFH Potsdam 2019 stuendlich Temperatur",
        "referenz": "A",
        "mitglieder": zwillinge("A", ["A", "V", "T", "M", "V/I"],
                                [("T (4)", "EFH Potsdam 2019 stuendlich Temperatur"),
                                 ("M (4)", "EFH Potsdam 2019 stuendlich Intervall M")]),
    },
    {
        "name": "Potsdam stündlich, Reservoir",
        "basis": "EFH Potsdam 2019 stuendlich Intervall M Reservoir",
        "referenz": "T",
        "mitglieder": zwillinge("T", ["T", "M", "V/I"],
                                [("M (4)", "EFH Potsdam 2019 stuendlich Intervall M Reservoir")]),
    },
    {
        "name": "Potsdam stündlich, Endreservoir",
        "basis": "EFH Potsdam 2019 stuendlich",
        "referenz": "A",
        "mitglieder": zwillinge("A", ["A", "V", "T", "M", "V/I"]),
    },
    {
        "name": "test_ZJEG_IAAN-D_st0",
        "basis": "test_ZJEG_IAAN-D_st0",
        "referenz": "A",
        "mitglieder": zwillinge("A", ["A", "V", "T", "M"], [("V (4)", "test_ZJEG_MAVN-D_st0")]),
    },
    {
        "name": "test_EJEG_IAAN-N_st0",
        "basis": "test_EJEG_IAAN-N_st0",
        "referenz": "A",
        "mitglieder": zwillinge("A", ["A", "V", "T", "M"], [("V (4)", "test_EJEG_MAVN-N_st0")]),
    },
]

SPALTEN_JAHR = ["kollektor", "nh", "ok", "zpk", "jkk", "degra_j", "etawicht"]


def finde_cli(pfad):
    if pfad:
        return pfad
    for p in ("release", "debug"):
        k = os.path.join(REPO, "build", p, "varnek-cli")
        if os.access(k, os.X_OK):
            return k
    sys.exit("varnek-cli not found: build the release preset or pass --cli")


def cli(exe, db, res, *args):
    return subprocess.run([exe, "--db", db, "--results", res, *args], capture_output=True,
                          text=True)


def letzte_zeile(text):
    zeilen = [z for z in text.strip().splitlines() if z.strip()]
    return zeilen[-1] if zeilen else ""


def lies_abschnitte(exe, db, res, datei):
    """[(area, {column: [12 monthly values]})] of every area section of a result file."""
    r = cli(exe, db, res, "show", datei, "--csv")
    if r.returncode != 0:
        raise RuntimeError(f"show {datei}: {letzte_zeile(r.stderr)}")
    abschnitte = []
    zeilen = list(csv.reader(io.StringIO(r.stdout)))
    i = 0
    while i < len(zeilen):
        z = zeilen[i]
        if z and z[0].startswith(("Fläche", "Area")):
            flaeche = float(z[1])
            kopf = [k.split(" [")[0] for k in zeilen[i + 1][1:]]
            werte = {k: [] for k in kopf}
            for mz in zeilen[i + 2:i + 14]:
                for k, v in zip(kopf, mz[1:]):
                    werte[k].append(float(v))
            abschnitte.append((flaeche, werte))
            i += 14
        else:
            i += 1
    if not abschnitte:
        raise RuntimeError("no area section in " + datei)
    return abschnitte


def kollektor_monate(w):
    return [w["esa"][m] + w["ls"][m] for m in range(12)]


def jahreswerte(w):
    return {
        "kollektor": sum(kollektor_monate(w)),
        "nh": sum(w["nh"]),
        "ok": sum(w["ok"]),
        "zpk": sum(w["zpk"]),
        "jkk": w["jkk"][0],
        "degra_j": w["degra_j"][0],
        "etawicht": w["etawicht"][0],
    }


def zwilling_anlegen(exe, db, res, basis, variation, name):
    args = ["sweep", basis, "--name", name]
    for spalte, wert in variation.items():
        args += ["--vary", f"num.{spalte}={wert}"]
    r = cli(exe, db, res, *args)
    if r.returncode != 0:
        raise RuntimeError(f"sweep {basis}: {letzte_zeile(r.stderr)}")


def rechne(exe, db, res, satz):
    r = cli(exe, db, res, "simulate", satz)
    if r.returncode != 0:
        raise RuntimeError(f"simulate {satz}: {letzte_zeile(r.stderr)}")
    for z in r.stdout.splitlines():
        if z.startswith(("Ergebnisdatei:", "Result file:")):
            return z.split(":", 1)[1].strip()
    raise RuntimeError(f"simulate {satz}: no result file named")


def abschnitt(abschnitte, flaeche):
    for a, w in abschnitte:
        if abs(a - flaeche) < 1e-9:
            return w
    return None


def relativ(x, ref):
    if ref == 0.0:
        return 0.0 if x == 0.0 else float("inf")
    return (x - ref) / abs(ref)


def pruefe_physik(label, abschnitte):
    """Bound violations of one member over all its area sections."""
    fehler = []
    for a, w in abschnitte:
        for m in range(12):
            q = w["esa"][m] + w["ls"][m]
            if q < GRENZE_NEGATIV:
                fehler.append(f"{label} {a:g} m² Monat {m + 1}: Kollektorwärme {q:.2f} kWh < {GRENZE_NEGATIV}")
            dg = w["degra_m"][m]
            if not 0.0 <= dg <= 1.0:
                fehler.append(f"{label} {a:g} m² Monat {m + 1}: degra_m {dg:.4f} außerhalb [0, 1]")
        if sum(kollektor_monate(w)) > 0.5:
            eta = w["etawicht"][0]
            if not 0.0 < eta < 1.0:
                fehler.append(f"{label} {a:g} m²: etawicht {eta:.4f} außerhalb (0, 1)")
    return fehler


def zeige_gruppe(g, ergebnisse, flaeche):
    """Prints the group's tables; returns the bound violations of its yearly figures."""
    fehler = []
    print(f"\n== {g['name']} ({flaeche:g} m²; Bezug {g['referenz']}) ==")
    labels = [m[0] for m in g["mitglieder"] if m[0] in ergebnisse]
    ref = ergebnisse.get(g["referenz"])
    jahr = {l: jahreswerte(ergebnisse[l]) for l in labels}
    print(f"{'':14}" + "".join(f"{l:>12}" for l in labels))
    for s in SPALTEN_JAHR:
        fmt = "{:>12.3f}" if s in ("degra_j", "etawicht") else "{:>12.1f}"
        print(f"{s:14}" + "".join(fmt.format(jahr[l][s]) for l in labels))
    if ref is not None:
        rj = jahreswerte(ref)
        for s in ("kollektor", "jkk"):
            print(f"{'Δ ' + s + ' %':14}" +
                  "".join(f"{100 * relativ(jahr[l][s], rj[s]):>12.1f}" for l in labels))
        for label, _, _, geprueft in g["mitglieder"]:
            if not geprueft or label not in jahr or label == g["referenz"]:
                continue
            dk = relativ(jahr[label]["kollektor"], rj["kollektor"])
            dj = relativ(jahr[label]["jkk"], rj["jkk"])
            if abs(dk) > GRENZE_KOLLEKTOR:
                fehler.append(f"{g['name']} {label}: Kollektorwärme {100 * dk:+.1f} % gegen {g['referenz']}")
            if abs(dj) > GRENZE_JKK:
                fehler.append(f"{g['name']} {label}: jkk {100 * dj:+.1f} % gegen {g['referenz']}")
    for titel, wert in (("Kollektorwärme esa+ls kWh", kollektor_monate),
                        ("nh kWh", lambda w: w["nh"]), ("zpk kWh", lambda w: w["zpk"])):
        print(f"\n  {titel}")
        print(f"  {'Monat':6}" + "".join(f"{l:>12}" for l in labels))
        reihen = {l: wert(ergebnisse[l]) for l in labels}
        for m in range(12):
            print(f"  {m + 1:<6}" + "".join(f"{reihen[l][m]:>12.1f}" for l in labels))
        if ref is not None:
            rr = wert(ref)
            zeile = []
            for l in labels:
                d = [reihen[l][m] - rr[m] for m in range(12)]
                mm = max(range(12), key=lambda m: abs(d[m]))
                zeile.append(f"{d[mm]:+.1f}@{mm + 1}")
            print(f"  {'max Δ':6}" + "".join(f"{z:>12}" for z in zeile))
    return fehler


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--cli", help="path of varnek-cli (default: build/release, then build/debug)")
    ap.add_argument("--flaeche", type=float, default=18.0, help="area section compared (m²)")
    ap.add_argument("--gruppe", nargs="*", help="only these groups (names as printed)")
    ap.add_argument("--keep", help="keep database and results in this (new or empty) folder")
    ap.add_argument("--pruefen", action="store_true", help="check the bounds, exit 1 on a violation")
    a = ap.parse_args()
    exe = finde_cli(a.cli)
    tmp = a.keep or tempfile.mkdtemp(prefix="methodenvergleich_")
    db, res = os.path.join(tmp, "db"), os.path.join(tmp, "res")
    os.makedirs(res, exist_ok=True)
    try:
        r = cli(exe, db, res, "init-db", db)
        if r.returncode != 0:
            print(letzte_zeile(r.stderr), file=sys.stderr)
            return 2
        alle_fehler = []
        fehlgeschlagen = False
        for nr, g in enumerate(GRUPPEN):
            if a.gruppe and g["name"] not in a.gruppe:
                continue
            ergebnisse = {}
            for label, satz, variation, geprueft in g["mitglieder"]:
                try:
                    if satz is None:
                        satz = f"vergleich {nr} {label}".replace("/", "-")
                        zwilling_anlegen(exe, db, res, g["basis"], variation, satz)
                    abschnitte = lies_abschnitte(exe, db, res, rechne(exe, db, res, satz))
                except RuntimeError as e:
                    print(f"{g['name']} {label}: {e}", file=sys.stderr)
                    fehlgeschlagen = True
                    continue
                w = abschnitt(abschnitte, a.flaeche)
                if w is None:
                    print(f"{g['name']} {label}: no section at {a.flaeche:g} m²", file=sys.stderr)
                    fehlgeschlagen = True
                    continue
                ergebnisse[label] = w
                if geprueft:
                    alle_fehler += pruefe_physik(f"{g['name']} {label}", abschnitte)
            alle_fehler += zeige_gruppe(g, ergebnisse, a.flaeche)
        if a.pruefen:
            print("\n== Grenzen ==")
            for f in alle_fehler:
                print("  " + f)
            print(f"  {len(alle_fehler)} Verletzung(en)")
        if fehlgeschlagen:
            return 2
        return 1 if a.pruefen and alle_fehler else 0
    finally:
        if not a.keep:
            shutil.rmtree(tmp, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
