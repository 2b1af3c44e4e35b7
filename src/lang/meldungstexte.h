#pragma once
// English for the messages that the engine and the loaders build from German
// text and numbers. Most messages come as German/English pairs (text_paar);
// the older steps of the engine and the input preparation pass German text
// straight to `meldung`. With English chosen, `meldung` puts each message
// through `meldung_in_sprache`, which replaces the known German pieces of
// such messages by their English (longest piece first; numbers and names
// between the pieces stay as they are). A message that is English already
// passes unchanged.

#include <string>

// `text` in the chosen language.
std::string meldung_in_sprache(const std::string& text);
