// The death-map tool's logic: the simple players press keys the way the map
// needs, and a played level gives back where the hero fell and how its jumps
// ended.

#include <gtest/gtest.h>

#include <string>

#include "application.h"
#include "death_map.h"
#include "level.h"
#include "simple_player.h"
#include "test_support.h"

namespace
{
const int LEVEL = 119;
const long RUN_TICKS = 900;

// Ground up to x 128, then (with a pit) nothing up to x 384, then ground to
// the end of three screens; the hero stands on the first stretch.
std::string Level_Text(bool pit)
{
    std::string text = "0\n0\n2\n32\n168\n-1\n";
    for (int x = 0; x < 3 * Application::CANVAS_WIDTH; x += 32)
        if (!pit || x < 128 || x >= 384)
            text += "1005\n" + std::to_string(x) + "\n192\n";
    text += "-1\n";
    for (int i = 0; i < Level::NUMBER_OF_POINTERS; i++)
        text += "0\n";
    return text;
}

class DeathMapTest : public Loaded_Application_Test
{
protected:
    Application& game = application;
    Temporary_Directory directory;
    Death_Map map{LEVEL};

    void SetUp() override
    {
        ::application = &game;
        ASSERT_STREQ(game.missing_resource, "");
        game.demo_mode = false;
    }

    void TearDown() override
    {
        Release_All_Keys();
        ::application = nullptr;
    }

    int Play(bool pit, int kind, unsigned seed)
    {
        Simple_Player player(kind, seed);
        return map.Play(game, directory.Write("level.map", Level_Text(pit)), player, RUN_TICKS);
    }
};
} // namespace

TEST(SimplePlayerTest, HoldsRightAndJumpsNaturallyTheSameWayForASeed)
{
    Simple_Player first(Simple_Player::JUMPER, 7), second(Simple_Player::JUMPER, 7);
    int presses = 0, held = 0;
    for (int tick = 0; tick < 2000; tick++)
    {
        int word = first.Next_Word(false);
        ASSERT_EQ(word, second.Next_Word(false));
        EXPECT_TRUE(word & Application::SIGNAL_RIGHT);
        EXPECT_FALSE(word & Application::SIGNAL_FLY);
        if (word & Application::SIGNAL_UP)
            held++;
        else if (held > 0)
        {
            EXPECT_GE(held, Simple_Player::SHORTEST_JUMP);
            EXPECT_LE(held, Simple_Player::LONGEST_JUMP);
            presses++;
            held = 0;
        }
    }
    EXPECT_GT(presses, 50);
}

TEST(SimplePlayerTest, TheFlyerAlsoFliesAndAMessageIsClosedWithEnter)
{
    Simple_Player player(Simple_Player::FLYER, 3);
    int flights = 0;
    for (int tick = 0; tick < 2000; tick++)
        flights += (player.Next_Word(false) & Application::SIGNAL_FLY) ? 1 : 0;
    EXPECT_GT(flights, 0);
    int first = player.Next_Word(true), second = player.Next_Word(true);
    EXPECT_NE(first & Application::SIGNAL_START, second & Application::SIGNAL_START);
    EXPECT_FALSE((first | second) & (Application::SIGNAL_UP | Application::SIGNAL_FLY));
}

TEST_F(DeathMapTest, AJumperFallsIntoAPitTooWideToJumpAndEveryFallIsKept)
{
    int lost = Play(true, Simple_Player::JUMPER, 1);
    EXPECT_EQ(map.pit_left, 128);
    EXPECT_EQ(map.pit_right, 384);
    ASSERT_GT(lost, 0);
    ASSERT_EQ(map.deaths.size(), static_cast<size_t>(lost));
    for (const Death_Map::Death& death : map.deaths)
    {
        EXPECT_GE(death.x, 96);
        EXPECT_LT(death.x, 384);
        EXPECT_EQ(death.player, Simple_Player::JUMPER);
    }
    EXPECT_EQ(map.Deaths_In_Column(0, 0) + map.Deaths_In_Column(1, 0), lost);
    EXPECT_EQ(map.Deaths_In_Column(0, Simple_Player::FLYER), 0);
    EXPECT_EQ(map.Jumps_Into_Pit(), lost);
    EXPECT_EQ(map.Jumps_Clearing_Pit(), 0);
    EXPECT_EQ(map.runs, 1);
}

TEST_F(DeathMapTest, OnLevelGroundNoLifeIsLostAndTheRunEndsAtTheRightEnd)
{
    EXPECT_EQ(Play(false, Simple_Player::JUMPER, 2), 0);
    EXPECT_EQ(map.pit_left, -1);
    EXPECT_TRUE(map.deaths.empty());
    EXPECT_GE(game.levels[LEVEL]->Hero()->x, 3 * Application::CANVAS_WIDTH - Death_Map::END_MARGIN);
    EXPECT_FALSE(map.jumps.empty());
}

TEST_F(DeathMapTest, TheSpotsAreMarkedOnTheOverview)
{
    map.deaths.push_back({200, 150, Simple_Player::JUMPER, 0});
    map.deaths.push_back({40, 60, Simple_Player::FLYER, 0});
    BITMAP* picture = create_bitmap(256, 224);
    clear_to_color(picture, makecol(0, 0, 255));
    map.Mark(picture, 0);
    EXPECT_EQ(getpixel(picture, 200, 152), makecol(255, 0, 0));
    EXPECT_EQ(getpixel(picture, 40, 56), makecol(255, 220, 0));
    EXPECT_EQ(getpixel(picture, 120, 120), makecol(0, 0, 255));
    destroy_bitmap(picture);
}
