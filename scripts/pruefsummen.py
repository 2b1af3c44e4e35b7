#!/usr/bin/env python3
"""Checksums of every result file the default database gives.

Creates the default database in a scratch folder, simulates every data set
(.sim and .str) and optimises it (.dat), and prints one line per file:
"<sha256>  <data set>  <file name>". With --vergleiche FILE the lines are
compared with a list captured before: every difference is printed and the
exit status is 1. A refactoring that must not change a single figure keeps
this list unchanged; a change of the physics captures it anew
(--schreibe FILE).

Usage: scripts/pruefsummen.py [--cli PATH] [--jobs N] [--threads N] [--schreibe FILE | --vergleiche FILE]
Exit status 0 when every file matches (or nothing was compared), 1 on a
difference, 2 when a run failed.
"""

import argparse
import concurrent.futures
import hashlib
import os
import shutil
import sqlite3
import subprocess
import sys
import tempfile

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def finde_cli(pfad):
    if pfad:
        return pfad
    for p in ("release", "debug"):
        k = os.path.join(REPO, "build", p, "varnek-cli")
        if os.access(k, os.X_OK):
            return k
    sys.exit("varnek-cli not found: build the release preset or pass --cli")


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--cli")
    ap.add_argument("--jobs", type=int, default=os.cpu_count() or 1, help="runs at the same time")
    ap.add_argument("--threads", type=int, help="--threads of every simulate and optimise (default: the runner's)")
    g = ap.add_mutually_exclusive_group()
    g.add_argument("--schreibe", help="write the checksums into this file")
    g.add_argument("--vergleiche", help="compare with the checksums in this file")
    a = ap.parse_args()
    exe = finde_cli(a.cli)
    tmp = tempfile.mkdtemp(prefix="pruefsummen_")
    try:
        db = os.path.join(tmp, "db")
        r = subprocess.run([exe, "init-db", db], capture_output=True, text=True)
        if r.returncode != 0:
            print(r.stderr, file=sys.stderr)
            return 2
        haupt = sqlite3.connect(os.path.join(db, "HAUPT.sqlite"))
        namen = [n for (n,) in haupt.execute("select name from haupt order by name")]
        haupt.close()

        # Every run into a result folder of its own, so that no two runs
        # share a catalogue or a file name.
        def lauf(aufgabe):
            nr, name, befehl = aufgabe
            res = os.path.join(tmp, f"res{nr}")
            os.makedirs(res, exist_ok=True)
            faden = ["--threads", str(a.threads)] if a.threads else []
            r = subprocess.run([exe, "--db", db, "--results", res, befehl, name, *faden], capture_output=True, text=True)
            if r.returncode != 0:
                return name, befehl, None, r.stderr.strip().splitlines()[-1:]
            zeilen = []
            for datei in sorted(os.listdir(res)):
                if datei.endswith((".sim", ".dat", ".str")):
                    with open(os.path.join(res, datei), "rb") as f:
                        zeilen.append(f"{hashlib.sha256(f.read()).hexdigest()}  {name}  {datei}")
            return name, befehl, zeilen, None

        aufgaben = [(2 * i + j, n, b) for i, n in enumerate(namen) for j, b in enumerate(("simulate", "optimise"))]
        zeilen, fehlgeschlagen = [], False
        with concurrent.futures.ThreadPoolExecutor(max_workers=max(1, a.jobs)) as pool:
            for name, befehl, z, fehler in pool.map(lauf, aufgaben):
                if z is None:
                    print(f"{befehl} {name}: {fehler}", file=sys.stderr)
                    fehlgeschlagen = True
                else:
                    zeilen += z
        zeilen.sort(key=lambda z: z.split("  ", 1)[1])
        if a.schreibe:
            with open(a.schreibe, "w", encoding="utf-8") as f:
                f.write("\n".join(zeilen) + "\n")
        elif a.vergleiche:
            with open(a.vergleiche, encoding="utf-8") as f:
                vorher = {z.split("  ", 1)[1]: z.split("  ", 1)[0] for z in f.read().splitlines() if z}
            jetzt = {z.split("  ", 1)[1]: z.split("  ", 1)[0] for z in zeilen}
            abweichend = sorted(k for k in vorher.keys() | jetzt.keys() if vorher.get(k) != jetzt.get(k))
            for k in abweichend:
                print(f"anders: {k} ({vorher.get(k, 'fehlt')[:12]} -> {jetzt.get(k, 'fehlt')[:12]})")
            print(f"{len(jetzt)} Dateien, {len(abweichend)} anders")
            if abweichend:
                return 1
        else:
            print("\n".join(zeilen))
        return 2 if fehlgeschlagen else 0
    finally:
        shutil.rmtree(tmp, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
