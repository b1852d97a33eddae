#ifndef BLUEJAY_APPLICATION_H
#define BLUEJAY_APPLICATION_H

#include <bitset>
#include <csignal>
#include <string>
#include <vector>

#include <allegro.h>

#include <string>

#include "canvas_stretch.h"
#include "level_tally.h"
#include "play_options.h"
#include "progress.h"
#include "screen_area.h"

class Edit_History;
class Editor_Lock;
class File_Guard;
class Editor_Mouse;
class Editor_Selection;
class Pointer_Entry;
class Level;
class Menu_Screens;
class String_List;

// The one object that holds everything the game shares: the off-screen
// canvas every frame is drawn into, every picture, tune and sound, the 120
// levels and their messages, the signal word of the current tick, the demo
// movie and the small state of the game loop and of the editor.
class Application
{
public:
    // Sizes.
    static constexpr int CANVAS_WIDTH = 256;
    static constexpr int CANVAS_HEIGHT = 224;
    static constexpr int NUMBER_OF_BITMAPS = 80;
    static constexpr int NUMBER_OF_MUSIC_TRACKS = 13;
    static constexpr int NUMBER_OF_SOUND_EFFECTS = 14;
    static constexpr int NUMBER_OF_LEVELS = 120;
    static constexpr int NUMBER_OF_SCREENS = 50;
    static constexpr int MAX_SIGNAL_BUFFER_LENGTH = 18000;
    static constexpr int ENDING_MESSAGE = 23;

    // Editor modes and selection.
    static constexpr int SCREEN_MODE = 1;
    static constexpr int CHARACTER_MODE = 2;
    static constexpr int PLATFORM_MODE = 3;
    static constexpr int NO_OBJECT_SELECTED = -1;
    // Room for a line of the editor's notice or help, and how long a
    // notice shows.
    static constexpr int EDITOR_LINE_LENGTH = 96;
    static constexpr int EDITOR_NOTICE_TICKS = 150;
    // How long "Saved level N" shows.
    static constexpr int SAVED_NOTICE_TICKS = 67;
    // Room for the editor's commands in its table.
    static constexpr int EDITOR_COMMAND_ROOM = 128;

    // Movie modes.
    static constexpr int MOVIE_RECORDING_MODE = 1;
    static constexpr int MOVIE_PLAYBACK_MODE = 2;
    static constexpr int MOVIE_STOP_MODE = 3;

    // The signal word: one bit per command, set while its key is held.
    static constexpr int SIGNAL_FLY = 0x1;
    static constexpr int SIGNAL_LEFT = 0x2;
    static constexpr int SIGNAL_RIGHT = 0x4;
    static constexpr int SIGNAL_UP = 0x8;
    static constexpr int SIGNAL_DOWN = 0x10;
    static constexpr int SIGNAL_PAUSE = 0x20;
    static constexpr int SIGNAL_QUIT = 0x40;
    static constexpr int SIGNAL_START = 0x80;
    static constexpr int SIGNAL_CURSOR_LEFT = 0x100;
    static constexpr int SIGNAL_CURSOR_RIGHT = 0x200;
    static constexpr int SIGNAL_CURSOR_UP = 0x400;
    static constexpr int SIGNAL_CURSOR_DOWN = 0x800;
    static constexpr int SIGNAL_SELECT = 0x1000;
    static constexpr int SIGNAL_DELETE = 0x2000;
    static constexpr int SIGNAL_SAVE = 0x4000;
    static constexpr int SIGNAL_LEVEL_UP = 0x8000;
    static constexpr int SIGNAL_LEVEL_DOWN = 0x10000;
    static constexpr int SIGNAL_SCROLL_UP_1 = 0x20000;
    static constexpr int SIGNAL_SCROLL_DOWN_1 = 0x40000;
    static constexpr int SIGNAL_SCROLL_UP_2 = 0x80000;
    static constexpr int SIGNAL_SCROLL_DOWN_2 = 0x100000;
    static constexpr int SIGNAL_SCROLL_UP_3 = 0x200000;
    static constexpr int SIGNAL_SCROLL_DOWN_3 = 0x400000;
    static constexpr int SIGNAL_SCREEN_MODE = 0x800000;
    static constexpr int SIGNAL_CHARACTER_MODE = 0x1000000;
    static constexpr int SIGNAL_PLATFORM_MODE = 0x2000000;
    static constexpr int SIGNAL_MOVIE_RECORD = 0x4000000;
    static constexpr int SIGNAL_MOVIE_PLAY = 0x8000000;
    static constexpr int SIGNAL_MOVIE_STOP = 0x10000000;

    // Pictures.
    static constexpr int GRASS_BACKGROUND_BM = 0;
    static constexpr int CLOUDY_BACKGROUND_BM = 1;
    static constexpr int FOREST_BACKGROUND_BM = 2;
    static constexpr int DARK_BACKGROUND_BM = 3;
    static constexpr int UNDERWORLD_BACKGROUND_BM = 4;
    static constexpr int HILLY_BACKGROUND_BM = 5;
    static constexpr int BLACK_BACKGROUND_BM = 6;
    static constexpr int BLACK_BIRD_STANDING_BM = 7;
    static constexpr int BLACK_BIRD_HURT_BM = 8;
    static constexpr int BROWN_BLOCK_BM = 9;
    static constexpr int CEMENT_BLOCK_BM = 10;
    static constexpr int BLUEJAY_STANDING_BM = 11;
    static constexpr int BLUEJAY_EATING_BM = 12;
    static constexpr int BLUEJAY_HURT_BM = 13;
    static constexpr int BLUEJAY_WINGS_IN_BM = 14;
    static constexpr int BLUEJAY_WINGS_OUT_BM = 15;
    static constexpr int BIG_BUSH_BM = 16;
    static constexpr int SMALL_BUSH_BM = 17;
    static constexpr int CHERRY_BM = 18;
    static constexpr int CLAM_MOUTH_CLOSED_BM = 19;
    static constexpr int CLAM_MOUTH_OPEN_BM = 20;
    static constexpr int EGG_BM = 21;
    static constexpr int FLY_WINGS_IN_BM = 22;
    static constexpr int FLY_WINGS_OUT_BM = 23;
    static constexpr int GROUND_BM = 24;
    static constexpr int MOSQUITO_WINGS_DOWN_BM = 25;
    static constexpr int MOSQUITO_WINGS_UP_BM = 26;
    static constexpr int PIPE_BM = 27;
    static constexpr int TITLE_BM = 28;
    static constexpr int LIMESTONE_BM = 29;
    static constexpr int GHOST_BM = 30;
    static constexpr int MASTER_ECTO_BM = 31;
    static constexpr int ROCK_BM = 32;
    static constexpr int SHOUTING_BLACK_BIRD_BM = 33;
    static constexpr int LEAPING_BLACK_BIRD_BM = 34;
    static constexpr int LEDGE_BM = 35;
    static constexpr int WALK_THROUGH_DIRT_BM = 36;
    static constexpr int GOLDENJAY_PERCHED_BM = 37;
    static constexpr int GOLDENJAY_MOUTH_OPEN_BM = 38;
    static constexpr int GOLDENJAY_WINGS_IN_BM = 39;
    static constexpr int GOLDENJAY_WINGS_OUT_BM = 40;
    static constexpr int SWOOPER_WINGS_IN_BM = 41;
    static constexpr int SWOOPER_WINGS_OUT_BM = 42;
    static constexpr int FAKE_BUSH_BM = 43;
    static constexpr int WIRE_BM = 44;
    static constexpr int LOCAL_ROCK_BM = 45;
    static constexpr int SWITCH_NORMAL_BM = 46;
    static constexpr int SWITCH_PRESSED_BM = 47;
    static constexpr int PIPE_SWITCH_BM = 48;
    static constexpr int REVERSE_PIPE_SWITCH_BM = 49;
    static constexpr int SUPER_MOSQUITO_WINGS_DOWN_BM = 50;
    static constexpr int SUPER_MOSQUITO_WINGS_UP_BM = 51;
    static constexpr int LEMMING_STILL_BM = 52;
    static constexpr int LEMMING_WALK_BM = 53;
    static constexpr int LEMMING_STILL_ARMS_UP_BM = 54;
    static constexpr int LEMMING_WALK_ARMS_UP_BM = 55;
    static constexpr int THROWABLE_ROCK_BM = 56;
    static constexpr int STOP_ATTACK_BM = 57;
    static constexpr int HUNTING_FLY_BM = 58;
    static constexpr int TOMATOO_PLANT_HEAD_BM = 59;
    static constexpr int TOMATOO_PLANT_STEM_BM = 60;
    static constexpr int STOPPER_BM = 61;
    static constexpr int SCROLLING_BACKGROUND_BM = 62;
    static constexpr int LOCAL_PIPE_BM = 63;
    static constexpr int MESSAGE_BOX_BM = 64;
    static constexpr int STONE_WALL_BM = 65;
    static constexpr int FAKE_CEMENT_BLOCK_BM = 66;
    static constexpr int SPIKED_POLE_POINT_BM = 67;
    static constexpr int SPIKED_POLE_POLE_BM = 68;
    static constexpr int BOILING_MUD_BM = 69;
    static constexpr int MUD_DROP_BM = 70;
    static constexpr int STRENGTH_MARK_BM = 71;
    static constexpr int YELLOW_CHERRY_BM = 72;
    static constexpr int BLUEJAY_ICON_BM = 73;
    static constexpr int SHORT_VINE_BM = 74;
    static constexpr int TALL_VINE_BM = 75;
    static constexpr int EMPTY_MARK_BM = 76;
    static constexpr int NO_ECTO_SWITCH_BM = 77;
    static constexpr int CHECKPOINT_BM = 78;
    static constexpr int CHECKPOINT_LIT_BM = 79;

    // Music tracks.
    static constexpr int ATHLETIC_THEME_MT = 0;
    static constexpr int HERE_WE_GO_MT = 1;
    static constexpr int HURRY_HURRY_MT = 2;
    static constexpr int ZEMBLO_3_MT = 3;
    static constexpr int UNDERWORLD_MT = 4;
    static constexpr int GHOST_MT = 5;
    static constexpr int NEW_ZEMBLO_SAGA_MT = 6;
    static constexpr int BATTLE_MT = 7;
    static constexpr int OLD_ZEMBLO_SAGA_MT = 8;
    static constexpr int SEWERS_MT = 9;
    static constexpr int GAME_OVER_MT = 10;
    static constexpr int TITLE_SCREEN_MT = 11;
    static constexpr int VICTORY_MT = 12;

    // Sound effects.
    static constexpr int BLUEJAY_DIES_SE = 0;
    static constexpr int DAMAGING_STOMP_SE = 1;
    static constexpr int GRAB_EGG_SE = 2;
    static constexpr int HIT_SE = 3;
    static constexpr int MOSQUITO_SE = 4;
    static constexpr int USELESS_STOMP_SE = 5;
    static constexpr int WARP_SE = 6;
    static constexpr int BIRD_CHIRP_SE = 7;
    static constexpr int PAUSE_SE = 8;
    static constexpr int GROWING_SE = 9;
    static constexpr int SHRINKING_SE = 10;
    static constexpr int THUD_SE = 11;
    static constexpr int CHECKPOINT_SE = 12;
    static constexpr int FLIGHT_REFUSED_SE = 13;

    // Longest file path, with its terminator: the longest the system takes.
    // A longer one is refused, never cut.
    static constexpr int MAX_PATH_LENGTH = 4096;

    // The files behind the tables, in index order.
    static const char* const BITMAP_FILES[NUMBER_OF_BITMAPS];
    static const char* const MUSIC_TRACK_FILES[NUMBER_OF_MUSIC_TRACKS];
    static const char* const SOUND_EFFECT_FILES[NUMBER_OF_SOUND_EFFECTS];

    BITMAP* canvas;
    BITMAP** bitmaps;
    BITMAP* ghost_canvas;
    BITMAP* master_ecto_canvas;
    MIDI** music_tracks;
    SAMPLE** sound_effects;
    bool game_over;
    int current_level;
    int signals;
    Level** levels;
    bool demo_mode;
    String_List** messages;
    bool game_complete;
    unsigned int key_delay;
    int editor_mode;
    int cursor_x;
    int cursor_y;
    int selected_object;
    int* signal_buffer;
    int movie_mode;
    int signal_buffer_length;
    int signal_buffer_position;
    int movie_level;
    // The first resource file that could not be loaded, or empty when all
    // of them loaded. Start-up stops with this name.
    char missing_resource[MAX_PATH_LENGTH];
    // How often each sound effect has been asked for; the headless runner
    // and the tests read it, since nothing can be heard there.
    int sound_effect_plays[NUMBER_OF_SOUND_EFFECTS];

    // The state of the game loop, kept here so that one tick can be run at
    // a time by the tools and the tests.
    bool quit;
    bool title_done;
    bool paused;
    // Enter was up in the last play tick: a message closes only on a fresh
    // press, so the press that left the title does not close the first one.
    bool start_released;
    // The editor's palette choice: the type code K places where nothing
    // lies under the cursor.
    int current_object_type;
    // The tune is held by Pause_Music and not yet resumed.
    bool music_paused;
    // The editor's saves: why the last save of each level failed (the
    // system's words), empty while it has none that failed.
    std::vector<std::string> save_failures;
    // Ticks left of the warning that a quit found levels it could not save;
    // Q pressed anew while it lasts quits without saving.
    unsigned int quit_warning_ticks;
    // Q has been seen up since the warning came.
    bool quit_released;
    // What the editor read of each level's file, the levels whose file
    // changed on disk under an unsaved edit (S again overwrites), and the
    // lock that tells a second editor.
    File_Guard* level_guard;
    Editor_Lock* editor_lock;
    std::vector<bool> disk_conflicts;
    // Ticks left of the Ctrl+Q warning; Ctrl+Q again while it lasts quits
    // without saving, which discard_confirmed then says.
    unsigned int discard_warning_ticks;
    bool discard_confirmed;

    // The editor's own tools beyond the keys of the signal word: the undo
    // history of every level, the help over the canvas, a level being
    // tried, a line telling what happened, the mouse.
    Edit_History* edit_history;
    bool editor_help_shown;
    int editor_help_page;
    // A play copy of the level being edited while it is tried, else null.
    Level* test_play_level;
    char editor_notice[EDITOR_LINE_LENGTH];
    int editor_notice_ticks;
    // The last type chosen in character and platform mode, and whether a
    // mode switch goes back to it (a setting) instead of the first type.
    int last_character_type;
    int last_platform_type;
    bool keep_palette;
    // Which of the editor's commands were held in the last tick, one bit
    // each in table order, for those that act once per press.
    std::bitset<EDITOR_COMMAND_ROOM> editor_commands_held;
    // How long each of them has been held, in ticks, for those that repeat
    // only after a clear hold.
    int editor_command_ticks[EDITOR_COMMAND_ROOM];
    // The editor's mouse, the objects picked out and the clipboard, the
    // palette as a grid of pictures, the whole level at a glance, and the
    // level's message in a text box.
    Editor_Mouse* editor_mouse;
    Editor_Selection* editor_selection;
    Pointer_Entry* pointer_entry;
    // The editing view shrunk to 1/2 or 1/4 (1: life size), and whether the
    // cell grid and the screen borders are drawn.
    int editor_zoom;
    bool editor_grid_shown;

    // The player's own runs. A recording (key 4 in play) collects the signal
    // words of the ticks its level runs; when it ends (key 6, a full buffer,
    // the hero leaving the level, the end of the game) it becomes the movie.
    // A replay and its recording start alike: the random numbers seeded from
    // the level's number and the level as its file has it.
    static constexpr unsigned int MOVIE_SEED_BASE = 7919;
    // The title's line that offers the remembered level, and the best score.
    static constexpr int TITLE_CONTINUE_Y = 184;
    static constexpr int TITLE_BEST_SCORE_Y = 200;
    static constexpr int TITLE_ASSISTED_BEST_Y = 212;
    // The two lines that tell a replay from the title.
    static constexpr int REPLAY_LINE_Y = 188;
    int* recording_buffer;
    int recording_length;
    int recording_level;
    // The hero's lives, eggs and points when the recording began. Those of
    // the movie's run are kept with it in progress: a replay of a recorded
    // run gives them to its hero.
    Run_Start recording_start;
    // The movie is a run the player recorded in play (not the shipped demo):
    // its replays start each time on the level as its file has it and follow
    // the rules of play, so that they repeat the run exactly.
    bool recorded_movie;
    // Key 5 in play: the movie runs in place of the game until Enter, on a
    // level of its own, the game waiting where it was.
    bool replaying;
    Level* replay_level;
    Level** replay_levels;
    Level** saved_levels;
    int saved_level;
    bool saved_game_over;
    bool saved_game_complete;
    // Where the random numbers of play go on after a replay has reseeded
    // them.
    unsigned int resume_seed;
    // The keys of the last tick, so that 4, 5, 6 and Enter in a replay act
    // once per press.
    int held_signals;
    // The level the next game starts on: 0, or the remembered level after C
    // on the title.
    int start_level;
    // What the game remembers between runs, and the file it lives in (empty:
    // nothing is remembered, as in the tests and the headless runner).
    Progress progress;
    std::string progress_path;
    // The settings file the menus and F7, F8, F9 write the player's choices
    // to (empty: nothing is written).
    std::string settings_path;
    // The title menu, the pause menu and the screens they lead to.
    Menu_Screens* menus;
    // Quit to title: the play loop ends and the title comes back.
    bool back_to_title;
    // The keys of the signal word held when a menu closed: they reach the
    // game only once let go.
    int menu_held_signals;
    // The key that opens the pause menu was down in the last play tick.
    bool menu_key_held;
    // F7, F8 or F9 changed the sound since the settings file last heard.
    bool sound_settings_pending = false;
    // Writes the music volume and the mute to the settings file, when they
    // changed (once the notice is gone, and on the way out).
    void Remember_Sound_Settings();

    // Editor limits and key repeat.
    static constexpr int EDITOR_STEP = 16;
    static constexpr int MAX_SCROLL_X = (NUMBER_OF_SCREENS - 1) * CANVAS_WIDTH;
    static constexpr int MIN_SCROLL_Y = -(CANVAS_HEIGHT * 50 - 2 * CANVAS_HEIGHT);
    static constexpr int MAX_CURSOR_X = CANVAS_WIDTH - EDITOR_STEP;
    static constexpr int MAX_CURSOR_Y = CANVAS_HEIGHT - EDITOR_STEP;
    static constexpr unsigned int SCROLL_REPEAT_TICKS = 5;
    static constexpr unsigned int COMMAND_REPEAT_TICKS = 7;
    static constexpr int LAST_EDITOR_MUSIC = 9;
    // The editing view shrinks to at most a quarter.
    static constexpr int MAX_EDITOR_ZOOM = 4;
    // The left edge of the editor's status lines, and the lines the help
    // has room for.
    static constexpr int STATUS_X = 80;
    static constexpr int STATUS_LINES = 8;
    static constexpr int HELP_LINES = 64;
    // Lines of help on one page; F1 turns the page, and closes after the
    // last.
    static constexpr int HELP_PAGE_LINES = 23;
    // Shift with Page Up or Down moves this many levels.
    static constexpr int LEVEL_JUMP = 10;
    // How long the editor waits for the second Q after a quit that could
    // not save: 100 ticks, three seconds.
    static constexpr unsigned int QUIT_WARNING_TICKS = 100;
    // The most lines of notices the editor shows at once.
    static constexpr int MAX_NOTICE_LINES = 12;
    // The end of the name of the copy a damaged map file is kept as.
    static const char* const BACKUP_SUFFIX;
    // The end of the name an author's unsaved edits are kept under when the
    // level is read again from a file changed on disk.
    static const char* const MINE_SUFFIX;
    // The longest map file the editor reads again.
    static constexpr std::size_t MAX_MAP_BYTES = 256u << 20;

    // The game's actions a player can put on other keys, in the order of
    // these tables: their names in the settings, the keys they start on and
    // the bits they set. The editor's keys are never moved.
    static constexpr int NUMBER_OF_GAME_ACTIONS = 9;
    static const char* const GAME_ACTION_NAMES[NUMBER_OF_GAME_ACTIONS];
    static const int DEFAULT_GAME_KEYS[NUMBER_OF_GAME_ACTIONS];
    static const int GAME_ACTION_SIGNALS[NUMBER_OF_GAME_ACTIONS];
    // The first gamepad's buttons: jump, fly, Enter and P.
    static constexpr int NUMBER_OF_GAMEPAD_ACTIONS = 4;
    static constexpr int MAX_GAMEPAD_BUTTON = MAX_JOYSTICK_BUTTONS - 1;
    static const char* const GAMEPAD_ACTION_NAMES[NUMBER_OF_GAMEPAD_ACTIONS];
    static const int DEFAULT_GAMEPAD_BUTTONS[NUMBER_OF_GAMEPAD_ACTIONS];
    static const int GAMEPAD_ACTION_SIGNALS[NUMBER_OF_GAMEPAD_ACTIONS];
    // Ticks between looks for a gamepad while none is plugged in.
    static constexpr int GAMEPAD_SEARCH_TICKS = 100;

    // The screen: the window F11 switches to, and the volume steps.
    static constexpr int DEFAULT_WINDOW_SCALE = 2;
    static constexpr int MAX_VOLUME = 255;
    static constexpr int VOLUME_STEP = 32;
    // The library's MIDI volume that the full music volume stands for.
    static constexpr int FULL_MIDI_VOLUME = 128;
    // How long a notice (volume, screenshot) stays on the picture.
    static constexpr int NOTICE_TICKS = 60;
    static constexpr int MAX_NOTICE_LENGTH = 80;
    static constexpr int SCREENSHOT_SCALE = 2;

    // The keys in use: game_keys[action] is the key code of each action
    // while playing; the editor reads its own keys.
    int game_keys[NUMBER_OF_GAME_ACTIONS];
    int gamepad_buttons[NUMBER_OF_GAMEPAD_ACTIONS];
    bool editing;
    // Whether to look for a gamepad now and then (the real game; the tests
    // set the library's joystick state themselves).
    bool search_gamepads;
    int gamepad_search_ticks;

    // The screen: full screen or a window of window_scale times the canvas,
    // and the shape of the canvas on a full screen (Screen_Area).
    bool full_screen;
    int window_scale;
    int fullscreen_shape;
    // The assist and display options the player chose (all off unless asked).
    Play_Options play_options;
    // The period the timer was last asked for (ms), and whether there is a
    // timer to ask (main installs it; the tests run ticks by hand).
    int tick_period;
    bool tick_timer_running;
    // The assists a recording in progress was started with.
    Play_Options recording_assists;
    // The clocks of the level and the game, and the tally between levels.
    Level_Tally tally;

    // Sound: the music and effects volumes (0 to 255) and F9's mute.
    int music_volume;
    int effects_volume;
    bool muted;

    // A short line over the picture, shown for notice_ticks more ticks;
    // drawn on a copy of the canvas, so the canvas itself never holds it.
    char notice[MAX_NOTICE_LENGTH];
    int notice_ticks;
    BITMAP* notice_canvas;
    // Shows the canvas over the screen area.
    Canvas_Stretch canvas_stretch;
    // F7 to F12 and Enter as they were in the last tick: each acts once a
    // press.
    bool player_keys_held[KEY_MAX] = {};

    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    void Load_Resources();

    // The game: title over the demo, then play until Q.
    void Run_Game();
    void Rebuild_Levels();
    void Load_Movie(const char* path);
    // Writes the movie; returns whether the file was written whole.
    bool Save_Movie(const char* path);
    // The same, with the system's reason when it was not.
    bool Save_Movie(const char* path, std::string& reason);
    // Room for one word of the movie file with its sign and line end.
    static constexpr int MOVIE_NUMBER_TEXT = 16;

    // The stages of the game loop, one tick at a time.
    void Load_Game_Data();
    // Reads every level's message again, in the language now chosen.
    void Load_Messages();
    void Start_Title();
    void Run_Title_Tick();
    void Leave_Title();
    // A new game from every level's file, on the first level or (entered as
    // through a pipe) on another one.
    void Begin_Game(int level);
    void Run_Play_Tick();
    // The key that opens the pause menu: Esc, or F10 when the player has put
    // an action on Esc.
    int Pause_Menu_Key() const;
    // A tick of play while the pause menu (or a screen it leads to) is open:
    // the game stands still and no key reaches it or a recording.
    void Run_Pause_Menu_Tick();
    void Close_Pause_Menu();
    // After Quit to title: the levels as their files have them, for the
    // demo.
    void Return_To_Title();
    // A line of text centred on a dark band across the canvas.
    void Draw_Banner(const char* text, int y);
    // The level starts over as after a lost life, without losing one.
    void Restart_Level();
    // The part of a play tick that acts on the level: pause, messages,
    // "Game Over" and the level's own tick, with the movie keys pressed in
    // this tick in the game (not when a level is tried from the editor).
    // False when a replay took over the tick.
    bool Play_Level_Tick(Level& level, int pressed, bool game);
    void Leave_Game();
    // The level the demo plays on: the movie's level, or the first level
    // when the movie names none that exists.
    int Movie_Level_Index() const;

    // The player's runs (application_replay.cpp).
    // The rules of the demo (cherries at any strength, levels reset whole)
    // hold while the title replays the shipped demo; a recorded run is
    // replayed by the rules of play.
    bool Demo_Rules() const;
    // The assists this tick is played with: none in the shipped demo, those
    // a recorded movie was made with while it replays, else the player's.
    const Play_Options& Assists() const;
    // Asks the timer for the period the game speed gives.
    void Apply_Tick_Period();
    // The first line of a level's message, its name ("The hill"), into
    // buffer; empty when it has none.
    void Level_Name(int level, char* buffer, int size) const;
    // The counting and showing part of a played tick: the clocks, the lives
    // lost, the tally when the hero left level_before, the bests kept.
    void Count_Play_Tick(Level& played, int level_before, bool was_dead, int pressed);
    // A new game: the clocks start at nought and the level's name shows.
    void Start_Game_Clock();
    // Where the whole game's tally goes under the ending text.
    static constexpr int ENDING_SUMMARY_Y = 168;
    static unsigned int Movie_Seed(int level);
    // Seeds the random numbers for a run on the level and brings the level
    // back as its file has it (in the replay's own table during a replay).
    void Begin_Movie_Level(int number);
    // A replay of the movie starts (or starts over) on its level: a recorded
    // run as it began, the hero's status included; the demo on the level
    // as its file has it.
    void Begin_Replay_Level(int number);
    // Key 4: the current level starts over as after a lost life, without
    // losing one, and every tick it runs from now on is recorded.
    void Start_Recording();
    // Stores the word of a tick the level ran; ends the recording when the
    // buffer is full, the hero has left the level or the game has ended.
    void Record_Tick(int level_before);
    // Key 6 (and a recording's end): a recording of at least one tick
    // becomes the movie.
    void Stop_Recording();
    // Key 5: the movie plays at once as on the title, until Enter.
    void Start_Replay();
    void Run_Replay_Tick();
    void Stop_Replay();
    // One tick of the movie on its level: the next word, or the level made
    // ready to start over when the movie has ended; then the level runs.
    void Replay_Movie_Tick(int level_number);
    // What a game leaves behind: the furthest level reached through a pipe
    // and the best score, written to the progress file when they grow.
    void Note_Level_Reached(int level_before);
    // The level C on the title starts on: the furthest level reached, when
    // it is one the hero can play; 0 when there is none.
    int Continue_Level();
    void Note_Game_End();
    void Load_Progress();
    void Save_Progress();
    // The remembered level and the best score over the title's picture.
    void Draw_Title_Lines();

    // The level editor, and its stages one tick at a time.
    void Run_Editor();
    void Start_Editor();
    void Run_Editor_Tick();
    // Saves every changed level and ends the editor; when a level could not
    // be saved it warns instead, and false is returned (the editor goes on),
    // unless the warning was already up.
    bool Leave_Editor();
    // Whether this tick's signals ask the editor to quit: Q held, unless it
    // is the same press that brought up the not-saved warning.
    bool Editor_Quit_Requested();
    // Selects the record of the current mode's list lying exactly at the
    // cursor, if any.
    void Select_Object();
    // The picture that shows an object type in the editor; a placeholder for
    // a code that names no object.
    static int Get_Object_Bitmap(int type);
    // The name of an object type as the level files' codes are named
    // ("PIPE_SWITCH").
    static const char* Object_Type_Name(int type);
    // One line of what an object type does, translated.
    static const char* Object_Type_Description(int type);
    // The first and last type code of a mode's palette.
    static int First_Object_Type(int mode);
    static int Last_Object_Type(int mode);
    // Writes the level being edited to its map file if it changed.
    bool Save_Current_Level(bool overwrite_changed = false);
    // Writes a level to its map file if it changed since it was loaded or
    // last written; a map that was not read whole is first kept as
    // level_N.map.bak. A failure is kept in save_failures; true when the
    // file holds the level.
    // A file changed on disk since it was read is not written over unless
    // overwrite_changed comes after the warning about it.
    bool Save_Level(int level, bool overwrite_changed = false);
    // Reads a level again from its file (keeping unsaved edits as
    // level_N.map.mine when keep_mine); one step of the undo history.
    bool Reload_Level(int level, bool keep_mine);
    // Coming to a level: one whose file changed on disk and that has no
    // unsaved edits is read again, and the editor says so.
    void Look_At_Level_On_Disk(int level);
    // Ctrl+Q: quits without saving once a second press confirms it.
    void Quit_Without_Saving();
    // The editor's watch over the files: what each level's file holds now,
    // and the lock beside the levels.
    void Guard_Level_Files();
    // Saves every changed level; true when all of them are on the disk.
    bool Save_Changed_Levels();
    // The lines that tell the author about files: levels not saved and why,
    // the not-saved warning, and where the current level's map could not be
    // read.
    void Draw_Editor_Notices();
    // Draws the level being edited, the grid or the cursor, and the status
    // lines into the canvas.
    void Draw_Editor();
    // The editor's commands of one tick, from the command table; false when
    // the editor is to quit. While the help is shown or a level is tried
    // only the commands that act there do.
    bool Run_Editor_Commands();
    bool Run_Editor_Commands(int allowed);
    // K where nothing is carried: picks up what lies under the cursor or
    // places a new object of the chosen type there.
    void Pick_Up_Or_Place();
    // The mouse's part of an editor tick: the cursor follows it, a left
    // click acts as K, the wheel scrolls.
    void Run_Editor_Mouse();
    // The editor's tools that take the keys while they are open (the typed
    // pipe pointer); true when one took this tick.
    bool Run_Editor_Tool();
    // The middle click: a type taken from the level into the palette.
    void Take_Type_Into_Palette(int type);
    // Shrinks the editing view to 1/2 or 1/4, or back to life size.
    void Set_Editor_Zoom(int zoom);
    // Scrolls the view, when needed, so that a level point is on the canvas.
    void Show_Editor_Point(long long x, long long y);
    // Whether an edit is under way whose changes become one undo step when
    // it ends (a drag, pasted objects hanging on the pointer, a held Z or X).
    bool Editor_Edit_Under_Way() const;
    // The lines of the help for the current mode, drawn from the command
    // table.
    void Editor_Help_Lines(char lines[][EDITOR_LINE_LENGTH], int& count, int room) const;
    void Draw_Editor_Help();
    void Draw_Editor_Status();
    // The status line of screen mode on the pipe of the screen under the
    // cursor: the level it leads to, by its name, or the digits being typed.
    std::string Pointer_Line();
    // Splits text into lines no wider than width pixels of the font, at
    // spaces.
    static std::vector<std::string> Wrap(const std::string& text, int width);
    // Shows a line of text on the editor's canvas for a while.
    void Set_Editor_Notice(const char* format, ...);
    // Trying the level being edited: a play copy of its records, played
    // on the screen until Esc or T, all lives lost or a pipe to another
    // level; the records stay as they were and nothing is written.
    // From the cursor, the hero starts where the cursor is.
    void Start_Test_Play(bool from_cursor = false);
    void Run_Test_Play_Tick();
    void End_Test_Play(const char* reason);
    // Warns when the level just saved has no hero, more than one, or a pipe
    // to a level without a hero.
    void Check_Saved_Level();
    // How many hero records a level holds.
    static int Count_Heroes(const Level& level);

    // Waits for the timer's next period, asleep until the period comes (no
    // polling); periods missed during a long tick merge into one. While the
    // player is switched away from the game it holds here first.
    static void Wait_For_Tick();
    // Called by the timer at every period: sets timing_signal and wakes the
    // wait.
    static void Tick_Has_Come();
    // Holds the game, music and all, while switched_away is set (and the
    // window is not being closed), then shows the picture again.
    void Hold_While_Switched_Away();
    // Holds down exactly the keys that make a signal word.
    static void Press_Keys_For_Signals(int signal_word);
    void Stop_Sound_Effects();
    void Display_Scene();
    void Generate_Signals();
    // The bits the first gamepad sets: stick and d-pad as the arrows, the
    // buttons as the settings put them. 0 without a pad.
    int Gamepad_Signals() const;
    // Looks for a gamepad when none is plugged in.
    void Find_Gamepad();

    // Where the canvas lands on the screen now, in screen pixels (the mouse
    // is mapped to the canvas through it).
    Screen_Area Canvas_Area() const;
    // The keys of the game and the editor alike that stand outside the
    // signal word, read once a tick from the key states: F7 and F8 lower
    // and raise the music, F9 mutes and unmutes everything, F11 and
    // Alt+Enter switch between full screen and a window, F12 takes a
    // screenshot.
    void Handle_Player_Keys();
    // Full screen to window and back, keeping the game, its music and the
    // canvas. False (and the screen as it was) when the other mode cannot
    // be set.
    bool Toggle_Full_Screen();
    // Full screen, or a window of a scale; false (and the screen as it was)
    // when it cannot be set. Without a screen only the choice is kept.
    bool Set_Screen(bool full, int scale);
    // Clears the whole screen (the bars beside the canvas) and shows the
    // canvas again.
    void Redraw_Screen();
    // Sets the music and effects volumes, each clamped to 0 to 255, and
    // hands them to the library.
    void Set_Volumes(int music, int effects);
    void Apply_Volumes();
    // Shows a line over the picture for a while.
    void Show_Notice(const char* text);
    // Writes the canvas at twice its size as a PNG into the folder, named by
    // the date and time; the file's path, or empty when it could not be
    // written.
    std::string Save_Screenshot(const std::string& folder);

    // Width and height of a picture of the table; 0 for an index outside it.
    int Bitmap_Width(int index) const;
    int Bitmap_Height(int index) const;
    // Masked drawing of a picture of the table into the canvas; an index
    // outside the table draws nothing.
    void Draw_Sprite(int index, int x, int y);
    void Draw_Sprite_H_Flip(int index, int x, int y);

    // Plays a sound effect the one way the game plays them all: full volume,
    // centred, normal speed, once. Missing samples and a missing sound driver
    // are skipped.
    void Play_Sound(int sound_effect);
    // Music is skipped when no MIDI driver is installed (the player would
    // need the timer, which a headless run does not have).
    static bool Music_Available();
    void Play_Music(int music_track, bool loop);
    void Stop_Music();
    void Pause_Music();
    void Resume_Music();
    // Clears the canvas, writes one white line at its top-left and shows it.
    void Show_Status_Screen(const char* text);
};

// Each copies the path, converts its slashes for this platform and stores
// what the library loaded at the index.
void Load_Bitmap_File(int index, const char* path, BITMAP** bitmaps);
void Load_Music_Track_File(int index, const char* path, MIDI** music_tracks);
void Load_Sound_Effect_File(int index, const char* path, SAMPLE** sound_effects);

// Makes the directory that holds data/ the working directory: the one the
// settings name, the current one, the program's own directory or one of the
// two above it (the build tree sits inside the project), or share/bluejay of
// the installation the program belongs to. When the data is installed or
// not writable, the player's files go to the user's data folder (see
// user_files.h). False when no directory holds the data.
bool Find_Data_Directory(const char* configured_directory = nullptr);

// The game's own files.
extern const char* const MOVIE_FILE;
// Fills buffer (Application::MAX_PATH_LENGTH) with the path of a level's map
// or message file, to read: the player's copy of a map when there is one.
void Make_Level_Path(char* buffer, int level);
// A new level loaded for play from its map file (the player's copy when
// there is one).
Level* Load_Level_File(int level);
// The path a level's map is saved to; false when its folder cannot be made,
// with the system's reason.
bool Make_Level_Save_Path(char* buffer, int level);
bool Make_Level_Save_Path(char* buffer, int level, std::string& reason);
void Make_Message_Path(char* buffer, int level);

// Copies a backslash path into buffer (of Application::MAX_PATH_LENGTH
// characters, cut if longer) with the separators of this platform.
void Make_Path(char* buffer, const char* path);

// Sets the graphics mode: full screen at the desktop's size (else a window
// that size), or a window of scale times the canvas. False when no mode
// could be set.
bool Set_Screen_Mode(bool full_screen, int window_scale);
// Names the window and registers main's callbacks for the switch back to the
// game, the switch away and the close button; registered again after each
// change between full screen and window.
void Register_Window_Callbacks(void (*switch_in)(), void (*switch_out)(), void (*close_button)());
// The folder screenshots go to: $XDG_PICTURES_DIR, else ~/Pictures/bluejay.
std::string Screenshot_Folder();

// Set by the timer callback every 30 ms; the loops take it and run a tick.
extern volatile bool timing_signal;
// Set when the window's close button is pressed: every loop reads it as Q.
extern volatile bool close_requested;
// Set when the program is asked to end (SIGTERM, SIGINT, SIGHUP): every loop
// reads it as Q.
extern volatile std::sig_atomic_t termination_requested;
// Set while the player has switched to another window, cleared on return.
extern volatile bool switched_away;
extern Application* application;

#endif
