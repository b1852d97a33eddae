// The game loop: the title over the replayed demo, then play, pause,
// messages, "Game Over" and the frozen ending, until the player quits.

#include <cstdio>
#include <cstdlib>

#include "application.h"
#include "level.h"
#include "string_list.h"
#include "user_files.h"

void Make_Level_Path(char* buffer, int level)
{
    char path[Application::MAX_PATH_LENGTH];
    std::snprintf(path, sizeof(path), "data\\levels\\level_%i.map", level);
    Make_Read_Path(buffer, path);
}

bool Make_Level_Save_Path(char* buffer, int level)
{
    std::string reason;
    return Make_Level_Save_Path(buffer, level, reason);
}

bool Make_Level_Save_Path(char* buffer, int level, std::string& reason)
{
    char path[Application::MAX_PATH_LENGTH];
    std::snprintf(path, sizeof(path), "data\\levels\\level_%i.map", level);
    return Make_Write_Path(buffer, path, reason);
}

void Make_Message_Path(char* buffer, int level)
{
    char path[Application::MAX_PATH_LENGTH];
    std::snprintf(path, sizeof(path), "data\\messages\\message_%i.txt", level);
    Make_Path(buffer, path);
}

void Application::Wait_For_Tick()
{
    if (switched_away && application != nullptr)
        application->Hold_While_Switched_Away();
#ifdef BLUEJAY_SPIN_WAIT
    // A build for measurements only: the wait polls without ever giving
    // the processor away, to compare the resting wait against.
    while (!timing_signal)
    {
    }
#else
    while (!timing_signal)
        rest(1);
#endif
    timing_signal = false;
}

void Application::Hold_While_Switched_Away()
{
    // The library keeps a game in a window running behind other windows;
    // ours waits where the player left it, its tune held too, until the
    // player comes back or closes the window.
    bool hold_music = !music_paused;
    if (hold_music)
        Pause_Music();
    while (switched_away && !close_requested)
        rest(10);
    if (hold_music)
        Resume_Music();
    timing_signal = false;
    Display_Scene();
}

void Application::Load_Game_Data()
{
    char path[MAX_PATH_LENGTH];
    for (int i = 0; i < NUMBER_OF_LEVELS; i++)
    {
        Make_Level_Path(path, i);
        levels[i]->Load(path);
        Make_Message_Path(path, i);
        messages[i]->Load_From_File(path);
    }
    Make_Read_Path(path, MOVIE_FILE);
    Load_Movie(path);
}

void Application::Start_Title()
{
    quit = false;
    title_done = false;
    paused = false;
    movie_mode = MOVIE_PLAYBACK_MODE;
    demo_mode = true;
    current_level = Movie_Level_Index();
    Find_Gamepad();
    Play_Music(TITLE_SCREEN_MT, true);
}

void Application::Run_Title_Tick()
{
    Generate_Signals();
    if (signals & SIGNAL_START)
    {
        title_done = true;
        movie_mode = MOVIE_STOP_MODE;
        return;
    }
    if (signals & SIGNAL_QUIT)
    {
        title_done = true;
        movie_mode = MOVIE_STOP_MODE;
        quit = true;
        return;
    }

    int demo_level = Movie_Level_Index();
    if (movie_mode == MOVIE_PLAYBACK_MODE)
    {
        if (signal_buffer_position < signal_buffer_length)
        {
            signals = signal_buffer[signal_buffer_position];
            signal_buffer_position++;
        }
        else
        {
            // The movie has ended: it starts over on a fresh level.
            levels[demo_level]->Reset(demo_mode);
            signal_buffer_position = 0;
        }
    }
    levels[demo_level]->Process(*this);
    // The demo stays on its own level even when its hero goes down a pipe.
    current_level = demo_level;
    Draw_Sprite(TITLE_BM, 0, 0);
    Display_Scene();
}

void Application::Leave_Title()
{
    demo_mode = false;
    Stop_Music();
    Show_Status_Screen("Loading... please wait.");
    Rebuild_Levels();
    // Every game starts on the first level with nothing left over from the
    // demo.
    current_level = 0;
    game_over = false;
    game_complete = false;
    paused = false;
    start_released = false;
}

void Application::Run_Play_Tick()
{
    key_delay++;
    Generate_Signals();
    if (signals & SIGNAL_QUIT)
    {
        quit = true;
        return;
    }

    if (!game_complete)
        Play_Level_Tick(*levels[current_level]);
    Display_Scene();
}

void Application::Play_Level_Tick(Level& level)
{
    // While the game is being won the player has no control.
    if (level.signal == Level::SIGNAL_DESTROY_ECTO)
        signals &= SIGNAL_QUIT;

    if ((signals & SIGNAL_PAUSE) && key_delay > 6 && !level.showing_message && !game_over)
    {
        key_delay = 0;
        if (!paused)
        {
            paused = true;
            Pause_Music();
            Stop_Sound_Effects();
            Play_Sound(PAUSE_SE);
        }
        else
        {
            paused = false;
            Play_Sound(PAUSE_SE);
            Resume_Music();
        }
    }

    // Enter closes a message, and the level runs again in this tick.
    if (level.showing_message && (signals & SIGNAL_START) && start_released)
        level.showing_message = false;
    start_released = (signals & SIGNAL_START) == 0;

    if (game_over)
    {
        textout_centre_ex(canvas, font, "Game Over", CANVAS_WIDTH / 2, CANVAS_HEIGHT / 2, makecol(255, 0, 0), -1);
        if (signals & SIGNAL_START)
        {
            // A new game: every level fresh from its file (the level played
            // so far is gone with them).
            game_over = false;
            paused = false;
            Stop_Music();
            Show_Status_Screen("Loading... please wait.");
            Rebuild_Levels();
            current_level = 0;
        }
    }
    else if (!paused && !level.showing_message)
    {
        level.Process(*this);
    }
}

void Application::Leave_Game()
{
    // A movie that cannot be written is said on the console; the game
    // still ends as usual.
    char path[MAX_PATH_LENGTH];
    std::string reason;
    if (!Make_Write_Path(path, MOVIE_FILE, reason) || !Save_Movie(path, reason))
        std::fprintf(stderr, "The movie was not saved to %s: %s\n", path, reason.c_str());
    Stop_Music();
    Show_Status_Screen("Exiting... please wait.");
}

void Application::Run_Game()
{
    Load_Game_Data();
    Start_Title();
    // With BLUEJAY_FIRST_FRAME_EXIT set the game says when its first title
    // frame is on the screen and stops there, saving nothing: the benchmark
    // times the start-up so.
    bool first_frame_exit = std::getenv("BLUEJAY_FIRST_FRAME_EXIT") != nullptr;
    while (!title_done)
    {
        Wait_For_Tick();
        Handle_Player_Keys();
        Run_Title_Tick();
        if (first_frame_exit)
        {
            std::printf("first title frame\n");
            std::fflush(stdout);
            Stop_Music();
            return;
        }
    }
    Leave_Title();
    while (!quit)
    {
        Wait_For_Tick();
        Handle_Player_Keys();
        Run_Play_Tick();
    }
    Leave_Game();
}

void Application::Rebuild_Levels()
{
    for (int i = 0; i < NUMBER_OF_LEVELS; i++)
    {
        delete levels[i];
        levels[i] = nullptr;
    }
    delete[] levels;
    levels = new Level*[NUMBER_OF_LEVELS]();
    char path[MAX_PATH_LENGTH];
    for (int i = 0; i < NUMBER_OF_LEVELS; i++)
    {
        levels[i] = new Level();
        Make_Level_Path(path, i);
        levels[i]->Load(path);
    }
}
