#!/usr/bin/env python3
"""Runs the data sets of the default database with a chosen calculation method
(num.art: "A" analytic by default, "V" velocity, "T" temperature, "M") and
checks the results from the outside.

Prints
  (a) the yearly figures of the last area step of each data set: jkk, degra_j,
      jaz_ww, jaz_we, etawicht, the pump electricity (sum of zpk), the largest
      pump power and the warnings the run reported;
  (b) per data set and month the supply side of the last area step: heat
      delivered (eg) against collector heat + heat-pump share + heat of the
      heating without coupling, with the residual; a month outside
      1 % + 0.5 kWh is flagged "!!".

Supply side, from the monthly columns of the result file:
  coupling "Z": collector = esa + ls (collector heat after charging),
                heat pump = nh (electricity of the ww pump, which lifts the
                collector heat), without coupling = ok * copwe (we pump);
                a directly coupled plant (an.LeistungWP "DK", "DKF") keeps its
                collector heat out of esa and ls: collector = er (the heat the
                pump delivers from it, its electricity included), heat pump 0;
  coupling "E": collector = esa + ls (collector heat offered to the end store;
                ls, the heat from or to the air of the air-swept collector, is 0
                in the analytic method),
                heat pump = nh * copwe (the we pump lifts the collector heat
                from tf to the supply temperature), without coupling = ok * copwe.
                In withdrawal months of a long-term store the ww pump lifts
                store heat to the supply temperature: the store heat was
                counted in eg when it was charged, so the month gets only the
                pump's electricity z, booked in ok as final energy and in eg
                as heat, one to one (first law). No monthly column separates
                z from the we pump's electricity in ok, so the formula above
                counts z at copwe and leaves a residual of -z (copwe - 1).
                Such a month is marked "ww" rather than "!!" when the coupling
                is "E", the ww pump ran in the year (jaz_ww > 0) and the
                residual lies in [-(copwe - 1) ok, 0) (z cannot exceed ok);
                it is counted apart and does not fail the check.

Only varnek-cli and the Python standard library are used: a fresh default
database is created in a scratch folder (init-db), its tables are read with
sqlite3 to pick the data sets, each is simulated (or optimised) and its result
file read back with `varnek-cli show --csv`.

Usage: scripts/bilanz_analytisch.py [--cli PATH] [--build] [--keep DIR] [--only NAME ...]
                                    [--arten A V T M] [--optimise]
  e.g. the time-step data sets:  scripts/bilanz_analytisch.py --arten V T
Exit status 0 when every month closes, 1 otherwise, 2 when a run failed.
"""

import argparse
import csv
import io
import os
import shutil
import sqlite3
import subprocess
import sys
import tempfile

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TOLERANZ_REL = 0.01
TOLERANZ_ABS = 0.5  # kWh


def finde_cli(pfad, bauen):
    if pfad:
        return pfad
    kandidaten = [os.path.join(REPO, "build", p, "varnek-cli") for p in ("release", "debug")]
    if not bauen:
        for k in kandidaten:
            if os.access(k, os.X_OK):
                return k
    subprocess.run(["cmake", "--preset", "release"], cwd=REPO, check=True,
                   stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", "--preset", "release", "--target", "varnek-cli"],
                   cwd=REPO, check=True, stdout=subprocess.DEVNULL)
    return kandidaten[0]


def cli(exe, db, res, *args):
    return subprocess.run([exe, "--db", db, "--results", res, *args], capture_output=True,
                          text=True)


def datensaetze(db, arten):
    """(name, coupling, directly coupled) of every haupt row whose num row has an art
    of `arten`, in key order."""
    haupt = sqlite3.connect(os.path.join(db, "HAUPT.sqlite"))
    num = sqlite3.connect(os.path.join(db, "NUM.sqlite"))
    an = sqlite3.connect(os.path.join(db, "AN.sqlite"))
    art = dict(num.execute("select name, art from num"))
    kopplung = {n: (k, l in ("DK", "DKF"))
                for n, k, l in an.execute('select Name, Kopplungstyp, LeistungWP from an')}
    zeilen = haupt.execute("select name, num, an from haupt order by name").fetchall()
    return [(n, *kopplung.get(a, ("?", False))) for n, nm, a in zeilen if art.get(nm) in arten]


def lies_letzten_schritt(exe, db, res, datei):
    """Area and {column: [12 monthly values]} of the last area step of a .sim file."""
    r = cli(exe, db, res, "show", datei, "--csv")
    if r.returncode != 0:
        raise RuntimeError(r.stderr.strip().splitlines()[-1] if r.stderr else "show failed")
    abschnitte = []
    zeilen = list(csv.reader(io.StringIO(r.stdout)))
    i = 0
    while i < len(zeilen):
        z = zeilen[i]
        if z and z[0].startswith("Fläche"):
            flaeche = float(z[1])
            kopf = [k.split(" [")[0] for k in zeilen[i + 1][1:]]
            einheiten = [k.split(" [")[1].rstrip("]") if " [" in k else "" for k in zeilen[i + 1][1:]]
            werte = {k: [] for k in kopf}
            for mz in zeilen[i + 2:i + 14]:
                for k, v in zip(kopf, mz[1:]):
                    werte[k].append(float(v))
            abschnitte.append((flaeche, werte, dict(zip(kopf, einheiten))))
            i += 14
        else:
            i += 1
    if not abschnitte:
        raise RuntimeError("no area step in " + datei)
    flaeche, werte, einheiten = abschnitte[-1]
    for k in ("eg", "er", "esa", "ls", "nh", "ok", "zpk", "jkk"):
        if einheiten.get(k) != "kWh":
            raise RuntimeError(f"column {k} is in {einheiten.get(k)}, expected kWh")
    return flaeche, werte


def versorgung(kopplung, direkt, w, m):
    """Collector heat, heat-pump share and heat without coupling of month m (0-based)."""
    copwe = w["copwe"][m]
    if kopplung == "E":
        return w["esa"][m] + w["ls"][m], w["nh"][m] * copwe, w["ok"][m] * copwe
    if direkt:
        return w["er"][m], 0.0, w["ok"][m] * copwe
    return w["esa"][m] + w["ls"][m], w["nh"][m], w["ok"][m] * copwe


def ww_pumpe_aus_langzeitspeicher(kopplung, w, m, rest):
    """Coupling E: a negative residual no larger than (copwe - 1) * ok in a year in
    which the ww pump ran is the ww pump's electricity for long-term store heat,
    booked one to one (see the module text)."""
    if kopplung != "E" or w["jaz_ww"][0] <= 0.0 or not rest < 0.0:
        return False
    return -rest <= (w["copwe"][m] - 1.0) * w["ok"][m] + TOLERANZ_ABS


def warnungen(stderr):
    """Warnings and errors a run reported, counted: {first words: count}."""
    zaehler = {}
    for z in stderr.splitlines():
        if z.startswith(("Warnung", "Fehler", "Warning", "Error")):
            kurz = z.split(" #")[0].split(" Anwendung beenden?")[0]
            zaehler[kurz] = zaehler.get(kurz, 0) + 1
    return zaehler


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--cli", help="path of varnek-cli (default: build/release, then build/debug)")
    ap.add_argument("--build", action="store_true", help="build the release varnek-cli first")
    ap.add_argument("--keep", help="keep database and results in this (new or empty) folder")
    ap.add_argument("--only", nargs="*", help="only these data sets")
    ap.add_argument("--arten", nargs="*", default=["A"],
                    help="calculation methods (num.art) to run: A, V, T, M (default A)")
    ap.add_argument("--optimise", action="store_true", help="optimise instead of simulate")
    a = ap.parse_args()

    exe = finde_cli(a.cli, a.build)
    if a.keep:
        os.makedirs(a.keep, exist_ok=True)
        arbeit = a.keep
    else:
        arbeit = tempfile.mkdtemp(prefix="varnek_bilanz_")
    db, res = os.path.join(arbeit, "db"), os.path.join(arbeit, "res")
    try:
        r = cli(exe, db, res, "init-db", db)
        if r.returncode != 0:
            print("init-db failed:", r.stderr.strip(), file=sys.stderr)
            return 2
        saetze = datensaetze(db, a.arten)
        if a.only:
            saetze = [s for s in saetze if s[0] in a.only]
        ergebnisse = []
        fehler = 0
        befehl = "optimise" if a.optimise else "simulate"
        for name, kopplung, direkt in saetze:
            r = cli(exe, db, res, "--abort-on-question", befehl, name)
            if r.returncode != 0:
                grund = r.stderr.strip().splitlines()[-1] if r.stderr.strip() else "?"
                print(f"{name}: run failed: {grund}", file=sys.stderr)
                fehler += 1
                continue
            datei = next((z.split(": ", 1)[1] for z in r.stdout.splitlines()
                          if z.startswith(("Ergebnisdatei: ", "Result file: "))), None)
            if datei is None:
                print(f"{name}: no result file named", file=sys.stderr)
                fehler += 1
                continue
            flaeche, w = lies_letzten_schritt(exe, db, res, datei)
            ergebnisse.append((name, kopplung, direkt, flaeche, w, warnungen(r.stderr)))

        print(f"(a) last area step per data set ({befehl})")
        print(f"{'data set':38} {'A qm':>5} {'jkk':>9} {'degra_j':>8} {'jaz_ww':>7} "
              f"{'jaz_we':>7} {'etawicht':>8} {'eg kWh':>8} {'pump kWh':>9} {'lpu max W':>9}  warnings")
        for name, kopplung, direkt, flaeche, w, gemeldet in ergebnisse:
            hinweise = "; ".join(f"{n}x {t}" for t, n in gemeldet.items()) or "-"
            print(f"{name:38} {flaeche:5.0f} {w['jkk'][0]:9.1f} {w['degra_j'][0]:8.3f} "
                  f"{w['jaz_ww'][0]:7.2f} {w['jaz_we'][0]:7.2f} {w['etawicht'][0]:8.3f} "
                  f"{sum(w['eg']):8.0f} {sum(w['zpk']):9.1f} {max(w['lpu']):9.1f}  {hinweise}")

        print()
        print("(b) supply side per month, last area step: eg = collector + heat pump + "
              "without coupling")
        offen = 0
        ww_entnahme = 0
        for name, kopplung, direkt, flaeche, w, _ in ergebnisse:
            print(f"{name} (coupling {kopplung}{', direct' if direkt else ''}, A = {flaeche:g} qm)")
            print(f"  {'m':>2} {'eg':>9} {'collector':>9} {'heatpump':>9} {'w/o coupl':>9} "
                  f"{'residual':>9}")
            summe = [0.0] * 5
            for m in range(12):
                kol, wp, ok = versorgung(kopplung, direkt, w, m)
                eg = w["eg"][m]
                rest = eg - (kol + wp + ok)
                schlecht = abs(rest) > TOLERANZ_REL * abs(eg) + TOLERANZ_ABS
                marke = "  !!" if schlecht else ""
                if schlecht and ww_pumpe_aus_langzeitspeicher(kopplung, w, m, rest):
                    schlecht = False
                    ww_entnahme += 1
                    marke = "  ww"
                offen += schlecht
                for i, x in enumerate((eg, kol, wp, ok, rest)):
                    summe[i] += x
                print(f"  {m + 1:2d} {eg:9.1f} {kol:9.1f} {wp:9.1f} {ok:9.1f} {rest:9.1f}{marke}")
            print(f"  {'a':>2} " + " ".join(f"{x:9.1f}" for x in summe))
        print()
        print(f"{len(ergebnisse)} data sets, {offen} months outside 1 % + 0.5 kWh, "
              f"{ww_entnahme} months with the ww pump's store withdrawal (ww), {fehler} failed runs")
        if fehler:
            return 2
        return 1 if offen else 0
    finally:
        if not a.keep:
            shutil.rmtree(arbeit, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
