// What the level editor draws into the canvas: the screen grid and labels,
// the records with their corner marks, the cursor and the palette preview,
// the status lines, and records whose codes name no object.

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

#include "application.h"
#include "level.h"
#include "test_support.h"

namespace
{
int Count_Colour(BITMAP* picture, int x, int y, int width, int height, int colour)
{
    int count = 0;
    for (int row = y; row < y + height; row++)
        for (int column = x; column < x + width; column++)
            if (getpixel(picture, column, row) == colour)
                count++;
    return count;
}

// How many pixels of the outline of a 16 x 16 square have the colour.
int Outline_Pixels(BITMAP* picture, int x, int y, int colour)
{
    return Count_Colour(picture, x, y, 16, 1, colour) + Count_Colour(picture, x, y + 15, 16, 1, colour) +
           Count_Colour(picture, x, y + 1, 1, 14, colour) + Count_Colour(picture, x + 15, y + 1, 1, 14, colour);
}

void Set_Record(Map_Record& record, int type, int x, int y)
{
    record.type = type;
    record.x = x;
    record.y = y;
}
} // namespace

class Editor_Drawing_Test : public Editor_Fixture
{
protected:
    int white = 0, black = 0, green = 0, red = 0;

    void SetUp() override
    {
        Editor_Fixture::SetUp();
        if (HasFatalFailure())
            return;
        editor->Start_Editor();
        white = makecol(255, 255, 255);
        black = makecol(0, 0, 0);
        green = makecol(0, 255, 0);
        red = makecol(255, 0, 0);
    }

    // The current level with nothing in it, on the black background.
    Level& Empty_Black_Level()
    {
        Level& level = Current();
        level.number_of_characters = 0;
        level.number_of_platforms = 0;
        level.background = Application::BLACK_BACKGROUND_BM;
        return level;
    }
};

TEST_F(Editor_Drawing_Test, TheStartShowsTheGridAlongTheTopAndLeftEdges)
{
    Tick();
    EXPECT_EQ(Count_Colour(editor->canvas, 0, 0, 256, 1, green), 256);
    EXPECT_EQ(Count_Colour(editor->canvas, 0, 0, 1, 224, green), 224);
    EXPECT_TRUE(Shows_Text(80, 2, "Level 0"));
    int h = text_height(font);
    EXPECT_TRUE(Shows_Text(80, h + 3, "Mode: screen mode"));
    EXPECT_TRUE(Shows_Text(2, 223 - h, "Screen 0"));
    EXPECT_TRUE(Shows_Text(2, 222 - 2 * h, "Pointer 0 (" + std::to_string(Current().pointers[0]) + ")"));
}

TEST_F(Editor_Drawing_Test, TheGridFollowsTheView)
{
    Level& level = Empty_Black_Level();
    level.scroll_x = 256 + 64;
    level.scroll_y = -224 - 32;
    level.pointers[2] = 17;
    Tick();
    // Screen 2 starts at canvas x 192 (the mode line crosses it, and the
    // status lines below it); row 1's top edge lies at canvas y 32.
    int h = text_height(font);
    int below_status = 2 + 8 * (h + 1);
    EXPECT_EQ(Count_Colour(editor->canvas, 192, below_status, 1, 224 - below_status, green), 224 - below_status);
    EXPECT_EQ(Count_Colour(editor->canvas, 192, h + 3, 1, h, green), 0);
    EXPECT_EQ(Count_Colour(editor->canvas, 0, 32, Application::STATUS_X, 1, green), Application::STATUS_X);
    EXPECT_TRUE(Shows_Text(194, 223 - h, "Screen 2"));
    EXPECT_TRUE(Shows_Text(194, 222 - 2 * h, "Pointer 2 (17)"));
    // Where a local pipe sets the hero down in screen 2, a small hero stands:
    // at (192 + 16, 128 + 64) with the view 64 pixels up.
    level.scroll_y = -64;
    Tick();
    EXPECT_GT(16 * 12 - Count_Colour(editor->canvas, 208, 192, 16, 12, black), 0);
    EXPECT_EQ(Count_Colour(editor->canvas, 224, 192, 16, 12, black), 16 * 12);
}

TEST_F(Editor_Drawing_Test, PlatformsHaveGreenAndCharactersRedCornerMarks)
{
    Level& level = Empty_Black_Level();
    level.scroll_x = 512;
    level.scroll_y = -224;
    Set_Record(*level.platform_records[0], Level::BROWN_BLOCK, 512 + 64, -224 + 48);
    Set_Record(*level.character_records[0], Level::EGG, 512 + 128, -224 + 96);
    level.number_of_platforms = 1;
    level.number_of_characters = 1;
    Tick(Application::SIGNAL_PLATFORM_MODE);
    EXPECT_EQ(getpixel(editor->canvas, 64, 48), green);
    EXPECT_EQ(getpixel(editor->canvas, 67, 48), green);
    EXPECT_EQ(getpixel(editor->canvas, 64, 51), green);
    EXPECT_EQ(getpixel(editor->canvas, 128, 96), red);
    EXPECT_EQ(getpixel(editor->canvas, 131, 96), red);
    EXPECT_EQ(getpixel(editor->canvas, 128, 99), red);
    // The pictures themselves are drawn beside the marks.
    EXPECT_GT(256 - Count_Colour(editor->canvas, 64, 48, 16, 16, black), 7);
    EXPECT_GT(12 * 16 - Count_Colour(editor->canvas, 128, 96, 12, 16, black), 7);
}

TEST_F(Editor_Drawing_Test, TheCursorAndPreviewShowOnlyWhileNothingIsCarried)
{
    Empty_Black_Level();
    Tick(Application::SIGNAL_PLATFORM_MODE);
    for (int i = 0; i < 6; i++)
        Press(Application::SIGNAL_CURSOR_RIGHT);
    for (int i = 0; i < 7; i++)
        Press(Application::SIGNAL_CURSOR_DOWN);
    ASSERT_EQ(editor->cursor_x, 96);
    ASSERT_EQ(editor->cursor_y, 112);
    EXPECT_EQ(Outline_Pixels(editor->canvas, 96, 112, red), 60);
    EXPECT_EQ(Count_Colour(editor->canvas, 97, 113, 14, 14, black), 14 * 14);

    // The preview is the brown block, see-through: its pixels are dimmed.
    BITMAP* block = editor->bitmaps[Application::BROWN_BLOCK_BM];
    int shown = 0, dimmed = 0;
    for (int row = 0; row < block->h; row++)
        for (int column = 0; column < block->w; column++)
        {
            int colour = getpixel(block, column, row);
            if (colour == bitmap_mask_color(block) || colour == black)
                continue;
            shown++;
            int pixel = getpixel(editor->canvas, 1 + column, 1 + row);
            if (pixel != colour && pixel != black)
                dimmed++;
        }
    ASSERT_GT(shown, 0);
    EXPECT_GT(dimmed, shown / 2);

    // Carried two steps down, the block shows alone.
    Press(Application::SIGNAL_SELECT);
    Press(Application::SIGNAL_CURSOR_DOWN);
    Press(Application::SIGNAL_CURSOR_DOWN);
    ASSERT_EQ(editor->selected_object, 0);
    EXPECT_EQ(Outline_Pixels(editor->canvas, 96, 112, red), 0);
    EXPECT_EQ(Count_Colour(editor->canvas, 96, 112, 16, 16, black), 256);
    EXPECT_EQ(Count_Colour(editor->canvas, 1, 1, 16, 16, black), 256);
    EXPECT_EQ(getpixel(editor->canvas, 96, 144), green);

    // Dropped, the cursor is back at its place.
    Press(Application::SIGNAL_SELECT);
    EXPECT_EQ(Outline_Pixels(editor->canvas, 96, 112, red), 60);
    EXPECT_LT(Count_Colour(editor->canvas, 1, 1, 16, 16, black), 256);
}

TEST_F(Editor_Drawing_Test, TheCharacterPreviewIsTheChosenCharacter)
{
    Empty_Black_Level();
    Tick(Application::SIGNAL_CHARACTER_MODE);
    Press(Application::SIGNAL_SCROLL_UP_1);
    ASSERT_EQ(editor->current_object_type, Level::BLUEJAY);
    BITMAP* expected = create_bitmap(256, 224);
    clear_to_color(expected, black);
    draw_trans_sprite(expected, editor->bitmaps[Application::BLUEJAY_STANDING_BM], 1, 1);
    int same = 0;
    for (int row = 1; row < 25; row++)
        for (int column = 1; column < 25; column++)
            if (getpixel(editor->canvas, column, row) == getpixel(expected, column, row))
                same++;
    destroy_bitmap(expected);
    // All but the cursor square's corner, drawn over the preview.
    EXPECT_GE(same, 24 * 24 - 30);
}

TEST_F(Editor_Drawing_Test, ACodeThatNamesNoObjectIsDrawnAsTheStopper)
{
    Level& level = Empty_Black_Level();
    Set_Record(*level.platform_records[0], 4242, 64, 64);
    Set_Record(*level.character_records[0], 0, 128, 64);
    Set_Record(*level.character_records[1], -1, 160, 64);
    level.number_of_platforms = 1;
    level.number_of_characters = 2;
    Tick(Application::SIGNAL_PLATFORM_MODE);

    BITMAP* stopper = editor->bitmaps[Application::STOPPER_BM];
    for (int x : {64, 128, 160})
    {
        int differing = 0;
        for (int row = 0; row < stopper->h; row++)
            for (int column = 0; column < stopper->w; column++)
            {
                bool mark = (row == 0 && column <= 3) || (column == 0 && row <= 3);
                int colour = getpixel(stopper, column, row);
                if (mark || colour == bitmap_mask_color(stopper))
                    continue;
                if (getpixel(editor->canvas, x + column, 64 + row) != colour)
                    differing++;
            }
        EXPECT_EQ(differing, 0) << "record at " << x;
    }
    EXPECT_EQ(getpixel(editor->canvas, 64, 64), green);
    EXPECT_EQ(getpixel(editor->canvas, 128, 64), red);
}

TEST_F(Editor_Drawing_Test, RecordsFarAwayAreLeftOut)
{
    Level& level = Empty_Black_Level();
    Set_Record(*level.platform_records[0], Level::GROUND, INT_MAX, INT_MIN);
    Set_Record(*level.character_records[0], Level::EGG, INT_MIN, INT_MAX);
    level.number_of_platforms = 1;
    level.number_of_characters = 1;
    level.scroll_x = 12544;
    level.scroll_y = -10752;
    Tick(Application::SIGNAL_CHARACTER_MODE);
    Press(Application::SIGNAL_SELECT);
    // Nothing lay under the cursor, so a new record was placed.
    EXPECT_EQ(level.number_of_characters, 2);
    EXPECT_EQ(Count_Colour(editor->canvas, 0, 120, 256, 104, black), 256 * 104);
}

TEST_F(Editor_Drawing_Test, TheLevelLineIsWhiteOnBlack)
{
    Empty_Black_Level();
    editor->levels[37]->background = Application::GRASS_BACKGROUND_BM;
    editor->current_level = 37;
    Tick(Application::SIGNAL_CHARACTER_MODE);
    EXPECT_TRUE(Shows_Text(80, 2, "Level 37"));
    EXPECT_TRUE(Shows_Text(80, text_height(font) + 3, "Mode: character mode"));
    Tick(Application::SIGNAL_PLATFORM_MODE);
    EXPECT_TRUE(Shows_Text(80, text_height(font) + 3, "Mode: platform mode"));
}

TEST_F(Editor_Drawing_Test, TheBackgroundCoversTheCanvasUpToTheLastScreen)
{
    Level& level = Current();
    level.background = Application::FOREST_BACKGROUND_BM;
    const int sentinel = makecol(12, 34, 56);
    BITMAP* forest = editor->bitmaps[Application::FOREST_BACKGROUND_BM];
    for (int scroll_x : {12528, 12544, 0, 4000})
    {
        level.scroll_x = scroll_x;
        clear_to_color(editor->canvas, sentinel);
        Tick(Application::SIGNAL_PLATFORM_MODE);
        EXPECT_EQ(Count_Colour(editor->canvas, 0, 0, 256, 224, sentinel), 0) << "view at " << scroll_x;
    }
    // At the last view, screen 49 fills the canvas: its right edge is the
    // picture's right edge.
    level.scroll_x = 12544;
    level.number_of_characters = 0;
    level.number_of_platforms = 0;
    Tick(Application::SIGNAL_PLATFORM_MODE);
    int differing = 0;
    for (int row = 40; row < 224; row++)
        for (int column = 232; column < 256; column++)
            if (getpixel(editor->canvas, column, row) != getpixel(forest, column, row))
                differing++;
    EXPECT_EQ(differing, 0);
}
