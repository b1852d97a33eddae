// The campaign, levels 0 to 23: the route through it wins the game without
// a game over, every level is sound and can be reached, every kind of object
// and platform appears somewhere, the messages fit the screen, and the demo
// behind the title plays well.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "application.h"
#include "bluejay.h"
#include "character.h"
#include "level.h"
#include "level_seeds.h"
#include "platform.h"
#include "string_list.h"
#include "test_support.h"
#include "tick_input.h"

namespace
{
const int FIRST_LEVEL = 0;
const int LAST_LEVEL = 23;
const char* const ROUTE_FILE = "tools/movies/route.txt";
// The route's random numbers start from 1 + the level's number.
const unsigned int ROUTE_SEED = 1;
// The demo lasts 30 to 60 seconds at 30 ms a tick.
const size_t SHORTEST_DEMO = 1000;
const size_t LONGEST_DEMO = 2000;
// A message line must fit the 256-pixel screen in the 8-pixel font. A level's
// message stays in the band at the top that every background keeps dark
// enough for white text (nine lines); the ending, over the black last level,
// may use the screen's height.
const size_t LONGEST_MESSAGE_LINE = 31;
const int MOST_MESSAGE_LINES = 9;
const int MOST_ENDING_LINES = 22;

// One signal word per tick from the readable key script.
std::vector<int> Read_Key_Script(const std::string& path)
{
    Tick_Input input;
    EXPECT_TRUE(input.Read_Script(path)) << input.error;
    return input.words;
}

std::string Level_File(int number)
{
    char path[Application::MAX_PATH_LENGTH];
    Make_Level_Path(path, number);
    return path;
}

std::string Message_File(int number)
{
    char path[Application::MAX_PATH_LENGTH];
    Make_Message_Path(path, number);
    return path;
}

int Count_Heroes(Level& level)
{
    int heroes = 0;
    for (int i = 0; i < level.number_of_characters; i++)
        if (level.characters[i]->type == Level::BLUEJAY)
            heroes++;
    return heroes;
}

// The campaign played on the real game loop, the way the game runs it and
// the headless runner replays it.
class CampaignTest : public Loaded_Application_Test
{
protected:
    Application* const game = &application;

    void SetUp() override
    {
        std::memset(const_cast<char*>(key), 0, KEY_MAX);
        ::application = game;
        ASSERT_EQ(game->missing_resource[0], '\0') << game->missing_resource;
        game->Load_Game_Data();
    }

    void TearDown() override
    {
        Application::Press_Keys_For_Signals(0);
        ::application = nullptr;
    }

    Bluejay& Hero() { return *game->levels[game->current_level]->Hero(); }

    struct Route_Run
    {
        size_t length = 0;
        long ticks = 0;
        bool won = false;
        bool game_over = false;
        int fewest_lives = 0;
        std::set<int> levels;
    };

    // A new game on the first level, driven by the route one tick at a
    // time until it is won, lost or the route ends.
    Route_Run Play_Route()
    {
        Route_Run run;
        std::vector<int> words = Read_Key_Script(ROUTE_FILE);
        run.length = words.size();
        game->demo_mode = false;
        game->current_level = FIRST_LEVEL;
        run.fewest_lives = Hero().lives;
        Level_Seeds level_seeds(ROUTE_SEED);
        for (int word : words)
        {
            Application::Press_Keys_For_Signals(word);
            level_seeds.Before_Tick(game->current_level);
            game->Run_Play_Tick();
            run.ticks++;
            run.levels.insert(game->current_level);
            if (Hero().lives < run.fewest_lives)
                run.fewest_lives = Hero().lives;
            if (game->game_over)
            {
                run.game_over = true;
                break;
            }
            if (game->game_complete)
            {
                run.won = true;
                break;
            }
        }
        return run;
    }
};
} // namespace

TEST_F(CampaignTest, TheRouteWinsTheGameWithoutAGameOver)
{
    Route_Run run = Play_Route();
    ASSERT_GT(run.length, 0u) << "no route in " << ROUTE_FILE;
    EXPECT_FALSE(run.game_over) << "game over after " << run.ticks << " ticks";
    EXPECT_GE(run.fewest_lives, 1);
    EXPECT_TRUE(run.won) << "the route ends after " << run.ticks << " ticks on level " << game->current_level;
    EXPECT_LE(run.ticks, static_cast<long>(run.length));
    EXPECT_EQ(game->current_level, LAST_LEVEL) << "the game is won on the last level";
    EXPECT_EQ(game->levels[LAST_LEVEL]->signal, Level::SIGNAL_DESTROY_ECTO);
    // The route goes down the pipes level by level, the secret one too.
    for (int number = FIRST_LEVEL; number <= LAST_LEVEL; number++)
        EXPECT_EQ(run.levels.count(number), 1u) << "the route skips level " << number;
}

TEST_F(CampaignTest, EveryLevelHasOneHeroAndPipesThatLeadSomewhere)
{
    for (int number = FIRST_LEVEL; number <= LAST_LEVEL; number++)
    {
        Level level;
        level.Load(Level_File(number).c_str());
        EXPECT_EQ(Count_Heroes(level), 1) << "level " << number;
        EXPECT_LE(level.screens_wide, Application::NUMBER_OF_SCREENS) << "level " << number;
        EXPECT_LE(level.screens_high, Level::MAX_HEIGHT) << "level " << number;
        for (int i = 0; i < level.number_of_platforms; i++)
        {
            Platform& platform = *level.platforms[i];
            if (platform.type != Level::PIPE && platform.type != Level::LOCAL_PIPE)
                continue;
            int column = platform.x / Application::CANVAS_WIDTH;
            ASSERT_LT(column, Level::NUMBER_OF_POINTERS) << "level " << number;
            int destination = level.pointers[column];
            if (platform.type == Level::LOCAL_PIPE)
            {
                EXPECT_GE(destination, 0) << "level " << number << ", local pipe in column " << column;
                EXPECT_LT(destination, level.screens_wide) << "level " << number << ", local pipe in column "
                                                           << column;
                continue;
            }
            EXPECT_GE(destination, FIRST_LEVEL) << "level " << number << ", pipe in column " << column;
            EXPECT_LE(destination, LAST_LEVEL) << "level " << number << ", pipe in column " << column;
            Level next;
            next.Load(Level_File(destination).c_str());
            EXPECT_EQ(Count_Heroes(next), 1) << "level " << number << ", pipe in column " << column
                                             << " leads to level " << destination;
        }
    }
}

TEST_F(CampaignTest, EveryLevelIsReachedByTheRouteOrByItsPipes)
{
    Route_Run run = Play_Route();
    std::set<int> reached = run.levels;
    std::vector<int> waiting(reached.begin(), reached.end());
    while (!waiting.empty())
    {
        int number = waiting.back();
        waiting.pop_back();
        Level level;
        level.Load(Level_File(number).c_str());
        for (int i = 0; i < level.number_of_platforms; i++)
        {
            Platform& platform = *level.platforms[i];
            if (platform.type != Level::PIPE)
                continue;
            int destination = level.pointers[platform.x / Application::CANVAS_WIDTH];
            if (reached.insert(destination).second)
                waiting.push_back(destination);
        }
    }
    for (int number = FIRST_LEVEL; number <= LAST_LEVEL; number++)
        EXPECT_EQ(reached.count(number), 1u) << "level " << number << " cannot be reached";
}

TEST_F(CampaignTest, EveryKindOfObjectAndPlatformAppears)
{
    std::set<int> characters, platforms;
    for (int number = FIRST_LEVEL; number <= LAST_LEVEL; number++)
    {
        Level level;
        level.Load_For_Editing(Level_File(number).c_str());
        for (int i = 0; i < level.number_of_characters; i++)
            characters.insert(level.character_records[i]->type);
        for (int i = 0; i < level.number_of_platforms; i++)
            platforms.insert(level.platform_records[i]->type);
    }
    for (int type = Level::BLACK_BIRD; type <= Level::NO_ECTO_SWITCH; type++)
        EXPECT_EQ(characters.count(type), 1u) << "no object of type " << type << " in the campaign";
    for (int type = Level::BROWN_BLOCK; type <= Level::TALL_VINE; type++)
        EXPECT_EQ(platforms.count(type), 1u) << "no platform of type " << type << " in the campaign";
}

TEST_F(CampaignTest, TheLastLevelEndsTheGameAndShowsNoMessage)
{
    Level level;
    level.Load_For_Editing(Level_File(LAST_LEVEL).c_str());
    int final_switches = 0, messages = 0;
    for (int i = 0; i < level.number_of_characters; i++)
    {
        if (level.character_records[i]->type == Level::NO_ECTO_SWITCH)
            final_switches++;
        if (level.character_records[i]->type == Level::MESSAGE_OBJECT)
            messages++;
    }
    EXPECT_EQ(final_switches, 1);
    EXPECT_EQ(messages, 0);
    EXPECT_GT(game->messages[Application::ENDING_MESSAGE]->number_of_strings, 0) << "no ending text";
}

TEST_F(CampaignTest, MessagesFitTheScreen)
{
    for (int number = FIRST_LEVEL; number <= LAST_LEVEL; number++)
    {
        Level level;
        level.Load_For_Editing(Level_File(number).c_str());
        bool has_marker = false;
        for (int i = 0; i < level.number_of_characters; i++)
            has_marker = has_marker || level.character_records[i]->type == Level::MESSAGE_OBJECT;
        std::string text = Read_File(Message_File(number));
        if (!has_marker && number != LAST_LEVEL)
            continue;
        ASSERT_FALSE(text.empty()) << "level " << number << " shows a message it has not got";
        EXPECT_EQ(text.back(), '\n') << "the last line of message " << number << " would not be shown";
        std::istringstream lines(text);
        std::string line;
        int count = 0;
        while (std::getline(lines, line))
        {
            count++;
            EXPECT_LE(line.size(), LONGEST_MESSAGE_LINE) << "message " << number << ", line " << count;
        }
        EXPECT_LE(count, number == Application::ENDING_MESSAGE ? MOST_ENDING_LINES : MOST_MESSAGE_LINES)
            << "message " << number;
    }
}

TEST_F(CampaignTest, TheDemoPlaysWellForThirtyToSixtySeconds)
{
    ASSERT_GT(game->signal_buffer_length, 0) << "no demo movie";
    size_t length = static_cast<size_t>(game->signal_buffer_length);
    EXPECT_GE(length, SHORTEST_DEMO);
    EXPECT_LE(length, LONGEST_DEMO);

    game->Start_Title();
    Level& level = *game->levels[game->current_level];
    Bluejay& hero = *level.Hero();
    int lives = hero.lives;
    std::set<int> states;
    int cherries = 0;
    for (size_t tick = 0; tick < length; tick++)
    {
        Application::Press_Keys_For_Signals(0);
        game->Run_Title_Tick();
        ASSERT_FALSE(game->title_done) << "tick " << tick;
        ASSERT_EQ(hero.lives, lives) << "the demo hero lost a life at tick " << tick;
        ASSERT_FALSE(hero.dead) << "tick " << tick;
        states.insert(hero.state);
    }
    for (int i = 0; i < level.number_of_platforms; i++)
        if (level.platforms[i]->type == Level::CHERRY && level.platforms[i]->taken)
            cherries++;
    // It shows off every skill: jumping, flying, gliding, eating and
    // stomping.
    EXPECT_EQ(states.count(Bluejay::JUMPING), 1u);
    EXPECT_EQ(states.count(Bluejay::FLYING), 1u);
    EXPECT_EQ(states.count(Bluejay::GLIDING), 1u);
    EXPECT_GT(cherries, 0);
    EXPECT_GT(hero.points, 0) << "the demo hero stomps nothing";
    EXPECT_EQ(hero.lives, lives);
}
