// The birds: the black bird (hopping, shouting and leaping), the goldenjay in
// its bush and the swooper. Each test puts the creatures in a level with the
// real pictures and shapes and runs their ticks directly; stomps are made by
// a real hero gliding onto them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>

#include "application.h"
#include "black_bird.h"
#include "bluejay.h"
#include "goldenjay.h"
#include "level.h"
#include "platform.h"
#include "swooper.h"
#include "test_support.h"

namespace
{
// Ground tiles lie at y = 192, so a 24-pixel bird standing on them is at
// y = 168.
constexpr int STANDING_Y = 168;
} // namespace

class BirdsTest : public Creature_Fixture
{
protected:
    Black_Bird* Bird(int x, int y, int mode = Black_Bird::NORMAL)
    {
        Black_Bird* bird = Place(new Black_Bird(), x, y, "data\\bump_maps\\black_bird.map");
        bird->mode = mode;
        return bird;
    }

    Goldenjay* Golden(int x, int y) { return Place(new Goldenjay(), x, y, "data\\bump_maps\\goldenjay.map"); }

    Swooper* Swooping(int x, int y, int direction)
    {
        Swooper* swooper = Place(new Swooper(), x, y, "data\\bump_maps\\swooper.map");
        swooper->x_direction = direction;
        return swooper;
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

    // Keeps a creature in the middle of the view.
    void Follow(Character& creature)
    {
        level.scroll_x = creature.x - 112;
        level.scroll_y = creature.y - 100;
    }
};

// ------------------------------------------------------------ black bird

class BlackBirdTest : public BirdsTest
{
};

TEST_F(BlackBirdTest, HopsEightPixelsWhileCreepingFourEveryFourTicks)
{
    Ground(0, 224);
    Black_Bird* bird = Bird(128, STANDING_Y);
    const int heights[] = {164, 160, 164, 168, 164, 160, 164, 168, 164, 160, 164, 168};
    for (int tick = 1; tick <= 12; tick++)
    {
        Tick(*bird);
        EXPECT_EQ(bird->y, heights[tick - 1]) << "tick " << tick;
        EXPECT_EQ(bird->x, 128 - 4 * (tick / 4)) << "tick " << tick;
    }
    EXPECT_EQ(bird->bitmap, Application::BLACK_BIRD_STANDING_BM);
    EXPECT_EQ(bird->strength, 2);
}

TEST_F(BlackBirdTest, TurnsAtWallsOnEitherSide)
{
    Ground(0, 224);
    // Two blocks high on the left at x = 64, on the right at x = 160.
    Add_Platform(level, Level::BROWN_BLOCK, 64, 176);
    Add_Platform(level, Level::BROWN_BLOCK, 64, 160);
    Add_Platform(level, Level::BROWN_BLOCK, 160, 176);
    Add_Platform(level, Level::BROWN_BLOCK, 160, 160);
    Black_Bird* bird = Bird(96, STANDING_Y);
    int lowest = bird->x, highest = bird->x;
    bool turned_right = false;
    for (int tick = 0; tick < 400; tick++)
    {
        Tick(*bird);
        lowest = std::min(lowest, bird->x);
        highest = std::max(highest, bird->x);
        turned_right = turned_right || bird->x_direction == 1;
    }
    // Its shape (columns 1 to 4 of its picture) meets the left wall's last
    // column at x = 76 and the right wall's first at x = 140.
    EXPECT_EQ(lowest, 76);
    EXPECT_EQ(highest, 140);
    EXPECT_TRUE(turned_right);
}

TEST_F(BlackBirdTest, TurnsAtBothEndsOfTheLevel)
{
    Ground(0, 480);
    level.screens_wide = 2;
    Black_Bird* left = Bird(8, STANDING_Y);
    Black_Bird* right = Bird(472, STANDING_Y);
    right->x_direction = 1;

    int lowest = left->x;
    for (int tick = 0; tick < 40; tick++)
    {
        Tick(*left);
        lowest = std::min(lowest, left->x);
    }
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(left->x_direction, 1);
    EXPECT_GT(left->x, 0);

    // The right end is the level's width less the bird's.
    level.scroll_x = 256;
    int highest = right->x;
    for (int tick = 0; tick < 40; tick++)
    {
        Tick(*right);
        highest = std::max(highest, right->x);
    }
    EXPECT_EQ(highest, 512 - 24);
    EXPECT_EQ(right->x_direction, -1);
    EXPECT_LT(right->x, 488);
}

TEST_F(BlackBirdTest, OffScreenItIsFrozenAndNotDrawn)
{
    Ground(0, 480);
    level.screens_wide = 2;
    Black_Bird* bird = Bird(300, STANDING_Y);
    Tick(*bird, 20);
    EXPECT_EQ(bird->x, 300);
    EXPECT_EQ(bird->y, STANDING_Y);
    EXPECT_EQ(bird->timer, 0);
    EXPECT_EQ(Drawn(0, 0, Application::CANVAS_WIDTH, Application::CANVAS_HEIGHT), 0);
}

TEST_F(BlackBirdTest, HurtInMidAirItDropsStraightDownAndBlinksForNinetyTicks)
{
    Ground(0, 224);
    Black_Bird* bird = Bird(100, 100);
    bird->y_direction = -1;
    bird->hurt = true;

    for (int tick = 1; tick <= 90; tick++)
    {
        Clear();
        Tick(*bird);
        int expected_y = std::min(100 + 4 * tick, STANDING_Y);
        ASSERT_EQ(bird->y, expected_y) << "tick " << tick;
        ASSERT_EQ(bird->x, 100) << "tick " << tick;
        ASSERT_TRUE(bird->hurt) << "tick " << tick;
        // One strength for the whole period, however long it lasts.
        ASSERT_EQ(bird->strength, 1) << "tick " << tick;
        ASSERT_EQ(bird->bitmap, Application::BLACK_BIRD_HURT_BM);
        // Drawn on even ticks of its timer only.
        if (bird->timer % 2 == 0)
            EXPECT_GT(Drawn(*bird), 0) << "tick " << tick;
        else
            EXPECT_EQ(Drawn(*bird), 0) << "tick " << tick;
    }
    EXPECT_TRUE(bird->stopped);

    // The ninety-first tick ends the period; the bird rises again.
    Tick(*bird);
    EXPECT_FALSE(bird->hurt);
    EXPECT_FALSE(bird->stopped);
    EXPECT_EQ(bird->y_direction, -1);
    EXPECT_EQ(bird->strength, 1);
    Tick(*bird);
    EXPECT_LT(bird->y, STANDING_Y);
    EXPECT_EQ(bird->bitmap, Application::BLACK_BIRD_STANDING_BM);
}

TEST_F(BlackBirdTest, TwoStompsDefeatItAndOnlyTheSecondEarnsFiftyPoints)
{
    Ground(0, 224);
    Black_Bird* bird = Bird(100, STANDING_Y);
    Place_Hero(20, 20);

    Stomp(*bird);
    EXPECT_TRUE(bird->hurt);
    EXPECT_EQ(Plays(Application::USELESS_STOMP_SE), 1);
    EXPECT_EQ(Plays(Application::DAMAGING_STOMP_SE), 0);
    EXPECT_EQ(hero->points, 0);
    // The hero bounces off it.
    EXPECT_EQ(hero->state, Bluejay::JUMPING);
    EXPECT_EQ(hero->y_direction, -1);
    Tick(*bird);
    EXPECT_EQ(bird->strength, 1);

    // While it blinks it can neither be stomped nor hurt the hero.
    Tick(*bird, 10);
    Stomp(*bird);
    EXPECT_EQ(Plays(Application::USELESS_STOMP_SE), 1);
    EXPECT_EQ(Plays(Application::DAMAGING_STOMP_SE), 0);
    EXPECT_FALSE(hero->hurt);
    EXPECT_EQ(hero->strength, 3);

    Tick(*bird, 80);
    ASSERT_FALSE(bird->hurt);
    Stomp(*bird);
    EXPECT_EQ(Plays(Application::DAMAGING_STOMP_SE), 1);
    EXPECT_EQ(hero->points, 50);
    Tick(*bird);
    EXPECT_EQ(bird->strength, 0);
}

TEST_F(BlackBirdTest, ADefeatedBirdFallsThroughTheGroundOutOfViewAndStaysThere)
{
    Ground(0, 224);
    Black_Bird* bird = Bird(100, STANDING_Y);
    bird->strength = 0;
    bird->hurt = true;
    // It falls 4 pixels a tick, drawn every tick, until it is out of view.
    for (int tick = 1; tick <= 14; tick++)
    {
        Clear();
        Tick(*bird);
        ASSERT_EQ(bird->y, STANDING_Y + 4 * tick);
        ASSERT_EQ(bird->x, 100);
        EXPECT_FALSE(bird->hurt);
        EXPECT_EQ(bird->bitmap, Application::BLACK_BIRD_HURT_BM);
        if (bird->y < Application::CANVAS_HEIGHT)
        {
            EXPECT_GT(Drawn(*bird), 0) << "tick " << tick;
        }
    }
    ASSERT_EQ(bird->y, Application::CANVAS_HEIGHT);
    int timer = bird->timer;
    Clear();
    Tick(*bird, 20);
    EXPECT_EQ(bird->y, Application::CANVAS_HEIGHT);
    EXPECT_EQ(bird->timer, timer);
    EXPECT_EQ(Drawn(0, 0, Application::CANVAS_WIDTH, Application::CANVAS_HEIGHT), 0);
}

TEST_F(BlackBirdTest, AShoutingBirdStandsStillAndTurnsWithAChirpEveryTwelveTicks)
{
    Load_Map("7 96 168\n", "1005 0 192\n1005 32 192\n1005 64 192\n1005 96 192\n1005 128 192\n");
    ASSERT_EQ(level.number_of_characters, 1);
    Black_Bird* bird = static_cast<Black_Bird*>(level.characters[0]);
    ASSERT_EQ(bird->mode, Black_Bird::SHOUT);

    for (int tick = 1; tick <= 36; tick++)
    {
        level.signal = 0;
        Tick(*bird);
        ASSERT_EQ(level.signal, Level::SIGNAL_ATTACK_BLUEJAY) << "tick " << tick;
        ASSERT_EQ(bird->x, 96);
        ASSERT_EQ(bird->y, STANDING_Y);
        EXPECT_EQ(bird->bitmap, Application::BLACK_BIRD_HURT_BM);
        EXPECT_EQ(Plays(Application::BIRD_CHIRP_SE), tick / 12) << "tick " << tick;
        EXPECT_EQ(bird->x_direction, (tick / 12) % 2 == 0 ? -1 : 1) << "tick " << tick;
    }
}

TEST_F(BlackBirdTest, AStompedShoutingBirdIsSilentUntilItRecovers)
{
    Ground(0, 224);
    Black_Bird* bird = Bird(96, STANDING_Y, Black_Bird::SHOUT);
    bird->hurt = true;
    int direction = bird->x_direction;
    for (int tick = 1; tick <= 91; tick++)
    {
        Tick(*bird);
        ASSERT_EQ(level.signal, 0) << "tick " << tick;
        ASSERT_EQ(bird->x_direction, direction) << "tick " << tick;
    }
    EXPECT_EQ(Plays(Application::BIRD_CHIRP_SE), 0);
    EXPECT_FALSE(bird->hurt);
    EXPECT_EQ(bird->strength, 1);
    // Recovered, it shouts again from where it lies.
    Tick(*bird);
    EXPECT_EQ(level.signal, Level::SIGNAL_ATTACK_BLUEJAY);
    EXPECT_EQ(bird->y, STANDING_Y);
}

TEST_F(BlackBirdTest, ALeapingBirdLeapsFrom16To208PixelsInStepsOf8)
{
    Load_Map("8 96 168\n", "1005 0 192\n1005 32 192\n1005 64 192\n1005 96 192\n1005 128 192\n");
    Black_Bird* bird = static_cast<Black_Bird*>(level.characters[0]);
    ASSERT_EQ(bird->mode, Black_Bird::LEAP);
    std::srand(2024);
    std::set<int> heights;
    for (int leap = 0; leap < 1000; leap++)
    {
        // Back on the ground; the landing tick chooses the next height.
        bird->x = 96;
        bird->y = STANDING_Y;
        bird->y_direction = 1;
        Tick(*bird);
        int height = STANDING_Y - bird->target_y;
        ASSERT_GE(height, 16);
        ASSERT_LE(height, 208);
        ASSERT_EQ(height % 8, 0) << height;
        ASSERT_EQ(bird->y, STANDING_Y - 4);
        heights.insert(height);
    }
    // Every one of the 25 heights turns up.
    EXPECT_EQ(heights.size(), 25u);
}

TEST_F(BlackBirdTest, ALeapingBirdRisesToItsHeightAndFallsBackFourPixelsATick)
{
    Ground(0, 224);
    level.screens_high = 2;
    level.scroll_y = -48; // the view holds the ground and 216 pixels above the bird
    Black_Bird* bird = Bird(128, STANDING_Y, Black_Bird::LEAP);
    std::srand(5);
    Tick(*bird);
    int target = bird->target_y;
    ASSERT_LT(target, STANDING_Y);
    int previous = bird->y;
    int highest = bird->y;
    int ticks = 1;
    while (bird->y != STANDING_Y && ticks < 200)
    {
        Tick(*bird);
        ticks++;
        ASSERT_EQ(std::abs(bird->y - previous), 4);
        previous = bird->y;
        highest = std::min(highest, bird->y);
    }
    EXPECT_EQ(highest, target);
    EXPECT_EQ(bird->y, STANDING_Y);
    EXPECT_EQ(ticks, (STANDING_Y - target) / 2);
}

TEST_F(BlackBirdTest, ALeapingBirdTurnsDownWhereItsHeadMeetsALowCeiling)
{
    Ground(0, 224);
    // Blocks over rows 36 to 39: a bird whose head row is 40 stands at 156.
    for (int x = 64; x <= 128; x += 16)
        Add_Platform(level, Level::BROWN_BLOCK, x, 144);
    Black_Bird* bird = Bird(100, STANDING_Y, Black_Bird::LEAP);
    std::srand(9);
    const int heights[] = {164, 160, 156, 160, 164, 168};
    for (int tick = 1; tick <= 6; tick++)
    {
        Tick(*bird);
        EXPECT_EQ(bird->y, heights[tick - 1]) << "tick " << tick;
    }
    EXPECT_LE(bird->target_y, STANDING_Y - 16);
}

TEST_F(BlackBirdTest, TurnsDownAtTheTopOfTheLevel)
{
    // In a one-screen level the top is y = 0: a hop from y = 4 stops there.
    Ground(64, 96, 28);
    Black_Bird* bird = Bird(100, 4);
    int highest = bird->y;
    for (int tick = 0; tick < 12; tick++)
    {
        Tick(*bird);
        highest = std::min(highest, bird->y);
    }
    EXPECT_EQ(highest, 0);

    // In a taller level the same hop goes on above y = 0 ...
    bird->x = 100;
    bird->y = 4;
    bird->y_direction = 1;
    level.screens_high = 2;
    highest = bird->y;
    for (int tick = 0; tick < 12; tick++)
    {
        Tick(*bird);
        highest = std::min(highest, bird->y);
    }
    EXPECT_EQ(highest, -4);

    // ... and stops at its highest row.
    Ground(64, 96, -196);
    level.scroll_y = -224;
    Black_Bird* high = Bird(100, -220);
    highest = high->y;
    for (int tick = 0; tick < 12; tick++)
    {
        Tick(*high);
        highest = std::min(highest, high->y);
    }
    EXPECT_EQ(highest, -224);
}

TEST_F(BlackBirdTest, ResetBringsAnUndefeatedBirdBackAndKeepsItsState)
{
    Ground(0, 224);
    Black_Bird* bird = Bird(100, STANDING_Y, Black_Bird::LEAP);
    Black_Bird* beaten = Bird(160, STANDING_Y);
    bird->x = 140;
    bird->y = 120;
    bird->strength = 1;
    bird->x_direction = 1;
    beaten->strength = 0;
    beaten->y = 300;

    level.Reset(false);
    EXPECT_EQ(bird->x, 100);
    EXPECT_EQ(bird->y, STANDING_Y);
    EXPECT_EQ(bird->strength, 1);
    EXPECT_EQ(bird->mode, Black_Bird::LEAP);
    EXPECT_EQ(bird->x_direction, 1);
    // A beaten bird stays where it fell.
    EXPECT_EQ(beaten->y, 300);
}

// ------------------------------------------------------------- goldenjay

class GoldenjayTest : public BirdsTest
{
};

TEST_F(GoldenjayTest, WakesWhenTheHeroCentreComesCloserThan32Pixels)
{
    Goldenjay* bird = Golden(128, 100);
    // The standing hero is 24 wide: its centre is x + 12.
    Place_Hero(148, STANDING_Y); // centre 160, 32 to the right
    Tick(*bird, 3);
    EXPECT_EQ(bird->mode, Goldenjay::IDLE);
    EXPECT_EQ(bird->bitmap, Application::GOLDENJAY_PERCHED_BM);
    EXPECT_EQ(bird->x, 128);
    EXPECT_EQ(bird->y, 100);

    hero->x = 84; // centre 96, 32 to the left
    Tick(*bird, 3);
    EXPECT_EQ(bird->mode, Goldenjay::IDLE);

    hero->x = 144; // centre 156, 28 to the right
    Tick(*bird);
    EXPECT_EQ(bird->mode, Goldenjay::ATTACKING);

    bird->mode = Goldenjay::IDLE;
    hero->x = 88; // centre 100, 28 to the left
    Tick(*bird);
    EXPECT_EQ(bird->mode, Goldenjay::ATTACKING);
}

TEST_F(GoldenjayTest, ClimbsFourPixelsEverySecondTickAndTurnsEvery120)
{
    Goldenjay* bird = Golden(128, 100);
    Place_Hero(120, STANDING_Y);
    int x = bird->x, y = bird->y;
    for (int tick = 1; tick <= 240; tick++)
    {
        Follow(*bird);
        Tick(*bird);
        if (tick == 1)
        {
            ASSERT_EQ(bird->mode, Goldenjay::ATTACKING);
        }
        int expected_direction = (tick / 120) % 2 == 0 ? 1 : -1;
        ASSERT_EQ(bird->x_direction, expected_direction) << "tick " << tick;
        if (tick % 2 == 0)
        {
            x += 4 * expected_direction;
            y -= 4;
        }
        ASSERT_EQ(bird->x, x) << "tick " << tick;
        ASSERT_EQ(bird->y, y) << "tick " << tick;
        ASSERT_EQ(bird->bitmap, Application::GOLDENJAY_WINGS_IN_BM + tick % 2);
    }
}

TEST_F(GoldenjayTest, ItsBushIsDrawnWhileTheBirdIsOutOfView)
{
    level.screens_wide = 2;
    // The bird at x = 280 is just right of the view; its bush begins at 256.
    Goldenjay* bird = Golden(280, 116);
    Place_Hero(280, STANDING_Y);
    level.scroll_x = 16;
    Tick(*bird);
    EXPECT_EQ(bird->timer, 0);
    EXPECT_EQ(bird->mode, Goldenjay::IDLE);

    BITMAP* expected = create_bitmap(Application::CANVAS_WIDTH, Application::CANVAS_HEIGHT);
    clear_to_color(expected, blank);
    draw_sprite(expected, application.bitmaps[Application::FAKE_BUSH_BM], 256 - 16, 100);
    int differences = 0;
    for (int row = 0; row < Application::CANVAS_HEIGHT; row++)
        for (int column = 0; column < Application::CANVAS_WIDTH; column++)
            if (getpixel(application.canvas, column, row) != getpixel(expected, column, row))
                differences++;
    destroy_bitmap(expected);
    EXPECT_EQ(differences, 0);
    EXPECT_GT(Drawn(240, 100, 16, 48), 0);
}

TEST_F(GoldenjayTest, TheBushHidesThePerchedBirdAndStaysAfterItsDefeat)
{
    Goldenjay* bird = Golden(124, 116);
    Place_Hero(0, STANDING_Y);
    BITMAP* bush_only = create_bitmap(Application::CANVAS_WIDTH, Application::CANVAS_HEIGHT);
    clear_to_color(bush_only, blank);
    draw_sprite(bush_only, application.bitmaps[Application::FAKE_BUSH_BM], 100, 100);
    auto Differences = [&]() {
        int count = 0;
        for (int row = 0; row < Application::CANVAS_HEIGHT; row++)
            for (int column = 0; column < Application::CANVAS_WIDTH; column++)
                if (getpixel(application.canvas, column, row) != getpixel(bush_only, column, row))
                    count++;
        return count;
    };

    Tick(*bird);
    EXPECT_EQ(bird->mode, Goldenjay::IDLE);
    EXPECT_EQ(Differences(), 0);

    // Beaten, it falls out of the view; the bush stays.
    bird->strength = 0;
    for (int tick = 0; tick < 40; tick++)
    {
        Clear();
        Tick(*bird);
    }
    EXPECT_GE(bird->y, Application::CANVAS_HEIGHT);
    EXPECT_EQ(bird->bitmap, Application::GOLDENJAY_MOUTH_OPEN_BM);
    EXPECT_EQ(Differences(), 0);
    destroy_bitmap(bush_only);
}

TEST_F(GoldenjayTest, AHitMakesItTumble128PixelsAndThenFlyOff)
{
    Goldenjay* bird = Golden(124, 40);
    Place_Hero(0, STANDING_Y);
    bird->hurt = true;
    // Below y = 72 the bird is clear of its bush, whose last row is 71.
    for (int tick = 1; tick <= 32; tick++)
    {
        Clear();
        Tick(*bird);
        ASSERT_EQ(bird->y, 40 + 4 * tick) << "tick " << tick;
        ASSERT_EQ(bird->x, 124);
        ASSERT_EQ(bird->strength, 5);
        ASSERT_EQ(bird->bitmap, Application::GOLDENJAY_MOUTH_OPEN_BM);
        EXPECT_EQ(bird->mode, Goldenjay::ATTACKING);
        ASSERT_EQ(bird->hurt, tick < 32) << "tick " << tick;
        if (bird->hurt && bird->y >= 72)
        {
            if (bird->timer % 2 == 1)
                EXPECT_GT(Drawn(*bird), 0) << "tick " << tick;
            else
                EXPECT_EQ(Drawn(*bird), 0) << "tick " << tick;
        }
    }
    EXPECT_EQ(bird->y, 40 + 128);
    // Recovered, it climbs away although the hero is far off.
    Tick(*bird, 2);
    EXPECT_EQ(bird->y, 40 + 128 - 4);
}

TEST_F(GoldenjayTest, SixHitsDefeatItAndOnlyTheLastEarns200Points)
{
    Goldenjay* bird = Golden(124, 40);
    Place_Hero(0, STANDING_Y);
    for (int hit = 1; hit <= 6; hit++)
    {
        Follow(*bird);
        Stomp(*bird);
        ASSERT_TRUE(bird->hurt) << "hit " << hit;
        Follow(*bird);
        Tick(*bird);
        ASSERT_EQ(bird->strength, 6 - hit);
        for (int tick = 0; tick < 31 && bird->strength > 0; tick++)
        {
            Follow(*bird);
            Tick(*bird);
        }
        if (hit < 6)
        {
            EXPECT_EQ(Plays(Application::USELESS_STOMP_SE), hit);
            EXPECT_EQ(hero->points, 0);
            ASSERT_FALSE(bird->hurt);
        }
    }
    EXPECT_EQ(Plays(Application::USELESS_STOMP_SE), 5);
    EXPECT_EQ(Plays(Application::DAMAGING_STOMP_SE), 1);
    EXPECT_EQ(hero->points, 200);
    EXPECT_EQ(bird->strength, 0);
}

TEST_F(GoldenjayTest, ResetBringsItBackToItsPerchStillFlying)
{
    Goldenjay* bird = Golden(124, 116);
    Place_Hero(0, STANDING_Y);
    bird->mode = Goldenjay::ATTACKING;
    bird->x = 160;
    bird->y = 20;
    bird->Reset(true);
    EXPECT_EQ(bird->x, 124);
    EXPECT_EQ(bird->y, 116);
    EXPECT_EQ(bird->mode, Goldenjay::ATTACKING);
    // With the hero far off it takes off again at once.
    Tick(*bird, 2);
    EXPECT_EQ(bird->y, 112);
}

// --------------------------------------------------------------- swooper

class SwooperTest : public BirdsTest
{
};

TEST_F(SwooperTest, AimsOnlyWhenItMeetsTheHeroFaceToFaceWithin80Pixels)
{
    Place_Hero(128, 100); // centre y = 112
    struct Case
    {
        int x, direction, hero_direction;
        bool aims;
    };
    const Case cases[] = {
        {208, -1, 1, true},   // flying left, 80 to the right of the hero, facing it
        {212, -1, 1, false},  // 84 away
        {128, -1, 1, true},   // right at the hero's x
        {124, -1, 1, false},  // already past the hero
        {160, -1, -1, false}, // the hero looks away
        {48, 1, -1, true},    // flying right, 80 to the left, facing it
        {44, 1, -1, false},   // 84 away
        {128, 1, -1, true},   // at the hero's x
        {132, 1, -1, false},  // past the hero
        {100, 1, 1, false},   // the hero looks away
    };
    for (const Case& test : cases)
    {
        Swooper* swooper = Swooping(test.x, 60, test.direction);
        hero->x_direction = test.hero_direction;
        Tick(*swooper);
        EXPECT_EQ(swooper->y, test.aims ? 64 : 60) << "x " << test.x << " direction " << test.direction;
        EXPECT_EQ(swooper->x, test.x + 4 * test.direction);
    }
}

TEST_F(SwooperTest, SettlesAboveTheHeroCentreFlyingRightAndAtItFlyingLeft)
{
    // The hero's centre is at y = 114, between two cells. Whether it comes
    // from above or below, a swooper flying left settles at 112 and one
    // flying right at 104, within a step of 114 and of 114 - 8.
    Place_Hero(128, 102);
    for (int start_y : {60, 160})
    {
        hero->x_direction = 1;
        Swooper* from_right = Swooping(208, start_y, -1);
        for (int tick = 1; tick <= 20; tick++)
        {
            Tick(*from_right);
            if (tick >= 15)
            {
                EXPECT_EQ(from_right->y, 112) << "from y " << start_y << ", tick " << tick;
            }
        }
        EXPECT_EQ(from_right->x, 128);

        hero->x_direction = -1;
        Swooper* from_left = Swooping(48, start_y, 1);
        for (int tick = 1; tick <= 20; tick++)
        {
            Tick(*from_left);
            if (tick >= 15)
            {
                EXPECT_EQ(from_left->y, 104) << "from y " << start_y << ", tick " << tick;
            }
        }
        EXPECT_EQ(from_left->x, 128);
    }
}

TEST_F(SwooperTest, ChirpsEveryFifteenTicksInFlight)
{
    Swooper* swooper = Swooping(240, 60, -1);
    for (int tick = 1; tick <= 45; tick++)
    {
        Tick(*swooper);
        ASSERT_EQ(Plays(Application::BIRD_CHIRP_SE), tick / 15) << "tick " << tick;
        ASSERT_EQ(swooper->bitmap, Application::SWOOPER_WINGS_IN_BM + tick % 2);
    }
    EXPECT_EQ(swooper->x, 240 - 45 * 4);
    EXPECT_EQ(swooper->y, 60);
}

TEST_F(SwooperTest, OneHitDefeatsItFor100PointsAndItFallsSilently)
{
    Swooper* swooper = Swooping(200, 100, -1);
    Place_Hero(0, STANDING_Y);
    Stomp(*swooper);
    EXPECT_EQ(Plays(Application::DAMAGING_STOMP_SE), 1);
    EXPECT_EQ(hero->points, 100);
    Tick(*swooper);
    EXPECT_EQ(swooper->strength, 0);
    EXPECT_EQ(swooper->x, 200);
    EXPECT_EQ(swooper->y, 100);
    for (int tick = 1; tick <= 20; tick++)
    {
        Tick(*swooper);
        ASSERT_EQ(swooper->y, 100 + 4 * tick);
        ASSERT_EQ(swooper->x, 200);
        ASSERT_EQ(swooper->bitmap, Application::SWOOPER_WINGS_IN_BM);
    }
    EXPECT_EQ(Plays(Application::BIRD_CHIRP_SE), 0);
}

TEST_F(SwooperTest, FrozenOutOfViewAndResetKeepsItsWay)
{
    level.screens_wide = 2;
    Swooper* swooper = Swooping(300, 60, -1);
    Tick(*swooper, 30);
    EXPECT_EQ(swooper->x, 300);
    EXPECT_EQ(swooper->timer, 0);
    EXPECT_EQ(Plays(Application::BIRD_CHIRP_SE), 0);

    level.scroll_x = 200;
    Tick(*swooper, 5);
    EXPECT_EQ(swooper->x, 280);
    swooper->x_direction = 1;
    swooper->Reset(true);
    EXPECT_EQ(swooper->x, 300);
    EXPECT_EQ(swooper->y, 60);
    EXPECT_EQ(swooper->x_direction, 1);
    EXPECT_EQ(swooper->timer, 5);
}
