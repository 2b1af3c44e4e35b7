#!/usr/bin/env python3
"""Writes the tables of the default database as CSV files into data/demo/tabellen/.

Every number is either read from data/reference (measured or computed reference
data, see the README there), derived from it by a rule stated next to the code,
or a design assumption of the demo house, marked ASSUMPTION. data/demo/README.md
lists the value groups and their provenance.

Run from anywhere:  python3 data/demo/tools/erzeuge_demo.py [reference-data-dir] [--ziel DIR]
The output is deterministic; commit the regenerated CSV files. --ziel writes the
tables into another folder (the tests compare that output with the committed files).
"""
import csv
import math
import os
import sys
from collections import defaultdict

HIER = os.path.dirname(os.path.abspath(__file__))
DEMO = os.path.dirname(HIER)
REPO = os.path.dirname(os.path.dirname(DEMO))
ARGS = sys.argv[1:]
ZIEL = os.path.join(DEMO, "tabellen")
if "--ziel" in ARGS:
    i = ARGS.index("--ziel")
    ZIEL = ARGS[i + 1]
    del ARGS[i:i + 2]
REFERENZ = ARGS[0] if ARGS else os.path.join(REPO, "data", "reference")

TAGE_2019 = [31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31]
MONATE = ["Januar", "Februar", "März", "April", "Mai", "Juni", "Juli", "August", "September",
          "Oktober", "November", "Dezember"]
DATUM = "2026-12-10"  # creation date written into the "datum der neuanlage" columns


# ---------------------------------------------------------------- schema, output
def lese_schema():
    tabellen = {}
    with open(os.path.join(DEMO, "schema.txt"), encoding="utf-8") as f:
        for zeile in f:
            if zeile.startswith("#") or not zeile.strip():
                continue
            teile = [t.strip() for t in zeile.rstrip("\n").split("|")]
            spalten = [s.strip().rsplit(" ", 1)[0] for s in teile[3].split(";") if s.strip()]
            tabellen[teile[1]] = spalten
    return tabellen


SCHEMA = lese_schema()


def zahl(x, stellen=6):
    """Number as text: up to `stellen` significant decimals, no trailing zeros."""
    if x is None:
        return None
    if isinstance(x, int):
        return str(x)
    s = f"{x:.{stellen}g}" if abs(x) < 1e-3 and x != 0 else f"{round(x, stellen):.{stellen}f}"
    if "e" not in s and "." in s:
        s = s.rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


def genau(x):
    """Number as text with every digit of the double (shortest round-trip form), for
    factors that must convert exactly, e.g. 5/9; whole numbers stay short."""
    return zahl(int(x)) if x == int(x) else repr(x)


def schreibe(tabelle, zeilen):
    """Writes rows (dicts: column -> value; missing columns stay empty = NULL)."""
    spalten = SCHEMA[tabelle]
    for z in zeilen:
        unbekannt = set(z) - set(spalten)
        assert not unbekannt, (tabelle, unbekannt)
    with open(os.path.join(ZIEL, tabelle + ".csv"), "w", encoding="utf-8", newline="") as f:
        w = csv.writer(f, lineterminator="\n", quoting=csv.QUOTE_MINIMAL)
        w.writerow(spalten)
        for z in zeilen:
            out = []
            for s in spalten:
                v = z.get(s)
                if v is None:
                    out.append("")
                elif isinstance(v, float) or isinstance(v, int):
                    out.append(zahl(v))
                elif v == "":
                    out.append('""')  # empty text, distinct from NULL
                else:
                    out.append(v)
            f.write(",".join(_feld(x) for x in out) + "\n")


def _feld(x):
    if x == '""':
        return x
    if any(c in x for c in ',"\n\r') or x != x.strip():
        return '"' + x.replace('"', '""') + '"'
    return x


def lese_csv(name):
    with open(os.path.join(REFERENZ, name), encoding="utf-8") as f:
        return list(csv.DictReader(f))


# ---------------------------------------------------------------- real data
STUNDEN = lese_csv("weather_potsdam_2019_dwd_hourly.csv")
assert len(STUNDEN) == 8760
KLIMA = lese_csv("climate_braunschweig_monthly.csv")
P_MONAT = lese_csv("weather_potsdam_2019_dwd_monthly_summary.csv")

for s in STUNDEN:
    s["monat"] = int(s["time_label_utc"][5:7])
    s["tag"] = int(s["time_label_utc"][8:10])
    s["stunde"] = int(s["time_label_utc"][11:13])

BS_BREITE, BS_LAENGE, BS_HOEHE = 52.27, 10.52, 81.0  # default site of the climatology (data/reference/README.md, section 3)
P_BREITE, P_LAENGE = 52.38, 13.06                       # DWD station Potsdam 3987 (data/reference/README.md, section 1)
T_BS = [float(k["temp_mean_C_1991_2020"]) for k in KLIMA]


def mittel(xs):
    return sum(xs) / len(xs)


# Annual means of the real 2019 hourly year (wind, humidity).
WIND_2019 = mittel([float(s["wind_speed_m_per_s"]) for s in STUNDEN])
FEUCHTE_2019 = mittel([float(s["rel_humidity_pct"]) for s in STUNDEN])


# ---------------------------------------------------------------- weather
MITTE = [15, 45, 74, 105, 135, 166, 196, 227, 257, 288, 318, 349]  # mid-month day numbers


def sonnenstunden(breite, monat, ghi_w_pro_qm):
    """Sunshine hours of a month from its mean global irradiance by the Angstrom-Prescott
    relation H/H0 = a + b S/S0 with a = 0.25, b = 0.50 (the default coefficients of FAO
    Irrigation and Drainage Paper 56, eqs. 21, 34, 35), on the mid-month day."""
    phi = math.radians(breite)
    j = MITTE[monat - 1]
    dr = 1 + 0.033 * math.cos(2 * math.pi * j / 365)
    dekl = 0.409 * math.sin(2 * math.pi * j / 365 - 1.39)
    ws = math.acos(-math.tan(phi) * math.tan(dekl))
    h0 = 24 * 60 / math.pi * 0.0820 * dr * (ws * math.sin(phi) * math.sin(dekl) +
                                              math.cos(phi) * math.cos(dekl) * math.sin(ws))  # MJ/(qm d)
    s0 = 24 / math.pi * ws
    h = ghi_w_pro_qm * 0.0864  # MJ/(qm d)
    return max(0.0, TAGE_2019[monat - 1] * s0 * (h / h0 - 0.25) / 0.5)


def wetter():
    monat = []
    # Braunschweig 1991-2020. Irradiation in kWh/qm per month of the stored (non-leap)
    # year: mean irradiance x 24 h x days / 1000. Diffuse part: the month's diffuse
    # fraction of the real Potsdam 2019 year (the climatology has no diffuse values).
    # Daily min/max: monthly mean -/+ half the mean daily range of the 2019 hourly year.
    z = {"name": "ir_braunschweig_in_kWh", "wmo": "10348", "ort": "Braunschweig", "land": "D",
         "breite": BS_BREITE, "laenge": BS_LAENGE, "einheit_ir": "kWh/qm", "einheit_temp": "°C",
         "theta": 0.0, "quelle": "DWD, CM SAF, IWU", "meßdatum": 2019, "details": "N",
         "zeitintervall": "K", "mittlerewind": round(WIND_2019, 2), "einheit_wind": "m/s",
         "mittlerefeuchte": round(FEUCHTE_2019, 1), "einheit_feuchte": "%",
         "info": "Klimamittel 1991-2020 (DWD Station 662, CM SAF); Quelle: Deutscher Wetterdienst, "
                 "EUMETSAT CM SAF, IWU clidamonger (CC BY 4.0)"}
    gesamt = 0.0
    for m in range(1, 13):
        k, p = KLIMA[m - 1], P_MONAT[m - 1]
        ir = float(k["ghi_mean_W_per_m2_1991_2020"]) * 24 * TAGE_2019[m - 1] / 1000
        diff = ir * float(p["dhi_kWh_per_m2"]) / float(p["ghi_kWh_per_m2"])
        halb = (float(p["temp_daily_max_mean_C"]) - float(p["temp_daily_min_mean_C"])) / 2
        t = T_BS[m - 1]
        z.update({f"ir{m}": round(ir, 2), f"diff{m}": round(diff, 2), f"ta{m}min": round(t - halb, 2),
                  f"ta{m}max": round(t + halb, 2), f"m{m}": 0,
                  f"h{m}": round(sonnenstunden(BS_BREITE, m, float(k["ghi_mean_W_per_m2_1991_2020"])), 1)})
        gesamt += round(ir, 2)
    z["irgesamt"] = round(gesamt, 2)
    monat.append(z)

    # Potsdam 2019, hourly ("A") and daily ("T") detail records.
    details = []
    for name, art in (("ir_test_stuendlich", "A"), ("ir_test_taeglich", "T")):
        z = {"name": name, "wmo": "10379", "ort": "Potsdam", "land": "D", "breite": P_BREITE,
             "laenge": P_LAENGE, "einheit_ir": "kWh/qm", "einheit_temp": "°C", "theta": 0.0,
             "quelle": "DWD (3987)", "meßdatum": 2019, "details": "J", "zeitintervall": art,
             "mittlerewind": round(WIND_2019, 2), "einheit_wind": "m/s",
             "mittlerefeuchte": round(FEUCHTE_2019, 1), "einheit_feuchte": "%",
             "info": "Gemessenes Jahr 2019, DWD Station Potsdam 3987; Quelle: Deutscher Wetterdienst"}
        gesamt = 0.0
        for m in range(1, 13):
            rows = [s for s in STUNDEN if s["monat"] == m]
            g = sum(float(s["ghi_W_per_m2"]) for s in rows) / 1000
            d = sum(float(s["dhi_W_per_m2"]) for s in rows) / 1000
            tage = defaultdict(list)
            for s in rows:
                tage[s["tag"]].append(float(s["temp_air_C"]))
            z.update({f"ir{m}": round(g, 3), f"diff{m}": round(d, 3),
                      f"ta{m}min": round(mittel([min(v) for v in tage.values()]), 2),
                      f"ta{m}max": round(mittel([max(v) for v in tage.values()]), 2),
                      f"m{m}": len(rows) if art == "A" else len(tage),
                      f"h{m}": round(sonnenstunden(P_BREITE, m, g * 1000 / (24 * TAGE_2019[m - 1])), 1)})
            gesamt += g
        z["irgesamt"] = round(gesamt, 2)
        monat.append(z)

    # Hourly rows: the irradiance of the row labelled hh:00 UTC covers about one hour of
    # true solar time from hh:00 (data/reference/README.md, section 1); hm = hh + 0.5 is the middle of that
    # solar hour. Temperatures are the values at the label.
    for s in STUNDEN:
        nummer = (s["tag"] - 1) * 24 + s["stunde"] + 1
        g, d, t = float(s["ghi_W_per_m2"]), float(s["dhi_W_per_m2"]), float(s["temp_air_C"])
        details.append({"name": "ir_test_stuendlich", "monat": s["monat"], "nummer": nummer,
                        "ir_g": round(g / 1000, 5), "is_g": g, "ir_d": round(d / 1000, 5), "is_d": d,
                        "tamin": t, "tamax": t, "h": 1.0, "hm": s["stunde"] + 0.5, "zeitintervall": "A"})
    tage = defaultdict(list)
    for s in STUNDEN:
        tage[(s["monat"], s["tag"])].append(s)
    for (m, tag), rows in sorted(tage.items()):
        g = sum(float(s["ghi_W_per_m2"]) for s in rows) / 1000
        d = sum(float(s["dhi_W_per_m2"]) for s in rows) / 1000
        ts = [float(s["temp_air_C"]) for s in rows]
        details.append({"name": "ir_test_taeglich", "monat": m, "nummer": tag, "ir_g": round(g, 4),
                        "is_g": round(g * 1000 / 24, 2), "ir_d": round(d, 4), "is_d": round(d * 1000 / 24, 2),
                        "tamin": min(ts), "tamax": max(ts), "h": 24.0, "hm": 12.0, "zeitintervall": "T"})
    schreibe("ir_ta_m", monat)
    schreibe("ir_ta_d", details)
    return monat[0]


# ---------------------------------------------------------------- temperatures
def erdtemperatur(tiefe):
    """Undisturbed ground temperature at `tiefe` m for each month (Kusuda & Achenbach):
    annual mean and first harmonic of the Braunschweig monthly means, damped by
    exp(-z/d) and delayed by z/d radians, damping depth d = sqrt(2 a / w) with the soil
    diffusivity a = 0.05 qm/day (ASSUMPTION: moist sandy loam)."""
    w = 2 * math.pi / 12
    mitte = mittel(T_BS)
    a_c = sum(T_BS[i] * math.cos(w * (i + 0.5)) for i in range(12)) / 6
    a_s = sum(T_BS[i] * math.sin(w * (i + 0.5)) for i in range(12)) / 6
    d = math.sqrt(2 * 0.05 / (2 * math.pi / 365))
    dampf = math.exp(-tiefe / d)
    return [round(mitte + dampf * (a_c * math.cos(w * (i + 0.5) - tiefe / d) +
                                   a_s * math.sin(w * (i + 0.5) - tiefe / d)), 2) for i in range(12)]


TE0 = erdtemperatur(1.5)  # depth of a horizontal ground collector
KW0 = erdtemperatur(1.0)  # cold water: frost-free depth of the service pipe (ASSUMPTION 1 m)
# Heating curve (ASSUMPTION): low-temperature radiators 45/35 degC at the design outdoor
# temperature -14 degC and 20 degC room, linear in the month's mean outdoor temperature.
TH0 = [round(20 + 25 * (20 - t) / 34, 1) for t in T_BS]
RH0 = [round(20 + 15 * (20 - t) / 34, 1) for t in T_BS]
TW0 = [50.0] * 12  # hot-water draw temperature (ASSUMPTION)


def temperaturreihen():
    def reihe(tabelle, name, werte, info, beschr):
        spalten = SCHEMA[tabelle]
        z = {"name": name, "datenart": "Temperatur", "ort": "Braunschweig", "land": "D",
             "breite": BS_BREITE, "länge": BS_LAENGE, "einheit": "°C", "quelle": "abgeleitet",
             "meßdatum": "1991-2020", "datum der neuanlage": DATUM, "anzahl der werte": 12.0}
        z.update(beschr)
        start = [s.lower() for s in spalten].index("januar")
        for m in range(12):
            z[spalten[start + m]] = werte[m]
        z[spalten[-1]] = info
        schreibe(tabelle, [z])

    reihe("te", "te0", TE0, "Erdreich in 1,5 m Tiefe aus Monatsmitteln Braunschweig 1991-2020",
          {"bodenart": "Sand-Lehm"})
    reihe("tw", "tw0", TW0, "Warmwasser-Zapftemperatur 50 °C", {"nutzungsart": "EFH"})
    reihe("th", "th0", TH0, "Heizkurve 45/35 °C bei -14 °C Außentemperatur", {"heizungstyp": 45.0})
    reihe("rw", "rw0", KW0, "Kaltwasser (Erdreich in 1 m Tiefe)", {"heizungstyp": None})
    reihe("rh", "rh0", RH0, "Heizungsrücklauf, Heizkurve 45/35 °C", {"heizungstyp": 35.0})


# ---------------------------------------------------------------- demand
FLAECHE = 140.0          # heated floor area, qm (ASSUMPTION: single-family house)
HEIZ_SPEZ = 100.0        # heating demand kWh/(qm a) (ASSUMPTION: existing house, partly refurbished)
PASSIV_SPEZ = 15.0       # passive-house criterion, kWh/(qm a)
WW_SPEZ = 12.5           # hot water kWh/(qm a), DIN V 4701-10 standard value for dwellings
STROM = 3500.0           # household electricity kWh/a (ASSUMPTION: 3-person household)


def gradtage():
    """Monthly heating degree days G20/15 from the Braunschweig monthly means:
    days x (20 - T) for months with a mean below the heating limit of 15 degC."""
    return [TAGE_2019[i] * (20 - t) if t < 15 else 0.0 for i, t in enumerate(T_BS)]


def verteile(gesamt, gewichte, stellen=1):
    s = sum(gewichte)
    return [round(gesamt * g / s, stellen) for g in gewichte]


def bdew_h0():
    """Monthly shares of the household standard load profile: sum over the days of the
    dynamisation function of the BDEW profile H0,
    F(t) = -3.92e-10 t^4 + 3.2e-7 t^3 - 7.02e-5 t^2 + 2.1e-3 t + 1.24 (t = day of year)."""
    f = lambda t: -3.92e-10 * t ** 4 + 3.2e-7 * t ** 3 - 7.02e-5 * t ** 2 + 2.1e-3 * t + 1.24
    tage, t = [], 1
    for n in TAGE_2019:
        tage.append(sum(f(t + i) for i in range(n)))
        t += n
    return tage


def bedarf():
    gt = gradtage()
    eh0 = verteile(FLAECHE * HEIZ_SPEZ, gt)
    ehp = verteile(FLAECHE * PASSIV_SPEZ, gt)
    # Hot water: the energy to heat the same daily volume from cold-water to draw temperature.
    ew0 = verteile(FLAECHE * WW_SPEZ, [TAGE_2019[i] * (TW0[i] - KW0[i]) for i in range(12)])
    ee1 = verteile(STROM, bdew_h0())

    def eh_zeile(name, werte, spez, art, name_d, stunden):
        z = {"name": name, "name_d": name_d, "datenart": "Heizenergie", "ort": "Braunschweig",
             "land": "D", "breite": BS_BREITE, "laenge": BS_LAENGE, "einheit": "kWh",
             "gebaeudetyp": "EFH", "heizungstyp": "Heizkörper 45/35", "quelle": "abgeleitet",
             "messdatum": "1991-2020", "datumderneuanlage": DATUM, "flaeche": FLAECHE, "einflaeche": "qm",
             "energiepqm": spez, "rel": "A", "anzahlderwerte": 12, "zeitintervall": art,
             "gesamt": round(sum(werte), 1), "TINNEN": 20.0, "EinT": "°C",
             "info": f"EFH {FLAECHE:g} qm, {spez:g} kWh/(qm a), Gradtage G20/15 Braunschweig"}
        for i, n in enumerate(("januar", "februar", "märz", "april", "mai", "juni", "juli", "august",
                               "september", "oktober", "november", "dezember")):
            z[n] = werte[i]
            z[f"m{i + 1}"] = float(stunden[i])
        return z

    def ew_zeile(name, werte, art, name_d, stunden):
        z = {"name": name, "name_d": name_d, "datenart": "Warmwasser", "ort": "Braunschweig",
             "land": "D", "breite": BS_BREITE, "länge": BS_LAENGE, "einheit": "kWh",
             "nutzungsart": "EFH", "quelle": "DIN V 4701", "meßdatum": "1991-2020",
             "datum der neuanlage": DATUM, "rel": "A", "anzahl der werte": 12.0,
             "zeitintervall": art, "gesamt": round(sum(werte), 1),
             "info": f"{WW_SPEZ:g} kWh/(qm a) x {FLAECHE:g} qm, 50 °C Zapftemperatur"}
        for i, n in enumerate(("Januar", "februar", "märz", "april", "mai", "juni", "juli", "august",
                               "september", "oktober", "november", "dezember")):
            z[n] = werte[i]
            z[f"m{i + 1}"] = float(stunden[i])
        return z

    # Interval counts: the hours of the month for every record, also those without detail
    # rows ("K"), so that an hourly run spreads their monthly energy over all hours.
    stunden = [24 * n for n in TAGE_2019]
    null = stunden
    schreibe("eh_m", [eh_zeile("eh0", eh0, HEIZ_SPEZ, "K", "", null),
                      eh_zeile("eh0_d", eh0, HEIZ_SPEZ, "A", "eh0_d", stunden),
                      eh_zeile("eh0_p", eh0, HEIZ_SPEZ, "P", "eh0_p", stunden),
                      eh_zeile("eh_passiv", ehp, PASSIV_SPEZ, "K", "", null)])
    schreibe("ew_m", [ew_zeile("ew0", ew0, "K", "", null),
                      ew_zeile("ew0_d", ew0, "A", "ew0_d", stunden),
                      ew_zeile("ew0_p", ew0, "P", "ew0_p", stunden)])
    ee = {"Name": "ee1", "Datenart": "Haushaltsstrom", "Ort": "Braunschweig", "Land": "D",
          "Breite": BS_BREITE, "Länge": BS_LAENGE, "Einheit": "kWh", "Nutzungsart": "EFH",
          "Quelle": "BDEW H0", "Meßdatum": "", "Datum der Neuanlage": DATUM, "Rel": "A",
          "Anzahl der Werte": 12, "gesamt": round(sum(ee1), 1),
          "info": "3500 kWh/a, Monatsanteile nach dem Standardlastprofil H0"}
    for i, n in enumerate(MONATE):
        ee[n.lower()] = ee1[i]
    schreibe("ee", [ee])

    # Detail rows. Heating, hourly ("A"): each month's energy spread over its hours in
    # proportion to the degree hours max(0, 20 - T) of the real 2019 hourly year, counting
    # hours below the heating limit of 15 degC. Hot water, hourly: evenly over the hours.
    eh_d, ew_d = [], []
    for m in range(1, 13):
        rows = [s for s in STUNDEN if s["monat"] == m]
        gew = [max(0.0, 20 - float(s["temp_air_C"])) if float(s["temp_air_C"]) < 15 else 0.0 for s in rows]
        if sum(gew) == 0:
            gew = [1.0] * len(rows)
        for i, s in enumerate(rows):
            nummer = (s["tag"] - 1) * 24 + s["stunde"] + 1
            eh_d.append({"name": "eh0_d", "monat": m, "nummer": nummer,
                         "eh": round(eh0[m - 1] * gew[i] / sum(gew), 5), "h": 1.0, "hm": s["stunde"] + 0.5,
                         "zeitintervall": "A", "rel": "A", "normiert": "N"})
            ew_d.append({"name": "ew0_d", "monat": m, "nummer": nummer,
                         "ew": round(ew0[m - 1] / len(rows), 5), "h": 1.0, "hm": s["stunde"] + 0.5,
                         "zeitintervall": "A", "rel": "A", "normiert": "N"})
    # Periodic day ("P"): January's 24 rows give the daily pattern of every month, in
    # thousandths of the month ("R"). Heating: January 2019's mean degree hours per hour of
    # day; hot water: even (no openly licensed draw profile at hand).
    jan = [s for s in STUNDEN if s["monat"] == 1]
    grad = [mittel([20 - float(s["temp_air_C"]) for s in jan if s["stunde"] == h]) for h in range(24)]
    for h in range(24):
        eh_d.append({"name": "eh0_p", "monat": 1, "nummer": h + 1, "eh": round(1000 * grad[h] / sum(grad), 4),
                     "h": 1.0, "hm": h + 0.5, "zeitintervall": "P", "rel": "R", "normiert": "J"})
        ew_d.append({"name": "ew0_p", "monat": 1, "nummer": h + 1, "ew": round(1000 / 24, 4), "h": 1.0,
                     "hm": h + 0.5, "zeitintervall": "P", "rel": "R", "normiert": "J"})
    schreibe("eh_d", eh_d)
    schreibe("ew_d", ew_d)
    return eh0


# ---------------------------------------------------------------- fluids and property tables
def kaeltemittel():
    zeilen, waerme = [], []
    # Molar masses of the equations of state the saturation tables come from (kg/mol).
    molmasse = {r["fluid"]: float(r["molar_mass_kg_per_mol"]) * 1000 for r in lese_csv("refrigerant_molar_mass.csv")}
    for name in ("R134a", "R290", "R407C", "R410A"):
        tab = lese_csv(f"refrigerant_{name}_saturation.csv")
        assert len(tab) <= 100
        for i, r in enumerate(tab):
            zeilen.append({"Nummer": i + 1, "name": name, "temperatur": float(r["T_C"]), "einheittemperatur": "°C",
                           "ps": round(float(r["p_bubble_kPa"]) * 1000, 1),
                           "pss": round(float(r["p_dew_kPa"]) * 1000, 1), "einheitdruck": "N/qm",
                           "enthalpie": float(r["h_lv_kJ_per_kg"]), "einheitenthalpie": "kJ/kg"})
        null = next(r for r in tab if float(r["T_C"]) == 0.0)
        waerme.append({"name": name, "spezwaermcpf": float(null["cp_liq_kJ_per_kgK"]) * 1000,
                       "spezwaermcpg": float(null["cp_vap_kJ_per_kgK"]) * 1000, "einwaerm": "J/(kg*K)",
                       "dichte": float(null["rho_liq_kg_per_m3"]), "eindicht": "kg/m3",
                       "einheit_temp": "°C", "molekulargewicht": round(molmasse[name], 4),
                       "einheit_mol": "g/mol", "kaeltemittel": name,
                       "info": "Kältemittel; Werte bei 0 °C (Sättigung) aus der Zustandsgleichung"})
    schreibe("kaelte", zeilen)
    return waerme


def stoffdaten(waerme):
    luft = lese_csv("air_properties_100kPa.csv")
    dampf = {float(r["T_C"]): float(r["p_sat_liquid_Pa"]) for r in lese_csv("water_vapour_saturation_pressure.csv")}
    wasser = [r for r in lese_csv("water_properties_liquid.csv") if int(float(r["T_C"])) % 2 == 0]
    glykol = lese_csv("propylene_glycol_40vol_properties.csv")
    zeilen, nr = [], 0

    def zeile(medium, zustand, r):
        nonlocal nr
        nr += 1
        t = float(r["T_C"])
        return {"Nummer": nr, "medium": medium, "aggregatzustand": zustand, "temperatur": t,
                "einheittemp": "°C", "dichte": float(r["rho_kg_per_m3"]), "einheitdichte": "kg/m3",
                "cp": float(r["cp_J_per_kgK"]), "einheitcp": "J/(kg*K)", "lambda": float(r["k_W_per_mK"]),
                "einheitlambda": "W/(mK)", "eta": float(r["mu_Pa_s"]), "einheiteta": "Pa*s",
                "nue": float(r["nu_m2_per_s"]), "einheitnue": "m2/s", "ps": dampf.get(t),
                "einheitps": "N/qm"}

    for medium, zustand, tab in (("Luft", "g", luft), ("Wasser", "l", wasser), ("Propylenglykol 40%", "l", glykol)):
        assert len(tab) <= 100
        zeilen += [zeile(medium, zustand, r) for r in tab]
    schreibe("luft", zeilen)

    w20 = next(r for r in lese_csv("water_properties_liquid.csv") if float(r["T_C"]) == 20)
    g20 = next(r for r in glykol if float(r["T_C"]) == 20)
    # Mean molar mass of 40.4 mass-% propylene glycol (76.09 g/mol) in water.
    m_glykol = 1 / (0.404 / 76.094 + 0.596 / 18.015)
    waerme = [
        {"name": "Wasser", "spezwaermcpf": float(w20["cp_J_per_kgK"]), "einwaerm": "J/(kg*K)",
         "dichte": float(w20["rho_kg_per_m3"]), "eindicht": "kg/m3", "gefrierpunkt": 0.0, "einheit_temp": "°C",
         "molekulargewicht": 18.0153, "einheit_mol": "g/mol", "dynamischevisko": float(w20["mu_Pa_s"]),
         "eindynamischevisko": "Pa*s", "info": "Wasser bei 20 °C (IAPWS-95, IAPWS 2008)"},
        {"name": "Propylenglykol 40%", "spezwaermcpf": float(g20["cp_J_per_kgK"]), "einwaerm": "J/(kg*K)",
         "dichte": float(g20["rho_kg_per_m3"]), "eindicht": "kg/m3", "gefrierpunkt": -21.0, "einheit_temp": "°C",
         "molekulargewicht": round(m_glykol, 2), "einheit_mol": "g/mol", "dynamischevisko": float(g20["mu_Pa_s"]),
         "eindynamischevisko": "Pa*s",
         "info": "40 Vol-% Propylenglykol bei 20 °C (ASHRAE Handbook - Fundamentals)"},
    ] + waerme
    schreibe("waerme", waerme)


# ---------------------------------------------------------------- collector
# Solar Keymark data sheet of a flat-plate collector (TUV Rheinland Energy, test report
# 21246009.001 of 18.02.2019): gross area 2.00 qm (1998 mm x 1006 mm), eta0 0.750,
# a1 3.27 W/(qm K), a2 0.016 W/(qm K2), a3 = a6 = 0, max. operating pressure 600 kPa;
# all figures related to the gross area.
KOL = {"A": 2.00, "laenge": 1.998, "breite": 1.006, "eta0": 0.750, "a1": 3.27, "a2": 0.016, "p": 600e3}


def kollektor_linear():
    """Linear fit eta0 - k (tm - ta)/G of the quadratic curve: least squares of
    a1 dT + a2 dT^2 by k dT over 0..70 K (the tested range), k = a1 + 3/4 a2 70 K."""
    return KOL["a1"] + 0.75 * KOL["a2"] * 70


def kollektoren():
    def zeile(name, a1, a2, info):
        return {"name": name, "flaeche": KOL["A"], "einflaeche": "qm",
                "breitezulaenge": round(KOL["breite"] / KOL["laenge"], 4), "einbreite": "-",
                "alpha": a1, "einalpha": "W/(K*qm)", "beta": KOL["eta0"], "gamma": a2, "eingamma": "W/(K2*qm)",
                "windabhaengigert-koef": 0.0, "einwindtkoef": "J/(K*m3)", "windabhaengigerkoef": 0.0,
                "einwindkoef": "s/m",
                # Absorber harp (ASSUMPTION): 8 mm riser tubes, 100 mm apart, parallel.
                "rohrdurchmesser": 0.008, "einrohr": "m", "rohrabstand": 12.5, "einrohrabstand": "-",
                "rohrverlegung": "P", "maximaldruck": KOL["p"], "eindruck": "N/qm",
                "relflaecheoben": 1.0, "relflaecheunten": 1.0,
                "hoeheventilator": 0.0, "einhoehe": "m", "maximalu_ventilator": 0.0, "einspannung": "V",
                "maximalvols_ventilator": 0.0, "einvols": "m3/s", "typadc_v": "MCP4802",
                "preis": 300.0, "einpreis": "EUR", "info": info}
    schreibe("kol", [
        zeile("Euro C 20", KOL["a1"], KOL["a2"],
              "Flachkollektor, Solar-Keymark-Kennwerte (Bruttofläche)"),
        zeile("Euro C 20 lin", round(kollektor_linear(), 3), 0.0,
              "Euro C 20 mit linearisierter Kennlinie (0..70 K)"),
    ])


# ---------------------------------------------------------------- heat pump
# Rating points of a brine/water heat pump after EN 14511 (manufacturer data sheet,
# 14.5 kW heat at B0/W35) as tabulated in the Modelica IBPSA Library (BSD-3-Clause,
# (c) Modelica Association, IBPSA and contributors), record of a 14.5 kW brine-to-water
# unit in IBPSA/Fluid/HeatPumps/RefrigerantCycleModels/EuropeanNorm2DData/EN14511,
# commit 1c2bffb207d607c6d9559890310be7e5d08715d5: heat output and electric power in W
# for brine inlet -5/0/5 degC and water outlet 35/45/55 degC.
QUELLE_T = (-5.0, 0.0, 5.0)
QUELLE_HEIZ = {35.0: (12762, 14500, 16100), 45.0: (12100, 13900, 15600), 55.0: (11513, 13200, 14900)}
QUELLE_EL = {35.0: (3225, 3300, 3300), 45.0: (4000, 4000, 4000), 55.0: (4825, 4900, 4900)}
PUNKTE = [(tt, th, QUELLE_HEIZ[th][i] / QUELLE_EL[th][i]) for th in (35.0, 45.0, 55.0)
          for i, tt in enumerate(QUELLE_T)]


def kleinste_quadrate(a, b):
    """Normal equations solved by Gauss-Jordan with pivoting."""
    n = len(a[0])
    m = [[sum(r[i] * r[j] for r in a) for j in range(n)] + [sum(r[i] * y for r, y in zip(a, b))] for i in range(n)]
    for c in range(n):
        p = max(range(c, n), key=lambda r: abs(m[r][c]))
        m[c], m[p] = m[p], m[c]
        for r in range(n):
            if r != c:
                f = m[r][c] / m[c][c]
                m[r] = [x - f * y for x, y in zip(m[r], m[c])]
    return [m[i][n] / m[i][i] for i in range(n)]


def waermepumpe():
    lin = kleinste_quadrate([[th - tt, 1.0] for tt, th, _ in PUNKTE], [c for *_, c in PUNKTE])
    hyp = kleinste_quadrate([[(th + 270) / (th - tt), 1.0] for tt, th, _ in PUNKTE], [c for *_, c in PUNKTE])
    # Polynomial model c1 + c2/d^c + c3 d + c4 tt d + c5 d^2 + c6 tt d^2 + c7 tt with c = 1,
    # fitted with its first three terms (c4..c7 = 0). All seven terms reproduce the nine
    # points within 0.02 but give c2 < 0, so the COP falls and turns negative at small
    # lifts; the three-term fit stays monotone (rising with the source, falling with the
    # sink temperature) over -15..20 degC source and 25..65 degC sink.
    poly = kleinste_quadrate([[1.0, 1 / (th - tt), th - tt] for tt, th, _ in PUNKTE],
                             [c for *_, c in PUNKTE]) + [0.0, 0.0, 0.0, 0.0]
    # The program's heat-pump power is the electric input power (it is compared with the
    # electric power of an interval for the control range and multiplied by the COP for
    # heat). The pump is sized for 8 kW heat, the house's design load 5.7 kW plus hot
    # water (ASSUMPTION); at the rating point B0/W35 that takes 8 kW / COP electrically.
    leistung = round(8000.0 / (QUELLE_HEIZ[35.0][1] / QUELLE_EL[35.0][1]))
    zeilen = []
    for weise, minp, info in (("we", -5.0, "Sole/Wasser"), ("ww", 2.0, "Wasser/Wasser")):
        zeilen.append({
            "name": "wp0", "arbeitsweise": weise, "antrieb": "E", "ankoeffizient": 0.0, "eta": 1.0, "eineta": "-",
            "deltalin": round(lin[0], 5), "eindeltalin": "1/K", "gammalin": round(lin[1], 5),
            "deltahyp": round(hyp[0], 5), "eindeltahyp": "-", "gammahyp": round(hyp[1], 5),
            "maximaleleistung": leistung, "einheitleistung": "W",
            # Compressor and valve (ASSUMPTION): scroll with built-in volume ratio 2.7,
            # 25.6 ccm displacement, expansion valve 0.5..3 qmm.
            "minq": 0.5e-6, "maxq": 3e-6, "einheitq": "qm", "vkv0": 2.7, "einheitvkv0": "-",
            "v0": 25.6e-6, "einheitv0": "m3", "maxdruckt": 2.0e6, "maxdruckh": 4.2e6, "eindruck": "N/qm",
            # Control range (ASSUMPTION): an inverter compressor modulates down to about
            # 30 % of its rated electric power; the program's range is power x (1 -+ r),
            # so r = 0.7 (the upper end, 1.7 x power, is never asked for). The house's
            # hourly needs of the ww pump (a few hundred W) lie inside this range.
            "regelbereich": 0.7, "einregelbereich": "-", "maximalstrom": 20.0, "einstrom": "mA",
            "typadc_wp": "AD7303", "preis": 9000.0, "preisprokw": 900.0, "einpreis": "EUR",
            "info": f"{info}; Kennlinien aus 9 Prüfpunkten nach EN 14511 (B-5..B5, W35..W55); Kältemittel R410A angenommen",
            "MinPrimär": minp, "EinMinP": "°C",
            "alpha": round(poly[0], 6), "beta": round(poly[1], 6), "gamma": round(poly[2], 6),
            "delta": round(poly[3], 6), "epsilon": round(poly[4], 8), "zeta": round(poly[5], 8),
            "eta_w": round(poly[6], 6), "cexp": 1.0, "anz_koeff": 3.0, "Kaeltemittel": "R410A"})
    schreibe("wp", zeilen)
    return lin, hyp, poly


# ---------------------------------------------------------------- plant structures, methods
AN_NAMEN = ["ZJEG", "EJEG", "ENEG", "ZJEG-E", "ZJEG-L", "ZJEG-K", "ZJEG-C", "ENEG-E", "ZJER"]
NUM_NAMEN = ["MAVN-N", "MAVN-D", "MAVN-T", "MAVN-N-L", "JAVN-D", "JAVN-N", "IAAN-N", "IAAN-D",
             "IAAN-D-E", "IAAN-M", "IAAN-T", "MATN-N", "MATN-D-E", "MAMN-N", "MAMN-D-E", "IAVN-N",
             "IAVN-D-E"]
LEISTUNG = {"": "A", "E": "E", "L": "L", "K": "K", "C": "DK"}


def an_zeile(name):
    kern, _, zusatz = name.partition("-")
    return {"Name": name, "Kopplungstyp": kern[0], "AnzahlKol": "E", "Ohne Kopplung": kern[2],
            "Heizung": kern[1], "LeistungWP": LEISTUNG[zusatz], "Speicheraussent": "E",
            "Kaltwassertemp": "W", "Gegenstrom": kern[3], "info": "Testanlage " + name}


def num_zeile(name):
    teile = name.split("-")
    kern = teile[0]
    return {"name": name, "zeitraum": kern[0], "art": kern[2], "optimierung": kern[1], "strahlung": teile[1],
            "sortierung": kern[3], "monatstart": 1, "energiebedarfintervall": "V", "speicher": "S",
            "diffusestrahlung": "E" if "E" in teile[2:] else "B",
            # The analytic interval method linearises the ww pump's COP in the
            # collector temperature with the linear coefficients, so its rows
            # use the linear model; the others the polynomial fit.
            "modelltypwp": "L" if "L" in teile[2:] or kern[2] == "A" else "4",
            # Pump electricity from the fitted relative pump power (W per kg/s of the
            # circuit, table ko): about 20 W at the circuit's largest flow, what small
            # solar circulators draw. The pressure-drop model gives the hydraulic power
            # over an efficiency of 0.3, well under 1 W for these loops.
            "modelltypdruckabfall": "L",
            "info": "Testmethode " + name}


def strukturen():
    schreibe("an", [an_zeile(n) for n in AN_NAMEN])
    schreibe("num", [num_zeile(n) for n in NUM_NAMEN])
    monate = ["januar", "februar", "maerz", "april", "mai", "juni", "juli", "august", "september",
              "oktober", "november", "dezember"]

    def steuer(name, lade, entnehme, info):
        z = {"name": name, "tmax": 85.0, "tmin": 10.0, "eint": "°C", "deltamess": 1.0, "eindeltamess": "h",
             "maxmittemp": 24, "info": info}
        for i, m in enumerate(monate):
            z["LadeJanuar" if i == 0 else "lade" + m] = "Y" if i + 1 in lade else "N"
            z["entnehme" + m] = "Y" if i + 1 in entnehme else "N"
        return z

    schreibe("steuer", [
        steuer("st0", [], [], "Kein Langzeitspeicherbetrieb"),
        steuer("st1", [4, 5, 6, 7, 8, 9], [10, 11, 12, 1, 2, 3], "Saisonal: laden April-September, entnehmen Oktober-März"),
        steuer("st2", [3, 4, 5, 6, 7, 8, 9, 10], [11, 12, 1, 2], "Laden März-Oktober, entnehmen November-Februar"),
    ])


# ---------------------------------------------------------------- stores and plant parts
def speicher():
    w40 = next(r for r in lese_csv("water_properties_liquid.csv") if float(r["T_C"]) == 40)
    cp, rho = float(w40["cp_J_per_kgK"]), float(w40["rho_kg_per_m3"])

    def sp(name, vol, u, wtl, preis, info):
        return {"name": name, "spmax": vol, "einspmax": "m3", "verluste": u, "einverluste": "W/(K*m2)",
                "spezwaerm": cp, "einspezwaerm": "J/(kg*K)", "rospei": rho, "einrospei": "kg/m3",
                "wtdaussen": 0.0337, "wtlaenge": wtl, "einlaenge": "m", "waermedz": 300.0,
                "einheit_waermedz": "W/(K*m2)", "preissp": preis, "einpreis": "EUR", "info": info}
    # U = lambda / d of the insulation, lambda = 0.035 W/(m K) (ASSUMPTION: mineral wool / PU).
    schreibe("spei", [
        sp("sp0", 0.0, 0.0, 0.0, 0.0, "Null-Speicher"),
        sp("sp1m3", 1.0, round(0.035 / 0.10, 3), 20.0, 1500.0, "Pufferspeicher 1 m3, 10 cm Dämmung"),
        sp("sp10m3", 10.0, round(0.035 / 0.05, 3), 60.0, 6000.0, "Zwischenreservoir 10 m3 im Erdreich, 5 cm Dämmung"),
        sp("lsp20m3", 20.0, round(0.035 / 0.20, 3), 80.0, 12000.0, "Langzeitspeicher 20 m3, 20 cm Dämmung"),
        sp("lsp20m3-verl", 20.0, round(0.035 / 0.05, 3), 80.0, 9000.0, "Langzeitspeicher 20 m3, nur 5 cm Dämmung"),
    ])


def anlage():
    # Circuits (ASSUMPTION throughout: a usual small solar circuit).
    schreibe("ko", [{
        "name": "ko0", "name_wt_kollektor": "Propylenglykol 40%", "name_wt_wp": "R410A",
        "name_wt_speicher": "Wasser", "etalwt": 0.6, "volstromluft": 0.0, "einvolstromluft": "m3/s",
        "relpumpkoll": 400.0, "einrelpumpkoll": "W/(kg/s)", "maximal_durchfluss": 1500.0,
        "eindurchfluss": "l/h", "maximalspannung": 10.0, "einspannung": "V", "typadc_p": "MCP4802",
        "relpumpluft": 0.0, "einrelpumpluft": "W", "etagwt": 0.8, "einetagwt": "-",
        "laengespeicherkol": 15.0, "hoehekol": 8.0, "laengekolspeicher": 15.0, "einlaengerohr": "m",
        "durchmesserag": 0.022, "eindurchmesser": "m", "maximaldruck": 600e3, "eindruck": "N/qm",
        "info": "Solarkreis Cu 22x1, 2 x 15 m, Propylenglykol 40%"}])
    d1, laenge = 0.020, 10.0
    schreibe("gwt", [{
        "name": "gwt0", "laenge": laenge, "durchmesserd3": 0.042, "durchmesserd2": 0.040, "durchmesserd1": 0.022,
        "durchmesser_d2": 0.038, "durchmesser_d1": d1, "anzahl": 1, "einheit_laenge": "m",
        "austauschflaeche": round(math.pi * d1 * laenge, 4), "einheit_flaeche": "qm", "waermedz": 1000.0,
        "einheit_waermedz": "W/(K*m2)", "typ": "GR", "metall": "Cu", "preis": 400.0, "einheit_preis": "EUR",
        "info": "Rohr-in-Rohr-Gegenstromtauscher Cu, 10 m"}])
    schreibe("lage", [
        {"name": n, "theta": 45.0, "phi": 0.0, "einheitwinkel": "°", "kollektorflaeche": a,
         "solarzellenflaeche": 0.0, "bodenflaeche": 0.0, "einflaeche": "qm", "bodenabsorption": 0.8,
         "reflektion": 0.2, "einabref": "-", "dachflaeche": 80.0, "eindachflaeche": "qm",
         "vbreitezulaenge": 2.0, "einheitlaengev": "-", "hoehe": BS_HOEHE, "einhoehe": "m",
         "breitengrad": BS_BREITE, "laengengrad": BS_LAENGE, "eingrad": "°", "info": i}
        for n, a, i in (("l0", 8.0, "Braunschweig, Süddach 45°, 4 Kollektoren"),
                        ("l0_2", 16.0, "Braunschweig, Süddach 45°, 8 Kollektoren"))])
    schreibe("gas", [{"name": "g0", "wirkungsgrad": 0.95, "einwirkungsgrad": "-", "preis": 6000.0,
                      "einpreis": "EUR", "maximaleleistung": 15000.0, "einleistung": "W",
                      "info": "Gas-Brennwertkessel 15 kW"}])
    # Primary energy factor of grid electricity 1.8 (Gebäudeenergiegesetz, Anlage 4).
    schreibe("kraft", [{"name": "k0", "wirkungsgrad": round(1 / 1.8, 4), "einwirkungsgrad": "-",
                        "info": "Strommix, Primärenergiefaktor 1,8 (GEG)"}])
    schreibe("zelle", [{"name": "z0", "etaz": 0.20, "einetaz": "-", "flaeche": 0.0, "einflaeche": "qm",
                        "preis": 250.0, "einpreis": "EUR", "info": "Monokristallin, 20 %; keine Fläche belegt"}])
    schreibe("kalk", [{"name": "kalk0", "zinssatz": 3.0, "einheit zins": "%", "abzahlung": 20.0,
                       "einheit ab.": "a", "info": "3 % Zins, 20 Jahre"}])
    schreibe("rech", [{
        "name": "r45", "minge": 5e-08, "maxge": 5e-05, "einge": "m3/s", "anzge": 100, "maxwp": 10000.0,
        "einwp": "W", "mina": 2, "maxa": 20, "einflaeche": "qm", "danzflaeche": 2.0, "minleistwp": 4000.0,
        "maxleistwp": 10000.0, "anzwp": 1, "mintheta": 45.0, "maxtheta": 45.0, "anztheta": 1,
        "einheittheta": "°", "minexp": -5.0, "maxexp": 5.0, "anzexp": 1, "mindeltatkol": 0.0,
        # Block length of the reservoir exchanger "R" in the interval kernel: half a day of
        # hourly intervals, the most its block buffers hold.
        "maxdeltatkol": 10.0, "anzdeltatkol": 1, "einheittemp": "°C", "maxmittemp": 12,
        "info": "Neigung 45°, Fläche 2..20 qm in Schritten eines Kollektors"}])
    schreibe("tarife", [
        {"name": "strom", "beschreibung": "Haushaltsstrom", "preis_energie": 0.40, "einpreis": "EUR",
         "einenergie": "kWh", "info": "Annahme, Größenordnung 2024"},
        {"name": "wp_strom", "beschreibung": "Wärmepumpentarif", "preis_energie": 0.30, "einpreis": "EUR",
         "einenergie": "kWh", "info": "Annahme, Größenordnung 2024"},
        {"name": "gas", "beschreibung": "Erdgas", "preis_energie": 0.12, "einpreis": "EUR",
         "einenergie": "kWh", "info": "Annahme, Größenordnung 2024"}])
    schreibe("preis", [{"name": "pwp", "nachheizung": "gas", "ohne_kopplung": "wp_strom", "pumpen": "strom",
                        "info": "Gas-Nachheizung, Wärmepumpentarif"}])
    schreibe("sub", [{"name": "sub0", "zellef": 0.0, "zellep": 0.0, "zelleverg": 0.0, "kolf": 0.0, "kolp": 0.0,
                      "heizungp": 0.0, "einenergie": "kWh", "einpreis": "EUR", "einflaeche": "qm",
                      "info": "Keine Förderung"}])
    schreibe("unter", [
        {"name": "wartung_wp", "beschreibung": "Wartung WP", "gruppe": "H", "skalieren": "N", "preis": 150.0,
         "einpreis": "EUR", "einflaeche": "qm", "info": "Jährliche Wartung"},
        {"name": "wartung_solar", "beschreibung": "Wartung Solar", "gruppe": "T", "skalieren": "N",
         "preis": 80.0, "einpreis": "EUR", "einflaeche": "qm", "info": "Jährliche Sichtprüfung, Frostschutz"}])
    schreibe("unter_liste", [{"name": "uliste0", "unterhalt": "wartung_solar", "info": ""},
                             {"name": "uliste0", "unterhalt": "wartung_wp", "info": ""}])
    teile = [("Solarstation", "ST-01", "T", "N", 450.0), ("Ausdehnungsgefäß 25 l", "AG-25", "T", "N", 90.0),
             ("Kollektorbefestigung", "KB-01", "T", "J", 40.0), ("Solekreis Erdkollektor", "EK-01", "H", "J", 25.0)]
    schreibe("zu", [{"name": n, "artikelnummer": a, "gruppe": g, "skalieren": s, "preis": p, "einpreis": "EUR",
                     "info": ""} for n, a, g, s, p in teile])
    schreibe("liste", [{"name": "ek_e_i", "artikelname": n, "artikelnummer": a, "info": ""} for n, a, *_ in teile])
    schreibe("liste2", [{"name_einlesefile": "Braunschweig EFH", "name_liste": "ek_e_i", "info": ""}])
    schreibe("heizwert", [
        {"name": "Erdgas H", "brennwert": 11.5, "einheitenergie": "kWh", "einheitbrennstoff": "m3"},
        {"name": "Heizöl EL", "brennwert": 10.6, "einheitenergie": "kWh", "einheitbrennstoff": "l"}])
    schreibe("curr", [{"name": "Euro", "kuerzel": "EUR", "umrechnung": 1.0},
                      {"name": "Deutsche Mark", "kuerzel": "DM", "umrechnung": 1.95583}])
    schreibe("respfad", [{
        "name": "Standard", "pfadresultate": "Varnek/Results", "pfaddatabase": "Varnek/DataBase",
        "pfadklimadaten": "Varnek/European Radiaton Atlas 2000/DATA/CLIMATO", "zeilenueberlesen": 1,
        "spaltenueberlesen": 0, "zeilen": 1, "spalten": 12,
        "pfadtaeglichedaten": "Varnek/European Radiaton Atlas 2000/DATA/DAILY", "tdzeilenueberlesen": 1,
        "tdspaltenueberlesen": 2, "tdzeilen": 12, "tdspalten": 31,
        "pfadstuendlichedaten": "Varnek/European Radiaton Atlas 2000/DATA/HOURLY", "sdzeilenueberlesen": 1,
        "sdspaltenueberlesen": 3, "sdzeilen": 365, "sdspalten": 24,
        "pfadstationdaten": "Varnek/European Radiaton Atlas 2000/DATA/ancillary/stations.txt",
        "norm_ir": 1.0, "norm_ta": 1.0}])
    ja = {k: "J" for k in ("s_globale_einstrahlung", "s_diffuse_einstrahlung", "t_temperaturmaximum",
                           "t_temperaturminimum", "t_mittlere_temperatur", "mon_taegl_globale_einst",
                           "mon_taegl_temperaturmax", "mon_taegl_temperaturmin")}
    schreibe("wmo", [
        dict({"wmo": "10348", "name": "Braunschweig", "breite": "52.29", "laenge": "10.45", "hoehe": "81",
              "land": "D"}, **{k: ("J" if k == "mon_taegl_globale_einst" else "N") for k in ja}),
        dict({"wmo": "10379", "name": "Potsdam", "breite": "52.38", "laenge": "13.06", "hoehe": "81",
              "land": "D"}, **ja)])


# ---------------------------------------------------------------- units, descriptions
GROESSEN = [  # German name, main unit, code
    ("Energie", "kWh", "EN"), ("Druck", "N/qm", "DR"), ("Enthalpie", "kJ/kg", "ENT"), ("Länge", "m", "LE"),
    ("Fläche", "qm", "AR"), ("Temperatur", "°C", "TE"), ("Spannung", "V", "VT"), ("Strom", "mA", "AP"),
    ("Leistung", "W", "PO"), ("Gewicht", "kg", "WE"), ("Volumen", "m3", "VO"),
    ("Linearer Koeff. Kollektor", "W/(K*qm)", "ALK"), ("Quadratischer Koeff. Kollektor", "W/(K2*qm)", "GAK"),
    ("Lin. Koeff. Wärmepumpe", "1/K", "DEL"), ("Hyperb. Koeff. Wärmepumpe", "-", "DEH"),
    ("Spezifische Wärme", "J/(kg*K)", "SH"), ("Wärmeleitfähigkeit", "W/(mK)", "LAM"),
    ("Wärmedurchgangszahl", "W/(K*m2)", "WZ"), ("Molekulargewicht", "g/mol", "MOL"), ("Eta", "kg/(ms)", ""),
    ("Kinematische Viskosität", "m2/s", "NUE"), ("Dynamische Viskosität", "Pa*s", "ETA"),
    ("Dichte", "kg/m3", "DE"), ("Volumenstrom Träger", "m3/s", "CC"), ("Volumenstrom Luft", "m3/s", "AC"),
    ("Zeit", "h", "TI"), ("Relative Pumpleistung Luft", "W", "RCA"), ("Relative Pumpleist. Träger", "W/(kg/s)", "RCC"),
    ("Winkel", "°", "AN"), ("Geschwindigkeit", "m/s", "VC"), ("Einstrahlung", "kWh/qm", "IR"),
    ("Intensität", "W/qm", "IN"), ("Preis", "EUR", "PR"), ("Anteil", "-", "RA"), ("Abzahlungsdauer", "a", "RET"),
    ("Keine Einheit", "-", "NU"), ("Windabhängiger Wärmedurchgangskoeffizient", "J/(K*m3)", "WTK"),
    ("Windabhängiger Verlustkoeffizient", "s/m", "WK"), ("Verlustleistung", "W/(K*m2)", "LO")]


def einheiten():
    kcal = 4186 / 3600000
    zus = [("kWh/(qm * d)", 30, 1.0, 0.0, "T"), ("MJ/(qm * d)", 30, 1 / 3.6, 0.0, "T"),
           ("cal/(qcm * d)", 30, 10 * kcal, 0.0, "T"), ("kcal/(qm * d)", 30, kcal, 0.0, "T"),
           ("Wh/(qm * d)", 30, 0.001, 0.0, "T"), ("MJ/(qm * m)", 30, 1 / 3.6, 0.0, "N"),
           ("cal/(qcm * m)", 30, 10 * kcal, 0.0, "N"), ("kcal/(qm * m)", 30, kcal, 0.0, "N"),
           ("Wh/(qm * m)", 30, 0.001, 0.0, "N"), ("W/(kg/h)", 27, 3600.0, 0.0, "N"), ("W/(kg/h)", 26, 3600.0, 0.0, "N"),
           ("l", 10, 0.001, 0.0, "N"), ("F", 5, 5 / 9, -160 / 9, "N"), ("l/s", 24, 0.001, 0.0, "N"),
           ("l/h", 23, 1 / 3600000, 0.0, "N"), ("%", 33, 0.01, 0.0, "N")]
    zeilen = []
    for i, (k, q, beta, alpha, sk) in enumerate(zus):
        name, haupt, code = GROESSEN[q]
        zeilen.append({"Nummer": i + 1, "Kuerzel": k, "PhysGroesse": name, "Haupteinheit": haupt,
                       "Alpha": genau(alpha), "Beta": genau(beta), "Skalierung": sk, "Kennzeichen": code,
                       "Ausgabe": "N"})
    for q, (name, haupt, code) in enumerate(GROESSEN):
        zeilen.append({"Nummer": 17 + q, "Kuerzel": haupt, "PhysGroesse": name, "Haupteinheit": haupt,
                       "Alpha": 0.0, "Beta": 1.0, "Skalierung": "N", "Kennzeichen": code if code else "",
                       "Ausgabe": "J"})
    schreibe("einheiten", zeilen)


def memo():
    texte = {  # registry key: (German, English)
        "IR_TA_D": ("Wetterdaten Details", "Weather details"),
        "EW_D": ("Brauchwasserenergie Details", "Hot-water energy details"),
        "EH_D": ("Heizenergie Details", "Heating energy details"),
        "HAUPT": ("Standortdatensätze", "Site data sets"),
        "IR_TA_M": ("Monatliche Wetterdaten", "Monthly weather data"),
        "TE": ("Erdtemperatur", "Ground temperature"), "TW": ("Brauchwassertemperatur", "Hot-water temperature"),
        "TH": ("Heizungsvorlauftemperatur", "Heating flow temperature"),
        "EW_M": ("Brauchwasserenergie", "Hot-water energy"), "EH_M": ("Heizenergie", "Heating energy"),
        "EE": ("Elektrische Energie", "Electric energy"),
        "Rw": ("Rücklauftemperatur Warmwasser", "Hot-water return temperature"),
        "Rh": ("Rücklauftemperatur Heizung", "Heating return temperature"),
        "KO": ("Kreisläufe", "Circuits"), "KOL": ("Kollektor", "Collector"),
        "GWT": ("Wärmetauscher", "Heat exchanger"), "WP": ("Wärmepumpe", "Heat pump"),
        "KALK": ("Wirtschaftlichkeit", "Economy"), "NUM": ("Rechenmethoden", "Calculation methods"),
        "RECH": ("Rechenkonstanten", "Calculation constants"), "AN": ("Anlagestruktur", "Plant structure"),
        "GAS": ("Heizung", "Heating"), "PREIS": ("Energiepreis", "Energy price"),
        "KRAFT": ("Kraftwerk", "Power station"), "ZELLE": ("Solarzellen", "Solar cells"),
        "SPEI": ("Speicher", "Stores"), "SUB": ("Subvention", "Subsidies"), "UNTER": ("Unterhalt", "Maintenance"),
        "UNTER_LISTE": ("Unterhalt Liste", "Maintenance list"),
        "STEUERSPEICHER": ("Speicher-Steuerung", "Store control"), "LAGE": ("Lage", "Location"),
        "ZU": ("Teile", "Parts"), "LISTE": ("Zubehör Liste", "Accessory list"),
        "LISTE2": ("Gruppe von Zubehörlisten", "Group of accessory lists"),
        "HEIZWERT": ("Heizwerte der Brennstoffe", "Heating values of fuels"),
        "TARIFE": ("Energietarife", "Energy tariffs"), "LUFT": ("Stoffdaten Luft", "Property data of air"),
        "KAELTE": ("Dampftafel", "Saturation table"), "WAERME": ("Wärmeträger", "Heat-transfer fluids"),
        "CURR": ("Währungen", "Currencies"), "EINHEITEN": ("Einheiten", "Units"),
        "ResPFAD": ("Pfade", "Paths"), "RESULT": ("Ergebnisdateien", "Result files"),
        "MEMO": ("Beschreibungen", "Descriptions"), "KONTROLLE": ("Getestete Kombinationen", "Tested combinations"),
        "WMO": ("Wetterstationen", "Weather stations")}
    spalten = SCHEMA["memo"]
    assert set(spalten[1:]) == set(texte), set(spalten[1:]) ^ set(texte)
    schreibe("memo", [dict({"sprache": "Deutsch"}, **{k: v[0] for k, v in texte.items()}),
                      dict({"sprache": "English"}, **{k: v[1] for k, v in texte.items()})])


# ---------------------------------------------------------------- site data set
def haupt():
    werte = {"name": "Braunschweig EFH", "land": "D", "bezirk": "Niedersachsen", "ort": "Braunschweig",
             "kundennummer": "0", "ausgabefile": "braunschweig", "steuer": "braunschweig",
             "ir_ta_m": "ir_braunschweig_in_kWh", "te": "te0", "ew_m": "ew0", "eh_m": "eh0", "ee": "ee1",
             "tw": "tw0", "th": "th0", "rw": "rw0", "rh": "rh0", "kolu": "Euro C 20", "kolo": "Euro C 20",
             "gwt": "gwt0", "lage": "l0", "ko": "ko0", "wpww": "wp0", "wpwe": "wp0", "an": "ZJEG",
             "num": "MAVN-N", "steuerspeicher": "st0", "gas": "g0", "preis": "pwp", "kraft": "k0",
             "kalk": "kalk0", "rech": "r45", "zelle": "z0", "spei": "sp1m3", "zwischenspei": "sp10m3",
             "langspei": "sp0", "zubehoer": "ek_e_i", "sub": "sub0", "unter_liste": "uliste0", "lock": "NF",
             "info": "Einfamilienhaus Braunschweig mit Solarkollektoren und Sole-Wärmepumpe"}
    # The same house under the measured hourly weather of Potsdam 2019, computed analytically
    # hour by hour with the measured diffuse irradiation: the runner's main job.
    stuendlich = dict(werte, name="EFH Potsdam 2019 stuendlich", bezirk="Brandenburg", ort="Potsdam",
                      ausgabefile="potsdam_2019", steuer="potsdam_2019", ir_ta_m="ir_test_stuendlich",
                      an="EJEG", num="IAAN-D-E",
                      info="Einfamilienhaus wie Braunschweig EFH unter dem gemessenen Stundenwetter Potsdam 2019 "
                           "(DWD) mit gemessener Diffusstrahlung; analytisch in Stundenintervallen")
    # The temperature method (num.art "T") on the same house: the collector inflow temperature
    # is searched interval by interval, under the monthly weather of Braunschweig and under the
    # measured hourly weather of Potsdam 2019.
    temperatur_monat = dict(werte, name="Braunschweig EFH Temperatur", ausgabefile="braunschweig_t",
                            steuer="braunschweig_t", num="MATN-N",
                            info="Einfamilienhaus Braunschweig wie Braunschweig EFH; Temperaturverfahren "
                                 "mit Monatswetter")
    temperatur_stunde = dict(stuendlich, name="EFH Potsdam 2019 stuendlich Temperatur",
                             ausgabefile="potsdam_2019_t", steuer="potsdam_2019_t", an="ZJEG",
                             num="MATN-D-E",
                             info="Einfamilienhaus wie Braunschweig EFH unter dem gemessenen Stundenwetter "
                                  "Potsdam 2019 (DWD); Temperaturverfahren in Stundenintervallen")
    # The interval kernel on the same house: velocity and temperature together (art "M", month
    # mode) and the velocity method in intervals (zeitraum "I", art "V"), under the monthly
    # weather of Braunschweig and the hourly weather of Potsdam 2019, with the counter-flow
    # exchanger (ZJEG) and with the 10 m3 intermediate reservoir as exchanger (ZJER, blocks of
    # `maxmittemp` hours).
    intervall = []
    for basis, wetter in ((werte, "Monat"), (stuendlich, "Stunde")):
        for art, num in (("M", "MAMN"), ("V", "IAVN")):
            for an in ("ZJEG", "ZJER"):
                kennung = f"{art}{'R' if an == 'ZJER' else ''}{'_h' if wetter == 'Stunde' else ''}".lower()
                name = f"{basis['name']} Intervall {art}" + (" Reservoir" if an == "ZJER" else "")
                verfahren = ("Geschwindigkeit und Temperatur im Monatsmodus" if art == "M"
                             else "Geschwindigkeit in Intervallen")
                tauscher = "Zwischenreservoir 10 m3 als Tauscher" if an == "ZJER" else "Gegenstromtauscher"
                intervall.append(dict(basis, name=name, ausgabefile=f"{basis['ausgabefile']}_i{kennung}",
                                      steuer=f"{basis['steuer']}_i{kennung}", an=an,
                                      num=num + ("-N" if wetter == "Monat" else "-D-E"),
                                      info=f"Einfamilienhaus wie {basis['name']}; Intervallkern: {verfahren}, "
                                           f"{tauscher}, {wetter}swetter"))
    schreibe("haupt", [werte, stuendlich, temperatur_monat, temperatur_stunde] + intervall)
    for leer in ("result", "kontrolle"):
        schreibe(leer, [])


def main():
    os.makedirs(ZIEL, exist_ok=True)
    wetter()
    temperaturreihen()
    bedarf()
    waerme = kaeltemittel()
    stoffdaten(waerme)
    kollektoren()
    lin, hyp, poly = waermepumpe()
    strukturen()
    speicher()
    anlage()
    einheiten()
    memo()
    haupt()
    fehlend = set(SCHEMA) - {f[:-4] for f in os.listdir(ZIEL)}
    assert not fehlend, fehlend
    print("linear", lin, "hyperbolisch", hyp, "Polynom", poly)
    for tt, th, c in PUNKTE + [(10.0, 35.0, float("nan")), (-10.0, 55.0, float("nan")), (15.0, 30.0, float("nan"))]:
        p = poly
        d = th - tt
        print(f"  B{tt:g}/W{th:g}: COP {c:.3f}  L {lin[0] * d + lin[1]:.3f}  H {(th + 270) * hyp[0] / d + hyp[1]:.3f}"
              f"  4 {p[0] + p[1] / d + p[2] * d + p[3] * tt * d + p[4] * d * d + p[5] * tt * d * d + p[6] * tt:.3f}")


if __name__ == "__main__":
    main()
