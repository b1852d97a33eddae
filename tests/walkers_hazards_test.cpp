// Walkers, plants and hazards: the lemming, the tomatoo plant, the spiked
// pole, boiling mud and mud drops, and the creatures a level file makes.
// They run against the real pictures and shapes, one tick at a time.

#include <cstdlib>
#include <string>
#include <vector>

#include <allegro.h>
#include <gtest/gtest.h>

#include "application.h"
#include "black_bird.h"
#include "bluejay.h"
#include "boiling_mud.h"
#include "clam.h"
#include "egg.h"
#include "fly.h"
#include "ghost.h"
#include "goldenjay.h"
#include "lemming.h"
#include "level.h"
#include "master_ecto.h"
#include "message_object.h"
#include "mosquito.h"
#include "mud_drop.h"
#include "rock.h"
#include "scrolling_background_object.h"
#include "spiked_pole.h"
#include "stop_attack_object.h"
#include "super_mosquito.h"
#include "swooper.h"
#include "switch.h"
#include "test_support.h"
#include "throwable_rock.h"
#include "tomatoo_plant.h"

namespace
{


// ---------------------------------------------------------------------------
// Lemming

class LemmingWalker : public Creature_Fixture
{
protected:
    Lemming* Put_Lemming(int x, int y)
    {
        return Place(new Lemming(), x, y, "data\\bump_maps\\lemming.map");
    }

    Throwable_Rock* Put_Stone(int x, int y)
    {
        return Place(new Throwable_Rock(), x, y, "data\\bump_maps\\throwable_rock.map");
    }
};

TEST_F(LemmingWalker, StartsFallingAndWalkingLeft)
{
    Lemming lemming;
    EXPECT_EQ(lemming.type, Level::LEMMING);
    EXPECT_EQ(lemming.state, Lemming::FALLING);
    EXPECT_EQ(lemming.x_direction, -1);
    EXPECT_EQ(lemming.strength, 1);
    EXPECT_EQ(lemming.number_of_bump_maps, 1);
    EXPECT_FALSE(lemming.carrying_rock);
    EXPECT_EQ(lemming.Get_Points(), 10);
    EXPECT_EQ(application.Bitmap_Width(lemming.bitmap), 16);
    EXPECT_EQ(application.Bitmap_Height(lemming.bitmap), 24);
}

TEST_F(LemmingWalker, FallsUntilItLandsThenWalksLeft)
{
    Ground(0, 224, 192);
    Lemming* lemming = Put_Lemming(128, 152);

    // Four ticks of falling, 4 pixels each, down onto the ground at 192.
    for (int tick = 1; tick <= 4; tick++)
    {
        lemming->Process(application, level);
        EXPECT_EQ(lemming->y, 152 + 4 * tick);
        EXPECT_EQ(lemming->state, Lemming::FALLING);
    }
    lemming->Process(application, level);
    EXPECT_EQ(lemming->state, Lemming::WALKING);
    EXPECT_EQ(lemming->y, 168);
    EXPECT_EQ(lemming->x_direction, -1);

    int x = lemming->x;
    for (int tick = 0; tick < 10; tick++)
        lemming->Process(application, level);
    EXPECT_EQ(lemming->x, x - 20);
    EXPECT_EQ(lemming->y, 168);
}

TEST_F(LemmingWalker, WalksFourPixelsEverySecondTickWithAlternatingPictures)
{
    Ground(0, 224, 192);
    Lemming* lemming = Put_Lemming(128, 168);
    lemming->state = Lemming::WALKING;
    for (int tick = 1; tick <= 12; tick++)
    {
        int x = lemming->x;
        lemming->Process(application, level);
        EXPECT_EQ(lemming->timer, tick);
        EXPECT_EQ(lemming->x, tick % 2 == 0 ? x - 4 : x) << "tick " << tick;
        EXPECT_EQ(lemming->y, 168);
        EXPECT_EQ(lemming->bitmap, tick % 2 == 0 ? Application::LEMMING_STILL_BM : Application::LEMMING_WALK_BM);
    }
    EXPECT_EQ(lemming->x, 128 - 24);
}

TEST_F(LemmingWalker, IsDrawnMirroredWhileWalkingLeft)
{
    ASSERT_TRUE(Is_Asymmetric(Application::LEMMING_WALK_BM));
    Ground(0, 224, 192);
    Lemming* lemming = Put_Lemming(128, 168);
    lemming->state = Lemming::WALKING;
    lemming->Process(application, level); // tick 1: walking picture, no step
    EXPECT_EQ(Differences_From(Application::LEMMING_WALK_BM, 128, 168, true), 0);

    Clear();
    lemming->x_direction = 1;
    lemming->Process(application, level); // tick 2: still picture, one step
    EXPECT_EQ(Differences_From(Application::LEMMING_STILL_BM, 132, 168, false), 0);
}

TEST_F(LemmingWalker, JumpsAtAWallUpToSixtyFourPixelsWithoutTurning)
{
    Ground(0, 224, 192);
    Add_Platform(level, Level::GROUND, 48, 160); // a wall 32 high on its left
    Lemming* lemming = Put_Lemming(80, 168);
    lemming->state = Lemming::WALKING;

    lemming->Process(application, level);
    EXPECT_EQ(lemming->state, Lemming::JUMPING);
    EXPECT_EQ(lemming->y_direction, -1);
    EXPECT_EQ(lemming->y, 168); // it took off from the ground this tick
    EXPECT_EQ(lemming->x, 80);

    int highest = lemming->y;
    int rising_ticks = 0;
    for (int tick = 0; tick < 40 && lemming->state == Lemming::JUMPING; tick++)
    {
        int x = lemming->x;
        int y = lemming->y;
        lemming->Process(application, level);
        EXPECT_EQ(lemming->x_direction, -1) << "turned at y " << y;
        if (lemming->state != Lemming::JUMPING)
            break;
        EXPECT_EQ(lemming->y, y - 4);
        // Beside the wall it does not move sideways.
        if (y >= 140)
        {
            EXPECT_EQ(lemming->x, x) << "moved into the wall at y " << y;
        }
        highest = lemming->y;
        rising_ticks++;
    }
    EXPECT_EQ(lemming->state, Lemming::FALLING);
    EXPECT_EQ(highest, 168 - Lemming::MAX_JUMP_HEIGHT);
    EXPECT_EQ(rising_ticks, 16);
    EXPECT_EQ(lemming->y, highest + 4); // on its way down again
}

TEST_F(LemmingWalker, JumpsAtAWallOnEitherSideWhicheverWayItFaces)
{
    Ground(0, 224, 192);
    Add_Platform(level, Level::GROUND, 96, 160); // a wall on its right
    Lemming* facing_it = Put_Lemming(80, 168);
    facing_it->state = Lemming::WALKING;
    facing_it->x_direction = 1;
    facing_it->Process(application, level);
    EXPECT_EQ(facing_it->state, Lemming::JUMPING);
    EXPECT_EQ(facing_it->x_direction, 1);
    for (int tick = 0; tick < 6; tick++)
    {
        facing_it->Process(application, level);
        EXPECT_EQ(facing_it->x, 80);
        EXPECT_EQ(facing_it->x_direction, 1);
    }
    EXPECT_EQ(facing_it->y, 168 - 24);

    // Walking away from a wall behind it, it jumps all the same, and goes
    // on the way it was walking.
    Add_Platform(level, Level::GROUND, 144, 160);
    Lemming* leaving_it = Put_Lemming(176, 168);
    leaving_it->state = Lemming::WALKING;
    leaving_it->x_direction = 1;
    leaving_it->Process(application, level);
    EXPECT_EQ(leaving_it->state, Lemming::JUMPING);
    EXPECT_EQ(leaving_it->x_direction, 1);
    leaving_it->Process(application, level);
    EXPECT_EQ(leaving_it->x, 180);
    EXPECT_EQ(leaving_it->y, 164);
}

TEST_F(LemmingWalker, StopsRisingAtACeiling)
{
    Ground(0, 224, 192);
    Add_Platform(level, Level::BROWN_BLOCK, 64, 176); // a step on its left
    Add_Platform(level, Level::GROUND, 64, 112);      // a roof above
    Lemming* lemming = Put_Lemming(80, 168);
    lemming->state = Lemming::WALKING;
    for (int tick = 0; tick < 20 && lemming->state != Lemming::FALLING; tick++)
        lemming->Process(application, level);
    // The roof ends at 143: the head stops right under it.
    EXPECT_EQ(lemming->state, Lemming::FALLING);
    EXPECT_EQ(lemming->y, 148);
}

TEST_F(LemmingWalker, StopsRisingAtTheTopOfAOneScreenLevel)
{
    Add_Platform(level, Level::BROWN_BLOCK, 96, 64); // it stands on this
    Add_Platform(level, Level::BROWN_BLOCK, 80, 48); // a step on its left
    Lemming* lemming = Put_Lemming(96, 40);
    lemming->state = Lemming::WALKING;
    int highest = lemming->y;
    for (int tick = 0; tick < 20 && lemming->state != Lemming::FALLING; tick++)
    {
        lemming->Process(application, level);
        if (lemming->y < highest)
            highest = lemming->y;
    }
    EXPECT_EQ(lemming->state, Lemming::FALLING);
    EXPECT_EQ(highest, 0);
    EXPECT_EQ(lemming->y, 4);
}

TEST_F(LemmingWalker, TurnsRightAtTheLeftEndOfTheLevel)
{
    Ground(0, 224, 192);
    Lemming* lemming = Put_Lemming(8, 168);
    lemming->state = Lemming::WALKING;
    int turned_at = -1;
    for (int tick = 0; tick < 20; tick++)
    {
        lemming->Process(application, level);
        EXPECT_GE(lemming->x, 0);
        if (turned_at < 0 && lemming->x_direction == 1)
            turned_at = lemming->x;
    }
    EXPECT_EQ(turned_at, 0);
    EXPECT_GT(lemming->x, 8);
    EXPECT_EQ(lemming->state, Lemming::WALKING);
}

TEST_F(LemmingWalker, TurnsLeftAtTheRightEndOfTheLevel)
{
    level.screens_wide = 2;
    level.scroll_x = 256;
    Ground(256, 480, 192);
    Lemming* lemming = Put_Lemming(488, 168);
    lemming->state = Lemming::WALKING;
    lemming->x_direction = 1;
    int turned_at = -1;
    for (int tick = 0; tick < 20; tick++)
    {
        lemming->Process(application, level);
        EXPECT_LE(lemming->x, 2 * 256 - 16);
        if (turned_at < 0 && lemming->x_direction == -1)
            turned_at = lemming->x;
    }
    EXPECT_EQ(turned_at, 2 * 256 - 16);
    EXPECT_LT(lemming->x, 488);
}

TEST_F(LemmingWalker, ThrowsALyingStoneAtTheHeroInTheTickItWalksIntoIt)
{
    Ground(0, 224, 192);
    Place_Hero(16, 168); // feet at 192, level with the lemming's
    Lemming* lemming = Put_Lemming(100, 168);
    lemming->state = Lemming::WALKING;
    Throwable_Rock* stone = Put_Stone(84, 176); // lying against its left side
    ASSERT_FALSE(stone->harmful);

    lemming->Process(application, level);
    EXPECT_FALSE(lemming->carrying_rock);
    EXPECT_TRUE(stone->thrown);
    EXPECT_TRUE(stone->harmful);
    EXPECT_EQ(stone->x, 100);
    EXPECT_EQ(stone->y, 168 - 12);
    EXPECT_EQ(stone->x_direction, -1);
    EXPECT_EQ(stone->y_direction, 0);
    EXPECT_EQ(lemming->x_direction, -1);

    // The stone flies on by itself, straight at the hero.
    for (int tick = 1; tick <= 3; tick++)
    {
        stone->Process(application, level);
        EXPECT_EQ(stone->x, 100 - 4 * tick);
        EXPECT_EQ(stone->y, 156);
    }
}

TEST_F(LemmingWalker, TurnsToThrowAtAHeroBehindItAndAimsAtItsFeet)
{
    Ground(0, 224, 192);
    Bluejay* hero = Place_Hero(200, 100); // right of it and higher up
    Lemming* lemming = Put_Lemming(100, 168);
    lemming->state = Lemming::WALKING;
    Throwable_Rock* stone = Put_Stone(84, 176);
    lemming->Process(application, level);
    EXPECT_TRUE(stone->thrown);
    EXPECT_EQ(lemming->x_direction, 1);
    EXPECT_EQ(stone->x_direction, 1);
    EXPECT_EQ(stone->y_direction, -1);

    // A hero lower down is aimed at downwards; the stone now lies against
    // its right side, the way it faces.
    stone->x = 400;
    Throwable_Rock* second = Put_Stone(116, 176);
    hero->y = 190;
    lemming->Process(application, level);
    EXPECT_TRUE(second->thrown);
    EXPECT_EQ(second->y_direction, 1);
    EXPECT_EQ(second->x_direction, 1);
}

TEST_F(LemmingWalker, DoesNotTurnForAHeroRightAboveIt)
{
    Ground(0, 224, 192);
    Place_Hero(100, 40); // centre 112: within 16 pixels right of its x
    Lemming* lemming = Put_Lemming(100, 168);
    lemming->state = Lemming::WALKING;
    Throwable_Rock* stone = Put_Stone(84, 176);
    lemming->Process(application, level);
    EXPECT_TRUE(stone->thrown);
    EXPECT_EQ(lemming->x_direction, -1);
    EXPECT_EQ(stone->x_direction, -1);
}

TEST_F(LemmingWalker, CarriesAStonePickedUpOnLandingUntilItWalks)
{
    Ground(0, 224, 192);
    Place_Hero(16, 168);
    Lemming* lemming = Put_Lemming(100, 168); // still FALLING, just landing
    Throwable_Rock* stone = Put_Stone(84, 176);
    int stone_index = level.number_of_characters - 1;

    lemming->Process(application, level);
    EXPECT_TRUE(lemming->carrying_rock);
    EXPECT_EQ(lemming->carried_rock, stone_index);
    EXPECT_FALSE(stone->thrown);
    EXPECT_EQ(lemming->bitmap, Application::LEMMING_WALK_ARMS_UP_BM);
    EXPECT_EQ(lemming->state, Lemming::WALKING);
    EXPECT_EQ(stone->x, 100);
    EXPECT_EQ(stone->y, 156);

    lemming->Process(application, level);
    EXPECT_FALSE(lemming->carrying_rock);
    EXPECT_TRUE(stone->thrown);
    EXPECT_EQ(lemming->bitmap, Application::LEMMING_STILL_ARMS_UP_BM);
    EXPECT_EQ(lemming->x, 96); // it stepped on, the thrown stone did not
    EXPECT_EQ(stone->x, 100);
}

TEST_F(LemmingWalker, NeverPicksUpAHarmfulStone)
{
    Ground(0, 224, 192);
    Place_Hero(16, 168);
    Lemming* lemming = Put_Lemming(100, 168);
    lemming->state = Lemming::WALKING;
    Throwable_Rock* stone = Put_Stone(84, 176);
    stone->harmful = true; // one that has been thrown already
    for (int tick = 0; tick < 12; tick++)
    {
        lemming->Process(application, level);
        EXPECT_FALSE(lemming->carrying_rock);
    }
    EXPECT_FALSE(stone->thrown);
    EXPECT_EQ(stone->x, 84);
    EXPECT_EQ(stone->y, 176);
}

TEST_F(LemmingWalker, DoesNotPickUpAStoneBehindIt)
{
    Ground(0, 224, 192);
    Place_Hero(16, 168);
    Lemming* lemming = Put_Lemming(100, 168);
    lemming->state = Lemming::WALKING;
    Throwable_Rock* stone = Put_Stone(116, 176); // against its right side
    lemming->Process(application, level);
    EXPECT_FALSE(lemming->carrying_rock);
    EXPECT_FALSE(stone->thrown);
    EXPECT_FALSE(stone->harmful);
    EXPECT_EQ(stone->x, 116);
}

TEST_F(LemmingWalker, AStompedLemmingDiesOnItsNextTickAndFallsThroughEverything)
{
    Ground(0, 224, 192);
    Lemming* lemming = Put_Lemming(100, 168);
    lemming->state = Lemming::WALKING;
    lemming->hurt = true;
    lemming->Process(application, level);
    EXPECT_EQ(lemming->strength, 0);
    EXPECT_EQ(lemming->y, 172);
    EXPECT_EQ(lemming->x, 100);
    for (int tick = 2; tick <= 12; tick++)
    {
        lemming->Process(application, level);
        EXPECT_EQ(lemming->y, 168 + 4 * tick);
        EXPECT_EQ(lemming->x, 100);
        EXPECT_EQ(lemming->x_direction, -1);
    }
    EXPECT_LE(lemming->strength, 0);
}

TEST_F(LemmingWalker, ADeadLemmingTakesItsStoneDownWithIt)
{
    Place_Hero(16, 20);
    Lemming* lemming = Put_Lemming(100, 100);
    Throwable_Rock* stone = Put_Stone(100, 88);
    lemming->carrying_rock = true;
    lemming->carried_rock = level.number_of_characters - 1;
    lemming->hurt = true;
    lemming->Process(application, level);
    lemming->Process(application, level);
    EXPECT_EQ(lemming->y, 108);
    EXPECT_EQ(stone->y, 96);
    EXPECT_FALSE(stone->thrown);
}

TEST_F(LemmingWalker, IsFrozenOutOfView)
{
    Lemming* lemming = Put_Lemming(300, 100);
    lemming->Process(application, level);
    EXPECT_EQ(lemming->timer, 0);
    EXPECT_EQ(lemming->x, 300);
    EXPECT_EQ(lemming->y, 100);
    EXPECT_EQ(Drawn(0, 0, 256, 224), 0);
}

TEST_F(LemmingWalker, ALiveLemmingGoesBackToItsStartOnAResetAndADeadOneStaysDead)
{
    Lemming* alive = Put_Lemming(100, 40);
    Lemming* dead = Put_Lemming(160, 40);
    dead->hurt = true;
    for (int tick = 0; tick < 4; tick++)
    {
        alive->Process(application, level);
        dead->Process(application, level);
    }
    level.Reset(false);
    EXPECT_EQ(alive->x, 100);
    EXPECT_EQ(alive->y, 40);
    EXPECT_EQ(dead->y, 56);
}

// ---------------------------------------------------------------------------
// Tomatoo plant

class TomatooPlantHazard : public Creature_Fixture
{
protected:
    static constexpr int PLANT_X = 100;
    static constexpr int PLANT_Y = 168;

    Tomatoo_Plant* plant = nullptr;
    Bluejay* hero = nullptr;

    void SetUp() override
    {
        Creature_Fixture::SetUp();
        std::srand(11);
        plant = Place(new Tomatoo_Plant(), PLANT_X, PLANT_Y, "data\\bump_maps\\tomatoo_plant.map");
        // The hero's centre right over the plant.
        hero = Place_Hero(PLANT_X, 40);
    }

    // Puts the hero's centre (24-pixel picture) at a level x.
    void Hero_Centre_At(int centre_x)
    {
        hero->x = centre_x - 12;
    }

    // Ticks until the plant shoots up; the number of ticks, or -1.
    int Ticks_Until_It_Shoots(int limit = 3000)
    {
        for (int tick = 1; tick <= limit; tick++)
        {
            plant->Process(application, level);
            if (plant->shooting_up)
                return tick;
        }
        return -1;
    }
};

TEST_F(TomatooPlantHazard, StartsReadyToShoot)
{
    Tomatoo_Plant fresh;
    EXPECT_EQ(fresh.type, Level::TOMATOO_PLANT);
    EXPECT_EQ(fresh.bitmap, Application::TOMATOO_PLANT_HEAD_BM);
    EXPECT_EQ(fresh.timer, 61);
    EXPECT_EQ(fresh.strength, 1);
    EXPECT_FALSE(fresh.extended);
    EXPECT_FALSE(fresh.shooting_up);
}

TEST_F(TomatooPlantHazard, NeverShootsWithTheHeroCentreSeventeenPixelsBesideIt)
{
    Hero_Centre_At(PLANT_X - 17);
    EXPECT_EQ(Ticks_Until_It_Shoots(2000), -1);
    Hero_Centre_At(PLANT_X + 24 + 17);
    EXPECT_EQ(Ticks_Until_It_Shoots(2000), -1);
    EXPECT_FALSE(plant->extended);
    EXPECT_EQ(plant->y, PLANT_Y);
    EXPECT_EQ(application.sound_effect_plays[Application::GROWING_SE], 0);
}

TEST_F(TomatooPlantHazard, MayShootWithTheHeroCentreSixteenPixelsBesideIt)
{
    Hero_Centre_At(PLANT_X - 16);
    EXPECT_GT(Ticks_Until_It_Shoots(2000), 0);

    plant->extended = false;
    plant->y = PLANT_Y;
    plant->timer = 61;
    Hero_Centre_At(PLANT_X + 24 + 16);
    EXPECT_GT(Ticks_Until_It_Shoots(2000), 0);
}

TEST_F(TomatooPlantHazard, RisesThreeStemPiecesInAOneScreenHighLevel)
{
    level.screens_high = 1;
    ASSERT_GT(Ticks_Until_It_Shoots(), 0);
    EXPECT_TRUE(plant->extended);
    EXPECT_EQ(plant->stem_count, 3);
    EXPECT_EQ(plant->y, PLANT_Y - 3 * 8);
    EXPECT_EQ(plant->start_y, PLANT_Y);
    EXPECT_EQ(plant->timer, 0);
    EXPECT_EQ(application.sound_effect_plays[Application::GROWING_SE], 1);
    EXPECT_EQ(application.sound_effect_plays[Application::SHRINKING_SE], 0);
}

TEST_F(TomatooPlantHazard, RisesThirtyStemPiecesInATallerLevel)
{
    level.screens_high = 2;
    ASSERT_GT(Ticks_Until_It_Shoots(), 0);
    EXPECT_EQ(plant->stem_count, 30);
    EXPECT_EQ(plant->y, PLANT_Y - 30 * 8);
}

TEST_F(TomatooPlantHazard, IsUpForThirtyOneTicksAndShootsAtMostEverySixtyOneTicks)
{
    std::vector<int> shots;
    std::vector<int> drops;
    bool was_extended = false;
    for (int tick = 1; tick <= 40000; tick++)
    {
        plant->Process(application, level);
        if (plant->shooting_up)
        {
            EXPECT_FALSE(was_extended) << "shot while up, tick " << tick;
            shots.push_back(tick);
        }
        if (was_extended && !plant->extended)
            drops.push_back(tick);
        // Up exactly from its shooting tick to 30 ticks after it.
        bool should_be_up = !shots.empty() && tick - shots.back() <= 30;
        ASSERT_EQ(plant->extended, should_be_up) << "tick " << tick;
        ASSERT_EQ(plant->y, should_be_up ? PLANT_Y - 24 : PLANT_Y) << "tick " << tick;
        was_extended = plant->extended;
    }
    ASSERT_GE(shots.size(), 20u);
    for (size_t i = 0; i < drops.size(); i++)
        EXPECT_EQ(drops[i], shots[i] + 31);
    int shortest_gap = 1000000;
    for (size_t i = 1; i < shots.size(); i++)
        if (shots[i] - shots[i - 1] < shortest_gap)
            shortest_gap = shots[i] - shots[i - 1];
    EXPECT_EQ(shortest_gap, 61);
    EXPECT_EQ(application.sound_effect_plays[Application::GROWING_SE], static_cast<int>(shots.size()));
    EXPECT_EQ(application.sound_effect_plays[Application::SHRINKING_SE], static_cast<int>(drops.size()));
}

TEST_F(TomatooPlantHazard, ShootingUpOnlyInTheShootingTick)
{
    ASSERT_GT(Ticks_Until_It_Shoots(), 0);
    EXPECT_TRUE(plant->shooting_up);
    plant->Process(application, level);
    EXPECT_FALSE(plant->shooting_up);
    EXPECT_TRUE(plant->extended);

    // Cleared even in a tick it spends out of view.
    plant->shooting_up = true;
    level.scroll_x = 512;
    plant->Process(application, level);
    EXPECT_FALSE(plant->shooting_up);
}

TEST_F(TomatooPlantHazard, ItsShapeReachesFromTheRaisedHeadDownOverTheStem)
{
    Rectangle shape;
    plant->Get_Bump_Map(shape, 0, application);
    EXPECT_EQ(shape.left, PLANT_X / 4);
    EXPECT_EQ(shape.right, PLANT_X / 4 + 5);
    EXPECT_EQ(shape.top, PLANT_Y / 4);
    EXPECT_EQ(shape.bottom, PLANT_Y / 4 + 5);

    ASSERT_GT(Ticks_Until_It_Shoots(), 0);
    plant->Get_Bump_Map(shape, 0, application);
    EXPECT_EQ(shape.left, PLANT_X / 4);
    EXPECT_EQ(shape.right, PLANT_X / 4 + 5);
    EXPECT_EQ(shape.top, (PLANT_Y - 24) / 4);
    EXPECT_EQ(shape.bottom, PLANT_Y / 4 + 5);

    // In a tall level the stem is 30 pieces long.
    plant->extended = false;
    plant->y = PLANT_Y;
    plant->timer = 61;
    level.screens_high = 3;
    ASSERT_GT(Ticks_Until_It_Shoots(), 0);
    plant->Get_Bump_Map(shape, 0, application);
    EXPECT_EQ(shape.top, (PLANT_Y - 240) / 4);
    EXPECT_EQ(shape.bottom, PLANT_Y / 4 + 5);
}

TEST_F(TomatooPlantHazard, DrawsItsStemUnderTheRaisedHead)
{
    plant->Process(application, level);
    while (!plant->shooting_up)
    {
        Clear();
        plant->Process(application, level);
    }
    EXPECT_EQ(Differences_From(Application::TOMATOO_PLANT_HEAD_BM, PLANT_X, PLANT_Y - 24, false), 0);
    for (int piece = 0; piece < 3; piece++)
        EXPECT_EQ(Differences_From(Application::TOMATOO_PLANT_STEM_BM, PLANT_X, PLANT_Y + 8 * piece, false), 0);
    EXPECT_GT(Drawn(PLANT_X, PLANT_Y, 24, 24), 0);

    // Back down after 31 ticks: the head alone at its place.
    for (int tick = 0; tick < 31; tick++)
    {
        Clear();
        plant->Process(application, level);
    }
    EXPECT_FALSE(plant->extended);
    EXPECT_EQ(Differences_From(Application::TOMATOO_PLANT_HEAD_BM, PLANT_X, PLANT_Y, false), 0);
    EXPECT_EQ(Drawn(PLANT_X, 0, 24, PLANT_Y), 0);
}

TEST_F(TomatooPlantHazard, ItsTimerStopsWhileItsColumnsAreOutOfView)
{
    ASSERT_GT(Ticks_Until_It_Shoots(), 0);
    plant->Process(application, level);
    EXPECT_EQ(plant->timer, 1);

    level.scroll_x = PLANT_X + 24; // the view starts right after it
    for (int tick = 0; tick < 100; tick++)
        plant->Process(application, level);
    EXPECT_EQ(plant->timer, 1);
    EXPECT_TRUE(plant->extended);
    EXPECT_EQ(application.sound_effect_plays[Application::SHRINKING_SE], 0);

    // Far above or below the view, with its columns in view, it goes on.
    level.scroll_x = 0;
    level.scroll_y = -2000;
    for (int tick = 0; tick < 29; tick++)
        plant->Process(application, level);
    EXPECT_EQ(plant->timer, 30);
    EXPECT_TRUE(plant->extended);
    plant->Process(application, level);
    EXPECT_FALSE(plant->extended);
    EXPECT_EQ(plant->y, PLANT_Y);
    EXPECT_EQ(application.sound_effect_plays[Application::SHRINKING_SE], 1);
}

// ---------------------------------------------------------------------------
// Spiked pole

class SpikedPoleHazard : public Creature_Fixture
{
protected:
    static constexpr int POLE_X = 100;
    static constexpr int POLE_Y = 40;
    Spiked_Pole* pole = nullptr;

    void SetUp() override
    {
        Creature_Fixture::SetUp();
        pole = Place(new Spiked_Pole(), POLE_X, POLE_Y, "data\\bump_maps\\spiked_pole.map");
    }

    void Tick()
    {
        Clear();
        pole->Process(application, level);
    }

    bool Shows_Retracted()
    {
        return Differences_From(Application::SPIKED_POLE_POINT_BM, POLE_X, POLE_Y, false) == 0 &&
               Drawn(POLE_X, POLE_Y + 16, 16, 48) == 0;
    }

    bool Shows_Extended()
    {
        for (int piece = 0; piece < 3; piece++)
            if (Differences_From(Application::SPIKED_POLE_POLE_BM, POLE_X, POLE_Y + 16 * piece, false) != 0)
                return false;
        return Differences_From(Application::SPIKED_POLE_POINT_BM, POLE_X, POLE_Y + 48, false) == 0;
    }
};

TEST_F(SpikedPoleHazard, ThrustsOnThe23rdTickInViewWithOneThudAndWithdrawsSilently)
{
    for (int tick = 1; tick <= 22; tick++)
    {
        Tick();
        EXPECT_FALSE(pole->extended) << "tick " << tick;
        EXPECT_TRUE(Shows_Retracted()) << "tick " << tick;
    }
    EXPECT_EQ(application.sound_effect_plays[Application::THUD_SE], 0);

    Tick(); // 23: the thrust, still drawn retracted
    EXPECT_TRUE(pole->extended);
    EXPECT_EQ(application.sound_effect_plays[Application::THUD_SE], 1);
    EXPECT_TRUE(Shows_Retracted());

    for (int tick = 24; tick <= 45; tick++)
    {
        Tick();
        EXPECT_TRUE(pole->extended) << "tick " << tick;
        EXPECT_TRUE(Shows_Extended()) << "tick " << tick;
    }

    Tick(); // 46: the withdrawal, still drawn extended
    EXPECT_FALSE(pole->extended);
    EXPECT_TRUE(Shows_Extended());
    EXPECT_EQ(application.sound_effect_plays[Application::THUD_SE], 1);

    Tick();
    EXPECT_TRUE(Shows_Retracted());
    for (int tick = 48; tick <= 69; tick++)
        Tick();
    EXPECT_TRUE(pole->extended);
    EXPECT_EQ(application.sound_effect_plays[Application::THUD_SE], 2);
    EXPECT_EQ(pole->x, POLE_X);
    EXPECT_EQ(pole->y, POLE_Y);
}

TEST_F(SpikedPoleHazard, ItsShapeGrowsByThreePiecesWhenExtended)
{
    Rectangle shape;
    pole->Get_Bump_Map(shape, 0, application);
    EXPECT_EQ(shape.left, POLE_X / 4);
    EXPECT_EQ(shape.right, POLE_X / 4 + 3);
    EXPECT_EQ(shape.top, POLE_Y / 4);
    EXPECT_EQ(shape.bottom, POLE_Y / 4 + 3);
    pole->extended = true;
    pole->Get_Bump_Map(shape, 0, application);
    EXPECT_EQ(shape.left, POLE_X / 4);
    EXPECT_EQ(shape.right, POLE_X / 4 + 3);
    EXPECT_EQ(shape.top, POLE_Y / 4);
    EXPECT_EQ(shape.bottom, POLE_Y / 4 + 3 + 12); // down to the thrust point's last row
}

TEST_F(SpikedPoleHazard, ItsRhythmPausesOutOfView)
{
    for (int tick = 0; tick < 10; tick++)
        Tick();
    level.scroll_y = POLE_Y + 16; // the view starts under its point
    for (int tick = 0; tick < 40; tick++)
        Tick();
    EXPECT_EQ(pole->timer, 10);
    EXPECT_FALSE(pole->extended);
    EXPECT_EQ(Drawn(0, 0, 256, 224), 0);

    level.scroll_y = 0;
    for (int tick = 0; tick < 12; tick++)
        Tick();
    EXPECT_FALSE(pole->extended);
    Tick();
    EXPECT_TRUE(pole->extended);
    EXPECT_EQ(application.sound_effect_plays[Application::THUD_SE], 1);
}

// ---------------------------------------------------------------------------
// Boiling mud

class BoilingMudHazard : public Creature_Fixture
{
};

TEST_F(BoilingMudHazard, FlipsItsPictureEveryFourTicksAndNeverMoves)
{
    ASSERT_TRUE(Is_Asymmetric(Application::BOILING_MUD_BM));
    Boiling_Mud* mud = Place(new Boiling_Mud(), 100, 176, "data\\bump_maps\\boiling_mud.map");
    for (int tick = 1; tick <= 12; tick++)
    {
        Clear();
        mud->Process(application, level);
        bool mirrored = (tick / 4) % 2 == 1; // ticks 4 to 7 and 12 to 15
        EXPECT_EQ(mud->mirrored, mirrored) << "tick " << tick;
        EXPECT_EQ(Differences_From(Application::BOILING_MUD_BM, 100, 176, mirrored), 0) << "tick " << tick;
        EXPECT_EQ(mud->x, 100);
        EXPECT_EQ(mud->y, 176);
    }
}

TEST_F(BoilingMudHazard, StandsStillOutOfView)
{
    Boiling_Mud* mud = Place(new Boiling_Mud(), 400, 176, "data\\bump_maps\\boiling_mud.map");
    for (int tick = 0; tick < 8; tick++)
        mud->Process(application, level);
    EXPECT_EQ(mud->timer, 0);
    EXPECT_FALSE(mud->mirrored);
    EXPECT_EQ(Drawn(0, 0, 256, 224), 0);
}

// ---------------------------------------------------------------------------
// Mud drop

class MudDropHazard : public Creature_Fixture
{
protected:
    Mud_Drop* Put_Drop(int x, int y)
    {
        return Place(new Mud_Drop(), x, y, "data\\bump_maps\\mud_drop.map");
    }
};

TEST_F(MudDropHazard, LeapsFrom400To188AndBackEvery106Ticks)
{
    Mud_Drop* drop = Put_Drop(100, 400);
    level.scroll_y = 192; // the whole leap stays in view
    for (int tick = 1; tick <= 212; tick++)
    {
        drop->Process(application, level);
        int phase = (tick - 1) % 106 + 1;
        int expected = phase <= 53 ? 400 - 4 * phase : 188 + 4 * (phase - 53);
        ASSERT_EQ(drop->y, expected) << "tick " << tick;
        EXPECT_EQ(drop->top_y, 188);
    }
    EXPECT_EQ(drop->y, 400);
}

TEST_F(MudDropHazard, ZigzagsBetweenFourLeftAndTwelveRightOfItsStart)
{
    Mud_Drop* drop = Put_Drop(100, 400);
    level.scroll_y = 192;
    const int offsets[] = {4, 8, 12, 8, 4, 0, -4, 0, 4, 8, 12, 8, 4, 0, -4, 0};
    for (int offset : offsets)
    {
        drop->Process(application, level);
        EXPECT_EQ(drop->x - 100, offset);
    }
}

TEST_F(MudDropHazard, IsDrawnAtItsNewPlace)
{
    Mud_Drop* drop = Put_Drop(100, 200);
    drop->Process(application, level);
    EXPECT_EQ(Differences_From(Application::MUD_DROP_BM, 104, 196, false), 0);
    EXPECT_EQ(Drawn(0, 0, 256, 224),
              Drawn(104, 196, application.Bitmap_Width(Application::MUD_DROP_BM),
                           application.Bitmap_Height(Application::MUD_DROP_BM)));
}

TEST_F(MudDropHazard, WorksOutTheTopOfItsLeapEvenOutOfView)
{
    Mud_Drop* drop = Put_Drop(100, 1000);
    EXPECT_EQ(drop->top_y, Application::CANVAS_HEIGHT);
    drop->Process(application, level);
    EXPECT_EQ(drop->top_y, 1000 - 212);
    EXPECT_EQ(drop->timer, 0);
    EXPECT_EQ(drop->y, 1000);
    EXPECT_EQ(drop->x, 100);
}

TEST_F(MudDropHazard, ADropStartingAt436TurnsAt224)
{
    Mud_Drop* drop = Put_Drop(100, 436);
    level.scroll_y = 224;
    int highest = 436;
    for (int tick = 1; tick <= 106; tick++)
    {
        drop->Process(application, level);
        EXPECT_EQ(drop->top_y, 224);
        if (drop->y < highest)
            highest = drop->y;
        if (tick == 53)
        {
            EXPECT_EQ(drop->y, 224);
        }
        if (tick == 54)
        {
            EXPECT_EQ(drop->y, 228);
        }
    }
    EXPECT_EQ(highest, 224);
    EXPECT_EQ(drop->y, 436);
}

TEST_F(MudDropHazard, AStompedDropDiesOnItsNextTickAndFalls)
{
    Mud_Drop* drop = Put_Drop(100, 150);
    drop->Process(application, level); // up to 146, x 104
    drop->hurt = true;
    drop->Process(application, level);
    EXPECT_EQ(drop->strength, 0);
    EXPECT_EQ(drop->y, 150);
    for (int tick = 0; tick < 10; tick++)
    {
        drop->Process(application, level);
        EXPECT_EQ(drop->x, 104);
    }
    EXPECT_EQ(drop->y, 190);
    EXPECT_EQ(drop->Get_Points(), 10);
}

// ---------------------------------------------------------------------------
// Every creature code of a level file

class CreatureLoading : public Creature_Fixture
{
};

TEST_F(CreatureLoading, EveryCharacterCodeMakesItsClassAndVariant)
{
    std::string map = "0 0\n";
    for (int code = 1; code <= 28; code++)
        map += std::to_string(code) + " " + std::to_string(8 * code) + " " + std::to_string(100 + code) + "\n";
    map += "-1\n1005 0 192\n-1\n";
    for (int i = 0; i < Level::NUMBER_OF_POINTERS; i++)
        map += "0\n";
    Temporary_Directory directory;
    Level loaded;
    loaded.Load(directory.Write("creatures.map", map).c_str());
    ASSERT_EQ(loaded.number_of_characters, 28);
    EXPECT_EQ(loaded.main_character, 1);

    auto at = [&](int code) { return loaded.characters[code - 1]; };
    for (int code = 1; code <= 28; code++)
    {
        Character* character = at(code);
        ASSERT_NE(character, nullptr) << "code " << code;
        EXPECT_EQ(character->x, 8 * code);
        EXPECT_EQ(character->start_x, 8 * code);
        EXPECT_EQ(character->y, 100 + code);
        EXPECT_EQ(character->start_y, 100 + code);
        bool shapeless = code == Level::STOP_ATTACK_OBJECT || code == Level::SCROLLING_BACKGROUND ||
                         code == Level::MESSAGE_OBJECT;
        if (shapeless)
            EXPECT_EQ(character->bump_maps_loaded, 0) << "code " << code;
        else
            EXPECT_GT(character->bump_maps_loaded, 0) << "code " << code;
    }

    auto bird = [&](int code) { return dynamic_cast<Black_Bird*>(at(code)); };
    ASSERT_NE(bird(Level::BLACK_BIRD), nullptr);
    ASSERT_NE(bird(Level::SHOUTING_BLACK_BIRD), nullptr);
    ASSERT_NE(bird(Level::LEAPING_BLACK_BIRD), nullptr);
    EXPECT_EQ(bird(Level::BLACK_BIRD)->mode, Black_Bird::NORMAL);
    EXPECT_EQ(bird(Level::SHOUTING_BLACK_BIRD)->mode, Black_Bird::SHOUT);
    EXPECT_EQ(bird(Level::LEAPING_BLACK_BIRD)->mode, Black_Bird::LEAP);
    EXPECT_EQ(at(Level::SHOUTING_BLACK_BIRD)->type, Level::BLACK_BIRD);
    EXPECT_EQ(at(Level::LEAPING_BLACK_BIRD)->type, Level::BLACK_BIRD);

    EXPECT_NE(dynamic_cast<Bluejay*>(at(Level::BLUEJAY)), nullptr);
    EXPECT_NE(dynamic_cast<Clam*>(at(Level::CLAM)), nullptr);
    EXPECT_NE(dynamic_cast<Egg*>(at(Level::EGG)), nullptr);

    Fly* fly = dynamic_cast<Fly*>(at(Level::FLY));
    Fly* hunting_fly = dynamic_cast<Fly*>(at(Level::HUNTING_FLY));
    ASSERT_NE(fly, nullptr);
    ASSERT_NE(hunting_fly, nullptr);
    EXPECT_FALSE(fly->hunting);
    EXPECT_TRUE(hunting_fly->hunting);
    EXPECT_EQ(hunting_fly->type, Level::FLY);

    EXPECT_NE(dynamic_cast<Mosquito*>(at(Level::MOSQUITO)), nullptr);
    EXPECT_NE(dynamic_cast<Ghost*>(at(Level::GHOST)), nullptr);
    EXPECT_NE(dynamic_cast<Master_Ecto*>(at(Level::MASTER_ECTO)), nullptr);

    Rock* rock = dynamic_cast<Rock*>(at(Level::ROCK));
    Rock* local_rock = dynamic_cast<Rock*>(at(Level::LOCAL_ROCK));
    ASSERT_NE(rock, nullptr);
    ASSERT_NE(local_rock, nullptr);
    EXPECT_FALSE(rock->local);
    EXPECT_TRUE(local_rock->local);
    EXPECT_EQ(local_rock->type, Level::ROCK);
    EXPECT_EQ(local_rock->bitmap, Application::ROCK_BM);

    EXPECT_NE(dynamic_cast<Goldenjay*>(at(Level::GOLDENJAY)), nullptr);
    EXPECT_NE(dynamic_cast<Swooper*>(at(Level::SWOOPER)), nullptr);

    Switch* pipe_switch = dynamic_cast<Switch*>(at(Level::PIPE_SWITCH));
    Switch* reverse_switch = dynamic_cast<Switch*>(at(Level::REVERSE_PIPE_SWITCH));
    Switch* no_ecto_switch = dynamic_cast<Switch*>(at(Level::NO_ECTO_SWITCH));
    ASSERT_NE(pipe_switch, nullptr);
    ASSERT_NE(reverse_switch, nullptr);
    ASSERT_NE(no_ecto_switch, nullptr);
    EXPECT_EQ(pipe_switch->kind, Switch::PIPE);
    EXPECT_EQ(reverse_switch->kind, Switch::REVERSE_PIPE);
    EXPECT_EQ(no_ecto_switch->kind, Switch::NO_ECTO);
    for (Switch* button : {pipe_switch, reverse_switch, no_ecto_switch})
    {
        EXPECT_EQ(button->type, Level::PIPE_SWITCH);
        EXPECT_EQ(button->bitmap, Application::SWITCH_NORMAL_BM);
        EXPECT_FALSE(button->activated);
    }

    EXPECT_NE(dynamic_cast<Super_Mosquito*>(at(Level::SUPER_MOSQUITO)), nullptr);
    EXPECT_NE(dynamic_cast<Lemming*>(at(Level::LEMMING)), nullptr);
    Throwable_Rock* stone = dynamic_cast<Throwable_Rock*>(at(Level::THROWABLE_ROCK));
    ASSERT_NE(stone, nullptr);
    EXPECT_FALSE(stone->harmful);
    EXPECT_FALSE(stone->thrown);
    EXPECT_NE(dynamic_cast<Stop_Attack_Object*>(at(Level::STOP_ATTACK_OBJECT)), nullptr);
    EXPECT_NE(dynamic_cast<Tomatoo_Plant*>(at(Level::TOMATOO_PLANT)), nullptr);
    EXPECT_NE(dynamic_cast<Scrolling_Background_Object*>(at(Level::SCROLLING_BACKGROUND)), nullptr);
    EXPECT_NE(dynamic_cast<Message_Object*>(at(Level::MESSAGE_OBJECT)), nullptr);
    EXPECT_NE(dynamic_cast<Spiked_Pole*>(at(Level::SPIKED_POLE)), nullptr);
    EXPECT_NE(dynamic_cast<Boiling_Mud*>(at(Level::BOILING_MUD)), nullptr);
    EXPECT_NE(dynamic_cast<Mud_Drop*>(at(Level::MUD_DROP)), nullptr);

    // Every class that is not a variant keeps its own code.
    for (int code : {1, 2, 3, 4, 5, 6, 9, 10, 11, 12, 13, 15, 17, 18, 19, 20, 22, 23, 24, 25, 26, 27})
        EXPECT_EQ(at(code)->type, code) << "code " << code;
}

TEST_F(CreatureLoading, LoadedShapesAreTheCreaturesOwn)
{
    std::string map = "0 0\n18 100 168\n22 160 168\n25 200 40\n27 40 200\n-1\n1005 0 192\n-1\n";
    for (int i = 0; i < Level::NUMBER_OF_POINTERS; i++)
        map += "0\n";
    Temporary_Directory directory;
    Level loaded;
    loaded.Load(directory.Write("shapes.map", map).c_str());
    ASSERT_EQ(loaded.number_of_characters, 4);
    Rectangle shape;
    loaded.characters[0]->Get_Bump_Map(shape, 0, application);
    EXPECT_EQ(shape.left, 25);
    EXPECT_EQ(shape.top, 42);
    EXPECT_EQ(shape.right, 28);
    EXPECT_EQ(shape.bottom, 47);
    loaded.characters[1]->Get_Bump_Map(shape, 0, application);
    EXPECT_EQ(shape.right - shape.left, 5);
    EXPECT_EQ(shape.bottom - shape.top, 5);
    loaded.characters[2]->Get_Bump_Map(shape, 0, application);
    EXPECT_EQ(shape.right - shape.left, 3);
    EXPECT_EQ(shape.bottom - shape.top, 3);
    loaded.characters[3]->Get_Bump_Map(shape, 0, application);
    EXPECT_EQ(shape.right - shape.left, 2);
    EXPECT_EQ(shape.bottom - shape.top, 2);
}

} // namespace
