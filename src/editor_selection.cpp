#include "editor_selection.h"

#include "editor_mouse.h"

#include <allegro.h>

#include <algorithm>

#include "application.h"
#include "translation.h"

namespace
{
bool Characters(int mode)
{
    return mode == Application::CHARACTER_MODE;
}

Record_Table& Records(const Application& editor, int mode)
{
    Level& level = *editor.levels[editor.current_level];
    return Characters(mode) ? level.character_records : level.platform_records;
}

int& Count(const Application& editor, int mode)
{
    Level& level = *editor.levels[editor.current_level];
    return Characters(mode) ? level.number_of_characters : level.number_of_platforms;
}

int Limit(int mode)
{
    return Characters(mode) ? Level::MAX_CHARACTERS : Level::MAX_PLATFORMS;
}

constexpr int CELL = Application::EDITOR_STEP;

long long Cell_Floor(long long value)
{
    return Editor_Mouse::Cell_Floor(value);
}
} // namespace

void Editor_Selection::Clear()
{
    members.clear();
    stretching = false;
    floating = false;
}

bool Editor_Selection::Contains(int index) const
{
    return std::find(members.begin(), members.end(), index) != members.end();
}

void Editor_Selection::Check(const Application& editor)
{
    bool objects = editor.editor_mode == Application::CHARACTER_MODE ||
                   editor.editor_mode == Application::PLATFORM_MODE;
    if (!objects || level != editor.current_level || mode != editor.editor_mode)
    {
        members.clear();
        floating = false;
        stretching = stretching && objects && level == editor.current_level && mode == editor.editor_mode;
        return;
    }
    int count = Count(editor, mode);
    members.erase(std::remove_if(members.begin(), members.end(), [count](int i) { return i < 0 || i >= count; }),
                  members.end());
}

void Editor_Selection::Select_One(const Application& editor, int index)
{
    Clear();
    level = editor.current_level;
    mode = editor.editor_mode;
    members.push_back(index);
}

void Editor_Selection::Begin_Rectangle(long long x, long long y)
{
    members.clear();
    floating = false;
    stretching = true;
    from_x = to_x = x;
    from_y = to_y = y;
}

void Editor_Selection::Stretch_Rectangle(long long x, long long y)
{
    to_x = x;
    to_y = y;
}

void Editor_Selection::End_Rectangle(const Application& editor)
{
    stretching = false;
    members.clear();
    level = editor.current_level;
    mode = editor.editor_mode;
    long long left = Cell_Floor(std::min(from_x, to_x)), top = Cell_Floor(std::min(from_y, to_y));
    long long right = Cell_Floor(std::max(from_x, to_x)) + CELL - 1;
    long long bottom = Cell_Floor(std::max(from_y, to_y)) + CELL - 1;
    const Record_Table& records = Records(editor, mode);
    for (int i = 0; i < Count(editor, mode); i++)
        if (records[i]->x >= left && records[i]->x <= right && records[i]->y >= top && records[i]->y <= bottom)
            members.push_back(i);
}

void Editor_Selection::Corner(const Application& editor, long long& x, long long& y) const
{
    const Record_Table& records = Records(editor, mode);
    x = y = 0;
    bool first = true;
    for (int i : members)
    {
        x = first ? records[i]->x : std::min<long long>(x, records[i]->x);
        y = first ? records[i]->y : std::min<long long>(y, records[i]->y);
        first = false;
    }
}

bool Editor_Selection::Has_Members(Application& editor)
{
    Check(editor);
    if (members.empty())
        editor.Set_Editor_Notice(Translate("Nothing selected: Shift+drag or click an object"));
    return !members.empty();
}

void Editor_Selection::Copy(Application& editor)
{
    if (!Has_Members(editor))
        return;
    long long x, y;
    Corner(editor, x, y);
    clipboard.clear();
    clipboard_mode = mode;
    const Record_Table& records = Records(editor, mode);
    for (int i : members)
        clipboard.push_back(
            {static_cast<int>(records[i]->x - x), static_cast<int>(records[i]->y - y), records[i]->type});
    editor.Set_Editor_Notice(Translate("Copied %i objects"), static_cast<int>(clipboard.size()));
}

void Editor_Selection::Cut(Application& editor)
{
    Check(editor);
    if (members.empty())
    {
        Copy(editor);
        return;
    }
    Copy(editor);
    int copied = static_cast<int>(clipboard.size());
    Delete(editor);
    editor.Set_Editor_Notice(Translate("Cut %i objects"), copied);
}

int Editor_Selection::Add_Copies(Application& editor, const std::vector<Map_Record>& records, long long x,
                                 long long y)
{
    Record_Table& list = Records(editor, mode);
    int& count = Count(editor, mode);
    members.clear();
    for (const Map_Record& record : records)
    {
        if (count >= Limit(mode))
            break;
        Map_Record& added = *list[count];
        added.type = record.type;
        added.x = static_cast<int>(std::clamp<long long>(record.x + x, -1000000, 1000000));
        added.y = static_cast<int>(std::clamp<long long>(record.y + y, -1000000, 1000000));
        members.push_back(count++);
    }
    int added = static_cast<int>(members.size());
    if (added < static_cast<int>(records.size()))
        editor.Set_Editor_Notice(Translate("The level is full: %i of %i objects placed"), added,
                                 static_cast<int>(records.size()));
    return added;
}

void Editor_Selection::Paste(Application& editor, long long x, long long y)
{
    if (clipboard.empty())
    {
        editor.Set_Editor_Notice(Translate("Nothing to paste: copy with Ctrl+C first"));
        return;
    }
    // The clipboard's objects go into their own kind's list.
    if (editor.editor_mode != clipboard_mode)
    {
        editor.editor_mode = clipboard_mode;
        editor.current_object_type =
            Characters(clipboard_mode) ? editor.last_character_type : editor.last_platform_type;
    }
    editor.selected_object = Application::NO_OBJECT_SELECTED;
    level = editor.current_level;
    mode = clipboard_mode;
    stretching = false;
    if (Add_Copies(editor, clipboard, x, y) > 0)
    {
        floating = true;
        editor.Set_Editor_Notice(Translate("Pasted %i objects: click to drop them"),
                                 static_cast<int>(members.size()));
    }
}

void Editor_Selection::Delete(Application& editor)
{
    Check(editor);
    // From the highest index down, each taking the last record's place, so
    // no member moves before it goes.
    std::vector<int> doomed = members;
    std::sort(doomed.rbegin(), doomed.rend());
    Record_Table& records = Records(editor, mode);
    int& count = Count(editor, mode);
    for (int i : doomed)
    {
        *records[i] = *records[count - 1];
        count--;
    }
    if (!doomed.empty())
        editor.Set_Editor_Notice(Translate("Deleted %i objects"), static_cast<int>(doomed.size()));
    editor.selected_object = Application::NO_OBJECT_SELECTED;
    Clear();
}

void Editor_Selection::Move(Application& editor, int dx, int dy)
{
    Check(editor);
    Record_Table& records = Records(editor, mode);
    for (int i : members)
    {
        records[i]->x += dx;
        records[i]->y += dy;
    }
}

void Editor_Selection::Duplicate(Application& editor)
{
    if (!Has_Members(editor))
        return;
    // The copies go right beside the selection, past its widest picture.
    long long x, y;
    Corner(editor, x, y);
    long long right = x;
    std::vector<Map_Record> copies;
    const Record_Table& records = Records(editor, mode);
    for (int i : members)
    {
        int width = std::max(CELL, editor.Bitmap_Width(Application::Get_Object_Bitmap(records[i]->type)));
        right = std::max<long long>(right, records[i]->x + width);
        copies.push_back(
            {static_cast<int>(records[i]->x - x), static_cast<int>(records[i]->y - y), records[i]->type});
    }
    long long step = (right - x + CELL - 1) / CELL * CELL;
    int added = Add_Copies(editor, copies, x + step, y);
    editor.Set_Editor_Notice(Translate("Duplicated %i objects"), added);
}

void Editor_Selection::Follow(Application& editor, long long x, long long y)
{
    Check(editor);
    if (!Floating())
        return;
    long long corner_x, corner_y;
    Corner(editor, corner_x, corner_y);
    if (corner_x != x || corner_y != y)
        Move(editor, static_cast<int>(x - corner_x), static_cast<int>(y - corner_y));
}

void Editor_Selection::Draw(Application& editor) const
{
    Level& current = *editor.levels[editor.current_level];
    int yellow = makecol(255, 255, 0);
    int zoom = editor.editor_zoom;
    if (stretching)
    {
        long long left = Cell_Floor(std::min(from_x, to_x)) - current.scroll_x;
        long long top = Cell_Floor(std::min(from_y, to_y)) - current.scroll_y;
        long long right = Cell_Floor(std::max(from_x, to_x)) + CELL - current.scroll_x;
        long long bottom = Cell_Floor(std::max(from_y, to_y)) + CELL - current.scroll_y;
        rect(editor.canvas, static_cast<int>(left / zoom), static_cast<int>(top / zoom),
             static_cast<int>(right / zoom) - 1, static_cast<int>(bottom / zoom) - 1, yellow);
    }
    if (level != editor.current_level || mode != editor.editor_mode)
        return;
    const Record_Table& records = Records(editor, mode);
    int count = Count(editor, mode);
    for (int i : members)
    {
        if (i < 0 || i >= count)
            continue;
        int picture = Application::Get_Object_Bitmap(records[i]->type);
        long long x = records[i]->x - current.scroll_x, y = records[i]->y - current.scroll_y;
        if (x < -4 * Application::CANVAS_WIDTH * zoom || x > 4 * Application::CANVAS_WIDTH * zoom ||
            y < -4 * Application::CANVAS_HEIGHT * zoom || y > 4 * Application::CANVAS_HEIGHT * zoom)
            continue;
        int width = std::max(CELL, editor.Bitmap_Width(picture));
        int height = std::max(CELL, editor.Bitmap_Height(picture));
        rect(editor.canvas, static_cast<int>(x / zoom) - 1, static_cast<int>(y / zoom) - 1,
             static_cast<int>((x + width) / zoom), static_cast<int>((y + height) / zoom), yellow);
    }
}
