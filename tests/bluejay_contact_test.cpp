// What the hero does to items and creatures it touches, and what they do to
// it: eating cherries, grabbing eggs, stomping, swatting with the tail,
// getting hurt from the side, hard creatures, switches, boiling mud, spiked
// poles, tomato plants and ghosts.
//
// The hero stands on ground at (64, 168) facing right, unless a test says
// otherwise. In cells its body is columns 17-20, rows 42-47; its head
// columns 19-21, rows 42-44; its tail columns 16-17, rows 44-46. Facing
// left, the head is columns 16-18 and the tail columns 20-21.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "application.h"
#include "bluejay.h"
#include "level.h"
#include "platform.h"
#include "spiked_pole.h"
#include "test_support.h"
#include "tomatoo_plant.h"

namespace
{
constexpr int UP = Application::SIGNAL_UP;
constexpr int LEFT = Application::SIGNAL_LEFT;

// A creature worth more than the usual 10 points.
class Scored_Creature : public Test_Character
{
public:
    Scored_Creature() : Test_Character(Level::BLACK_BIRD, Application::BLACK_BIRD_STANDING_BM) {}
    int Get_Points() override { return 50; }
};
} // namespace

class BluejayContactTest : public Loaded_Application_Test
{
protected:
    Level& level = *application.levels[0];
    Bluejay* hero = nullptr;

    void SetUp() override { ASSERT_STREQ(application.missing_resource, ""); }

    // The hero at (x, y) over a row of ground at y = 192; it stands on it
    // at y = 168.
    void Hero(int x = 64, int y = 168)
    {
        hero = Add_Hero(level, x, y);
        Add_Ground(level, 0, 224, 192);
    }

    Test_Character* Creature(int type, int picture, const Rectangle& shape, int x, int y, int strength = 1)
    {
        return Place(new Test_Character(type, picture), shape, x, y, strength);
    }

    template <typename T> T* Place(T* creature, const Rectangle& shape, int x, int y, int strength = 1)
    {
        Add_Character(level, creature, x, y);
        creature->bump_maps[0] = shape;
        creature->number_of_bump_maps = 1;
        creature->strength = strength;
        return creature;
    }

    // A black bird: a 24 x 24 picture with the shape of cells 1-4 x 1-5.
    Test_Character* Bird(int x, int y, int strength = 1)
    {
        return Creature(Level::BLACK_BIRD, Application::BLACK_BIRD_STANDING_BM, Box(1, 1, 4, 5), x, y, strength);
    }

    Platform* Item(int type, int x, int y)
    {
        Platform* item = Add_Platform(level, type, x, y);
        Load_Bump_Map_For_Platform("data\\bump_maps\\cherry.map", level.platforms, level.number_of_platforms - 1);
        return item;
    }

    void Tick(int signals = 0)
    {
        application.signals = signals;
        hero->Process(application, level);
    }

    int Plays(int sound) const { return application.sound_effect_plays[sound]; }

    void Expect_Unharmed()
    {
        EXPECT_EQ(hero->strength, 3);
        EXPECT_FALSE(hero->hurt);
        EXPECT_EQ(Plays(Application::HIT_SE), 0);
    }

    void Expect_Damaged_Once()
    {
        EXPECT_EQ(hero->strength, 2);
        EXPECT_TRUE(hero->hurt);
        EXPECT_EQ(hero->timer, 0);
        EXPECT_EQ(Plays(Application::HIT_SE), 1);
    }
};

// ----------------------------------------------------------------- eating

class BluejayEating : public BluejayContactTest
{
};

TEST_F(BluejayEating, ACherryInFrontOfTheHeadGivesOneStrength)
{
    Hero();
    Platform* cherry = Item(Level::CHERRY, 84, 164); // cells 22-23, rows 42-44
    Tick();
    EXPECT_TRUE(cherry->taken);
    EXPECT_EQ(hero->strength, 4);
    EXPECT_EQ(hero->bitmap, Application::BLUEJAY_EATING_BM);
    Tick();
    EXPECT_EQ(hero->strength, 4) << "an eaten cherry is gone";
}

TEST_F(BluejayEating, FacingLeftTheHeadEatsWhatIsOnTheLeft)
{
    Hero();
    Platform* cherry = Item(Level::CHERRY, 52, 164); // cells 14-15
    Tick();
    EXPECT_FALSE(cherry->taken) << "the head faces away";
    Tick(LEFT);
    EXPECT_TRUE(cherry->taken);
    EXPECT_EQ(hero->strength, 4);
}

TEST_F(BluejayEating, ACherryBehindTheHeroIsNotEaten)
{
    Hero();
    hero->x_direction = -1;
    Platform* cherry = Item(Level::CHERRY, 84, 164);
    Tick();
    EXPECT_FALSE(cherry->taken);
    // Nor one over the back, right behind the head.
    Platform* over_back = Item(Level::CHERRY, 72, 164); // cells 19-20
    Tick();
    EXPECT_FALSE(over_back->taken);
    EXPECT_EQ(hero->strength, 3);
}

TEST_F(BluejayEating, AtFullStrengthCherriesAreLeftExceptInTheDemo)
{
    Hero();
    Platform* cherry = Item(Level::CHERRY, 84, 164);
    hero->strength = 5;
    Tick();
    EXPECT_FALSE(cherry->taken);
    EXPECT_EQ(hero->strength, 5);
    application.demo_mode = true;
    Tick();
    EXPECT_TRUE(cherry->taken);
    EXPECT_EQ(hero->strength, 6);
}

TEST_F(BluejayEating, TheReplayOfARecordedRunKeepsTheRulesOfPlay)
{
    Hero();
    Platform* cherry = Item(Level::CHERRY, 84, 164);
    hero->strength = 5;
    application.demo_mode = true;
    application.recorded_movie = true;
    Tick();
    EXPECT_FALSE(cherry->taken) << "as when the run was played";
    EXPECT_EQ(hero->strength, 5);
}

TEST_F(BluejayEating, ABlinkingHeroLeavesCherriesButEatsYellowOnes)
{
    Hero();
    Platform* cherry = Item(Level::CHERRY, 84, 164);
    hero->hurt = true;
    Tick();
    EXPECT_FALSE(cherry->taken);
    EXPECT_EQ(hero->strength, 3);

    cherry->type = Level::YELLOW_CHERRY;
    Tick();
    EXPECT_TRUE(cherry->taken);
    EXPECT_EQ(hero->lives, 4);
    EXPECT_EQ(hero->strength, 3);
    EXPECT_EQ(hero->bitmap, Application::BLUEJAY_EATING_BM);
    Tick();
    EXPECT_EQ(hero->lives, 4);
}

// ------------------------------------------------------------------- eggs

class BluejayEgg : public BluejayContactTest
{
protected:
    Test_Character* Egg(int x, int y)
    {
        return Creature(Level::EGG, Application::EGG_BM, Box(0, 0, 2, 3), x, y);
    }
};

TEST_F(BluejayEgg, TheHeadFacingAnEggGrabsIt)
{
    Hero();
    Test_Character* egg = Egg(88, 176); // cells 22-24, rows 44-47
    Tick();
    EXPECT_TRUE(egg->hurt);
    EXPECT_EQ(hero->eggs, 1);
    EXPECT_EQ(hero->strength, 5) << "3 + 3, no more than 5";
    EXPECT_EQ(hero->bitmap, Application::BLUEJAY_EATING_BM);
    EXPECT_EQ(Plays(Application::GRAB_EGG_SE), 1);
    Tick();
    EXPECT_EQ(hero->eggs, 1) << "a taken egg is not grabbed again";
    EXPECT_EQ(Plays(Application::GRAB_EGG_SE), 1);
}

TEST_F(BluejayEgg, AnEggGivesThreeStrength)
{
    Hero();
    Egg(52, 176); // cells 13-15, on the left
    hero->strength = 1;
    Tick(LEFT);
    EXPECT_EQ(hero->strength, 4);
    EXPECT_EQ(hero->eggs, 1);
}

TEST_F(BluejayEgg, TheBodyOrTheBackOfTheHeroDoesNotGrab)
{
    Hero();
    // Beside the body, under the head.
    Test_Character* egg = Egg(84, 180);
    Tick();
    EXPECT_FALSE(egg->hurt);
    EXPECT_EQ(hero->eggs, 0);
    // Against the tail of a hero facing left.
    egg->x = 88;
    egg->y = 176;
    hero->x_direction = -1;
    Tick();
    EXPECT_FALSE(egg->hurt);
    EXPECT_EQ(hero->eggs, 0);
    EXPECT_EQ(Plays(Application::GRAB_EGG_SE), 0);
    Expect_Unharmed();
}

TEST_F(BluejayEgg, ABlinkingHeroDoesNotGrab)
{
    Hero();
    Test_Character* egg = Egg(88, 176);
    hero->hurt = true;
    Tick();
    EXPECT_FALSE(egg->hurt);
    EXPECT_EQ(hero->eggs, 0);
}

// ----------------------------------------------------------------- stomps

class BluejayStomp : public BluejayContactTest
{
};

TEST_F(BluejayStomp, LandingOnACreatureHurtsItAndBouncesTheHero)
{
    Hero(64, 144);
    Test_Character* bird = Bird(64, 164); // right under the body
    Tick();
    EXPECT_TRUE(bird->hurt);
    EXPECT_EQ(Plays(Application::DAMAGING_STOMP_SE), 1);
    EXPECT_EQ(Plays(Application::USELESS_STOMP_SE), 0);
    EXPECT_EQ(hero->points, 10);
    EXPECT_EQ(hero->state, Bluejay::JUMPING);
    EXPECT_EQ(hero->jump_top, 96);
    EXPECT_EQ(hero->y, 140);
    Expect_Unharmed();
}

TEST_F(BluejayStomp, OnlyTheLastStrengthScores)
{
    Hero(64, 144);
    Test_Character* bird = Bird(64, 164, 2);
    Tick();
    EXPECT_TRUE(bird->hurt);
    EXPECT_EQ(Plays(Application::USELESS_STOMP_SE), 1);
    EXPECT_EQ(Plays(Application::DAMAGING_STOMP_SE), 0);
    EXPECT_EQ(hero->points, 0);
    EXPECT_EQ(hero->state, Bluejay::JUMPING);
}

TEST_F(BluejayStomp, TheCreaturesOwnPointsAreEarned)
{
    Hero(64, 144);
    Place(new Scored_Creature(), Box(1, 1, 4, 5), 64, 164);
    Tick();
    EXPECT_EQ(hero->points, 50);
}

TEST_F(BluejayStomp, HoldingUpMakesTheBounceAFullJump)
{
    Hero(64, 144);
    Bird(64, 164);
    int highest = 144;
    for (int tick = 0; tick < 20 && (tick == 0 || hero->state == Bluejay::JUMPING); tick++)
    {
        Tick(UP);
        highest = std::min(highest, hero->y);
    }
    EXPECT_EQ(highest, 96);
    EXPECT_EQ(hero->state, Bluejay::GLIDING);

    // Without Up the bounce ends at once.
    hero->y = 144;
    hero->x = 64;
    level.characters[1]->hurt = false;
    Tick();
    ASSERT_EQ(hero->state, Bluejay::JUMPING);
    Tick();
    EXPECT_EQ(hero->state, Bluejay::GLIDING);
    EXPECT_EQ(hero->y, 144);
}

TEST_F(BluejayStomp, NoStompWhileTheCreatureOrTheHeroIsHurt)
{
    Hero(64, 144);
    Test_Character* bird = Bird(64, 164);
    bird->hurt = true;
    Tick();
    EXPECT_EQ(hero->state, Bluejay::GLIDING);
    EXPECT_EQ(hero->y, 148);

    hero->x = 64;
    hero->y = 144;
    bird->hurt = false;
    hero->hurt = true;
    Tick();
    EXPECT_FALSE(bird->hurt);
    EXPECT_EQ(hero->state, Bluejay::GLIDING);
    EXPECT_EQ(Plays(Application::DAMAGING_STOMP_SE), 0);
    EXPECT_EQ(hero->points, 0);

    hero->x = 64;
    hero->y = 144;
    hero->hurt = false;
    bird->strength = 0;
    Tick();
    EXPECT_FALSE(bird->hurt) << "a defeated creature is not stomped";
    EXPECT_EQ(hero->state, Bluejay::GLIDING);
}

TEST_F(BluejayStomp, CreaturesOutOfViewAreNeitherStompedNorFelt)
{
    hero = Add_Hero(level, 64, 200); // body rows 50-55
    // Right under the body, but below the bottom of the view.
    Test_Character* bird = Creature(Level::BLACK_BIRD, Application::BLACK_BIRD_STANDING_BM, Box(1, 0, 4, 5), 64, 224);
    Tick();
    EXPECT_FALSE(bird->hurt);
    EXPECT_EQ(hero->state, Bluejay::GLIDING);
    EXPECT_EQ(hero->y, 204);

    bird->type = Level::ROCK;
    hero->y = 200;
    Tick();
    Expect_Unharmed();
}

// ------------------------------------------------------------ side damage

class BluejaySideDamage : public BluejayContactTest
{
};

TEST_F(BluejaySideDamage, ACreatureBesideTheHeroHurtsItAndTurnsBack)
{
    Hero();
    Test_Character* bird = Bird(80, 168); // cells 21-24, right of the body
    bird->x_direction = -1;
    Tick();
    Expect_Damaged_Once();
    EXPECT_EQ(bird->x_direction, 1);
    EXPECT_FALSE(bird->hurt);

    // From the left too, whichever way the hero faces.
    Test_Character* other = Bird(48, 168); // cells 13-16
    bird->number_of_bump_maps = 0;
    hero->hurt = false;
    Tick();
    EXPECT_EQ(hero->strength, 1);
    EXPECT_EQ(other->x_direction, -1);
}

TEST_F(BluejaySideDamage, TheSuperMosquitoKeepsItsWay)
{
    Hero();
    Test_Character* mosquito = Creature(Level::SUPER_MOSQUITO, Application::SUPER_MOSQUITO_WINGS_DOWN_BM,
                                        Box(1, 1, 4, 5), 80, 168, 5);
    mosquito->x_direction = -1;
    Tick();
    Expect_Damaged_Once();
    EXPECT_EQ(mosquito->x_direction, -1);
}

TEST_F(BluejaySideDamage, NoDamageFromHurtDefeatedOrHarmlessCreatures)
{
    Hero();
    Test_Character* bird = Bird(80, 168);
    bird->hurt = true;
    Tick();
    bird->hurt = false;
    bird->strength = 0;
    Tick();
    bird->strength = 1;
    bird->harmful = false;
    Tick();
    Expect_Unharmed();
    EXPECT_EQ(bird->x_direction, 1);
}

TEST_F(BluejaySideDamage, TheHurtPeriodProtectsForNinetyTicks)
{
    Hero();
    Bird(80, 168);
    Tick();
    EXPECT_EQ(hero->strength, 2);
    for (int tick = 2; tick <= 91; tick++)
        Tick();
    EXPECT_EQ(hero->strength, 2);
    EXPECT_FALSE(hero->hurt);
    Tick();
    EXPECT_EQ(hero->strength, 1);
    EXPECT_EQ(Plays(Application::HIT_SE), 2);
}

TEST_F(BluejaySideDamage, OnlyTheFirstCreatureOfTheLevelCounts)
{
    Hero();
    Creature(Level::PIPE_SWITCH, Application::SWITCH_NORMAL_BM, Box(0, 1, 5, 3), 84, 176);
    Bird(48, 168);
    Tick();
    Expect_Unharmed();
}

// ------------------------------------------------------ hard creatures

class BluejayHard : public BluejayContactTest
{
};

TEST_F(BluejayHard, LandingOnARockHurtsAndTurnsItAwayFromTheHero)
{
    Hero(64, 144);
    Test_Character* rock = Creature(Level::ROCK, Application::ROCK_BM, Box(1, 1, 4, 4), 64, 164);
    Tick();
    Expect_Damaged_Once();
    EXPECT_EQ(rock->x_direction, -1);
    EXPECT_FALSE(rock->hurt);
    EXPECT_EQ(hero->state, Bluejay::GLIDING) << "no bounce";
    EXPECT_EQ(Plays(Application::DAMAGING_STOMP_SE) + Plays(Application::USELESS_STOMP_SE), 0);

    hero->x = 64;
    hero->y = 144;
    hero->hurt = false;
    Tick(LEFT);
    EXPECT_EQ(hero->strength, 1);
    EXPECT_EQ(rock->x_direction, 1);
}

TEST_F(BluejayHard, HardCreaturesCannotBeStomped)
{
    Hero(64, 144);
    Test_Character* thing = Creature(Level::ROCK, Application::ROCK_BM, Box(1, 1, 4, 4), 64, 164);
    for (int type : {Level::ROCK, Level::THROWABLE_ROCK, Level::TOMATOO_PLANT, Level::SPIKED_POLE})
    {
        thing->type = type;
        hero->x = 64;
        hero->y = 144;
        hero->hurt = false;
        hero->strength = 3;
        Tick();
        EXPECT_FALSE(thing->hurt) << type;
        EXPECT_EQ(hero->strength, 2) << type;
        EXPECT_EQ(hero->state, Bluejay::GLIDING) << type;
    }
    EXPECT_EQ(hero->points, 0);
}

TEST_F(BluejayHard, AHarmlessRockCanBeStoodOn)
{
    Hero(64, 144);
    Test_Character* rock = Creature(Level::ROCK, Application::ROCK_BM, Box(1, 1, 4, 4), 64, 164);
    rock->harmful = false;
    Tick();
    Expect_Unharmed();
}

TEST_F(BluejayHard, SwitchesNeverHurtAndAreStompedFromAbove)
{
    Hero();
    for (int type : {Level::PIPE_SWITCH, Level::REVERSE_PIPE_SWITCH})
    {
        Test_Character* beside =
            Creature(type, Application::SWITCH_NORMAL_BM, Box(0, 1, 5, 3), 84, 176); // cells 21-26
        Tick();
        Expect_Unharmed();
        EXPECT_FALSE(beside->hurt);
        beside->number_of_bump_maps = 0;
    }

    hero->y = 156; // just above the switch
    Test_Character* below = Creature(Level::PIPE_SWITCH, Application::SWITCH_NORMAL_BM, Box(0, 1, 5, 3), 64, 176);
    Tick();
    EXPECT_TRUE(below->hurt);
    EXPECT_EQ(hero->points, 10);
    EXPECT_EQ(Plays(Application::DAMAGING_STOMP_SE), 1);
    EXPECT_EQ(hero->state, Bluejay::JUMPING);
    Expect_Unharmed();
}

TEST_F(BluejayHard, BoilingMudKillsFromTheSideButNotFromAbove)
{
    Hero(64, 156);
    Test_Character* mud = Creature(Level::BOILING_MUD, Application::BOILING_MUD_BM, Box(0, 1, 7, 3), 64, 176);
    Tick();
    Expect_Unharmed();
    EXPECT_FALSE(mud->hurt);

    hero->x = 64;
    hero->y = 168;
    mud->x = 84; // cells 21-28, right of the body
    Tick();
    EXPECT_EQ(hero->strength, 0);
    EXPECT_TRUE(hero->hurt);
    EXPECT_EQ(Plays(Application::HIT_SE), 1);
}

TEST_F(BluejayHard, ASpikedPoleKillsOnlyWhileThrustOut)
{
    Hero();
    // The pole's point covers cells 20-23, rows 40-43: the top-right corner
    // of the body is inside it.
    Spiked_Pole* pole = Place(new Spiked_Pole(), Box(0, 0, 3, 3), 80, 160);
    Tick();
    Expect_Damaged_Once();

    hero->hurt = false;
    hero->strength = 3;
    pole->extended = true;
    pole->y = 112; // the thrust pole reaches down to row 43
    Tick();
    EXPECT_EQ(hero->strength, 0);
    EXPECT_TRUE(hero->hurt);
    EXPECT_EQ(Plays(Application::HIT_SE), 2);
}

TEST_F(BluejayHard, ATomatoPlantKillsOnlyAsItShootsUp)
{
    Hero();
    // The head covers cells 19-24, rows 41-46, around the body's corner.
    Tomatoo_Plant* plant = Place(new Tomatoo_Plant(), Box(0, 0, 5, 5), 76, 164);
    Tick();
    Expect_Damaged_Once();

    hero->hurt = false;
    hero->strength = 3;
    plant->shooting_up = true;
    Tick();
    EXPECT_EQ(hero->strength, 0);
    EXPECT_TRUE(hero->hurt);
    EXPECT_EQ(Plays(Application::HIT_SE), 2);
}

// ------------------------------------------------------------------- tail

class BluejayTail : public BluejayContactTest
{
};

TEST_F(BluejayTail, TurningAroundSwatsACreatureWithTheTail)
{
    Hero();
    Test_Character* bird = Bird(84, 168); // cells 22-25: the tail reaches it when the hero turns
    Tick();
    EXPECT_FALSE(bird->hurt);
    Tick(LEFT);
    EXPECT_TRUE(bird->hurt);
    EXPECT_EQ(hero->points, 10);
    EXPECT_EQ(Plays(Application::DAMAGING_STOMP_SE), 1);
    EXPECT_EQ(hero->state, Bluejay::IDLE) << "no bounce";
    EXPECT_EQ(hero->y, 168);
    Expect_Unharmed();
}

TEST_F(BluejayTail, TheTailHitsOnlyInTheTickOfTheTurn)
{
    Hero();
    Test_Character* bird = Bird(84, 168, 2);
    Tick(LEFT);
    EXPECT_TRUE(bird->hurt);
    EXPECT_EQ(Plays(Application::USELESS_STOMP_SE), 1);
    EXPECT_EQ(hero->points, 0);
    bird->hurt = false;
    Tick(LEFT);
    Tick();
    EXPECT_FALSE(bird->hurt);
    EXPECT_EQ(Plays(Application::USELESS_STOMP_SE), 1);
}

TEST_F(BluejayTail, HardThingsEggsAndGhostsAreNotSwatted)
{
    Hero();
    Test_Character* thing = Creature(Level::ROCK, Application::ROCK_BM, Box(1, 1, 4, 5), 84, 168);
    for (int type : {Level::ROCK, Level::BOILING_MUD, Level::EGG, Level::GHOST})
    {
        thing->type = type;
        hero->x_direction = 1;
        Tick(LEFT);
        EXPECT_FALSE(thing->hurt) << type;
    }
    EXPECT_EQ(hero->points, 0);
    EXPECT_EQ(Plays(Application::USELESS_STOMP_SE) + Plays(Application::DAMAGING_STOMP_SE), 0);
}

TEST_F(BluejayTail, ABlinkingHeroDoesNotSwat)
{
    Hero();
    Test_Character* bird = Bird(84, 168);
    hero->hurt = true;
    Tick(LEFT);
    EXPECT_FALSE(bird->hurt);
}

// ----------------------------------------------------------------- ghosts

class BluejayGhost : public BluejayContactTest
{
protected:
    enum Outcome
    {
        PUSHED_BACK,
        SCARED,
        TURNED,
        NOTHING,
        SEVERAL
    };

    Test_Character* ghost = nullptr;

    void Haunted_Hero(int type = Level::GHOST, int picture = Application::GHOST_BM)
    {
        Hero();
        hero->start_x = 16;
        ghost = Creature(type, picture, Box(1, 1, 6, 6), 80, 160); // right of the body
    }

    Outcome Meet(unsigned int seed)
    {
        hero->x = 64;
        hero->x_direction = 1;
        hero->hurt = false;
        hero->timer = 5;
        level.reposition_requested = false;
        std::srand(seed);
        Tick();
        bool pushed = hero->x != 64;
        bool scared = hero->hurt;
        bool turned = hero->x_direction == -1;
        if (pushed + scared + turned > 1)
            return SEVERAL;
        if (pushed)
        {
            EXPECT_TRUE(level.reposition_requested);
            EXPECT_GE(hero->x, 16);
            EXPECT_LT(hero->x, 64);
            EXPECT_EQ((hero->x - 16) % 4, 0);
            return PUSHED_BACK;
        }
        if (scared)
        {
            EXPECT_EQ(hero->timer, 0);
            return SCARED;
        }
        return turned ? TURNED : NOTHING;
    }
};

TEST_F(BluejayGhost, AGhostPushesBackScaresOrTurnsTheHero)
{
    Haunted_Hero();
    bool seen[3] = {false, false, false};
    for (unsigned int seed = 1; seed <= 30; seed++)
    {
        std::srand(seed);
        int expected = std::rand() % 3;
        int expected_x = expected == 0 ? 16 + 4 * (std::rand() % 12) : 64;
        Outcome outcome = Meet(seed);
        ASSERT_LT(outcome, NOTHING) << "seed " << seed;
        EXPECT_EQ(outcome, expected) << "seed " << seed;
        EXPECT_EQ(hero->x, expected_x) << "seed " << seed;
        seen[outcome] = true;
    }
    EXPECT_TRUE(seen[PUSHED_BACK]);
    EXPECT_TRUE(seen[SCARED]);
    EXPECT_TRUE(seen[TURNED]);
    EXPECT_EQ(hero->strength, 3) << "ghosts take no strength";
    EXPECT_FALSE(ghost->hurt);
    EXPECT_EQ(Plays(Application::HIT_SE), 0);
}

TEST_F(BluejayGhost, TheMasterEctoHauntsLikeAGhost)
{
    Haunted_Hero(Level::MASTER_ECTO, Application::MASTER_ECTO_BM);
    for (unsigned int seed = 1; seed <= 10; seed++)
        EXPECT_LT(Meet(seed), NOTHING) << "seed " << seed;
    EXPECT_EQ(hero->strength, 3);
}

TEST_F(BluejayGhost, AGhostPushesAHeroAtItsStartBackToTheStart)
{
    Haunted_Hero();
    hero->start_x = 64;
    for (unsigned int seed = 1; seed <= 30; seed++)
    {
        std::srand(seed);
        if (std::rand() % 3 != 0)
            continue;
        hero->x = 64;
        level.reposition_requested = false;
        std::srand(seed);
        Tick();
        EXPECT_EQ(hero->x, 64);
        EXPECT_TRUE(level.reposition_requested);
        return;
    }
    FAIL() << "no seed pushed the hero back";
}

TEST_F(BluejayGhost, GhostsDoNothingToABlinkingHeroOrAfterTheFinalSwitch)
{
    Haunted_Hero();
    for (unsigned int seed = 1; seed <= 10; seed++)
    {
        hero->hurt = true;
        std::srand(seed);
        Tick();
        EXPECT_EQ(hero->x, 64);
        EXPECT_EQ(hero->x_direction, 1);
        EXPECT_FALSE(level.reposition_requested);
    }
    level.signal = Level::SIGNAL_DESTROY_ECTO;
    for (unsigned int seed = 1; seed <= 10; seed++)
        EXPECT_EQ(Meet(seed), NOTHING) << "seed " << seed;
}

TEST_F(BluejayGhost, GhostsLeaveAHeroGoingDownAPipeAlone)
{
    Haunted_Hero();
    hero->state = Bluejay::GOING_DOWN_PIPE;
    hero->pipe_x = 60;
    hero->pipe_y = 400;
    for (unsigned int seed = 1; seed <= 10; seed++)
    {
        hero->y = 168;
        EXPECT_EQ(Meet(seed), NOTHING) << "seed " << seed;
    }
}

// A ghost that pushes the hero far back, out of the view it was in, does not
// cost it a life: the camera follows it there in the same tick.
TEST(BluejayGhostPush, APushFarBackOutOfViewIsNoFall)
{
    Application application;
    application.Load_Resources();
    Level& level = *application.levels[0];
    for (int x = 0; x < 40 * 32; x += 32)
        Add_Platform(level, Level::GROUND, x, 192);
    level.screens_wide = 5;
    Bluejay* hero = Add_Character(level, new Bluejay(), 16, 168);
    level.main_character = 0;
    Load_Bump_Map_For_Character("data\\bump_maps\\bluejay.map", level.characters, 0);
    Test_Character* ghost = Add_Character(level, new Test_Character(Level::GHOST, Application::GHOST_BM), 0, 0);
    ghost->bump_maps[0] = Box(1, 1, 6, 6);
    hero->x = 1000;
    hero->state = Bluejay::IDLE;
    level.starting = false;
    level.scroll_x = 1000 - 128;
    // Find a seed whose first draw pushes the hero back to its start.
    unsigned seed = 1;
    for (;; seed++)
    {
        std::srand(seed);
        if (std::rand() % 3 == 0 && std::rand() % ((1000 - 16) / 4) < 8)
            break;
    }
    std::srand(seed);
    ghost->x = hero->x + 16; // touching the hero's body from the right
    ghost->y = hero->y - 4;
    application.signals = 0;
    int lives = hero->lives;
    level.Process(application);
    EXPECT_LT(hero->x, 60);
    EXPECT_FALSE(hero->dead);
    EXPECT_EQ(hero->lives, lives);
    EXPECT_TRUE(hero->Is_On_Screen(level.scroll_x, level.scroll_y, application));
}
