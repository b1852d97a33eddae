// Showing the canvas on a screen of any size: the same pixels the library's
// stretch_blit shows, each screen pixel taken from the canvas pixel under it.

#include <gtest/gtest.h>

#include <cstdlib>

#include <allegro.h>

#include "application.h"
#include "canvas_stretch.h"
#include "screen_area.h"
#include "test_support.h"

namespace
{
const int DEPTH = 32;

// A canvas of random colours, the same for every run.
BITMAP* Noise_Canvas()
{
    BITMAP* canvas = create_bitmap_ex(DEPTH, Application::CANVAS_WIDTH, Application::CANVAS_HEIGHT);
    std::srand(7);
    for (int y = 0; y < canvas->h; y++)
        for (int x = 0; x < canvas->w; x++)
            putpixel(canvas, x, y, makecol_depth(DEPTH, std::rand() % 256, std::rand() % 256, std::rand() % 256));
    return canvas;
}
} // namespace

TEST(CanvasStretchTest, WholeScalesMatchTheLibrarysStretch)
{
    BITMAP* canvas = Noise_Canvas();
    for (int scale = 1; scale <= 3; scale++)
    {
        int width = scale * canvas->w, height = scale * canvas->h;
        BITMAP* ours = create_bitmap_ex(DEPTH, width + 10, height + 6);
        BITMAP* library = create_bitmap_ex(DEPTH, width + 10, height + 6);
        clear_bitmap(ours);
        clear_bitmap(library);
        Canvas_Stretch stretch;
        stretch.Show(canvas, ours, 5, 3, width, height);
        stretch_blit(canvas, library, 0, 0, canvas->w, canvas->h, 5, 3, width, height);
        int different = 0;
        for (int y = 0; y < ours->h; y++)
            for (int x = 0; x < ours->w; x++)
                different += getpixel(ours, x, y) != getpixel(library, x, y) ? 1 : 0;
        EXPECT_EQ(different, 0) << "scale " << scale;
        destroy_bitmap(ours);
        destroy_bitmap(library);
    }
    destroy_bitmap(canvas);
}

TEST(CanvasStretchTest, AFullScreenShowsTheCanvasPixelUnderEachScreenPixel)
{
    BITMAP* canvas = Noise_Canvas();
    const int SCREEN_WIDTH = 1920, SCREEN_HEIGHT = 1080;
    BITMAP* screen_copy = create_bitmap_ex(DEPTH, SCREEN_WIDTH, SCREEN_HEIGHT);
    clear_bitmap(screen_copy);
    Screen_Area area = Screen_Area::For_Screen(SCREEN_WIDTH, SCREEN_HEIGHT, Screen_Area::ASPECT);
    Canvas_Stretch stretch;
    // Twice, as every frame: the second uses the columns worked out first.
    for (int frame = 0; frame < 2; frame++)
        stretch.Show(canvas, screen_copy, area.x, area.y, area.width, area.height);
    int wrong = 0, bars = 0;
    for (int y = 0; y < SCREEN_HEIGHT; y++)
        for (int x = 0; x < SCREEN_WIDTH; x++)
        {
            int canvas_x = 0, canvas_y = 0;
            if (area.Canvas_Point(x, y, canvas_x, canvas_y))
                wrong += getpixel(screen_copy, x, y) != getpixel(canvas, canvas_x, canvas_y) ? 1 : 0;
            else
                bars += getpixel(screen_copy, x, y) != 0 ? 1 : 0;
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(bars, 0) << "the bars beside the canvas stay as they were";

    // An area that leaves the bitmap is left to the library, which clips
    // it: the part inside is drawn, nothing outside.
    const int MARKER = makecol_depth(DEPTH, 1, 2, 3);
    clear_to_color(screen_copy, MARKER);
    stretch.Show(canvas, screen_copy, -100, -50, SCREEN_WIDTH, SCREEN_HEIGHT);
    const int INSIDE = (SCREEN_WIDTH - 100) * (SCREEN_HEIGHT - 50);
    EXPECT_GT(Pixels_Unlike(screen_copy, 0, 0, SCREEN_WIDTH - 100, SCREEN_HEIGHT - 50, MARKER), INSIDE * 99 / 100);
    EXPECT_EQ(getpixel(screen_copy, SCREEN_WIDTH - 1, SCREEN_HEIGHT - 1), MARKER);
    destroy_bitmap(screen_copy);
    destroy_bitmap(canvas);
}

// Only the canvas rows that changed since the last frame are written, each
// on every screen row that shows it, and the runs handed back cover them and
// the columns that changed in them.
TEST(CanvasStretchTest, OnlyTheChangedRowsAreWrittenAndListed)
{
    BITMAP* canvas = Noise_Canvas();
    const int WIDTH = 1920, HEIGHT = 1080;
    BITMAP* shown = create_bitmap_ex(DEPTH, WIDTH, HEIGHT);
    BITMAP* whole = create_bitmap_ex(DEPTH, WIDTH, HEIGHT);
    Screen_Area area = Screen_Area::For_Screen(WIDTH, HEIGHT, Screen_Area::ASPECT);
    Canvas_Stretch changes, plain;
    ASSERT_TRUE(changes.Show_Changes(canvas, shown, area.x, area.y, area.width, area.height));
    ASSERT_EQ(changes.Changed_Rows().size(), 1u) << "the first frame is written whole";
    EXPECT_EQ(changes.Changed_Rows()[0].first, area.y);
    EXPECT_EQ(changes.Changed_Rows()[0].count, area.height);

    // Two rows far apart change; every other row of the screen is painted
    // over, so a row written again would show.
    const int MARKER = makecol_depth(DEPTH, 1, 2, 3);
    for (int row : {10, 200})
        hline(canvas, 0, row, canvas->w - 1, makecol_depth(DEPTH, 250, row, 5));
    rectfill(shown, 0, 0, WIDTH - 1, HEIGHT - 1, MARKER);
    ASSERT_TRUE(changes.Show_Changes(canvas, shown, area.x, area.y, area.width, area.height));
    plain.Show(canvas, whole, area.x, area.y, area.width, area.height);
    const std::vector<Canvas_Stretch::Rows>& runs = changes.Changed_Rows();
    ASSERT_EQ(runs.size(), 2u);
    for (int y = 0; y < HEIGHT; y++)
    {
        int canvas_x = 0, canvas_y = 0;
        bool inside = area.Canvas_Point(area.x, y, canvas_x, canvas_y);
        bool changed = inside && (canvas_y == 10 || canvas_y == 200);
        bool listed = false;
        for (const Canvas_Stretch::Rows& run : runs)
            listed = listed || (y >= run.first && y < run.first + run.count);
        EXPECT_EQ(listed, changed) << "screen row " << y;
        int wrong = 0;
        for (int x = area.x; x < area.x + area.width; x++)
            wrong += getpixel(shown, x, y) != (changed ? getpixel(whole, x, y) : MARKER) ? 1 : 0;
        EXPECT_EQ(wrong, 0) << "screen row " << y;
    }

    // Nothing changed: nothing is written. Two rows a few apart: one run
    // from the first to the last. Forgotten: all of it again.
    changes.Show_Changes(canvas, shown, area.x, area.y, area.width, area.height);
    EXPECT_TRUE(changes.Changed_Rows().empty());
    for (int row : {100, 104})
        hline(canvas, 0, row, canvas->w - 1, makecol_depth(DEPTH, 5, row, 250));
    changes.Show_Changes(canvas, shown, area.x, area.y, area.width, area.height);
    ASSERT_EQ(changes.Changed_Rows().size(), 1u);
    int first_x = 0, first_y = 0, last_x = 0, last_y = 0;
    const Canvas_Stretch::Rows joined = changes.Changed_Rows()[0];
    area.Canvas_Point(area.x, joined.first, first_x, first_y);
    area.Canvas_Point(area.x, joined.first + joined.count - 1, last_x, last_y);
    EXPECT_EQ(first_y, 100);
    EXPECT_EQ(last_y, 104);
    EXPECT_EQ(joined.left, area.x);
    EXPECT_EQ(joined.width, area.width);
    // Two pixels of one row: the run's columns are those from the first to
    // the last, and no others.
    putpixel(canvas, 50, 150, makecol_depth(DEPTH, 9, 9, 9));
    putpixel(canvas, 60, 150, makecol_depth(DEPTH, 8, 8, 8));
    changes.Show_Changes(canvas, shown, area.x, area.y, area.width, area.height);
    ASSERT_EQ(changes.Changed_Rows().size(), 1u);
    const Canvas_Stretch::Rows pixels = changes.Changed_Rows()[0];
    for (int x = area.x; x < area.x + area.width; x++)
    {
        int canvas_x = 0, canvas_y = 0;
        area.Canvas_Point(x, pixels.first, canvas_x, canvas_y);
        bool sent = x >= pixels.left && x < pixels.left + pixels.width;
        EXPECT_EQ(sent, canvas_x >= 50 && canvas_x <= 60) << "screen column " << x;
    }
    changes.Forget_Shown();
    changes.Show_Changes(canvas, shown, area.x, area.y, area.width, area.height);
    EXPECT_EQ(Pixels_Unlike(shown, area.x, area.y, area.width, area.height, MARKER), area.width * area.height);
    destroy_bitmap(shown);
    destroy_bitmap(whole);
    destroy_bitmap(canvas);
}
