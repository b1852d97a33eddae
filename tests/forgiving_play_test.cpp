// Play that forgives and rewards: bells that move where a lost life starts
// again, the assists a player may turn on, the tally between levels and the
// clocks.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "application.h"
#include "black_bird.h"
#include "bluejay.h"
#include "boiling_mud.h"
#include "checkpoint.h"
#include "egg.h"
#include "ghost.h"
#include "level.h"
#include "level_tally.h"
#include "platform.h"
#include "progress.h"
#include "test_support.h"

class Forgiving_Play : public Creature_Fixture
{
protected:
    Checkpoint* Put_Bell(int x, int y) { return Place(new Checkpoint(), x, y, nullptr); }

    // The hero on the ground of a four-screen level, the camera on it.
    void Wide_Level(int hero_x)
    {
        level.screens_wide = 4;
        Ground(0, 1000);
        Place_Hero(hero_x, GROUND_Y - 24);
        level.Position_For_Main_Character();
    }

    // A level tick as the game runs it, keys held in the signal word.
    void Level_Tick(int signals = 0)
    {
        application.signals = signals;
        level.Process(application);
    }
};

TEST_F(Forgiving_Play, ARungBellIsWhereALostLifeStartsUntilAnotherLevel)
{
    Wide_Level(300);
    Checkpoint* bell = Put_Bell(304, GROUND_Y - 32);
    Level_Tick();
    EXPECT_TRUE(bell->lit);
    EXPECT_TRUE(level.checkpoint_lit);
    EXPECT_EQ(Plays(Application::CHECKPOINT_SE), 1);
    EXPECT_EQ(bell->bitmap, Application::CHECKPOINT_LIT_BM);
    Level_Tick();
    EXPECT_EQ(Plays(Application::CHECKPOINT_SE), 1) << "a bell rings once";

    // A life lost further on: the hero starts at the bell, standing where
    // the post stands, and the bell stays lit.
    hero->x = 600;
    hero->dead = true;
    hero->y = 2000;
    Level_Tick();
    EXPECT_FALSE(hero->dead);
    EXPECT_EQ(hero->x, 304);
    EXPECT_EQ(hero->y, GROUND_Y - 24);
    EXPECT_TRUE(bell->lit);

    // Through a pipe to level 1, whose own bell had been rung: it is out.
    Level& next = *application.levels[1];
    Add_Hero(next, 32, 100);
    Checkpoint* next_bell = Add_Character(next, new Checkpoint(), 64, 100);
    next_bell->lit = next.checkpoint_lit = true;
    level.pointers[0] = 1;
    hero->went_down_pipe = true;
    hero->pipe_screen = 0;
    Level_Tick();
    EXPECT_EQ(application.current_level, 1);
    EXPECT_FALSE(next.checkpoint_lit);
    EXPECT_FALSE(next_bell->lit);
}

TEST_F(Forgiving_Play, AGhostNeverPushesTheHeroBehindTheBellAndNotAtAllWhenAsked)
{
    Wide_Level(600);
    hero->start_x = 100;
    level.checkpoint_lit = true;
    level.restart_x = 400;
    Place(new Ghost(), 600, GROUND_Y - 28, "data\\bump_maps\\ghost.map");
    for (bool no_push : {false, true})
    {
        application.play_options.no_ghost_push = no_push;
        int furthest_back = 600;
        for (unsigned seed = 1; seed <= 60; seed++)
        {
            std::srand(seed);
            hero->x = 600;
            hero->hurt = false;
            hero->Process(application, level);
            furthest_back = std::min(furthest_back, hero->x);
        }
        if (no_push)
            EXPECT_EQ(furthest_back, 600);
        else
        {
            EXPECT_EQ(furthest_back, 400) << "pushes that would go behind the bell stop at it";
        }
    }
}

TEST_F(Forgiving_Play, GameSpeedLengthensTheTickButNotWhatItComputes)
{
    application.play_options.speed = 50;
    application.Apply_Tick_Period();
    EXPECT_EQ(application.tick_period, 60);
    application.play_options.speed = 70;
    application.Apply_Tick_Period();
    EXPECT_EQ(application.tick_period, 42);

    // The same campaign level under the same keys at both speeds.
    std::vector<std::vector<int>> runs;
    for (int speed : {100, 50})
    {
        application.play_options.speed = speed;
        application.Rebuild_Levels();
        std::srand(5);
        Level& played = *application.levels[1];
        std::vector<int> trace;
        for (int tick = 0; tick < 400; tick++)
        {
            application.signals = tick % 40 < 20 ? Application::SIGNAL_RIGHT | Application::SIGNAL_UP
                                                 : Application::SIGNAL_FLY | Application::SIGNAL_RIGHT;
            played.showing_message = false;
            application.current_level = 1;
            played.Process(application);
            Bluejay* walker = played.Hero();
            trace.insert(trace.end(), {walker->x, walker->y, walker->strength});
        }
        runs.push_back(trace);
    }
    EXPECT_EQ(runs[0], runs[1]);
}

TEST_F(Forgiving_Play, EndlessFlightAndInvincibility)
{
    Wide_Level(300);
    // The 900th tick in the air costs a mark, unless flight is endless.
    for (bool endless : {false, true})
    {
        application.play_options.endless_flight = endless;
        hero->y = 40;
        hero->strength = 3;
        hero->state = Bluejay::FLYING;
        hero->flight_timer = Bluejay::FLIGHT_TICKS_PER_STRENGTH - 1;
        application.signals = Application::SIGNAL_FLY;
        hero->Process(application, level);
        EXPECT_EQ(hero->state, Bluejay::FLYING);
        EXPECT_EQ(hero->strength, endless ? 3 : 2) << "endless " << endless;
    }
    application.play_options.endless_flight = false;

    // A creature and boiling mud cost nothing to an invincible hero.
    application.play_options.invincible = true;
    hero->y = GROUND_Y - 24;
    hero->strength = 3;
    application.signals = 0;
    Black_Bird* bird = Place(new Black_Bird(), 312, GROUND_Y - 24, "data\\bump_maps\\black_bird.map");
    hero->Process(application, level);
    EXPECT_TRUE(hero->hurt);
    EXPECT_EQ(hero->strength, 3);
    bird->x = 2000;
    hero->hurt = false;
    Place(new Boiling_Mud(), 296, GROUND_Y - 16, "data\\bump_maps\\boiling_mud.map");
    hero->Process(application, level);
    EXPECT_TRUE(hero->hurt) << "the mud reached the hero";
    EXPECT_EQ(hero->strength, 3);

    // A fall out of the level puts it back at its start, its lives kept.
    hero->hurt = false;
    int lives = hero->lives;
    hero->x = 700;
    hero->y = 2000;
    Level_Tick();
    EXPECT_FALSE(hero->dead);
    EXPECT_EQ(hero->lives, lives);
    EXPECT_EQ(hero->x, hero->start_x);
    EXPECT_EQ(hero->y, hero->start_y);
    EXPECT_TRUE(application.play_options.Any_Assist());
}

TEST_F(Forgiving_Play, FlightRefusedForWantOfStrengthIsHeardOnceAPressAndFlashes)
{
    Wide_Level(300);
    hero->strength = 1;
    for (int tick = 0; tick < 5; tick++)
    {
        application.signals = Application::SIGNAL_FLY;
        hero->Process(application, level);
    }
    EXPECT_EQ(Plays(Application::FLIGHT_REFUSED_SE), 1);
    EXPECT_GT(hero->refused_flash_ticks, 0);
    EXPECT_NE(hero->state, Bluejay::FLYING);
}

TEST_F(Forgiving_Play, TheStatusLineShowsItsBackingTheAssistMarkAndTheTimer)
{
    Wide_Level(300);
    level.background = Application::GRASS_BACKGROUND_BM;
    Level_Tick();
    BITMAP* plain = create_bitmap(Application::CANVAS_WIDTH, Application::CANVAS_HEIGHT);
    blit(application.canvas, plain, 0, 0, 0, 0, Application::CANVAS_WIDTH, Application::CANVAS_HEIGHT);

    application.play_options.status_backing = true;
    application.play_options.show_timer = true;
    application.play_options.invincible = true;
    application.tally.level_ticks = 100;
    Level_Tick();
    // Under the empty part of the top row the backing darkens the sky.
    int before = getpixel(plain, 120, 4);
    int after = getpixel(application.canvas, 120, 4);
    EXPECT_LT(getr(after) + getg(after) + getb(after), getr(before) + getg(before) + getb(before));
    auto differs = [&](int x, int y, int width, int height) {
        int count = 0;
        for (int row = y; row < y + height; row++)
            for (int column = x; column < x + width; column++)
                if (getpixel(application.canvas, column, row) != getpixel(plain, column, row))
                    count++;
        return count;
    };
    EXPECT_GT(differs(Level::STATUS_ASSIST_X, 1, 48, 8), 100) << "the assist mark";
    EXPECT_GT(differs(1, Level::STATUS_TIMER_ROW, 120, 8), 100) << "the timer";
    destroy_bitmap(plain);

    char text[Level_Tally::TIME_TEXT];
    Level_Tally::Format_Time(100, text, sizeof(text));
    EXPECT_STREQ(text, "0:03.00");
    Level_Tally::Format_Time(2001, text, sizeof(text));
    EXPECT_STREQ(text, "1:00.03");
    Level_Tally::Format_Time(123456, text, sizeof(text));
    EXPECT_STREQ(text, "61:43.68");
}

TEST_F(Forgiving_Play, TheTallyCountsWhatWasEatenGrabbedAndBeatenAndTheBestsAreKept)
{
    // A level of three cherries, two eggs and three creatures, its hero on a
    // pipe to level 1.
    Temporary_Directory home;
    application.progress_path = home.Path("progress.txt");
    Load_Map("2 32 136\n4 100 176\n4 140 176\n1 160 168\n5 180 100\n18 200 168\n9 220 100\n",
             "1006 32 160\n1005 64 192\n1004 100 100\n1004 120 100\n1015 140 100\n");
    level.pointers[0] = 1;
    Add_Hero(*application.levels[1], 32, 100);
    application.demo_mode = false;
    application.tally.Start_Game();
    application.current_level = 0;
    Release_All_Keys();
    for (int tick = 0; tick < 30; tick++)
        application.Run_Play_Tick();

    // What the hero made of it: one cherry and the golden one, an egg, two
    // creatures beaten, a life lost on the way.
    level.platforms[2]->taken = true;
    level.platforms[4]->taken = true;
    level.characters[1]->hurt = true;
    level.characters[3]->strength = 0;
    level.characters[4]->strength = 0;
    application.tally.lives_lost = 1;
    for (int tick = 0; tick < 60 && application.current_level == 0; tick++)
    {
        Application::Press_Keys_For_Signals(Application::SIGNAL_DOWN);
        application.Run_Play_Tick();
    }
    ASSERT_EQ(application.current_level, 1);
    const Tally_Counts& shown = application.tally.shown;
    EXPECT_EQ(shown.cherries, 2);
    EXPECT_EQ(shown.all_cherries, 3);
    EXPECT_EQ(shown.eggs, 1);
    EXPECT_EQ(shown.all_eggs, 2);
    EXPECT_EQ(shown.defeated, 2);
    EXPECT_EQ(shown.all_creatures, 3) << "a ghost is no creature to beat";
    EXPECT_EQ(shown.lives_lost, 1);
    EXPECT_GT(shown.ticks, 30);
    EXPECT_EQ(application.tally.level_ticks, 0);
    EXPECT_GT(application.tally.show_ticks, 100);
    // A key at once leaves it up; one after half a second sends it away.
    auto press = [&](int key) {
        Application::Press_Keys_For_Signals(key);
        application.Run_Play_Tick();
        Application::Press_Keys_For_Signals(0);
        application.Run_Play_Tick();
    };
    press(Application::SIGNAL_RIGHT);
    EXPECT_GT(application.tally.show_ticks, 100);
    for (int tick = 0; tick < 20; tick++)
        application.Run_Play_Tick();
    press(Application::SIGNAL_LEFT);
    EXPECT_EQ(application.tally.show_ticks, 0);

    // Kept: the level's time and eggs, read back from the file with a
    // file of today's shape still read.
    Progress kept;
    ASSERT_TRUE(kept.Load(application.progress_path));
    EXPECT_EQ(kept.level_best[Progress::PLAIN][0].ticks, shown.ticks);
    EXPECT_EQ(kept.level_best[Progress::PLAIN][0].eggs, 1);
    EXPECT_FALSE(kept.level_best[Progress::PLAIN][0].all_eggs);
    EXPECT_EQ(kept.level_best[Progress::ASSISTED][0].ticks, 0);
    std::string today = home.Write("today.txt", "bluejay progress 1\nlevel 9\nbest 12345\n");
    ASSERT_TRUE(kept.Load(today));
    EXPECT_EQ(kept.best_score, 12345);

    // An assisted game is kept apart, and so is a whole game's time.
    Progress sheet;
    EXPECT_TRUE(sheet.Note_Level(5, true, 900, 2, 2));
    EXPECT_FALSE(sheet.Note_Level(5, true, 950, 1, 2));
    EXPECT_TRUE(sheet.Note_Game(false, 81234));
    EXPECT_FALSE(sheet.Note_Game(false, 90000));
    sheet.assisted_best_score = 4100;
    std::string reason;
    ASSERT_TRUE(sheet.Save(home.Path("sheet.txt"), reason)) << reason;
    Progress read;
    ASSERT_TRUE(read.Load(home.Path("sheet.txt")));
    EXPECT_EQ(read.level_best[Progress::ASSISTED][5].ticks, 900);
    EXPECT_TRUE(read.level_best[Progress::ASSISTED][5].all_eggs);
    EXPECT_EQ(read.level_best[Progress::PLAIN][5].ticks, 0);
    EXPECT_EQ(read.best_game_ticks[Progress::PLAIN], 81234);
    EXPECT_EQ(read.assisted_best_score, 4100);
}
