#include "data/tabellen_schema.h"

#include <sstream>
#include <vector>

namespace {

const char* const MONATE[12] = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                                "Juli",   "August",  "September", "Oktober", "November", "Dezember"};

std::string klein(std::string s) {
    if (!s.empty()) s[0] = static_cast<char>(s[0] - 'A' + 'a');
    return s;
}

// Column list in a compact notation: "name T50*; land T20; breite R" where
// the type is T<n> (T alone: T20), R, I, L, D or M, and '*' marks NOT NULL.
std::vector<spalten_def> spalten(const std::string& notation) {
    std::vector<spalten_def> ergebnis;
    std::stringstream ein(notation);
    std::string teil;
    while (std::getline(ein, teil, ';')) {
        const auto a = teil.find_first_not_of(' ');
        const auto e = teil.find_last_not_of(' ');
        if (a == std::string::npos) continue;
        teil = teil.substr(a, e - a + 1);
        const auto leer = teil.rfind(' ');
        spalten_def s;
        s.name = teil.substr(0, leer);
        std::string typ = teil.substr(leer + 1);
        if (!typ.empty() && typ.back() == '*') {
            s.pflicht = true;
            typ.pop_back();
        }
        switch (typ[0]) {
            case 'T':
                s.typ = spaltentyp::text;
                s.breite = typ.size() > 1 ? std::stoi(typ.substr(1)) : 20;
                break;
            case 'R':
                s.typ = spaltentyp::real;
                break;
            case 'I':
                s.typ = spaltentyp::integer;
                break;
            case 'L':
                s.typ = spaltentyp::bigint;
                break;
            case 'D':
                s.typ = spaltentyp::dezimal;
                break;
            default:
                s.typ = spaltentyp::memo;
                break;
        }
        ergebnis.push_back(s);
    }
    return ergebnis;
}

// The twelve monthly value columns: capitalised throughout, or capitalised
// January with lower case from February on.
std::string monatswerte(bool ab_februar_klein) {
    std::string s;
    for (int m = 0; m < 12; ++m)
        s += std::string(m > 0 && ab_februar_klein ? klein(MONATE[m]) : MONATE[m]) + " R; ";
    return s;
}

// Monthly value and detail-interval count, alternately.
std::string monatspaare(bool januar_gross) {
    std::string s;
    for (int m = 0; m < 12; ++m)
        s += std::string(m == 0 && januar_gross ? MONATE[0] : klein(MONATE[m])) + " R; m" +
             std::to_string(m + 1) + " R; ";
    return s;
}

std::string temperaturreihe(const std::string& beschreibung, bool ab_februar_klein) {
    return "name T50*; datenart T20; ort T50; land T10; breite R; länge R; einheit T20; " + beschreibung +
           "; quelle T10; meßdatum T20; datum der neuanlage T23; anzahl der werte R; " +
           monatswerte(ab_februar_klein) + (ab_februar_klein ? "info T255" : "Info T255");
}

std::string wetter_monat() {
    std::string s =
        "name T50*; wmo T50; ort T20; land T20; breite R; laenge R; einheit_ir T20; "
        "einheit_temp T20; theta R; quelle T20; meßdatum D; details T2; ";
    for (int m = 1; m <= 12; ++m) {
        const std::string n = std::to_string(m);
        s += "ir" + n + " R; diff" + n + " R; ta" + n + "min R; ta" + n + "max R; h" + n + " R; m" + n +
             " L; ";
    }
    return s +
           "zeitintervall T2; irgesamt R; mittlerewind R; einheit_wind T20; mittlerefeuchte R; "
           "einheit_feuchte T20; info T255";
}

std::string speichersteuerung() {
    const char* const m[12] = {"januar", "februar", "maerz",     "april",   "mai",      "juni",
                               "juli",   "august",  "september", "oktober", "november", "dezember"};
    std::string s = "name T50*; ";
    for (int i = 0; i < 12; ++i)
        s += std::string(i == 0 ? "LadeJanuar" : "lade" + std::string(m[i])) + " T1; entnehme" + m[i] +
             " T1; ";
    return s + "tmax R; tmin R; eint T20; deltamess R; eindeltamess T20; maxmittemp I; info M";
}

struct eintrag {
    const char* schluessel;
    const char* sql_name;
    const char* schluesselspalten;  // separated by ';'
    std::string spalten;
    std::vector<index_def> indizes;
};

std::vector<std::string> liste(const std::string& s) {
    std::vector<std::string> r;
    std::stringstream ein(s);
    std::string t;
    while (std::getline(ein, t, ';')) r.push_back(t);
    return r;
}

std::vector<eintrag> eintraege() {
    std::vector<eintrag> e;
    e.push_back({"IR_TA_D",
                 "ir_ta_d",
                 "name;monat;nummer",
                 "name T50*; monat I*; nummer I*; ir_g R; is_g R; ir_d R; is_d R; tamin R; tamax R; h R; "
                 "hm R; zeitintervall T2",
                 {{"iprim", {"name", "monat", "nummer"}}}});
    e.push_back({"EW_D",
                 "ew_d",
                 "name;monat;nummer",
                 "name T50*; monat I*; nummer I*; ew R; h R; hm R; zeitintervall T2; rel T2; normiert T2",
                 {}});
    e.push_back({"EH_D",
                 "eh_d",
                 "name;monat;nummer",
                 "name T255*; monat I*; nummer I*; eh R; h R; hm R; zeitintervall T2; rel T2; normiert T2",
                 {}});
    {
        std::string s =
            "name T50*; land T50*; bezirk T50*; ort T50*; kundennummer T50*; ausgabefile T50; steuer T50; ";
        for (const char* r :
             {"ir_ta_m", "te",   "ew_m",           "eh_m",     "ee",       "tw",    "th",         "rw",
              "rh",      "kolu", "kolo",           "gwt",      "lage",     "ko",    "wpww",       "wpwe",
              "an",      "num",  "steuerspeicher", "gas",      "preis",    "kraft", "kalk",       "rech",
              "zelle",   "spei", "zwischenspei",   "langspei", "zubehoer", "sub",   "unter_liste"})
            s += std::string(r) + " T50; ";
        s += "lock T50; info T255";
        e.push_back(
            {"HAUPT",
             "haupt",
             "name;land;bezirk;ort;kundennummer",
             s,
             {{"iname", {"name"}}, {"isortieren", {"land", "bezirk", "ort", "kundennummer", "name"}}}});
    }
    e.push_back({"IR_TA_M", "ir_ta_m", "name", wetter_monat(), {}});
    e.push_back({"TE", "te", "name", temperaturreihe("bodenart T20", false), {}});
    e.push_back({"TW", "tw", "name", temperaturreihe("nutzungsart T20", true), {}});
    e.push_back({"TH", "th", "name", temperaturreihe("heizungstyp R", true), {}});
    e.push_back({"EW_M",
                 "ew_m",
                 "name",
                 "name T50*; name_d T50; datenart T20; ort T50; land T5; breite R; länge R; einheit T10; "
                 "nutzungsart T20; quelle T10; meßdatum T20; datum der neuanlage T23; rel T2; "
                 "anzahl der werte R; puffer1 T2; puffer2 T2; puffer3 T2; puffer4 T2; " +
                     monatspaare(true) + "zeitintervall T2; gesamt R; info T255",
                 {}});
    e.push_back({"EH_M",
                 "eh_m",
                 "name",
                 "name T50*; name_d T50; datenart T20; ort T20; land T20; breite R; laenge R; einheit T10; "
                 "gebaeudetyp T20; heizungstyp T20; quelle T20; messdatum T20; datumderneuanlage T23; "
                 "flaeche R; einflaeche T10; energiepqm R; rel T2; anzahlderwerte I; " +
                     monatspaare(false) + "zeitintervall T2; gesamt R; info T255; TINNEN R; EinT T10",
                 {}});
    {
        std::string s =
            "Name T50*; Datenart T20; Ort T50; Land T5; Breite R; Länge R; Einheit T10; Nutzungsart T20; "
            "Quelle T10; Meßdatum T20; Datum der Neuanlage T23; Rel T2; Anzahl der Werte I; ";
        for (const char* m : MONATE) s += klein(m) + " R; ";
        e.push_back({"EE", "ee", "name", s + "gesamt R; info T255", {}});
    }
    e.push_back({"Rw", "rw", "name", temperaturreihe("heizungstyp R", true), {}});
    e.push_back({"Rh", "rh", "name", temperaturreihe("heizungstyp R", true), {}});
    e.push_back(
        {"KO",
         "ko",
         "name",
         "name T50*; name_wt_kollektor T20; name_wt_wp T20; name_wt_speicher T20; etalwt R; "
         "volstromluft R; einvolstromluft T20; relpumpkoll R; einrelpumpkoll T20; maximal_durchfluss R; "
         "eindurchfluss T20; maximalspannung R; einspannung T20; typadc_p T10; relpumpluft R; "
         "einrelpumpluft T20; etagwt R; einetagwt T20; laengespeicherkol R; hoehekol R; "
         "laengekolspeicher R; einlaengerohr T20; durchmesserag R; eindurchmesser T20; maximaldruck R; "
         "eindruck T20; info T255",
         {}});
    e.push_back(
        {"KOL",
         "kol",
         "name",
         "name T50*; flaeche R; einflaeche T20; breitezulaenge R; einbreite T20; alpha R; einalpha T20; "
         "beta R; gamma R; eingamma T20; windabhaengigert-koef R; einwindtkoef T20; "
         "windabhaengigerkoef R; einwindkoef T20; rohrdurchmesser R; einrohr T20; rohrabstand R; "
         "einrohrabstand T20; rohrverlegung T20; maximaldruck R; eindruck T20; relflaecheoben R; "
         "relflaecheunten R; hoeheventilator R; einhoehe T20; maximalu_ventilator R; einspannung T20; "
         "maximalvols_ventilator R; einvols T20; typadc_v T20; preis R; einpreis T20; info T255",
         {}});
    e.push_back(
        {"GWT",
         "gwt",
         "name",
         "name T50*; laenge R; durchmesserd3 R; durchmesserd2 R; durchmesserd1 R; durchmesser_d2 R; "
         "durchmesser_d1 R; anzahl I; einheit_laenge T20; austauschflaeche R; einheit_flaeche T20; "
         "waermedz R; einheit_waermedz T20; typ T2; metall T10; preis R; einheit_preis T20; info T255",
         {}});
    e.push_back(
        {"WP",
         "wp",
         "name;arbeitsweise",
         "name T50*; arbeitsweise T12*; antrieb T2; ankoeffizient R; eta R; eineta T20; deltalin R; "
         "eindeltalin T20; gammalin R; deltahyp R; eindeltahyp T20; gammahyp R; maximaleleistung R; "
         "einheitleistung T20; minq R; maxq R; einheitq T20; vkv0 R; einheitvkv0 T20; v0 R; "
         "einheitv0 T20; maxdruckt R; maxdruckh R; eindruck T20; regelbereich R; einregelbereich T20; "
         "maximalstrom R; einstrom T20; typadc_wp T10; preis R; preisprokw R; einpreis T10; info T255; "
         "MinPrimär R; EinMinP T20; alpha R; beta R; gamma R; delta R; cexp R; epsilon R; zeta R; "
         "eta_w R; anz_koeff R; Kaeltemittel T50",
         {}});
    e.push_back({"KALK",
                 "kalk",
                 "name",
                 "name T50*; zinssatz R; einheit zins T20; abzahlung R; einheit ab. T20; info T255",
                 {}});
    e.push_back({"NUM",
                 "num",
                 "name",
                 "name T50*; zeitraum T5; art T5; optimierung T5; strahlung T5; sortierung T5; monatstart I; "
                 "energiebedarfintervall T5; speicher T5; diffusestrahlung T5; modelltypwp T5; "
                 "modelltypdruckabfall T5; info T255",
                 {}});
    e.push_back(
        {"RECH",
         "rech",
         "name",
         "name T50*; minge R; maxge R; einge T20; anzge I; maxwp R; einwp T20; mina I; maxa I; "
         "einflaeche T20; danzflaeche R; minleistwp R; maxleistwp R; anzwp I; mintheta R; maxtheta R; "
         "anztheta I; einheittheta T20; minexp R; maxexp R; anzexp L; mindeltatkol R; maxdeltatkol R; "
         "anzdeltatkol L; einheittemp M; maxmittemp I; info T255",
         {}});
    e.push_back({"AN",
                 "an",
                 "name",
                 "Name T50*; Kopplungstyp T2; AnzahlKol T3; Ohne Kopplung T5; Heizung T2; LeistungWP T3; "
                 "Speicheraussent T2; Kaltwassertemp T2; Gegenstrom T2; info T255",
                 {}});
    e.push_back({"GAS",
                 "gas",
                 "name",
                 "name T50*; wirkungsgrad R; einwirkungsgrad T20; preis R; einpreis T20; maximaleleistung R; "
                 "einleistung T20; info T255",
                 {}});
    e.push_back({"PREIS",
                 "preis",
                 "name",
                 "name T50*; nachheizung T10; ohne_kopplung T10; pumpen T10; info T255",
                 {}});
    e.push_back({"KRAFT", "kraft", "name", "name T50*; wirkungsgrad R; einwirkungsgrad T20; info T255", {}});
    e.push_back(
        {"ZELLE",
         "zelle",
         "name",
         "name T50*; etaz R; einetaz T20; flaeche R; einflaeche T20; preis R; einpreis T20; info T255",
         {}});
    e.push_back(
        {"SPEI",
         "spei",
         "name",
         "name T50*; spmax R; einspmax T20; verluste R; einverluste T20; spezwaerm R; einspezwaerm T20; "
         "rospei R; einrospei T20; wtdaussen R; wtlaenge R; einlaenge T20; waermedz R; "
         "einheit_waermedz T20; preissp R; einpreis T20; info T255",
         {}});
    e.push_back({"SUB",
                 "sub",
                 "name",
                 "name T50*; zellef R; zellep R; zelleverg R; kolf R; kolp R; heizungp R; einenergie T20; "
                 "einpreis T20; einflaeche T20; info T255",
                 {}});
    e.push_back({"UNTER",
                 "unter",
                 "name",
                 "name T50*; beschreibung T20; gruppe T10; skalieren T10; preis R; einpreis T20; "
                 "einflaeche T20; info T255",
                 {}});
    e.push_back({"UNTER_LISTE", "unter_liste", "name;unterhalt", "name T50*; unterhalt T50*; info T255", {}});
    e.push_back({"STEUERSPEICHER", "steuer", "name", speichersteuerung(), {}});
    e.push_back(
        {"LAGE",
         "lage",
         "name",
         "name T50*; theta R; phi R; einheitwinkel T10; kollektorflaeche R; solarzellenflaeche R; "
         "bodenflaeche R; einflaeche T10; bodenabsorption R; reflektion R; einabref T20; dachflaeche R; "
         "eindachflaeche T20; vbreitezulaenge R; einheitlaengev T20; hoehe R; einhoehe T20; "
         "breitengrad R; laengengrad R; eingrad T20; info T255",
         {}});
    e.push_back({"ZU",
                 "zu",
                 "name;artikelnummer",
                 "name T50*; artikelnummer T20*; gruppe T1; skalieren T1; preis R; einpreis T20; info T255",
                 {{"iTyp", {"gruppe", "name"}}}});
    e.push_back({"LISTE",
                 "liste",
                 "name;artikelname;artikelnummer",
                 "name T50*; artikelname T50*; artikelnummer T20*; info T255",
                 {}});
    e.push_back({"LISTE2",
                 "liste2",
                 "name_einlesefile;name_liste",
                 "name_einlesefile T50*; name_liste T50*; info T255",
                 {}});
    e.push_back({"HEIZWERT",
                 "heizwert",
                 "name",
                 "name T50*; brennwert R; einheitenergie T20; einheitbrennstoff T20",
                 {{"iEinheitBrennstoff", {"einheitbrennstoff", "name"}}}});
    e.push_back({"TARIFE",
                 "tarife",
                 "name",
                 "name T50*; beschreibung T50; preis_energie R; einpreis T20; einenergie T20; info T255",
                 {}});
    e.push_back(
        {"LUFT",
         "luft",
         "medium;aggregatzustand;temperatur",
         "Nummer L; medium T20*; aggregatzustand T2*; temperatur R*; einheittemp T10; dichte R; "
         "einheitdichte T20; cp R; einheitcp T20; lambda R; einheitlambda T20; eta R; einheiteta T20; "
         "nue R; einheitnue T20; ps R; einheitps T20",
         {{"iname", {"medium", "aggregatzustand", "temperatur"}}}});
    e.push_back({"KAELTE",
                 "kaelte",
                 "name;temperatur",
                 "Nummer I; name T20*; temperatur R*; einheittemperatur T20; ps R; pss R; einheitdruck T20; "
                 "enthalpie R; einheitenthalpie T20",
                 {}});
    e.push_back({"WAERME",
                 "waerme",
                 "name",
                 "name T50*; spezwaermcpf R; spezwaermcpg R; einwaerm T20; dichte R; eindicht T20; "
                 "gefrierpunkt R; einheit_temp T20; molekulargewicht R; einheit_mol T20; kaeltemittel T20; "
                 "dynamischevisko R; eindynamischevisko T10; info T255",
                 {}});
    e.push_back({"CURR", "curr", "name", "name T20*; kuerzel T5; umrechnung R", {}});
    e.push_back({"EINHEITEN",
                 "einheiten",
                 "kuerzel;physgroesse",
                 "Nummer L; Kuerzel T50; PhysGroesse T50; Haupteinheit T50; Alpha R; Beta R; Skalierung T2; "
                 "Kennzeichen T3; Ausgabe T2",
                 {{"iname", {"Nummer"}}}});
    e.push_back(
        {"ResPFAD",
         "respfad",
         "name",
         "name T100*; pfadresultate T100; pfaddatabase T100; pfadklimadaten T100; zeilenueberlesen I; "
         "spaltenueberlesen I; zeilen I; spalten I; pfadtaeglichedaten T100; tdzeilenueberlesen I; "
         "tdspaltenueberlesen I; tdzeilen I; tdspalten I; pfadstuendlichedaten T100; "
         "sdzeilenueberlesen I; sdspaltenueberlesen I; sdzeilen I; sdspalten I; pfadstationdaten T100; "
         "norm_ir R; norm_ta R",
         {}});
    e.push_back(
        {"RESULT",
         "result",
         "name;land;bezirk;ort;kundennummer",
         "name T60*; land T10*; bezirk T50*; ort T50*; kundennummer T50*; haupteingabefile T60; "
         "breite R; länge R; programm T50; rechendatum R; pfad T50; optimierung T2; lock T2; info T255",
         {{"iname", {"name"}}, {"isortieren", {"name", "land", "bezirk", "ort", "kundennummer"}}}});
    e.push_back({"MEMO", "memo", "sprache", "", {}});  // columns filled below
    e.push_back({"KONTROLLE", "kontrolle", "kennung", "kennung T20*; an T20; num T20", {}});
    e.push_back(
        {"WMO",
         "wmo",
         "wmo",
         "wmo T5*; name T50; breite T7; laenge T8; hoehe T5; land T10; kartenzeile T5; kartenspalte T5; "
         "hs_globale_einstrahlung T2; hs_diffuse_einstrahlung T2; hs_direkte_einstrahlung T2; "
         "hs_sonnenscheindauer T2; s_globale_einstrahlung T2; s_diffuse_einstrahlung T2; "
         "s_sonnenscheindauer T2; t_globale_einstrahlung_ T2; t_niederschlaege T2; "
         "t_sonnenscheindauer T2; t_temperaturmaximum T2; t_temperaturminimum T2; "
         "t_mittlere_temperatur T2; m_sonnenscheindauer T2; leer T2; mon_taegl_globale_einst T2; "
         "monat_niederschlaege T2; mon_taegl_sonnenschein T2; mon_taegl_temperaturmax T2; "
         "mon_taegl_temperaturmin T2; mon_taegl_luftdruck T2; mon_taegl_dampfdruck T2; "
         "klimatische_zone T2; biomassen_zone T2",
         {{"iname", {"name"}},
          {"iwmo", {"wmo"}},
          {"iLand_Ort", {"land", "name"}},
          {"iBreite_Laenge", {"breite", "laenge"}}}});
    // The description table holds one text column per registry key.
    std::string memo = "sprache T20*";
    for (const auto& x : e) memo += std::string("; ") + x.schluessel + " M";
    e[tabledata::tmemodb].spalten = memo;
    return e;
}

struct registry {
    std::array<std::string, ANZ_TABELLEN> schluessel;
    std::array<tabellen_def, ANZ_TABELLEN> schema;
    registry() {
        const auto e = eintraege();
        for (int i = 0; i < ANZ_TABELLEN; ++i) {
            const auto& x = e[static_cast<size_t>(i)];
            schluessel[static_cast<size_t>(i)] = x.schluessel;
            auto& d = schema[static_cast<size_t>(i)];
            d.sql_name = x.sql_name;
            d.spalten = spalten(x.spalten);
            d.schluessel = liste(x.schluesselspalten);
            // Key columns are named as the stored columns are spelled.
            for (auto& k : d.schluessel)
                for (const auto& s : d.spalten)
                    if (gleich_ohne_gross_klein(s.name, k)) k = s.name;
            d.indizes = x.indizes;
        }
        // The description table holds whatever per-table columns an
        // installation has; only its language key is required.
        schema[tabledata::tmemodb].nur_schluessel_pflicht = true;
    }
};

const registry& reg() {
    static const registry r;
    return r;
}

}  // namespace

const std::string& tabellenschluessel(int index) { return reg().schluessel.at(static_cast<size_t>(index)); }

const tabellen_def& tabellenschema(int index) { return reg().schema.at(static_cast<size_t>(index)); }
