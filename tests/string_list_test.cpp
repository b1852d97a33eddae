// A level's message: the lines of its text file and how they are printed
// over the darkened picture.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "application.h"
#include "string_list.h"
#include "test_support.h"

namespace
{
class StringListTest : public testing::Test
{
protected:
    Temporary_Directory directory;
    String_List list;

    void Load(const std::string& text)
    {
        list.Load_From_File(directory.Write("message.txt", text).c_str());
    }
};
} // namespace

TEST_F(StringListTest, StartsEmpty)
{
    EXPECT_EQ(list.number_of_strings, 0);
    for (int i = 0; i < String_List::MAX_STRINGS; i++)
        EXPECT_EQ(list.strings[i], "") << i;
}

TEST_F(StringListTest, ReadsEveryEndedLine)
{
    Load("Welcome to the forest!\nEat cherries for strength.\n  Mind the ghosts.  \n");
    ASSERT_EQ(list.number_of_strings, 3);
    EXPECT_EQ(list.strings[0], "Welcome to the forest!");
    EXPECT_EQ(list.strings[1], "Eat cherries for strength.");
    EXPECT_EQ(list.strings[2], "  Mind the ghosts.  ");
    EXPECT_EQ(list.strings[3], "");
}

TEST_F(StringListTest, ALastLineWithoutALineEndDoesNotCount)
{
    Load("First\nSecond\nunfinished");
    ASSERT_EQ(list.number_of_strings, 2);
    EXPECT_EQ(list.strings[0], "First");
    EXPECT_EQ(list.strings[1], "Second");

    String_List only;
    only.Load_From_File(directory.Write("only.txt", "no line end").c_str());
    EXPECT_EQ(only.number_of_strings, 0);
}

TEST_F(StringListTest, CarriageReturnsBeforeLineEndsAreDropped)
{
    Load("First\r\n\r\nThird line\r\n");
    ASSERT_EQ(list.number_of_strings, 3);
    EXPECT_EQ(list.strings[0], "First");
    EXPECT_EQ(list.strings[1], "");
    EXPECT_EQ(list.strings[2], "Third line");
    for (int i = 0; i < list.number_of_strings; i++)
        EXPECT_EQ(list.strings[i].find('\r'), std::string::npos) << i;
}

TEST_F(StringListTest, KeepsTheFirstTwentyFiveLines)
{
    std::string text;
    for (int i = 1; i <= 30; i++)
        text += "line " + std::to_string(i) + "\n";
    Load(text);
    ASSERT_EQ(list.number_of_strings, String_List::MAX_STRINGS);
    for (int i = 0; i < String_List::MAX_STRINGS; i++)
        EXPECT_EQ(list.strings[i], "line " + std::to_string(i + 1));
}

TEST_F(StringListTest, EmptyLinesInTheMiddleCount)
{
    Load("Top\n\n\nBottom\n");
    ASSERT_EQ(list.number_of_strings, 4);
    EXPECT_EQ(list.strings[0], "Top");
    EXPECT_EQ(list.strings[1], "");
    EXPECT_EQ(list.strings[2], "");
    EXPECT_EQ(list.strings[3], "Bottom");
}

TEST_F(StringListTest, MissingOrEmptyFileLeavesTheListEmpty)
{
    list.Load_From_File(directory.Path("no_such_message.txt").c_str());
    EXPECT_EQ(list.number_of_strings, 0);
    Load("");
    EXPECT_EQ(list.number_of_strings, 0);
}

// ---------------------------------------------------------------------------

namespace
{
class StringListPrintTest : public testing::Test
{
protected:
    Application application;
    String_List list;
    const int backdrop = makecol(0, 0, 96);
    const int white = makecol(255, 255, 255);

    void SetUp() override
    {
        clear_to_color(application.canvas, backdrop);
    }

    // The pixels of one line of text written alone at (0, 0).
    std::vector<std::vector<bool>> Glyphs(const std::string& text)
    {
        const int width = text_length(font, text.c_str());
        const int height = text_height(font);
        std::vector<std::vector<bool>> lit(height, std::vector<bool>(width, false));
        if (width == 0)
            return lit;
        BITMAP* alone = create_bitmap(width, height);
        clear_to_color(alone, 0);
        textout_ex(alone, font, text.c_str(), 0, 0, white, -1);
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++)
                lit[y][x] = getpixel(alone, x, y) == white;
        destroy_bitmap(alone);
        return lit;
    }

    // The canvas must hold exactly the lines, white, from (1, 1) down, a
    // line's height plus 2 apart, with the backdrop showing everywhere else.
    void Expect_Canvas_Shows(const std::vector<std::string>& lines)
    {
        std::vector<std::vector<bool>> expected(
            Application::CANVAS_HEIGHT, std::vector<bool>(Application::CANVAS_WIDTH, false));
        int top = 1;
        for (const std::string& line : lines)
        {
            std::vector<std::vector<bool>> lit = Glyphs(line);
            for (int y = 0; y < static_cast<int>(lit.size()); y++)
                for (int x = 0; x < static_cast<int>(lit[y].size()); x++)
                    if (lit[y][x] && top + y < Application::CANVAS_HEIGHT &&
                        1 + x < Application::CANVAS_WIDTH)
                        expected[top + y][1 + x] = true;
            top += text_height(font) + 2;
        }
        int wrong = 0;
        for (int y = 0; y < Application::CANVAS_HEIGHT; y++)
            for (int x = 0; x < Application::CANVAS_WIDTH; x++)
            {
                const int pixel = getpixel(application.canvas, x, y);
                const int wanted = expected[y][x] ? white : backdrop;
                if (pixel != wanted && wrong++ < 5)
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << pixel
                                  << ", expected " << wanted;
            }
        EXPECT_EQ(wrong, 0);
    }
};
} // namespace

TEST_F(StringListPrintTest, LinesAreWhiteFromTheTopLeftWithAGapBetween)
{
    list.strings[0] = "Eat the cherries!";
    list.strings[1] = "";
    list.strings[2] = "Mind the ghosts.";
    list.strings[3] = "not in use";
    list.number_of_strings = 3;
    list.Print(application);

    // Something was drawn where the first line belongs, and nothing in the
    // row or column before it.
    bool first_line_lit = false;
    for (int y = 1; y <= text_height(font); y++)
        for (int x = 1; x <= 8; x++)
            first_line_lit = first_line_lit || getpixel(application.canvas, x, y) == white;
    EXPECT_TRUE(first_line_lit);
    for (int i = 0; i < Application::CANVAS_WIDTH; i++)
        ASSERT_EQ(getpixel(application.canvas, i, 0), backdrop) << i;
    for (int i = 0; i < Application::CANVAS_HEIGHT; i++)
        ASSERT_EQ(getpixel(application.canvas, 0, i), backdrop) << i;

    Expect_Canvas_Shows({"Eat the cherries!", "", "Mind the ghosts."});
}

TEST_F(StringListPrintTest, AnEmptyListPrintsNothing)
{
    list.strings[0] = "left over";
    list.Print(application);
    Expect_Canvas_Shows({});
}

TEST_F(StringListPrintTest, AFullListRunsOffTheBottomOfTheCanvas)
{
    std::vector<std::string> lines;
    for (int i = 0; i < String_List::MAX_STRINGS; i++)
    {
        lines.push_back("#" + std::to_string(i + 1));
        list.strings[i] = lines.back();
    }
    list.number_of_strings = String_List::MAX_STRINGS;
    list.Print(application);
    Expect_Canvas_Shows(lines);
}
