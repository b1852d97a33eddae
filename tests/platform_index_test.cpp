#include <gtest/gtest.h>

#include <cstdlib>

#include "application.h"
#include "level.h"
#include "platform.h"
#include "test_support.h"

// The bucketed platform query must answer exactly as the plain scan over
// every platform: the same index in each of the eight directions.
class PlatformIndexTest : public Loaded_Application_Test
{
protected:
    Level& level = *application.levels[0];

    // Compares both queries for every shape of every character.
    int Compare_All()
    {
        int compared = 0;
        for (int c = 0; c < level.number_of_characters; c++)
        {
            Character* character = level.characters[c];
            int shapes = character->number_of_bump_maps > 0 ? character->number_of_bump_maps : 1;
            for (int number = 0; number < shapes; number++)
            {
                int fast[8], slow[8];
                character->Which_Platforms_Were_Hit(fast[0], fast[1], fast[2], fast[3], fast[4], fast[5], fast[6],
                                                    fast[7], level, number, application);
                character->Which_Platforms_Were_Hit_By_Scan(slow[0], slow[1], slow[2], slow[3], slow[4], slow[5],
                                                            slow[6], slow[7], level, number, application);
                for (int d = 0; d < 8; d++)
                    EXPECT_EQ(fast[d], slow[d]) << "character " << c << " shape " << number << " direction " << d;
                compared++;
            }
        }
        return compared;
    }

    void Random_Level(int platforms, int creatures, int screens)
    {
        const int kinds[] = {Level::BROWN_BLOCK, Level::CEMENT_BLOCK, Level::BIG_BUSH, Level::CHERRY,
                             Level::GROUND,      Level::PIPE,         Level::LEDGE,    Level::WIRE,
                             Level::STOPPER,     Level::YELLOW_CHERRY, Level::TALL_VINE};
        for (int i = 0; i < platforms; i++)
        {
            int type = kinds[std::rand() % 11];
            Platform* platform = Add_Platform(level, type, std::rand() % (screens * 256 + 64) - 32,
                                              std::rand() % 600 - 400);
            if (type == Level::CHERRY || type == Level::YELLOW_CHERRY || type == Level::WIRE)
            {
                platform->bump_map = Box(std::rand() % 9 - 4, std::rand() % 9 - 4, std::rand() % 9 - 2,
                                         std::rand() % 9 - 2);
                platform->has_bump_map = true;
            }
        }
        for (int i = 0; i < creatures; i++)
        {
            Test_Character* creature =
                Add_Character(level, new Test_Character(), std::rand() % (screens * 256), std::rand() % 600 - 400);
            creature->bump_maps[0] = Box(std::rand() % 4, std::rand() % 4, std::rand() % 8, std::rand() % 8);
        }
        level.screens_wide = screens;
    }
};

TEST_F(PlatformIndexTest, AnswersAsTheScanOnRandomLevels)
{
    for (int seed = 1; seed <= 20; seed++)
    {
        std::srand(seed);
        for (int i = 0; i < level.number_of_characters; i++)
        {
            delete level.characters[i];
            level.characters[i] = nullptr;
        }
        level.number_of_characters = 0;
        level.number_of_platforms = 0;
        Random_Level(400, 60, 1 + seed % 5);
        level.platform_index.Build(level, application);
        EXPECT_EQ(Compare_All(), 60);
        level.platform_index.Clear();
    }
}

TEST_F(PlatformIndexTest, AnswersAsTheScanForShapesFarOutsideTheLevel)
{
    Add_Platform(level, Level::GROUND, -5000, 0);
    Add_Platform(level, Level::GROUND, 2000000, -2000000);
    Platform* wide = Add_Platform(level, Level::WIRE, 100, 100);
    wide->bump_map = Box(-1000, 0, 1000, 0); // spans many buckets
    wide->has_bump_map = true;
    Platform* inverted = Add_Platform(level, Level::CHERRY, 40, 40);
    inverted->bump_map = Box(5, 0, -5, 0);
    inverted->has_bump_map = true;
    for (int x : {-5040, -4996, 96, 120, 2000000 - 16, 400, 36})
        Add_Character(level, new Test_Character(), x, 96)->bump_maps[0] = Box(0, 0, 3, 3);
    Add_Character(level, new Test_Character(), 2000000 - 16, -2000000)->bump_maps[0] = Box(0, 0, 3, 3);
    level.screens_wide = 2;
    level.platform_index.Build(level, application);
    EXPECT_EQ(Compare_All(), 8);
}

TEST_F(PlatformIndexTest, AnswersAsTheScanThroughATickOfACrowdedLevel)
{
    // A level at the editor's limits: 5000 platforms over 50 screens and
    // 2000 creatures of every kind, the first ones crowding the first
    // screens, played for a while with the hero flying to the right.
    std::srand(7);
    Temporary_Directory directory;
    std::string map = "0 0\n2 32 128\n";
    for (int i = 1; i < Level::MAX_CHARACTERS; i++)
    {
        int type = 1 + std::rand() % 28;
        if (type == Level::BLUEJAY || type == Level::MESSAGE_OBJECT)
            type = Level::BLACK_BIRD;
        int x = i < 1000 ? std::rand() % 32 * 16 : std::rand() % 800 * 16;
        map += std::to_string(type) + " " + std::to_string(x) + " " + std::to_string(std::rand() % 12 * 16) + "\n";
    }
    map += "-1\n";
    for (int i = 0; i < Level::MAX_PLATFORMS; i++)
    {
        int type = i < 400 ? Level::GROUND : Level::BROWN_BLOCK + std::rand() % 18;
        int x = i < 400 ? i * 32 : std::rand() % 800 * 16;
        int y = i < 400 ? 192 : std::rand() % 25 * 16 - 224;
        map += std::to_string(type) + " " + std::to_string(x) + " " + std::to_string(y) + "\n";
    }
    map += "-1\n";
    for (int i = 0; i < Level::NUMBER_OF_POINTERS; i++)
        map += "0\n";
    level.Load(directory.Write("crowd.map", map).c_str());
    ASSERT_EQ(level.number_of_characters, Level::MAX_CHARACTERS);

    int compared = 0;
    for (int tick = 0; tick < 40; tick++)
    {
        application.signals = Application::SIGNAL_RIGHT | Application::SIGNAL_FLY;
        level.Process(application);
        // Nothing has moved a platform since the tick's characters acted.
        level.platform_index.Build(level, application);
        if (tick % 10 == 0)
            compared += Compare_All();
        level.platform_index.Clear();
    }
    EXPECT_GT(compared, 8000);
}
