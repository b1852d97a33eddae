#ifndef BLUEJAY_MENU_H
#define BLUEJAY_MENU_H

#include <string>
#include <vector>

#include <allegro.h>

#include "menu_controls.h"

// A list of entries on a dark panel in the game's font: a heading, one
// line an entry with its value on the right, the highlighted one on a
// bar, a line for a word to the player under them. Up and Down (or the
// mouse) move the highlight over the entries that can be chosen, Enter or a
// click chooses, Left and Right change a value, Esc backs out. A list
// longer than the panel scrolls.
class Menu
{
public:
    static constexpr int LINE_HEIGHT = 10;
    static constexpr int PADDING = 6;
    static constexpr int NONE = -1;

    struct Entry
    {
        std::string text;
        std::string value;
        // A heading or a line of a list that only tells.
        bool selectable = true;
    };

    // What one tick did.
    struct Result
    {
        int chosen = NONE;
        // -1 or +1: Left or Right on the highlighted entry.
        int step = 0;
        bool back = false;
    };

    std::string heading;
    std::vector<Entry> entries;
    // A word under the entries ("That key is already used").
    std::string word;
    int highlight = 0;
    int first_shown = 0;
    // The panel's top, width and the most entries it shows at once.
    int top = 24;
    int width = 224;
    int rows = 14;
    // Room above and below the entries.
    int padding = PADDING;

    void Add(const std::string& text, const std::string& value = std::string(), bool selectable = true);
    // Moves the highlight onto the nearest entry that can be chosen.
    void Settle();
    Result Handle(const Menu_Input& input);
    void Draw(BITMAP* canvas) const;
    // The entry drawn at a canvas point, or NONE.
    int Entry_At(int x, int y) const;

private:
    int Entries_Top() const;
    void Move(int direction);
    void Keep_In_View();
};

#endif
