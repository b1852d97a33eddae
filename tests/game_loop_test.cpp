// The game loop one tick at a time: the title over the demo, leaving it,
// pause, message boxes, "Game Over", the ending, quitting, and fresh levels
// for every new game.

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "application.h"
#include "bluejay.h"
#include "level.h"
#include "platform.h"
#include "test_support.h"

namespace
{
// A level freshly read from the game's own file of that number.
void Load_Game_Level(Level& level, int number)
{
    char path[Application::MAX_PATH_LENGTH];
    Make_Level_Path(path, number);
    level.Load(path);
}

// Whether a level holds what its file holds and nothing of a game played on
// it.
void Expect_Fresh_From_File(Level& level, int number)
{
    Level fresh;
    Load_Game_Level(fresh, number);
    EXPECT_EQ(level.number_of_characters, fresh.number_of_characters) << "level " << number;
    ASSERT_EQ(level.number_of_platforms, fresh.number_of_platforms) << "level " << number;
    for (int i = 0; i < fresh.number_of_platforms; i++)
    {
        EXPECT_EQ(level.platforms[i]->type, fresh.platforms[i]->type);
        EXPECT_EQ(level.platforms[i]->x, fresh.platforms[i]->x);
        EXPECT_FALSE(level.platforms[i]->taken) << "level " << number << ", platform " << i;
    }
    EXPECT_EQ(level.scroll_x, 0);
    EXPECT_TRUE(level.starting);
    EXPECT_FALSE(level.message_shown);
}

int Count_Colour(BITMAP* canvas, int left, int top, int right, int bottom, int colour)
{
    int count = 0;
    for (int y = top; y <= bottom; y++)
        for (int x = left; x <= right; x++)
            if (getpixel(canvas, x, y) == colour)
                count++;
    return count;
}
} // namespace

class GameLoopTest : public Loaded_Application_Test
{
protected:
    Temporary_Directory directory;

    void SetUp() override
    {
        std::memset(const_cast<char*>(key), 0, KEY_MAX);
        ASSERT_EQ(application.missing_resource[0], '\0') << application.missing_resource;
        Set_Bitmap(application, Application::GRASS_BACKGROUND_BM, 256, 224);
        clear_to_color(application.bitmaps[Application::GRASS_BACKGROUND_BM], makecol(0, 64, 0));
    }

    void TearDown() override { std::memset(const_cast<char*>(key), 0, KEY_MAX); }

    Level& Load(int number, const std::string& map)
    {
        std::string path = directory.Write("level_" + std::to_string(number) + ".map", map);
        application.levels[number]->Load(path.c_str());
        return *application.levels[number];
    }

    // A creature that counts the ticks its level runs.
    Test_Character* Watch(Level& level)
    {
        return Add_Character(level, new Test_Character(), 200, 40);
    }

    void Movie(int level, const std::vector<int>& words)
    {
        application.movie_level = level;
        application.signal_buffer_length = static_cast<int>(words.size());
        for (size_t i = 0; i < words.size(); i++)
            application.signal_buffer[i] = words[i];
    }

    void Title_Tick(int held = 0)
    {
        Application::Press_Keys_For_Signals(held);
        application.Run_Title_Tick();
    }

    void Play_Tick(int held = 0)
    {
        Application::Press_Keys_For_Signals(held);
        application.Run_Play_Tick();
    }

    // Play on level 0 built from a map, as after the title.
    Level& Start_Play(const std::string& map)
    {
        application.demo_mode = false;
        application.current_level = 0;
        return Load(0, map);
    }

    // Gives up lives until the game is over.
    void Lose_The_Last_Life(Level& level)
    {
        level.Hero()->lives = 1;
        Play_Tick(Application::SIGNAL_DELETE);
        for (int tick = 0; tick < 40 && !application.game_over; tick++)
            Play_Tick();
        ASSERT_TRUE(application.game_over);
    }
};

TEST_F(GameLoopTest, TitleStartsOnTheMoviesLevelInTheDemo)
{
    Movie(3, {0});
    application.Start_Title();
    EXPECT_EQ(application.current_level, 3);
    EXPECT_TRUE(application.demo_mode);
    EXPECT_EQ(application.movie_mode, Application::MOVIE_PLAYBACK_MODE);
    EXPECT_FALSE(application.title_done);
    EXPECT_FALSE(application.quit);
}

TEST_F(GameLoopTest, MovieOnALevelThatDoesNotExistPlaysOnTheFirstLevel)
{
    Test_Character* first = Watch(*application.levels[0]);
    for (int level : {-1, 120, 300})
    {
        Movie(level, {0, 0});
        application.Start_Title();
        EXPECT_EQ(application.current_level, 0) << "movie level " << level;
        Title_Tick();
        EXPECT_EQ(application.current_level, 0);
        EXPECT_EQ(application.movie_level, level) << "kept as read";
    }
    EXPECT_EQ(first->processed, 3);
}

TEST_F(GameLoopTest, DemoReplaysTheMovieAndStartsOverOnARestartedLevel)
{
    Level& demo = Load(3, Meadow_Map(100));
    Test_Character* watcher = Watch(demo);
    const std::vector<int> words = {Application::SIGNAL_LEFT, 0, Application::SIGNAL_LEFT};
    Movie(3, words);
    application.Start_Title();
    Bluejay* hero = demo.Hero();
    for (int tick = 1; tick <= 3; tick++)
    {
        Title_Tick();
        EXPECT_EQ(application.signals, words[tick - 1]) << "tick " << tick;
        EXPECT_EQ(application.signal_buffer_position, tick);
        EXPECT_EQ(watcher->processed, tick);
    }
    EXPECT_EQ(hero->x_direction, -1);
    watcher->x = 0;

    // Tick 4: the movie has ended; the level starts over under the live keys.
    Title_Tick();
    EXPECT_EQ(application.signal_buffer_position, 0);
    EXPECT_EQ(application.signals, 0);
    EXPECT_EQ(watcher->x, 200);
    EXPECT_EQ(hero->x_direction, 1);
    EXPECT_FALSE(demo.starting) << "and runs in the same tick";
    EXPECT_EQ(watcher->processed, 4);

    // Tick 5: the first word again.
    Title_Tick();
    EXPECT_EQ(application.signals, words[0]);
    EXPECT_EQ(application.signal_buffer_position, 1);
    EXPECT_EQ(hero->x_direction, -1);
    EXPECT_FALSE(application.title_done);
}

TEST_F(GameLoopTest, DemoStaysOnItsLevelWhenItsHeroGoesDownAPipe)
{
    std::ostringstream map;
    map << "0\n0\n2 32 136\n-1\n1006 32 160\n1005 64 192\n-1\n1\n";
    for (int i = 1; i < Level::NUMBER_OF_POINTERS; i++)
        map << "0\n";
    Load(2, map.str());
    Load(1, Meadow_Map(40));
    std::vector<int> words(12, 0);
    words[0] = Application::SIGNAL_DOWN;
    Movie(2, words);
    application.Start_Title();
    for (int tick = 0; tick < 12; tick++)
    {
        Title_Tick();
        EXPECT_EQ(application.current_level, 2) << "tick " << tick;
    }
}

TEST_F(GameLoopTest, EnterOnTheFirstTitleTickEndsTheTitleWithoutReplaying)
{
    Test_Character* watcher = Watch(Load(3, Meadow_Map(100)));
    Movie(3, {Application::SIGNAL_LEFT, 0});
    application.Start_Title();
    Title_Tick(Application::SIGNAL_START);
    EXPECT_TRUE(application.title_done);
    EXPECT_FALSE(application.quit);
    EXPECT_EQ(application.movie_mode, Application::MOVIE_STOP_MODE);
    EXPECT_EQ(application.signal_buffer_position, 0);
    EXPECT_EQ(watcher->processed, 0);
}

TEST_F(GameLoopTest, QOnTheFirstTitleTickEndsTheTitleAndTheGame)
{
    Test_Character* watcher = Watch(Load(3, Meadow_Map(100)));
    Movie(3, {0});
    application.Start_Title();
    Title_Tick(Application::SIGNAL_QUIT);
    EXPECT_TRUE(application.title_done);
    EXPECT_TRUE(application.quit);
    EXPECT_EQ(application.movie_mode, Application::MOVIE_STOP_MODE);
    EXPECT_EQ(watcher->processed, 0);
}

TEST_F(GameLoopTest, LeavingTheTitleStartsAFreshGameOnTheFirstLevel)
{
    Load(3, Meadow_Map(100));
    Movie(3, {0, 0});
    application.Start_Title();
    Title_Tick();
    // Whatever the demo left behind.
    application.game_over = true;
    application.game_complete = true;
    application.paused = true;
    Title_Tick(Application::SIGNAL_START);
    application.Leave_Title();
    EXPECT_FALSE(application.demo_mode);
    EXPECT_EQ(application.current_level, 0);
    EXPECT_FALSE(application.game_over);
    EXPECT_FALSE(application.game_complete);
    EXPECT_FALSE(application.paused);
    Expect_Fresh_From_File(*application.levels[0], 0);
    Expect_Fresh_From_File(*application.levels[3], 3);
}

TEST_F(GameLoopTest, HoldingPTogglesPauseOnceEverySevenTicks)
{
    Test_Character* watcher = Watch(Start_Play(Meadow_Map(40)));
    std::vector<int> toggles;
    bool was_paused = false;
    for (int tick = 1; tick <= 15; tick++)
    {
        Play_Tick(Application::SIGNAL_PAUSE);
        if (application.paused != was_paused)
            toggles.push_back(tick);
        was_paused = application.paused;
    }
    EXPECT_EQ(toggles, (std::vector<int>{1, 8, 15}));
    EXPECT_TRUE(application.paused);
    EXPECT_EQ(application.sound_effect_plays[Application::PAUSE_SE], 3);
    // The level ran only on ticks 8 to 14.
    EXPECT_EQ(watcher->processed, 7);

    // Let go and press again too soon: nothing; later: it resumes.
    Play_Tick();
    Play_Tick(Application::SIGNAL_PAUSE);
    EXPECT_TRUE(application.paused);
    for (int tick = 0; tick < 4; tick++)
        Play_Tick();
    Play_Tick(Application::SIGNAL_PAUSE);
    EXPECT_FALSE(application.paused);
    EXPECT_EQ(application.sound_effect_plays[Application::PAUSE_SE], 4);
}

TEST_F(GameLoopTest, NoPauseUnderAMessageAfterGameOverOrDuringTheEnding)
{
    Level& level = Start_Play(Meadow_Map(40, "24 80 48\n"));
    Play_Tick();
    ASSERT_TRUE(level.showing_message);
    for (int tick = 0; tick < 8; tick++)
        Play_Tick(Application::SIGNAL_PAUSE);
    EXPECT_FALSE(application.paused);

    level.showing_message = false;
    application.game_over = true;
    for (int tick = 0; tick < 8; tick++)
        Play_Tick(Application::SIGNAL_PAUSE);
    EXPECT_FALSE(application.paused);

    application.game_over = false;
    level.signal = Level::SIGNAL_DESTROY_ECTO;
    for (int tick = 0; tick < 8; tick++)
        Play_Tick(Application::SIGNAL_PAUSE);
    EXPECT_FALSE(application.paused);
    EXPECT_EQ(application.sound_effect_plays[Application::PAUSE_SE], 0);
}

TEST_F(GameLoopTest, MessageHoldsTheLevelUntilEnterAndTheLevelRunsInThatTick)
{
    Level& level = Start_Play(Meadow_Map(40, "24 80 48\n"));
    Test_Character* watcher = Watch(level);
    Play_Tick();
    ASSERT_TRUE(level.showing_message);
    EXPECT_EQ(watcher->processed, 1);
    for (int tick = 0; tick < 3; tick++)
        Play_Tick(Application::SIGNAL_RIGHT);
    EXPECT_EQ(watcher->processed, 1);
    EXPECT_TRUE(level.showing_message);

    Play_Tick(Application::SIGNAL_START);
    EXPECT_FALSE(level.showing_message);
    EXPECT_EQ(watcher->processed, 2);
    // Enter held on in ordinary play does nothing more.
    Play_Tick(Application::SIGNAL_START);
    EXPECT_FALSE(level.showing_message);
    EXPECT_EQ(watcher->processed, 3);
}

TEST_F(GameLoopTest, GameOverIsShownInRedOverTheStoppedLevel)
{
    Level& level = Start_Play(Meadow_Map(40));
    Test_Character* watcher = Watch(level);
    Lose_The_Last_Life(level);
    int processed = watcher->processed;
    for (int tick = 0; tick < 3; tick++)
        Play_Tick(Application::SIGNAL_RIGHT);
    EXPECT_EQ(watcher->processed, processed);
    EXPECT_TRUE(application.game_over);

    // "Game Over" is nine characters of eight pixels, centred on (128, 112).
    int red = makecol(255, 0, 0);
    EXPECT_GT(Count_Colour(application.canvas, 92, 112, 163, 119, red), 50);
    EXPECT_EQ(Count_Colour(application.canvas, 0, 40, 91, 190, red), 0);
    EXPECT_EQ(Count_Colour(application.canvas, 164, 40, 255, 190, red), 0);
    EXPECT_EQ(Count_Colour(application.canvas, 92, 40, 163, 111, red), 0);
    EXPECT_EQ(Count_Colour(application.canvas, 92, 120, 163, 190, red), 0);
}

TEST_F(GameLoopTest, EnterAfterGameOverStartsANewGameOnFreshLevels)
{
    Load(1, Meadow_Map(40));
    application.current_level = 1;
    Level& level = *application.levels[1];
    Lose_The_Last_Life(level);
    Play_Tick(Application::SIGNAL_START);
    EXPECT_FALSE(application.game_over);
    EXPECT_FALSE(application.paused);
    EXPECT_EQ(application.current_level, 0);
    Expect_Fresh_From_File(*application.levels[0], 0);
    Expect_Fresh_From_File(*application.levels[1], 1);

    // The new game runs from the next tick.
    Play_Tick();
    EXPECT_FALSE(application.levels[0]->starting);
}

TEST_F(GameLoopTest, NewGameBringsBackWhatWasEaten)
{
    Load_Game_Level(*application.levels[0], 0);
    Level& level = *application.levels[0];
    ASSERT_GT(level.number_of_platforms, 0);
    for (int i = 0; i < level.number_of_platforms; i++)
        level.platforms[i]->taken = true;
    application.game_over = true;
    Play_Tick(Application::SIGNAL_START);
    Expect_Fresh_From_File(*application.levels[0], 0);
}

TEST_F(GameLoopTest, QEndsPlayAtOnceWithoutDrawing)
{
    Test_Character* watcher = Watch(Start_Play(Meadow_Map(40)));
    int colour = makecol(12, 34, 56);
    clear_to_color(application.canvas, colour);
    Play_Tick(Application::SIGNAL_QUIT | Application::SIGNAL_START | Application::SIGNAL_PAUSE);
    EXPECT_TRUE(application.quit);
    EXPECT_FALSE(application.paused);
    EXPECT_EQ(watcher->processed, 0);
    EXPECT_EQ(Count_Colour(application.canvas, 0, 0, 255, 223, colour), 256 * 224);
}

TEST_F(GameLoopTest, WhileTheGameIsBeingWonOnlyQCounts)
{
    Level& level = Start_Play(Meadow_Map(40));
    Test_Character* watcher = Watch(level);
    Play_Tick();
    level.signal = Level::SIGNAL_DESTROY_ECTO;
    const int held = Application::SIGNAL_LEFT | Application::SIGNAL_UP | Application::SIGNAL_FLY |
                     Application::SIGNAL_PAUSE | Application::SIGNAL_DELETE | Application::SIGNAL_START;
    Play_Tick(held);
    EXPECT_EQ(application.signals, 0);
    Bluejay* hero = level.Hero();
    EXPECT_EQ(hero->x_direction, 1);
    EXPECT_EQ(hero->state, Bluejay::IDLE);
    EXPECT_EQ(hero->strength, 3);
    EXPECT_FALSE(application.paused);
    EXPECT_EQ(watcher->processed, 2) << "the level runs on";

    Play_Tick(held | Application::SIGNAL_QUIT);
    EXPECT_TRUE(application.quit);
}

TEST_F(GameLoopTest, AfterTheEndThePictureStaysUntilQ)
{
    Level& level = Start_Play(Meadow_Map(40));
    Test_Character* watcher = Watch(level);
    Play_Tick();
    level.signal = Level::SIGNAL_DESTROY_ECTO;
    for (int tick = 0; tick < Level::ENDING_TICKS; tick++)
        Play_Tick();
    ASSERT_TRUE(application.game_complete);
    int processed = watcher->processed;
    int colour = makecol(12, 34, 56);
    clear_to_color(application.canvas, colour);
    for (int tick = 0; tick < 10; tick++)
        Play_Tick(Application::SIGNAL_START | Application::SIGNAL_PAUSE | Application::SIGNAL_RIGHT);
    EXPECT_EQ(watcher->processed, processed);
    EXPECT_FALSE(application.paused);
    EXPECT_FALSE(application.quit);
    EXPECT_TRUE(application.game_complete);
    EXPECT_EQ(application.sound_effect_plays[Application::PAUSE_SE], 0);
    EXPECT_EQ(Count_Colour(application.canvas, 0, 0, 255, 223, colour), 256 * 224);

    Play_Tick(Application::SIGNAL_QUIT);
    EXPECT_TRUE(application.quit);
}

TEST_F(GameLoopTest, RebuildingReadsEveryLevelAgainAndKeepsTheCurrentLevel)
{
    Load_Game_Level(*application.levels[0], 0);
    application.levels[0]->scroll_x = 99;
    application.levels[0]->message_shown = true;
    Watch(*application.levels[5]);
    Watch(*application.levels[119]);
    application.current_level = 7;
    application.Rebuild_Levels();
    EXPECT_EQ(application.current_level, 7);
    for (int i = 0; i < Application::NUMBER_OF_LEVELS; i++)
        ASSERT_NE(application.levels[i], nullptr) << "level " << i;
    Expect_Fresh_From_File(*application.levels[0], 0);
    Expect_Fresh_From_File(*application.levels[5], 5);
    Expect_Fresh_From_File(*application.levels[119], 119);
}
