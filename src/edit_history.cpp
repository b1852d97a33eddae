#include "edit_history.h"

#include <algorithm>

namespace
{
bool Same(const Map_Record& a, const Map_Record& b)
{
    return a.x == b.x && a.y == b.y && a.type == b.type;
}

Map_Record Value(int value)
{
    Map_Record record;
    record.x = value;
    record.y = 0;
    record.type = 0;
    return record;
}

void Add(Edit_History::Step& step, int what, int index, const Map_Record& before, const Map_Record& after)
{
    Edit_History::Change change;
    change.what = what;
    change.index = index;
    change.before = before;
    change.after = after;
    step.changes.push_back(change);
}

void Add_Value(Edit_History::Step& step, int what, int index, int before, int after)
{
    if (before != after)
        Add(step, what, index, Value(before), Value(after));
}

// A record of a table; a place the table has not made yet holds nothing.
Map_Record At(const Record_Table& records, int index)
{
    const Map_Record* record = records[index];
    return record != nullptr ? *record : Value(0);
}

// A step that only moves one record, its type kept.
bool Is_Move(const Edit_History::Step& step)
{
    if (step.changes.size() != 1)
        return false;
    const Edit_History::Change& change = step.changes[0];
    return (change.what == Edit_History::CHARACTER_RECORD || change.what == Edit_History::PLATFORM_RECORD) &&
           change.before.type == change.after.type;
}
} // namespace

Edit_History::Edit_History(int number_of_levels)
    : undo_steps(number_of_levels), redo_steps(number_of_levels), watched_level(-1), number_of_characters(0),
      number_of_platforms(0), pointers(), background(0), music(0), merging_key(0)
{
}

bool Edit_History::Known(int level_number) const
{
    return level_number >= 0 && level_number < static_cast<int>(undo_steps.size());
}

void Edit_History::Watch(int level_number, const Level& level)
{
    watched_level = level_number;
    merging_key = 0;
    number_of_characters = std::clamp(level.number_of_characters, 0, Level::MAX_CHARACTERS);
    number_of_platforms = std::clamp(level.number_of_platforms, 0, Level::MAX_PLATFORMS);
    characters.resize(number_of_characters);
    for (int i = 0; i < number_of_characters; i++)
        characters[i] = At(level.character_records, i);
    platforms.resize(number_of_platforms);
    for (int i = 0; i < number_of_platforms; i++)
        platforms[i] = At(level.platform_records, i);
    std::copy(level.pointers, level.pointers + Level::NUMBER_OF_POINTERS, pointers);
    background = level.background;
    music = level.music;
}

void Edit_History::Compare_Records(int what, const Record_Table& records, int count,
                                   std::vector<Map_Record>& copy, int copy_count, Step& step)
{
    if (static_cast<int>(copy.size()) < count)
        copy.resize(count);
    int reach = std::max(count, copy_count);
    for (int i = 0; i < reach; i++)
    {
        if (i >= count)
        {
            // Out of use now: kept as it was, so that taking the step back
            // brings it back whole.
            Add(step, what, i, copy[i], copy[i]);
            continue;
        }
        Map_Record before = i < copy_count ? copy[i] : Value(0);
        Map_Record now = At(records, i);
        if (i >= copy_count || !Same(before, now))
        {
            Add(step, what, i, before, now);
            copy[i] = now;
        }
    }
}

bool Edit_History::Record(int level_number, const Level& level, int carry_key)
{
    if (!Known(level_number))
        return false;
    if (level_number != watched_level)
    {
        Watch(level_number, level);
        return false;
    }
    int characters_now = std::clamp(level.number_of_characters, 0, Level::MAX_CHARACTERS);
    int platforms_now = std::clamp(level.number_of_platforms, 0, Level::MAX_PLATFORMS);
    Step step;
    Compare_Records(CHARACTER_RECORD, level.character_records, characters_now, characters, number_of_characters,
                    step);
    Compare_Records(PLATFORM_RECORD, level.platform_records, platforms_now, platforms, number_of_platforms, step);
    Add_Value(step, CHARACTER_COUNT, 0, number_of_characters, characters_now);
    Add_Value(step, PLATFORM_COUNT, 0, number_of_platforms, platforms_now);
    for (int i = 0; i < Level::NUMBER_OF_POINTERS; i++)
        Add_Value(step, POINTER, i, pointers[i], level.pointers[i]);
    Add_Value(step, BACKGROUND, 0, background, level.background);
    Add_Value(step, MUSIC, 0, music, level.music);
    if (step.changes.empty())
    {
        if (carry_key != merging_key)
            merging_key = 0;
        return false;
    }
    bool merged = carry_key != 0 && carry_key == merging_key && Merge(level_number, step);
    Watch(level_number, level);
    redo_steps[level_number].clear();
    if (!merged)
    {
        std::vector<Step>& steps = undo_steps[level_number];
        steps.push_back(step);
        if (static_cast<int>(steps.size()) > MAX_STEPS)
            steps.erase(steps.begin());
    }
    merging_key = Is_Move(step) ? carry_key : 0;
    return true;
}

bool Edit_History::Merge(int level_number, const Step& step)
{
    std::vector<Step>& steps = undo_steps[level_number];
    if (steps.empty() || !Is_Move(step) || !Is_Move(steps.back()))
        return false;
    Change& last = steps.back().changes[0];
    const Change& next = step.changes[0];
    if (last.what != next.what || last.index != next.index)
        return false;
    last.after = next.after;
    return true;
}

void Edit_History::Apply(Level& level, const Change& change, bool forward)
{
    const Map_Record& value = forward ? change.after : change.before;
    switch (change.what)
    {
    case CHARACTER_RECORD:
        if (change.index >= 0 && change.index < Level::MAX_CHARACTERS)
            *level.character_records[change.index] = value;
        break;
    case PLATFORM_RECORD:
        if (change.index >= 0 && change.index < Level::MAX_PLATFORMS)
            *level.platform_records[change.index] = value;
        break;
    case CHARACTER_COUNT:
        level.number_of_characters = value.x;
        break;
    case PLATFORM_COUNT:
        level.number_of_platforms = value.x;
        break;
    case POINTER:
        if (change.index >= 0 && change.index < Level::NUMBER_OF_POINTERS)
            level.pointers[change.index] = value.x;
        break;
    case BACKGROUND:
        level.background = value.x;
        break;
    case MUSIC:
        level.music = value.x;
        break;
    default:
        break;
    }
}

void Edit_History::Find_Place(const Step& step, bool forward)
{
    // The first object the step touched, where it stands now; a record
    // that is gone now shows where it stood.
    has_place = false;
    for (const Change& change : step.changes)
    {
        if (change.what != CHARACTER_RECORD && change.what != PLATFORM_RECORD)
            continue;
        const Map_Record& now = forward ? change.after : change.before;
        const Map_Record& other = forward ? change.before : change.after;
        const Map_Record& place = now.type != 0 ? now : other;
        place_x = place.x;
        place_y = place.y;
        has_place = true;
        return;
    }
}

bool Edit_History::Undo(int level_number, Level& level)
{
    if (!Known(level_number) || undo_steps[level_number].empty())
        return false;
    Step step = undo_steps[level_number].back();
    undo_steps[level_number].pop_back();
    for (auto change = step.changes.rbegin(); change != step.changes.rend(); ++change)
        Apply(level, *change, false);
    Find_Place(step, false);
    redo_steps[level_number].push_back(step);
    Watch(level_number, level);
    return true;
}

bool Edit_History::Redo(int level_number, Level& level)
{
    if (!Known(level_number) || redo_steps[level_number].empty())
        return false;
    Step step = redo_steps[level_number].back();
    redo_steps[level_number].pop_back();
    for (const Change& change : step.changes)
        Apply(level, change, true);
    Find_Place(step, true);
    undo_steps[level_number].push_back(step);
    Watch(level_number, level);
    return true;
}

int Edit_History::Undo_Steps(int level_number) const
{
    return Known(level_number) ? static_cast<int>(undo_steps[level_number].size()) : 0;
}

int Edit_History::Redo_Steps(int level_number) const
{
    return Known(level_number) ? static_cast<int>(redo_steps[level_number].size()) : 0;
}
