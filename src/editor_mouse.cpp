#include "editor_mouse.h"

#include <allegro.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>

#include "application.h"
#include "editor_selection.h"
#include "level.h"
#include "translation.h"

namespace
{
// Presses and releases of each button since the last look, counted by the
// library's callback on its own thread.
std::atomic<int> latched_presses[Editor_Mouse::BUTTONS];
std::atomic<int> latched_releases[Editor_Mouse::BUTTONS];

constexpr int DOWN_FLAGS[Editor_Mouse::BUTTONS] = {MOUSE_FLAG_LEFT_DOWN, MOUSE_FLAG_RIGHT_DOWN,
                                                   MOUSE_FLAG_MIDDLE_DOWN};
constexpr int UP_FLAGS[Editor_Mouse::BUTTONS] = {MOUSE_FLAG_LEFT_UP, MOUSE_FLAG_RIGHT_UP, MOUSE_FLAG_MIDDLE_UP};

constexpr int CELL = Application::EDITOR_STEP;

bool Objects(const Application& editor)
{
    return editor.editor_mode == Application::CHARACTER_MODE || editor.editor_mode == Application::PLATFORM_MODE;
}

bool Characters(const Application& editor)
{
    return editor.editor_mode == Application::CHARACTER_MODE;
}

Record_Table& Records(Application& editor)
{
    Level& level = *editor.levels[editor.current_level];
    return Characters(editor) ? level.character_records : level.platform_records;
}

int& Count(Application& editor)
{
    Level& level = *editor.levels[editor.current_level];
    return Characters(editor) ? level.number_of_characters : level.number_of_platforms;
}

} // namespace

void Editor_Mouse::Install()
{
    for (int i = 0; i < BUTTONS; i++)
    {
        latched_presses[i] = 0;
        latched_releases[i] = 0;
    }
    mouse_callback = Latch;
}

void Editor_Mouse::Remove()
{
    if (mouse_callback == Latch)
        mouse_callback = nullptr;
}

void Editor_Mouse::Latch(int flags)
{
    for (int i = 0; i < BUTTONS; i++)
    {
        if (flags & DOWN_FLAGS[i])
            latched_presses[i]++;
        if (flags & UP_FLAGS[i])
            latched_releases[i]++;
    }
}

void Editor_Mouse::Read()
{
    if (mouse_driver != nullptr && mouse_needs_poll())
        poll_mouse();
    int now_x = mouse_x, now_y = mouse_y, now_z = mouse_z, buttons = mouse_b;
    moved = ready && (now_x != x || now_y != y);
    wheel = ready ? now_z - z_before : 0;
    x = now_x;
    y = now_y;
    z_before = now_z;
    for (int i = 0; i < BUTTONS; i++)
    {
        bool down = (buttons >> i) & 1;
        int presses = latched_presses[i].exchange(0);
        int releases = latched_releases[i].exchange(0);
        pressed[i] = ready && (presses > 0 || (down && !held[i]));
        released[i] = ready && (releases > 0 || (!down && held[i]));
        held[i] = down;
    }
    ready = true;
}

int Editor_Mouse::Record_At(const Application& editor, const Level& level, bool characters, long long level_x,
                            long long level_y, int below)
{
    const Record_Table& records = characters ? level.character_records : level.platform_records;
    int count = characters ? level.number_of_characters : level.number_of_platforms;
    // The last drawn is on top.
    for (int i = std::min(below, count) - 1; i >= 0; i--)
    {
        if (records[i] == nullptr)
            continue;
        const Map_Record& record = *records[i];
        int picture = Application::Get_Object_Bitmap(record.type);
        int width = std::max(1, editor.Bitmap_Width(picture));
        int height = std::max(1, editor.Bitmap_Height(picture));
        if (level_x >= record.x && level_x < static_cast<long long>(record.x) + width && level_y >= record.y &&
            level_y < static_cast<long long>(record.y) + height)
            return i;
    }
    return -1;
}

bool Editor_Mouse::Place(Application& editor, long long cell_x, long long cell_y)
{
    int& count = Count(editor);
    int limit = Characters(editor) ? Level::MAX_CHARACTERS : Level::MAX_PLATFORMS;
    if (count >= limit)
    {
        editor.Set_Editor_Notice(Characters(editor) ? Translate("Level %i is full: no room for another character")
                                                    : Translate("Level %i is full: no room for another platform"),
                                 editor.current_level);
        return false;
    }
    Map_Record& record = *Records(editor)[count];
    record.type = editor.current_object_type;
    record.x = static_cast<int>(cell_x);
    record.y = static_cast<int>(cell_y);
    count++;
    return true;
}

void Editor_Mouse::Run(Application& editor)
{
    Read();
    Level& level = *editor.levels[editor.current_level];
    Editor_Selection& selection = *editor.editor_selection;
    bool ctrl = key[KEY_LCONTROL] || key[KEY_RCONTROL];
    bool shift = key[KEY_LSHIFT] || key[KEY_RSHIFT];
    if (wheel != 0)
    {
        if (ctrl)
            // Ctrl with the wheel zooms the view out and back in.
            editor.Set_Editor_Zoom(wheel < 0 ? editor.editor_zoom * 2 : editor.editor_zoom / 2);
        else
        {
            // The wheel scrolls as the arrows do, Shift turning it sideways.
            if (shift)
                level.scroll_x = std::clamp(level.scroll_x - wheel * CELL, 0, Application::MAX_SCROLL_X);
            else
                level.scroll_y = std::clamp(level.scroll_y - wheel * CELL, Application::MIN_SCROLL_Y, 0);
            editor.selected_object = Application::NO_OBJECT_SELECTED;
        }
    }

    // The mouse's place on the canvas (as it lies on the screen, bars and
    // all; without a screen the mouse is in canvas pixels). A click on a
    // bar beside the canvas does nothing.
    int canvas_x = x, canvas_y = y;
    bool inside = true;
    Screen_Area area = editor.Canvas_Area();
    if (area.width > 0 && area.height > 0)
        inside = area.Canvas_Point(x, y, canvas_x, canvas_y);
    canvas_x = std::clamp(canvas_x, 0, Application::CANVAS_WIDTH - 1);
    canvas_y = std::clamp(canvas_y, 0, Application::CANVAS_HEIGHT - 1);
    int zoom = editor.editor_zoom;
    long long level_x = static_cast<long long>(level.scroll_x) + static_cast<long long>(canvas_x) * zoom;
    long long level_y = static_cast<long long>(level.scroll_y) + static_cast<long long>(canvas_y) * zoom;
    long long cell_x = Cell_Floor(level_x), cell_y = Cell_Floor(level_y);
    if (moved && zoom == 1)
    {
        editor.cursor_x = std::clamp(canvas_x / CELL * CELL, 0, Application::MAX_CURSOR_X);
        editor.cursor_y = std::clamp(canvas_y / CELL * CELL, 0, Application::MAX_CURSOR_Y);
    }
    if (!Objects(editor))
    {
        gesture = NO_GESTURE;
        return;
    }
    // Pasted objects hang on the pointer.
    selection.Follow(editor, cell_x, cell_y);

    if (pressed[LEFT])
    {
        if (gesture != NO_GESTURE)
            Left_Release(editor, cell_x, cell_y);
        if (inside)
            Left_Press(editor, level_x, level_y, cell_x, cell_y);
        if (!held[LEFT] && gesture != NO_GESTURE)
            Left_Release(editor, cell_x, cell_y);
    }
    else if (gesture != NO_GESTURE)
    {
        if (held[LEFT])
            Left_Drag(editor, cell_x, cell_y);
        else
            Left_Release(editor, cell_x, cell_y);
    }

    if (pressed[RIGHT] && inside && gesture == NO_GESTURE)
    {
        // The right button deletes the object under the pointer: the last
        // record takes its place, as D does.
        int index = Record_At(editor, level, Characters(editor), level_x, level_y, Count(editor));
        if (index >= 0)
        {
            int& count = Count(editor);
            *Records(editor)[index] = *Records(editor)[count - 1];
            count--;
            editor.selected_object = Application::NO_OBJECT_SELECTED;
            selection.Clear();
            picked = -1;
        }
    }
    if (pressed[MIDDLE] && inside)
    {
        int index = Record_At(editor, level, Characters(editor), level_x, level_y, Count(editor));
        if (index >= 0)
            editor.Take_Type_Into_Palette(Records(editor)[index]->type);
    }
}

void Editor_Mouse::Left_Press(Application& editor, long long level_x, long long level_y, long long cell_x,
                              long long cell_y)
{
    Editor_Selection& selection = *editor.editor_selection;
    Level& level = *editor.levels[editor.current_level];
    // A click drops what hangs on the pointer or what K carries.
    if (selection.Floating())
    {
        selection.Drop();
        return;
    }
    if (editor.selected_object != Application::NO_OBJECT_SELECTED)
    {
        editor.selected_object = Application::NO_OBJECT_SELECTED;
        editor.key_delay = 0;
        return;
    }
    int count = Count(editor);
    if (key[KEY_ALT] || key[KEY_ALTGR])
    {
        int index = Record_At(editor, level, Characters(editor), level_x, level_y, count);
        if (index >= 0)
            editor.Take_Type_Into_Palette(Records(editor)[index]->type);
        return;
    }
    if (key[KEY_LSHIFT] || key[KEY_RSHIFT])
    {
        gesture = SELECTING;
        selection.Begin_Rectangle(level_x, level_y);
        return;
    }
    // A click where the last one picked something picks the next beneath,
    // and from the top again after the lowest.
    bool again = picked >= 0 && picked < count && cell_x == clicked_x && cell_y == clicked_y;
    int index = Record_At(editor, level, Characters(editor), level_x, level_y, again ? picked : count);
    if (index < 0 && again)
        index = Record_At(editor, level, Characters(editor), level_x, level_y, count);
    clicked_x = cell_x;
    clicked_y = cell_y;
    if (index >= 0)
    {
        picked = index;
        selection.Select_One(editor, index);
        gesture = MOVING;
        moving = index;
        moving_from_x = Records(editor)[index]->x;
        moving_from_y = Records(editor)[index]->y;
        start_x = cell_x;
        start_y = cell_y;
        return;
    }
    picked = -1;
    selection.Clear();
    if (Place(editor, cell_x, cell_y))
    {
        gesture = PAINTING;
        painted_x = cell_x;
        painted_y = cell_y;
    }
}

void Editor_Mouse::Left_Drag(Application& editor, long long cell_x, long long cell_y)
{
    Level& level = *editor.levels[editor.current_level];
    if (gesture == SELECTING)
    {
        editor.editor_selection->Stretch_Rectangle(cell_x, cell_y);
        return;
    }
    if (gesture == MOVING)
    {
        if (moving < 0 || moving >= Count(editor))
            return;
        Map_Record& record = *Records(editor)[moving];
        record.x = static_cast<int>(std::clamp<long long>(moving_from_x + cell_x - start_x, -1000000, 1000000));
        record.y = static_cast<int>(std::clamp<long long>(moving_from_y + cell_y - start_y, -1000000, 1000000));
        return;
    }
    if (gesture != PAINTING || (cell_x == painted_x && cell_y == painted_y))
        return;
    // Every cell on the way from the last one painted gets the type, unless
    // a picture of the mode's kind already covers it.
    long long steps = std::max(std::llabs(cell_x - painted_x), std::llabs(cell_y - painted_y)) / CELL;
    long long from_x = painted_x, from_y = painted_y;
    for (long long step = 1; step <= steps; step++)
    {
        long long x = Cell_Floor(from_x + (cell_x - from_x) * step / steps);
        long long y = Cell_Floor(from_y + (cell_y - from_y) * step / steps);
        if (Record_At(editor, level, Characters(editor), x, y, Count(editor)) < 0 && !Place(editor, x, y))
            break;
    }
    painted_x = cell_x;
    painted_y = cell_y;
}

void Editor_Mouse::Left_Release(Application& editor, long long cell_x, long long cell_y)
{
    if (gesture == SELECTING)
    {
        editor.editor_selection->Stretch_Rectangle(cell_x, cell_y);
        editor.editor_selection->End_Rectangle(editor);
    }
    else
        Left_Drag(editor, cell_x, cell_y);
    gesture = NO_GESTURE;
    moving = -1;
}

long long Editor_Mouse::Cell_Floor(long long value)
{
    return value >= 0 ? value / CELL * CELL : -((-value + CELL - 1) / CELL * CELL);
}
