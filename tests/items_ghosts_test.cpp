// Items, switches, level markers and ghosts: eggs, clams, falling and
// throwable rocks, the three switches, the stop-attack and drifting-
// background markers, ghosts and the master ecto, and the ending the final
// switch starts. They run against the real pictures and shapes.

#include <cstdlib>

#include <allegro.h>
#include <gtest/gtest.h>

#include "application.h"
#include "bluejay.h"
#include "clam.h"
#include "egg.h"
#include "ghost.h"
#include "level.h"
#include "master_ecto.h"
#include "rock.h"
#include "scrolling_background_object.h"
#include "stop_attack_object.h"
#include "switch.h"
#include "test_support.h"
#include "throwable_rock.h"

namespace
{


// The creature fixture with the random numbers seeded as the items' tests
// expect.
class Item_Fixture : public Creature_Fixture
{
protected:
    void SetUp() override
    {
        Creature_Fixture::SetUp();
        std::srand(5);
    }
};

// ---------------------------------------------------------------------------
// Eggs and clams

class EggItem : public Item_Fixture
{
};

TEST_F(EggItem, IsNotDrawnOnceGrabbedAndComesBackOnlyOnAFullReset)
{
    Egg* egg = Place(new Egg(), 100, 176, "data\\bump_maps\\egg.map");
    egg->Process(application, level);
    EXPECT_EQ(Differences_From(Application::EGG_BM, 100, 176), 0);
    EXPECT_GT(Drawn(100, 176, 12, 16), 0);

    egg->hurt = true; // grabbed by the hero
    Clear();
    egg->Process(application, level);
    EXPECT_EQ(Drawn(0, 0, 256, 224), 0);

    // A lost life leaves it gone.
    level.Reset(false);
    EXPECT_TRUE(egg->hurt);
    Clear();
    egg->Process(application, level);
    EXPECT_EQ(Drawn(0, 0, 256, 224), 0);

    // A fresh start of the demo brings it back.
    level.Reset(true);
    EXPECT_FALSE(egg->hurt);
    egg->Process(application, level);
    EXPECT_EQ(Differences_From(Application::EGG_BM, 100, 176), 0);
    EXPECT_EQ(egg->x, 100);
    EXPECT_EQ(egg->y, 176);
}

TEST_F(EggItem, IsNotDrawnOutOfView)
{
    Egg* egg = Place(new Egg(), 100, 176, "data\\bump_maps\\egg.map");
    level.scroll_x = 112;
    egg->Process(application, level);
    EXPECT_EQ(Drawn(0, 0, 256, 224), 0);
    level.scroll_x = 111; // its last column is the view's first
    egg->Process(application, level);
    EXPECT_GT(Drawn(0, 176, 1, 16), 0);
}

class ClamItem : public Item_Fixture
{
};

TEST_F(ClamItem, IsClosedOnItsFirstTickAndOpensWhenItsTimerReachesFour)
{
    Clam* clam = Place(new Clam(), 100, 176, "data\\bump_maps\\clam.map");
    EXPECT_EQ(clam->bitmap, Application::CLAM_MOUTH_OPEN_BM);
    EXPECT_EQ(clam->strength, 2);
    for (int tick = 1; tick <= 16; tick++)
    {
        Clear();
        clam->Process(application, level);
        bool open = (tick % 8) >= 4;
        int picture = open ? Application::CLAM_MOUTH_OPEN_BM : Application::CLAM_MOUTH_CLOSED_BM;
        EXPECT_EQ(clam->bitmap, picture) << "tick " << tick;
        EXPECT_EQ(Differences_From(picture, 100, 176), 0) << "tick " << tick;
    }
}

TEST_F(ClamItem, IsNeverDefeated)
{
    Clam* clam = Place(new Clam(), 100, 176, "data\\bump_maps\\clam.map");
    for (int tick = 0; tick < 10; tick++)
    {
        clam->hurt = true;
        clam->Process(application, level);
        EXPECT_FALSE(clam->hurt);
        EXPECT_EQ(clam->strength, 2);
    }
}

TEST_F(ClamItem, AStompOnlyBouncesTheHeroOff)
{
    Ground(0, 224, 192);
    Bluejay* hero = Place_Hero(60, 100); // gliding down and to the right
    Clam* clam = Place(new Clam(), 120, 176, "data\\bump_maps\\clam.map");
    for (int tick = 0; tick < 60; tick++)
    {
        level.Process(application);
        EXPECT_FALSE(clam->hurt) << "tick " << tick;
    }
    EXPECT_GE(application.sound_effect_plays[Application::USELESS_STOMP_SE], 1);
    EXPECT_EQ(application.sound_effect_plays[Application::DAMAGING_STOMP_SE], 0);
    EXPECT_EQ(clam->strength, 2);
    EXPECT_EQ(hero->points, 0);
}

TEST_F(ClamItem, ItsMouthStandsStillOutOfView)
{
    Clam* clam = Place(new Clam(), 300, 176, "data\\bump_maps\\clam.map");
    clam->hurt = true;
    for (int tick = 0; tick < 6; tick++)
        clam->Process(application, level);
    EXPECT_EQ(clam->timer, 0);
    EXPECT_EQ(clam->bitmap, Application::CLAM_MOUTH_OPEN_BM);
    EXPECT_EQ(Drawn(0, 0, 256, 224), 0);
}

// ---------------------------------------------------------------------------
// Falling rocks

class FallingRock : public Item_Fixture
{
protected:
    Rock* Put_Rock(int x, int y, bool local = false)
    {
        Rock* rock = Place(new Rock(), x, y, "data\\bump_maps\\rock.map");
        rock->local = local;
        return rock;
    }
};

TEST_F(FallingRock, FallsFourPixelsEverySecondActiveTickAndTurnsSixteenATick)
{
    Rock* rock = Put_Rock(100, 50);
    for (int tick = 1; tick <= 20; tick++)
    {
        Clear();
        rock->Process(application, level);
        EXPECT_EQ(rock->y, 50 + 4 * (tick / 2)) << "tick " << tick;
        EXPECT_EQ(rock->angle, (16 * tick) % 256) << "tick " << tick;
        EXPECT_EQ(rock->x, 100);
        EXPECT_GT(Drawn(rock->x - 8, rock->y - 8, 40, 40), 0);
        EXPECT_EQ(Drawn(0, 0, 256, 224), Drawn(rock->x - 8, rock->y - 8, 40, 40));
    }
}

TEST_F(FallingRock, ARockFarAboveInTheSameColumnsFallsAtOnce)
{
    // Two screens above the view, so nothing of it may be drawn.
    Rock* rock = Put_Rock(100, -448);
    rock->Process(application, level);
    rock->Process(application, level);
    EXPECT_EQ(rock->y, -444);
    EXPECT_EQ(rock->angle, 32);
    EXPECT_EQ(Drawn(0, 0, 256, 224), 0);

    // And keeps falling below the view.
    rock->y = 400;
    rock->Process(application, level);
    rock->Process(application, level);
    EXPECT_EQ(rock->y, 404);
}

TEST_F(FallingRock, ARockComingInAtTheTopIsDrawnInPart)
{
    // Its picture starts above the view: only its lower half shows.
    Rock* rock = Put_Rock(100, -12);
    rock->Process(application, level);
    EXPECT_GT(Drawn(92, 0, 40, 16), 0);
    EXPECT_EQ(Drawn(0, 0, 256, 224), Drawn(92, 0, 40, 16));
}

TEST_F(FallingRock, ARockOutsideTheViewsColumnsWaits)
{
    Rock* rock = Put_Rock(256, 50);
    for (int tick = 0; tick < 4; tick++)
        rock->Process(application, level);
    EXPECT_EQ(rock->y, 50);
    EXPECT_EQ(rock->timer, 0);
    EXPECT_EQ(rock->angle, 0);
}

TEST_F(FallingRock, ALocalRockWaitsUntilItIsInView)
{
    Rock* rock = Put_Rock(100, -448, true);
    for (int tick = 0; tick < 10; tick++)
        rock->Process(application, level);
    EXPECT_EQ(rock->y, -448);
    EXPECT_EQ(rock->timer, 0);
    EXPECT_EQ(rock->angle, 0);

    level.scroll_y = -460; // now wholly in view
    rock->Process(application, level);
    rock->Process(application, level);
    EXPECT_EQ(rock->y, -444);
    EXPECT_EQ(rock->angle, 32);
}

TEST_F(FallingRock, GoesBackToItsStartOnALevelReset)
{
    Rock* rock = Put_Rock(100, 50);
    for (int tick = 0; tick < 10; tick++)
        rock->Process(application, level);
    level.Reset(false);
    EXPECT_EQ(rock->x, 100);
    EXPECT_EQ(rock->y, 50);
}

// ---------------------------------------------------------------------------
// Throwable rocks

class ThrowableRockItem : public Item_Fixture
{
protected:
    Throwable_Rock* Put_Stone(int x, int y)
    {
        return Place(new Throwable_Rock(), x, y, "data\\bump_maps\\throwable_rock.map");
    }
};

TEST_F(ThrowableRockItem, LiesStillAndHarmlessUntilThrown)
{
    Throwable_Rock* stone = Put_Stone(100, 176);
    EXPECT_FALSE(stone->harmful);
    EXPECT_EQ(stone->type, Level::THROWABLE_ROCK);
    for (int tick = 0; tick < 5; tick++)
        stone->Process(application, level);
    EXPECT_EQ(stone->x, 100);
    EXPECT_EQ(stone->y, 176);
    EXPECT_EQ(Differences_From(Application::THROWABLE_ROCK_BM, 100, 176), 0);
}

TEST_F(ThrowableRockItem, FliesStraightWhenThrown)
{
    Throwable_Rock* level_throw = Put_Stone(100, 150);
    level_throw->thrown = true;
    level_throw->x_direction = -1;
    level_throw->y_direction = 0;
    Throwable_Rock* rising_throw = Put_Stone(100, 150);
    rising_throw->thrown = true;
    rising_throw->x_direction = 1;
    rising_throw->y_direction = -1;
    for (int tick = 1; tick <= 10; tick++)
    {
        level_throw->Process(application, level);
        rising_throw->Process(application, level);
        EXPECT_EQ(level_throw->x, 100 - 4 * tick);
        EXPECT_EQ(level_throw->y, 150);
        EXPECT_EQ(rising_throw->x, 100 + 4 * tick);
        EXPECT_EQ(rising_throw->y, 150 - 4 * tick);
    }
}

TEST_F(ThrowableRockItem, StopsOnceItHasLeftTheView)
{
    Throwable_Rock* stone = Put_Stone(8, 150);
    stone->thrown = true;
    stone->x_direction = -1;
    stone->y_direction = 0;
    for (int tick = 0; tick < 20; tick++)
        stone->Process(application, level);
    EXPECT_EQ(stone->x, -16); // its last column left the view here
}

TEST_F(ThrowableRockItem, IsNeverBroughtBackByALevelReset)
{
    Throwable_Rock* stone = Put_Stone(100, 176);
    stone->thrown = true;
    stone->harmful = true;
    stone->x = 40;
    stone->y = 120;
    level.Reset(false);
    EXPECT_EQ(stone->x, 40);
    EXPECT_EQ(stone->y, 120);
    level.Reset(true);
    EXPECT_EQ(stone->x, 40);
    EXPECT_EQ(stone->y, 120);
    EXPECT_TRUE(stone->thrown);
}

// ---------------------------------------------------------------------------
// Switches

class SwitchItem : public Item_Fixture
{
protected:
    Switch* Put_Switch(int kind, int x = 100, int y = 176)
    {
        Switch* button = Place(new Switch(), x, y, "data\\bump_maps\\switch.map");
        button->kind = kind;
        return button;
    }
};

TEST_F(SwitchItem, AnUnpressedSwitchSendsNothing)
{
    Switch* button = Put_Switch(Switch::PIPE);
    for (int tick = 0; tick < 5; tick++)
        button->Process(application, level);
    EXPECT_EQ(level.signal, 0);
    EXPECT_FALSE(button->activated);
    EXPECT_EQ(Differences_From(Application::SWITCH_NORMAL_BM, 100, 176), 0);
}

TEST_F(SwitchItem, APipeSwitchLowersThePipesOnce)
{
    Switch* button = Put_Switch(Switch::PIPE);
    button->hurt = true;
    button->Process(application, level);
    EXPECT_EQ(level.signal, Level::SIGNAL_LOWER_PIPES);
    EXPECT_TRUE(button->activated);
    EXPECT_EQ(button->bitmap, Application::SWITCH_PRESSED_BM);

    // Someone else changes the signal: the switch does not send it again.
    level.signal = 0;
    for (int tick = 0; tick < 5; tick++)
        button->Process(application, level);
    EXPECT_EQ(level.signal, 0);
}

TEST_F(SwitchItem, AReverseSwitchRaisesThePipes)
{
    Switch* button = Put_Switch(Switch::REVERSE_PIPE);
    button->hurt = true;
    button->Process(application, level);
    EXPECT_EQ(level.signal, Level::SIGNAL_RAISE_PIPES);
    EXPECT_TRUE(button->activated);
}

TEST_F(SwitchItem, TheFinalSwitchDestroysTheEctoAndStopsADriftingBackground)
{
    Switch* button = Put_Switch(Switch::NO_ECTO);
    level.background_scrolling = true;
    button->hurt = true;
    button->Process(application, level);
    EXPECT_EQ(level.signal, Level::SIGNAL_DESTROY_ECTO);
    EXPECT_FALSE(level.background_scrolling);
    EXPECT_TRUE(button->activated);
}

TEST_F(SwitchItem, APressedSwitchWaitsUntilItIsOnScreen)
{
    Switch* button = Put_Switch(Switch::PIPE, 300, 176);
    button->hurt = true;
    for (int tick = 0; tick < 5; tick++)
        button->Process(application, level);
    EXPECT_EQ(level.signal, 0);
    EXPECT_FALSE(button->activated);
    EXPECT_EQ(button->bitmap, Application::SWITCH_NORMAL_BM);
    EXPECT_EQ(Drawn(0, 0, 256, 224), 0);

    level.scroll_x = 200;
    button->Process(application, level);
    EXPECT_EQ(level.signal, Level::SIGNAL_LOWER_PIPES);
    EXPECT_TRUE(button->activated);
}

TEST_F(SwitchItem, ShowsThePressedPictureForGood)
{
    Switch* button = Put_Switch(Switch::PIPE);
    button->Process(application, level);
    EXPECT_EQ(Differences_From(Application::SWITCH_NORMAL_BM, 100, 176), 0);
    button->hurt = true;
    Clear();
    button->Process(application, level);
    EXPECT_EQ(Differences_From(Application::SWITCH_PRESSED_BM, 100, 176), 0);

    // A reset moves it back but leaves it pressed.
    button->x = 60;
    level.Reset(false);
    Clear();
    button->Process(application, level);
    EXPECT_EQ(button->x, 100);
    EXPECT_EQ(Differences_From(Application::SWITCH_PRESSED_BM, 100, 176), 0);
    EXPECT_EQ(level.signal, 0);
}

// ---------------------------------------------------------------------------
// Level markers

class LevelMarker : public Item_Fixture
{
};

TEST_F(LevelMarker, TheStopAttackMarkerClearsOnlyTheAttackSignalWhileInView)
{
    Stop_Attack_Object* marker = Place(new Stop_Attack_Object(), 100, 100, nullptr);
    EXPECT_EQ(marker->number_of_bump_maps, 0);
    level.signal = Level::SIGNAL_ATTACK_BLUEJAY;
    marker->Process(application, level);
    EXPECT_EQ(level.signal, 0);

    for (int other : {Level::SIGNAL_LOWER_PIPES, Level::SIGNAL_RAISE_PIPES, Level::SIGNAL_COLLAPSE_CEMENT,
                      Level::SIGNAL_DESTROY_ECTO})
    {
        level.signal = other;
        marker->Process(application, level);
        EXPECT_EQ(level.signal, other);
    }

    level.scroll_x = 116; // the marker is 16 wide: just out of view
    level.signal = Level::SIGNAL_ATTACK_BLUEJAY;
    marker->Process(application, level);
    EXPECT_EQ(level.signal, Level::SIGNAL_ATTACK_BLUEJAY);
    EXPECT_EQ(Drawn(0, 0, 256, 224), 0); // never drawn
}

TEST_F(LevelMarker, TheDriftGoesOnAfterTheScrollingBackgroundMarkerLeavesTheView)
{
    Scrolling_Background_Object* marker = Place(new Scrolling_Background_Object(), 300, 100, nullptr);
    EXPECT_EQ(marker->number_of_bump_maps, 0);
    level.screens_wide = 4;
    level.Process(application); // out of view: nothing yet
    EXPECT_FALSE(level.background_scrolling);
    EXPECT_EQ(level.background_x, 0);

    level.scroll_x = 200;
    level.Process(application);
    EXPECT_TRUE(level.background_scrolling);
    EXPECT_EQ(level.background_x, 8);

    level.scroll_x = 600;
    for (int tick = 0; tick < 3; tick++)
        level.Process(application);
    EXPECT_TRUE(level.background_scrolling);
    EXPECT_EQ(level.background_x, 32);

    // Only a level reset stops it.
    level.Reset(false);
    EXPECT_FALSE(level.background_scrolling);
}

// ---------------------------------------------------------------------------
// Ghosts

class GhostSpirit : public Item_Fixture
{
protected:
    Bluejay* hero = nullptr;

    void SetUp() override
    {
        Item_Fixture::SetUp();
        hero = Place_Hero(188, 88); // centre (200, 100)
    }

    Ghost* Put_Ghost(int x, int y)
    {
        return Place(new Ghost(), x, y, "data\\bump_maps\\ghost.map");
    }
};

TEST_F(GhostSpirit, DriftsTowardTheHeroCentreEveryFourthTick)
{
    Ghost* ghost = Put_Ghost(100, 40);
    for (int tick = 1; tick <= 12; tick++)
    {
        ghost->Process(application, level);
        int steps = tick / 4;
        EXPECT_EQ(ghost->x, 100 + 4 * steps) << "tick " << tick;
        EXPECT_EQ(ghost->y, 40 + 4 * steps) << "tick " << tick;
    }

    // From below right it comes back up and left.
    ghost->x = 220;
    ghost->y = 130;
    ghost->timer = 3;
    ghost->Process(application, level);
    EXPECT_EQ(ghost->x, 216);
    EXPECT_EQ(ghost->y, 126);
}

TEST_F(GhostSpirit, StaysOnTheHeroCentre)
{
    Ghost* on_it = Put_Ghost(200, 100);
    Ghost* beside_it = Put_Ghost(198, 98); // 2 pixels left of and above it
    for (int tick = 1; tick <= 8; tick++)
    {
        on_it->Process(application, level);
        beside_it->Process(application, level);
        // Each drift step over the centre is taken back in the same tick.
        EXPECT_EQ(on_it->x, 200) << "tick " << tick;
        EXPECT_EQ(on_it->y, 100) << "tick " << tick;
        EXPECT_EQ(beside_it->x, 198) << "tick " << tick;
        EXPECT_EQ(beside_it->y, 98) << "tick " << tick;
    }
}

TEST_F(GhostSpirit, JumpsOnItsHundredAndFiftiethTickInView)
{
    level.screens_wide = 3;
    Ghost* ghost = Put_Ghost(200, 100); // on the hero's centre: no drift
    for (int tick = 1; tick <= 149; tick++)
    {
        ghost->Process(application, level);
        ASSERT_EQ(ghost->x, 200) << "tick " << tick;
    }
    // The place it jumps to comes from the next random number.
    int places = (3 * 256 - 32) / 4;
    unsigned int seed = 21;
    std::srand(seed);
    int expected = 4 * (std::rand() % places);
    std::srand(seed);
    ghost->Process(application, level);
    EXPECT_EQ(ghost->timer, 150);
    EXPECT_EQ(ghost->x, expected);
    EXPECT_EQ(ghost->y, 100);
}

TEST_F(GhostSpirit, JumpsToAMultipleOfFourAnywhereInsideTheLevel)
{
    level.screens_wide = 3;
    Ghost* ghost = Put_Ghost(200, 100);
    int lowest = 100000, highest = -1;
    for (int jump = 0; jump < 400; jump++)
    {
        ghost->x = 200;
        ghost->y = 100;
        ghost->timer = 149;
        ghost->Process(application, level);
        ASSERT_EQ(ghost->x % 4, 0);
        ASSERT_GE(ghost->x, 0);
        ASSERT_LE(ghost->x, 3 * 256 - 32);
        EXPECT_EQ(ghost->y, 100);
        if (ghost->x < lowest)
            lowest = ghost->x;
        if (ghost->x > highest)
            highest = ghost->x;
    }
    // Across the whole width, not one screen.
    EXPECT_LT(lowest, 64);
    EXPECT_GT(highest, 3 * 256 - 32 - 64);
}

TEST_F(GhostSpirit, NeitherMovesNorIsDrawnOffScreen)
{
    Ghost* ghost = Put_Ghost(300, 100);
    for (int tick = 0; tick < 160; tick++)
        ghost->Process(application, level);
    EXPECT_EQ(ghost->timer, 0);
    EXPECT_EQ(ghost->x, 300);
    EXPECT_EQ(ghost->y, 100);
    EXPECT_EQ(Drawn(0, 0, 256, 224), 0);
}

TEST_F(GhostSpirit, IsGoneOnceTheEctoIsDestroyed)
{
    Ghost* ghost = Put_Ghost(100, 40);
    level.signal = Level::SIGNAL_DESTROY_ECTO;
    for (int tick = 0; tick < 160; tick++)
        ghost->Process(application, level);
    EXPECT_EQ(ghost->timer, 0);
    EXPECT_EQ(ghost->x, 100);
    EXPECT_EQ(ghost->y, 40);
    EXPECT_EQ(Drawn(0, 0, 256, 224), 0);
}

TEST_F(GhostSpirit, IsDrawnTranslucentlyThroughItsScratchPicture)
{
    BITMAP* scratch = application.ghost_canvas;
    ASSERT_NE(scratch, nullptr);
    blank = makecol(0, 0, 0);
    Clear();

    // The brightest pixel of the ghost's picture.
    BITMAP* picture = application.bitmaps[Application::GHOST_BM];
    int mask = bitmap_mask_color(picture);
    int best_x = -1, best_y = -1, best = -1;
    for (int row = 0; row < picture->h; row++)
        for (int column = 0; column < picture->w; column++)
        {
            int colour = getpixel(picture, column, row);
            int brightness = getr(colour) + getg(colour) + getb(colour);
            if (colour != mask && brightness > best)
            {
                best = brightness;
                best_x = column;
                best_y = row;
            }
        }
    ASSERT_GT(best, 0);

    Ghost* ghost = Put_Ghost(40, 40);
    ghost->Process(application, level); // timer 1: drawn plain
    EXPECT_EQ(application.ghost_canvas, scratch);
    int source = getpixel(picture, best_x, best_y);
    int blended = getpixel(application.canvas, 40 + best_x, 40 + best_y);
    int blended_brightness = getr(blended) + getg(blended) + getb(blended);
    EXPECT_GT(blended_brightness, 0);
    EXPECT_LT(blended_brightness, getr(source) + getg(source) + getb(source));
    // Nothing outside its 32 x 32 square.
    EXPECT_EQ(Drawn(0, 0, 256, 224), Drawn(40, 40, 32, 32));
}

// ---------------------------------------------------------------------------
// The master ecto

class MasterEctoSpirit : public Item_Fixture
{
protected:
    Bluejay* hero = nullptr;

    void SetUp() override
    {
        Item_Fixture::SetUp();
        hero = Place_Hero(100, 100); // centre (112, 112)
    }

    Master_Ecto* Put_Ecto(int x, int y)
    {
        return Place(new Master_Ecto(), x, y, "data\\bump_maps\\master_ecto.map");
    }
};

TEST_F(MasterEctoSpirit, ChasesTheHeroEverySecondTickCentreToCentre)
{
    Master_Ecto* ecto = Put_Ecto(120, 20); // centre (152, 52)
    for (int tick = 1; tick <= 10; tick++)
    {
        ecto->Process(application, level);
        int steps = tick / 2;
        EXPECT_EQ(ecto->x, 120 - 4 * steps) << "tick " << tick;
        EXPECT_EQ(ecto->y, 20 + 4 * steps) << "tick " << tick;
        EXPECT_FALSE(ecto->repositioned);
    }

    // Centred on the hero on one axis, it moves only on the other.
    ecto->x = 80; // centre x 112
    ecto->y = 100;
    ecto->timer = 1;
    ecto->Process(application, level);
    EXPECT_EQ(ecto->x, 80);
    EXPECT_EQ(ecto->y, 96);
}

TEST_F(MasterEctoSpirit, IsPutAheadOfTheHeroWhenItLeavesTheViewOncePerAbsence)
{
    Master_Ecto* ecto = Put_Ecto(-200, 20); // off to the left
    ecto->Process(application, level);
    int offset = ecto->x - hero->x;
    EXPECT_GE(offset, 256);
    EXPECT_LE(offset, 1276);
    EXPECT_EQ(offset % 4, 0);
    EXPECT_EQ(ecto->y, 20);
    EXPECT_TRUE(ecto->repositioned);

    // Still away: it only chases, 4 pixels every second tick.
    int x = ecto->x;
    ecto->Process(application, level);
    EXPECT_EQ(ecto->x, x - 4);
    ecto->Process(application, level);
    EXPECT_EQ(ecto->x, x - 4);
    ecto->Process(application, level);
    EXPECT_EQ(ecto->x, x - 8);

    // Back in view, then the hero runs off to the left and it drops out of
    // the view on the right: it is put ahead of the hero again.
    ecto->x = 150;
    ecto->Process(application, level);
    EXPECT_FALSE(ecto->repositioned);
    ecto->Process(application, level);
    ASSERT_EQ(ecto->timer % 2, 0); // the next tick takes no chase step
    hero->x = -400;
    level.scroll_x = -528;
    ecto->Process(application, level);
    EXPECT_TRUE(ecto->repositioned);
    offset = ecto->x - hero->x;
    EXPECT_GE(offset, 256);
    EXPECT_LE(offset, 1276);
    EXPECT_EQ(offset % 4, 0);
}

TEST_F(MasterEctoSpirit, ItsPlaceAheadSpansTheWholeRangeInStepsOfFour)
{
    Master_Ecto* ecto = Put_Ecto(-200, 20);
    int lowest = 100000, highest = -1;
    for (int absence = 0; absence < 600; absence++)
    {
        ecto->x = -200;
        ecto->repositioned = false;
        ecto->timer = 0; // an odd tick: no chase step on top
        ecto->Process(application, level);
        int offset = ecto->x - hero->x;
        ASSERT_EQ(offset % 4, 0);
        ASSERT_GE(offset, 256);
        ASSERT_LE(offset, 1276);
        if (offset < lowest)
            lowest = offset;
        if (offset > highest)
            highest = offset;
    }
    EXPECT_LT(lowest, 256 + 40);
    EXPECT_GT(highest, 1276 - 40);
}

TEST_F(MasterEctoSpirit, IsGoneOnceTheEctoIsDestroyed)
{
    Master_Ecto* ecto = Put_Ecto(120, 20);
    level.signal = Level::SIGNAL_DESTROY_ECTO;
    for (int tick = 0; tick < 10; tick++)
        ecto->Process(application, level);
    EXPECT_EQ(ecto->timer, 0);
    EXPECT_EQ(ecto->x, 120);
    EXPECT_EQ(ecto->y, 20);
    EXPECT_EQ(Drawn(0, 0, 256, 224), 0);
}

TEST_F(MasterEctoSpirit, IsDrawnTranslucentlyThroughItsScratchPicture)
{
    BITMAP* scratch = application.master_ecto_canvas;
    ASSERT_NE(scratch, nullptr);
    BITMAP* ghost_scratch = application.ghost_canvas;
    Master_Ecto* ecto = Put_Ecto(60, 60);
    ecto->Process(application, level);
    EXPECT_EQ(application.master_ecto_canvas, scratch);
    EXPECT_EQ(application.ghost_canvas, ghost_scratch);
    EXPECT_GT(Drawn(60, 60, 64, 64), 0);
    EXPECT_EQ(Drawn(0, 0, 256, 224), Drawn(60, 60, 64, 64));
    // Translucent: no pixel shows the picture's own colour over the blank.
    BITMAP* picture = application.bitmaps[Application::MASTER_ECTO_BM];
    int mask = bitmap_mask_color(picture);
    int same = 0, opaque = 0;
    for (int row = 0; row < picture->h; row++)
        for (int column = 0; column < picture->w; column++)
        {
            int colour = getpixel(picture, column, row);
            if (colour == mask || colour == blank)
                continue;
            opaque++;
            if (getpixel(application.canvas, 60 + column, 60 + row) == colour)
                same++;
        }
    EXPECT_GT(opaque, 0);
    EXPECT_LT(same, opaque / 10);
}

// ---------------------------------------------------------------------------
// The ending

class FinalSwitchEnding : public Item_Fixture
{
};

TEST_F(FinalSwitchEnding, StompingTheFinalSwitchCompletesTheGameFifteenTicksLaterWithTheEggBonusOnce)
{
    Ground(0, 224, 192);
    Bluejay* hero = Place_Hero(60, 100); // gliding down and to the right
    hero->eggs = 2;
    Switch* button = Place(new Switch(), 120, 176, "data\\bump_maps\\switch.map");
    button->kind = Switch::NO_ECTO;
    // Spirits in view, well away from the hero's way down.
    Ghost* ghost = Place(new Ghost(), 224, 0, "data\\bump_maps\\ghost.map");
    Master_Ecto* ecto = Place(new Master_Ecto(), 192, -40, "data\\bump_maps\\master_ecto.map");

    int signal_tick = -1;
    for (int tick = 1; tick <= 40 && signal_tick < 0; tick++)
    {
        level.Process(application);
        if (level.signal == Level::SIGNAL_DESTROY_ECTO)
            signal_tick = tick;
    }
    ASSERT_GT(signal_tick, 0) << "the hero never pressed the switch";
    EXPECT_TRUE(button->hurt);
    EXPECT_TRUE(button->activated);
    EXPECT_EQ(button->bitmap, Application::SWITCH_PRESSED_BM);
    EXPECT_EQ(application.sound_effect_plays[Application::DAMAGING_STOMP_SE], 1);
    EXPECT_EQ(hero->points, 10);
    EXPECT_EQ(level.ending_timer, 1);

    int ghost_x = ghost->x, ghost_y = ghost->y, ecto_x = ecto->x, ecto_y = ecto->y;
    for (int tick = 2; tick <= 14; tick++)
    {
        level.Process(application);
        EXPECT_FALSE(application.game_complete) << "ending tick " << tick;
    }
    EXPECT_EQ(hero->points, 10);
    level.Process(application);
    EXPECT_TRUE(application.game_complete);
    EXPECT_EQ(level.ending_timer, 15);
    EXPECT_EQ(hero->points, 10 + 2 * 1000);

    for (int tick = 0; tick < 20; tick++)
        level.Process(application);
    EXPECT_TRUE(application.game_complete);
    EXPECT_EQ(hero->points, 10 + 2 * 1000);
    EXPECT_EQ(level.signal, Level::SIGNAL_DESTROY_ECTO);
    EXPECT_EQ(application.sound_effect_plays[Application::DAMAGING_STOMP_SE], 1);

    // The spirits vanished with the signal.
    EXPECT_EQ(ghost->x, ghost_x);
    EXPECT_EQ(ghost->y, ghost_y);
    EXPECT_EQ(ecto->x, ecto_x);
    EXPECT_EQ(ecto->y, ecto_y);
}

} // namespace
