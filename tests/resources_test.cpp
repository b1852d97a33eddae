#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

#include "application.h"
#include "test_support.h"

namespace
{
struct Picture_Size
{
    int first, last, width, height;
};

// The sizes the game's geometry depends on; see docs/sizes.md.
const Picture_Size SIZES[] = {
    {0, 6, 256, 224},   {7, 8, 24, 24},     {9, 10, 16, 16},   {11, 15, 24, 24},  {16, 16, 64, 32},
    {17, 17, 32, 16},   {18, 18, 16, 16},   {19, 20, 24, 16},  {21, 21, 12, 16},  {22, 23, 16, 16},
    {24, 24, 32, 32},   {25, 26, 16, 16},   {27, 27, 32, 32},  {28, 28, 256, 224}, {29, 29, 32, 32},
    {30, 30, 32, 32},   {31, 31, 64, 64},   {32, 32, 24, 24},  {33, 34, 24, 24},  {35, 35, 32, 8},
    {36, 36, 32, 32},   {37, 40, 24, 24},   {41, 42, 24, 16},  {43, 43, 72, 48},  {44, 44, 64, 8},
    {45, 45, 24, 24},   {46, 49, 24, 16},   {50, 51, 32, 32},  {52, 55, 16, 24},  {56, 56, 16, 16},
    {57, 58, 16, 16},   {59, 59, 24, 24},   {60, 60, 24, 8},   {61, 62, 16, 16},  {63, 63, 32, 32},
    {64, 64, 16, 16},   {65, 65, 32, 32},   {66, 67, 16, 16},  {68, 68, 16, 16},  {69, 69, 32, 16},
    {70, 70, 12, 12},   {71, 71, 8, 8},     {72, 72, 16, 16},  {73, 73, 16, 16},  {74, 74, 16, 32},
    {75, 75, 16, 64},   {76, 76, 8, 8},     {77, 77, 24, 16},  {78, 79, 16, 32},
};

// Runs a test body from another working directory and comes back.
class Working_Directory
{
public:
    explicit Working_Directory(const std::string& path)
    {
        char here[4096];
        if (getcwd(here, sizeof(here)) != nullptr)
            previous = here;
        changed = chdir(path.c_str()) == 0;
    }
    ~Working_Directory()
    {
        if (changed && chdir(previous.c_str()) != 0)
            std::abort();
    }
    bool changed = false;

private:
    std::string previous;
};
} // namespace

TEST(Resources, EveryPictureTuneAndSoundLoads)
{
    Application application;
    application.Load_Resources();
    EXPECT_STREQ(application.missing_resource, "");
    for (int i = 0; i < Application::NUMBER_OF_BITMAPS; i++)
        EXPECT_NE(application.bitmaps[i], nullptr) << Application::BITMAP_FILES[i];
    for (int i = 0; i < Application::NUMBER_OF_MUSIC_TRACKS; i++)
        EXPECT_NE(application.music_tracks[i], nullptr) << Application::MUSIC_TRACK_FILES[i];
    for (int i = 0; i < Application::NUMBER_OF_SOUND_EFFECTS; i++)
        EXPECT_NE(application.sound_effects[i], nullptr) << Application::SOUND_EFFECT_FILES[i];

    // The ghosts' scratch pictures have the sizes of the ghosts.
    ASSERT_NE(application.ghost_canvas, nullptr);
    ASSERT_NE(application.master_ecto_canvas, nullptr);
    EXPECT_EQ(application.ghost_canvas->w, application.bitmaps[Application::GHOST_BM]->w);
    EXPECT_EQ(application.ghost_canvas->h, application.bitmaps[Application::GHOST_BM]->h);
    EXPECT_EQ(application.master_ecto_canvas->w, application.bitmaps[Application::MASTER_ECTO_BM]->w);
    EXPECT_EQ(application.master_ecto_canvas->h, application.bitmaps[Application::MASTER_ECTO_BM]->h);

    // The canvas is the game's fixed picture size.
    EXPECT_EQ(application.canvas->w, Application::CANVAS_WIDTH);
    EXPECT_EQ(application.canvas->h, Application::CANVAS_HEIGHT);
}

TEST(Resources, TablesNameTheFilesAtTheirIndices)
{
    EXPECT_STREQ(Application::BITMAP_FILES[Application::YELLOW_CHERRY_BM], "data\\graphics\\cherry\\one_up.bmp");
    EXPECT_STREQ(Application::BITMAP_FILES[Application::NO_ECTO_SWITCH_BM], "data\\graphics\\switch\\no_ecto.bmp");
    EXPECT_STREQ(Application::MUSIC_TRACK_FILES[Application::SEWERS_MT], "data\\sounds\\music_tracks\\sewers.mid");
    EXPECT_STREQ(Application::MUSIC_TRACK_FILES[Application::GAME_OVER_MT],
                 "data\\sounds\\music_tracks\\game_over.mid");
    EXPECT_STREQ(Application::MUSIC_TRACK_FILES[Application::VICTORY_MT], "data\\sounds\\music_tracks\\victory.mid");
    EXPECT_STREQ(Application::SOUND_EFFECT_FILES[Application::THUD_SE], "data\\sounds\\sound_effects\\thud.wav");
}

TEST(Resources, PicturesHaveTheSizesTheGameIsBuiltOn)
{
    Application application;
    application.Load_Resources();
    int covered = 0;
    for (const Picture_Size& size : SIZES)
        for (int i = size.first; i <= size.last; i++, covered++)
        {
            ASSERT_NE(application.bitmaps[i], nullptr);
            EXPECT_EQ(application.bitmaps[i]->w, size.width) << Application::BITMAP_FILES[i];
            EXPECT_EQ(application.bitmaps[i]->h, size.height) << Application::BITMAP_FILES[i];
        }
    EXPECT_EQ(covered, Application::NUMBER_OF_BITMAPS);

    // The hero vanishes inside a pipe it goes down at pipe x + 4.
    EXPECT_GE(application.bitmaps[Application::PIPE_BM]->w,
              application.bitmaps[Application::BLUEJAY_STANDING_BM]->w + 8);
    EXPECT_GE(application.bitmaps[Application::PIPE_BM]->h,
              application.bitmaps[Application::BLUEJAY_STANDING_BM]->h);
}

TEST(Resources, AMissingFileIsNamedAndNothingAfterItIsLoaded)
{
    Temporary_Directory directory;
    std::string copy = "cp -r data '" + directory.Path("data") + "' && rm '" +
                       directory.Path("data/graphics/fly/wings_out.bmp") + "'";
    ASSERT_EQ(std::system(copy.c_str()), 0);

    Application application;
    {
        Working_Directory inside(directory.Path(""));
        ASSERT_TRUE(inside.changed);
        application.Load_Resources();
    }
    EXPECT_STREQ(application.missing_resource, "data/graphics/fly/wings_out.bmp");
    EXPECT_NE(application.bitmaps[Application::FLY_WINGS_IN_BM], nullptr);
    EXPECT_EQ(application.bitmaps[Application::FLY_WINGS_OUT_BM], nullptr);
    EXPECT_EQ(application.music_tracks[0], nullptr);
    EXPECT_EQ(application.ghost_canvas, nullptr);
}

TEST(Resources, StoppingSoundEffectsIsSafeWhenNoneIsPlaying)
{
    Application application;
    application.Stop_Sound_Effects(); // nothing loaded yet
    application.Load_Resources();
    application.Stop_Sound_Effects();
    application.Play_Sound(Application::PAUSE_SE); // no sound device: counted, not heard
    application.Play_Sound(99);
    EXPECT_EQ(application.sound_effect_plays[Application::PAUSE_SE], 1);
    application.Play_Music(Application::TITLE_SCREEN_MT, true); // no MIDI driver: skipped
    application.Stop_Music();
}

TEST(Resources, LoadingShowsItsLineOnABlackCanvas)
{
    Application application;
    clear_to_color(application.canvas, makecol(10, 20, 30));
    application.Load_Resources();
    int white = makecol(255, 255, 255);
    int text_width = text_length(font, "Loading... please wait.");
    int white_pixels = 0, other_pixels = 0;
    for (int y = 0; y < Application::CANVAS_HEIGHT; y++)
        for (int x = 0; x < Application::CANVAS_WIDTH; x++)
        {
            int pixel = getpixel(application.canvas, x, y);
            bool in_text = x >= 1 && x < 1 + text_width && y >= 1 && y < 1 + text_height(font);
            if (pixel == white && in_text)
                white_pixels++;
            else if (pixel != 0)
                other_pixels++;
        }
    EXPECT_GT(white_pixels, 50);
    EXPECT_EQ(other_pixels, 0);
}
