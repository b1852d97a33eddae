// Every campaign level plays its first 2,000 ticks under a fixed script
// exactly as it did before bells and assists came in: with its bells taken
// out and every assist off, each tick leaves every character where it left it.

#include <gtest/gtest.h>

#include <cstdlib>

#include "application.h"
#include "bluejay.h"
#include "character.h"
#include "level.h"
#include "test_support.h"

namespace
{
constexpr int CAMPAIGN_LEVELS = 24;
constexpr int TICKS = 2000;
constexpr unsigned int HASH_START = 2166136261u;
constexpr unsigned int HASH_PRIME = 16777619u;
#if __has_include("checkpoint.h")
constexpr int BELL = Level::CHECKPOINT;
#else
constexpr int BELL = -1;
#endif

// What each level's first ticks came to before bells and assists came in
// (the same hash of the same script, run on the game as it was then).
const unsigned int EXPECTED[CAMPAIGN_LEVELS] = {
    2408597124u, 862714425u, 851303212u, 2214907697u, 3346406857u, 969400499u,
    1342940393u, 3977206603u, 4084902559u, 2548510101u, 215258398u, 1764877295u,
    1476410575u, 3778526887u, 2564596026u, 3091826423u, 4170804488u, 2994513444u,
    3675116364u, 3913307342u, 3112036789u, 1629916440u, 1056120602u, 4268290120u,
};

void Mix(unsigned int& hash, int value)
{
    hash ^= static_cast<unsigned int>(value);
    hash *= HASH_PRIME;
}

// The bells are taken out of a level as if its map had none.
void Take_Out_Bells(Level& level)
{
    int kept = 0;
    for (int i = 0; i < level.number_of_characters; i++)
    {
        Character* character = level.characters[i];
        if (character->type == BELL)
        {
            delete character;
            continue;
        }
        if (i == level.main_character)
            level.main_character = kept;
        level.characters[kept++] = character;
    }
    for (int i = kept; i < level.number_of_characters; i++)
        level.characters[i] = nullptr;
    level.number_of_characters = kept;
}

// Runs right, jumps, flies and turns back in turns, Enter now and then for
// the messages.
int Script_Word(int tick)
{
    if (tick % 50 == 10)
        return Application::SIGNAL_START;
    switch (tick / 30 % 5)
    {
    case 0:
        return Application::SIGNAL_RIGHT;
    case 1:
        return Application::SIGNAL_RIGHT | Application::SIGNAL_UP;
    case 2:
        return Application::SIGNAL_RIGHT | Application::SIGNAL_FLY;
    case 3:
        return Application::SIGNAL_LEFT | Application::SIGNAL_UP;
    default:
        return Application::SIGNAL_RIGHT | (tick % 8 < 4 ? Application::SIGNAL_UP : 0);
    }
}
} // namespace

class First_Ticks : public Loaded_Application_Test
{
};

TEST_F(First_Ticks, EveryCampaignLevelPlaysAsBeforeWithItsBellsTakenOut)
{
    Release_All_Keys();
    application.Load_Game_Data();
    for (int number = 0; number < CAMPAIGN_LEVELS; number++)
    {
        std::srand(1 + static_cast<unsigned int>(number));
        application.Rebuild_Levels();
        for (int i = 0; i < Application::NUMBER_OF_LEVELS; i++)
            Take_Out_Bells(*application.levels[i]);
        application.demo_mode = false;
        application.game_over = false;
        application.game_complete = false;
        application.paused = false;
        application.current_level = number;
        unsigned int hash = HASH_START;
        for (int tick = 0; tick < TICKS && !application.game_over && !application.game_complete; tick++)
        {
            Application::Press_Keys_For_Signals(Script_Word(tick));
            application.Run_Play_Tick();
            Level& level = *application.levels[application.current_level];
            Mix(hash, application.current_level);
            for (int i = 0; i < level.number_of_characters; i++)
            {
                Character* character = level.characters[i];
                for (int value : {character->x, character->y, character->strength, character->bitmap,
                                  int(character->hurt)})
                    Mix(hash, value);
            }
            Bluejay* hero = level.Hero();
            if (hero != nullptr)
                for (int value : {hero->lives, hero->eggs, hero->points, hero->state})
                    Mix(hash, value);
        }
        Release_All_Keys();
        EXPECT_EQ(hash, EXPECTED[number]) << "level " << number;
    }
}
