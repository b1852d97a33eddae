#include "level.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <sys/stat.h>

#include "application.h"
#include "black_bird.h"
#include "bluejay.h"
#include "boiling_mud.h"
#include "character.h"
#include "checkpoint.h"
#include "clam.h"
#include "egg.h"
#include "fly.h"
#include "ghost.h"
#include "goldenjay.h"
#include "lemming.h"
#include "master_ecto.h"
#include "message_object.h"
#include "mosquito.h"
#include "mud_drop.h"
#include "map_reader.h"
#include "platform.h"
#include "safe_file.h"
#include "rock.h"
#include "scrolling_background_object.h"
#include "spiked_pole.h"
#include "stop_attack_object.h"
#include "super_mosquito.h"
#include "swooper.h"
#include "switch.h"
#include "throwable_rock.h"
#include "tomatoo_plant.h"

namespace
{
struct Shape_File
{
    int type;
    const char* file;
};

const Shape_File SHAPE_FILES[] = {
    {Level::BLACK_BIRD, "data\\bump_maps\\black_bird.map"},
    {Level::BLUEJAY, "data\\bump_maps\\bluejay.map"},
    {Level::CLAM, "data\\bump_maps\\clam.map"},
    {Level::EGG, "data\\bump_maps\\egg.map"},
    {Level::FLY, "data\\bump_maps\\fly.map"},
    {Level::MOSQUITO, "data\\bump_maps\\mosquito.map"},
    {Level::SHOUTING_BLACK_BIRD, "data\\bump_maps\\black_bird.map"},
    {Level::LEAPING_BLACK_BIRD, "data\\bump_maps\\black_bird.map"},
    {Level::GHOST, "data\\bump_maps\\ghost.map"},
    {Level::MASTER_ECTO, "data\\bump_maps\\master_ecto.map"},
    {Level::ROCK, "data\\bump_maps\\rock.map"},
    {Level::GOLDENJAY, "data\\bump_maps\\goldenjay.map"},
    {Level::SWOOPER, "data\\bump_maps\\swooper.map"},
    {Level::LOCAL_ROCK, "data\\bump_maps\\rock.map"},
    {Level::PIPE_SWITCH, "data\\bump_maps\\switch.map"},
    {Level::REVERSE_PIPE_SWITCH, "data\\bump_maps\\switch.map"},
    {Level::SUPER_MOSQUITO, "data\\bump_maps\\super_mosquito.map"},
    {Level::LEMMING, "data\\bump_maps\\lemming.map"},
    {Level::THROWABLE_ROCK, "data\\bump_maps\\throwable_rock.map"},
    {Level::HUNTING_FLY, "data\\bump_maps\\fly.map"},
    {Level::TOMATOO_PLANT, "data\\bump_maps\\tomatoo_plant.map"},
    {Level::SPIKED_POLE, "data\\bump_maps\\spiked_pole.map"},
    {Level::BOILING_MUD, "data\\bump_maps\\boiling_mud.map"},
    {Level::MUD_DROP, "data\\bump_maps\\mud_drop.map"},
    {Level::NO_ECTO_SWITCH, "data\\bump_maps\\switch.map"},
    {Level::CHERRY, "data\\bump_maps\\cherry.map"},
    {Level::WIRE, "data\\bump_maps\\wire.map"},
    {Level::YELLOW_CHERRY, "data\\bump_maps\\cherry.map"},
};

// Positions for play are kept within Level::MAX_POSITION of the origin, so
// that moving and drawing never overflow, whatever number a file holds.
int Clamp_Position(int value)
{
    if (value > Level::MAX_POSITION)
        return Level::MAX_POSITION;
    if (value < -Level::MAX_POSITION)
        return -Level::MAX_POSITION;
    return value;
}
} // namespace

Level::Level()
    : scroll_x(0), scroll_y(0), number_of_platforms(0), number_of_characters(0),
      main_character(NO_MAIN_CHARACTER), screens_wide(1), music(Application::ATHLETIC_THEME_MT),
      signal(0), background(Application::GRASS_BACKGROUND_BM),
      platforms(MAX_PLATFORMS), pointers(new int[NUMBER_OF_POINTERS]()), characters(MAX_CHARACTERS),
      starting(true), platform_records(MAX_PLATFORMS), character_records(MAX_CHARACTERS),
      reposition_requested(false),
      scroll_x_requested(false), scroll_y_requested(false), scroll_x_step(0), scroll_y_step(0),
      background_scrolling(false), showing_message(false), message_shown(false), screens_high(1),
      background_x(0), ending_timer(0), pipes_end_play(false), pipe_destination(NO_LEVEL), checkpoint_lit(false),
      restart_x(0), restart_y(0), load_problem(nullptr), load_problem_line(0)
{
}

void Level::Clear_Checkpoints()
{
    checkpoint_lit = false;
    for (int i = 0; i < number_of_characters; i++)
        if (characters[i] != nullptr && characters[i]->type == CHECKPOINT)
            static_cast<Checkpoint*>(characters[i])->lit = false;
}

Level::~Level()
{
    delete[] pointers;
}

void Level::Reset(bool full_reset)
{
    signal = 0;
    starting = true;
    background_x = 0;
    background_scrolling = false;
    showing_message = false;

    // Defeated characters stay defeated and thrown rocks stay where they lie.
    for (int i = 0; i < number_of_characters; i++)
    {
        Character* character = characters[i];
        if (character != nullptr && character->strength > 0 && character->type != THROWABLE_ROCK)
            character->Reset(full_reset);
    }

    // Only a full reset brings eaten cherries back.
    if (full_reset)
        for (int i = 0; i < number_of_platforms; i++)
            platforms[i]->taken = false;
}

const char* Level::Bump_Map_File(int type)
{
    for (const Shape_File& entry : SHAPE_FILES)
        if (entry.type == type)
            return entry.file;
    return nullptr;
}

namespace
{
// A folder in the place of a map file is a map that does not open.
bool Is_Folder(const char* file_name)
{
    struct stat status;
    return stat(file_name, &status) == 0 && S_ISDIR(status.st_mode);
}
} // namespace

void Level::Load(const char* file_name)
{
    std::ifstream file(file_name);
    if (file && !Is_Folder(file_name))
        Load(file);
}

void Level::Load(std::istream& input)
{
    Map_Reader reader(input);
    bool complete = reader.Read(background) && reader.Read(music);

    // Characters: type x y, up to the terminator -1. Codes that name no
    // character and entries beyond the table are read and dropped.
    while (complete)
    {
        int type = 0, x = 0, y = 0;
        if (!reader.Read(type))
        {
            complete = false;
            break;
        }
        if (type == -1)
            break;
        if (number_of_characters >= MAX_CHARACTERS)
            reader.Record_Dropped();
        if (!reader.Read(x) || !reader.Read(y))
        {
            complete = false;
            break;
        }
        if (number_of_characters >= MAX_CHARACTERS)
            continue;
        Character* character = Create_Character(type);
        if (character == nullptr)
            continue;
        int n = number_of_characters;
        characters[n] = character;
        const char* shape_file = Bump_Map_File(type);
        if (shape_file != nullptr)
            Load_Bump_Map_For_Character(shape_file, characters, n);
        if (type == BLUEJAY)
            main_character = n;
        character->x = character->start_x = Clamp_Position(x);
        character->y = character->start_y = Clamp_Position(y);
        number_of_characters = n + 1;
    }

    // Platforms: type x y, up to the terminator -1.
    while (complete)
    {
        int type = 0, x = 0, y = 0;
        if (!reader.Read(type))
        {
            complete = false;
            break;
        }
        if (type == -1)
            break;
        if (number_of_platforms >= MAX_PLATFORMS)
            reader.Record_Dropped();
        if (!reader.Read(x) || !reader.Read(y))
        {
            complete = false;
            break;
        }
        // Codes that name no platform, and entries beyond the table, are
        // read and dropped.
        if (type < BROWN_BLOCK || type > TALL_VINE || number_of_platforms >= MAX_PLATFORMS)
            continue;
        int n = number_of_platforms;
        Platform* platform = platforms[n];
        platform->type = type;
        platform->x = Clamp_Position(x);
        platform->y = Clamp_Position(y);
        platform->Initialize();
        const char* shape_file = Bump_Map_File(type);
        if (shape_file != nullptr && type >= BROWN_BLOCK)
            Load_Bump_Map_For_Platform(shape_file, platforms, n);
        number_of_platforms = n + 1;
    }

    // The pipe destinations; pointers the file does not give stay 0.
    for (int i = 0; complete && i < NUMBER_OF_POINTERS; i++)
        complete = reader.Read(pointers[i]);
    load_problem = reader.problem;
    load_problem_line = reader.problem_line;

    // The size in screens comes from the platforms alone.
    int max_x = 0;
    int min_y = 400;
    for (int i = 0; i < number_of_platforms; i++)
    {
        if (platforms[i]->x > max_x)
            max_x = platforms[i]->x;
        if (platforms[i]->y < min_y)
            min_y = platforms[i]->y;
    }
    screens_wide = max_x / Application::CANVAS_WIDTH + 1;
    if (min_y < 0)
        screens_high = (-(min_y + 1)) / Application::CANVAS_HEIGHT + 2;
    else
        screens_high = 1;
    if (screens_wide > MAX_SCREENS)
        screens_wide = MAX_SCREENS;
    if (screens_high > MAX_SCREENS)
        screens_high = MAX_SCREENS;
}

void Level::Load_For_Editing(const char* file_name)
{
    std::ifstream file(file_name);
    if (file && !Is_Folder(file_name))
        Load_For_Editing(file);
    else
        Remember_Saved_Form();
}

void Level::Load_For_Editing(std::istream& input)
{
    Map_Reader reader(input);
    bool complete = reader.Read(background) && reader.Read(music);

    Record_Table* tables[2] = {&character_records, &platform_records};
    int* counts[2] = {&number_of_characters, &number_of_platforms};
    const int limits[2] = {MAX_CHARACTERS, MAX_PLATFORMS};
    for (int list = 0; list < 2; list++)
    {
        while (complete)
        {
            int type = 0, x = 0, y = 0;
            if (!reader.Read(type))
            {
                complete = false;
                break;
            }
            if (type == -1)
                break;
            bool full = *counts[list] >= limits[list];
            if (full)
                reader.Record_Dropped();
            if (!reader.Read(x) || !reader.Read(y))
            {
                complete = false;
                break;
            }
            // Entries beyond the table are dropped, and the level counts as
            // one that was not read whole.
            if (full)
                continue;
            Map_Record* record = (*tables[list])[*counts[list]];
            record->type = type;
            record->x = x;
            record->y = y;
            (*counts[list])++;
        }
    }

    for (int i = 0; complete && i < NUMBER_OF_POINTERS; i++)
        complete = reader.Read(pointers[i]);
    load_problem = reader.problem;
    load_problem_line = reader.problem_line;
    Remember_Saved_Form();
}

std::string Level::Map_Text() const
{
    std::string text;
    char number[MAX_NUMBER_TEXT];
    auto add = [&text, &number](int value) {
        std::snprintf(number, sizeof(number), "%d\n", value);
        text += number;
    };
    add(background);
    add(music);
    for (int i = 0; i < number_of_characters && i < MAX_CHARACTERS; i++)
    {
        add(character_records[i]->type);
        add(character_records[i]->x);
        add(character_records[i]->y);
    }
    add(-1);
    for (int i = 0; i < number_of_platforms && i < MAX_PLATFORMS; i++)
    {
        add(platform_records[i]->type);
        add(platform_records[i]->x);
        add(platform_records[i]->y);
    }
    add(-1);
    for (int i = 0; i < NUMBER_OF_POINTERS; i++)
        add(pointers[i]);
    return text;
}

bool Level::Save(const char* file_name)
{
    std::string reason;
    return Save(file_name, reason);
}

bool Level::Save(const char* file_name, std::string& reason)
{
    // A crash, a full disk or a kill never leaves a cut-off level file.
    Safe_File file;
    bool written = file.Write(file_name, Map_Text());
    reason = file.reason;
    if (written)
    {
        // The file now holds all of the level.
        load_problem = nullptr;
        load_problem_line = 0;
        Remember_Saved_Form();
    }
    return written;
}

void Level::Remember_Saved_Form()
{
    saved_form.clear();
    saved_form.reserve(FORM_HEADER + RECORD_FIELDS * (number_of_characters + number_of_platforms) +
                       NUMBER_OF_POINTERS);
    saved_form.push_back(background);
    saved_form.push_back(music);
    const struct
    {
        const Record_Table& records;
        int count;
    } lists[] = {{character_records, number_of_characters}, {platform_records, number_of_platforms}};
    for (const auto& list : lists)
    {
        saved_form.push_back(list.count);
        for (int i = 0; i < list.count; i++)
        {
            saved_form.push_back(list.records[i]->type);
            saved_form.push_back(list.records[i]->x);
            saved_form.push_back(list.records[i]->y);
        }
    }
    for (int i = 0; i < NUMBER_OF_POINTERS; i++)
        saved_form.push_back(pointers[i]);
}

bool Level::Changed() const
{
    // The same walk as Remember_Saved_Form, comparing instead of storing.
    std::size_t at = 0;
    auto differs = [this, &at](int value) {
        return at >= saved_form.size() || saved_form[at++] != value;
    };
    if (differs(background) || differs(music))
        return true;
    const struct
    {
        const Record_Table& records;
        int count;
    } lists[] = {{character_records, number_of_characters}, {platform_records, number_of_platforms}};
    for (const auto& list : lists)
    {
        if (differs(list.count))
            return true;
        for (int i = 0; i < list.count; i++)
            if (differs(list.records[i]->type) || differs(list.records[i]->x) || differs(list.records[i]->y))
                return true;
    }
    for (int i = 0; i < NUMBER_OF_POINTERS; i++)
        if (differs(pointers[i]))
            return true;
    return at != saved_form.size();
}

Character* Level::Create_Character(int type)
{
    switch (type)
    {
    case BLACK_BIRD:
        return new Black_Bird();
    case SHOUTING_BLACK_BIRD:
    {
        Black_Bird* bird = new Black_Bird();
        bird->mode = Black_Bird::SHOUT;
        return bird;
    }
    case LEAPING_BLACK_BIRD:
    {
        Black_Bird* bird = new Black_Bird();
        bird->mode = Black_Bird::LEAP;
        return bird;
    }
    case BLUEJAY:
        return new Bluejay();
    case CLAM:
        return new Clam();
    case EGG:
        return new Egg();
    case FLY:
        return new Fly();
    case HUNTING_FLY:
    {
        Fly* fly = new Fly();
        fly->hunting = true;
        return fly;
    }
    case MOSQUITO:
        return new Mosquito();
    case GHOST:
        return new Ghost();
    case MASTER_ECTO:
        return new Master_Ecto();
    case ROCK:
        return new Rock();
    case LOCAL_ROCK:
    {
        Rock* rock = new Rock();
        rock->local = true;
        return rock;
    }
    case GOLDENJAY:
        return new Goldenjay();
    case SWOOPER:
        return new Swooper();
    case PIPE_SWITCH:
        return new Switch();
    case REVERSE_PIPE_SWITCH:
    {
        Switch* button = new Switch();
        button->kind = Switch::REVERSE_PIPE;
        return button;
    }
    case NO_ECTO_SWITCH:
    {
        Switch* button = new Switch();
        button->kind = Switch::NO_ECTO;
        return button;
    }
    case SUPER_MOSQUITO:
        return new Super_Mosquito();
    case LEMMING:
        return new Lemming();
    case THROWABLE_ROCK:
        return new Throwable_Rock();
    case STOP_ATTACK_OBJECT:
        return new Stop_Attack_Object();
    case TOMATOO_PLANT:
        return new Tomatoo_Plant();
    case SCROLLING_BACKGROUND:
        return new Scrolling_Background_Object();
    case MESSAGE_OBJECT:
        return new Message_Object();
    case SPIKED_POLE:
        return new Spiked_Pole();
    case BOILING_MUD:
        return new Boiling_Mud();
    case MUD_DROP:
        return new Mud_Drop();
    case CHECKPOINT:
        return new Checkpoint();
    default:
        return nullptr;
    }
}

void Load_Bump_Map_For_Character(const char* file_name, Character_Table& characters, int index)
{
    char path[Application::MAX_PATH_LENGTH];
    Make_Path(path, file_name);
    characters[index]->Load_Bump_Maps(path);
}

void Load_Bump_Map_For_Platform(const char* file_name, Platform_Table& platforms, int index)
{
    char path[Application::MAX_PATH_LENGTH];
    Make_Path(path, file_name);
    platforms[index]->Load_Bump_Map(path);
}
