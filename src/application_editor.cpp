// The level editor: scroll over a level, set each screen's pipe pointer, the
// background and the music, place, carry and delete characters and
// platforms, switch levels and save.

#include <allegro.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include <algorithm>

#include "application.h"
#include "edit_history.h"
#include "editor_mouse.h"
#include "editor_selection.h"
#include "pointer_entry.h"
#include "level.h"
#include "translation.h"

namespace
{
// The picture and the name of every object type, characters then platforms.
struct Object_Type
{
    int picture;
    const char* name;
    // One line of what it does, for the palette.
    const char* description;
};

const Object_Type CHARACTER_TYPES[] = {
    {Application::BLACK_BIRD_STANDING_BM, "BLACK_BIRD", TRANSLATE_LATER("hops along, turns at walls; two stomps")},
    {Application::BLUEJAY_STANDING_BM, "BLUEJAY", TRANSLATE_LATER("the hero starts here; one per level")},
    {Application::CLAM_MOUTH_OPEN_BM, "CLAM", TRANSLATE_LATER("snaps at the side; a stomp only bounces")},
    {Application::EGG_BM, "EGG", TRANSLATE_LATER("grabbed head-on: energy and a bonus")},
    {Application::FLY_WINGS_IN_BM, "FLY", TRANSLATE_LATER("flies straight across, through walls")},
    {Application::MOSQUITO_WINGS_DOWN_BM, "MOSQUITO", TRANSLATE_LATER("hovers and darts at the hero")},
    {Application::SHOUTING_BLACK_BIRD_BM, "SHOUTING_BLACK_BIRD", TRANSLATE_LATER("stands and shouts the mosquitoes on")},
    {Application::LEAPING_BLACK_BIRD_BM, "LEAPING_BLACK_BIRD", TRANSLATE_LATER("a black bird leaping to random heights")},
    {Application::GHOST_BM, "GHOST", TRANSLATE_LATER("drifts to the hero and jumps about")},
    {Application::MASTER_ECTO_BM, "MASTER_ECTO", TRANSLATE_LATER("the big ghost: chases the hero always")},
    {Application::ROCK_BM, "ROCK", TRANSLATE_LATER("falls once its screen column is reached")},
    {Application::GOLDENJAY_PERCHED_BM, "GOLDENJAY", TRANSLATE_LATER("hides in a bush, zigzags away; six hits")},
    {Application::SWOOPER_WINGS_OUT_BM, "SWOOPER", TRANSLATE_LATER("crosses in a line, swoops at the hero")},
    {Application::LOCAL_ROCK_BM, "LOCAL_ROCK", TRANSLATE_LATER("falls once it is wholly in view")},
    {Application::PIPE_SWITCH_BM, "PIPE_SWITCH", TRANSLATE_LATER("stomped: the pipes go down")},
    {Application::REVERSE_PIPE_SWITCH_BM, "REVERSE_PIPE_SWITCH", TRANSLATE_LATER("stomped: the pipes come up")},
    {Application::SUPER_MOSQUITO_WINGS_UP_BM, "SUPER_MOSQUITO", TRANSLATE_LATER("boss: its defeat breaks cement blocks")},
    {Application::LEMMING_STILL_BM, "LEMMING", TRANSLATE_LATER("walks, jumps walls, throws rocks")},
    {Application::THROWABLE_ROCK_BM, "THROWABLE_ROCK", TRANSLATE_LATER("lies still until a lemming throws it")},
    {Application::STOP_ATTACK_BM, "STOP_ATTACK_OBJECT", TRANSLATE_LATER("invisible: calls the mosquitoes off")},
    {Application::HUNTING_FLY_BM, "HUNTING_FLY", TRANSLATE_LATER("dives at the hero, eats cherries")},
    {Application::TOMATOO_PLANT_HEAD_BM, "TOMATOO_PLANT", TRANSLATE_LATER("shoots up on a stem as the hero passes")},
    {Application::SCROLLING_BACKGROUND_BM, "SCROLLING_BACKGROUND", TRANSLATE_LATER("invisible: the background drifts")},
    {Application::MESSAGE_BOX_BM, "MESSAGE_OBJECT", TRANSLATE_LATER("invisible: shows the level's message")},
    {Application::SPIKED_POLE_POINT_BM, "SPIKED_POLE", TRANSLATE_LATER("thrusts a spike down in a rhythm")},
    {Application::BOILING_MUD_BM, "BOILING_MUD", TRANSLATE_LATER("bubbles in place; deadly to touch")},
    {Application::MUD_DROP_BM, "MUD_DROP", TRANSLATE_LATER("leaps up from its place and falls back")},
    {Application::NO_ECTO_SWITCH_BM, "NO_ECTO_SWITCH", TRANSLATE_LATER("stomped: the ghosts go, the game is won")},
    {Application::CHECKPOINT_BM, "CHECKPOINT", TRANSLATE_LATER("a bell: once rung, a lost life starts here")},
};

const Object_Type PLATFORM_TYPES[] = {
    {Application::BROWN_BLOCK_BM, "BROWN_BLOCK", TRANSLATE_LATER("a solid block")},
    {Application::CEMENT_BLOCK_BM, "CEMENT_BLOCK", TRANSLATE_LATER("solid; breaks when the boss is beaten")},
    {Application::BIG_BUSH_BM, "BIG_BUSH", TRANSLATE_LATER("scenery, also a goldenjay's hiding place")},
    {Application::SMALL_BUSH_BM, "SMALL_BUSH", TRANSLATE_LATER("scenery")},
    {Application::CHERRY_BM, "CHERRY", TRANSLATE_LATER("eaten for points and strength")},
    {Application::GROUND_BM, "GROUND", TRANSLATE_LATER("solid ground")},
    {Application::PIPE_BM, "PIPE", TRANSLATE_LATER("solid; Down goes to the screen's level")},
    {Application::LIMESTONE_BM, "LIMESTONE", TRANSLATE_LATER("solid rock")},
    {Application::LEDGE_BM, "LEDGE", TRANSLATE_LATER("a solid ledge")},
    {Application::WALK_THROUGH_DIRT_BM, "WALK_THROUGH_DIRT", TRANSLATE_LATER("looks solid, but walked through")},
    {Application::WIRE_BM, "WIRE", TRANSLATE_LATER("a thin solid wire")},
    {Application::STOPPER_BM, "STOPPER", TRANSLATE_LATER("invisible: walkers turn back here")},
    {Application::LOCAL_PIPE_BM, "LOCAL_PIPE", TRANSLATE_LATER("Down goes to a screen of this level")},
    {Application::STONE_WALL_BM, "STONE_WALL", TRANSLATE_LATER("a wall behind, no collision")},
    {Application::FAKE_CEMENT_BLOCK_BM, "FAKE_CEMENT_BLOCK", TRANSLATE_LATER("looks like cement, no collision")},
    {Application::YELLOW_CHERRY_BM, "YELLOW_CHERRY", TRANSLATE_LATER("eaten for one more life")},
    {Application::SHORT_VINE_BM, "SHORT_VINE", TRANSLATE_LATER("scenery")},
    {Application::TALL_VINE_BM, "TALL_VINE", TRANSLATE_LATER("scenery")},
};

// A record whose code names no object (a hand-edited file) is shown by this.
constexpr int PLACEHOLDER_PICTURE = Application::STOPPER_BM;

int Clamp(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}

const char* const MUSIC_NAMES[] = {
    TRANSLATE_LATER("athletic theme"), TRANSLATE_LATER("here we go"),      TRANSLATE_LATER("hurry hurry"),
    TRANSLATE_LATER("zemblo 3"),       TRANSLATE_LATER("underworld"),      TRANSLATE_LATER("ghost"),
    TRANSLATE_LATER("new zemblo saga"), TRANSLATE_LATER("battle"),         TRANSLATE_LATER("old zemblo saga"),
    TRANSLATE_LATER("sewers"),
};

const char* const BACKGROUND_NAMES[] = {
    TRANSLATE_LATER("grass"),      TRANSLATE_LATER("cloudy"), TRANSLATE_LATER("forest"), TRANSLATE_LATER("dark"),
    TRANSLATE_LATER("underworld"), TRANSLATE_LATER("hilly"),  TRANSLATE_LATER("black"),
};

const char* Music_Name(int music)
{
    return music >= 0 && music <= Application::LAST_EDITOR_MUSIC ? Translate(MUSIC_NAMES[music]) : "?";
}

const char* Background_Name(int background)
{
    return background >= Application::GRASS_BACKGROUND_BM && background <= Application::BLACK_BACKGROUND_BM
               ? Translate(BACKGROUND_NAMES[background])
               : "?";
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

namespace
{
constexpr int CHARACTER_TYPE_COUNT = static_cast<int>(sizeof(CHARACTER_TYPES) / sizeof(CHARACTER_TYPES[0]));
constexpr int PLATFORM_TYPE_COUNT = static_cast<int>(sizeof(PLATFORM_TYPES) / sizeof(PLATFORM_TYPES[0]));

// The row of the tables for a type code; null for a code that names no
// object.
const Object_Type* Type_Row(int type)
{
    if (type >= Level::BLACK_BIRD && type < Level::BLACK_BIRD + CHARACTER_TYPE_COUNT)
        return &CHARACTER_TYPES[type - Level::BLACK_BIRD];
    if (type >= Level::BROWN_BLOCK && type < Level::BROWN_BLOCK + PLATFORM_TYPE_COUNT)
        return &PLATFORM_TYPES[type - Level::BROWN_BLOCK];
    return nullptr;
}
} // namespace

int Application::Get_Object_Bitmap(int type)
{
    const Object_Type* row = Type_Row(type);
    return row != nullptr ? row->picture : PLACEHOLDER_PICTURE;
}

const char* Application::Object_Type_Name(int type)
{
    const Object_Type* row = Type_Row(type);
    return row != nullptr ? row->name : "UNKNOWN";
}

const char* Application::Object_Type_Description(int type)
{
    const Object_Type* row = Type_Row(type);
    return Translate(row != nullptr ? row->description : TRANSLATE_LATER("not a type the game knows"));
}

int Application::First_Object_Type(int mode)
{
    return mode == PLATFORM_MODE ? Level::BROWN_BLOCK : Level::BLACK_BIRD;
}

int Application::Last_Object_Type(int mode)
{
    return mode == PLATFORM_MODE ? Level::BROWN_BLOCK + PLATFORM_TYPE_COUNT - 1
                                 : Level::BLACK_BIRD + CHARACTER_TYPE_COUNT - 1;
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
    Editor_Mouse::Install();
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
    if (!Run_Editor_Tool())
    {
        if (!Run_Editor_Commands())
            return;
        if (test_play_level != nullptr)
            return;
        if (!editor_help_shown)
            Run_Editor_Mouse();
    }
    // Moves of one carried record, tick after tick, make one step.
    int carry_key = 0;
    if (carried != NO_OBJECT_SELECTED && carried == selected_object && mode == editor_mode)
        carry_key = editor_mode * Level::MAX_PLATFORMS + selected_object + 1;
    editor_selection->Check(*this);
    if (!Editor_Edit_Under_Way())
        edit_history->Record(current_level, *levels[current_level], carry_key);
    if (editor_notice_ticks > 0)
        editor_notice_ticks--;
    Draw_Editor();
    Display_Scene();
}

bool Application::Run_Editor_Tool()
{
    if (editor_help_shown)
        return false;
    return editor_mode == SCREEN_MODE && pointer_entry->Run(*this);
}

std::string Application::Pointer_Line()
{
    int screen = Pointer_Entry::Screen(*this);
    char line[EDITOR_LINE_LENGTH];
    if (pointer_entry->open)
    {
        std::snprintf(line, sizeof(line), Translate("pipe %i to level: %.*s_"), screen, pointer_entry->digits,
                      std::to_string(pointer_entry->value).c_str());
        if (pointer_entry->digits == 0)
            std::snprintf(line, sizeof(line), Translate("pipe %i to level: _"), screen);
        return line;
    }
    int pointer = levels[current_level]->pointers[screen];
    std::snprintf(line, sizeof(line), Translate("pipe %i: %i %s"), screen, pointer,
                  pointer_entry->Level_Name(*this, pointer).c_str());
    return line;
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
    editor_mouse->Run(*this);
}

void Application::Take_Type_Into_Palette(int type)
{
    current_object_type = type;
    if (editor_mode == CHARACTER_MODE)
        last_character_type = type;
    else
        last_platform_type = type;
}

void Application::Set_Editor_Zoom(int zoom)
{
    editor_zoom = Clamp(zoom, 1, MAX_EDITOR_ZOOM);
    if (editor_zoom == 3)
        editor_zoom = 4;
    // The view keeps to the level's cells and its last screens.
    Level& level = *levels[current_level];
    level.scroll_x = Clamp(level.scroll_x, 0, MAX_SCROLL_X);
    level.scroll_y = Clamp(level.scroll_y, MIN_SCROLL_Y, 0);
    selected_object = NO_OBJECT_SELECTED;
}

void Application::Show_Editor_Point(long long x, long long y)
{
    Level& level = *levels[current_level];
    long long width = static_cast<long long>(CANVAS_WIDTH) * editor_zoom;
    long long height = static_cast<long long>(CANVAS_HEIGHT) * editor_zoom;
    if (x >= level.scroll_x && x < level.scroll_x + width && y >= level.scroll_y && y < level.scroll_y + height)
        return;
    // The screen that holds the point.
    long long column = x >= 0 ? x / CANVAS_WIDTH : 0;
    long long row = y >= 0 ? 0 : (-y + CANVAS_HEIGHT - 1) / CANVAS_HEIGHT;
    level.scroll_x = Clamp(static_cast<int>(std::min<long long>(column, NUMBER_OF_SCREENS)) * CANVAS_WIDTH, 0,
                           MAX_SCROLL_X);
    level.scroll_y = Clamp(-static_cast<int>(std::min<long long>(row, Level::MAX_HEIGHT)) * CANVAS_HEIGHT,
                           MIN_SCROLL_Y, 0);
}

bool Application::Editor_Edit_Under_Way() const
{
    if (editor_mouse->Busy() || editor_selection->Floating())
        return true;
    // A pointer held on Z or X changes by many steps, and makes one.
    return editor_mode == SCREEN_MODE && (signals & (SIGNAL_SCROLL_DOWN_1 | SIGNAL_SCROLL_UP_1)) != 0 &&
           !(key[KEY_LCONTROL] || key[KEY_RCONTROL]);
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
    int zoom = editor_zoom;
    int screen_width = CANVAS_WIDTH / zoom, screen_height = CANVAS_HEIGHT / zoom;

    // The background follows the view sideways only; copies outside the
    // canvas are left out. Zoomed out, each screen shows it shrunk.
    int background = Clamp(level.background, GRASS_BACKGROUND_BM, BLACK_BACKGROUND_BM);
    for (int screen = 0; screen < NUMBER_OF_SCREENS && bitmaps[background] != nullptr; screen++)
    {
        int x = (screen * CANVAS_WIDTH - level.scroll_x) / zoom;
        if (x <= -screen_width || x >= CANVAS_WIDTH)
            continue;
        if (zoom == 1)
            blit(bitmaps[background], canvas, 0, 0, x, 0, CANVAS_WIDTH, CANVAS_HEIGHT);
        else
            for (int row = 0; row < zoom; row++)
                stretch_blit(bitmaps[background], canvas, 0, 0, CANVAS_WIDTH, CANVAS_HEIGHT, x, row * screen_height,
                             screen_width, screen_height);
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
            if (x < -4LL * CANVAS_WIDTH * zoom || x > 4LL * CANVAS_WIDTH * zoom ||
                y < -4LL * CANVAS_HEIGHT * zoom || y > 4LL * CANVAS_HEIGHT * zoom)
                continue;
            int picture = Get_Object_Bitmap(list.records[i]->type);
            int left = static_cast<int>(x / zoom), top = static_cast<int>(y / zoom);
            if (zoom == 1)
                Draw_Sprite(picture, left, top);
            else if (bitmaps[picture] != nullptr)
                stretch_sprite(canvas, bitmaps[picture], left, top, std::max(1, Bitmap_Width(picture) / zoom),
                               std::max(1, Bitmap_Height(picture) / zoom));
            hline(canvas, left, top, left + 3 / zoom, list.colour);
            vline(canvas, left, top + 1, top + 3 / zoom, list.colour);
        }
    }
    if (editor_grid_shown)
    {
        // The cells in grey (too fine to draw at a quarter), the screens'
        // borders in white.
        int grey = makecol(96, 96, 96);
        int cell = EDITOR_STEP / zoom;
        if (zoom <= 2)
        {
            for (int x = (-level.scroll_x / zoom) % cell; x < CANVAS_WIDTH; x += cell)
                for (int y = 0; y < CANVAS_HEIGHT; y += 2)
                    putpixel(canvas, x, y, grey);
            for (int y = (-level.scroll_y / zoom) % cell; y < CANVAS_HEIGHT; y += cell)
                for (int x = 0; x < CANVAS_WIDTH; x += 2)
                    putpixel(canvas, x, y, grey);
        }
        for (int x = (-level.scroll_x / zoom) % screen_width; x < CANVAS_WIDTH; x += screen_width)
            vline(canvas, x, 0, CANVAS_HEIGHT - 1, white);
        for (int y = (-level.scroll_y / zoom) % screen_height; y < CANVAS_HEIGHT; y += screen_height)
            hline(canvas, 0, y, CANVAS_WIDTH - 1, white);
    }
    editor_selection->Draw(*this);

    if (editor_mode == SCREEN_MODE)
    {
        for (int row = 0; row < Level::MAX_HEIGHT; row++)
            hline(canvas, 0, (-CANVAS_HEIGHT * row - level.scroll_y) / zoom, CANVAS_WIDTH - 1, green);
        for (int screen = 0; screen < NUMBER_OF_SCREENS; screen++)
        {
            int x = (screen * CANVAS_WIDTH - level.scroll_x) / zoom;
            vline(canvas, x, 0, CANVAS_HEIGHT - 1, green);
            if (zoom > 1)
                continue;
            // Where a local pipe leading to this screen sets the hero down.
            if (bitmaps[BLUEJAY_STANDING_BM] != nullptr)
                stretch_sprite(canvas, bitmaps[BLUEJAY_STANDING_BM], x + 16, 128 - level.scroll_y, 16, 16);
            textprintf_ex(canvas, font, x + 2, CANVAS_HEIGHT - 1 - line_height, white, black, Translate("Screen %i"), screen);
            textprintf_ex(canvas, font, x + 2, CANVAS_HEIGHT - 2 - 2 * line_height, white, black, Translate("Pointer %i (%i)"),
                          screen, level.pointers[screen]);
        }
    }
    else if (selected_object == NO_OBJECT_SELECTED && zoom == 1)
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
    // The tune and the background by name; in screen mode, where they are
    // set, with their numbers, and the pipe of the screen with the level it
    // leads to.
    if (objects)
        std::snprintf(lines[number_of_lines++], EDITOR_LINE_LENGTH, "%s, %s", Music_Name(level.music),
                      Background_Name(level.background));
    else
    {
        std::snprintf(lines[number_of_lines++], EDITOR_LINE_LENGTH, Translate("music %i: %s"), level.music,
                      Music_Name(level.music));
        std::snprintf(lines[number_of_lines++], EDITOR_LINE_LENGTH, Translate("background %i: %s"),
                      level.background, Background_Name(level.background));
        std::snprintf(lines[number_of_lines++], EDITOR_LINE_LENGTH, "%s", Pointer_Line().c_str());
    }
    std::snprintf(lines[number_of_lines++], EDITOR_LINE_LENGTH, Translate("%lld,%lld screen %lld,%lld"), x, y, column, row);
    std::snprintf(lines[number_of_lines++], EDITOR_LINE_LENGTH, Translate("platforms %i/%i"), level.number_of_platforms,
                  Level::MAX_PLATFORMS);
    std::snprintf(lines[number_of_lines++], EDITOR_LINE_LENGTH, Translate("characters %i/%i"), level.number_of_characters,
                  Level::MAX_CHARACTERS);
    for (int i = 0; i < number_of_lines; i++)
        textout_ex(canvas, font, lines[i], STATUS_X, 2 + i * line_height, white, black);

    if (editor_notice_ticks > 0)
    {
        // A notice wrapped to the canvas, at its foot (above the screen
        // labels), clear of the status lines.
        int yellow = makecol(255, 255, 0);
        std::vector<std::string> parts;
        std::string text = editor_notice;
        for (std::size_t start = 0; start <= text.size();)
        {
            std::size_t end = std::min(text.find('\n', start), text.size());
            for (const std::string& part : Wrap(text.substr(start, end - start), CANVAS_WIDTH - 2))
                parts.push_back(part);
            start = end + 1;
        }
        int bottom = CANVAS_HEIGHT - 2 - (editor_mode == SCREEN_MODE ? 2 : 0) * line_height;
        int room = (bottom - (2 + STATUS_LINES * line_height)) / line_height;
        int shown = std::min(static_cast<int>(parts.size()), room);
        for (int i = 0; i < shown; i++)
            textout_ex(canvas, font, parts[i].c_str(), 1, bottom - (shown - i) * line_height, yellow, black);
    }
}

void Application::Draw_Editor_Help()
{
    // The keys of the mode on black, over the whole canvas.
    clear_to_color(canvas, makecol(0, 0, 0));
    int line_height = text_height(font) + 1;
    char lines[HELP_LINES][EDITOR_LINE_LENGTH];
    int count = 0;
    Editor_Help_Lines(lines, count, HELP_LINES);
    int white = makecol(255, 255, 255);
    int black = makecol(0, 0, 0);
    textprintf_ex(canvas, font, 0, 1, makecol(255, 255, 0), black, Translate("Keys: %s (F1, Esc)"), Mode_Name(editor_mode));
    int first = editor_help_page * HELP_PAGE_LINES;
    for (int i = first; i < count && i < first + HELP_PAGE_LINES; i++)
        textout_ex(canvas, font, lines[i], 0, 1 + (i - first + 1) * line_height, white, black);
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
