#!/usr/bin/env python3
"""Fault cases of the runner, tried as a user or a script would.

Every case runs varnek-cli on a fresh copy of the default database and a fresh
result folder and is classified:

  ok       the case behaved: invalid input refused cleanly (exit status 1, or 2
           for a wrong command line; the last stderr line is the reason; no new
           file, no new catalogue row, the database unchanged, no hang), or a
           valid case succeeded with a file that reads back whole;
  silent   invalid input succeeded (exit status 0);
  fault    anything else: a hang, a crash, a partial or escaped file, an orphan
           catalogue row, a changed database, a wrong reason or status.

Usage: python3 scripts/fehlerfaelle.py [path/to/varnek-cli] [--family X]
Cases that need root (a full disk on tmpfs, a read-only bind mount) are
skipped without it. Exit status 0 when every case is "ok".
"""

import hashlib
import os
import resource
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import time

HIER = os.path.dirname(os.path.abspath(__file__))
QUELLE = os.path.dirname(HIER)

SATZ = "test_ZJEG_IAAN-N_st0"            # analytic, monthly: a fast run
SATZ_STUENDLICH = "test_ir_D_EJEG_IAAN-D_st0"
SIM = "test_ausgabe_ZJEG_IAAN-N_st0.sim"
STR = "test_steuer_ZJEG_IAAN-N_st0.str"
ZEITLIMIT = 60
STOP_GRENZE = 20   # seconds from STOP to the end of a control run, as the README says


def finde_cli(argumente):
    for a in argumente:
        if not a.startswith("--") and os.path.isfile(a):
            return os.path.abspath(a)
    for preset in ("release", "debug"):
        p = os.path.join(QUELLE, "build", preset, "varnek-cli")
        if os.path.isfile(p):
            return p
    sys.exit("varnek-cli not found; build it or pass its path")


class Umgebung:
    """A scratch folder with a pristine database and one case's folders."""

    def __init__(self, cli):
        self.cli = cli
        self.wurzel = tempfile.mkdtemp(prefix="varnek_fehlerfaelle_")
        self.original = os.path.join(self.wurzel, "db_original")
        r = subprocess.run([cli, "init-db", self.original], capture_output=True, text=True)
        if r.returncode != 0:
            sys.exit("init-db failed: " + r.stderr)
        self.nummer = 0

    def neuer_fall(self):
        self.nummer += 1
        self.ordner = os.path.join(self.wurzel, "fall%03d" % self.nummer)
        os.makedirs(self.ordner)
        self.db = os.path.join(self.ordner, "db")
        self.res = os.path.join(self.ordner, "res")
        shutil.copytree(self.original, self.db)
        os.makedirs(self.res)

    def sql(self, datei, anweisung, *parameter):
        con = sqlite3.connect(os.path.join(self.db, datei))
        con.execute(anweisung, parameter)
        con.commit()
        con.close()

    def haupt(self, setze, *parameter, satz=SATZ):
        self.sql("HAUPT.sqlite", "UPDATE haupt SET %s WHERE name = ?" % setze, *parameter, satz)

    def aufruf(self, argumente, mit_ordnern=True, vorher=None):
        a = [self.cli]
        if mit_ordnern:
            a += ["--db", self.db, "--results", self.res]
        a += argumente
        try:
            r = subprocess.run(a, capture_output=True, text=True, timeout=ZEITLIMIT, preexec_fn=vorher,
                               cwd=self.ordner)
            return r.returncode, r.stdout, r.stderr
        except subprocess.TimeoutExpired:
            return None, "", "TIMEOUT"

    def aufraeumen(self):
        shutil.rmtree(self.wurzel, ignore_errors=True)


def db_stand(db):
    return {n: hashlib.sha256(open(os.path.join(db, n), "rb").read()).hexdigest()
            for n in sorted(os.listdir(db)) if os.path.isfile(os.path.join(db, n))}


def res_stand(res):
    if not os.path.isdir(res):
        return set()
    return {n for n in os.listdir(res) if n not in ("Protokoll.pro", "Protocol.pro")}


def katalogzeilen(db):
    p = os.path.join(db, "RESULT.sqlite")
    if not os.path.exists(p):
        return 0
    con = sqlite3.connect("file:%s?mode=ro" % p, uri=True)
    try:
        return con.execute("SELECT count(*) FROM result").fetchone()[0]
    except sqlite3.Error:
        return 0
    finally:
        con.close()


def letzte_zeile(text):
    zeilen = [z for z in text.splitlines() if z.strip()]
    return zeilen[-1] if zeilen else ""


def abschnitte(datei):
    """(announced, written) sections of a result or control file."""
    daten = open(datei, "rb").read()
    zeilen = daten.split(b"\r\n")
    angekuendigt = int(zeilen[1].split(b"\0")[0].split(b",")[2])
    geschrieben = sum(1 for z in zeilen[2:] if z.startswith(b"Fl\xe4che, ") or z.startswith(b"Area, "))
    return angekuendigt, geschrieben


def epw_jahr(ziel, zeilen=None, bom=False, tausche=None):
    """The measured hourly year 2019 of Potsdam (data/reference) as an EPW
    file; `zeilen` keeps only the first lines (a file cut off while copied),
    `tausche` = line number n swaps lines n and n + 1."""
    kopf = ["LOCATION,Potsdam,BB,DEU,DWD 3987,10379,52.38,13.06,1.0,81.0", "DESIGN CONDITIONS,0",
            "TYPICAL/EXTREME PERIODS,0", "GROUND TEMPERATURES,0", "HOLIDAYS/DAYLIGHT SAVINGS,No,0,0,0",
            "COMMENTS 1,Quelle: Deutscher Wetterdienst", "COMMENTS 2,", "DATA PERIODS,1,1,Data,Tuesday, 1/ 1,12/31"]
    daten = []
    with open(os.path.join(QUELLE, "data", "reference", "weather_potsdam_2019_dwd_hourly.csv")) as f:
        next(f)
        for z in f:
            x = z.strip().split(",")
            m, d, h = int(x[1][5:7]), int(x[1][8:10]), int(x[1][11:13]) + 1
            daten.append("2019,%d,%d,%d,60,-,%s,99.9,%s,99999,9999,9999,9999,%s,9999,%s,999999,999999,999999,"
                         "9999,%s,%s,99,99,9999,99999,9,999999999,999,0.999,999,99,999,999,99"
                         % (m, d, h, x[4], x[5], x[2], x[3], x[7], x[6]))
    alle = kopf + daten
    if tausche:
        alle[tausche - 1], alle[tausche] = alle[tausche], alle[tausche - 1]
    if zeilen:
        alle = alle[:zeilen]
    with open(ziel, "wb") as f:
        if bom:
            f.write(b"\xef\xbb\xbf")
        f.write(("\r\n".join(alle) + "\r\n").encode())
    return ziel


def detailzeilen(db, name):
    con = sqlite3.connect("file:%s?mode=ro" % os.path.join(db, "IR_TA_D.sqlite"), uri=True)
    try:
        return con.execute("SELECT count(*) FROM ir_ta_d WHERE name = ?", (name,)).fetchone()[0]
    finally:
        con.close()


# --- checks -----------------------------------------------------------------

def abgelehnt(u, argumente, grund=None, status=1, vorher=None, zusatz=None):
    """Runs an invalid case; returns (verdict, detail)."""
    db0, res0, kat0 = db_stand(u.db), res_stand(u.res), katalogzeilen(u.db)
    start = time.time()
    rc, aus, err = u.aufruf(argumente, vorher=vorher)
    dauer = time.time() - start
    zeile = letzte_zeile(err)
    if rc is None:
        return "fault", "hang (> %d s)" % ZEITLIMIT
    if rc == 0:
        return "silent", "exit 0: " + letzte_zeile(aus)
    fehler = []
    if rc != status:
        fehler.append("exit %s, expected %s" % (rc, status))
    if not zeile.startswith("varnek-cli: ") or "abgebrochen" in zeile or "abandoned" in zeile:
        fehler.append("reason line: " + zeile)
    if grund and grund not in zeile:
        fehler.append("reason lacks %r: %s" % (grund, zeile))
    neu = res_stand(u.res) - res0
    if neu:
        fehler.append("new files: %s" % sorted(neu))
    if katalogzeilen(u.db) != kat0:
        fehler.append("catalogue rows %d -> %d" % (kat0, katalogzeilen(u.db)))
    if db_stand(u.db) != db0:
        fehler.append("database changed")
    if zusatz:
        fehler += zusatz()
    if fehler:
        return "fault", "; ".join(fehler)
    return "ok", "%s (%.1f s)" % (zeile[:110], dauer)


def gelungen(u, argumente, datei=SIM, vorher=None):
    """Runs a valid case: exit 0, a whole file that reads back, its row."""
    rc, aus, err = u.aufruf(argumente, vorher=vorher)
    if rc is None:
        return "fault", "hang"
    if rc != 0:
        return "fault", "exit %s: %s" % (rc, letzte_zeile(err))
    pfad = os.path.join(u.res, datei)
    if not os.path.exists(pfad):
        return "fault", "no result file"
    angekuendigt, geschrieben = abschnitte(pfad)
    if angekuendigt != geschrieben:
        return "fault", "announces %d sections, holds %d" % (angekuendigt, geschrieben)
    rc2, _, err2 = u.aufruf(["show", pfad])
    if rc2 != 0:
        return "fault", "show refuses it: " + letzte_zeile(err2)
    rest = [n for n in res_stand(u.res) if n.startswith(".")]
    if rest:
        return "fault", "left over: %s" % rest
    return "ok", "%d section(s)" % geschrieben


# --- the cases --------------------------------------------------------------

def faelle():
    f = []

    def fall(familie, name, ausfuehren):
        f.append((familie, name, ausfuehren))

    # 1. Hang: counts from data overflow the area, tilt and power steps.
    for name, datei, anweisung, befehl in [
        ("maxa = 1e308", "RECH.sqlite", "UPDATE rech SET maxa = 1e308", "simulate"),
        ("maxa = Inf", "RECH.sqlite", "UPDATE rech SET maxa = 9e999", "simulate"),
        ("maxa = -Inf", "RECH.sqlite", "UPDATE rech SET maxa = -9e999", "simulate"),
        ("mina = maxa = 1e308", "RECH.sqlite", "UPDATE rech SET mina = 1e308, maxa = 1e308", "simulate"),
        ("kol.flaeche = 1e-300", "KOL.sqlite", "UPDATE kol SET flaeche = 1e-300", "simulate"),
        ("danzflaeche = 1e-300", "RECH.sqlite", "UPDATE rech SET danzflaeche = 1e-300", "optimise"),
        ("anztheta = 2e9", "RECH.sqlite", "UPDATE rech SET anztheta = 2000000000, maxtheta = 60", "optimise"),
        ("anzwp = 2e9", "RECH.sqlite", "UPDATE rech SET anzwp = 2000000000", "optimise"),
        ("anzge = 2e9", "RECH.sqlite", "UPDATE rech SET anzge = 2000000000", "optimise"),
    ]:
        def lauf(u, datei=datei, anweisung=anweisung, befehl=befehl):
            u.sql(datei, anweisung)
            return abgelehnt(u, [befehl, SATZ])
        fall("1 hang", name, lauf)

    # 2. Concurrent runs.
    def zwei(u, a, b, pruefe):
        p1 = subprocess.Popen([u.cli, "--db", u.db, "--results", u.res] + a, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, text=True)
        p2 = subprocess.Popen([u.cli, "--db", u.db, "--results", u.res] + b, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, text=True)
        o1, e1 = p1.communicate(timeout=ZEITLIMIT)
        o2, e2 = p2.communicate(timeout=ZEITLIMIT)
        return pruefe(p1.returncode, o1, e1, p2.returncode, o2, e2)

    def gleiche_datei(u, warten):
        def pruefe(r1, o1, e1, r2, o2, e2):
            if (r1, r2) != (0, 0):
                # Refused with the lock message is fine; nothing else is.
                for r, e in ((r1, e1), (r2, e2)):
                    if r != 0 and "anderen Lauf" not in letzte_zeile(e):
                        return "fault", "exit %s: %s" % (r, letzte_zeile(e))
                if r1 != 0 and r2 != 0:
                    return "fault", "both refused"
            v, d = ("ok", "")
            angekuendigt, geschrieben = abschnitte(os.path.join(u.res, SIM))
            if angekuendigt != geschrieben:
                return "fault", "file announces %d, holds %d" % (angekuendigt, geschrieben)
            if u.aufruf(["show", os.path.join(u.res, SIM)])[0] != 0:
                return "fault", "show refuses the file"
            if katalogzeilen(u.db) != 1:
                return "fault", "catalogue rows: %d" % katalogzeilen(u.db)
            return v, "exit %d/%d, file whole" % (r1, r2) + d
        return zwei(u, ["--lock-wait", warten, "simulate", SATZ], ["--lock-wait", warten, "simulate", SATZ], pruefe)

    fall("2 concurrency", "two simulate, same data set, waiting", lambda u: gleiche_datei(u, "30"))
    fall("2 concurrency", "two simulate, same data set, no wait", lambda u: gleiche_datei(u, "0"))

    def verschiedene(u):
        def pruefe(r1, o1, e1, r2, o2, e2):
            if (r1, r2) != (0, 0):
                return "fault", "exit %s/%s" % (r1, r2)
            return "ok", "both completed"
        return zwei(u, ["simulate", SATZ], ["simulate", "test_ZJEG_IAAN-N_st2"], pruefe)
    fall("2 concurrency", "two simulate, different data sets", verschiedene)

    def zwei_serien(u):
        u.sql("HAUPT.sqlite", "UPDATE haupt SET lock = 'F' WHERE name NOT LIKE 'test_ZJEG_IAAN-N%' "
                              "AND name <> 'test_ZJEG_IAAN-M_st0'")
        def pruefe(r1, o1, e1, r2, o2, e2):
            if (r1, r2) != (0, 0):
                return "fault", "exit %s/%s: %s %s" % (r1, r2, letzte_zeile(e1), letzte_zeile(e2))
            for s in ("M_st0", "N_st0", "N_st2"):
                n = (o1 + o2).count("test_ausgabe_ZJEG_IAAN-%s.dat" % s)
                if n != 1:
                    return "fault", "%s computed %d times" % (s, n)
            return "ok", "each data set computed once"
        return zwei(u, ["batch", "--from", "test_ZJEG_IAAN-M_st0"], ["batch", "--from", "test_ZJEG_IAAN-M_st0"], pruefe)
    fall("2 concurrency", "two batch on one database", zwei_serien)

    # 3. Result files escaping the result folder.
    for spalte, wert in [("ausgabefile", "../escaped"), ("ausgabefile", "/tmp/varnek_escaped_abs"),
                         ("ausgabefile", "sub/x"), ("ausgabefile", ".."), ("ausgabefile", ""),
                         ("ausgabefile", "a\\b"), ("steuer", "../escaped_s"),
                         ("steuer", "/tmp/varnek_escaped_s")]:
        def lauf(u, spalte=spalte, wert=wert):
            u.haupt("%s = ?" % spalte, wert)
            kandidaten = [os.path.join(u.ordner, "escaped.sim"), "/tmp/varnek_escaped_abs.sim",
                          os.path.join(u.ordner, "escaped_s.str"), "/tmp/varnek_escaped_s.str",
                          os.path.join(u.res, "sub")]
            for k in kandidaten[1:4:2]:  # files an earlier run may have left in /tmp
                if os.path.isfile(k):
                    os.remove(k)
            def draussen():
                gefunden = ["escaped: " + k for k in kandidaten if os.path.exists(k)]
                for k in kandidaten[1:4:2]:
                    if os.path.isfile(k):
                        os.remove(k)
                return gefunden
            return abgelehnt(u, ["simulate", SATZ], grund=spalte, zusatz=draussen)
        fall("3 escaping names", "%s = %r" % (spalte, wert), lauf)

    # 4. Success without results.
    for name, anweisung, datei in [
        ("mina > maxa", "UPDATE rech SET mina = 30", "RECH.sqlite"),
        ("maxa = 'abc'", "UPDATE rech SET maxa = 'abc'", "RECH.sqlite"),
        ("maxa = NaN (NULL)", "UPDATE rech SET maxa = NULL", "RECH.sqlite"),
        ("maxa = -Inf", "UPDATE rech SET maxa = -9e999", "RECH.sqlite"),
        ("kol.flaeche = Inf", "UPDATE kol SET flaeche = 9e999", "KOL.sqlite"),
        ("kol.flaeche = 0", "UPDATE kol SET flaeche = 0", "KOL.sqlite"),
    ]:
        def lauf(u, anweisung=anweisung, datei=datei):
            u.sql(datei, anweisung)
            return abgelehnt(u, ["simulate", SATZ])
        fall("4 success without results", name, lauf)

    # 5. Invalid numbers (table, column, value); the value check names them.
    for datei, tabelle, spalte, wert, satz, wo in [
        ("SPEI.sqlite", "spei", "spmax", 9e999, SATZ, "sp1m3"),
        ("SPEI.sqlite", "spei", "spmax", None, SATZ, "sp1m3"),
        ("SPEI.sqlite", "spei", "spmax", 1e308, SATZ, "sp1m3"),
        ("SPEI.sqlite", "spei", "spmax", -1, SATZ, "sp1m3"),
        ("SPEI.sqlite", "spei", "spmax", "abc", SATZ, "sp1m3"),
        ("SPEI.sqlite", "spei", "verluste", -0.5, SATZ, "sp1m3"),
        ("RECH.sqlite", "rech", "maxge", 9e999, SATZ, "r45"),
        ("RECH.sqlite", "rech", "minge", 1.0, SATZ, "r45"),
        ("RECH.sqlite", "rech", "maxge", -1, SATZ, "r45"),
        ("RECH.sqlite", "rech", "mintheta", 95, SATZ, "r45"),
        ("TE.sqlite", "te", "Januar", 1e308, SATZ, "te0"),
        ("TE.sqlite", "te", "Januar", "abc", SATZ, "te0"),
        ("TE.sqlite", "te", "Januar", None, SATZ, "te0"),
        ("TH.sqlite", "th", "märz", 500, SATZ, "th0"),
        ("TW.sqlite", "tw", "Januar", -20, SATZ, "tw0"),
        ("LAGE.sqlite", "lage", "breitengrad", 91, SATZ, "l0"),
        ("LAGE.sqlite", "lage", "breitengrad", -91, SATZ, "l0"),
        ("LAGE.sqlite", "lage", "theta", 95, SATZ, "l0"),
        ("LAGE.sqlite", "lage", "phi", 400, SATZ, "l0"),
        ("IR_TA_M.sqlite", "ir_ta_m", "breite", 91, SATZ, "ir_braunschweig_in_kWh"),
        ("IR_TA_M.sqlite", "ir_ta_m", "ta1min", 9e999, SATZ, "ir_braunschweig_in_kWh"),
        ("IR_TA_M.sqlite", "ir_ta_m", "ir6", -3, SATZ, "ir_braunschweig_in_kWh"),
        ("WAERME.sqlite", "waerme", "dichte", 0, SATZ, "Propylenglykol 40%"),
        ("WP.sqlite", "wp", "eta", "abc", SATZ, "wp0"),
        ("KOL.sqlite", "kol", "alpha", 9e999, SATZ, "Euro C 20"),
        ("KOL.sqlite", "kol", "breitezulaenge", 0, SATZ, "Euro C 20"),
        ("EH_M.sqlite", "eh_m", "februar", -5, SATZ, "eh0"),
        ("NUM.sqlite", "num", "monatstart", 13, SATZ, "IAAN-N"),
        ("STEUERSPEICHER.sqlite", "steuer", "tmin", 95, SATZ, "st0"),
    ]:
        def lauf(u, datei=datei, tabelle=tabelle, spalte=spalte, wert=wert, satz=satz, wo=wo):
            u.sql(datei, 'UPDATE %s SET "%s" = ? WHERE name = ?' % (tabelle, spalte), wert, wo)
            return abgelehnt(u, ["simulate", satz], grund=spalte)
        fall("5 invalid numbers", "%s.%s = %r" % (tabelle, spalte, wert), lauf)
    for spalte, wert in [("ir_g", 9e999), ("tamin", 1e308), ("h", 0), ("ir_d", -1), ("tamax", "abc")]:
        def lauf(u, spalte=spalte, wert=wert):
            u.sql("IR_TA_D.sqlite", 'UPDATE ir_ta_d SET "%s" = ? WHERE name = ? AND monat = 6 AND nummer = 12' % spalte,
                  wert, "ir_test_stuendlich")
            return abgelehnt(u, ["simulate", SATZ_STUENDLICH], grund=spalte)
        fall("5 invalid numbers", "ir_ta_d.%s = %r (hourly row)" % (spalte, wert), lauf)

    def null_speicher(u):
        u.sql("SPEI.sqlite", "UPDATE spei SET spmax = 0 WHERE name = 'sp1m3'")
        return gelungen(u, ["simulate", SATZ])
    fall("5 invalid numbers", "valid: store volume 0 (the store that is not there)", null_speicher)

    # 6./7. Write failures: no catalogue row for a file that does not exist,
    # no partial file.
    def blockiert(u):
        os.makedirs(os.path.join(u.res, SIM, "belegt"))
        def reste():
            return ["control file left: " + STR] if os.path.exists(os.path.join(u.res, STR)) else []
        return abgelehnt(u, ["simulate", SATZ], grund=SIM, zusatz=reste)
    fall("6 catalogue / partial files", "result file path taken by a folder", blockiert)

    def dateigroesse(u):
        grenze = lambda: resource.setrlimit(resource.RLIMIT_FSIZE, (100_000, 100_000))
        return abgelehnt(u, ["simulate", SATZ_STUENDLICH], grund="kann nicht geschrieben", vorher=grenze)
    fall("6 catalogue / partial files", "file-size limit 100 kB", dateigroesse)

    def voll(u):
        if os.geteuid() != 0:
            return "skip", "needs root (tmpfs)"
        subprocess.run(["mount", "-t", "tmpfs", "-o", "size=2m", "tmpfs", u.res], check=True)
        try:
            return abgelehnt(u, ["simulate", SATZ_STUENDLICH], grund="kann nicht geschrieben")
        finally:
            subprocess.run(["umount", u.res])
    fall("6 catalogue / partial files", "full disk (2 MB tmpfs)", voll)

    def alte_datei_bleibt(u):
        v, d = gelungen(u, ["simulate", SATZ])
        if v != "ok":
            return v, d
        alt = open(os.path.join(u.res, SIM), "rb").read()
        u.sql("RECH.sqlite", "UPDATE rech SET maxa = 1e308")
        v, d = abgelehnt(u, ["simulate", SATZ])
        if v == "ok" and open(os.path.join(u.res, SIM), "rb").read() != alt:
            return "fault", "the earlier result file changed"
        return v, d
    fall("6 catalogue / partial files", "a failed rerun keeps the earlier file and row", alte_datei_bleibt)

    def kill9(u):
        p = subprocess.Popen([u.cli, "--db", u.db, "--results", u.res, "simulate", SATZ_STUENDLICH],
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # Kill it while it writes: as soon as a temporary file appears.
        frist = time.time() + 10
        while p.poll() is None and time.time() < frist:
            if any(n.endswith(".tmp") for n in os.listdir(u.res)):
                break
            time.sleep(0.0005)
        if p.poll() is not None:
            return "skip", "the run ended before it could be killed while writing"
        p.kill()
        p.wait()
        sichtbar = [n for n in res_stand(u.res) if not n.startswith(".")]
        if sichtbar or katalogzeilen(u.db) != 0:
            return "fault", "after kill -9: files %s, rows %d" % (sichtbar, katalogzeilen(u.db))
        v, d = gelungen(u, ["simulate", SATZ_STUENDLICH], datei="test_ausgabe_ir_D_EJEG_IAAN-D_st0.sim")
        return v, "killed run left nothing visible; rerun: " + d
    fall("6 catalogue / partial files", "kill -9 during a run, then rerun", kill9)

    # 8./9. The reason on stderr; a failing run leaves the database as it was.
    def leere_tabelle(u):
        open(os.path.join(u.db, "KOL.sqlite"), "w").close()
        return abgelehnt(u, ["simulate", SATZ], grund="KOL.sqlite")
    def fremde_tabelle(u):
        os.remove(os.path.join(u.db, "KOL.sqlite"))
        con = sqlite3.connect(os.path.join(u.db, "KOL.sqlite"))
        con.execute("CREATE TABLE fremd (x INTEGER)")
        con.close()
        return abgelehnt(u, ["simulate", SATZ], grund="KOL.sqlite")
    def fehlende_datei(u):
        os.remove(os.path.join(u.db, "KOL.sqlite"))
        return abgelehnt(u, ["simulate", SATZ], grund="KOL.sqlite")
    def zu_langer_block(u):
        # The reservoir exchanger with a block longer than the block buffers.
        u.haupt("an = 'ZJER'", satz="Braunschweig EFH")
        u.sql("RECH.sqlite", "UPDATE rech SET maxmittemp = 24 WHERE name = 'r45'")
    for name, lauf in [
        ("missing reference kolu", lambda u: (u.haupt("kolu = 'fehlt'"),
                                               abgelehnt(u, ["simulate", SATZ], grund="kolu"))[1]),
        ("missing reference steuerspeicher", lambda u: (u.haupt("steuerspeicher = 'fehlt'"),
                                                         abgelehnt(u, ["simulate", SATZ], grund="steuerspeicher"))[1]),
        ("empty KOL.sqlite", leere_tabelle),
        ("foreign KOL.sqlite", fremde_tabelle),
        ("KOL.sqlite missing", fehlende_datei),
        ("refused combination", lambda u: (zu_langer_block(u),
                                            abgelehnt(u, ["simulate", "Braunschweig EFH"], grund="Kombination verboten"))[1]),
        ("English reason", lambda u: (zu_langer_block(u),
                                      abgelehnt(u, ["--lang", "en", "simulate", "Braunschweig EFH"],
                                                grund="error: combination forbidden"))[1]),
    ]:
        fall("8 reason / database untouched", name, lauf)

    # 10. Read-only database.
    def schreibgeschuetzt(befehle):
        def lauf(u):
            if os.geteuid() != 0:
                return "skip", "needs root (read-only bind mount)"
            vorher = db_stand(u.db)
            ro = os.path.join(u.ordner, "ro")
            os.makedirs(ro)
            subprocess.run(["mount", "--bind", u.db, ro], check=True)
            subprocess.run(["mount", "-o", "remount,bind,ro", ro], check=True)
            try:
                for b in befehle:
                    b = [x.replace("{res}", u.res) for x in b]
                    rc, aus, err = u.aufruf(["--db", ro, "--results", u.res] + b, mit_ordnern=False)
                    if rc != 0:
                        return "fault", "%s: exit %s: %s" % (b[0], rc, letzte_zeile(err))
            finally:
                subprocess.run(["umount", ro])
            if db_stand(u.db) != vorher:
                return "fault", "database changed"
            return "ok", "completed, database unchanged"
        return lauf
    fall("10 read-only database", "list (de, en)", schreibgeschuetzt([["list"], ["--lang", "en", "list"]]))
    fall("10 read-only database", "inputs", schreibgeschuetzt([["inputs", SATZ]]))
    fall("10 read-only database", "simulate and show",
         schreibgeschuetzt([["simulate", SATZ], ["show", "{res}/" + SIM]]))
    fall("10 read-only database", "optimise", schreibgeschuetzt([["optimise", SATZ]]))

    def lesen_aendert_nichts(u):
        vorher = db_stand(u.db)
        for b in (["list"], ["--lang", "en", "list"], ["inputs", SATZ], ["--lang", "en", "inputs", SATZ]):
            if u.aufruf(b)[0] != 0:
                return "fault", "%s failed" % b
        return ("ok", "no byte changed") if db_stand(u.db) == vorher else ("fault", "database changed")
    fall("10 read-only database", "list/inputs in both languages change no byte", lesen_aendert_nichts)

    # 11. Command line.
    for argumente in (["simulate"], ["show", "a", "b"], ["--bogus", "list"], ["--lang", "fr", "list"],
                      ["inputs", SATZ, "--tilt", "nan"], ["inputs", SATZ, "--tilt", "inf"],
                      ["inputs", SATZ, "--tilt", "1e308"], ["inputs", SATZ, "--tilt", "-1"],
                      ["inputs", SATZ, "--tilt", "91"], ["inputs", SATZ, "--azimuth", "200"],
                      ["--lock-wait", "-1", "simulate", SATZ], ["gibtsnicht"], ["simulate", SATZ, "--from", SATZ],
                      ["--db"]):
        fall("11 command line", " ".join(argumente),
             lambda u, a=argumente: abgelehnt(u, a, status=2))

    def fifo(u):
        p = os.path.join(u.ordner, "rohr.sim")
        os.mkfifo(p)
        return abgelehnt(u, ["show", p], grund="rohr.sim")
    fall("11 command line", "show on a FIFO", fifo)
    fall("11 command line", "show on a folder", lambda u: abgelehnt(u, ["show", u.ordner]))
    fall("11 command line", "show on /dev/null", lambda u: abgelehnt(u, ["show", "/dev/null"]))
    fall("11 command line", "maxa = 100 (50 sections)",
         lambda u: (u.sql("RECH.sqlite", "UPDATE rech SET maxa = 100"),
                    abgelehnt(u, ["optimise", SATZ], grund="CMAXA"))[1])

    def drei_abschnitte(u):
        u.sql("RECH.sqlite", "UPDATE rech SET mina = 10, maxa = 18")
        return gelungen(u, ["simulate", SATZ])
    def ein_abschnitt(u):
        u.sql("RECH.sqlite", "UPDATE rech SET mina = 10, maxa = 10")
        return gelungen(u, ["simulate", SATZ])
    fall("11 command line", "valid: three sections from 10 qm", drei_abschnitte)
    fall("11 command line", "valid: a single area", ein_abschnitt)

    # 12. Weather import: only a whole year replaces or adds a record.
    def ganzes_jahr_vorher(u):
        """Imports the whole year as X; returns the reason when that fails."""
        rc, _, err = u.aufruf(["import-weather", epw_jahr(os.path.join(u.ordner, "jahr.epw")), "--name", "X"])
        return None if rc == 0 else "whole year refused: " + letzte_zeile(err)

    def import_abgelehnt(datei, name="Y", ersetzen=False, grund=None, status=1):
        def lauf(u):
            fehler = ganzes_jahr_vorher(u)
            if fehler:
                return "fault", fehler
            a = ["import-weather", datei(u), "--name", name] + (["--replace"] if ersetzen else [])
            v, d = abgelehnt(u, a, grund=grund, status=status)
            if detailzeilen(u.db, "X") != 8760:
                return "fault", "the stored set X lost rows: %d" % detailzeilen(u.db, "X")
            return v, d
        return lauf

    def halb_epw(u):
        return epw_jahr(os.path.join(u.ordner, "half.epw"), zeilen=4008)

    def halb_try(u):
        # A test reference year cut off after 4000 lines: from the EPW rows.
        p = os.path.join(u.ordner, "half.dat")
        with open(p, "w") as f:
            f.write("Rechtswert        : 4201223 Meter\nHochwert          : 2845008 Meter\n"
                    "     RW      HW MM DD HH     t    p  WR   WG N  RF    B    D\n***\n")
            with open(os.path.join(QUELLE, "data", "reference", "weather_potsdam_2019_dwd_hourly.csv")) as c:
                next(c)
                for i, z in enumerate(c):
                    if i >= 4000:
                        break
                    x = z.strip().split(",")
                    g, d = float(x[2]), float(x[3])
                    f.write("4201223 2845008 %2d %2d %2d %5s 1000 %3s %4s 8 %3s %4d %4d\n" % (
                        int(x[1][5:7]), int(x[1][8:10]), int(x[1][11:13]) + 1, x[4], x[7], x[6], x[5],
                        round(g - d), round(d)))
        return p

    def fifo_datei(u):
        p = os.path.join(u.ordner, "rohr.epw")
        os.mkfifo(p)
        return p

    fall("12 weather import", "half.epw --replace over a whole year",
         import_abgelehnt(halb_epw, name="X", ersetzen=True, grund="kein ganzes Jahr"))
    fall("12 weather import", "half.epw as a new record", import_abgelehnt(halb_epw, grund="half.epw, Zeile 4008"))
    fall("12 weather import", "half test reference year", import_abgelehnt(halb_try, grund="kein ganzes Jahr"))
    fall("12 weather import", "two hours swapped",
         import_abgelehnt(lambda u: epw_jahr(os.path.join(u.ordner, "swap.epw"), tausche=20),
                          grund="nicht in der Reihenfolge"))
    fall("12 weather import", "a FIFO (would block)", import_abgelehnt(fifo_datei, grund="keine reguläre Datei"))
    fall("12 weather import", "name with a line break",
         import_abgelehnt(lambda u: epw_jahr(os.path.join(u.ordner, "j.epw")), name="Y\nZ", grund="Steuerzeichen"))
    fall("12 weather import", "name with a control character",
         import_abgelehnt(lambda u: epw_jahr(os.path.join(u.ordner, "j.epw")), name="Y\x01", grund="Steuerzeichen"))

    def mit_bom(u):
        rc, _, err = u.aufruf(["import-weather", epw_jahr(os.path.join(u.ordner, "bom.epw"), bom=True),
                               "--name", "B"])
        if rc != 0:
            return "fault", "exit %s: %s" % (rc, letzte_zeile(err))
        n = detailzeilen(u.db, "B")
        return ("ok", "8760 hours") if n == 8760 else ("fault", "%d hours" % n)
    fall("12 weather import", "valid: EPW with a UTF-8 byte-order mark", mit_bom)

    # 13. Sweeps: bounded, checked before anything is written.
    def reihe(n):
        return ",".join(str(i) for i in range(1, n + 1))
    basis = "Braunschweig EFH"
    for name, argumente, status, grund in [
        ("1 000 000 variants, dry run", ["--vary", "spei.spmax=" + reihe(1000), "--vary", "rech.maxa=" + reihe(1000),
                                         "--dry-run"], 1, "1000000 Varianten"),
        ("6 000 000 variants", ["--vary", "spei.spmax=" + reihe(2000), "--vary", "rech.maxa=" + reihe(3000)], 1,
         "6000000 Varianten"),
        ("spei.spmax=-1", ["--vary", "spei.spmax=-1"], 1, "spmax"),
        ("haupt.ausgabefile=../escaped", ["--vary", "haupt.ausgabefile=../escaped"], 1, "ausgabefile"),
        ("haupt.ausgabefile=/tmp/abs", ["--vary", "haupt.ausgabefile=/tmp/abs"], 1, "ausgabefile"),
        ("haupt.spei=does_not_exist", ["--vary", "haupt.spei=does_not_exist"], 1, "spei"),
        ("name pattern 'X {7}'", ["--vary", "spei.spmax=1,2", "--name", "X {7}"], 2, "{7}"),
        ("name pattern 'X {n'", ["--vary", "spei.spmax=1,2", "--name", "X {n"], 2, "offener Klammer"),
    ]:
        fall("13 sweep", name, lambda u, a=argumente, s_=status, g=grund: abgelehnt(u, ["sweep", basis] + a,
                                                                                     grund=g, status=s_))
    fall("13 sweep", "batch --jobs 1.5", lambda u: abgelehnt(u, ["batch", "--jobs", "1.5"], grund='"1.5"', status=2))

    def sweep_gelingt(u):
        vorher = db_stand(u.db)
        rc, _, err = u.aufruf(["sweep", basis, "--vary", "spei.spmax=0.5,1,2", "--name", "V {n}"])
        if rc != 0:
            return "fault", "exit %s: %s" % (rc, letzte_zeile(err))
        con = sqlite3.connect(os.path.join(u.db, "HAUPT.sqlite"))
        n = con.execute("SELECT count(*) FROM haupt WHERE name LIKE 'V _'").fetchone()[0]
        con.close()
        if n != 3 or db_stand(u.db) == vorher:
            return "fault", "%d variants" % n
        return "ok", "3 variants created"
    fall("13 sweep", "valid: 3 variants", sweep_gelingt)

    # 14. Merge: every file read back, every row's data set known, nothing
    # left half-done.
    teil_satz = ["test_EJEG_IAAN-D_st0", "test_EJEG_IAAN-D_st0_d"]

    def teil(u):
        """A part folder of a sharded batch of two analytic data sets."""
        con = sqlite3.connect(os.path.join(u.db, "HAUPT.sqlite"))
        con.execute("UPDATE haupt SET lock = 'F'")
        con.executemany("UPDATE haupt SET lock = 'NF' WHERE name = ?", [(n,) for n in teil_satz])
        con.commit()
        con.close()
        ordner = os.path.join(u.ordner, "teil")
        rc, _, err = u.aufruf(["--db", u.db, "--results", ordner, "batch", "--from", teil_satz[0], "--shard", "1/1",
                               "--jobs", "1"], mit_ordnern=False)
        if rc != 0:
            raise RuntimeError("part batch failed: " + letzte_zeile(err))
        return ordner

    def merge_fall(beschaedige, grund):
        def lauf(u):
            ordner = teil(u)
            beschaedige(ordner)
            return abgelehnt(u, ["merge", ordner], grund=grund)
        return lauf

    def halbiere(ordner):
        p = os.path.join(ordner, "test_ausgabe_EJEG_IAAN-D_st0.dat")
        daten = open(p, "rb").read()
        open(p, "wb").write(daten[:len(daten) // 2])

    def kippe(ordner):
        p = os.path.join(ordner, "test_ausgabe_EJEG_IAAN-D_st0.dat")
        daten = bytearray(open(p, "rb").read())
        i = daten.index(b"2.0000000000")
        daten[i] ^= 0x48  # '2' -> 'z'
        open(p, "wb").write(bytes(daten))

    def fremder_datensatz(ordner):
        con = sqlite3.connect(os.path.join(ordner, "RESULT.sqlite"))
        con.execute("UPDATE result SET haupteingabefile = 'gibt es nicht'")
        con.commit()
        con.close()

    def katalog_kaputt(ordner):
        p = os.path.join(ordner, "RESULT.sqlite")
        daten = open(p, "rb").read()
        open(p, "wb").write(daten[:5000])

    fall("14 merge", "a part's .dat cut in half", merge_fall(halbiere, "Falsches Datenformat"))
    fall("14 merge", "a part's .dat with a flipped byte", merge_fall(kippe, "Zeile 3"))
    fall("14 merge", "catalogue row for a data set the database lacks",
         merge_fall(fremder_datensatz, "gibt es nicht"))
    fall("14 merge", "a damaged RESULT.sqlite", merge_fall(katalog_kaputt, "nicht lesbar"))

    def merge_voll(u):
        if os.geteuid() != 0:
            return "skip", "needs root (tmpfs)"
        ordner = teil(u)
        subprocess.run(["mount", "-t", "tmpfs", "-o", "size=150k", "tmpfs", u.res], check=True)
        try:
            return abgelehnt(u, ["merge", ordner], grund="space")
        finally:
            subprocess.run(["umount", u.res])
    fall("14 merge", "full disk (150 kB tmpfs)", merge_voll)

    def merge_gelingt(u):
        ordner = teil(u)
        rc, _, err = u.aufruf(["merge", ordner])
        if rc != 0:
            return "fault", "exit %s: %s" % (rc, letzte_zeile(err))
        if katalogzeilen(u.db) != 2 or len(res_stand(u.res)) != 2:
            return "fault", "rows %d, files %s" % (katalogzeilen(u.db), sorted(res_stand(u.res)))
        return "ok", "2 files, 2 rows"
    fall("14 merge", "valid: a whole part", merge_gelingt)

    # 15. Costs only of simulation and optimisation results.
    def kosten_steuerdatei(u):
        rc, _, err = u.aufruf(["simulate", SATZ])
        if rc != 0:
            return "fault", "simulate: " + letzte_zeile(err)
        return abgelehnt(u, ["costs", os.path.join(u.res, STR)], grund="jkk")
    fall("15 costs", "costs of a control file (.str)", kosten_steuerdatei)

    # 16. Device paths.
    for muster in ("", "/dev/tty{n-99999999999999}"):
        fall("16 devices", "--com-pattern %r" % muster,
             lambda u, m=muster: abgelehnt(u, ["devices", "--com-pattern", m], grund="--com-pattern", status=2))

    # 17. Data sets that ran silently.
    for name, datei, anweisung, grund in [
        ("waerme rows deleted", "WAERME.sqlite", "DELETE FROM waerme", "waerme"),
        ("ir_ta_m.m1 NULL", "IR_TA_M.sqlite", "UPDATE ir_ta_m SET m1 = NULL", "m1"),
        ("rech.minge = rech.maxge = 0", "RECH.sqlite", "UPDATE rech SET minge = 0, maxge = 0", "maxge"),
    ]:
        def lauf(u, datei=datei, anweisung=anweisung, grund=grund):
            u.sql(datei, anweisung)
            return abgelehnt(u, ["simulate", SATZ_STUENDLICH], grund=grund)
        fall("17 load checks", name, lauf)

    # 18. Control runs and reading back.
    fall("18 control / show", "control without devices (fast clock)",
         lambda u: abgelehnt(u, ["control", "EFH Potsdam 2019 stuendlich Intervall M", "--fast-clock"],
                             grund="--simulated-devices"))

    def show_kaputt(u):
        p = os.path.join(u.ordner, "kaputt.sim")
        open(p, "wb").write(b"Name\r\n12,  61,  5\x00\r\nkaputt\r\n")
        return abgelehnt(u, ["show", p], grund="kaputt.sim, Zeile 3")
    fall("18 control / show", "show on a damaged file", show_kaputt)

    def stop_echte_uhr(u):
        """STOP right after the first live interval of a full-mode run with
        simulated devices on the real clock: the run must end within the
        bound the README gives."""
        if os.environ.get("VARNEK_OHNE_LANGE_FAELLE"):
            return "skip", "VARNEK_OHNE_LANGE_FAELLE set"
        p = subprocess.Popen([u.cli, "--db", u.db, "--results", u.res, "control",
                              "EFH Potsdam 2019 stuendlich Intervall M", "--simulated-devices"],
                             cwd=u.ordner, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        zeile = p.stdout.readline()
        if not zeile:
            p.wait()
            return "fault", "no live interval (exit %s)" % p.returncode
        with open(os.path.join(u.ordner, "kontrolle.text.neu"), "w") as f:
            f.write("STOP\n")
        os.replace(os.path.join(u.ordner, "kontrolle.text.neu"), os.path.join(u.ordner, "kontrolle.text"))
        t = time.time()
        try:
            p.communicate(timeout=STOP_GRENZE + 30)
        except subprocess.TimeoutExpired:
            p.kill()
            p.wait()
            return "fault", "no end %d s after STOP" % (STOP_GRENZE + 30)
        dauer = time.time() - t
        if p.returncode != 0:
            return "fault", "exit %s after STOP" % p.returncode
        if dauer > STOP_GRENZE:
            return "fault", "STOP took %.1f s, README says within %d s" % (dauer, STOP_GRENZE)
        return "ok", "STOP to exit %.1f s (bound %d s)" % (dauer, STOP_GRENZE)
    fall("18 control / show", "STOP with simulated devices on the real clock", stop_echte_uhr)
    return f


def main():
    argumente = sys.argv[1:]
    familie = None
    if "--family" in argumente:
        familie = argumente[argumente.index("--family") + 1]
    u = Umgebung(finde_cli(argumente))
    ergebnisse = {}
    try:
        for fam, name, lauf in faelle():
            if familie and not fam.startswith(familie):
                continue
            u.neuer_fall()
            try:
                urteil, detail = lauf(u)
            except Exception as e:  # a broken case is a fault of the case itself
                urteil, detail = "fault", "exception: %r" % e
            ergebnisse.setdefault(fam, []).append((name, urteil, detail))
            print("%-6s %-30s %-55s %s" % (urteil, fam, name[:55], detail[:140]), flush=True)
    finally:
        u.aufraeumen()
    print()
    print("%-30s %6s %6s %7s %6s %5s" % ("family", "tried", "ok", "silent", "fault", "skip"))
    alles_gut = True
    summe = [0, 0, 0, 0, 0]
    for fam in sorted(ergebnisse):
        e = ergebnisse[fam]
        z = [len(e)] + [sum(1 for _, u_, _ in e if u_ == k) for k in ("ok", "silent", "fault", "skip")]
        summe = [a + b for a, b in zip(summe, z)]
        alles_gut &= z[2] == 0 and z[3] == 0
        print("%-30s %6d %6d %7d %6d %5d" % (fam, *z))
    print("%-30s %6d %6d %7d %6d %5d" % ("all", *summe))
    return 0 if alles_gut else 1


if __name__ == "__main__":
    sys.exit(main())
