#ifndef BLUEJAY_LEVEL_H
#define BLUEJAY_LEVEL_H

class Application;
class Character;
class Platform;

// One entry of a map file in the editor's form.
class Map_Record
{
public:
    int x;
    int y;
    int type;
};

// One stage of the game: its platforms and characters, the pipe
// destinations of its screens, the camera, the background and music, and the
// flags through which its characters talk to it and it talks to the game
// loop. A level is either loaded for play (live platforms and characters) or
// for editing (plain map records).
class Level
{
public:
    static const int MAX_PLATFORMS = 5000;
    static const int MAX_CHARACTERS = 2000;
    static const int NUMBER_OF_POINTERS = 50;
    static const int MAX_HEIGHT = 50;
    static const int HEIGHT_ERROR = 1;

    // Level-wide events.
    static const int SIGNAL_ATTACK_BLUEJAY = 1;
    static const int SIGNAL_LOWER_PIPES = 2;
    static const int SIGNAL_RAISE_PIPES = 3;
    static const int SIGNAL_COLLAPSE_CEMENT = 4;
    static const int SIGNAL_DESTROY_ECTO = 5;

    // Character type codes of the map files.
    static const int BLACK_BIRD = 1;
    static const int BLUEJAY = 2;
    static const int CLAM = 3;
    static const int EGG = 4;
    static const int FLY = 5;
    static const int MOSQUITO = 6;
    static const int SHOUTING_BLACK_BIRD = 7;
    static const int LEAPING_BLACK_BIRD = 8;
    static const int GHOST = 9;
    static const int MASTER_ECTO = 10;
    static const int ROCK = 11;
    static const int GOLDENJAY = 12;
    static const int SWOOPER = 13;
    static const int LOCAL_ROCK = 14;
    static const int PIPE_SWITCH = 15;
    static const int REVERSE_PIPE_SWITCH = 16;
    static const int SUPER_MOSQUITO = 17;
    static const int LEMMING = 18;
    static const int THROWABLE_ROCK = 19;
    static const int STOP_ATTACK_OBJECT = 20;
    static const int HUNTING_FLY = 21;
    static const int TOMATOO_PLANT = 22;
    static const int SCROLLING_BACKGROUND = 23;
    static const int MESSAGE_OBJECT = 24;
    static const int SPIKED_POLE = 25;
    static const int BOILING_MUD = 26;
    static const int MUD_DROP = 27;
    static const int NO_ECTO_SWITCH = 28;

    // Platform type codes of the map files.
    static const int BROWN_BLOCK = 1000;
    static const int CEMENT_BLOCK = 1001;
    static const int BIG_BUSH = 1002;
    static const int SMALL_BUSH = 1003;
    static const int CHERRY = 1004;
    static const int GROUND = 1005;
    static const int PIPE = 1006;
    static const int LIMESTONE = 1007;
    static const int LEDGE = 1008;
    static const int WALK_THROUGH_DIRT = 1009;
    static const int WIRE = 1010;
    static const int STOPPER = 1011;
    static const int LOCAL_PIPE = 1012;
    static const int STONE_WALL = 1013;
    static const int FAKE_CEMENT_BLOCK = 1014;
    static const int YELLOW_CHERRY = 1015;
    static const int SHORT_VINE = 1016;
    static const int TALL_VINE = 1017;

    // The value of main_character while the level has no hero.
    static const int NO_MAIN_CHARACTER = -1;

    int scroll_x;
    int scroll_y;
    int number_of_platforms;
    int number_of_characters;
    int main_character;
    int screens_wide;
    int music;
    int signal;
    int background;
    Platform** platforms;
    int* pointers;
    Character** characters;
    bool starting;
    Map_Record** platform_records;
    Map_Record** character_records;
    bool reposition_requested;
    bool scroll_x_requested;
    bool scroll_y_requested;
    int scroll_x_step;
    int scroll_y_step;
    bool background_scrolling;
    bool showing_message;
    bool message_shown;
    int screens_high;
    int background_x;
    int ending_timer;

    Level();
    ~Level();
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;

    void Reset(bool full_reset);
    void Load(const char* file_name);
    void Load_For_Editing(const char* file_name);
    // Writes the editing form; returns whether the file was written whole.
    bool Save(const char* file_name);

    // Creates the character of a map type code, or null for a code that
    // names no character.
    static Character* Create_Character(int type);
    // The shape file of a character or platform type code (backslash path),
    // or null when it has none.
    static const char* Bump_Map_File(int type);
};

// Load the shape of the object at index from a backslash path.
void Load_Bump_Map_For_Character(const char* file_name, Character** characters, int index);
void Load_Bump_Map_For_Platform(const char* file_name, Platform** platforms, int index);

#endif
