#include <gtest/gtest.h>

#include "application.h"
#include "level.h"
#include "platform.h"
#include "test_support.h"

class PlatformTest : public testing::Test
{
protected:
    Application application;
    Level& level = *application.levels[0];

    void SetUp() override
    {
        Set_Bitmap(application, Application::PIPE_BM, 32, 32);
        Set_Bitmap(application, Application::GROUND_BM, 32, 16);
        Set_Bitmap(application, Application::CEMENT_BLOCK_BM, 16, 16);
    }

    void Run(Platform& platform, int ticks)
    {
        for (int i = 0; i < ticks; i++)
            platform.Process(application, 0, 0);
    }
};

TEST_F(PlatformTest, TypesGiveTheirPictureAndKind)
{
    struct Expected
    {
        int type, bitmap, kind;
    };
    const Expected table[] = {
        {Level::BROWN_BLOCK, Application::BROWN_BLOCK_BM, Platform::PLATFORM},
        {Level::CEMENT_BLOCK, Application::CEMENT_BLOCK_BM, Platform::PLATFORM},
        {Level::BIG_BUSH, Application::BIG_BUSH_BM, Platform::BACKGROUND},
        {Level::SMALL_BUSH, Application::SMALL_BUSH_BM, Platform::BACKGROUND},
        {Level::CHERRY, Application::CHERRY_BM, Platform::ITEM},
        {Level::GROUND, Application::GROUND_BM, Platform::PLATFORM},
        {Level::PIPE, Application::PIPE_BM, Platform::PLATFORM},
        {Level::LIMESTONE, Application::LIMESTONE_BM, Platform::PLATFORM},
        {Level::LEDGE, Application::LEDGE_BM, Platform::PLATFORM},
        {Level::WALK_THROUGH_DIRT, Application::WALK_THROUGH_DIRT_BM, Platform::BACKGROUND},
        {Level::WIRE, Application::WIRE_BM, Platform::PLATFORM},
        {Level::STOPPER, Application::STOPPER_BM, Platform::PLATFORM},
        {Level::LOCAL_PIPE, Application::PIPE_BM, Platform::PLATFORM},
        {Level::STONE_WALL, Application::STONE_WALL_BM, Platform::BACKGROUND},
        {Level::FAKE_CEMENT_BLOCK, Application::CEMENT_BLOCK_BM, Platform::BACKGROUND},
        {Level::YELLOW_CHERRY, Application::YELLOW_CHERRY_BM, Platform::ITEM},
        {Level::SHORT_VINE, Application::SHORT_VINE_BM, Platform::BACKGROUND},
        {Level::TALL_VINE, Application::TALL_VINE_BM, Platform::BACKGROUND},
    };
    for (const Expected& expected : table)
    {
        Platform platform;
        platform.type = expected.type;
        platform.x = 48;
        platform.y = -20;
        platform.Initialize();
        EXPECT_EQ(platform.bitmap, expected.bitmap) << expected.type;
        EXPECT_EQ(platform.kind, expected.kind) << expected.type;
        EXPECT_EQ(platform.start_x, 48);
        EXPECT_EQ(platform.start_y, -20);
    }
}

TEST_F(PlatformTest, AnUnknownTypeIsHarmlessScenery)
{
    Platform platform;
    platform.type = 999;
    platform.Initialize();
    EXPECT_EQ(platform.kind, Platform::BACKGROUND);
    Rectangle shape;
    platform.Get_Bump_Map(shape, application);
    EXPECT_LT(shape.right, shape.left); // no picture, no cells
    platform.Process(application, 0, 0); // draws nothing, does not crash
}

TEST_F(PlatformTest, ShapeIsThePictureRoundedDownToCells)
{
    Set_Bitmap(application, Application::GROUND_BM, 32, 16);
    Platform platform;
    platform.type = Level::GROUND;
    platform.x = 64;
    platform.y = 100;
    platform.Initialize();
    Rectangle shape;
    platform.Get_Bump_Map(shape, application);
    EXPECT_EQ(shape.left, 16);
    EXPECT_EQ(shape.top, 25);
    EXPECT_EQ(shape.right, 23);
    EXPECT_EQ(shape.bottom, 28);

    // A picture 6 pixels wide is one cell wide.
    Set_Bitmap(application, Application::GROUND_BM, 6, 16);
    platform.Get_Bump_Map(shape, application);
    EXPECT_EQ(shape.right, shape.left);
}

TEST_F(PlatformTest, ALoadedShapeIsPlacedAtThePlatform)
{
    Platform platform;
    platform.type = Level::CHERRY;
    platform.x = 40;
    platform.y = 80;
    platform.Initialize();
    platform.bump_map = Box(1, 1, 2, 3);
    platform.has_bump_map = true;
    Rectangle shape;
    platform.Get_Bump_Map(shape, application);
    EXPECT_EQ(shape.left, 11);
    EXPECT_EQ(shape.top, 21);
    EXPECT_EQ(shape.right, 12);
    EXPECT_EQ(shape.bottom, 23);
}

TEST_F(PlatformTest, PipesSinkOutOfTheScreenAndRiseBackToWhereTheyWere)
{
    Platform* pipe = Add_Platform(level, Level::PIPE, 64, 200);
    Platform* local_pipe = Add_Platform(level, Level::LOCAL_PIPE, 128, 200);
    level.signal = Level::SIGNAL_LOWER_PIPES;
    Run(*pipe, 1);
    EXPECT_EQ(pipe->y, 200); // pipes move on even ticks only
    Run(*pipe, 1);
    EXPECT_EQ(pipe->y, 204);
    Run(*pipe, 100);
    EXPECT_EQ(pipe->y, 224);
    Run(*local_pipe, 4);
    EXPECT_EQ(local_pipe->y, 208);

    level.signal = Level::SIGNAL_RAISE_PIPES;
    Run(*pipe, 2);
    EXPECT_EQ(pipe->y, 220);
    Run(*pipe, 100);
    EXPECT_EQ(pipe->y, 200);

    // Other signals leave pipes alone.
    level.signal = Level::SIGNAL_ATTACK_BLUEJAY;
    Run(*pipe, 10);
    EXPECT_EQ(pipe->y, 200);
}

TEST_F(PlatformTest, PipesObeyTheSignalOfTheLevelBeingPlayed)
{
    Platform* pipe = Add_Platform(level, Level::PIPE, 64, 100);
    application.levels[3]->signal = Level::SIGNAL_LOWER_PIPES;
    Run(*pipe, 4);
    EXPECT_EQ(pipe->y, 100);
    application.current_level = 3;
    Run(*pipe, 4);
    EXPECT_EQ(pipe->y, 108);
}

TEST_F(PlatformTest, CementFallsEveryFourthTickWithoutLimitWhenTheBossIsBeaten)
{
    Platform* cement = Add_Platform(level, Level::CEMENT_BLOCK, 0, 200);
    Platform* fake = Add_Platform(level, Level::FAKE_CEMENT_BLOCK, 16, 200);
    Run(*cement, 8);
    EXPECT_EQ(cement->y, 200);
    level.signal = Level::SIGNAL_COLLAPSE_CEMENT;
    Run(*cement, 3);
    EXPECT_EQ(cement->y, 200);
    Run(*cement, 1);
    EXPECT_EQ(cement->y, 204);
    Run(*cement, 400);
    EXPECT_EQ(cement->y, 604);
    Run(*fake, 40);
    EXPECT_EQ(fake->y, 200);

    // Pipes do not fall with cement.
    Platform* pipe = Add_Platform(level, Level::PIPE, 64, 100);
    Run(*pipe, 8);
    EXPECT_EQ(pipe->y, 100);
}

TEST_F(PlatformTest, TakenPlatformsNeitherDrawNorCount)
{
    Set_Bitmap(application, Application::CHERRY_BM, 16, 16);
    clear_to_color(application.bitmaps[Application::CHERRY_BM], makecol(200, 0, 0));
    Platform* cherry = Add_Platform(level, Level::CHERRY, 8, 8);
    clear_to_color(application.canvas, 0);
    cherry->Process(application, 0, 0);
    EXPECT_EQ(getpixel(application.canvas, 10, 10), makecol(200, 0, 0));
    EXPECT_EQ(cherry->timer, 1);

    cherry->taken = true;
    clear_to_color(application.canvas, 0);
    cherry->Process(application, 0, 0);
    EXPECT_EQ(getpixel(application.canvas, 10, 10), 0);
    EXPECT_EQ(cherry->timer, 1);
}

TEST_F(PlatformTest, StoppersBlockButAreNeverDrawn)
{
    Set_Bitmap(application, Application::STOPPER_BM, 16, 16);
    clear_to_color(application.bitmaps[Application::STOPPER_BM], makecol(0, 0, 200));
    Platform* stopper = Add_Platform(level, Level::STOPPER, 0, 0);
    EXPECT_EQ(stopper->kind, Platform::PLATFORM);
    clear_to_color(application.canvas, 0);
    stopper->Process(application, 0, 0);
    EXPECT_EQ(getpixel(application.canvas, 4, 4), 0);
}

TEST_F(PlatformTest, PlatformsAreDrawnAtTheirPositionMinusTheCamera)
{
    Set_Bitmap(application, Application::BROWN_BLOCK_BM, 16, 16);
    clear_to_color(application.bitmaps[Application::BROWN_BLOCK_BM], makecol(120, 60, 0));
    Platform* block = Add_Platform(level, Level::BROWN_BLOCK, 300, -100);
    clear_to_color(application.canvas, 0);
    block->Process(application, 256, -112);
    EXPECT_EQ(getpixel(application.canvas, 44, 12), makecol(120, 60, 0));
    EXPECT_EQ(getpixel(application.canvas, 43, 12), 0);
    EXPECT_EQ(getpixel(application.canvas, 44, 11), 0);
}
