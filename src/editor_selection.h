#ifndef BLUEJAY_EDITOR_SELECTION_H
#define BLUEJAY_EDITOR_SELECTION_H

#include <vector>

#include "level.h"

class Application;

// The objects the author has picked out in the level being edited: one
// clicked object or all those of the mode's kind in a rectangle dragged with
// Shift. They can be deleted, moved a cell at a time, duplicated beside
// themselves, or copied and cut to the clipboard, which outlives level
// switches, so objects go from one level to another. Pasted objects hang on
// the pointer until a click drops them.
class Editor_Selection
{
public:
    // The selected records: indices into the list of the mode the selection
    // was made in, on the level it was made on.
    std::vector<int> members;
    int level = -1;
    int mode = 0;
    // The rectangle being dragged, in level pixels, while it is.
    bool stretching = false;
    long long from_x = 0;
    long long from_y = 0;
    long long to_x = 0;
    long long to_y = 0;

    void Clear();
    bool Empty() const { return members.empty(); }
    bool Contains(int index) const;
    // Forgets members that no longer stand where they were picked (another
    // level or mode, or a list that shrank).
    void Check(const Application& editor);

    void Select_One(const Application& editor, int index);
    void Begin_Rectangle(long long x, long long y);
    void Stretch_Rectangle(long long x, long long y);
    // Selects every record of the mode whose top-left corner lies in the
    // rectangle's cells.
    void End_Rectangle(const Application& editor);

    // The commands on the selection; each says what it did in a notice.
    void Copy(Application& editor);
    void Cut(Application& editor);
    // Adds the clipboard's objects with their top-left at a level cell and
    // leaves them hanging on the pointer.
    void Paste(Application& editor, long long x, long long y);
    void Delete(Application& editor);
    void Move(Application& editor, int dx, int dy);
    void Duplicate(Application& editor);

    // Pasted objects hang on the pointer: they follow it until a click.
    bool Floating() const { return floating && !members.empty(); }
    void Follow(Application& editor, long long x, long long y);
    void Drop() { floating = false; }

    int Clipboard_Size() const { return static_cast<int>(clipboard.size()); }

    // A frame around every selected object and the rectangle being dragged.
    void Draw(Application& editor) const;

private:
    // Checks the selection; false, and says so, when nothing is selected.
    bool Has_Members(Application& editor);
    // The clipboard: records placed from its top-left corner, and the mode
    // whose list they came from.
    std::vector<Map_Record> clipboard;
    int clipboard_mode = 0;
    bool floating = false;

    // The top-left corner of the selected records.
    void Corner(const Application& editor, long long& x, long long& y) const;
    // Adds copies of records at an offset; the copies become the selection.
    int Add_Copies(Application& editor, const std::vector<Map_Record>& records, long long x, long long y);
};

#endif
