// The insects: plain and hunting flies, mosquitoes and the super mosquito.
// Each test puts the creatures in a level with the real pictures and shapes
// and runs their ticks directly; stomps are made by a real hero gliding onto
// them. Random choices are checked under a fixed seed or over many ticks.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "application.h"
#include "bluejay.h"
#include "fly.h"
#include "level.h"
#include "mosquito.h"
#include "platform.h"
#include "super_mosquito.h"
#include "test_support.h"

namespace
{
// Ground tiles lie at y = 192; a 16-pixel fly resting on them is at y = 176.
constexpr int STANDING_Y = 168;
} // namespace

class InsectsTest : public Creature_Fixture
{
protected:
    Fly* Flying(int x, int y, bool hunting)
    {
        Fly* fly = Place(new Fly(), x, y, "data\\bump_maps\\fly.map");
        fly->hunting = hunting;
        return fly;
    }

    Mosquito* Buzzing(int x, int y) { return Place(new Mosquito(), x, y, "data\\bump_maps\\mosquito.map"); }

    Super_Mosquito* Boss(int x, int y)
    {
        return Place(new Super_Mosquito(), x, y, "data\\bump_maps\\super_mosquito.map");
    }

    bool On_Screen(Character& creature)
    {
        return creature.Is_On_Screen(level.scroll_x, level.scroll_y, application);
    }

    // The hero glides onto the creature from straight above (the lowest
    // cell of its body right over the creature's highest) and runs its tick.
    void Stomp(Character& creature)
    {
        Rectangle shape;
        creature.Get_Bump_Map(shape, 0, application);
        hero->x = (shape.left - 1) * 4;
        hero->y = (shape.top - 6) * 4;
        hero->state = Bluejay::GLIDING;
        hero->x_direction = 1;
        hero->y_direction = 1;
        application.signals = 0;
        hero->Process(application, level);
    }
};

// ------------------------------------------------------------------- fly

class FlyTest : public InsectsTest
{
};

TEST_F(FlyTest, APlainFlyFliesStraightThroughAWall)
{
    Ground(0, 224);
    Add_Platform(level, Level::BROWN_BLOCK, 64, 96);
    Add_Platform(level, Level::BROWN_BLOCK, 64, 112);
    Fly* fly = Flying(100, 100, false);
    for (int tick = 1; tick <= 15; tick++)
    {
        Tick(*fly);
        ASSERT_EQ(fly->x, 100 - 4 * tick);
        ASSERT_EQ(fly->y, 100);
        ASSERT_EQ(fly->x_direction, -1);
        ASSERT_EQ(fly->bitmap, Application::FLY_WINGS_IN_BM + tick % 2);
    }
}

TEST_F(FlyTest, APlainFlyFreezesOutOfViewAndGoesOnWhenTheViewReachesIt)
{
    level.screens_wide = 2;
    Fly* fly = Flying(252, 100, false);
    fly->x_direction = 1;
    Tick(*fly);
    EXPECT_EQ(fly->x, 256);
    Tick(*fly, 10);
    EXPECT_EQ(fly->x, 256);
    EXPECT_EQ(fly->timer, 1);
    level.scroll_x = 256;
    Tick(*fly, 2);
    EXPECT_EQ(fly->x, 264);
}

TEST_F(FlyTest, AHuntingFlyDivesTowardTheHeroCentre)
{
    Load_Map("21 40 40\n21 172 40\n2 160 168\n",
             "1005 0 192\n1005 32 192\n1005 64 192\n1005 96 192\n1005 128 192\n1005 160 192\n");
    ASSERT_EQ(level.number_of_characters, 3);
    Fly* fly = static_cast<Fly*>(level.characters[0]);
    Fly* above = static_cast<Fly*>(level.characters[1]);
    ASSERT_TRUE(fly->hunting);
    ASSERT_EQ(fly->type, Level::FLY);

    // The hero's centre is x = 172: the fly turns toward it and dives.
    ASSERT_EQ(fly->x_direction, -1);
    for (int tick = 1; tick <= 5; tick++)
    {
        Tick(*fly);
        ASSERT_EQ(fly->x_direction, 1);
        ASSERT_EQ(fly->x, 40 + 4 * tick);
        ASSERT_EQ(fly->y, 40 + 4 * tick);
    }

    // Right above the centre it keeps within a step of it on the way down.
    for (int tick = 1; tick <= 20; tick++)
    {
        Tick(*above);
        ASSERT_LE(std::abs(above->x - 172), 4) << "tick " << tick;
        ASSERT_EQ(above->y, 40 + 4 * tick);
    }
}

TEST_F(FlyTest, AHuntingFlyClimbsTo80PixelsAboveWhereTheHeroWasWhenItLanded)
{
    Ground(0, 224);
    Place_Hero(20, STANDING_Y);
    Fly* fly = Flying(100, 140, true);
    int ticks = 0;
    while (fly->mode != Fly::RISING && ticks < 40)
    {
        Tick(*fly);
        ticks++;
    }
    ASSERT_EQ(fly->mode, Fly::RISING);
    // It landed at y = 176 and is a step up already.
    EXPECT_EQ(fly->y, 172);
    EXPECT_EQ(fly->target_y, STANDING_Y - 80);
    int landed_x = fly->x;

    // The hero moving afterwards does not change where the climb ends.
    hero->y = 40;
    int previous = fly->y, highest = fly->y;
    ticks = 0;
    while (fly->mode == Fly::RISING && ticks < 40)
    {
        Tick(*fly);
        ticks++;
        if (fly->mode == Fly::RISING)
        {
            ASSERT_EQ(fly->y, previous - 4);
            ASSERT_EQ(fly->x, landed_x);
        }
        previous = fly->y;
        highest = std::min(highest, fly->y);
    }
    EXPECT_EQ(highest, STANDING_Y - 80);
    // Then it dives again toward the hero (centre x = 32).
    EXPECT_EQ(fly->mode, Fly::ATTACKING);
    EXPECT_EQ(fly->y_direction, 1);
    EXPECT_EQ(fly->y, STANDING_Y - 80 + 4);
    EXPECT_EQ(fly->x, landed_x - 4);
}

TEST_F(FlyTest, AHuntingFlyWhoseClimbEndsBelowItClimbsToTheTopOrACeiling)
{
    // The hero is far below the block the fly lands on.
    Add_Platform(level, Level::BROWN_BLOCK, 100, 100);
    Place_Hero(88, 300);
    Fly* fly = Flying(100, 60, true);
    int highest = fly->y;
    bool climbed = false;
    for (int tick = 0; tick < 60; tick++)
    {
        Tick(*fly);
        climbed = climbed || fly->mode == Fly::RISING;
        if (climbed)
            highest = std::min(highest, fly->y);
        ASSERT_GE(fly->y, 0);
    }
    ASSERT_TRUE(climbed);
    EXPECT_EQ(highest, 0);

    // Under a ceiling (rows 8 to 11) it turns as soon as its head meets it.
    Add_Platform(level, Level::BROWN_BLOCK, 96, 32);
    fly->y = 60;
    fly->mode = Fly::ATTACKING;
    fly->y_direction = 1;
    climbed = false;
    highest = fly->y;
    for (int tick = 0; tick < 60; tick++)
    {
        Tick(*fly);
        climbed = climbed || fly->mode == Fly::RISING;
        if (climbed)
            highest = std::min(highest, fly->y);
    }
    ASSERT_TRUE(climbed);
    EXPECT_EQ(highest, 44);
}

TEST_F(FlyTest, AHuntingFlyEatsTheCherryItLandsOn)
{
    Load_Map("21 100 100\n2 88 20\n", "1005 0 192\n1005 32 192\n1005 64 192\n1005 96 192\n1005 128 192\n"
                                      "1004 100 176\n");
    Fly* fly = static_cast<Fly*>(level.characters[0]);
    Platform* cherry = level.platforms[5];
    ASSERT_EQ(cherry->type, Level::CHERRY);
    cherry->Process(application, 0, 0);
    ASSERT_GT(Drawn(100, 176, 16, 16), 0);
    int ticks = 0;
    while (fly->mode != Fly::RISING && ticks < 40)
    {
        Tick(*fly);
        ticks++;
    }
    ASSERT_EQ(fly->mode, Fly::RISING);
    EXPECT_TRUE(cherry->taken);

    // An eaten cherry is no longer drawn.
    Clear();
    cherry->Process(application, 0, 0);
    EXPECT_EQ(Drawn(100, 176, 16, 16), 0);
}

TEST_F(FlyTest, OneStompDefeatsAnyFlyForTenPoints)
{
    Fly* plain = Flying(60, 100, false);
    Fly* hunter = Flying(160, 100, true);
    Place_Hero(0, STANDING_Y);

    Stomp(*plain);
    EXPECT_EQ(Plays(Application::DAMAGING_STOMP_SE), 1);
    EXPECT_EQ(hero->points, 10);
    Stomp(*hunter);
    EXPECT_EQ(Plays(Application::DAMAGING_STOMP_SE), 2);
    EXPECT_EQ(Plays(Application::USELESS_STOMP_SE), 0);
    EXPECT_EQ(hero->points, 20);

    for (Fly* fly : {plain, hunter})
    {
        int x = fly->x;
        Tick(*fly);
        EXPECT_EQ(fly->strength, 0);
        EXPECT_EQ(fly->y, 100);
        // Beaten, it falls straight down out of the view.
        Tick(*fly, 5);
        EXPECT_EQ(fly->y, 120);
        EXPECT_EQ(fly->x, x);
    }
}

// -------------------------------------------------------------- mosquito

class MosquitoTest : public InsectsTest
{
};

TEST_F(MosquitoTest, ADartAimsAtTheHeroCentreWithABuzz)
{
    Place_Hero(160, 160); // centre (172, 172)
    Mosquito* mosquito = Buzzing(100, 100);
    mosquito->x_direction = -1;
    mosquito->y_direction = -1;
    std::srand(11);
    int ticks = 0;
    while (Plays(Application::MOSQUITO_SE) == 0 && ticks < 2000)
    {
        Tick(*mosquito);
        ticks++;
        if (Plays(Application::MOSQUITO_SE) == 0)
        {
            // Hovering in place, flapping.
            ASSERT_EQ(mosquito->x, 100);
            ASSERT_EQ(mosquito->y, 100);
            ASSERT_EQ(mosquito->bitmap, Application::MOSQUITO_WINGS_DOWN_BM + ticks % 2);
        }
    }
    ASSERT_EQ(Plays(Application::MOSQUITO_SE), 1);
    EXPECT_EQ(mosquito->x_direction, 1);
    EXPECT_EQ(mosquito->y_direction, 1);
    // The dart starts in the same tick.
    EXPECT_EQ(mosquito->x, 104);
    EXPECT_EQ(mosquito->y, 104);
}

TEST_F(MosquitoTest, AMatchingXKeepsItsHorizontalDirection)
{
    Place_Hero(160, 160); // centre (172, 172)
    std::srand(12);
    for (int direction : {1, -1})
    {
        Mosquito* mosquito = Buzzing(172, 100);
        mosquito->x_direction = direction;
        mosquito->y_direction = -1;
        int plays = Plays(Application::MOSQUITO_SE);
        for (int tick = 0; tick < 2000 && Plays(Application::MOSQUITO_SE) == plays; tick++)
            Tick(*mosquito);
        ASSERT_EQ(Plays(Application::MOSQUITO_SE), plays + 1);
        EXPECT_EQ(mosquito->x_direction, direction);
        EXPECT_EQ(mosquito->y_direction, 1);
        EXPECT_EQ(mosquito->x, 172 + 4 * direction);
    }
}

TEST_F(MosquitoTest, DartsStartAboutOnceInFiftyTicksAndEndAboutOnceInTwenty)
{
    Place_Hero(20, STANDING_Y);
    Mosquito* mosquito = Buzzing(120, 100);
    std::srand(99);
    int idle_ticks = 0, starts = 0, darting_ticks = 0, ends = 0;
    for (int tick = 0; tick < 20000; tick++)
    {
        // Kept in the middle of the view.
        mosquito->x = 120;
        mosquito->y = 100;
        bool idle = mosquito->mode == Mosquito::IDLE;
        int plays = Plays(Application::MOSQUITO_SE);
        Tick(*mosquito);
        bool started = Plays(Application::MOSQUITO_SE) > plays;
        if (idle)
        {
            idle_ticks++;
            starts += started;
            ASSERT_EQ(started, mosquito->x != 120);
        }
        else
        {
            ASSERT_FALSE(started);
            darting_ticks++;
            ends += mosquito->mode == Mosquito::IDLE;
        }
    }
    ASSERT_GT(idle_ticks, 0);
    ASSERT_GT(darting_ticks, 0);
    double start_rate = static_cast<double>(starts) / idle_ticks;
    double end_rate = static_cast<double>(ends) / darting_ticks;
    EXPECT_GT(start_rate, 1.0 / 70);
    EXPECT_LT(start_rate, 1.0 / 35);
    EXPECT_GT(end_rate, 1.0 / 28);
    EXPECT_LT(end_rate, 1.0 / 14);
}

TEST_F(MosquitoTest, OutOfViewItCreepsToTheHeroUnderTheAttackSignalAndSettles)
{
    level.screens_wide = 6;
    level.scroll_x = 1024; // the hero and the mosquitoes are all out of view
    Place_Hero(302, 150);  // centre (314, 162)
    Mosquito* mosquito = Buzzing(600, 40);
    Mosquito* beaten = Buzzing(600, 80);
    beaten->strength = 0;

    // Without the signal nothing moves.
    Tick(*mosquito, 5);
    EXPECT_EQ(mosquito->x, 600);
    EXPECT_EQ(mosquito->y, 40);

    level.signal = Level::SIGNAL_ATTACK_BLUEJAY;
    Tick(*mosquito);
    EXPECT_EQ(mosquito->x, 596);
    EXPECT_EQ(mosquito->y, 44);
    Tick(*mosquito, 100);
    // Within a step of the centre it stays put.
    EXPECT_EQ(mosquito->x, 312);
    EXPECT_EQ(mosquito->y, 160);
    Tick(*mosquito);
    EXPECT_EQ(mosquito->x, 312);
    EXPECT_EQ(mosquito->y, 160);
    EXPECT_EQ(mosquito->timer, 0);
    EXPECT_EQ(Plays(Application::MOSQUITO_SE), 0);

    Tick(*beaten, 20);
    EXPECT_EQ(beaten->x, 600);
    EXPECT_EQ(beaten->y, 80);
}

TEST_F(MosquitoTest, TheCollapseSignalStrikesDownEveryMosquitoInView)
{
    level.screens_wide = 3;
    Mosquito* in_view = Buzzing(100, 100);
    Mosquito* away = Buzzing(600, 100);
    level.signal = Level::SIGNAL_COLLAPSE_CEMENT;
    Tick(*in_view);
    EXPECT_TRUE(in_view->hurt);
    EXPECT_EQ(in_view->strength, 0);
    EXPECT_EQ(in_view->y, 100);
    for (int tick = 1; tick <= 5; tick++)
    {
        Clear();
        Tick(*in_view);
        ASSERT_EQ(in_view->y, 100 + 4 * tick);
        ASSERT_EQ(in_view->x, 100);
        // A mosquito never blinks.
        EXPECT_GT(Drawn(*in_view), 0);
    }
    Tick(*away, 5);
    EXPECT_EQ(away->strength, 1);
    EXPECT_FALSE(away->hurt);
    EXPECT_EQ(Plays(Application::MOSQUITO_SE), 0);
}

TEST_F(MosquitoTest, OneStompDefeatsItForTenPoints)
{
    Mosquito* mosquito = Buzzing(100, 100);
    Place_Hero(0, STANDING_Y);
    Stomp(*mosquito);
    EXPECT_EQ(Plays(Application::DAMAGING_STOMP_SE), 1);
    EXPECT_EQ(hero->points, 10);
    Tick(*mosquito);
    EXPECT_EQ(mosquito->strength, 0);
    Tick(*mosquito);
    EXPECT_EQ(mosquito->y, 104);
}

TEST_F(MosquitoTest, ResetOfAFlyOrAMosquitoKeepsItsModeAndDirections)
{
    Mosquito* mosquito = Buzzing(100, 100);
    mosquito->mode = Mosquito::ATTACKING;
    mosquito->x = 140;
    mosquito->y = 60;
    mosquito->x_direction = -1;
    mosquito->Reset(true);
    EXPECT_EQ(mosquito->x, 100);
    EXPECT_EQ(mosquito->y, 100);
    EXPECT_EQ(mosquito->mode, Mosquito::ATTACKING);
    EXPECT_EQ(mosquito->x_direction, -1);

    Fly* fly = Flying(50, 60, true);
    fly->mode = Fly::RISING;
    fly->target_y = 12;
    fly->x = 90;
    fly->y = 20;
    fly->x_direction = 1;
    fly->y_direction = -1;
    fly->Reset(true);
    EXPECT_EQ(fly->x, 50);
    EXPECT_EQ(fly->y, 60);
    EXPECT_EQ(fly->mode, Fly::RISING);
    EXPECT_EQ(fly->target_y, 12);
    EXPECT_EQ(fly->x_direction, 1);
    EXPECT_EQ(fly->y_direction, -1);
    EXPECT_TRUE(fly->hunting);
}

// -------------------------------------------------------- super mosquito

class SuperMosquitoTest : public InsectsTest
{
};

TEST_F(SuperMosquitoTest, PatrolsTheFirstScreenWhateverTheCamera)
{
    level.screens_wide = 5;
    level.scroll_x = 1024;
    Place_Hero(100, STANDING_Y);
    Super_Mosquito* boss = Boss(100, 40);
    std::srand(3);
    int lowest = boss->x, highest = boss->x, dives = 0;
    for (int tick = 0; tick < 1000; tick++)
    {
        int x = boss->x, y = boss->y, mode = boss->mode;
        Tick(*boss);
        ASSERT_NE(boss->mode, Super_Mosquito::CALLING_MOSQUITOS);
        // A dive out of the view turns back at once, so it stays near its
        // patrol line.
        ASSERT_GE(boss->x, -8);
        ASSERT_LE(boss->x, 232);
        ASSERT_LE(std::abs(boss->y - 40), 4);
        if (mode == Super_Mosquito::HOVERING && boss->mode == Super_Mosquito::HOVERING)
        {
            ASSERT_EQ(boss->y, y);
            ASSERT_EQ(std::abs(boss->x - x), 4);
        }
        dives += mode == Super_Mosquito::HOVERING && boss->mode == Super_Mosquito::ATTACKING;
        lowest = std::min(lowest, boss->x);
        highest = std::max(highest, boss->x);
    }
    EXPECT_LE(lowest, 0);
    EXPECT_GE(highest, 224);
    EXPECT_GT(dives, 0);
}

TEST_F(SuperMosquitoTest, ADiveRunsStraightOutOfViewAndRetracesItsPathHome)
{
    Place_Hero(201, 169); // centre (213, 181), never on the 4-pixel grid
    Super_Mosquito* boss = Boss(100, 40);
    std::srand(8);
    std::pair<int, int> before(boss->x, boss->y);
    for (int tick = 0; tick < 500 && boss->mode == Super_Mosquito::HOVERING; tick++)
    {
        before = std::make_pair(boss->x, boss->y);
        Tick(*boss);
    }
    ASSERT_EQ(boss->mode, Super_Mosquito::ATTACKING);
    EXPECT_EQ(boss->home_x, before.first);
    EXPECT_EQ(boss->home_y, before.second);
    int dx = before.first < 213 ? 4 : -4;
    int dy = 4;
    EXPECT_EQ(boss->x, before.first + dx);
    EXPECT_EQ(boss->y, before.second + dy);

    std::vector<std::pair<int, int>> path = {before, {boss->x, boss->y}};
    for (int tick = 0; tick < 200 && !boss->returning; tick++)
    {
        Tick(*boss);
        if (!boss->returning)
            path.push_back(std::make_pair(boss->x, boss->y));
    }
    ASSERT_TRUE(boss->returning);
    // Straight on, past the hero, until it first stood out of the view.
    for (size_t i = 1; i < path.size(); i++)
    {
        ASSERT_EQ(path[i].first - path[i - 1].first, dx);
        ASSERT_EQ(path[i].second - path[i - 1].second, dy);
    }
    Super_Mosquito probe;
    probe.x = path.back().first;
    probe.y = path.back().second;
    EXPECT_FALSE(On_Screen(probe));
    probe.x = path[path.size() - 2].first;
    probe.y = path[path.size() - 2].second;
    EXPECT_TRUE(On_Screen(probe));

    // Back along the same line, step by step, to where the dive began.
    ASSERT_EQ(std::make_pair(boss->x, boss->y), path[path.size() - 2]);
    for (size_t i = path.size() - 2; i > 0; i--)
    {
        Tick(*boss);
        ASSERT_EQ(std::make_pair(boss->x, boss->y), path[i - 1]);
        ASSERT_EQ(boss->mode, Super_Mosquito::ATTACKING);
    }
    // Home: the patrol goes on along the home row, the other way.
    Tick(*boss);
    EXPECT_EQ(boss->mode, Super_Mosquito::HOVERING);
    EXPECT_FALSE(boss->returning);
    EXPECT_EQ(boss->x, before.first - dx);
    EXPECT_EQ(boss->y, before.second);
}

TEST_F(SuperMosquitoTest, AtItsLastStrengthItFliesOffToCallTheMosquitoesOnce)
{
    Place_Hero(201, 169);
    Super_Mosquito* boss = Boss(100, 40);
    boss->strength = 1;
    std::srand(4);
    std::pair<int, int> before(boss->x, boss->y);
    for (int tick = 0; tick < 500 && boss->mode != Super_Mosquito::CALLING_MOSQUITOS; tick++)
    {
        before = std::make_pair(boss->x, boss->y);
        Tick(*boss);
    }
    ASSERT_EQ(boss->mode, Super_Mosquito::CALLING_MOSQUITOS);
    EXPECT_EQ(boss->home_x, before.first);
    EXPECT_EQ(boss->home_y, before.second);
    int dx = boss->x - before.first, dy = boss->y - before.second;
    ASSERT_EQ(std::abs(dx), 4);
    ASSERT_EQ(std::abs(dy), 4);

    // The signal goes up in the first tick it begins out of view.
    int ticks = 0;
    while (!boss->returning && ticks < 200)
    {
        bool seen = On_Screen(*boss);
        int x = boss->x, y = boss->y;
        Tick(*boss);
        ticks++;
        if (seen)
        {
            ASSERT_EQ(level.signal, 0);
            ASSERT_FALSE(boss->returning);
            ASSERT_EQ(boss->x - x, dx);
            ASSERT_EQ(boss->y - y, dy);
        }
        else
        {
            ASSERT_EQ(level.signal, Level::SIGNAL_ATTACK_BLUEJAY);
            ASSERT_TRUE(boss->returning);
        }
    }
    ASSERT_TRUE(boss->returning);
    for (int tick = 0; tick < 200 && boss->mode == Super_Mosquito::CALLING_MOSQUITOS; tick++)
        Tick(*boss);
    EXPECT_EQ(boss->mode, Super_Mosquito::HOVERING);
    EXPECT_EQ(boss->x, before.first - dx);
    EXPECT_EQ(boss->y, before.second);

    // With the signal up it only patrols and dives.
    for (int tick = 0; tick < 300; tick++)
    {
        Tick(*boss);
        ASSERT_NE(boss->mode, Super_Mosquito::CALLING_MOSQUITOS);
    }
}

TEST_F(SuperMosquitoTest, AHitHoldsItStillAndBlinkingFor31Ticks)
{
    Super_Mosquito* boss = Boss(100, 40);
    boss->hurt = true;
    for (int tick = 1; tick <= 32; tick++)
    {
        Clear();
        Tick(*boss);
        ASSERT_EQ(boss->hurt, tick < 32) << "tick " << tick;
        ASSERT_EQ(boss->strength, 2);
        ASSERT_EQ(boss->x, 100);
        ASSERT_EQ(boss->y, 40);
        if (boss->hurt && boss->timer % 2 == 1)
            EXPECT_EQ(Drawn(*boss), 0) << "tick " << tick;
        else
            EXPECT_GT(Drawn(*boss), 0) << "tick " << tick;
    }
    Tick(*boss);
    EXPECT_EQ(std::abs(boss->x - 100), 4);
}

TEST_F(SuperMosquitoTest, ThreeHitsDefeatItForAThousandPointsAndBringDownTheCement)
{
    Super_Mosquito* boss = Boss(100, 40);
    Mosquito* mosquito = Buzzing(60, 150);
    Place_Hero(0, STANDING_Y);
    std::srand(6);
    for (int hit = 1; hit <= 3; hit++)
    {
        Stomp(*boss);
        ASSERT_TRUE(boss->hurt) << "hit " << hit;
        Tick(*boss);
        ASSERT_EQ(boss->strength, 3 - hit);
        for (int tick = 0; tick < 31 && boss->strength > 0; tick++)
            Tick(*boss);
        if (hit < 3)
        {
            EXPECT_EQ(Plays(Application::USELESS_STOMP_SE), hit);
            EXPECT_EQ(hero->points, 0);
            ASSERT_FALSE(boss->hurt);
        }
    }
    EXPECT_EQ(Plays(Application::DAMAGING_STOMP_SE), 1);
    EXPECT_EQ(hero->points, 1000);

    // Beaten, it falls and raises the collapse signal every tick, in view
    // or not.
    int y = boss->y;
    Tick(*boss);
    EXPECT_EQ(level.signal, Level::SIGNAL_COLLAPSE_CEMENT);
    EXPECT_EQ(boss->y, y + 4);
    Tick(*mosquito);
    EXPECT_EQ(mosquito->strength, 0);
    for (int tick = 0; tick < 60; tick++)
    {
        level.signal = 0;
        Tick(*boss);
        ASSERT_EQ(level.signal, Level::SIGNAL_COLLAPSE_CEMENT);
    }
    EXPECT_EQ(boss->y, y + 4 * 61);
    EXPECT_FALSE(On_Screen(*boss));
}

TEST_F(SuperMosquitoTest, ResetRestoresFullStrengthAndThePatrolButNotABeatenOne)
{
    Super_Mosquito* boss = Boss(100, 40);
    Super_Mosquito* beaten = Boss(60, 40);
    boss->strength = 2;
    boss->mode = Super_Mosquito::ATTACKING;
    boss->returning = true;
    boss->hurt_counted = true;
    boss->x = 150;
    boss->y = 90;
    beaten->strength = 0;
    beaten->y = 400;

    level.Reset(false);
    EXPECT_EQ(boss->x, 100);
    EXPECT_EQ(boss->y, 40);
    EXPECT_EQ(boss->strength, 3);
    EXPECT_EQ(boss->mode, Super_Mosquito::HOVERING);
    EXPECT_FALSE(boss->returning);
    EXPECT_FALSE(boss->hurt_counted);
    EXPECT_EQ(beaten->strength, 0);
    EXPECT_EQ(beaten->y, 400);
}
