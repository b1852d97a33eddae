#include "pointer_entry.h"

#include <allegro.h>

#include <algorithm>

#include "application.h"
#include "level.h"
#include "string_list.h"

namespace
{
// The keys the field reads, as index into its press memory.
constexpr int MAIN_DIGITS[10] = {KEY_0, KEY_1, KEY_2, KEY_3, KEY_4, KEY_5, KEY_6, KEY_7, KEY_8, KEY_9};
constexpr int PAD_DIGITS[10] = {KEY_0_PAD, KEY_1_PAD, KEY_2_PAD, KEY_3_PAD, KEY_4_PAD,
                                KEY_5_PAD, KEY_6_PAD, KEY_7_PAD, KEY_8_PAD, KEY_9_PAD};
constexpr int OTHER_KEYS[] = {KEY_ENTER, KEY_ENTER_PAD, KEY_BACKSPACE, KEY_ESC};
constexpr int NUMBER_OF_KEYS = 20 + 4;

int Key_Code(int index)
{
    if (index < 10)
        return MAIN_DIGITS[index];
    if (index < 20)
        return PAD_DIGITS[index - 10];
    return OTHER_KEYS[index - 20];
}
} // namespace

int Pointer_Entry::Screen(const Application& editor)
{
    const Level& level = *editor.levels[editor.current_level];
    int x = level.scroll_x + editor.cursor_x * editor.editor_zoom;
    return std::clamp(x / Application::CANVAS_WIDTH, 0, Level::NUMBER_OF_POINTERS - 1);
}

bool Pointer_Entry::Run(Application& editor)
{
    was_down.resize(NUMBER_OF_KEYS, false);
    bool pressed[NUMBER_OF_KEYS];
    for (int i = 0; i < NUMBER_OF_KEYS; i++)
    {
        bool down = key[Key_Code(i)] != 0;
        pressed[i] = down && !was_down[i];
        was_down[i] = down;
    }
    bool enter = pressed[20] || pressed[21];
    int digit = -1;
    for (int i = 0; i < 20; i++)
        if (pressed[i])
            digit = i % 10;
    if (!open)
    {
        // The mode keys keep their meaning: 1 to 3 of the main row type only
        // once the field is open.
        bool mode_key = digit >= 1 && digit <= 3 && !(pressed[10 + digit]);
        if (!enter && (digit < 0 || mode_key))
            return false;
        open = true;
        value = 0;
        digits = 0;
        if (enter)
            return true;
    }
    if (pressed[23])
    {
        open = false;
        return true;
    }
    if (pressed[22] && digits > 0)
    {
        value /= 10;
        digits--;
    }
    if (digit >= 0 && digits < MAX_DIGITS)
    {
        value = value * 10 + digit;
        digits++;
    }
    if (enter)
    {
        open = false;
        if (digits > 0)
        {
            Level& level = *editor.levels[editor.current_level];
            level.pointers[Screen(editor)] = std::clamp(value, 0, Application::NUMBER_OF_LEVELS - 1);
        }
    }
    return true;
}

const std::string& Pointer_Entry::Level_Name(Application& editor, int level)
{
    static const std::string none;
    if (level < 0 || level >= Application::NUMBER_OF_LEVELS)
        return none;
    names.resize(Application::NUMBER_OF_LEVELS);
    names_read.resize(Application::NUMBER_OF_LEVELS, 0);
    if (!names_read[level])
    {
        names_read[level] = 1;
        String_List& message = *editor.messages[level];
        if (message.number_of_strings == 0)
        {
            char path[Application::MAX_PATH_LENGTH];
            Make_Message_Path(path, level);
            message.Load_From_File(path);
        }
        for (int i = 0; i < message.number_of_strings && names[level].empty(); i++)
            names[level] = message.strings[i];
    }
    return names[level];
}
