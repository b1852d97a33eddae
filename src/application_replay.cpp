// The player's own runs: recording them with key 4, keeping them with 6,
// watching them with 5 and on the title, and what the game remembers
// between runs (the furthest level reached and the best score).

#include <cstdio>
#include <cstdlib>

#include "application.h"
#include "bluejay.h"
#include "level.h"
#include "user_files.h"
#include "translation.h"

namespace
{
// The longest title line: "C: continue from level " and a number.
constexpr int TITLE_LINE_LENGTH = 64;
constexpr int SHADOW_OFFSET = 1;

// The level's hero, if it has one, takes up a run with these.
void Give_Hero_Status(Level& level, const Run_Start& start)
{
    Bluejay* hero = level.Hero();
    if (hero == nullptr)
        return;
    hero->lives = start.lives;
    hero->eggs = start.eggs;
    hero->points = start.points;
}
} // namespace

bool Application::Demo_Rules() const
{
    return demo_mode && !recorded_movie;
}

unsigned int Application::Movie_Seed(int level)
{
    return MOVIE_SEED_BASE + static_cast<unsigned int>(level);
}

void Application::Begin_Movie_Level(int number)
{
    std::srand(Movie_Seed(number));
    Level* fresh = Load_Level_File(number);
    if (replaying)
    {
        delete replay_level;
        replay_level = fresh;
        for (int i = 0; i < NUMBER_OF_LEVELS; i++)
            replay_levels[i] = fresh;
    }
    else
    {
        delete levels[number];
        levels[number] = fresh;
    }
}

void Application::Begin_Replay_Level(int number)
{
    Begin_Movie_Level(number);
    if (recorded_movie)
        Give_Hero_Status(*levels[number], progress.movie_start);
}

void Application::Start_Recording()
{
    // The hero keeps its lives, eggs and points; the rest starts over as
    // after a lost life, on the level as its file has it, so that a replay
    // starting from the file meets the very same creatures.
    Bluejay* hero = levels[current_level]->Hero();
    recording_start = Run_Start();
    if (hero != nullptr)
        recording_start = {hero->lives, hero->eggs, hero->points};
    Begin_Movie_Level(current_level);
    Give_Hero_Status(*levels[current_level], recording_start);
    recording_level = current_level;
    recording_assists = Assists();
    recording_length = 0;
    movie_mode = MOVIE_RECORDING_MODE;
}

void Application::Record_Tick(int level_before)
{
    if (movie_mode != MOVIE_RECORDING_MODE)
        return;
    if (recording_length < MAX_SIGNAL_BUFFER_LENGTH)
        recording_buffer[recording_length++] = signals;
    // A movie plays on one level: the run ends where the hero leaves it.
    if (recording_length >= MAX_SIGNAL_BUFFER_LENGTH || current_level != level_before || game_over || game_complete)
        Stop_Recording();
}

void Application::Stop_Recording()
{
    if (movie_mode != MOVIE_RECORDING_MODE)
        return;
    movie_mode = MOVIE_STOP_MODE;
    // Nothing recorded keeps the movie there was.
    if (recording_length == 0)
        return;
    for (int i = 0; i < recording_length; i++)
        signal_buffer[i] = recording_buffer[i];
    signal_buffer_length = recording_length;
    signal_buffer_position = 0;
    movie_level = recording_level;
    recorded_movie = true;
    progress.Remember_Movie(movie_level, signal_buffer, signal_buffer_length, recording_start);
    // The movie replays with the assists it was played with.
    progress.movie_assists = recording_assists;
    Save_Progress();
}

void Application::Start_Replay()
{
    Stop_Recording();
    // The game waits where it is; the replay gets a level of its own, which
    // stands for every level in case its hero goes down a pipe.
    saved_levels = levels;
    saved_level = current_level;
    saved_game_over = game_over;
    saved_game_complete = game_complete;
    replay_levels = new Level*[NUMBER_OF_LEVELS]();
    levels = replay_levels;
    replaying = true;
    demo_mode = true;
    movie_mode = MOVIE_PLAYBACK_MODE;
    signal_buffer_position = 0;
    resume_seed = static_cast<unsigned int>(std::rand());
    Begin_Replay_Level(Movie_Level_Index());
    current_level = Movie_Level_Index();
    Stop_Sound_Effects();
    Play_Music(TITLE_SCREEN_MT, true);
}

void Application::Run_Replay_Tick()
{
    if (signals & ~held_signals & SIGNAL_START)
    {
        Stop_Replay();
        return;
    }
    int level_number = Movie_Level_Index();
    Replay_Movie_Tick(level_number);
    current_level = level_number;
    Draw_Sprite(TITLE_BM, 0, 0);
}

void Application::Stop_Replay()
{
    if (!replaying)
        return;
    delete[] replay_levels;
    replay_levels = nullptr;
    delete replay_level;
    replay_level = nullptr;
    levels = saved_levels;
    saved_levels = nullptr;
    current_level = saved_level;
    game_over = saved_game_over;
    game_complete = saved_game_complete;
    replaying = false;
    demo_mode = false;
    movie_mode = MOVIE_STOP_MODE;
    signal_buffer_position = 0;
    std::srand(resume_seed);
    Stop_Sound_Effects();
    Play_Music(levels[current_level]->music, true);
}

void Application::Replay_Movie_Tick(int level_number)
{
    if (movie_mode == MOVIE_PLAYBACK_MODE)
    {
        // A recorded run starts over at once from the same seed on its level
        // as the file has it, and its first word runs on that very tick, as
        // it did when it was recorded.
        if (recorded_movie && signal_buffer_length > 0 && signal_buffer_position >= signal_buffer_length)
        {
            Begin_Replay_Level(level_number);
            signal_buffer_position = 0;
        }
        if (signal_buffer_position < signal_buffer_length)
        {
            signals = signal_buffer[signal_buffer_position];
            signal_buffer_position++;
        }
        else
        {
            // The demo has ended: it starts over on its level reset, this
            // tick under the keys as they are.
            std::srand(Movie_Seed(level_number));
            levels[level_number]->Reset(demo_mode);
            signal_buffer_position = 0;
        }
    }
    levels[level_number]->Process(*this);
}

void Application::Note_Level_Reached(int level_before)
{
    if (current_level == level_before || current_level <= progress.furthest_level)
        return;
    progress.furthest_level = current_level;
    Save_Progress();
}

int Application::Continue_Level()
{
    int level = progress.furthest_level;
    if (level <= 0 || level >= NUMBER_OF_LEVELS || levels[level]->Hero() == nullptr)
        return 0;
    return level;
}

void Application::Note_Game_End()
{
    // A game played with an assist has a best score of its own.
    int& best = Assists().Any_Assist() ? progress.assisted_best_score : progress.best_score;
    Bluejay* hero = levels[current_level]->Hero();
    if (hero == nullptr || hero->points <= best)
        return;
    best = hero->points;
    Save_Progress();
}

void Application::Load_Progress()
{
    if (!progress_path.empty())
        progress.Load(progress_path);
}

void Application::Save_Progress()
{
    if (progress_path.empty())
        return;
    std::string reason = "cannot make the folder";
    std::string::size_type slash = progress_path.rfind('/');
    if (!Make_Directories(slash == std::string::npos ? std::string() : progress_path.substr(0, slash)) ||
        !progress.Save(progress_path, reason))
        std::fprintf(stderr, "Progress was not saved to %s: %s\n", progress_path.c_str(), reason.c_str());
}

void Application::Draw_Title_Lines()
{
    char line[TITLE_LINE_LENGTH];
    int white = makecol(255, 255, 255);
    int black = makecol(0, 0, 0);
    if (Continue_Level() > 0)
    {
        std::snprintf(line, sizeof(line), Translate("C: continue from level %i"), Continue_Level());
        textout_centre_ex(canvas, font, line, CANVAS_WIDTH / 2 + SHADOW_OFFSET, TITLE_CONTINUE_Y + SHADOW_OFFSET,
                          black, -1);
        textout_centre_ex(canvas, font, line, CANVAS_WIDTH / 2, TITLE_CONTINUE_Y, white, -1);
    }
    if (progress.best_score > 0)
    {
        std::snprintf(line, sizeof(line), Translate("Best score: %i"), progress.best_score);
        textout_centre_ex(canvas, font, line, CANVAS_WIDTH / 2 + SHADOW_OFFSET, TITLE_BEST_SCORE_Y + SHADOW_OFFSET,
                          black, -1);
        textout_centre_ex(canvas, font, line, CANVAS_WIDTH / 2, TITLE_BEST_SCORE_Y, white, -1);
    }
    if (progress.assisted_best_score > 0)
    {
        std::snprintf(line, sizeof(line), Translate("Best with an assist: %i"), progress.assisted_best_score);
        textout_centre_ex(canvas, font, line, CANVAS_WIDTH / 2 + SHADOW_OFFSET,
                          TITLE_ASSISTED_BEST_Y + SHADOW_OFFSET, black, -1);
        textout_centre_ex(canvas, font, line, CANVAS_WIDTH / 2, TITLE_ASSISTED_BEST_Y, white, -1);
    }
}
