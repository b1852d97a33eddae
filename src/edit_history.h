#ifndef BLUEJAY_EDIT_HISTORY_H
#define BLUEJAY_EDIT_HISTORY_H

#include <vector>

#include "level.h"

// The editor's undo and redo: for every level, the steps made to it while
// the editor runs, each holding only what it changed. The history keeps a
// copy of the level being edited as it stood after the last step and finds
// each tick's changes by comparing the level with it, so every way of
// changing a level counts, whatever command made it.
class Edit_History
{
public:
    // Steps kept per level; the oldest go first.
    static constexpr int MAX_STEPS = 300;

    // What one change touches.
    static constexpr int CHARACTER_RECORD = 1;
    static constexpr int PLATFORM_RECORD = 2;
    static constexpr int CHARACTER_COUNT = 3;
    static constexpr int PLATFORM_COUNT = 4;
    static constexpr int POINTER = 5;
    static constexpr int BACKGROUND = 6;
    static constexpr int MUSIC = 7;

    // One value of the level, before and after; counts, pointers, the
    // background and the music keep theirs in x.
    class Change
    {
    public:
        int what;
        int index;
        Map_Record before;
        Map_Record after;
    };

    class Step
    {
    public:
        std::vector<Change> changes;
    };

    explicit Edit_History(int number_of_levels);

    // Takes the level as it stands now as the base of the next step.
    void Watch(int level_number, const Level& level);
    // Makes one step of whatever changed in the level since the last look;
    // false when nothing changed. Moves of one carried record in a row
    // (the same non-zero carry key each time) merge into one step.
    bool Record(int level_number, const Level& level, int carry_key);
    // Takes back the last step of the level, or makes it again; false when
    // there is none.
    bool Undo(int level_number, Level& level);
    bool Redo(int level_number, Level& level);

    // Where the last undo or redo changed an object, if it did.
    bool has_place = false;
    int place_x = 0;
    int place_y = 0;

    int Undo_Steps(int level_number) const;
    int Redo_Steps(int level_number) const;

private:
    std::vector<std::vector<Step>> undo_steps;
    std::vector<std::vector<Step>> redo_steps;
    // The watched level as it stood after the last step.
    int watched_level;
    std::vector<Map_Record> characters;
    std::vector<Map_Record> platforms;
    int number_of_characters;
    int number_of_platforms;
    int pointers[Level::NUMBER_OF_POINTERS];
    int background;
    int music;
    // The carry key of the last step, while it may still grow.
    int merging_key;

    bool Known(int level_number) const;
    void Compare_Records(int what, const Record_Table& records, int count, std::vector<Map_Record>& copy,
                         int copy_count, Step& step);
    static void Apply(Level& level, const Change& change, bool forward);
    void Find_Place(const Step& step, bool forward);
    bool Merge(int level_number, const Step& step);
};

#endif
