// The player's own game: continuing from the furthest level reached, the best
// score, and runs recorded with 4, kept with 6 and replayed with 5 and on the
// title, the same creatures doing the same things every time.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "application.h"
#include "bluejay.h"
#include "level.h"
#include "progress.h"
#include "test_support.h"
#include "user_files.h"

namespace
{
constexpr int RECORD = Application::SIGNAL_MOVIE_RECORD;
constexpr int PLAY = Application::SIGNAL_MOVIE_PLAY;
constexpr int STOP = Application::SIGNAL_MOVIE_STOP;
constexpr int CONTINUE = Application::SIGNAL_SCROLL_DOWN_2;
constexpr int ENTER = Application::SIGNAL_START;

// Everything a replay must repeat: where every character is, how strong it
// is, and the hero's status.
std::vector<int> Snapshot(Level& level)
{
    std::vector<int> state;
    for (int i = 0; i < level.number_of_characters; i++)
    {
        Character* character = level.characters[i];
        state.insert(state.end(), {character->x, character->y, character->strength, character->bitmap});
    }
    Bluejay* hero = level.Hero();
    if (hero != nullptr)
        state.insert(state.end(), {hero->lives, hero->eggs, hero->points, hero->state});
    return state;
}

// The first level of the campaign whose creatures draw random numbers.
int Level_With_Random_Creatures(Application& application)
{
    for (int number = 0; number < Application::NUMBER_OF_LEVELS; number++)
    {
        Level& level = *application.levels[number];
        for (int i = 0; i < level.number_of_characters; i++)
        {
            int type = level.characters[i]->type;
            if (type == Level::MOSQUITO || type == Level::GHOST || type == Level::TOMATOO_PLANT)
                return number;
        }
    }
    return -1;
}

// A one-screen level: the hero standing on a pipe that leads to level 1.
std::string Pipe_Map()
{
    std::ostringstream map;
    map << "0\n0\n2 32 136\n-1\n1006 32 160\n1005 64 192\n-1\n1\n";
    for (int i = 1; i < Level::NUMBER_OF_POINTERS; i++)
        map << "0\n";
    return map.str();
}
} // namespace

class ReplayTest : public Loaded_Application_Test
{
protected:
    Temporary_Directory directory;

    void SetUp() override
    {
        Release_All_Keys();
        ASSERT_EQ(application.missing_resource[0], '\0') << application.missing_resource;
        application.Load_Game_Data();
        application.progress_path = directory.Path("user/progress.txt");
    }

    void TearDown() override
    {
        Release_All_Keys();
        Set_User_Files_Directory("");
    }

    void Start_Play(int level)
    {
        application.demo_mode = false;
        application.current_level = level;
    }

    void Play_Tick(int held = 0)
    {
        Application::Press_Keys_For_Signals(held);
        application.Run_Play_Tick();
    }

    void Title_Tick(Application& game, int held = 0)
    {
        Application::Press_Keys_For_Signals(held);
        game.Run_Title_Tick();
    }

    // Plays a run on a level with random creatures, recorded from its first
    // tick: closes the level's message, runs, jumps and flies. Returns what
    // the level looked like after each recorded tick.
    std::vector<std::vector<int>> Record_A_Run(int level)
    {
        Start_Play(level);
        // A hero well into a game: its replays must give it the same status.
        Bluejay* hero = application.levels[level]->Hero();
        hero->lives = 2;
        hero->eggs = 1;
        hero->points = 150;
        std::vector<int> keys = {RECORD, 0, ENTER, 0};
        for (int tick = 0; tick < 400; tick++)
        {
            int phase = tick / 25 % 4;
            keys.push_back(phase == 0   ? Application::SIGNAL_RIGHT
                           : phase == 1 ? Application::SIGNAL_RIGHT | Application::SIGNAL_UP
                           : phase == 2 ? Application::SIGNAL_FLY | Application::SIGNAL_RIGHT
                                        : Application::SIGNAL_LEFT);
        }
        std::vector<std::vector<int>> trace;
        for (int held : keys)
        {
            int recorded = application.recording_length;
            Play_Tick(held);
            if (application.recording_length != recorded)
                trace.push_back(Snapshot(*application.levels[level]));
        }
        Play_Tick(STOP);
        return trace;
    }

    // Enter closes a message the level has just raised; the level runs in
    // that tick.
    void Close_Any_Message()
    {
        if (application.levels[application.current_level]->showing_message)
            Play_Tick(ENTER);
    }

    Progress Progress_On_Disk()
    {
        Progress progress;
        progress.Load(application.progress_path);
        return progress;
    }
};

TEST_F(ReplayTest, RecordingRestartsTheLevelKeepingTheHerosLivesEggsAndPoints)
{
    Start_Play(0);
    Level* played = application.levels[0];
    Bluejay* hero = played->Hero();
    ASSERT_NE(hero, nullptr);
    hero->lives = 5;
    hero->eggs = 2;
    hero->points = 300;
    hero->strength = 1;
    hero->x += 40;
    Play_Tick(RECORD);
    EXPECT_EQ(application.movie_mode, Application::MOVIE_RECORDING_MODE);
    ASSERT_NE(application.levels[0], played) << "the level as its file has it";
    Bluejay* fresh = application.levels[0]->Hero();
    EXPECT_EQ(fresh->lives, 5);
    EXPECT_EQ(fresh->eggs, 2);
    EXPECT_EQ(fresh->points, 300);
    EXPECT_EQ(fresh->strength, 3) << "as after a lost life";
    EXPECT_EQ(application.recording_length, 1) << "the tick of the press is the first word";
    EXPECT_EQ(application.recording_buffer[0], RECORD);

    // Held, 4 does not start over again; ticks the level does not run (a
    // pause) are not recorded; 6 makes the recording the movie.
    Level* recording = application.levels[0];
    Play_Tick(RECORD);
    EXPECT_EQ(application.levels[0], recording);
    Close_Any_Message();
    int before = application.recording_length;
    Play_Tick(Application::SIGNAL_PAUSE);
    ASSERT_TRUE(application.paused);
    // The pause toggles at most once in seven ticks.
    for (int tick = 0; tick < 6; tick++)
        Play_Tick();
    EXPECT_EQ(application.recording_length, before);
    Play_Tick(Application::SIGNAL_PAUSE);
    ASSERT_FALSE(application.paused);
    EXPECT_EQ(application.recording_length, before + 1) << "the level runs again in the tick of the resume";
    Play_Tick(Application::SIGNAL_RIGHT);
    int recorded = application.recording_length;
    Play_Tick(STOP);
    EXPECT_EQ(application.movie_mode, Application::MOVIE_STOP_MODE);
    EXPECT_EQ(application.signal_buffer_length, recorded);
    EXPECT_EQ(application.movie_level, 0);
    EXPECT_EQ(application.signal_buffer[recorded - 1], Application::SIGNAL_RIGHT);
    EXPECT_TRUE(application.recorded_movie);
    Progress on_disk = Progress_On_Disk();
    EXPECT_TRUE(on_disk.Is_Recorded_Movie(0, application.signal_buffer, recorded))
        << "the progress file knows the movie is the player's";
    EXPECT_EQ(on_disk.movie_start.lives, 5);
    EXPECT_EQ(on_disk.movie_start.eggs, 2);
    EXPECT_EQ(on_disk.movie_start.points, 300);
}

TEST_F(ReplayTest, SixWithoutARecordingKeepsTheMovie)
{
    Start_Play(0);
    int length = application.signal_buffer_length;
    Play_Tick(STOP);
    EXPECT_EQ(application.signal_buffer_length, length);
    EXPECT_FALSE(application.recorded_movie);
}

TEST_F(ReplayTest, RecordingEndsWhenTheBufferIsFull)
{
    Start_Play(0);
    Play_Tick(RECORD);
    Close_Any_Message();
    // Most of the 18000 words already taken: the last two fill it.
    application.recording_length = Application::MAX_SIGNAL_BUFFER_LENGTH - 2;
    Play_Tick(Application::SIGNAL_LEFT);
    EXPECT_EQ(application.movie_mode, Application::MOVIE_RECORDING_MODE);
    Play_Tick(Application::SIGNAL_RIGHT);
    EXPECT_EQ(application.movie_mode, Application::MOVIE_STOP_MODE);
    EXPECT_EQ(application.signal_buffer_length, Application::MAX_SIGNAL_BUFFER_LENGTH);
    EXPECT_EQ(application.signal_buffer[Application::MAX_SIGNAL_BUFFER_LENGTH - 1], Application::SIGNAL_RIGHT);
    Play_Tick(Application::SIGNAL_LEFT);
    EXPECT_EQ(application.signal_buffer_length, Application::MAX_SIGNAL_BUFFER_LENGTH);
}

TEST_F(ReplayTest, ReplaysRepeatTheRunExactlyWhateverTheSeed)
{
    int level = Level_With_Random_Creatures(application);
    ASSERT_GE(level, 0);
    for (unsigned seed : {1u, 2u, 3u})
    {
        std::srand(seed);
        Application& game = application;
        game.Rebuild_Levels();
        std::vector<std::vector<int>> trace = Record_A_Run(level);
        ASSERT_EQ(static_cast<int>(trace.size()), game.signal_buffer_length);
        ASSERT_GT(trace.size(), 300u);

        // 5: the movie plays at once, on a level of its own, twice over.
        Level* players_level = game.levels[level];
        std::vector<int> players_state = Snapshot(*players_level);
        std::srand(seed * 7);
        Play_Tick(PLAY);
        ASSERT_TRUE(game.replaying);
        EXPECT_TRUE(game.demo_mode);
        EXPECT_EQ(Snapshot(*game.levels[level]), trace[0]) << "seed " << seed;
        for (size_t tick = 1; tick < trace.size(); tick++)
        {
            Play_Tick();
            ASSERT_EQ(Snapshot(*game.levels[level]), trace[tick]) << "seed " << seed << ", tick " << tick;
        }
        for (size_t tick = 0; tick < 50; tick++)
        {
            Play_Tick();
            ASSERT_EQ(Snapshot(*game.levels[level]), trace[tick]) << "second time, tick " << tick;
        }

        // Enter: the game goes on where it was.
        Play_Tick(ENTER);
        EXPECT_FALSE(game.replaying);
        EXPECT_FALSE(game.demo_mode);
        EXPECT_EQ(game.current_level, level);
        EXPECT_EQ(game.levels[level], players_level);
        EXPECT_EQ(Snapshot(*players_level), players_state);
    }
}

TEST_F(ReplayTest, AnAssistedRecordingReplaysWithItsAssistsWhateverThePlayerNowChose)
{
    int level = Level_With_Random_Creatures(application);
    ASSERT_GE(level, 0);
    application.play_options.invincible = true;
    application.play_options.endless_flight = true;
    application.play_options.no_ghost_push = true;
    application.play_options.speed = 60;
    std::vector<std::vector<int>> trace = Record_A_Run(level);
    ASSERT_GT(trace.size(), 300u);
    Progress on_disk = Progress_On_Disk();
    EXPECT_TRUE(on_disk.movie_assists.invincible);
    EXPECT_TRUE(on_disk.movie_assists.endless_flight);
    EXPECT_TRUE(on_disk.movie_assists.no_ghost_push);
    EXPECT_EQ(on_disk.movie_assists.speed, 60);

    // The player turns every assist off; the replay still has them.
    application.play_options = Play_Options();
    Play_Tick(PLAY);
    ASSERT_TRUE(application.replaying);
    EXPECT_TRUE(application.Assists().invincible);
    EXPECT_EQ(Snapshot(*application.levels[level]), trace[0]);
    for (size_t tick = 1; tick < trace.size(); tick++)
    {
        Play_Tick();
        ASSERT_EQ(Snapshot(*application.levels[level]), trace[tick]) << "tick " << tick;
    }
    Play_Tick(ENTER);
    EXPECT_FALSE(application.Assists().Any_Assist()) << "the game goes on with the player's choice";
}

TEST_F(ReplayTest, TitleReplaysANewRecordingAfterARestart)
{
    int level = Level_With_Random_Creatures(application);
    ASSERT_GE(level, 0);
    std::string shipped = Read_File("data/movie/movie.dat");
    std::vector<std::vector<int>> trace = Record_A_Run(level);
    // As an installed game: the movie goes to the user's folder.
    Set_User_Files_Directory(directory.Path("user"));
    application.Leave_Game();
    EXPECT_EQ(Read_File("data/movie/movie.dat"), shipped) << "the shipped demo stays as it is";

    Application restarted;
    restarted.Load_Resources();
    restarted.progress_path = application.progress_path;
    restarted.Load_Game_Data();
    ASSERT_EQ(restarted.movie_level, level);
    ASSERT_TRUE(restarted.recorded_movie);
    std::srand(12345);
    restarted.Start_Title();
    for (int loop = 0; loop < 2; loop++)
    {
        for (size_t tick = 0; tick < trace.size(); tick++)
        {
            Title_Tick(restarted);
            ASSERT_EQ(Snapshot(*restarted.levels[level]), trace[tick]) << "loop " << loop << ", tick " << tick;
        }
    }
    EXPECT_FALSE(restarted.title_done);
}

TEST_F(ReplayTest, ReachingALevelThroughAPipeIsRememberedAndOfferedOnTheTitle)
{
    Start_Play(0);
    std::string path = directory.Write("pipe.map", Pipe_Map());
    delete application.levels[0];
    application.levels[0] = new Level();
    application.levels[0]->Load(path.c_str());
    Play_Tick();
    Play_Tick(Application::SIGNAL_DOWN);
    for (int tick = 0; tick < 30 && application.current_level == 0; tick++)
        Play_Tick();
    ASSERT_EQ(application.current_level, 1);
    EXPECT_EQ(application.progress.furthest_level, 1);
    EXPECT_EQ(Progress_On_Disk().furthest_level, 1);

    // The next run offers level 1; the line is drawn below "Press Enter".
    Application next;
    next.Load_Resources();
    next.progress_path = application.progress_path;
    next.Load_Game_Data();
    next.Start_Title();
    Title_Tick(next);
    int white = makecol(255, 255, 255);
    EXPECT_GT(Pixels_Unlike(next.canvas, 0, Application::TITLE_CONTINUE_Y, 256, 8, white), 0);
    EXPECT_LT(Pixels_Unlike(next.canvas, 0, Application::TITLE_CONTINUE_Y, 256, 8, white), 256 * 8)
        << "some white text on the continue line";

    // C: a new game on level 1, entered as through a pipe, with a fresh hero.
    Title_Tick(next, CONTINUE);
    ASSERT_TRUE(next.title_done);
    EXPECT_FALSE(next.quit);
    next.Leave_Title();
    EXPECT_EQ(next.current_level, 1);
    Level& level = *next.levels[1];
    EXPECT_TRUE(level.starting);
    EXPECT_EQ(level.scroll_x, 0);
    Bluejay* hero = level.Hero();
    ASSERT_NE(hero, nullptr);
    EXPECT_EQ(hero->lives, 3);
    EXPECT_EQ(hero->strength, 3);
    EXPECT_EQ(hero->points, 0);
    EXPECT_EQ(hero->eggs, 0);
    EXPECT_FALSE(next.demo_mode);
}

TEST_F(ReplayTest, WithNothingRememberedCDoesNothingAndEnterStartsOnTheFirstLevel)
{
    application.progress.furthest_level = 0;
    application.Start_Title();
    Title_Tick(application, CONTINUE);
    EXPECT_FALSE(application.title_done);
    EXPECT_EQ(Pixels_Unlike(application.canvas, 0, Application::TITLE_BEST_SCORE_Y, 256, 8, makecol(255, 255, 255)),
              256 * 8)
        << "no best score yet";

    // Nor when the level remembered has no hero to play (its file changed).
    int empty = 1;
    while (empty < Application::NUMBER_OF_LEVELS - 1 && application.levels[empty]->Hero() != nullptr)
        empty++;
    ASSERT_EQ(application.levels[empty]->Hero(), nullptr);
    application.progress.furthest_level = empty;
    Title_Tick(application, CONTINUE);
    EXPECT_FALSE(application.title_done);

    // A best score is shown once there is one.
    application.progress.best_score = 500;
    Title_Tick(application);
    EXPECT_LT(Pixels_Unlike(application.canvas, 0, Application::TITLE_BEST_SCORE_Y, 256, 8, makecol(255, 255, 255)),
              256 * 8);

    application.progress.furthest_level = 4;
    Title_Tick(application, ENTER);
    ASSERT_TRUE(application.title_done);
    application.Leave_Title();
    EXPECT_EQ(application.current_level, 0);
}

TEST_F(ReplayTest, GameOverAndQuitKeepTheBestScore)
{
    Start_Play(0);
    Bluejay* hero = application.levels[0]->Hero();
    hero->points = 500;
    hero->lives = 1;
    Play_Tick();
    Close_Any_Message();
    Play_Tick(Application::SIGNAL_DELETE);
    for (int tick = 0; tick < 60 && !application.game_over; tick++)
        Play_Tick();
    ASSERT_TRUE(application.game_over);
    EXPECT_EQ(Progress_On_Disk().best_score, 500);

    // A new game scoring less changes nothing; Q with more keeps the more.
    Play_Tick(ENTER);
    application.levels[0]->Hero()->points = 200;
    Play_Tick(Application::SIGNAL_QUIT);
    EXPECT_EQ(Progress_On_Disk().best_score, 500);
    application.levels[0]->Hero()->points = 900;
    Play_Tick(Application::SIGNAL_QUIT);
    EXPECT_EQ(Progress_On_Disk().best_score, 900);
}

class ProgressTest : public testing::Test
{
protected:
    Temporary_Directory directory;
};

TEST_F(ProgressTest, WrittenAndReadBack)
{
    Progress progress;
    progress.furthest_level = 9;
    progress.best_score = 12345;
    const int words[] = {0, 4, 4, 0x10000000};
    progress.Remember_Movie(7, words, 4, {2, 1, 150});
    std::string reason;
    std::string path = directory.Path("progress.txt");
    ASSERT_TRUE(progress.Save(path, reason)) << reason;
    EXPECT_EQ(Read_File(path).compare(0, 19, "bluejay progress 1\n"), 0);

    Progress read;
    ASSERT_TRUE(read.Load(path));
    EXPECT_EQ(read.furthest_level, 9);
    EXPECT_EQ(read.best_score, 12345);
    EXPECT_TRUE(read.Is_Recorded_Movie(7, words, 4));
    EXPECT_EQ(read.movie_start.lives, 2);
    EXPECT_EQ(read.movie_start.eggs, 1);
    EXPECT_EQ(read.movie_start.points, 150);
    const int other[] = {0, 4, 5, 0x10000000};
    EXPECT_FALSE(read.Is_Recorded_Movie(7, other, 4));
    EXPECT_FALSE(read.Is_Recorded_Movie(6, words, 4));
    EXPECT_FALSE(read.Is_Recorded_Movie(7, words, 3));
}

TEST_F(ProgressTest, UnreadableOrForeignFilesAreNoProgress)
{
    const std::string bad_files[] = {
        "",
        "level 9\nbest 100\n",
        "bluejay progress 2\nlevel 9\n",
        "bluejay progress 1\nlevel 120\n",
        "bluejay progress 1\nlevel -1\n",
        "bluejay progress 1\nbest -5\n",
        "bluejay progress 1\nbest 99999999999999999999\n",
        "bluejay progress 1\nlevel nine\n",
        "bluejay progress 1\nlevel 9 10\n",
        "bluejay progress 1\nmovie 3 0 5 3 0 0\n",
        "bluejay progress 1\nmovie 3 18001 5 3 0 0\n",
        "bluejay progress 1\nmovie 3 100 5\n",
        "bluejay progress 1\nmovie 3 100 5 -1 0 0\n",
        "bluejay progress 1\nlevel 9\n" + std::string(5000, 'x') + "\n",
        std::string("\x7f" "ELF\x02\x01\x01\0\0", 9),
    };
    for (const std::string& text : bad_files)
    {
        Progress progress;
        progress.furthest_level = 3;
        EXPECT_FALSE(progress.Load(directory.Write("progress.txt", text))) << text;
        EXPECT_EQ(progress.furthest_level, 0) << text;
        EXPECT_EQ(progress.best_score, 0);
        EXPECT_EQ(progress.movie_level, Progress::NO_MOVIE);
    }
    Progress progress;
    EXPECT_FALSE(progress.Load(directory.Path("missing.txt")));
    EXPECT_FALSE(progress.Load(directory.Path("")));
}

TEST_F(ProgressTest, UnwritableFolderOnlyMeansNothingIsRemembered)
{
    // The user's folder cannot be made: a plain file stands where it should
    // be.
    Application application;
    application.progress_path = directory.Write("blocker", "x") + "/bluejay/progress.txt";
    application.Load_Progress();
    application.progress.furthest_level = 5;
    application.Save_Progress();
    EXPECT_EQ(application.progress.furthest_level, 5) << "the game goes on";
    Progress read;
    EXPECT_FALSE(read.Load(application.progress_path));

    std::string reason;
    EXPECT_FALSE(application.progress.Save(directory.Path(""), reason)) << "a folder is no file";
    EXPECT_FALSE(reason.empty());
}
