#include "data/einheit_struct.h"

haupteinheiten_tabelle& haupteinheiten() {
    static haupteinheiten_tabelle tabelle;
    return tabelle;
}
