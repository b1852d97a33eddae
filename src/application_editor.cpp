// The level editor: scroll over a level, set each screen's pipe pointer, the
// background and the music, place, carry and delete characters and
// platforms, switch levels and save.

#include <allegro.h>

#include "application.h"
#include "level.h"

namespace
{
// The picture of every object type, characters then platforms.
const int CHARACTER_PICTURES[] = {
    Application::BLACK_BIRD_STANDING_BM,       // BLACK_BIRD
    Application::BLUEJAY_STANDING_BM,          // BLUEJAY
    Application::CLAM_MOUTH_OPEN_BM,           // CLAM
    Application::EGG_BM,                       // EGG
    Application::FLY_WINGS_IN_BM,              // FLY
    Application::MOSQUITO_WINGS_DOWN_BM,       // MOSQUITO
    Application::SHOUTING_BLACK_BIRD_BM,       // SHOUTING_BLACK_BIRD
    Application::LEAPING_BLACK_BIRD_BM,        // LEAPING_BLACK_BIRD
    Application::GHOST_BM,                     // GHOST
    Application::MASTER_ECTO_BM,               // MASTER_ECTO
    Application::ROCK_BM,                      // ROCK
    Application::GOLDENJAY_PERCHED_BM,         // GOLDENJAY
    Application::SWOOPER_WINGS_OUT_BM,         // SWOOPER
    Application::LOCAL_ROCK_BM,                // LOCAL_ROCK
    Application::PIPE_SWITCH_BM,               // PIPE_SWITCH
    Application::REVERSE_PIPE_SWITCH_BM,       // REVERSE_PIPE_SWITCH
    Application::SUPER_MOSQUITO_WINGS_UP_BM,   // SUPER_MOSQUITO
    Application::LEMMING_STILL_BM,             // LEMMING
    Application::THROWABLE_ROCK_BM,            // THROWABLE_ROCK
    Application::STOP_ATTACK_BM,               // STOP_ATTACK_OBJECT
    Application::HUNTING_FLY_BM,               // HUNTING_FLY
    Application::TOMATOO_PLANT_HEAD_BM,        // TOMATOO_PLANT
    Application::SCROLLING_BACKGROUND_BM,      // SCROLLING_BACKGROUND
    Application::MESSAGE_BOX_BM,               // MESSAGE_OBJECT
    Application::SPIKED_POLE_POINT_BM,         // SPIKED_POLE
    Application::BOILING_MUD_BM,               // BOILING_MUD
    Application::MUD_DROP_BM,                  // MUD_DROP
    Application::NO_ECTO_SWITCH_BM,            // NO_ECTO_SWITCH
};

const int PLATFORM_PICTURES[] = {
    Application::BROWN_BLOCK_BM,       // BROWN_BLOCK
    Application::CEMENT_BLOCK_BM,      // CEMENT_BLOCK
    Application::BIG_BUSH_BM,          // BIG_BUSH
    Application::SMALL_BUSH_BM,        // SMALL_BUSH
    Application::CHERRY_BM,            // CHERRY
    Application::GROUND_BM,            // GROUND
    Application::PIPE_BM,              // PIPE
    Application::LIMESTONE_BM,         // LIMESTONE
    Application::LEDGE_BM,             // LEDGE
    Application::WALK_THROUGH_DIRT_BM, // WALK_THROUGH_DIRT
    Application::WIRE_BM,              // WIRE
    Application::STOPPER_BM,           // STOPPER
    Application::LOCAL_PIPE_BM,        // LOCAL_PIPE
    Application::STONE_WALL_BM,        // STONE_WALL
    Application::FAKE_CEMENT_BLOCK_BM, // FAKE_CEMENT_BLOCK
    Application::YELLOW_CHERRY_BM,     // YELLOW_CHERRY
    Application::SHORT_VINE_BM,        // SHORT_VINE
    Application::TALL_VINE_BM,         // TALL_VINE
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
        return "character mode";
    case Application::PLATFORM_MODE:
        return "platform mode";
    default:
        return "screen mode";
    }
}
} // namespace

int Application::Get_Object_Bitmap(int type)
{
    if (type >= Level::BLACK_BIRD && type <= Level::NO_ECTO_SWITCH)
        return CHARACTER_PICTURES[type - Level::BLACK_BIRD];
    if (type >= Level::BROWN_BLOCK && type <= Level::TALL_VINE)
        return PLATFORM_PICTURES[type - Level::BROWN_BLOCK];
    return PLACEHOLDER_PICTURE;
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
    set_trans_blender(200, 200, 200, 200);
    quit = false;
    // The editor's keys stay where they are, whatever the game's settings.
    editing = true;
}

void Application::Run_Editor_Tick()
{
    key_delay++;
    Generate_Signals();
    if (Editor_Quit_Requested())
    {
        quit = true;
        return;
    }

    // Free commands, every tick they are held.
    if (signals & SIGNAL_SAVE)
        Save_Current_Level();
    if (signals & SIGNAL_SCREEN_MODE)
    {
        editor_mode = SCREEN_MODE;
        selected_object = NO_OBJECT_SELECTED;
    }
    if (signals & SIGNAL_CHARACTER_MODE)
    {
        editor_mode = CHARACTER_MODE;
        current_object_type = Level::BLACK_BIRD;
        selected_object = NO_OBJECT_SELECTED;
    }
    if (signals & SIGNAL_PLATFORM_MODE)
    {
        editor_mode = PLATFORM_MODE;
        current_object_type = Level::BROWN_BLOCK;
        selected_object = NO_OBJECT_SELECTED;
    }

    // Switching levels saves the one being left.
    if (key_delay >= COMMAND_REPEAT_TICKS)
    {
        if (signals & SIGNAL_LEVEL_UP)
        {
            Save_Current_Level();
            current_level = Clamp(current_level + 1, 0, NUMBER_OF_LEVELS - 1);
            key_delay = 0;
            selected_object = NO_OBJECT_SELECTED;
            Stop_Music();
        }
        if (signals & SIGNAL_LEVEL_DOWN)
        {
            Save_Current_Level();
            current_level = Clamp(current_level - 1, 0, NUMBER_OF_LEVELS - 1);
            key_delay = 0;
            selected_object = NO_OBJECT_SELECTED;
            Stop_Music();
        }
    }

    Level& level = *levels[current_level];

    if (key_delay >= SCROLL_REPEAT_TICKS)
    {
        const struct
        {
            int signal, dx, dy;
        } scrolls[] = {{SIGNAL_LEFT, -EDITOR_STEP, 0},
                       {SIGNAL_RIGHT, EDITOR_STEP, 0},
                       {SIGNAL_UP, 0, -EDITOR_STEP},
                       {SIGNAL_DOWN, 0, EDITOR_STEP}};
        for (const auto& scroll : scrolls)
        {
            if (signals & scroll.signal)
            {
                level.scroll_x += scroll.dx;
                level.scroll_y += scroll.dy;
                selected_object = NO_OBJECT_SELECTED;
                key_delay = 0;
            }
        }
        level.scroll_x = Clamp(level.scroll_x, 0, MAX_SCROLL_X);
        level.scroll_y = Clamp(level.scroll_y, MIN_SCROLL_Y, 0);
    }

    if (editor_mode == SCREEN_MODE && key_delay >= COMMAND_REPEAT_TICKS)
    {
        int screen = Clamp(level.scroll_x / CANVAS_WIDTH, 0, Level::NUMBER_OF_POINTERS - 1);
        int& pointer = level.pointers[screen];
        if (signals & SIGNAL_SCROLL_DOWN_1)
        {
            pointer = pointer > 0 ? pointer - 1 : 0;
            key_delay = 0;
        }
        if (signals & SIGNAL_SCROLL_UP_1)
        {
            pointer = pointer < NUMBER_OF_LEVELS - 1 ? pointer + 1 : NUMBER_OF_LEVELS - 1;
            key_delay = 0;
        }
        pointer = Clamp(pointer, 0, NUMBER_OF_LEVELS - 1);
        if (signals & SIGNAL_SCROLL_DOWN_2)
        {
            level.background = level.background > 0 ? level.background - 1 : 0;
            key_delay = 0;
        }
        if (signals & SIGNAL_SCROLL_UP_2)
        {
            level.background = level.background < BLACK_BACKGROUND_BM ? level.background + 1 : BLACK_BACKGROUND_BM;
            key_delay = 0;
        }
        level.background = Clamp(level.background, GRASS_BACKGROUND_BM, BLACK_BACKGROUND_BM);
        // B and N also replay the level's tune, clamped or not.
        if (signals & SIGNAL_SCROLL_DOWN_3)
        {
            level.music = level.music > 0 ? level.music - 1 : 0;
            key_delay = 0;
            Play_Music(level.music, false);
        }
        if (signals & SIGNAL_SCROLL_UP_3)
        {
            level.music = level.music < LAST_EDITOR_MUSIC ? level.music + 1 : LAST_EDITOR_MUSIC;
            key_delay = 0;
            Play_Music(level.music, false);
        }
    }

    if ((editor_mode == CHARACTER_MODE || editor_mode == PLATFORM_MODE) && key_delay >= COMMAND_REPEAT_TICKS)
    {
        bool characters = editor_mode == CHARACTER_MODE;
        Record_Table& records = characters ? level.character_records : level.platform_records;
        int& count = characters ? level.number_of_characters : level.number_of_platforms;
        int limit = characters ? Level::MAX_CHARACTERS : Level::MAX_PLATFORMS;
        int first = characters ? Level::BLACK_BIRD : Level::BROWN_BLOCK;
        int last = characters ? Level::NO_ECTO_SWITCH : Level::TALL_VINE;

        if (signals & SIGNAL_SCROLL_DOWN_1)
        {
            current_object_type--;
            key_delay = 0;
        }
        if (signals & SIGNAL_SCROLL_UP_1)
        {
            current_object_type++;
            key_delay = 0;
        }
        current_object_type = Clamp(current_object_type, first, last);

        if (selected_object == NO_OBJECT_SELECTED)
        {
            // The cursor moves; K picks up what lies under it or places a
            // new object of the chosen type.
            if (signals & SIGNAL_CURSOR_UP)
            {
                cursor_y -= EDITOR_STEP;
                key_delay = 0;
            }
            if (signals & SIGNAL_CURSOR_LEFT)
            {
                cursor_x -= EDITOR_STEP;
                key_delay = 0;
            }
            if (signals & SIGNAL_CURSOR_RIGHT)
            {
                cursor_x += EDITOR_STEP;
                key_delay = 0;
            }
            if (signals & SIGNAL_CURSOR_DOWN)
            {
                cursor_y += EDITOR_STEP;
                key_delay = 0;
            }
            cursor_x = Clamp(cursor_x, 0, MAX_CURSOR_X);
            cursor_y = Clamp(cursor_y, 0, MAX_CURSOR_Y);
            if (signals & SIGNAL_SELECT)
            {
                Select_Object();
                key_delay = 0;
                if (selected_object == NO_OBJECT_SELECTED && count < limit)
                {
                    Map_Record& record = *records[count];
                    record.type = current_object_type;
                    record.x = cursor_x + level.scroll_x;
                    record.y = cursor_y + level.scroll_y;
                    selected_object = count;
                    count++;
                }
            }
        }
        else if (selected_object >= 0 && selected_object < count)
        {
            Map_Record& record = *records[selected_object];
            if (signals & SIGNAL_SELECT)
            {
                // Dropped where it is.
                selected_object = NO_OBJECT_SELECTED;
                key_delay = 0;
            }
            else
            {
                if (signals & SIGNAL_DELETE)
                {
                    // The last record takes the deleted one's place.
                    Map_Record& last_record = *records[count - 1];
                    record.type = last_record.type;
                    record.x = last_record.x;
                    record.y = last_record.y;
                    count--;
                    selected_object = NO_OBJECT_SELECTED;
                    key_delay = 0;
                }
                if (selected_object != NO_OBJECT_SELECTED)
                {
                    if (signals & SIGNAL_CURSOR_UP)
                    {
                        record.y -= EDITOR_STEP;
                        key_delay = 0;
                    }
                    if (signals & SIGNAL_CURSOR_LEFT)
                    {
                        record.x -= EDITOR_STEP;
                        key_delay = 0;
                    }
                    if (signals & SIGNAL_CURSOR_RIGHT)
                    {
                        record.x += EDITOR_STEP;
                        key_delay = 0;
                    }
                    if (signals & SIGNAL_CURSOR_DOWN)
                    {
                        record.y += EDITOR_STEP;
                        key_delay = 0;
                    }
                    // A carried object stays in view.
                    record.x = Clamp(record.x, level.scroll_x, level.scroll_x + MAX_CURSOR_X);
                    record.y = Clamp(record.y, level.scroll_y, level.scroll_y + MAX_CURSOR_Y);
                }
            }
        }
        else
        {
            selected_object = NO_OBJECT_SELECTED;
        }
    }

    Draw_Editor();
    Display_Scene();
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
            textprintf_ex(canvas, font, x + 2, CANVAS_HEIGHT - 1 - line_height, white, black, "Screen %i", screen);
            textprintf_ex(canvas, font, x + 2, CANVAS_HEIGHT - 2 - 2 * line_height, white, black, "Pointer %i (%i)",
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
    }

    textprintf_ex(canvas, font, 80, 2, white, black, "Level %i", current_level);
    textprintf_ex(canvas, font, 80, line_height + 3, white, black, "Mode: %s", Mode_Name(editor_mode));
    Draw_Editor_Notices();
}

void Application::Run_Editor()
{
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
