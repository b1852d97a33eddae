#ifndef BLUEJAY_LEVEL_H
#define BLUEJAY_LEVEL_H

#include <istream>
#include <string>
#include <vector>

#include "level_table.h"
#include "platform_index.h"

class Application;
class Bluejay;
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

// A level's tables: its platforms and characters for play, its map records
// for editing.
using Platform_Table = Level_Table<Platform, true>;
using Character_Table = Level_Table<Character, false>;
using Record_Table = Level_Table<Map_Record, true>;

// One stage of the game: its platforms and characters, the pipe
// destinations of its screens, the camera, the background and music, and the
// flags through which its characters talk to it and it talks to the game
// loop. A level is either loaded for play (live platforms and characters) or
// for editing (plain map records).
class Level
{
public:
    static constexpr int MAX_PLATFORMS = 5000;
    static constexpr int MAX_CHARACTERS = 2000;
    static constexpr int NUMBER_OF_POINTERS = 50;
    static constexpr int MAX_HEIGHT = 50;
    static constexpr int HEIGHT_ERROR = 1;

    // Level-wide events.
    static constexpr int SIGNAL_ATTACK_BLUEJAY = 1;
    static constexpr int SIGNAL_LOWER_PIPES = 2;
    static constexpr int SIGNAL_RAISE_PIPES = 3;
    static constexpr int SIGNAL_COLLAPSE_CEMENT = 4;
    static constexpr int SIGNAL_DESTROY_ECTO = 5;

    // Character type codes of the map files.
    static constexpr int BLACK_BIRD = 1;
    static constexpr int BLUEJAY = 2;
    static constexpr int CLAM = 3;
    static constexpr int EGG = 4;
    static constexpr int FLY = 5;
    static constexpr int MOSQUITO = 6;
    static constexpr int SHOUTING_BLACK_BIRD = 7;
    static constexpr int LEAPING_BLACK_BIRD = 8;
    static constexpr int GHOST = 9;
    static constexpr int MASTER_ECTO = 10;
    static constexpr int ROCK = 11;
    static constexpr int GOLDENJAY = 12;
    static constexpr int SWOOPER = 13;
    static constexpr int LOCAL_ROCK = 14;
    static constexpr int PIPE_SWITCH = 15;
    static constexpr int REVERSE_PIPE_SWITCH = 16;
    static constexpr int SUPER_MOSQUITO = 17;
    static constexpr int LEMMING = 18;
    static constexpr int THROWABLE_ROCK = 19;
    static constexpr int STOP_ATTACK_OBJECT = 20;
    static constexpr int HUNTING_FLY = 21;
    static constexpr int TOMATOO_PLANT = 22;
    static constexpr int SCROLLING_BACKGROUND = 23;
    static constexpr int MESSAGE_OBJECT = 24;
    static constexpr int SPIKED_POLE = 25;
    static constexpr int BOILING_MUD = 26;
    static constexpr int MUD_DROP = 27;
    static constexpr int NO_ECTO_SWITCH = 28;
    static constexpr int CHECKPOINT = 29;
    // The last character code the map files know.
    static constexpr int LAST_CHARACTER_TYPE = CHECKPOINT;

    // Platform type codes of the map files.
    static constexpr int BROWN_BLOCK = 1000;
    static constexpr int CEMENT_BLOCK = 1001;
    static constexpr int BIG_BUSH = 1002;
    static constexpr int SMALL_BUSH = 1003;
    static constexpr int CHERRY = 1004;
    static constexpr int GROUND = 1005;
    static constexpr int PIPE = 1006;
    static constexpr int LIMESTONE = 1007;
    static constexpr int LEDGE = 1008;
    static constexpr int WALK_THROUGH_DIRT = 1009;
    static constexpr int WIRE = 1010;
    static constexpr int STOPPER = 1011;
    static constexpr int LOCAL_PIPE = 1012;
    static constexpr int STONE_WALL = 1013;
    static constexpr int FAKE_CEMENT_BLOCK = 1014;
    static constexpr int YELLOW_CHERRY = 1015;
    static constexpr int SHORT_VINE = 1016;
    static constexpr int TALL_VINE = 1017;

    // The value of main_character while the level has no hero.
    static constexpr int NO_MAIN_CHARACTER = -1;
    // A safety bound on the size of a level read from a file, so that the
    // camera's arithmetic can never overflow; real levels are 50 screens at
    // most.
    static constexpr int MAX_SCREENS = 1000000;
    // Positions read for play are clamped to -MAX_POSITION .. MAX_POSITION
    // pixels, far beyond the 50 x 50 screens of the largest level, so that
    // no creature's arithmetic on them can overflow.
    static constexpr int MAX_POSITION = 1000000;
    // Where a local pipe sets the hero down: this far into the screen column
    // it leads to, at this height.
    static constexpr int LOCAL_PIPE_ARRIVAL_X = 16;
    static constexpr int LOCAL_PIPE_ARRIVAL_Y = 128;
    // The status line: its margin at the left and the top (the strength and
    // score row), the second row (eggs, lives), where the lives start, and
    // how far a count starts after the right side of its icon.
    static constexpr int STATUS_MARGIN = 1;
    static constexpr int STATUS_SECOND_ROW = 25;
    static constexpr int STATUS_LIVES_X = 195;
    static constexpr int STATUS_COUNT_AFTER_ICON = 5;
    // Beyond the status line as it always was: the timer's row, where the
    // assist mark stands, and how dark the backing is (out of 255).
    static constexpr int STATUS_TIMER_ROW = 12;
    static constexpr int STATUS_ASSIST_X = 132;
    static constexpr int STATUS_BACKING_WEIGHT = 176;
    // Ticks between the final switch and the end of the game.
    static constexpr int ENDING_TICKS = 15;
    // Points for every egg at the end of the game.
    static constexpr int EGG_BONUS = 1000;
    // Room for one integer of a map file with its sign and line end.
    static constexpr int MAX_NUMBER_TEXT = 16;

    int scroll_x;
    int scroll_y;
    int number_of_platforms;
    int number_of_characters;
    int main_character;
    int screens_wide;
    int music;
    int signal;
    int background;
    Platform_Table platforms;
    int* pointers;
    Character_Table characters;
    bool starting;
    Record_Table platform_records;
    Record_Table character_records;
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
    // The platforms by column, ready while the characters of a tick act.
    Platform_Index platform_index;
    // Set on a level tried from the editor: a pipe to another level ends
    // the try, and the level it leads to is kept here (else NO_LEVEL).
    bool pipes_end_play;
    int pipe_destination;
    static constexpr int NO_LEVEL = -1;
    // The last bell the hero rang here: a lost life starts it again at
    // restart_x, restart_y instead of its start, and a ghost never pushes it
    // back beyond restart_x.
    bool checkpoint_lit;
    int restart_x;
    int restart_y;
    // Why the last load stopped before the end of the map file
    // (Map_Reader's words), or null when it read the file whole; cleared by
    // a save that succeeds.
    const char* load_problem;
    // The line of the map file where it stopped.
    int load_problem_line;

    Level();
    ~Level();
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;

    void Reset(bool full_reset);
    void Load(const char* file_name);
    // The same from a map held in memory.
    void Load(std::istream& input);
    void Load_For_Editing(const char* file_name);
    void Load_For_Editing(std::istream& input);
    // Writes the editing form; returns whether the file was written whole.
    bool Save(const char* file_name);
    // The same, with the system's reason when it was not ("Is a
    // directory").
    bool Save(const char* file_name, std::string& reason);
    // The editing form as a map file holds it, one integer a line.
    std::string Map_Text() const;
    // Whether the editing form differs from the one last loaded for editing
    // or saved.
    bool Changed() const;
    // Takes the editing form as it is now for the saved one.
    void Remember_Saved_Form();

    // One tick of play: background, platforms, characters, camera, pipes,
    // lost lives, the ending and the status line.
    void Process(Application& application);
    void Position_For_Main_Character();
    void Scroll_X(int step);
    void Scroll_Y(int step);
    void Scroll_Background(int step);

    // Puts out every bell: the level is entered anew.
    void Clear_Checkpoints();

    // The hero, or null when the map has none.
    Bluejay* Hero();
    // The centre of the hero's picture; false (and the point left alone)
    // when the level has no hero.
    bool Hero_Centre(Application& application, int& centre_x, int& centre_y);

    // Creates the character of a map type code, or null for a code that
    // names no character.
    static Character* Create_Character(int type);
    // The shape file of a character or platform type code (backslash path),
    // or null when it has none.
    static const char* Bump_Map_File(int type);

private:
    // The background, the music, the count and fields of every character
    // record, then of every platform record, and the pointers, as last
    // loaded for editing or saved: what Changed compares with.
    std::vector<int> saved_form;
    static constexpr int FORM_HEADER = 4;
    static constexpr int RECORD_FIELDS = 3;

    void Draw_Background(Application& application);
    void Show_Message(Application& application);
    void Carry_Hero_Through_Pipe(Application& application, Bluejay& hero);
    void Draw_Status_Line(Application& application, Bluejay& hero);
    void Draw_Status_Backing(Application& application);
    // The timer, the assist mark and the flash of the hearts.
    void Draw_Status_Extras(Application& application, Bluejay& hero, int marks_x);
};

// Load the shape of the object at index from a backslash path.
void Load_Bump_Map_For_Character(const char* file_name, Character_Table& characters, int index);
void Load_Bump_Map_For_Platform(const char* file_name, Platform_Table& platforms, int index);

#endif
