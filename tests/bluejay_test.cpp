// The hero's movement: jumping, flying, gliding, turning, the level's edges
// and ceilings, pipes, deaths, Reset and Copy_Status, its mirrored shapes
// and its blinking. Each test runs the hero one tick at a time against the
// real pictures and shapes; the signal word is set directly, or made from
// held keys as the game loop does.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "application.h"
#include "bluejay.h"
#include "level.h"
#include "platform.h"
#include "test_support.h"

namespace
{
constexpr int UP = Application::SIGNAL_UP;
constexpr int FLY = Application::SIGNAL_FLY;
constexpr int LEFT = Application::SIGNAL_LEFT;
constexpr int RIGHT = Application::SIGNAL_RIGHT;
constexpr int DOWN = Application::SIGNAL_DOWN;
constexpr int DELETE = Application::SIGNAL_DELETE;

// Ground tiles lie at y = 192, so a hero standing on them is at y = 168.
constexpr int GROUND_Y = 192;
constexpr int STANDING_Y = 168;
} // namespace

class BluejayTest : public Loaded_Application_Test
{
protected:
    Level& level = *application.levels[0];
    Bluejay* hero = nullptr;

    void SetUp() override
    {
        Release_All_Keys();
        ASSERT_STREQ(application.missing_resource, "");
    }

    void TearDown() override { Release_All_Keys(); }

    // A hero on a one-screen meadow of ground.
    void Meadow(int x = 64, int y = STANDING_Y)
    {
        hero = Add_Hero(level, x, y);
        Add_Ground(level, 0, 224, GROUND_Y);
    }

    void Tick(int signals = 0)
    {
        application.signals = signals;
        hero->Process(application, level);
    }

    void Ticks(int count, int signals = 0)
    {
        for (int i = 0; i < count; i++)
            Tick(signals);
    }

    // One tick with keys held, through the game's own key reading.
    void Tick_Holding(std::initializer_list<int> held)
    {
        Release_All_Keys();
        for (int code : held)
            key[code] = 1;
        application.Generate_Signals();
        hero->Process(application, level);
    }

    // A whole level tick, camera and pipes included.
    void Level_Tick(int signals = 0)
    {
        application.signals = signals;
        level.Process(application);
    }

    int Plays(int sound) const { return application.sound_effect_plays[sound]; }
};

// ---------------------------------------------------------------- jumping

class BluejayJump : public BluejayTest
{
};

TEST_F(BluejayJump, RisesFourPixelsATickForTwelveTicksThenGlides)
{
    Meadow();
    for (int tick = 1; tick <= 12; tick++)
    {
        Tick(UP);
        EXPECT_EQ(hero->state, Bluejay::JUMPING) << "tick " << tick;
        EXPECT_EQ(hero->y, STANDING_Y - 4 * tick) << "tick " << tick;
        EXPECT_EQ(hero->x, 64 + 4 * tick) << "the hero flies forward as it rises";
    }
    EXPECT_EQ(hero->y, 120);
    EXPECT_EQ(hero->jump_top, 120);
    Tick(UP);
    EXPECT_EQ(hero->state, Bluejay::GLIDING);
    EXPECT_EQ(hero->y, 124);
    EXPECT_EQ(hero->bitmap, Application::BLUEJAY_WINGS_OUT_BM);
}

TEST_F(BluejayJump, HoldingUpGivesOneJumpPerPress)
{
    Meadow(16);
    int highest = STANDING_Y;
    for (int tick = 0; tick < 40; tick++)
    {
        Tick_Holding({KEY_UP});
        highest = std::min(highest, hero->y);
    }
    EXPECT_EQ(highest, 120);
    EXPECT_EQ(hero->state, Bluejay::IDLE);
    EXPECT_EQ(hero->y, STANDING_Y);
    int landed_x = hero->x;
    Ticks(5, UP);
    EXPECT_EQ(hero->y, STANDING_Y) << "no second jump while the key stays down";
    EXPECT_EQ(hero->x, landed_x);

    Tick_Holding({});
    Tick_Holding({KEY_UP});
    EXPECT_EQ(hero->state, Bluejay::JUMPING);
    EXPECT_EQ(hero->y, STANDING_Y - 4);
}

TEST_F(BluejayJump, ReleasingUpEndsTheRiseEarly)
{
    Meadow();
    Ticks(3, UP);
    EXPECT_EQ(hero->y, 156);
    Tick();
    EXPECT_EQ(hero->state, Bluejay::GLIDING);
    EXPECT_EQ(hero->y, 160);
    EXPECT_TRUE(hero->jump_released);
    // Pressing again in the air does not start a new jump.
    Tick(UP);
    EXPECT_EQ(hero->state, Bluejay::GLIDING);
    EXPECT_EQ(hero->y, 164);
}

TEST_F(BluejayJump, ACeilingEndsTheRise)
{
    Meadow();
    Add_Ground(level, 0, 224, 104); // a ceiling reaching down to y = 135
    Ticks(7, UP);
    EXPECT_EQ(hero->y, 140);
    Tick(UP);
    EXPECT_EQ(hero->y, 136);
    Tick(UP);
    EXPECT_EQ(hero->state, Bluejay::GLIDING);
    EXPECT_EQ(hero->y, 140);
}

TEST_F(BluejayJump, JumpingIntoTheCornerOfABlockEndsTheRise)
{
    Meadow();
    // A block touching only the top-right corner of the hero's body.
    Add_Platform(level, Level::BROWN_BLOCK, 84, 152);
    Tick(UP);
    EXPECT_EQ(hero->state, Bluejay::GLIDING);
    EXPECT_EQ(hero->x, 64);
    EXPECT_EQ(hero->y, STANDING_Y);
}

// ----------------------------------------------------------------- flying

class BluejayFlight : public BluejayTest
{
};

TEST_F(BluejayFlight, SpaceWithUpOnTheGroundFlies)
{
    Meadow();
    Tick(UP | FLY);
    EXPECT_EQ(hero->state, Bluejay::FLYING);
    EXPECT_EQ(hero->y, 164);
    for (int tick = 0; tick < 10; tick++)
    {
        Tick(FLY);
        EXPECT_EQ(hero->state, Bluejay::FLYING);
        EXPECT_EQ(hero->bitmap, Application::BLUEJAY_WINGS_IN_BM + (hero->timer & 1));
    }
    // Flight has no height limit of its own: it rises past a jump's top.
    Ticks(10, FLY);
    EXPECT_EQ(hero->y, 164 - 80);
    EXPECT_EQ(hero->flight_timer, 21u);
    Tick();
    EXPECT_EQ(hero->state, Bluejay::GLIDING);
    EXPECT_EQ(hero->y, 88);
}

TEST_F(BluejayFlight, EveryNineHundredTicksOfFlightCostOneStrength)
{
    Meadow();
    hero->strength = 4;
    Tick(UP | FLY);
    // The hero soon reaches the top of the level and keeps flying there.
    Ticks(898, FLY);
    EXPECT_EQ(hero->state, Bluejay::FLYING);
    EXPECT_EQ(hero->y, 0);
    EXPECT_EQ(hero->x, 232) << "the right end of the level stops it";
    EXPECT_EQ(hero->flight_timer, 899u);
    EXPECT_EQ(hero->strength, 4);
    Tick(FLY);
    EXPECT_EQ(hero->strength, 3);
    Ticks(899, FLY);
    EXPECT_EQ(hero->strength, 3);
    Tick(FLY);
    EXPECT_EQ(hero->strength, 2);
    EXPECT_EQ(hero->state, Bluejay::FLYING);
}

TEST_F(BluejayFlight, NoFlightAtStrengthOne)
{
    Meadow();
    hero->strength = 1;
    Tick(FLY);
    EXPECT_EQ(hero->state, Bluejay::IDLE);
    EXPECT_EQ(hero->y, STANDING_Y);
    // A jump still works, but Space does not carry it on.
    Tick(UP | FLY);
    EXPECT_EQ(hero->state, Bluejay::JUMPING);
}

TEST_F(BluejayFlight, WithStrengthTwoFlightTurnsToGlidingWhenTheCostLeavesOne)
{
    Meadow(64, 100);
    hero->strength = 2;
    hero->flight_timer = 898;
    Tick(FLY);
    EXPECT_EQ(hero->state, Bluejay::FLYING);
    EXPECT_EQ(hero->y, 96);
    Tick(FLY);
    EXPECT_EQ(hero->strength, 1);
    EXPECT_EQ(hero->state, Bluejay::GLIDING);
    EXPECT_EQ(hero->y, 100);
    Tick(FLY);
    EXPECT_EQ(hero->state, Bluejay::GLIDING);
    EXPECT_EQ(hero->y, 104);
}

TEST_F(BluejayFlight, AHurtHeroCannotFly)
{
    Meadow(64, 100);
    Ticks(2, FLY);
    ASSERT_EQ(hero->state, Bluejay::FLYING);
    hero->hurt = true;
    hero->timer = 0;
    Tick(FLY);
    EXPECT_EQ(hero->state, Bluejay::GLIDING);
    EXPECT_EQ(hero->y, 96);

    hero->y = STANDING_Y;
    Ticks(2);
    ASSERT_EQ(hero->state, Bluejay::IDLE);
    Tick(FLY);
    EXPECT_EQ(hero->state, Bluejay::IDLE);
    EXPECT_EQ(hero->y, STANDING_Y);
}

TEST_F(BluejayFlight, FlightStopsUnderACeilingButGoesOn)
{
    Meadow(64, 152);
    Add_Platform(level, Level::GROUND, 64, 112); // ends at y = 143
    Add_Platform(level, Level::GROUND, 96, 112);
    Ticks(2, FLY);
    EXPECT_EQ(hero->y, 144);
    Tick(FLY);
    EXPECT_EQ(hero->state, Bluejay::FLYING);
    EXPECT_EQ(hero->y, 144);
    EXPECT_EQ(hero->x, 76);
    // Under a ceiling flight cannot begin: the hero glides instead.
    Tick();
    ASSERT_EQ(hero->state, Bluejay::GLIDING);
    hero->y = 144;
    Tick(FLY);
    EXPECT_EQ(hero->state, Bluejay::GLIDING);
    EXPECT_EQ(hero->y, 148);
}

TEST_F(BluejayFlight, TheTopOfAOneScreenLevelIsYZero)
{
    Meadow(64, 8);
    Ticks(4, FLY);
    EXPECT_EQ(hero->y, 0);
    EXPECT_EQ(hero->state, Bluejay::FLYING);
    EXPECT_EQ(hero->x, 80);
    // A jump that reaches the top ends there.
    hero->state = Bluejay::JUMPING;
    hero->jump_top = -40;
    hero->y_direction = -1;
    Tick(UP);
    EXPECT_EQ(hero->state, Bluejay::GLIDING);
    EXPECT_EQ(hero->y, 4);
}

TEST_F(BluejayFlight, TheTopOfATallLevelIsItsHighestRow)
{
    hero = Add_Hero(level, 64, 8);
    level.screens_high = 2;
    Ticks(3, FLY);
    EXPECT_EQ(hero->y, -4) << "y = 0 is no ceiling in a two-row level";

    level.scroll_y = -224;
    hero->y = -216;
    Ticks(4, FLY);
    EXPECT_EQ(hero->y, -224);
    EXPECT_EQ(hero->state, Bluejay::FLYING);
    Tick();
    EXPECT_EQ(hero->state, Bluejay::GLIDING);
    EXPECT_EQ(hero->y, -220);

    hero->y = -224;
    hero->state = Bluejay::JUMPING;
    hero->jump_top = -300;
    hero->y_direction = -1;
    Tick(UP);
    EXPECT_EQ(hero->state, Bluejay::GLIDING);
    EXPECT_EQ(hero->y, -220);
}

// ----------------------------------------------- gliding, turning, edges

class BluejayGlide : public BluejayTest
{
};

TEST_F(BluejayGlide, GlidesForwardAndDownAndAsksTheCameraToFollow)
{
    Meadow(64, 100);
    Tick();
    EXPECT_EQ(hero->state, Bluejay::GLIDING);
    EXPECT_EQ(hero->bitmap, Application::BLUEJAY_WINGS_OUT_BM);
    EXPECT_EQ(hero->x, 68);
    EXPECT_EQ(hero->y, 104);
    EXPECT_TRUE(level.scroll_x_requested);
    EXPECT_EQ(level.scroll_x_step, 1);
    EXPECT_TRUE(level.scroll_y_requested);
    EXPECT_EQ(level.scroll_y_step, 1);

    Tick(LEFT);
    EXPECT_EQ(hero->x, 64);
    EXPECT_EQ(hero->y, 108);
    EXPECT_EQ(level.scroll_x_step, -1);
}

TEST_F(BluejayGlide, LandingMakesItStand)
{
    Meadow(64, 160);
    Ticks(2);
    EXPECT_EQ(hero->x, 72);
    EXPECT_EQ(hero->y, STANDING_Y);
    EXPECT_EQ(hero->state, Bluejay::GLIDING);
    Tick();
    EXPECT_EQ(hero->state, Bluejay::IDLE);
    EXPECT_EQ(hero->x, 72);
    Ticks(5, RIGHT);
    EXPECT_EQ(hero->bitmap, Application::BLUEJAY_STANDING_BM);
    EXPECT_EQ(hero->x, 72) << "a standing hero never walks";
    EXPECT_EQ(hero->y, STANDING_Y);
    EXPECT_EQ(hero->y_direction, 1);
}

TEST_F(BluejayGlide, DropsStraightPastTheTopCornerOfABlock)
{
    Meadow(64, 100);
    Add_Platform(level, Level::BROWN_BLOCK, 84, 124); // touches the lower-right corner
    Tick();
    EXPECT_EQ(hero->x, 64);
    EXPECT_EQ(hero->y, 104);
    Tick();
    EXPECT_EQ(hero->x, 64) << "now the block is beside the hero";
    EXPECT_EQ(hero->y, 108);
}

TEST_F(BluejayGlide, TurnsWithoutMovingOnTheGround)
{
    Meadow();
    Tick();
    ASSERT_EQ(hero->state, Bluejay::IDLE);
    Tick(LEFT);
    EXPECT_EQ(hero->x_direction, -1);
    Tick(RIGHT);
    EXPECT_EQ(hero->x_direction, 1);
    Tick(LEFT | RIGHT);
    EXPECT_EQ(hero->x_direction, -1) << "Left wins over Right";
    Tick(LEFT | RIGHT);
    EXPECT_EQ(hero->x_direction, -1);
    EXPECT_EQ(hero->x, 64);
    EXPECT_EQ(hero->y, STANDING_Y);
    EXPECT_EQ(hero->state, Bluejay::IDLE);
}

TEST_F(BluejayGlide, TheLeftEndOfTheLevelBlocks)
{
    Meadow(4, 100);
    Tick(LEFT);
    EXPECT_EQ(hero->x, 0);
    Tick(LEFT);
    EXPECT_EQ(hero->x, 0);
    EXPECT_EQ(hero->y, 108) << "it still glides down";
}

TEST_F(BluejayGlide, TheRightEndOfTheLevelBlocks)
{
    // Two screens wide: the last x is 2 * 256 - 24.
    hero = Add_Hero(level, 484, 100);
    level.screens_wide = 2;
    level.scroll_x = 256;
    Tick(RIGHT);
    EXPECT_EQ(hero->x, 488);
    Tick(RIGHT);
    EXPECT_EQ(hero->x, 488);
    EXPECT_EQ(hero->y, 108);
    // Flying does not get past it either.
    Ticks(3, FLY);
    EXPECT_EQ(hero->x, 488);
    EXPECT_EQ(hero->y, 96);
}

// ------------------------------------------------------------------ pipes

class BluejayPipe : public BluejayTest
{
protected:
    Temporary_Directory directory;

    // A three-screen level: ground, a pipe of the given type at pipe_x
    // (y = 160), the hero standing on it, and the pipe pointers given.
    void Pipe_Level(int pipe_type, int pipe_x, const std::string& pointers)
    {
        std::string map = "0 0\n2 " + std::to_string(pipe_x + 8) + " 136\n-1\n";
        for (int x = 0; x < 768; x += 32)
            map += "1005 " + std::to_string(x) + " 192\n";
        map += std::to_string(pipe_type) + " " + std::to_string(pipe_x) + " 160\n-1\n" + pointers + "\n";
        level.Load(directory.Write("pipe.map", map).c_str());
        hero = level.Hero();
        ASSERT_NE(hero, nullptr);
        level.scroll_x = pipe_x / 256 * 256;
    }
};

TEST_F(BluejayPipe, DownOnAPipeSinksIntoIt)
{
    Pipe_Level(Level::PIPE, 64, "");
    Tick(LEFT);
    ASSERT_EQ(hero->state, Bluejay::IDLE);
    Tick(DOWN);
    EXPECT_EQ(hero->state, Bluejay::GOING_DOWN_PIPE);
    EXPECT_EQ(Plays(Application::WARP_SE), 1);
    EXPECT_EQ(hero->x, 68);
    EXPECT_EQ(hero->x_direction, 1);
    EXPECT_EQ(hero->pipe_x, 64);
    EXPECT_EQ(hero->pipe_y, 160);
    EXPECT_FALSE(hero->local_pipe);
    EXPECT_EQ(hero->y, 140);
    for (int y = 144; y <= 160; y += 4)
    {
        Tick();
        EXPECT_EQ(hero->y, y);
        EXPECT_FALSE(hero->went_down_pipe);
    }
    Tick();
    EXPECT_TRUE(hero->went_down_pipe);
    EXPECT_EQ(hero->pipe_screen, 0);
    EXPECT_EQ(hero->x, 68);
    EXPECT_EQ(Plays(Application::WARP_SE), 1);
}

TEST_F(BluejayPipe, SignalsAreIgnoredWhileGoingDown)
{
    Pipe_Level(Level::PIPE, 64, "");
    Tick(DOWN);
    Ticks(3, LEFT | UP | FLY | DELETE | DOWN);
    EXPECT_EQ(hero->state, Bluejay::GOING_DOWN_PIPE);
    EXPECT_EQ(hero->x_direction, 1);
    EXPECT_EQ(hero->x, 68);
    EXPECT_EQ(hero->y, 152);
    EXPECT_EQ(hero->strength, 3);
    EXPECT_FALSE(hero->hurt);
    EXPECT_EQ(Plays(Application::WARP_SE), 1);
}

TEST_F(BluejayPipe, DownAnywhereButOnAPipeDoesNothing)
{
    Meadow();
    Ticks(3, DOWN);
    EXPECT_EQ(hero->state, Bluejay::IDLE);
    EXPECT_EQ(hero->y, STANDING_Y);
    // In the air right over a pipe.
    Add_Platform(level, Level::PIPE, 128, 160);
    hero->x = 136;
    hero->y = 128;
    Tick(DOWN);
    EXPECT_EQ(hero->state, Bluejay::IDLE) << "a standing hero whose support is gone drops straight";
    EXPECT_EQ(hero->x, 136);
    EXPECT_EQ(hero->y, 132);
    EXPECT_EQ(Plays(Application::WARP_SE), 0);
}

TEST_F(BluejayPipe, ALocalPipeIsMarkedAndItsScreenIsThePipes)
{
    Pipe_Level(Level::LOCAL_PIPE, 320, "");
    Tick(DOWN);
    EXPECT_TRUE(hero->local_pipe);
    EXPECT_EQ(hero->x, 324);
    Ticks(6);
    EXPECT_TRUE(hero->went_down_pipe);
    EXPECT_EQ(hero->pipe_screen, 1);
}

TEST_F(BluejayPipe, ALocalPipeLeadsToTheScreenOfItsPointer)
{
    Pipe_Level(Level::LOCAL_PIPE, 320, "9 2");
    Level_Tick(DOWN);
    for (int tick = 0; tick < 6; tick++)
        Level_Tick();
    EXPECT_EQ(hero->x, 2 * 256 + 16);
    EXPECT_EQ(hero->y, 128);
    EXPECT_EQ(hero->state, Bluejay::GLIDING);
    EXPECT_FALSE(hero->went_down_pipe);
    EXPECT_FALSE(hero->local_pipe);
    EXPECT_EQ(level.scroll_x, 2 * 256 + 16 - 128);
    EXPECT_EQ(application.current_level, 0);
    Level_Tick();
    EXPECT_EQ(hero->y, 132) << "it glides on from its new place";
}

TEST_F(BluejayPipe, APipeToAnotherLevelCarriesTheStatusThere)
{
    Pipe_Level(Level::PIPE, 64, "5");
    Level& next = *application.levels[5];
    Bluejay* next_hero = Add_Hero(next, 40, 100);
    next.scroll_x = 99;
    next.starting = false;
    hero->strength = 4;
    hero->lives = 2;
    hero->eggs = 3;
    hero->points = 700;
    hero->flight_timer = 123;

    Level_Tick(DOWN);
    for (int tick = 0; tick < 5; tick++)
        Level_Tick();
    EXPECT_EQ(application.current_level, 0);
    Level_Tick();
    EXPECT_EQ(application.current_level, 5);
    EXPECT_TRUE(next.starting);
    EXPECT_EQ(next.scroll_x, 0);
    EXPECT_EQ(next_hero->strength, 4);
    EXPECT_EQ(next_hero->lives, 2);
    EXPECT_EQ(next_hero->eggs, 3);
    EXPECT_EQ(next_hero->points, 700);
    EXPECT_EQ(next_hero->flight_timer, 123u);
    EXPECT_EQ(next_hero->x, 40);
    EXPECT_EQ(next_hero->y, 100);
}

TEST_F(BluejayPipe, APipeThatLeadsNowhereBringsTheHeroBackUp)
{
    Pipe_Level(Level::PIPE, 64, "7");
    // Level 7 has no hero; the others are outside the game's levels.
    for (int destination : {7, 120, -1, 100000})
    {
        level.pointers[0] = destination;
        Level_Tick(DOWN);
        ASSERT_EQ(hero->state, Bluejay::GOING_DOWN_PIPE) << destination;
        for (int tick = 0; tick < 6; tick++)
            Level_Tick();
        EXPECT_EQ(application.current_level, 0) << destination;
        EXPECT_FALSE(hero->went_down_pipe) << destination;
        EXPECT_EQ(hero->state, Bluejay::IDLE) << destination;
        EXPECT_EQ(hero->x, 68) << destination;
        EXPECT_EQ(hero->y, 136) << destination;
        Level_Tick();
        EXPECT_EQ(hero->y, 136) << "it stands on the pipe again, " << destination;
        EXPECT_EQ(hero->state, Bluejay::IDLE);
    }
}

TEST_F(BluejayPipe, APipeBeyondTheFiftiethScreenLeadsNowhere)
{
    // The pointers cover 50 screen columns; this pipe stands in the 61st.
    int pipe_x = 60 * 256 + 64;
    hero = Add_Hero(level, pipe_x + 8, 136);
    Platform* pipe = Add_Platform(level, Level::LOCAL_PIPE, pipe_x, 160);
    level.screens_wide = 61;
    for (int type : {Level::LOCAL_PIPE, Level::PIPE})
    {
        pipe->type = type;
        Level_Tick(DOWN);
        ASSERT_EQ(hero->state, Bluejay::GOING_DOWN_PIPE);
        for (int tick = 0; tick < 6; tick++)
            Level_Tick();
        EXPECT_EQ(hero->pipe_screen, 60);
        EXPECT_FALSE(hero->went_down_pipe);
        EXPECT_EQ(hero->state, Bluejay::IDLE);
        EXPECT_EQ(hero->x, pipe_x + 4);
        EXPECT_EQ(hero->y, 136);
        EXPECT_EQ(application.current_level, 0);
    }
}

TEST_F(BluejayPipe, AHeroOnASinkingPipeSinksWithIt)
{
    Pipe_Level(Level::PIPE, 64, "");
    Level_Tick();
    ASSERT_EQ(hero->state, Bluejay::IDLE);
    level.signal = Level::SIGNAL_LOWER_PIPES;
    Platform* pipe = level.platforms[level.number_of_platforms - 1];
    for (int tick = 0; tick < 8; tick++)
    {
        Level_Tick();
        EXPECT_EQ(hero->y, pipe->y - 24);
        EXPECT_EQ(hero->state, Bluejay::IDLE);
    }
    EXPECT_EQ(pipe->y, 176);
}

// ----------------------------------------------------------------- deaths

class BluejayDeath : public BluejayTest
{
};

TEST_F(BluejayDeath, OutOfStrengthTheHeroFallsThroughEverything)
{
    Meadow();
    hero->strength = 0;
    Tick();
    EXPECT_TRUE(hero->dead);
    EXPECT_EQ(hero->lives, 2);
    EXPECT_EQ(hero->bitmap, Application::BLUEJAY_HURT_BM);
    EXPECT_EQ(hero->y, STANDING_Y + 4) << "through the ground";
    EXPECT_EQ(Plays(Application::BLUEJAY_DIES_SE), 1);
    Ticks(30, UP | FLY);
    EXPECT_EQ(hero->y, Application::CANVAS_HEIGHT);
    EXPECT_EQ(hero->lives, 2);
    EXPECT_EQ(Plays(Application::BLUEJAY_DIES_SE), 1);
}

TEST_F(BluejayDeath, FallingOutOfTheBottomCostsOneLifeSilently)
{
    hero = Add_Hero(level, 64, 222);
    Tick();
    EXPECT_EQ(hero->y, Application::CANVAS_HEIGHT);
    EXPECT_TRUE(hero->dead);
    EXPECT_EQ(hero->lives, 2);
    Ticks(5);
    EXPECT_EQ(hero->y, Application::CANVAS_HEIGHT);
    EXPECT_EQ(hero->lives, 2);
    EXPECT_EQ(Plays(Application::BLUEJAY_DIES_SE), 0);
}

TEST_F(BluejayDeath, DGivesUpALifeOnTheNextTick)
{
    Meadow();
    Tick_Holding({KEY_D});
    EXPECT_TRUE(hero->hurt);
    EXPECT_EQ(hero->strength, 0);
    EXPECT_FALSE(hero->dead);
    EXPECT_EQ(hero->lives, 3);
    Tick_Holding({});
    EXPECT_TRUE(hero->dead);
    EXPECT_EQ(hero->lives, 2);
    EXPECT_EQ(Plays(Application::BLUEJAY_DIES_SE), 1);
}

TEST_F(BluejayDeath, ALostLifeStartsTheHeroAgainAtItsStart)
{
    Meadow(64, 100);
    hero->flight_timer = 50;
    Level_Tick(DELETE);
    for (int tick = 0; tick < 40 && hero->dead == false; tick++)
        Level_Tick();
    for (int tick = 0; tick < 40 && hero->dead; tick++)
        Level_Tick();
    EXPECT_FALSE(hero->dead);
    EXPECT_EQ(hero->lives, 2);
    EXPECT_EQ(hero->strength, 3);
    EXPECT_FALSE(hero->hurt);
    EXPECT_EQ(hero->flight_timer, 0u);
    EXPECT_EQ(hero->x, 64);
    EXPECT_EQ(hero->y, 100);
    EXPECT_FALSE(application.game_over);
}

// ----------------------------------------------------- Reset, Copy_Status

class BluejayStatus : public BluejayTest
{
};

TEST_F(BluejayStatus, StartsAsAGlidingHeroWithThreeLives)
{
    Bluejay fresh;
    EXPECT_EQ(fresh.type, Level::BLUEJAY);
    EXPECT_EQ(fresh.state, Bluejay::GLIDING);
    EXPECT_EQ(fresh.strength, 3);
    EXPECT_EQ(fresh.lives, 3);
    EXPECT_EQ(fresh.eggs, 0);
    EXPECT_EQ(fresh.points, 0);
    EXPECT_EQ(fresh.number_of_bump_maps, 3);
    EXPECT_EQ(fresh.bitmap, Application::BLUEJAY_STANDING_BM);
    EXPECT_TRUE(fresh.jump_released);
    EXPECT_FALSE(fresh.dead);
    EXPECT_FALSE(fresh.went_down_pipe);
    EXPECT_FALSE(fresh.local_pipe);
    EXPECT_EQ(fresh.flight_timer, 0u);
}

// Puts a hero in the middle of things.
static void Stir(Bluejay& hero)
{
    hero.x = 300;
    hero.y = -50;
    hero.went_down_pipe = true;
    hero.x_direction = -1;
    hero.y_direction = -1;
    hero.state = Bluejay::FLYING;
    hero.strength = 1;
    hero.hurt = true;
    hero.flight_timer = 77;
    hero.lives = 4;
    hero.eggs = 2;
    hero.points = 90;
    hero.timer = 12;
    hero.bitmap = Application::BLUEJAY_EATING_BM;
    hero.jump_released = false;
}

TEST_F(BluejayStatus, ResetReturnsToTheStartAndRevivesOnlyADeadHero)
{
    hero = Add_Hero(level, 40, 80);
    Stir(*hero);
    hero->Reset(false);
    EXPECT_EQ(hero->x, 40);
    EXPECT_EQ(hero->y, 80);
    EXPECT_FALSE(hero->went_down_pipe);
    EXPECT_EQ(hero->x_direction, 1);
    EXPECT_EQ(hero->y_direction, 1);
    EXPECT_EQ(hero->state, Bluejay::GLIDING);
    // Alive: the strength, the blinking and the flight time stay.
    EXPECT_EQ(hero->strength, 1);
    EXPECT_TRUE(hero->hurt);
    EXPECT_EQ(hero->flight_timer, 77u);

    Stir(*hero);
    hero->dead = true;
    hero->Reset(true);
    EXPECT_FALSE(hero->dead);
    EXPECT_EQ(hero->strength, 3);
    EXPECT_FALSE(hero->hurt);
    EXPECT_EQ(hero->flight_timer, 0u);
    // Never touched by Reset.
    EXPECT_EQ(hero->lives, 4);
    EXPECT_EQ(hero->eggs, 2);
    EXPECT_EQ(hero->points, 90);
    EXPECT_EQ(hero->timer, 12);
    EXPECT_EQ(hero->bitmap, Application::BLUEJAY_EATING_BM);
    EXPECT_FALSE(hero->jump_released);
}

TEST_F(BluejayStatus, ResetAfterALocalPipeKeepsThePlace)
{
    hero = Add_Hero(level, 40, 80);
    Stir(*hero);
    hero->local_pipe = true;
    hero->Reset(false);
    EXPECT_EQ(hero->x, 300);
    EXPECT_EQ(hero->y, -50);
    EXPECT_FALSE(hero->local_pipe);
    EXPECT_FALSE(hero->went_down_pipe);
}

TEST_F(BluejayStatus, CopyStatusHandsOverWhatTheHeroCarries)
{
    hero = Add_Hero(level, 40, 80);
    Bluejay other;
    other.x = 5;
    other.y = 6;
    Stir(*hero);
    hero->dead = true;
    hero->Copy_Status(other);
    EXPECT_EQ(other.bitmap, Application::BLUEJAY_EATING_BM);
    EXPECT_EQ(other.strength, 1);
    EXPECT_EQ(other.flight_timer, 77u);
    EXPECT_TRUE(other.hurt);
    EXPECT_EQ(other.timer, 12);
    EXPECT_EQ(other.lives, 4);
    EXPECT_EQ(other.eggs, 2);
    EXPECT_EQ(other.points, 90);
    // Where it is and what it does belong to the other level.
    EXPECT_EQ(other.x, 5);
    EXPECT_EQ(other.y, 6);
    EXPECT_EQ(other.state, Bluejay::GLIDING);
    EXPECT_EQ(other.x_direction, 1);
    EXPECT_FALSE(other.dead);
    EXPECT_FALSE(other.went_down_pipe);
}

// ------------------------------------------------------ shapes and drawing

class BluejayShape : public BluejayTest
{
protected:
    Rectangle Shape(int number)
    {
        Rectangle result;
        hero->Get_Bump_Map(result, number, application);
        return result;
    }

    static void Expect_Box(const Rectangle& actual, int left, int top, int right, int bottom)
    {
        EXPECT_EQ(actual.left, left);
        EXPECT_EQ(actual.top, top);
        EXPECT_EQ(actual.right, right);
        EXPECT_EQ(actual.bottom, bottom);
    }
};

TEST_F(BluejayShape, HeadAndTailAreMirroredWhenFacingLeft)
{
    hero = Add_Hero(level, 64, 96); // cell (16, 24)
    Expect_Box(Shape(Bluejay::HEAD), 19, 24, 21, 26);
    Expect_Box(Shape(Bluejay::BODY), 17, 24, 20, 29);
    Expect_Box(Shape(Bluejay::TAIL), 16, 26, 17, 28);

    Tick(LEFT);
    ASSERT_EQ(hero->x_direction, -1);
    int x = hero->x / 4, y = hero->y / 4;
    Expect_Box(Shape(Bluejay::HEAD), x + 0, y + 0, x + 2, y + 2);
    Expect_Box(Shape(Bluejay::BODY), x + 1, y + 0, x + 4, y + 5);
    Expect_Box(Shape(Bluejay::TAIL), x + 4, y + 2, x + 5, y + 4);
}

TEST_F(BluejayShape, TheBodyIsNeverMirrored)
{
    hero = Add_Hero(level, 64, 96);
    hero->bump_maps[Bluejay::BODY] = Box(0, 0, 1, 5);
    hero->x_direction = -1;
    Expect_Box(Shape(Bluejay::BODY), 16, 24, 17, 29);
}

class BluejayDrawing : public BluejayTest
{
protected:
    int background = 0;

    void SetUp() override
    {
        BluejayTest::SetUp();
        background = makecol(1, 2, 3);
    }

    // The hero's pixels on the canvas after one tick.
    int Drawn_Pixels(int signals = 0)
    {
        clear_to_color(application.canvas, background);
        Tick(signals);
        return Pixels_Unlike(application.canvas, hero->x - level.scroll_x, hero->y - level.scroll_y, 24,
                             24, background);
    }
};

TEST_F(BluejayDrawing, AHurtHeroIsDrawnOnlyOnEvenTicks)
{
    Meadow();
    Tick();
    EXPECT_GT(Drawn_Pixels(), 0);
    hero->hurt = true;
    hero->timer = 0;
    EXPECT_EQ(Drawn_Pixels(), 0);
    EXPECT_GT(Drawn_Pixels(), 0);
    EXPECT_EQ(Drawn_Pixels(), 0);
    EXPECT_GT(Drawn_Pixels(), 0);
}

TEST_F(BluejayDrawing, TheHurtPeriodLastsNinetyTicks)
{
    Meadow();
    hero->hurt = true;
    hero->timer = 0;
    Ticks(89);
    EXPECT_TRUE(hero->hurt);
    Tick();
    EXPECT_FALSE(hero->hurt);
    EXPECT_GT(Drawn_Pixels(), 0);
    EXPECT_GT(Drawn_Pixels(), 0) << "no more blinking";
}

TEST_F(BluejayDrawing, FacingLeftDrawsTheMirroredPicture)
{
    Meadow();
    Tick(LEFT);
    clear_to_color(application.canvas, background);
    Tick();
    BITMAP* picture = application.bitmaps[Application::BLUEJAY_STANDING_BM];
    int magenta = makecol(255, 0, 255);
    int compared = 0;
    for (int row = 0; row < 24; row++)
        for (int column = 0; column < 24; column++)
        {
            int source = getpixel(picture, 23 - column, row);
            if (source == magenta)
                continue;
            EXPECT_EQ(getpixel(application.canvas, hero->x + column, hero->y + row), source);
            compared++;
        }
    EXPECT_GT(compared, 0);
}

TEST_F(BluejayDrawing, ThePipeIsDrawnOverTheSinkingHero)
{
    Meadow(72, 136);
    Platform* pipe = Add_Platform(level, Level::PIPE, 64, 160);
    Tick(DOWN);
    ASSERT_EQ(hero->state, Bluejay::GOING_DOWN_PIPE);
    clear_to_color(application.canvas, background);
    Ticks(4); // the hero at y = 156, mostly inside the pipe
    BITMAP* picture = application.bitmaps[Application::PIPE_BM];
    int magenta = makecol(255, 0, 255);
    for (int row = 0; row < 32; row++)
        for (int column = 0; column < 32; column++)
        {
            int source = getpixel(picture, column, row);
            if (source != magenta)
            {
                ASSERT_EQ(getpixel(application.canvas, pipe->x + column, pipe->y + row), source);
            }
        }
}
