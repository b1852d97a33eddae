#ifndef BLUEJAY_TRANSLATION_H
#define BLUEJAY_TRANSLATION_H

// Every text the game shows a player (menus, notices, status words, the
// editor's help, the tally) goes through Translate, so that a translation
// can replace it. The argument is the English text, a string literal at the
// call (the catalogue is gathered from the calls); a text that contains
// printf placeholders keeps them, in the same order, in every language.
//
//   textout_ex(canvas, font, Translate("Resume"), ...);
//
// A text kept in a table before it is shown is marked with
// TRANSLATE_LATER("...") where the table is written, and handed to
// Translate where it is drawn.
const char* Translate(const char* english);

#define TRANSLATE_LATER(english) (english)

#endif
