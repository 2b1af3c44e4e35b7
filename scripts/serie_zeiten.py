#!/usr/bin/env python3
"""Wall time of `batch --jobs 1` against `batch --jobs N` on the default data sets
that use a time-step method (num.art "V" velocity or "T" temperature), and the
peak resident memory of the batch process and of its largest worker (sampled
from /proc while it runs).

Each measurement starts from a fresh copy of a default database that holds only
those data sets (the others are deleted from `haupt` so that the series covers
exactly them), with an empty result folder. Data sets the runner refuses (a
method this version does not compute) are left out after a first pass.

    scripts/serie_zeiten.py [--cli build/release/varnek-cli] [--jobs 2] [--repeat 3]
"""
import argparse
import os
import shutil
import sqlite3
import subprocess
import sys
import resource
import tempfile
import threading
import time


def hwm_kib(pid):
    """Peak resident memory (VmHWM) of a process, KiB; None when it is gone."""
    try:
        with open(f"/proc/{pid}/status") as f:
            for z in f:
                if z.startswith("VmHWM:"):
                    return int(z.split()[1])
    except OSError:
        return None
    return None


def kinder(pid):
    try:
        with open(f"/proc/{pid}/task/{pid}/children") as f:
            return [int(x) for x in f.read().split()]
    except OSError:
        return []


def lauf(cli, db, res, jobs):
    """Runs the batch; returns exit status, stderr, wall time, the peak memory
    of the batch process and the largest peak of one worker (KiB, sampled)."""
    r0 = resource.getrusage(resource.RUSAGE_CHILDREN)
    t0 = time.monotonic()
    p = subprocess.Popen([cli, "--db", db, "--results", res, "batch", "--jobs", str(jobs)],
                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    eltern, arbeiter = 0, 0
    fehler = []
    leser = threading.Thread(target=lambda: fehler.append(p.stderr.read()))
    leser.start()
    while p.poll() is None:
        eltern = max(eltern, hwm_kib(p.pid) or 0)
        for k in kinder(p.pid):
            arbeiter = max(arbeiter, hwm_kib(k) or 0)
        time.sleep(0.02)
    t = time.monotonic() - t0
    leser.join()
    r1 = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (r1.ru_utime + r1.ru_stime) - (r0.ru_utime + r0.ru_stime)
    return p.returncode, "".join(fehler), t, cpu, eltern, arbeiter


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--cli", default=os.path.join(os.path.dirname(__file__), "..", "build", "release", "varnek-cli"))
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--repeat", type=int, default=3)
    a = ap.parse_args()
    cli = os.path.abspath(a.cli)

    with tempfile.TemporaryDirectory(prefix="varnek-zeiten-") as w:
        basis = os.path.join(w, "basis")
        subprocess.run([cli, "init-db", basis], check=True, stdout=subprocess.DEVNULL)
        num = sqlite3.connect(os.path.join(basis, "NUM.sqlite"))
        art = dict(num.execute("select name, art from num"))
        num.close()
        haupt = sqlite3.connect(os.path.join(basis, "HAUPT.sqlite"))
        zeilen = haupt.execute("select name, num from haupt").fetchall()
        weg = [n for n, nm in zeilen if art.get(nm) not in ("V", "T")]
        haupt.executemany("delete from haupt where name = ?", [(n,) for n in weg])
        haupt.execute("update haupt set lock = 'NF'")
        haupt.commit()
        # First pass, one data set at a time: drop the ones this version refuses.
        namen = [n for n, nm in zeilen if art.get(nm) in ("V", "T")]
        for n in namen:
            probe = os.path.join(w, "probe")
            shutil.rmtree(probe, ignore_errors=True)
            p = subprocess.run([cli, "--db", basis, "--results", probe, "simulate", n],
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
            if p.returncode != 0:
                print(f"left out: {n}: {p.stderr.strip().splitlines()[-1]}")
                haupt.execute("delete from haupt where name = ?", (n,))
        haupt.commit()
        anzahl = haupt.execute("select count(*) from haupt").fetchone()[0]
        haupt.close()
        print(f"data sets: {anzahl}; load average before: {os.getloadavg()[0]:.2f}")

        ergebnisse = {1: [], a.jobs: []}
        cpuzeiten = {1: [], a.jobs: []}
        for r in range(a.repeat):
            for jobs in (1, a.jobs):
                db = os.path.join(w, f"db{jobs}")
                res = os.path.join(w, f"res{jobs}")
                shutil.rmtree(db, ignore_errors=True)
                shutil.rmtree(res, ignore_errors=True)
                shutil.copytree(basis, db)
                last = os.getloadavg()[0]
                rc, err, t, cpu, eltern, arbeiter = lauf(cli, db, res, jobs)
                if rc != 0:
                    print(err, file=sys.stderr)
                    sys.exit(f"batch --jobs {jobs} failed")
                ergebnisse[jobs].append(t)
                cpuzeiten[jobs].append(cpu)
                print(f"run {r + 1}: --jobs {jobs}: {t:7.2f} s wall, {cpu:7.2f} s CPU  (load before {last:.2f}; peak memory: "
                      f"batch {eltern / 1024:.1f} MiB" + (f", largest worker {arbeiter / 1024:.1f} MiB" if arbeiter else "")
                      + ")")
        t1, tn = min(ergebnisse[1]), min(ergebnisse[a.jobs])
        print(f"best of {a.repeat}: --jobs 1 {t1:.2f} s, --jobs {a.jobs} {tn:.2f} s, speed-up {t1 / tn:.2f}x")
        # On a machine shared with other work the wall time shows the share of
        # the cores the batch got; the CPU time shows what the workers cost.
        c1, cn = min(cpuzeiten[1]), min(cpuzeiten[a.jobs])
        print(f"CPU time: --jobs 1 {c1:.2f} s, --jobs {a.jobs} {cn:.2f} s (+{100 * (cn / c1 - 1):.1f} %); "
              f"speed-up bound with {a.jobs} free cores: {a.jobs * c1 / cn:.2f}x")


if __name__ == "__main__":
    main()
