#include "lang/sprache.h"

namespace {
int g_sprache = SPRACHE_DEUTSCH;
}

int sprache() { return g_sprache; }

void setze_sprache(int index) {
    if (index == SPRACHE_DEUTSCH || index == SPRACHE_ENGLISCH) g_sprache = index;
}
