#include "application.h"

#include <cstring>
#include <string>
#include <unistd.h>

#include "edit_history.h"
#include "editor_lock.h"
#include "file_guard.h"
#include "editor_mouse.h"
#include "editor_selection.h"
#include "pointer_entry.h"
#include "level.h"
#include "menu_screens.h"
#include "settings.h"
#include "string_list.h"
#include "user_files.h"
#include "translation.h"

volatile bool timing_signal = false;
volatile bool close_requested = false;
volatile std::sig_atomic_t termination_requested = 0;
volatile bool switched_away = false;
Application* application = nullptr;

const char* const Application::BITMAP_FILES[NUMBER_OF_BITMAPS] = {
    "data\\graphics\\backgrounds\\grass.bmp", // GRASS_BACKGROUND_BM
    "data\\graphics\\backgrounds\\cloudy.bmp", // CLOUDY_BACKGROUND_BM
    "data\\graphics\\backgrounds\\forest.bmp", // FOREST_BACKGROUND_BM
    "data\\graphics\\backgrounds\\dark.bmp", // DARK_BACKGROUND_BM
    "data\\graphics\\backgrounds\\underworld.bmp", // UNDERWORLD_BACKGROUND_BM
    "data\\graphics\\backgrounds\\hilly.bmp", // HILLY_BACKGROUND_BM
    "data\\graphics\\backgrounds\\black.bmp", // BLACK_BACKGROUND_BM
    "data\\graphics\\black_bird\\standing.bmp", // BLACK_BIRD_STANDING_BM
    "data\\graphics\\black_bird\\hurt.bmp", // BLACK_BIRD_HURT_BM
    "data\\graphics\\blocks\\brown.bmp", // BROWN_BLOCK_BM
    "data\\graphics\\blocks\\cement.bmp", // CEMENT_BLOCK_BM
    "data\\graphics\\bluejay\\standing.bmp", // BLUEJAY_STANDING_BM
    "data\\graphics\\bluejay\\eating.bmp", // BLUEJAY_EATING_BM
    "data\\graphics\\bluejay\\hurt.bmp", // BLUEJAY_HURT_BM
    "data\\graphics\\bluejay\\wings_in.bmp", // BLUEJAY_WINGS_IN_BM
    "data\\graphics\\bluejay\\wings_out.bmp", // BLUEJAY_WINGS_OUT_BM
    "data\\graphics\\bush\\big.bmp", // BIG_BUSH_BM
    "data\\graphics\\bush\\small.bmp", // SMALL_BUSH_BM
    "data\\graphics\\cherry\\cherry.bmp", // CHERRY_BM
    "data\\graphics\\clam\\mouth_closed.bmp", // CLAM_MOUTH_CLOSED_BM
    "data\\graphics\\clam\\mouth_open.bmp", // CLAM_MOUTH_OPEN_BM
    "data\\graphics\\egg\\egg.bmp", // EGG_BM
    "data\\graphics\\fly\\wings_in.bmp", // FLY_WINGS_IN_BM
    "data\\graphics\\fly\\wings_out.bmp", // FLY_WINGS_OUT_BM
    "data\\graphics\\ground\\ground.bmp", // GROUND_BM
    "data\\graphics\\mosquito\\wings_down.bmp", // MOSQUITO_WINGS_DOWN_BM
    "data\\graphics\\mosquito\\wings_up.bmp", // MOSQUITO_WINGS_UP_BM
    "data\\graphics\\pipe\\pipe.bmp", // PIPE_BM
    "data\\graphics\\misc\\title.bmp", // TITLE_BM
    "data\\graphics\\ground\\limestone.bmp", // LIMESTONE_BM
    "data\\graphics\\ghost\\ghost.bmp", // GHOST_BM
    "data\\graphics\\master_ecto\\master_ecto.bmp", // MASTER_ECTO_BM
    "data\\graphics\\rock\\rock.bmp", // ROCK_BM
    "data\\graphics\\black_bird\\shouting.bmp", // SHOUTING_BLACK_BIRD_BM
    "data\\graphics\\black_bird\\leaping.bmp", // LEAPING_BLACK_BIRD_BM
    "data\\graphics\\ground\\ledge.bmp", // LEDGE_BM
    "data\\graphics\\ground\\walk_through_dirt.bmp", // WALK_THROUGH_DIRT_BM
    "data\\graphics\\goldenjay\\perched.bmp", // GOLDENJAY_PERCHED_BM
    "data\\graphics\\goldenjay\\mouth_open.bmp", // GOLDENJAY_MOUTH_OPEN_BM
    "data\\graphics\\goldenjay\\wings_in.bmp", // GOLDENJAY_WINGS_IN_BM
    "data\\graphics\\goldenjay\\wings_out.bmp", // GOLDENJAY_WINGS_OUT_BM
    "data\\graphics\\swooper\\wings_in.bmp", // SWOOPER_WINGS_IN_BM
    "data\\graphics\\swooper\\wings_out.bmp", // SWOOPER_WINGS_OUT_BM
    "data\\graphics\\bush\\fake.bmp", // FAKE_BUSH_BM
    "data\\graphics\\wire\\wire.bmp", // WIRE_BM
    "data\\graphics\\rock\\local.bmp", // LOCAL_ROCK_BM
    "data\\graphics\\switch\\normal.bmp", // SWITCH_NORMAL_BM
    "data\\graphics\\switch\\pressed.bmp", // SWITCH_PRESSED_BM
    "data\\graphics\\switch\\pipe.bmp", // PIPE_SWITCH_BM
    "data\\graphics\\switch\\reverse_pipe.bmp", // REVERSE_PIPE_SWITCH_BM
    "data\\graphics\\super_mosquito\\wings_down.bmp", // SUPER_MOSQUITO_WINGS_DOWN_BM
    "data\\graphics\\super_mosquito\\wings_up.bmp", // SUPER_MOSQUITO_WINGS_UP_BM
    "data\\graphics\\lemming\\still.bmp", // LEMMING_STILL_BM
    "data\\graphics\\lemming\\walk.bmp", // LEMMING_WALK_BM
    "data\\graphics\\lemming\\still_arms_up.bmp", // LEMMING_STILL_ARMS_UP_BM
    "data\\graphics\\lemming\\walk_arms_up.bmp", // LEMMING_WALK_ARMS_UP_BM
    "data\\graphics\\rock\\throwable.bmp", // THROWABLE_ROCK_BM
    "data\\graphics\\misc\\stop_attack.bmp", // STOP_ATTACK_BM
    "data\\graphics\\fly\\hunting.bmp", // HUNTING_FLY_BM
    "data\\graphics\\tomatoo_plant\\head.bmp", // TOMATOO_PLANT_HEAD_BM
    "data\\graphics\\tomatoo_plant\\stem.bmp", // TOMATOO_PLANT_STEM_BM
    "data\\graphics\\misc\\stopper.bmp", // STOPPER_BM
    "data\\graphics\\misc\\scrolling_background.bmp", // SCROLLING_BACKGROUND_BM
    "data\\graphics\\pipe\\local.bmp", // LOCAL_PIPE_BM
    "data\\graphics\\misc\\message_box.bmp", // MESSAGE_BOX_BM
    "data\\graphics\\misc\\stone_wall.bmp", // STONE_WALL_BM
    "data\\graphics\\blocks\\fake_cement.bmp", // FAKE_CEMENT_BLOCK_BM
    "data\\graphics\\spiked_pole\\point.bmp", // SPIKED_POLE_POINT_BM
    "data\\graphics\\spiked_pole\\pole.bmp", // SPIKED_POLE_POLE_BM
    "data\\graphics\\boiling_mud\\mud.bmp", // BOILING_MUD_BM
    "data\\graphics\\mud_drop\\mud_drop.bmp", // MUD_DROP_BM
    "data\\graphics\\misc\\strength_mark.bmp", // STRENGTH_MARK_BM
    "data\\graphics\\cherry\\one_up.bmp", // YELLOW_CHERRY_BM
    "data\\graphics\\bluejay\\icon.bmp", // BLUEJAY_ICON_BM
    "data\\graphics\\vine\\short.bmp", // SHORT_VINE_BM
    "data\\graphics\\vine\\tall.bmp", // TALL_VINE_BM
    "data\\graphics\\misc\\empty_mark.bmp", // EMPTY_MARK_BM
    "data\\graphics\\switch\\no_ecto.bmp", // NO_ECTO_SWITCH_BM
    "data\\graphics\\checkpoint\\unlit.bmp", // CHECKPOINT_BM
    "data\\graphics\\checkpoint\\lit.bmp", // CHECKPOINT_LIT_BM
};

const char* const Application::MUSIC_TRACK_FILES[NUMBER_OF_MUSIC_TRACKS] = {
    "data\\sounds\\music_tracks\\athletic_theme.mid", // ATHLETIC_THEME_MT
    "data\\sounds\\music_tracks\\here_we_go.mid", // HERE_WE_GO_MT
    "data\\sounds\\music_tracks\\hurry_hurry.mid", // HURRY_HURRY_MT
    "data\\sounds\\music_tracks\\zemblo_3.mid", // ZEMBLO_3_MT
    "data\\sounds\\music_tracks\\underworld.mid", // UNDERWORLD_MT
    "data\\sounds\\music_tracks\\ghost.mid", // GHOST_MT
    "data\\sounds\\music_tracks\\new_zemblo_saga.mid", // NEW_ZEMBLO_SAGA_MT
    "data\\sounds\\music_tracks\\battle.mid", // BATTLE_MT
    "data\\sounds\\music_tracks\\old_zemblo_saga.mid", // OLD_ZEMBLO_SAGA_MT
    "data\\sounds\\music_tracks\\sewers.mid", // SEWERS_MT
    "data\\sounds\\music_tracks\\game_over.mid", // GAME_OVER_MT
    "data\\sounds\\music_tracks\\title_screen.mid", // TITLE_SCREEN_MT
    "data\\sounds\\music_tracks\\victory.mid", // VICTORY_MT
};

const char* const Application::SOUND_EFFECT_FILES[NUMBER_OF_SOUND_EFFECTS] = {
    "data\\sounds\\sound_effects\\bluejay_dies.wav", // BLUEJAY_DIES_SE
    "data\\sounds\\sound_effects\\damaging_stomp.wav", // DAMAGING_STOMP_SE
    "data\\sounds\\sound_effects\\grab_egg.wav", // GRAB_EGG_SE
    "data\\sounds\\sound_effects\\hit.wav", // HIT_SE
    "data\\sounds\\sound_effects\\mosquito.wav", // MOSQUITO_SE
    "data\\sounds\\sound_effects\\useless_stomp.wav", // USELESS_STOMP_SE
    "data\\sounds\\sound_effects\\warp.wav", // WARP_SE
    "data\\sounds\\sound_effects\\bird_chirp.wav", // BIRD_CHIRP_SE
    "data\\sounds\\sound_effects\\pause.wav", // PAUSE_SE
    "data\\sounds\\sound_effects\\growing.wav", // GROWING_SE
    "data\\sounds\\sound_effects\\shrinking.wav", // SHRINKING_SE
    "data\\sounds\\sound_effects\\thud.wav", // THUD_SE
    "data\\sounds\\sound_effects\\checkpoint.wav", // CHECKPOINT_SE
    "data\\sounds\\sound_effects\\flight_refused.wav", // FLIGHT_REFUSED_SE
};

Application::Application()
    : canvas(nullptr), bitmaps(nullptr), ghost_canvas(nullptr), master_ecto_canvas(nullptr),
      music_tracks(nullptr), sound_effects(nullptr), game_over(false), current_level(0),
      signals(0), levels(nullptr), demo_mode(false), messages(nullptr), game_complete(false),
      key_delay(7), editor_mode(SCREEN_MODE), cursor_x(0), cursor_y(0),
      selected_object(NO_OBJECT_SELECTED), signal_buffer(nullptr), movie_mode(MOVIE_STOP_MODE),
      signal_buffer_length(0), signal_buffer_position(0), movie_level(0), missing_resource(),
      sound_effect_plays(), quit(false), title_done(false), paused(false), start_released(false), current_object_type(0),
      music_paused(false), save_failures(NUMBER_OF_LEVELS), quit_warning_ticks(0), quit_released(true),
      level_guard(new File_Guard()), editor_lock(new Editor_Lock()), disk_conflicts(NUMBER_OF_LEVELS),
      discard_warning_ticks(0), discard_confirmed(false),
      edit_history(nullptr), editor_help_shown(false), editor_help_page(0), test_play_level(nullptr),
      editor_notice(), editor_notice_ticks(0), last_character_type(Level::BLACK_BIRD),
      last_platform_type(Level::BROWN_BLOCK), keep_palette(false), editor_commands_held(),
      editor_command_ticks(), editor_mouse(nullptr), editor_selection(nullptr), pointer_entry(nullptr), editor_zoom(1),
      editor_grid_shown(false), recording_buffer(nullptr),
      recording_length(0), recording_level(0),
      recorded_movie(false), replaying(false),
      replay_level(nullptr), replay_levels(nullptr), saved_levels(nullptr), saved_level(0), saved_game_over(false),
      saved_game_complete(false), resume_seed(0), held_signals(0), start_level(0), menus(nullptr),
      back_to_title(false), menu_held_signals(0), menu_key_held(false)
{
    menus = new Menu_Screens();
    edit_history = new Edit_History(NUMBER_OF_LEVELS);
    editor_mouse = new Editor_Mouse();
    editor_selection = new Editor_Selection();
    pointer_entry = new Pointer_Entry();
    for (int i = 0; i < NUMBER_OF_GAME_ACTIONS; i++)
        game_keys[i] = DEFAULT_GAME_KEYS[i];
    for (int i = 0; i < NUMBER_OF_GAMEPAD_ACTIONS; i++)
        gamepad_buttons[i] = DEFAULT_GAMEPAD_BUTTONS[i];
    editing = false;
    search_gamepads = false;
    gamepad_search_ticks = 0;
    full_screen = true;
    window_scale = DEFAULT_WINDOW_SCALE;
    fullscreen_shape = Screen_Area::STRETCH;
    music_volume = MAX_VOLUME;
    effects_volume = MAX_VOLUME;
    muted = false;
    notice[0] = '\0';
    notice_ticks = 0;
    tick_period = Play_Options::FULL_SPEED_TICK_MS;
    tick_timer_running = false;
    for (bool& held : player_keys_held)
        held = false;
    canvas = create_bitmap(CANVAS_WIDTH, CANVAS_HEIGHT);
    notice_canvas = create_bitmap(CANVAS_WIDTH, CANVAS_HEIGHT);
    bitmaps = new BITMAP*[NUMBER_OF_BITMAPS]();
    music_tracks = new MIDI*[NUMBER_OF_MUSIC_TRACKS]();
    sound_effects = new SAMPLE*[NUMBER_OF_SOUND_EFFECTS]();
    levels = new Level*[NUMBER_OF_LEVELS]();
    signal_buffer = new int[MAX_SIGNAL_BUFFER_LENGTH]();
    recording_buffer = new int[MAX_SIGNAL_BUFFER_LENGTH]();
    messages = new String_List*[NUMBER_OF_LEVELS]();
    for (int i = 0; i < NUMBER_OF_LEVELS; i++)
    {
        levels[i] = new Level();
        messages[i] = new String_List();
    }
}

Application::~Application()
{
    // A replay still running gives the game's levels back first.
    if (replaying)
    {
        delete[] levels;
        levels = saved_levels;
    }
    delete replay_level;
    delete menus;
    for (int i = 0; i < NUMBER_OF_BITMAPS; i++)
        if (bitmaps[i] != nullptr)
            destroy_bitmap(bitmaps[i]);
    for (int i = 0; i < NUMBER_OF_MUSIC_TRACKS; i++)
        if (music_tracks[i] != nullptr)
            destroy_midi(music_tracks[i]);
    for (int i = 0; i < NUMBER_OF_SOUND_EFFECTS; i++)
        if (sound_effects[i] != nullptr)
            destroy_sample(sound_effects[i]);
    for (int i = 0; i < NUMBER_OF_LEVELS; i++)
    {
        delete levels[i];
        delete messages[i];
    }
    delete[] bitmaps;
    delete[] music_tracks;
    delete[] sound_effects;
    delete[] levels;
    if (canvas != nullptr)
        destroy_bitmap(canvas);
    if (notice_canvas != nullptr)
        destroy_bitmap(notice_canvas);
    if (ghost_canvas != nullptr)
        destroy_bitmap(ghost_canvas);
    if (master_ecto_canvas != nullptr)
        destroy_bitmap(master_ecto_canvas);
    delete[] signal_buffer;
    delete[] recording_buffer;
    delete[] messages;
    delete edit_history;
    delete level_guard;
    delete editor_lock;
    Editor_Mouse::Remove();
    delete editor_mouse;
    delete editor_selection;
    delete pointer_entry;
    delete test_play_level;
}

namespace
{
bool Has_Data(const std::string& directory)
{
    return access((directory + "/data/graphics").c_str(), F_OK) == 0;
}
} // namespace

// The folder the installation puts the data in, seen from the program's
// folder (the build system gives the installation's own).
#ifndef BLUEJAY_DATA_FROM_PROGRAM
#define BLUEJAY_DATA_FROM_PROGRAM "../share/bluejay"
#endif

namespace
{
// Moves to the directory and decides where the player's files go: beside
// the data when it is the player's own and writable, else the user's data
// folder.
bool Use_Data_Directory(const std::string& directory, bool installed)
{
    if (chdir(directory.c_str()) != 0)
        return false;
    bool writable = access("data/levels", W_OK) == 0 && access("data/movie", W_OK) == 0;
    Set_User_Files_Directory(installed || !writable ? Default_User_Files_Directory() : std::string());
    return true;
}
} // namespace

bool Find_Data_Directory(const char* configured_directory)
{
    if (configured_directory != nullptr && configured_directory[0] != '\0' && Has_Data(configured_directory))
        return Use_Data_Directory(configured_directory, false);
    if (Has_Data("."))
        return Use_Data_Directory(".", false);
    std::string directory = Program_Directory();
    if (directory.empty())
        return false;
    // The build tree, or a copy with the program beside its data.
    std::string up = directory;
    for (int level = 0; level < 3 && !up.empty(); level++)
    {
        if (Has_Data(up))
            return Use_Data_Directory(up, false);
        std::string::size_type slash = up.rfind('/');
        up = slash == std::string::npos || slash == 0 ? std::string() : up.substr(0, slash);
    }
    // An installation: the data where the build installed it, relative to
    // the program (PREFIX/bin with PREFIX/share/bluejay, or PREFIX/games with
    // PREFIX/share/games/bluejay), then the earlier layout with the program
    // in PREFIX/lib/bluejay.
    for (const char* share : {"/" BLUEJAY_DATA_FROM_PROGRAM, "/../share/bluejay", "/../../share/bluejay"})
        if (Has_Data(directory + share))
            return Use_Data_Directory(directory + share, true);
    return false;
}

void Make_Path(char* buffer, const char* path)
{
    std::strncpy(buffer, path, Application::MAX_PATH_LENGTH - 1);
    buffer[Application::MAX_PATH_LENGTH - 1] = '\0';
    fix_filename_slashes(buffer);
}

void Load_Bitmap_File(int index, const char* path, BITMAP** bitmaps)
{
    char file_name[Application::MAX_PATH_LENGTH];
    Make_Path(file_name, path);
    bitmaps[index] = load_bitmap(file_name, nullptr);
}

void Load_Music_Track_File(int index, const char* path, MIDI** music_tracks)
{
    char file_name[Application::MAX_PATH_LENGTH];
    Make_Path(file_name, path);
    music_tracks[index] = load_midi(file_name);
}

void Load_Sound_Effect_File(int index, const char* path, SAMPLE** sound_effects)
{
    char file_name[Application::MAX_PATH_LENGTH];
    Make_Path(file_name, path);
    sound_effects[index] = load_sample(file_name);
}

void Application::Load_Resources()
{
    Show_Status_Screen(Translate("Loading... please wait."));

    // Loading stops at the first file that is missing or unreadable; its
    // name is kept so that start-up can report it. Nothing that failed to
    // load ever reaches the drawing or playing code.
    missing_resource[0] = '\0';
    for (int i = 0; i < NUMBER_OF_BITMAPS; i++)
    {
        Load_Bitmap_File(i, BITMAP_FILES[i], bitmaps);
        if (bitmaps[i] == nullptr)
        {
            Make_Path(missing_resource, BITMAP_FILES[i]);
            return;
        }
    }
    for (int i = 0; i < NUMBER_OF_MUSIC_TRACKS; i++)
    {
        Load_Music_Track_File(i, MUSIC_TRACK_FILES[i], music_tracks);
        if (music_tracks[i] == nullptr)
        {
            Make_Path(missing_resource, MUSIC_TRACK_FILES[i]);
            return;
        }
    }
    for (int i = 0; i < NUMBER_OF_SOUND_EFFECTS; i++)
    {
        Load_Sound_Effect_File(i, SOUND_EFFECT_FILES[i], sound_effects);
        if (sound_effects[i] == nullptr)
        {
            Make_Path(missing_resource, SOUND_EFFECT_FILES[i]);
            return;
        }
    }

    // Scratch pictures for the ghosts' translucent drawing, made once so
    // that no frame allocates.
    ghost_canvas = create_bitmap(bitmaps[GHOST_BM]->w, bitmaps[GHOST_BM]->h);
    master_ecto_canvas = create_bitmap(bitmaps[MASTER_ECTO_BM]->w, bitmaps[MASTER_ECTO_BM]->h);
}

void Application::Stop_Sound_Effects()
{
    for (int i = 0; i < NUMBER_OF_SOUND_EFFECTS; i++)
        if (sound_effects[i] != nullptr)
            stop_sample(sound_effects[i]);
}

void Application::Show_Status_Screen(const char* text)
{
    clear_to_color(canvas, 0);
    textout_ex(canvas, font, text, 1, 1, makecol(255, 255, 255), -1);
    Display_Scene();
}

int Application::Bitmap_Width(int index) const
{
    if (index < 0 || index >= NUMBER_OF_BITMAPS || bitmaps[index] == nullptr)
        return 0;
    return bitmaps[index]->w;
}

int Application::Bitmap_Height(int index) const
{
    if (index < 0 || index >= NUMBER_OF_BITMAPS || bitmaps[index] == nullptr)
        return 0;
    return bitmaps[index]->h;
}

void Application::Draw_Sprite(int index, int x, int y)
{
    if (index >= 0 && index < NUMBER_OF_BITMAPS && bitmaps[index] != nullptr)
        draw_sprite(canvas, bitmaps[index], x, y);
}

void Application::Draw_Sprite_H_Flip(int index, int x, int y)
{
    if (index >= 0 && index < NUMBER_OF_BITMAPS && bitmaps[index] != nullptr)
        draw_sprite_h_flip(canvas, bitmaps[index], x, y);
}

void Application::Play_Sound(int sound_effect)
{
    if (sound_effect < 0 || sound_effect >= NUMBER_OF_SOUND_EFFECTS)
        return;
    sound_effect_plays[sound_effect]++;
    if (sound_effects[sound_effect] != nullptr && digi_driver != nullptr && digi_driver->id != DIGI_NONE)
        play_sample(sound_effects[sound_effect], muted ? 0 : effects_volume, 128, 1000, 0);
}

bool Application::Music_Available()
{
    return midi_driver != nullptr && midi_driver->id != MIDI_NONE;
}

void Application::Play_Music(int music_track, bool loop)
{
    if (music_track < 0 || music_track >= NUMBER_OF_MUSIC_TRACKS || music_tracks[music_track] == nullptr)
        return;
    music_paused = false;
    if (Music_Available())
        play_midi(music_tracks[music_track], loop ? 1 : 0);
}

void Application::Stop_Music()
{
    music_paused = false;
    if (Music_Available())
        stop_midi();
}

void Application::Pause_Music()
{
    music_paused = true;
    if (Music_Available())
        midi_pause();
}

void Application::Resume_Music()
{
    music_paused = false;
    if (Music_Available())
        midi_resume();
}
