#ifndef BLUEJAY_TRANSLATION_H
#define BLUEJAY_TRANSLATION_H

#include <string>
#include <vector>

// Every text the game shows a player (menus, notices, status words, the
// editor's help, the tally) goes through Translate, so that a translation
// can replace it. The argument is the English text, a string literal at the
// call (the catalogue po/bluejay.pot is gathered from the calls); a text that
// contains printf placeholders keeps them, in the same order, in every
// language.
//
//   textout_ex(canvas, font, Translate("Resume"), ...);
//
// A text kept in a table before it is shown is marked with
// TRANSLATE_LATER("...") where the table is written, and handed to
// Translate where it is drawn.
//
// A translated text is UTF-8, which the library draws as it stands; the
// built-in font has the Latin letters (ASCII, Latin-1, Latin Extended-A).
// With no catalogue for the player's language every text is the English one.
const char* Translate(const char* english);

#define TRANSLATE_LATER(english) (english)

// The catalogue's name (bluejay.mo in <locale folder>/<language>/LC_MESSAGES).
extern const char* const TRANSLATION_DOMAIN;

// Chooses the language of the texts: the given one (the settings file's
// [display] language, or the Options menu's) when it is not empty, else the
// player's environment (LANGUAGE, else LC_ALL, LC_MESSAGES, LANG). Can be
// called again at any time; the next Translate reads the new language.
// True when a catalogue of the language was found (English needs none).
bool Choose_Language(const std::string& language);

// The language codes in the order they are tried, each with its fallback
// without the country ("de_AT", "de"); empty for English. Only letters and
// underscores, so each names a folder safely (data/messages/<code>/).
const std::vector<std::string>& Language_Folders();

// The languages that have a catalogue, by code ("de", "fr"), sorted; with
// English (""), first, the choices a menu of languages offers.
std::vector<std::string> Installed_Languages();

// A language's own name for itself ("Deutsch"), the code when it is not
// known, "English" for "".
std::string Language_Name(const std::string& code);

// True while a catalogue is in use.
bool Translating();

// The folder the catalogues are read from: beside the program in a build
// tree (build/locale), the installation's share/locale, else the system's.
std::string Locale_Directory();

// The number of characters (not bytes) of a UTF-8 text.
int Text_Characters(const char* text);

// A printf format (a translated one, say) filled in, as a string.
std::string Format_Text(const char* format, ...) __attribute__((format(printf, 1, 2)));

// text padded with blanks to at least width characters.
std::string Padded_Text(const char* text, int width);

#endif
