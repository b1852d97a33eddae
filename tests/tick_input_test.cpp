// The one reader of key scripts and movies that the runner, the benchmark,
// the fuzzers and the campaign test share.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "application.h"
#include "test_support.h"
#include "tick_input.h"

namespace
{
const int UP_RIGHT = Application::SIGNAL_UP | Application::SIGNAL_RIGHT;
}

TEST(TickInputTest, ScriptHoldsKeysForTheirTicksAndNamesItsLevel)
{
    Tick_Input input;
    ASSERT_TRUE(input.Read_Script_Text("level 7\n# a comment line\n\n2 right up   # jump\n1 none\n1 fly\n", "walk"))
        << input.error;
    EXPECT_EQ(input.level, 7);
    EXPECT_EQ(input.words, (std::vector<int>{UP_RIGHT, UP_RIGHT, 0, Application::SIGNAL_FLY}));
    EXPECT_TRUE(input.error.empty());
}

TEST(TickInputTest, ScriptStopsAtTheFirstLineItCannotRead)
{
    struct Case
    {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"1 none\n5 jump\n", "walk:2: unknown key \"jump\""},
        {"x right\n", "walk:1: bad tick count \"x\""},
        {"-3 right\n", "walk:1: bad tick count \"-3\""},
        {"3x right\n", "walk:1: bad tick count \"3x\""},
        {"level 120\n", "walk:1: bad level"},
        {"level\n", "walk:1: bad level"},
        {"6000000 up\n6000000 up\n", "walk:2: more ticks than a script may hold"},
    };
    for (const Case& one : cases)
    {
        Tick_Input input;
        EXPECT_FALSE(input.Read_Script_Text(one.text, "walk")) << one.text;
        EXPECT_EQ(input.error, one.error) << one.text;
    }
    Tick_Input missing;
    EXPECT_FALSE(missing.Read_Script("/no/such/script.txt"));
    EXPECT_EQ(missing.error, "/no/such/script.txt: cannot read the script");
}

TEST(TickInputTest, MovieIsReadAsTheGameReadsIt)
{
    Temporary_Directory directory;
    Tick_Input input;
    // The last number has no line end after it, so it is no word.
    ASSERT_TRUE(input.Read_Movie(directory.Write("movie.dat", "12\n4\n9\n3")));
    EXPECT_EQ(input.level, 12);
    EXPECT_EQ(input.words, (std::vector<int>{4, 9}));
    // A script read after a movie adds its words behind the movie's.
    ASSERT_TRUE(input.Read_Script_Text("1 up\n", "more"));
    EXPECT_EQ(input.words.back(), Application::SIGNAL_UP);

    Tick_Input empty;
    EXPECT_FALSE(empty.Read_Movie(directory.Write("empty.dat", "")));
}
