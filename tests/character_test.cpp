#include <gtest/gtest.h>

#include "application.h"
#include "level.h"
#include "platform.h"
#include "test_support.h"

class CharacterTest : public testing::Test
{
protected:
    Application application;
    Level& level = *application.levels[0];

    void SetUp() override
    {
        // A 16 x 16 creature whose shape is its whole picture, and 16 x 16
        // blocks.
        Set_Bitmap(application, Application::BROWN_BLOCK_BM, 16, 16);
        Set_Bitmap(application, Application::BIG_BUSH_BM, 16, 16);
        Set_Bitmap(application, Application::CHERRY_BM, 16, 16);
    }

    Test_Character* Creature(int x, int y)
    {
        Test_Character* creature = Add_Character(level, new Test_Character(), x, y);
        creature->bump_maps[0] = Box(0, 0, 3, 3);
        return creature;
    }

    struct Hits
    {
        int left, right, top, bottom, top_left, bottom_left, top_right, bottom_right;
    };

    Hits Platforms_Hit(Character& character, int number = 0)
    {
        Hits hits;
        character.Which_Platforms_Were_Hit(hits.left, hits.right, hits.top, hits.bottom,
                                           hits.top_left, hits.bottom_left, hits.top_right,
                                           hits.bottom_right, level, number, application);
        return hits;
    }
};

TEST_F(CharacterTest, StartsWithTheDefaults)
{
    Test_Character character;
    EXPECT_EQ(character.x_direction, 1);
    EXPECT_EQ(character.y_direction, 1);
    EXPECT_EQ(character.timer, 0);
    EXPECT_FALSE(character.hurt);
    EXPECT_TRUE(character.harmful);
    EXPECT_EQ(character.bump_maps_loaded, 0);
    for (int i = 0; i < Character::MAX_BUMP_MAPS; i++)
    {
        EXPECT_EQ(character.bump_maps[i].left, 0);
        EXPECT_EQ(character.bump_maps[i].bottom, 0);
    }
    EXPECT_EQ(character.Get_Points(), 10);
}

TEST_F(CharacterTest, ResetRestoresTheStartPositionAndNothingElse)
{
    Test_Character* creature = Creature(32, 48);
    creature->x = 100;
    creature->y = -40;
    creature->strength = 0;
    creature->hurt = true;
    creature->x_direction = -1;
    creature->timer = 17;
    creature->Reset(true);
    EXPECT_EQ(creature->x, 32);
    EXPECT_EQ(creature->y, 48);
    EXPECT_EQ(creature->strength, 0);
    EXPECT_TRUE(creature->hurt);
    EXPECT_EQ(creature->x_direction, -1);
    EXPECT_EQ(creature->timer, 17);
}

TEST_F(CharacterTest, StandingOnGroundAgainstAWallReportsBothSides)
{
    Test_Character* creature = Creature(32, 32);
    Add_Platform(level, Level::BROWN_BLOCK, 32, 48); // below
    Add_Platform(level, Level::BROWN_BLOCK, 48, 32); // right
    Hits hits = Platforms_Hit(*creature);
    EXPECT_EQ(hits.bottom, 0);
    EXPECT_EQ(hits.right, 1);
    EXPECT_EQ(hits.left, Character::NO_PLATFORM_HIT);
    EXPECT_EQ(hits.top, Character::NO_PLATFORM_HIT);
    // The wall and the ground do not touch the corners diagonally.
    EXPECT_EQ(hits.bottom_right, Character::NO_PLATFORM_HIT);
}

TEST_F(CharacterTest, APlatformAtTheCornerIsReportedOnlyThere)
{
    Test_Character* creature = Creature(32, 32);
    Add_Platform(level, Level::BROWN_BLOCK, 48, 48);
    Add_Platform(level, Level::BROWN_BLOCK, 16, 16);
    Add_Platform(level, Level::BROWN_BLOCK, 16, 48);
    Add_Platform(level, Level::BROWN_BLOCK, 48, 16);
    Hits hits = Platforms_Hit(*creature);
    EXPECT_EQ(hits.bottom_right, 0);
    EXPECT_EQ(hits.top_left, 1);
    EXPECT_EQ(hits.bottom_left, 2);
    EXPECT_EQ(hits.top_right, 3);
    EXPECT_EQ(hits.bottom, Character::NO_PLATFORM_HIT);
    EXPECT_EQ(hits.right, Character::NO_PLATFORM_HIT);
    EXPECT_EQ(hits.left, Character::NO_PLATFORM_HIT);
    EXPECT_EQ(hits.top, Character::NO_PLATFORM_HIT);
}

TEST_F(CharacterTest, TheHighestPlatformIndexWins)
{
    Test_Character* creature = Creature(36, 32);
    Add_Platform(level, Level::BROWN_BLOCK, 32, 48);
    Add_Platform(level, Level::BROWN_BLOCK, 48, 48);
    EXPECT_EQ(Platforms_Hit(*creature).bottom, 1);
}

TEST_F(CharacterTest, BackgroundIsNeverReportedButItemsAre)
{
    Test_Character* creature = Creature(32, 32);
    Add_Platform(level, Level::BIG_BUSH, 32, 48);
    Add_Platform(level, Level::CHERRY, 48, 32);
    Hits hits = Platforms_Hit(*creature);
    EXPECT_EQ(hits.bottom, Character::NO_PLATFORM_HIT);
    EXPECT_EQ(hits.right, 1);
    EXPECT_EQ(level.platforms[hits.right]->kind, Platform::ITEM);
}

TEST_F(CharacterTest, OnlyPlatformsInUseAreScanned)
{
    Test_Character* creature = Creature(32, 32);
    // A platform beyond the count, right under the creature.
    Platform* unused = level.platforms[0];
    unused->type = Level::BROWN_BLOCK;
    unused->x = 32;
    unused->y = 48;
    unused->Initialize();
    EXPECT_EQ(Platforms_Hit(*creature).bottom, Character::NO_PLATFORM_HIT);
}

TEST_F(CharacterTest, TheFirstCharacterHitWinsOverALaterOneThatIsEntered)
{
    Test_Character* hero = Creature(32, 32);
    Test_Character* beside = Creature(48, 32); // touching on the right
    Test_Character* entered = Creature(40, 40); // overlapping
    int other_number = -5, flags = -5;
    EXPECT_EQ(hero->Which_Character_Was_Hit(level, 0, application, other_number, flags), 1);
    EXPECT_EQ(flags, Character::HIT_RIGHT);
    EXPECT_EQ(other_number, 0);

    // Without the one beside, the overlapping one is found, and a corner of
    // the hero lies inside it.
    beside->number_of_bump_maps = 0;
    EXPECT_EQ(hero->Which_Character_Was_Hit(level, 0, application, other_number, flags), 2);
    EXPECT_TRUE(flags & Character::IS_INSIDE);
    (void)entered;
}

TEST_F(CharacterTest, CharactersWithoutShapesAreNeverFound)
{
    Test_Character* hero = Creature(32, 32);
    Test_Character* marker = Creature(32, 32);
    marker->number_of_bump_maps = 0;
    int other_number = 0, flags = -1;
    EXPECT_EQ(hero->Which_Character_Was_Hit(level, 0, application, other_number, flags),
              Character::NO_CHARACTER_HIT);
    EXPECT_EQ(flags, 0);
}

TEST_F(CharacterTest, HitFlagsNameWhereTheOtherLiesAndWhichShapeWasHit)
{
    Test_Character* hero = Creature(32, 32);
    Test_Character* below = Creature(0, 0);
    below->number_of_bump_maps = 2;
    below->bump_maps[0] = Box(0, 0, 0, 0); // far away
    below->bump_maps[1] = Box(8, 12, 11, 15); // cells under the hero
    int other_number = 0, flags = 0;
    EXPECT_EQ(hero->Which_Character_Was_Hit(level, 0, application, other_number, flags), 1);
    EXPECT_EQ(flags, Character::HIT_BOTTOM);
    EXPECT_EQ(other_number, 1);

    // Defeated, hurt or harmless creatures are still found: the caller
    // decides what a contact means.
    below->strength = 0;
    below->hurt = true;
    below->harmful = false;
    EXPECT_EQ(hero->Which_Character_Was_Hit(level, 0, application, other_number, flags), 1);
}

TEST_F(CharacterTest, OnScreenWhileAnyPixelIsInTheView)
{
    Test_Character* creature = Creature(0, 0);
    // 16 x 16 picture: the last column in view is dx = -15.
    creature->x = -15;
    EXPECT_TRUE(creature->Is_On_Screen(0, 0, application));
    creature->x = -16;
    EXPECT_FALSE(creature->Is_On_Screen(0, 0, application));
    creature->x = 255;
    EXPECT_TRUE(creature->Is_On_Screen(0, 0, application));
    creature->x = 256;
    EXPECT_FALSE(creature->Is_On_Screen(0, 0, application));

    creature->x = 300;
    EXPECT_TRUE(creature->Is_On_Screen(256, 0, application));
    creature->y = -240;
    EXPECT_FALSE(creature->Is_On_Screen(256, 0, application));
    EXPECT_TRUE(creature->Is_On_Screen(256, -240, application));
    EXPECT_FALSE(creature->Is_On_Screen(256, -224, application));
    creature->y = 223;
    EXPECT_TRUE(creature->Is_On_Screen(256, 0, application));
    creature->y = 224;
    EXPECT_FALSE(creature->Is_On_Screen(256, 0, application));

    // The horizontal test ignores the height.
    creature->y = -5000;
    EXPECT_TRUE(creature->Is_On_X_Screen(256, 0, application));
    EXPECT_FALSE(creature->Is_On_X_Screen(512, 0, application));
}

TEST_F(CharacterTest, OnScreenTestsDoNotOverflowFarFromTheView)
{
    Test_Character* creature = Creature(2147483647, -2147483647 - 1);
    EXPECT_FALSE(creature->Is_On_Screen(-2147483647 - 1, 2147483647, application));
    EXPECT_FALSE(creature->Is_On_X_Screen(-2147483647 - 1, 0, application));
}

TEST_F(CharacterTest, SharedHelpersForTheEdgesAHitAndAGrownShape)
{
    level.screens_wide = 3;
    level.screens_high = 2;
    Test_Character* creature = Creature(0, 0);
    creature->bitmap = Application::BROWN_BLOCK_BM;
    EXPECT_EQ(creature->Right_End(application, level), 3 * Application::CANVAS_WIDTH - 16);
    EXPECT_EQ(Character::Level_Top(level), -(2 - Level::HEIGHT_ERROR) * Application::CANVAS_HEIGHT);

    // A hurt lasting many ticks costs one strength.
    bool counted = false;
    creature->strength = 3;
    creature->timer = 9;
    EXPECT_TRUE(creature->Lose_Strength_Once(counted));
    EXPECT_FALSE(creature->Lose_Strength_Once(counted));
    EXPECT_EQ(creature->strength, 2);
    EXPECT_EQ(creature->timer, 0);

    // Grown by two 16-pixel pieces: four cells more at the bottom.
    Rectangle small, grown;
    creature->Get_Grown_Bump_Map(small, 0, application, false, 2, Application::BROWN_BLOCK_BM);
    creature->Get_Grown_Bump_Map(grown, 0, application, true, 2, Application::BROWN_BLOCK_BM);
    EXPECT_EQ(grown.bottom, small.bottom + 2 * 16 / 4);
    EXPECT_EQ(grown.top, small.top);
}
