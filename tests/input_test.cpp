#include <gtest/gtest.h>

#include <cstring>

#include "application.h"
#include "test_support.h"

class InputTest : public testing::Test
{
protected:
    Application application;

    void SetUp() override { std::memset(const_cast<char*>(key), 0, KEY_MAX); }
    void TearDown() override { std::memset(const_cast<char*>(key), 0, KEY_MAX); }

    int Signals_With(std::initializer_list<int> held) { return Signals_With_Keys(application, held); }
};

TEST_F(InputTest, NoKeyGivesAnEmptyWord)
{
    application.signals = 0x7fff;
    EXPECT_EQ(Signals_With({}), 0);
}

TEST_F(InputTest, EveryKeyOfTheTableSetsItsOwnBit)
{
    const struct
    {
        int key_code;
        int signal;
    } table[] = {
        {KEY_SPACE, Application::SIGNAL_FLY},
        {KEY_LEFT, Application::SIGNAL_LEFT},
        {KEY_RIGHT, Application::SIGNAL_RIGHT},
        {KEY_UP, Application::SIGNAL_UP},
        {KEY_DOWN, Application::SIGNAL_DOWN},
        {KEY_P, Application::SIGNAL_PAUSE},
        {KEY_Q, Application::SIGNAL_QUIT},
        {KEY_ENTER, Application::SIGNAL_START},
        {KEY_J, Application::SIGNAL_CURSOR_LEFT},
        {KEY_L, Application::SIGNAL_CURSOR_RIGHT},
        {KEY_I, Application::SIGNAL_CURSOR_UP},
        {KEY_M, Application::SIGNAL_CURSOR_DOWN},
        {KEY_K, Application::SIGNAL_SELECT},
        {KEY_D, Application::SIGNAL_DELETE},
        {KEY_S, Application::SIGNAL_SAVE},
        {KEY_PGUP, Application::SIGNAL_LEVEL_UP},
        {KEY_PGDN, Application::SIGNAL_LEVEL_DOWN},
        {KEY_X, Application::SIGNAL_SCROLL_UP_1},
        {KEY_Z, Application::SIGNAL_SCROLL_DOWN_1},
        {KEY_V, Application::SIGNAL_SCROLL_UP_2},
        {KEY_C, Application::SIGNAL_SCROLL_DOWN_2},
        {KEY_N, Application::SIGNAL_SCROLL_UP_3},
        {KEY_B, Application::SIGNAL_SCROLL_DOWN_3},
        {KEY_1, Application::SIGNAL_SCREEN_MODE},
        {KEY_2, Application::SIGNAL_CHARACTER_MODE},
        {KEY_3, Application::SIGNAL_PLATFORM_MODE},
        {KEY_4, Application::SIGNAL_MOVIE_RECORD},
        {KEY_5, Application::SIGNAL_MOVIE_PLAY},
        {KEY_6, Application::SIGNAL_MOVIE_STOP},
    };
    int all = 0;
    for (const auto& entry : table)
    {
        EXPECT_EQ(Signals_With({entry.key_code}), entry.signal) << entry.key_code;
        EXPECT_EQ(all & entry.signal, 0) << "two keys share a bit";
        all |= entry.signal;
    }
    EXPECT_EQ(all, 0x1fffffff); // bits 29 to 31 are never set
}

TEST_F(InputTest, KeysHeldTogetherCombine)
{
    EXPECT_EQ(Signals_With({KEY_LEFT, KEY_RIGHT}), Application::SIGNAL_LEFT | Application::SIGNAL_RIGHT);
    EXPECT_EQ(Signals_With({KEY_UP, KEY_SPACE, KEY_Q}),
              Application::SIGNAL_UP | Application::SIGNAL_FLY | Application::SIGNAL_QUIT);
}

TEST_F(InputTest, HeldKeysSetTheirBitEveryTick)
{
    key[KEY_P] = 1;
    for (int tick = 0; tick < 5; tick++)
    {
        application.Generate_Signals();
        EXPECT_EQ(application.signals, Application::SIGNAL_PAUSE);
    }
}

TEST_F(InputTest, KeysOutsideTheTableSetNoBit)
{
    EXPECT_EQ(Signals_With({KEY_ESC, KEY_F1, KEY_F12, KEY_0_PAD, KEY_1_PAD, KEY_2_PAD, KEY_3_PAD,
                            KEY_ENTER_PAD, KEY_A, KEY_TAB, KEY_LSHIFT, KEY_0, KEY_7}),
              0);
}
