// The level editor: scroll over a level, set each screen's pipe pointer, the
// background and the music, place, carry and delete characters and
// platforms, switch levels and save.

#include <allegro.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "application.h"
#include "edit_history.h"
#include "level.h"
#include "translation.h"

namespace
{
// The picture and the name of every object type, characters then platforms.
struct Object_Type
{
    int picture;
    const char* name;
};

const Object_Type CHARACTER_TYPES[] = {
    {Application::BLACK_BIRD_STANDING_BM, "BLACK_BIRD"},
    {Application::BLUEJAY_STANDING_BM, "BLUEJAY"},
    {Application::CLAM_MOUTH_OPEN_BM, "CLAM"},
    {Application::EGG_BM, "EGG"},
    {Application::FLY_WINGS_IN_BM, "FLY"},
    {Application::MOSQUITO_WINGS_DOWN_BM, "MOSQUITO"},
    {Application::SHOUTING_BLACK_BIRD_BM, "SHOUTING_BLACK_BIRD"},
    {Application::LEAPING_BLACK_BIRD_BM, "LEAPING_BLACK_BIRD"},
    {Application::GHOST_BM, "GHOST"},
    {Application::MASTER_ECTO_BM, "MASTER_ECTO"},
    {Application::ROCK_BM, "ROCK"},
    {Application::GOLDENJAY_PERCHED_BM, "GOLDENJAY"},
    {Application::SWOOPER_WINGS_OUT_BM, "SWOOPER"},
    {Application::LOCAL_ROCK_BM, "LOCAL_ROCK"},
    {Application::PIPE_SWITCH_BM, "PIPE_SWITCH"},
    {Application::REVERSE_PIPE_SWITCH_BM, "REVERSE_PIPE_SWITCH"},
    {Application::SUPER_MOSQUITO_WINGS_UP_BM, "SUPER_MOSQUITO"},
    {Application::LEMMING_STILL_BM, "LEMMING"},
    {Application::THROWABLE_ROCK_BM, "THROWABLE_ROCK"},
    {Application::STOP_ATTACK_BM, "STOP_ATTACK_OBJECT"},
    {Application::HUNTING_FLY_BM, "HUNTING_FLY"},
    {Application::TOMATOO_PLANT_HEAD_BM, "TOMATOO_PLANT"},
    {Application::SCROLLING_BACKGROUND_BM, "SCROLLING_BACKGROUND"},
    {Application::MESSAGE_BOX_BM, "MESSAGE_OBJECT"},
    {Application::SPIKED_POLE_POINT_BM, "SPIKED_POLE"},
    {Application::BOILING_MUD_BM, "BOILING_MUD"},
    {Application::MUD_DROP_BM, "MUD_DROP"},
    {Application::NO_ECTO_SWITCH_BM, "NO_ECTO_SWITCH"},
    {Application::CHECKPOINT_BM, "CHECKPOINT"},
};

const Object_Type PLATFORM_TYPES[] = {
    {Application::BROWN_BLOCK_BM, "BROWN_BLOCK"},
    {Application::CEMENT_BLOCK_BM, "CEMENT_BLOCK"},
    {Application::BIG_BUSH_BM, "BIG_BUSH"},
    {Application::SMALL_BUSH_BM, "SMALL_BUSH"},
    {Application::CHERRY_BM, "CHERRY"},
    {Application::GROUND_BM, "GROUND"},
    {Application::PIPE_BM, "PIPE"},
    {Application::LIMESTONE_BM, "LIMESTONE"},
    {Application::LEDGE_BM, "LEDGE"},
    {Application::WALK_THROUGH_DIRT_BM, "WALK_THROUGH_DIRT"},
    {Application::WIRE_BM, "WIRE"},
    {Application::STOPPER_BM, "STOPPER"},
    {Application::LOCAL_PIPE_BM, "LOCAL_PIPE"},
    {Application::STONE_WALL_BM, "STONE_WALL"},
    {Application::FAKE_CEMENT_BLOCK_BM, "FAKE_CEMENT_BLOCK"},
    {Application::YELLOW_CHERRY_BM, "YELLOW_CHERRY"},
    {Application::SHORT_VINE_BM, "SHORT_VINE"},
    {Application::TALL_VINE_BM, "TALL_VINE"},
};

// A record whose code names no object (a hand-edited file) is shown by this.
constexpr int PLACEHOLDER_PICTURE = Application::STOPPER_BM;

int Clamp(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}

const char* Mode_Name(int mode)
{
    switch (mode)
    {
    case Application::CHARACTER_MODE:
        return Translate("character mode");
    case Application::PLATFORM_MODE:
        return Translate("platform mode");
    default:
        return Translate("screen mode");
    }
}
} // namespace

int Application::Get_Object_Bitmap(int type)
{
    if (type >= Level::BLACK_BIRD && type <= Level::LAST_CHARACTER_TYPE)
        return CHARACTER_TYPES[type - Level::BLACK_BIRD].picture;
    if (type >= Level::BROWN_BLOCK && type <= Level::TALL_VINE)
        return PLATFORM_TYPES[type - Level::BROWN_BLOCK].picture;
    return PLACEHOLDER_PICTURE;
}

const char* Application::Object_Type_Name(int type)
{
    if (type >= Level::BLACK_BIRD && type <= Level::LAST_CHARACTER_TYPE)
        return CHARACTER_TYPES[type - Level::BLACK_BIRD].name;
    if (type >= Level::BROWN_BLOCK && type <= Level::TALL_VINE)
        return PLATFORM_TYPES[type - Level::BROWN_BLOCK].name;
    return "UNKNOWN";
}

void Application::Select_Object()
{
    Level& level = *levels[current_level];
    Record_Table* records = nullptr;
    int count = 0;
    if (editor_mode == CHARACTER_MODE)
    {
        records = &level.character_records;
        count = level.number_of_characters;
    }
    else if (editor_mode == PLATFORM_MODE)
    {
        records = &level.platform_records;
        count = level.number_of_platforms;
    }
    else
        return;
    selected_object = NO_OBJECT_SELECTED;
    // Only a record exactly at the cursor is found; the first one wins.
    long long at_x = static_cast<long long>(cursor_x) + level.scroll_x;
    long long at_y = static_cast<long long>(cursor_y) + level.scroll_y;
    for (int i = 0; i < count; i++)
    {
        if ((*records)[i]->x == at_x && (*records)[i]->y == at_y)
        {
            selected_object = i;
            return;
        }
    }
}

void Application::Start_Editor()
{
    char path[MAX_PATH_LENGTH];
    for (int i = 0; i < NUMBER_OF_LEVELS; i++)
    {
        Make_Level_Path(path, i);
        levels[i]->Load_For_Editing(path);
    }
    Guard_Level_Files();
    set_trans_blender(200, 200, 200, 200);
    quit = false;
    edit_history->Watch(current_level, *levels[current_level]);
    // The editor's keys stay where they are, whatever the game's settings.
    editing = true;
}

void Application::Run_Editor_Tick()
{
    if (test_play_level != nullptr)
    {
        Run_Test_Play_Tick();
        return;
    }
    key_delay++;
    Generate_Signals();
    int carried = selected_object;
    int mode = editor_mode;
    if (!Run_Editor_Commands())
        return;
    if (test_play_level != nullptr)
        return;
    if (!editor_help_shown)
        Run_Editor_Mouse();
    // Moves of one carried record, tick after tick, make one step.
    int carry_key = 0;
    if (carried != NO_OBJECT_SELECTED && carried == selected_object && mode == editor_mode)
        carry_key = editor_mode * Level::MAX_PLATFORMS + selected_object + 1;
    edit_history->Record(current_level, *levels[current_level], carry_key);
    if (editor_notice_ticks > 0)
        editor_notice_ticks--;
    Draw_Editor();
    Display_Scene();
}

void Application::Pick_Up_Or_Place()
{
    Level& level = *levels[current_level];
    bool characters = editor_mode == CHARACTER_MODE;
    int& count = characters ? level.number_of_characters : level.number_of_platforms;
    int limit = characters ? Level::MAX_CHARACTERS : Level::MAX_PLATFORMS;
    Select_Object();
    key_delay = 0;
    if (selected_object != NO_OBJECT_SELECTED || count >= limit)
        return;
    Map_Record& record = *(characters ? level.character_records : level.platform_records)[count];
    record.type = current_object_type;
    record.x = cursor_x + level.scroll_x;
    record.y = cursor_y + level.scroll_y;
    selected_object = count;
    count++;
}

void Application::Run_Editor_Mouse()
{
    if (mouse_driver != nullptr && mouse_needs_poll())
        poll_mouse();
    int x = mouse_x, y = mouse_y, z = mouse_z, buttons = mouse_b;
    bool moved = x != mouse_x_before || y != mouse_y_before;
    bool clicked = (buttons & 1) && !(mouse_b_before & 1);
    int wheel = z - mouse_z_before;
    bool first = !mouse_ready;
    mouse_ready = true;
    mouse_x_before = x;
    mouse_y_before = y;
    mouse_z_before = z;
    mouse_b_before = buttons;
    // The first look only learns where the mouse is.
    if (first)
        return;

    Level& level = *levels[current_level];
    if (wheel != 0)
    {
        // The wheel scrolls as the arrows do, Shift turning it sideways.
        if (key[KEY_LSHIFT] || key[KEY_RSHIFT])
            level.scroll_x = Clamp(level.scroll_x - wheel * EDITOR_STEP, 0, MAX_SCROLL_X);
        else
            level.scroll_y = Clamp(level.scroll_y - wheel * EDITOR_STEP, MIN_SCROLL_Y, 0);
        selected_object = NO_OBJECT_SELECTED;
    }
    if (!moved && !clicked)
        return;

    // The mouse's place on the canvas (as it lies on the screen, bars and
    // all; without a screen the mouse is in canvas pixels), in whole cursor
    // cells. A click on a bar beside the canvas does nothing.
    Screen_Area area = Canvas_Area();
    if (area.width > 0 && area.height > 0 && !area.Canvas_Point(x, y, x, y))
        clicked = false;
    int cell_x = Clamp(x / EDITOR_STEP * EDITOR_STEP, 0, MAX_CURSOR_X);
    int cell_y = Clamp(y / EDITOR_STEP * EDITOR_STEP, 0, MAX_CURSOR_Y);
    bool objects = editor_mode == CHARACTER_MODE || editor_mode == PLATFORM_MODE;
    int count = editor_mode == CHARACTER_MODE ? level.number_of_characters : level.number_of_platforms;
    bool carrying = objects && selected_object >= 0 && selected_object < count;
    if (carrying)
    {
        // A carried record follows the mouse; a click drops it.
        Map_Record& record =
            *(editor_mode == CHARACTER_MODE ? level.character_records : level.platform_records)[selected_object];
        record.x = cell_x + level.scroll_x;
        record.y = cell_y + level.scroll_y;
        if (clicked)
        {
            selected_object = NO_OBJECT_SELECTED;
            key_delay = 0;
        }
        return;
    }
    cursor_x = cell_x;
    cursor_y = cell_y;
    if (clicked && objects)
        Pick_Up_Or_Place();
}

void Application::Set_Editor_Notice(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(editor_notice, sizeof(editor_notice), format, arguments);
    va_end(arguments);
    editor_notice_ticks = EDITOR_NOTICE_TICKS;
}

int Application::Count_Heroes(const Level& level)
{
    int heroes = 0;
    for (int i = 0; i < level.number_of_characters && i < Level::MAX_CHARACTERS; i++)
        if (level.character_records[i] != nullptr && level.character_records[i]->type == Level::BLUEJAY)
            heroes++;
    return heroes;
}

void Application::Check_Saved_Level()
{
    // A level is saved as it is; these only warn.
    Level& level = *levels[current_level];
    int heroes = Count_Heroes(level);
    if (heroes != 1)
    {
        Set_Editor_Notice(Translate("Saved, but level %i has %i heroes"), current_level, heroes);
        return;
    }
    for (int i = 0; i < level.number_of_platforms && i < Level::MAX_PLATFORMS; i++)
    {
        const Map_Record& pipe = *level.platform_records[i];
        if (pipe.type != Level::PIPE)
            continue;
        int screen = Clamp(pipe.x / CANVAS_WIDTH, 0, Level::NUMBER_OF_POINTERS - 1);
        int destination = level.pointers[screen];
        if (destination >= 0 && destination < NUMBER_OF_LEVELS && Count_Heroes(*levels[destination]) == 0)
        {
            Set_Editor_Notice(Translate("Saved, but the pipe of screen %i\nleads to level %i: it has no hero"), screen,
                              destination);
            return;
        }
    }
}

void Application::Draw_Editor()
{
    Level& level = *levels[current_level];
    int white = makecol(255, 255, 255);
    int black = makecol(0, 0, 0);
    int green = makecol(0, 255, 0);
    int red = makecol(255, 0, 0);
    int line_height = text_height(font);

    // The background follows the view sideways only; copies outside the
    // canvas are left out.
    int background = Clamp(level.background, GRASS_BACKGROUND_BM, BLACK_BACKGROUND_BM);
    for (int screen = 0; screen < NUMBER_OF_SCREENS; screen++)
    {
        int x = screen * CANVAS_WIDTH - level.scroll_x;
        if (x > -CANVAS_WIDTH && x < CANVAS_WIDTH && bitmaps[background] != nullptr)
            blit(bitmaps[background], canvas, 0, 0, x, 0, CANVAS_WIDTH, CANVAS_HEIGHT);
    }

    // Objects, each with its top-left corner marked: platforms in green,
    // characters in red.
    const struct
    {
        const Record_Table& records;
        int count;
        int colour;
    } lists[] = {{level.platform_records, level.number_of_platforms, green},
                 {level.character_records, level.number_of_characters, red}};
    for (const auto& list : lists)
    {
        for (int i = 0; i < list.count; i++)
        {
            long long x = static_cast<long long>(list.records[i]->x) - level.scroll_x;
            long long y = static_cast<long long>(list.records[i]->y) - level.scroll_y;
            if (x < -4 * CANVAS_WIDTH || x > 4 * CANVAS_WIDTH || y < -4 * CANVAS_HEIGHT || y > 4 * CANVAS_HEIGHT)
                continue;
            Draw_Sprite(Get_Object_Bitmap(list.records[i]->type), static_cast<int>(x), static_cast<int>(y));
            hline(canvas, static_cast<int>(x), static_cast<int>(y), static_cast<int>(x) + 3, list.colour);
            vline(canvas, static_cast<int>(x), static_cast<int>(y) + 1, static_cast<int>(y) + 3, list.colour);
        }
    }

    if (editor_mode == SCREEN_MODE)
    {
        for (int row = 0; row < Level::MAX_HEIGHT; row++)
            hline(canvas, 0, -CANVAS_HEIGHT * row - level.scroll_y, CANVAS_WIDTH - 1, green);
        for (int screen = 0; screen < NUMBER_OF_SCREENS; screen++)
        {
            int x = screen * CANVAS_WIDTH - level.scroll_x;
            vline(canvas, x, 0, CANVAS_HEIGHT - 1, green);
            // Where a local pipe leading to this screen sets the hero down.
            if (bitmaps[BLUEJAY_STANDING_BM] != nullptr)
                stretch_sprite(canvas, bitmaps[BLUEJAY_STANDING_BM], x + 16, 128 - level.scroll_y, 16, 16);
            textprintf_ex(canvas, font, x + 2, CANVAS_HEIGHT - 1 - line_height, white, black, Translate("Screen %i"), screen);
            textprintf_ex(canvas, font, x + 2, CANVAS_HEIGHT - 2 - 2 * line_height, white, black, Translate("Pointer %i (%i)"),
                          screen, level.pointers[screen]);
        }
    }
    else if (selected_object == NO_OBJECT_SELECTED)
    {
        // The palette's choice, see-through, and the cursor.
        int preview = Get_Object_Bitmap(current_object_type);
        if (bitmaps[preview] != nullptr)
        {
            set_trans_blender(200, 200, 200, 200);
            draw_trans_sprite(canvas, bitmaps[preview], 1, 1);
        }
        rect(canvas, cursor_x, cursor_y, cursor_x + EDITOR_STEP - 1, cursor_y + EDITOR_STEP - 1, red);
        // Where the cursor covers the preview, it shows once more beside
        // it, left of the status lines.
        int width = Bitmap_Width(preview), height = Bitmap_Height(preview);
        if (cursor_x <= width && cursor_y <= height && width > 0)
            draw_trans_sprite(canvas, bitmaps[preview], STATUS_X - 1 - width, 1);
    }

    Draw_Editor_Status();
    Draw_Editor_Notices();
    if (editor_help_shown)
        Draw_Editor_Help();
}

void Application::Draw_Editor_Status()
{
    Level& level = *levels[current_level];
    int white = makecol(255, 255, 255);
    int black = makecol(0, 0, 0);
    int line_height = text_height(font) + 1;

    // The carried record's place, else the cursor's, in the level and by
    // screen column and row.
    bool objects = editor_mode == CHARACTER_MODE || editor_mode == PLATFORM_MODE;
    Record_Table& records = editor_mode == CHARACTER_MODE ? level.character_records : level.platform_records;
    int count = editor_mode == CHARACTER_MODE ? level.number_of_characters : level.number_of_platforms;
    long long x = static_cast<long long>(cursor_x) + level.scroll_x;
    long long y = static_cast<long long>(cursor_y) + level.scroll_y;
    if (objects && selected_object >= 0 && selected_object < count)
    {
        x = records[selected_object]->x;
        y = records[selected_object]->y;
    }
    long long column = x >= 0 ? x / CANVAS_WIDTH : -1 - (-1 - x) / CANVAS_WIDTH;
    long long row = y <= CANVAS_HEIGHT - 1 ? (CANVAS_HEIGHT - 1 - y) / CANVAS_HEIGHT : -1;

    char lines[STATUS_LINES][EDITOR_LINE_LENGTH];
    int number_of_lines = 0;
    // A mark while the level differs from its file.
    std::snprintf(lines[number_of_lines++], EDITOR_LINE_LENGTH, Translate("Level %i%s"), current_level,
                  level.Changed() ? " *" : "");
    std::snprintf(lines[number_of_lines++], EDITOR_LINE_LENGTH, Translate("Mode: %s"), Mode_Name(editor_mode));
    if (objects)
        std::snprintf(lines[number_of_lines++], EDITOR_LINE_LENGTH, "%s %i", Object_Type_Name(current_object_type),
                      current_object_type);
    std::snprintf(lines[number_of_lines++], EDITOR_LINE_LENGTH, Translate("music %i background %i"), level.music,
                  level.background);
    std::snprintf(lines[number_of_lines++], EDITOR_LINE_LENGTH, Translate("%lld,%lld screen %lld,%lld"), x, y, column, row);
    std::snprintf(lines[number_of_lines++], EDITOR_LINE_LENGTH, Translate("platforms %i/%i"), level.number_of_platforms,
                  Level::MAX_PLATFORMS);
    std::snprintf(lines[number_of_lines++], EDITOR_LINE_LENGTH, Translate("characters %i/%i"), level.number_of_characters,
                  Level::MAX_CHARACTERS);
    for (int i = 0; i < number_of_lines; i++)
        textout_ex(canvas, font, lines[i], STATUS_X, 2 + i * line_height, white, black);

    if (editor_notice_ticks > 0)
    {
        // A notice of up to two lines, above the screen labels.
        int yellow = makecol(255, 255, 0);
        char text[EDITOR_LINE_LENGTH];
        std::snprintf(text, sizeof(text), "%s", editor_notice);
        char* second = std::strchr(text, '\n');
        if (second != nullptr)
            *second++ = '\0';
        int top = CANVAS_HEIGHT - 2 - 4 * line_height;
        textout_ex(canvas, font, text, 1, top, yellow, black);
        if (second != nullptr)
            textout_ex(canvas, font, second, 1, top + line_height, yellow, black);
    }
}

void Application::Draw_Editor_Help()
{
    // The keys of the mode on black, over the whole canvas.
    clear_to_color(canvas, makecol(0, 0, 0));
    int line_height = text_height(font) + 1;
    char lines[HELP_LINES][EDITOR_LINE_LENGTH];
    int count = 0;
    Editor_Help_Lines(lines, count, HELP_LINES - 1);
    int white = makecol(255, 255, 255);
    int black = makecol(0, 0, 0);
    textprintf_ex(canvas, font, 0, 1, makecol(255, 255, 0), black, Translate("Keys: %s (F1, Esc)"), Mode_Name(editor_mode));
    for (int i = 0; i < count; i++)
        textout_ex(canvas, font, lines[i], 0, 1 + (i + 1) * line_height, white, black);
}

void Application::Run_Editor()
{
    // The mouse moves the cursor square, which the editor draws itself.
    install_mouse();
    Start_Editor();
    // A quit that could not save everything leaves the editor running.
    do
    {
        while (!quit)
        {
            Wait_For_Tick();
            Handle_Player_Keys();
            Run_Editor_Tick();
        }
    } while (!Leave_Editor());
}
