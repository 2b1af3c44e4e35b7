#pragma once
// Interface language: index 0 German, 1 English, and texts stored whole in both.

#include <string>

constexpr int SPRACHE_DEUTSCH = 0;
constexpr int SPRACHE_ENGLISCH = 1;

// The process-wide language index (starts German).
int sprache();
void setze_sprache(int index);

// A program text in both languages; `text()` gives the current one.
struct text_paar {
    const char* deutsch;
    const char* englisch;
    std::string text() const { return sprache() == SPRACHE_ENGLISCH ? englisch : deutsch; }
};

// Text globals used by the message routine.
namespace texte {
inline constexpr text_paar protokolldatei{"Protokoll.pro", "Protocol.pro"};
inline constexpr text_paar anwendung_beenden{"Anwendung beenden?", "Terminate application?"};
}  // namespace texte
