// The game loop: the title over the replayed demo, then play, pause,
// messages, "Game Over" and the frozen ending, until the player quits.

#include <semaphore.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#include "application.h"
#include "bluejay.h"
#include "level.h"
#include "menu_screens.h"
#include "string_list.h"
#include "translation.h"
#include "user_files.h"
#include "window_system.h"

void Make_Level_Path(char* buffer, int level)
{
    char path[Application::MAX_PATH_LENGTH];
    std::snprintf(path, sizeof(path), "data\\levels\\level_%i.map", level);
    Make_Read_Path(buffer, path);
}

Level* Load_Level_File(int level)
{
    Level* fresh = new Level();
    char path[Application::MAX_PATH_LENGTH];
    Make_Level_Path(path, level);
    fresh->Load(path);
    return fresh;
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
    // The player's language's own file when there is one (same format, in
    // data/messages/<language>/), else the English one.
    char path[Application::MAX_PATH_LENGTH];
    for (const std::string& language : Language_Folders())
    {
        std::snprintf(path, sizeof(path), "data\\messages\\%s\\message_%i.txt", language.c_str(), level);
        Make_Path(buffer, path);
        struct stat status;
        if (stat(buffer, &status) == 0 && S_ISREG(status.st_mode) && access(buffer, R_OK) == 0)
            return;
    }
    std::snprintf(path, sizeof(path), "data\\messages\\message_%i.txt", level);
    Make_Path(buffer, path);
}

namespace
{
// Posted by the timer at every period; the tick wait sleeps on it. A post
// that finds the wait already past is taken by the next wait, which then
// looks at timing_signal again, so a stray post costs one loop and no tick.
sem_t& Tick_Semaphore()
{
    static sem_t semaphore;
    static bool made = sem_init(&semaphore, 0, 0) == 0;
    (void)made;
    return semaphore;
}
} // namespace

void Application::Tick_Has_Come()
{
    timing_signal = true;
    sem_post(&Tick_Semaphore());
}

void Application::Wait_For_Tick()
{
    if (switched_away && application != nullptr)
        application->Hold_While_Switched_Away();
#ifdef BLUEJAY_SPIN_WAIT
    // A build for measurements only: the wait polls without ever giving
    // the processor away, to compare the sleeping wait against.
    while (!timing_signal)
    {
    }
#else
    // Asleep until the timer's period comes: one wake-up a tick instead of
    // a thousand a second. Posts left over from ticks run without waiting
    // are taken first, and timing_signal says whether a period really came.
    sem_t& semaphore = Tick_Semaphore();
    while (!timing_signal)
        while (sem_wait(&semaphore) != 0 && errno == EINTR)
        {
        }
    while (sem_trywait(&semaphore) == 0)
    {
    }
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
    while (switched_away && !close_requested && !termination_requested)
    {
        rest(10);
        // The switch back in comes with the window's events.
        Window_System::Take_Events();
    }
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
    }
    Load_Messages();
    Make_Read_Path(path, MOVIE_FILE);
    Load_Movie(path);
    Load_Progress();
    recorded_movie = progress.Is_Recorded_Movie(movie_level, signal_buffer, signal_buffer_length);
}

void Application::Load_Messages()
{
    char path[MAX_PATH_LENGTH];
    for (int i = 0; i < NUMBER_OF_LEVELS; i++)
    {
        Make_Message_Path(path, i);
        messages[i]->Load_From_File(path);
    }
}

void Application::Start_Title()
{
    quit = false;
    title_done = false;
    paused = false;
    start_level = 0;
    movie_mode = MOVIE_PLAYBACK_MODE;
    demo_mode = true;
    current_level = Movie_Level_Index();
    Find_Gamepad();
    // The replay draws its random numbers from the seed its run was recorded
    // with; the game's own numbers go on afterwards from where they were.
    resume_seed = static_cast<unsigned int>(std::rand());
    if (recorded_movie)
        Begin_Replay_Level(current_level);
    else
        std::srand(Movie_Seed(current_level));
    Play_Music(TITLE_SCREEN_MT, true);
    menus->Open_Title(*this);
}

void Application::Run_Title_Tick()
{
    Generate_Signals();
    // Enter, Q and C act at once on the title menu as they always did (Enter
    // while "Start" is highlighted); on the screens it leads to they belong
    // to the menu.
    bool root = menus->At_Title_Root();
    bool leave = false;
    if (root && (signals & SIGNAL_START) && menus->Start_Highlighted())
        leave = true;
    else if ((root && (signals & SIGNAL_QUIT)) || close_requested || termination_requested)
        leave = quit = true;
    // C (a key of the editor only) goes on from the furthest level reached.
    else if (root && (signals & SIGNAL_SCROLL_DOWN_2) && Continue_Level() > 0)
    {
        leave = true;
        start_level = Continue_Level();
    }
    else
    {
        Menu_Screens::Outcome outcome = menus->Tick(*this);
        leave = outcome.action == Menu_Screens::START || outcome.action == Menu_Screens::CONTINUE ||
                outcome.action == Menu_Screens::START_LEVEL || outcome.action == Menu_Screens::QUIT;
        if (outcome.action == Menu_Screens::QUIT)
            quit = true;
        if (outcome.action == Menu_Screens::CONTINUE)
            start_level = Continue_Level();
        if (outcome.action == Menu_Screens::START_LEVEL)
            start_level = outcome.level;
    }
    if (leave)
    {
        title_done = true;
        movie_mode = MOVIE_STOP_MODE;
        menus->Close(*this);
        return;
    }

    int demo_level = Movie_Level_Index();
    Replay_Movie_Tick(demo_level);
    // The demo stays on its own level even when its hero goes down a pipe.
    current_level = demo_level;
    Draw_Sprite(TITLE_BM, 0, 0);
    Draw_Title_Lines();
    menus->Draw(*this);
    Display_Scene();
}

void Application::Leave_Title()
{
    demo_mode = false;
    std::srand(resume_seed);
    Stop_Music();
    // Every game starts with nothing left over from the demo.
    Begin_Game(start_level);
}

void Application::Begin_Game(int level)
{
    Show_Status_Screen(Translate("Loading... please wait."));
    Rebuild_Levels();
    // On the first level, or on another one (the remembered one, one chosen
    // from the list), entered as through a pipe.
    current_level = 0;
    if (level > 0 && level < NUMBER_OF_LEVELS)
    {
        current_level = level;
        levels[current_level]->Reset(false);
        levels[current_level]->scroll_x = 0;
        levels[current_level]->scroll_y = 0;
    }
    game_over = false;
    game_complete = false;
    paused = false;
    start_released = false;
    Start_Game_Clock();
}

void Application::Start_Game_Clock()
{
    tally.Start_Game();
    char name[Level_Tally::LINE_TEXT];
    Level_Name(current_level, name, sizeof(name));
    tally.Show_Name(name, tick_period);
}

int Application::Pause_Menu_Key() const
{
    for (int code : game_keys)
        if (code == KEY_ESC)
            return KEY_F10;
    return KEY_ESC;
}

void Application::Run_Pause_Menu_Tick()
{
    // The window's close button and the end of the program quit as Q does.
    Menu_Screens::Outcome outcome;
    if (close_requested || termination_requested)
        outcome.action = Menu_Screens::QUIT;
    else
        outcome = menus->Tick(*this);
    switch (outcome.action)
    {
    case Menu_Screens::RESUME:
        Close_Pause_Menu();
        break;
    case Menu_Screens::RESTART_LEVEL:
        Close_Pause_Menu();
        Restart_Level();
        break;
    case Menu_Screens::QUIT_TO_TITLE:
    case Menu_Screens::QUIT:
        Close_Pause_Menu();
        Stop_Recording();
        Note_Game_End();
        quit = true;
        back_to_title = outcome.action == Menu_Screens::QUIT_TO_TITLE;
        break;
    default:
        menus->Draw(*this);
        break;
    }
    held_signals = signals;
    menu_held_signals = signals;
    Display_Scene();
}

void Application::Close_Pause_Menu()
{
    menus->Close(*this);
    // Enter that chose Resume must not close a message, and so on.
    menu_held_signals = signals;
    start_released = false;
    key_delay = 0;
    if (!paused && music_paused)
        Resume_Music();
}

void Application::Restart_Level()
{
    // A recording stops where the level starts over.
    Stop_Recording();
    Level& level = *levels[current_level];
    Bluejay* hero = level.Hero();
    if (hero == nullptr)
        return;
    hero->Reset(Demo_Rules());
    level.Reset(Demo_Rules());
    level.Position_For_Main_Character();
    // A level that starts over runs, even from under P's pause.
    if (paused)
    {
        paused = false;
        Resume_Music();
    }
}

void Application::Run_Play_Tick()
{
    key_delay++;
    Generate_Signals();
    if (menus->Is_Open())
    {
        Run_Pause_Menu_Tick();
        return;
    }
    // The keys that worked the menu reach the game once let go.
    menu_held_signals &= signals;
    signals &= ~menu_held_signals;
    bool menu_key = key[Pause_Menu_Key()] != 0;
    bool open_menu = menu_key && !menu_key_held;
    menu_key_held = menu_key;
    int pressed = signals & ~held_signals;
    if (signals & SIGNAL_QUIT)
    {
        // Q ends the game: a replay gives the game back, a recording is
        // kept, and the score counts.
        Stop_Replay();
        Stop_Recording();
        Note_Game_End();
        held_signals = signals;
        quit = true;
        return;
    }
    if (replaying)
    {
        Run_Replay_Tick();
        held_signals = signals;
        Display_Scene();
        return;
    }
    held_signals = signals;
    if (open_menu)
    {
        // The game stands still under the menu, its tune held.
        if (!music_paused)
            Pause_Music();
        Stop_Sound_Effects();
        menus->Open_Pause(*this);
        menus->Draw(*this);
        Display_Scene();
        return;
    }

    if (!game_complete && !Play_Level_Tick(*levels[current_level], pressed, true))
        return;
    Display_Scene();
}

bool Application::Play_Level_Tick(Level& level, int pressed, bool game)
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

    if (paused && !game_over && !level.showing_message)
        Draw_Banner(Translate("Paused"), CANVAS_HEIGHT / 2 - 4);

    if (game_over)
    {
        textout_centre_ex(canvas, font, "Game Over", CANVAS_WIDTH / 2, CANVAS_HEIGHT / 2, makecol(255, 0, 0), -1);
        // The keys that act here, under it.
        if (game)
        {
            Draw_Banner(Translate("Enter: play again"), CANVAS_HEIGHT / 2 + 24);
            if (Continue_Level() > 0)
            {
                char line[MAX_NOTICE_LENGTH];
                std::snprintf(line, sizeof(line), Translate("C: continue from level %i"), Continue_Level());
                Draw_Banner(line, CANVAS_HEIGHT / 2 + 36);
            }
        }
        int continue_level = Continue_Level();
        if (game && (signals & SIGNAL_START))
        {
            // A new game: every level fresh from its file (the level played
            // so far is gone with them).
            game_over = false;
            paused = false;
            Stop_Music();
            Show_Status_Screen(Translate("Loading... please wait."));
            Rebuild_Levels();
            current_level = 0;
            Start_Game_Clock();
        }
        else if (game && (signals & SIGNAL_SCROLL_DOWN_2) && continue_level > 0)
        {
            // C, as on the title: a new game from the furthest level reached.
            Stop_Music();
            Begin_Game(continue_level);
        }
    }
    else if (!paused && !level.showing_message)
    {
        if (!game)
        {
            level.Process(*this);
            return true;
        }
        // The movie keys act once per press, while the level runs.
        pressed &= signals;
        if (pressed & SIGNAL_MOVIE_STOP)
            Stop_Recording();
        if (pressed & SIGNAL_MOVIE_PLAY)
        {
            Start_Replay();
            Run_Replay_Tick();
            Display_Scene();
            return false;
        }
        if (pressed & SIGNAL_MOVIE_RECORD)
            Start_Recording();
        int level_before = current_level;
        // A recording starts on a fresh copy of the level: looked up again.
        Level& played = *levels[current_level];
        Bluejay* hero = played.Hero();
        bool was_dead = hero != nullptr && hero->dead;
        played.Process(*this);
        Count_Play_Tick(played, level_before, was_dead, pressed);
        if (!played.showing_message)
            tally.Draw(canvas);
        if (game_complete)
            Level_Tally::Draw_Game_Summary(canvas, tally.Game_Total(played), ENDING_SUMMARY_Y);
        Record_Tick(level_before);
        if (movie_mode == MOVIE_RECORDING_MODE)
            textout_ex(canvas, font, Translate("REC"), CANVAS_WIDTH - 4 - text_length(font, Translate("REC")),
                       Level::STATUS_SECOND_ROW - 10, makecol(255, 40, 40), -1);
        Note_Level_Reached(level_before);
        if (game_over || game_complete)
            Note_Game_End();
    }
    return true;
}

void Application::Leave_Game()
{
    Remember_Sound_Settings();
    // The movie is written only when one was recorded in this game. One that
    // cannot be written is said on the console; the game still ends as usual.
    char path[MAX_PATH_LENGTH];
    std::string reason;
    if (progress.movie_recorded && (!Make_Write_Path(path, MOVIE_FILE, reason) || !Save_Movie(path, reason)))
        std::fprintf(stderr, "The movie was not saved to %s: %s\n", path, reason.c_str());
    Stop_Music();
    Show_Status_Screen(Translate("Exiting... please wait."));
}

void Application::Run_Game()
{
    // The game remembers the player's progress in the user's data folder.
    std::string folder = Default_User_Files_Directory();
    if (!folder.empty())
        progress_path = folder + "/" + Progress::FILE_NAME;
    // The menus follow the mouse; the window shows the desktop's pointer.
    install_mouse();
    Load_Game_Data();
    // With BLUEJAY_FIRST_FRAME_EXIT set the game says when its first title
    // frame is on the screen and stops there, saving nothing: the benchmark
    // times the start-up so.
    bool first_frame_exit = std::getenv("BLUEJAY_FIRST_FRAME_EXIT") != nullptr;
    for (;;)
    {
        Start_Title();
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
        if (!back_to_title)
            break;
        Return_To_Title();
    }
    Leave_Game();
}

void Application::Return_To_Title()
{
    // The demo plays again on levels fresh from their files.
    back_to_title = false;
    Stop_Music();
    Show_Status_Screen(Translate("Loading... please wait."));
    Rebuild_Levels();
    signal_buffer_position = 0;
    game_over = false;
    game_complete = false;
}

void Application::Draw_Banner(const char* text, int y)
{
    int width = text_length(font, text);
    rectfill(canvas, (CANVAS_WIDTH - width) / 2 - 3, y - 2, (CANVAS_WIDTH + width) / 2 + 2, y + 9, makecol(16, 20, 40));
    textout_centre_ex(canvas, font, text, CANVAS_WIDTH / 2, y, makecol(255, 255, 255), -1);
}

void Application::Rebuild_Levels()
{
    for (int i = 0; i < NUMBER_OF_LEVELS; i++)
    {
        delete levels[i];
        levels[i] = nullptr;
    }
    for (int i = 0; i < NUMBER_OF_LEVELS; i++)
        levels[i] = Load_Level_File(i);
}
