// A level's tick of play: the camera and its limits, the drifting background,
// the first tick, the message box, the status line, lost lives, pipes and the
// ending.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "application.h"
#include "bluejay.h"
#include "level.h"
#include "string_list.h"
#include "test_support.h"

namespace
{
struct Entry
{
    int type;
    int x;
    int y;
};

// A whole map: grass, the first tune, both lists with their terminators and
// the fifty pipe destinations (those not given are 0).
std::string Map_Text(const std::vector<Entry>& characters, const std::vector<Entry>& platforms,
                     std::vector<int> pointers = {})
{
    std::ostringstream text;
    text << "0\n0\n";
    for (const Entry& entry : characters)
        text << entry.type << ' ' << entry.x << ' ' << entry.y << '\n';
    text << "-1\n";
    for (const Entry& entry : platforms)
        text << entry.type << ' ' << entry.x << ' ' << entry.y << '\n';
    text << "-1\n";
    pointers.resize(Level::NUMBER_OF_POINTERS, 0);
    for (int pointer : pointers)
        text << pointer << '\n';
    return text.str();
}

// Ground tiles along the bottom of the lowest screen row, from x = from to
// x = to.
std::vector<Entry> Ground(int from, int to, std::vector<Entry> more = {})
{
    for (int x = from; x <= to; x += 32)
        more.push_back({Level::GROUND, x, 192});
    return more;
}

// A hero standing on the ground has its top at y = 168.
constexpr int STANDING_Y = 168;

// Colours that nothing else in the picture uses.
const int BACKDROP[3] = {200, 120, 40};

int Colour(const int rgb[3])
{
    return makecol(rgb[0], rgb[1], rgb[2]);
}

void Paint(Application& application, int index, int width, int height, int colour)
{
    Set_Bitmap(application, index, width, height);
    clear_to_color(application.bitmaps[index], colour);
}

// Pixels of a part of the canvas (inclusive corners) that pass a test.
int Count_Pixels(BITMAP* canvas, int left, int top, int right, int bottom, const std::function<bool(int)>& test)
{
    int count = 0;
    for (int y = top; y <= bottom; y++)
        for (int x = left; x <= right; x++)
            if (test(getpixel(canvas, x, y)))
                count++;
    return count;
}

bool Is_Rgb(int pixel, int red, int green, int blue)
{
    return getr(pixel) == red && getg(pixel) == green && getb(pixel) == blue;
}

bool Is_Red(int pixel)
{
    return Is_Rgb(pixel, 255, 0, 0);
}

bool Is_White(int pixel)
{
    return Is_Rgb(pixel, 255, 255, 255);
}

Bluejay* Place_Hero(Level& level, int x, int y)
{
    Bluejay* hero = Add_Character(level, new Bluejay(), x, y);
    level.main_character = level.number_of_characters - 1;
    return hero;
}
} // namespace

// The camera on its own: levels built by hand, no drawing.
class CameraTest : public testing::Test
{
protected:
    Level level;
};

TEST_F(CameraTest, OneScreenLevelKeepsTheCameraAtTheLeftEdge)
{
    Bluejay* hero = Place_Hero(level, 0, 100);
    for (int x : {0, 100, 128, 129, 200, 232})
    {
        hero->x = x;
        level.scroll_x = 33;
        level.Position_For_Main_Character();
        EXPECT_EQ(level.scroll_x, 0) << "hero at x = " << x;
        level.scroll_x = 33;
        level.Scroll_X(1);
        EXPECT_EQ(level.scroll_x, 0) << "hero at x = " << x;
    }
}

TEST_F(CameraTest, FollowsTheHeroAcrossAWideLevelUpToItsEdges)
{
    level.screens_wide = 2; // W = 512
    Bluejay* hero = Place_Hero(level, 0, 100);
    const struct
    {
        int hero_x;
        int scroll_x;
    } cases[] = {{0, 0}, {128, 0}, {129, 1}, {300, 172}, {383, 255}, {384, 256}, {500, 256}};
    for (const auto& expected : cases)
    {
        hero->x = expected.hero_x;
        level.scroll_x = -77;
        level.Position_For_Main_Character();
        EXPECT_EQ(level.scroll_x, expected.scroll_x) << "hero at x = " << expected.hero_x;
    }
}

TEST_F(CameraTest, ThreeRowLevelFollowsTheHeroUpAndDownWithinItsRows)
{
    level.screens_high = 3; // the top limit is 112 - 2 * 224 = -336
    Bluejay* hero = Place_Hero(level, 40, 0);
    const struct
    {
        int hero_y;
        int scroll_y;
    } cases[] = {{-400, -448}, {-336, -448}, {-335, -447}, {-100, -212}, {111, -1}, {112, 0}, {150, 0}};
    for (const auto& expected : cases)
    {
        hero->y = expected.hero_y;
        level.scroll_y = 17;
        level.Position_For_Main_Character();
        EXPECT_EQ(level.scroll_y, expected.scroll_y) << "hero at y = " << expected.hero_y;
    }
}

TEST_F(CameraTest, OneRowLevelNeverMovesTheCameraUpOrDown)
{
    Bluejay* hero = Place_Hero(level, 40, -300);
    level.scroll_y = 9;
    level.Position_For_Main_Character();
    EXPECT_EQ(level.scroll_y, 9);
    level.Scroll_Y(-1);
    EXPECT_EQ(level.scroll_y, 9);
    hero->y = 200;
    level.Scroll_Y(1);
    EXPECT_EQ(level.scroll_y, 9);
}

TEST_F(CameraTest, HeroWithoutStrengthIsFollowedSidewaysButNotUpOrDown)
{
    level.screens_wide = 4;
    level.screens_high = 3;
    Bluejay* hero = Place_Hero(level, 600, -100);
    hero->strength = 0;
    level.scroll_y = -50;
    level.Position_For_Main_Character();
    EXPECT_EQ(level.scroll_y, -50);
    EXPECT_EQ(level.scroll_x, 472);
    level.Scroll_Y(1);
    EXPECT_EQ(level.scroll_y, -50);
    level.Scroll_Y(-1);
    EXPECT_EQ(level.scroll_y, -50);
    hero->y = 150; // even below the bottom limit
    level.Scroll_Y(1);
    EXPECT_EQ(level.scroll_y, -50);
}

TEST_F(CameraTest, ScrollXMovesFourPixelsAStepAndSnapsToTheEdges)
{
    level.screens_wide = 3; // W = 768, the right limit is 640
    Bluejay* hero = Place_Hero(level, 300, 100);
    level.scroll_x = 172;
    level.Scroll_X(1);
    EXPECT_EQ(level.scroll_x, 176);
    level.Scroll_X(-1);
    level.Scroll_X(-1);
    EXPECT_EQ(level.scroll_x, 168);

    hero->x = 128;
    level.Scroll_X(1);
    EXPECT_EQ(level.scroll_x, 0);
    hero->x = 640;
    level.Scroll_X(-1);
    EXPECT_EQ(level.scroll_x, 512);
    hero->x = 700;
    level.scroll_x = 3;
    level.Scroll_X(1);
    EXPECT_EQ(level.scroll_x, 512);
}

TEST_F(CameraTest, ScrollYMovesFourPixelsAStepAndSnapsToTheTopAndBottom)
{
    level.screens_high = 3;
    Bluejay* hero = Place_Hero(level, 40, -100);
    level.scroll_y = -212;
    level.Scroll_Y(-1);
    EXPECT_EQ(level.scroll_y, -216);
    level.Scroll_Y(1);
    level.Scroll_Y(1);
    EXPECT_EQ(level.scroll_y, -208);

    hero->y = 112;
    level.Scroll_Y(-1);
    EXPECT_EQ(level.scroll_y, 0);
    hero->y = -336;
    level.Scroll_Y(1);
    EXPECT_EQ(level.scroll_y, -448);
}

TEST_F(CameraTest, WithoutAHeroTheCameraAndBackgroundStayPut)
{
    level.screens_wide = 3;
    level.screens_high = 3;
    level.scroll_x = 21;
    level.scroll_y = -22;
    level.background_x = 23;
    level.Position_For_Main_Character();
    level.Scroll_X(1);
    level.Scroll_Y(-1);
    level.Scroll_Background(1);
    EXPECT_EQ(level.scroll_x, 21);
    EXPECT_EQ(level.scroll_y, -22);
    EXPECT_EQ(level.background_x, 23);

    // A hero index that names no hero is no hero.
    Add_Character(level, new Test_Character(), 300, 100);
    level.main_character = 0;
    level.Position_For_Main_Character();
    EXPECT_EQ(level.scroll_x, 21);
    level.main_character = 5;
    level.Scroll_X(1);
    EXPECT_EQ(level.scroll_x, 21);
}

TEST_F(CameraTest, BackgroundMovesAgainstTheCameraAndWrapsAround)
{
    level.screens_wide = 3;
    Bluejay* hero = Place_Hero(level, 300, 100);
    level.background_x = 0;
    level.Scroll_Background(1);
    EXPECT_EQ(level.background_x, -1);
    level.Scroll_Background(-1);
    level.Scroll_Background(-1);
    EXPECT_EQ(level.background_x, 1);

    level.background_x = -256;
    level.Scroll_Background(1); // -257 is past the left end
    EXPECT_EQ(level.background_x, 256);
    level.background_x = 255;
    level.Scroll_Background(-1); // 256 is past the right end
    EXPECT_EQ(level.background_x, -256);

    // The camera does not move at the level's edges, so neither does the
    // background.
    for (int x : {128, 640})
    {
        hero->x = x;
        level.background_x = 10;
        level.Scroll_Background(1);
        EXPECT_EQ(level.background_x, 10) << "hero at x = " << x;
    }
}

// Whole ticks of levels loaded from map files, drawn into the canvas.
class LevelPlayTest : public Loaded_Application_Test
{
protected:
    Temporary_Directory directory;

    void SetUp() override
    {
        std::memset(const_cast<char*>(key), 0, KEY_MAX);
        ASSERT_EQ(application.missing_resource[0], '\0') << application.missing_resource;
        // A plain backdrop and marks of their own colour make the picture
        // easy to read.
        Paint(application, Application::GRASS_BACKGROUND_BM, 256, 224, Colour(BACKDROP));
        Paint(application, Application::STRENGTH_MARK_BM, 8, 8, makecol(0, 255, 0));
        Paint(application, Application::EMPTY_MARK_BM, 8, 8, makecol(0, 0, 255));
        application.current_level = 0;
    }

    void TearDown() override { std::memset(const_cast<char*>(key), 0, KEY_MAX); }

    Level& Load(int number, const std::string& map)
    {
        std::string path = directory.Write("level_" + std::to_string(number) + ".map", map);
        application.levels[number]->Load(path.c_str());
        return *application.levels[number];
    }

    void Set_Message(int number, const std::string& text)
    {
        std::string path = directory.Write("message_" + std::to_string(number) + ".txt", text);
        application.messages[number]->Load_From_File(path.c_str());
    }

    // One tick of a level with the keys held now.
    void Tick(Level& level, int signal_word = 0)
    {
        Application::Press_Keys_For_Signals(signal_word);
        application.Generate_Signals();
        level.Process(application);
    }

    int Status_Text_Pixels() { return Count_Pixels(application.canvas, 1, 1, 63, 8, Is_Red); }
    int Score_Pixels() { return Count_Pixels(application.canvas, 200, 1, 255, 8, Is_Red); }
    int Mark_Pixels()
    {
        return Count_Pixels(application.canvas, 64, 1, 120, 8, [](int pixel) {
            return Is_Rgb(pixel, 0, 255, 0) || Is_Rgb(pixel, 0, 0, 255);
        });
    }
};

TEST_F(LevelPlayTest, FirstTickPlacesTheCameraOnTheHeroAndStartsTheLevelOnce)
{
    Level& level = Load(0, Map_Text({{Level::BLUEJAY, 600, STANDING_Y}}, Ground(0, 992)));
    ASSERT_EQ(level.screens_wide, 4);
    ASSERT_TRUE(level.starting);
    Tick(level);
    EXPECT_FALSE(level.starting);
    EXPECT_EQ(level.scroll_x, 472);
    EXPECT_EQ(level.scroll_y, 0);
    EXPECT_EQ(level.Hero()->x, 600); // standing still on the ground
    for (int i = 0; i < Application::NUMBER_OF_SOUND_EFFECTS; i++)
        EXPECT_EQ(application.sound_effect_plays[i], 0) << "sound " << i;

    // Later ticks leave the camera to the hero's steps.
    level.scroll_x = 460;
    Tick(level);
    EXPECT_EQ(level.scroll_x, 460);
}

TEST_F(LevelPlayTest, DriftingBackgroundWrapsFromTheRightEndToTheLeftEnd)
{
    Level& level = Load(0, Map_Text({{Level::BLUEJAY, 40, STANDING_Y}}, Ground(0, 224)));
    Tick(level);
    level.background_scrolling = true;
    level.background_x = 240;
    Tick(level);
    EXPECT_EQ(level.background_x, 248);
    Tick(level);
    EXPECT_EQ(level.background_x, -256);
    Tick(level);
    EXPECT_EQ(level.background_x, -248);
}

TEST_F(LevelPlayTest, HeroFlyingSidewaysMovesTheBackgroundUnlessItDrifts)
{
    // The hero glides to the right high over a wide level.
    for (bool drifting : {false, true})
    {
        Level& level = Load(drifting ? 1 : 0, Map_Text({{Level::BLUEJAY, 400, 40}}, Ground(0, 992)));
        application.current_level = drifting ? 1 : 0;
        level.background_scrolling = drifting;
        Tick(level);
        EXPECT_EQ(level.Hero()->x, 404);
        EXPECT_EQ(level.scroll_x, 276) << "the camera follows in both cases";
        EXPECT_EQ(level.background_x, drifting ? 8 : -1);
    }
}

TEST_F(LevelPlayTest, MarkerOnScreenRaisesTheMessageOnce)
{
    Level& level = Load(0, Map_Text({{Level::BLUEJAY, 40, STANDING_Y},
                                     {Level::MESSAGE_OBJECT, 80, 48},
                                     {Level::MESSAGE_OBJECT, 160, 48}},
                                    Ground(0, 224)));
    Tick(level);
    EXPECT_TRUE(level.showing_message);
    EXPECT_TRUE(level.message_shown);

    // Closed by the player: neither marker raises it again.
    level.showing_message = false;
    for (int i = 0; i < 3; i++)
        Tick(level);
    EXPECT_FALSE(level.showing_message);
}

TEST_F(LevelPlayTest, MarkerOffScreenOrInTheDemoRaisesNothing)
{
    Level& level = Load(0, Map_Text({{Level::BLUEJAY, 600, STANDING_Y}, {Level::MESSAGE_OBJECT, 200, 48}},
                                    Ground(0, 992)));
    Tick(level);
    ASSERT_EQ(level.scroll_x, 472);
    EXPECT_FALSE(level.showing_message);

    // In view, but the demo plays on without messages.
    level.characters[1]->x = 500;
    application.demo_mode = true;
    Tick(level);
    EXPECT_FALSE(level.showing_message);
    EXPECT_FALSE(level.message_shown);

    application.demo_mode = false;
    Tick(level);
    EXPECT_TRUE(level.showing_message);
}

TEST_F(LevelPlayTest, MessageDarkensThePictureToThreeQuartersAndPrintsTheText)
{
    Set_Message(0, "HELLO THERE\nSECOND LINE\n");
    Level& level = Load(0, Map_Text({{Level::BLUEJAY, 40, STANDING_Y}, {Level::MESSAGE_OBJECT, 80, 48}},
                                    Ground(0, 224)));
    Tick(level);
    ASSERT_TRUE(level.showing_message);

    // Away from the text, the hero and the ground, the backdrop is darker.
    for (int x : {200, 250})
    {
        int pixel = getpixel(application.canvas, x, 150);
        EXPECT_NEAR(getr(pixel), BACKDROP[0] * 3 / 4, 2);
        EXPECT_NEAR(getg(pixel), BACKDROP[1] * 3 / 4, 2);
        EXPECT_NEAR(getb(pixel), BACKDROP[2] * 3 / 4, 2);
    }
    // Both lines in white at x = 1, 10 pixels apart; nothing below them.
    EXPECT_GT(Count_Pixels(application.canvas, 1, 1, 100, 8, Is_White), 20);
    EXPECT_GT(Count_Pixels(application.canvas, 1, 11, 100, 18, Is_White), 20);
    EXPECT_EQ(Count_Pixels(application.canvas, 0, 21, 255, 150, Is_White), 0);
    // No status line under the message.
    EXPECT_EQ(Score_Pixels(), 0);
    EXPECT_EQ(Mark_Pixels(), 0);
}

TEST_F(LevelPlayTest, ShownMessageStaysShownAfterTheLevelRestarts)
{
    Level& level = Load(0, Map_Text({{Level::BLUEJAY, 40, STANDING_Y}, {Level::MESSAGE_OBJECT, 80, 48}},
                                    Ground(0, 224)));
    Tick(level);
    ASSERT_TRUE(level.showing_message);
    level.Reset(false);
    EXPECT_FALSE(level.showing_message);
    EXPECT_TRUE(level.message_shown);
    Tick(level);
    Tick(level);
    EXPECT_FALSE(level.showing_message);
}

TEST_F(LevelPlayTest, StatusLineShowsFiveMarksForAnyStrength)
{
    Level& level = Load(0, Map_Text({{Level::BLUEJAY, 40, STANDING_Y}}, Ground(0, 224)));
    Bluejay* hero = level.Hero();
    for (int strength = 0; strength <= Bluejay::MAX_STRENGTH; strength++)
    {
        hero->strength = strength;
        hero->dead = false;
        hero->y = STANDING_Y;
        Tick(level);
        int full = 0, empty = 0;
        for (int mark = 0; mark < 6; mark++)
        {
            int pixel = getpixel(application.canvas, 64 + 8 * mark + 4, 5);
            if (Is_Rgb(pixel, 0, 255, 0))
                full++;
            else if (Is_Rgb(pixel, 0, 0, 255))
                empty++;
            else
            {
                EXPECT_EQ(mark, 5) << "strength " << strength << ": gap before mark " << mark;
            }
            if (mark < 5)
            {
                EXPECT_TRUE(Is_Rgb(pixel, 0, mark < strength ? 255 : 0, mark < strength ? 0 : 255))
                    << "strength " << strength << ", mark " << mark;
            }
        }
        EXPECT_EQ(full, strength);
        EXPECT_EQ(full + empty, 5) << "strength " << strength;
        EXPECT_GT(Status_Text_Pixels(), 0);
        EXPECT_GT(Score_Pixels(), 0);
        // Eggs beside the egg, lives beside the icon.
        EXPECT_GT(Count_Pixels(application.canvas, 17, 25, 60, 32, Is_Red), 0);
        EXPECT_GT(Count_Pixels(application.canvas, 216, 25, 255, 32, Is_Red), 0);
    }
}

TEST_F(LevelPlayTest, AfterTheEndTheStatusLineKeepsOnlyTheScore)
{
    Level& level = Load(0, Map_Text({{Level::BLUEJAY, 40, STANDING_Y}}, Ground(0, 224)));
    application.game_complete = true;
    level.Hero()->points = 1234;
    Tick(level);
    EXPECT_GT(Score_Pixels(), 0);
    EXPECT_EQ(Status_Text_Pixels(), 0);
    EXPECT_EQ(Mark_Pixels(), 0);
    EXPECT_EQ(Count_Pixels(application.canvas, 0, 25, 255, 40, Is_Red), 0);
}

TEST_F(LevelPlayTest, DemoDrawsNoStatusLine)
{
    Level& level = Load(0, Map_Text({{Level::BLUEJAY, 40, STANDING_Y}}, Ground(0, 224)));
    application.demo_mode = true;
    Tick(level);
    EXPECT_FALSE(level.starting);
    EXPECT_EQ(Status_Text_Pixels(), 0);
    EXPECT_EQ(Score_Pixels(), 0);
    EXPECT_EQ(Mark_Pixels(), 0);
}

TEST_F(LevelPlayTest, EndingCompletesTheGameOnTheFifteenthTickAndPaysTheEggsOnce)
{
    Set_Message(Application::ENDING_MESSAGE, "THE END\n");
    Level& level = Load(0, Map_Text({{Level::BLUEJAY, 40, STANDING_Y}}, Ground(0, 224)));
    Bluejay* hero = level.Hero();
    hero->eggs = 3;
    hero->points = 100;
    Tick(level);
    level.signal = Level::SIGNAL_DESTROY_ECTO;
    for (int tick = 1; tick < Level::ENDING_TICKS; tick++)
    {
        Tick(level);
        ASSERT_FALSE(application.game_complete) << "tick " << tick;
        EXPECT_EQ(Count_Pixels(application.canvas, 1, 1, 60, 8, Is_White), 0);
    }
    Tick(level);
    EXPECT_EQ(level.ending_timer, 15);
    EXPECT_TRUE(application.game_complete);
    EXPECT_EQ(hero->points, 3100);
    EXPECT_GT(Count_Pixels(application.canvas, 1, 1, 60, 8, Is_White), 20) << "the ending text";
    EXPECT_EQ(Status_Text_Pixels(), 0);

    for (int tick = 0; tick < 3; tick++)
        Tick(level);
    EXPECT_EQ(hero->points, 3100);
}

TEST_F(LevelPlayTest, HeroLostOutOfThePictureWithLivesLeftRestartsTheLevel)
{
    Level& level = Load(0, Map_Text({{Level::BLUEJAY, 600, STANDING_Y}}, Ground(0, 992)));
    Test_Character* bird = Add_Character(level, new Test_Character(), 500, 100);
    Bluejay* hero = level.Hero();
    Tick(level);
    Tick(level, Application::SIGNAL_DELETE); // the player gives up this life
    Tick(level);
    ASSERT_TRUE(hero->dead);
    EXPECT_EQ(hero->lives, 2);
    EXPECT_EQ(application.sound_effect_plays[Application::BLUEJAY_DIES_SE], 1);

    bird->x = 10;
    level.scroll_x = 0; // the falling hero is out of the picture now
    Tick(level);
    EXPECT_FALSE(hero->dead);
    EXPECT_EQ(hero->strength, 3);
    EXPECT_EQ(hero->lives, 2);
    EXPECT_EQ(hero->x, 600);
    EXPECT_EQ(hero->y, STANDING_Y);
    EXPECT_EQ(bird->x, 500);
    EXPECT_EQ(level.scroll_x, 472);
    EXPECT_TRUE(level.starting);
    EXPECT_FALSE(application.game_over);
}

TEST_F(LevelPlayTest, HeroFallingOutOfThePictureOnItsLastLifeEndsTheGame)
{
    Level& level = Load(0, Map_Text({{Level::BLUEJAY, 40, STANDING_Y}}, Ground(0, 224)));
    Bluejay* hero = level.Hero();
    hero->lives = 1;
    Tick(level, Application::SIGNAL_DELETE);
    int ticks = 0;
    while (!application.game_over && ticks < 40)
    {
        Tick(level);
        ticks++;
        if (!application.game_over)
        {
            EXPECT_TRUE(hero->Is_On_Screen(level.scroll_x, level.scroll_y, application));
        }
    }
    EXPECT_TRUE(application.game_over);
    EXPECT_EQ(hero->lives, 0);
    EXPECT_TRUE(hero->dead) << "the hero is not brought back";
    EXPECT_EQ(application.sound_effect_plays[Application::BLUEJAY_DIES_SE], 1);
}

// A hero standing on a pipe at (32, 160) goes down it and comes out where the
// pipe leads.
class PipeTest : public LevelPlayTest
{
protected:
    Level& Level_With_Pipe(int pipe_type, int pointer, int last_x = 736)
    {
        return Load(0, Map_Text({{Level::BLUEJAY, 32, 136}}, Ground(64, last_x, {{pipe_type, 32, 160}}), {pointer}));
    }

    // Holds Down for one tick and lets go; ticks until the hero is out of the
    // pipe, and returns how many ticks that took.
    int Go_Down(Level& level, Bluejay* hero)
    {
        Tick(level, Application::SIGNAL_DOWN);
        EXPECT_EQ(hero->state, Bluejay::GOING_DOWN_PIPE);
        int ticks = 1;
        while (hero->state == Bluejay::GOING_DOWN_PIPE && application.current_level == 0 && ticks < 30)
        {
            Tick(level);
            ticks++;
        }
        return ticks;
    }
};

TEST_F(PipeTest, LocalPipeTakesTheHeroToAnotherScreenOfTheLevel)
{
    Level& level = Level_With_Pipe(Level::LOCAL_PIPE, 1);
    ASSERT_EQ(level.screens_wide, 3);
    Bluejay* hero = level.Hero();
    Tick(level);
    Go_Down(level, hero);
    EXPECT_EQ(hero->x, 272);
    EXPECT_EQ(hero->y, 128);
    EXPECT_FALSE(hero->went_down_pipe);
    EXPECT_FALSE(hero->local_pipe);
    EXPECT_EQ(level.scroll_x, 144);
    EXPECT_EQ(application.current_level, 0);
    EXPECT_EQ(application.sound_effect_plays[Application::WARP_SE], 1);
}

TEST_F(PipeTest, LocalPipePointingPastTheLevelsEndLeadsToItsLastScreen)
{
    Level& level = Level_With_Pipe(Level::LOCAL_PIPE, 9);
    Bluejay* hero = level.Hero();
    Tick(level);
    Go_Down(level, hero);
    EXPECT_EQ(hero->x, 2 * 256 + 16);
    EXPECT_EQ(hero->y, 128);
    EXPECT_EQ(level.scroll_x, 400);
}

TEST_F(PipeTest, PipeToAnotherLevelHandsTheHerosStatusOver)
{
    Level& level = Level_With_Pipe(Level::PIPE, 1);
    Level& next = Load(1, Map_Text({{Level::BLUEJAY, 600, STANDING_Y}}, Ground(0, 992)));
    next.scroll_x = 55;
    Bluejay* hero = level.Hero();
    hero->eggs = 2;
    hero->points = 70;
    hero->lives = 4;
    hero->strength = 5;
    Tick(level);
    Go_Down(level, hero);
    EXPECT_EQ(application.current_level, 1);
    Bluejay* next_hero = next.Hero();
    EXPECT_EQ(next_hero->eggs, 2);
    EXPECT_EQ(next_hero->points, 70);
    EXPECT_EQ(next_hero->lives, 4);
    EXPECT_EQ(next_hero->strength, 5);
    EXPECT_EQ(next_hero->x, 600);
    EXPECT_EQ(next.scroll_x, 0);
    EXPECT_TRUE(next.starting);

    // The next tick of the game is on the new level, camera on its hero.
    application.Run_Play_Tick();
    EXPECT_FALSE(next.starting);
    EXPECT_EQ(next.scroll_x, 472);
}

TEST_F(PipeTest, PipeLeadingNowhereBringsTheHeroBackUpOntoIt)
{
    // An empty level, numbers that name no level, and a level without a hero.
    Level& level = Level_With_Pipe(Level::PIPE, 5);
    Bluejay* hero = level.Hero();
    Tick(level);
    for (int pointer : {5, 500, -3, 120})
    {
        level.pointers[0] = pointer;
        Go_Down(level, hero);
        EXPECT_EQ(application.current_level, 0) << "pointer " << pointer;
        EXPECT_EQ(hero->state, Bluejay::IDLE) << "pointer " << pointer;
        EXPECT_FALSE(hero->went_down_pipe);
        EXPECT_EQ(hero->y, 136) << "pointer " << pointer;
        EXPECT_EQ(hero->x, 36);
        // It stands there.
        Tick(level);
        Tick(level);
        EXPECT_EQ(hero->y, 136) << "pointer " << pointer;
        EXPECT_EQ(hero->state, Bluejay::IDLE);
    }
}

TEST_F(PipeTest, PipeBeyondTheLastPointerBringsTheHeroBackUp)
{
    const int pipe_x = Level::NUMBER_OF_POINTERS * 256; // screen column 50
    Level& level = Load(0, Map_Text({{Level::BLUEJAY, pipe_x, 136}},
                                    Ground(pipe_x + 32, pipe_x + 64, {{Level::PIPE, pipe_x, 160}})));
    Bluejay* hero = level.Hero();
    Tick(level);
    Go_Down(level, hero);
    EXPECT_EQ(application.current_level, 0);
    EXPECT_EQ(hero->state, Bluejay::IDLE);
    EXPECT_EQ(hero->y, 136);
}

TEST_F(LevelPlayTest, LevelWithoutAHeroStillDrawsAndRuns)
{
    Level& level = Load(0, Map_Text({{Level::MESSAGE_OBJECT, 80, 48}}, Ground(0, 224)));
    Test_Character* bird = Add_Character(level, new Test_Character(), 100, 100);
    level.signal = Level::SIGNAL_DESTROY_ECTO;
    Tick(level);
    Tick(level);
    EXPECT_EQ(bird->processed, 2);
    EXPECT_FALSE(level.starting);
    EXPECT_TRUE(level.showing_message);
    EXPECT_FALSE(application.game_complete);
    EXPECT_NEAR(getr(getpixel(application.canvas, 250, 120)), BACKDROP[0] * 3 / 4, 2) << "darkened";
    EXPECT_EQ(Score_Pixels(), 0);
}

TEST_F(PipeTest, CameraStaysOnTheHeroThatComesBackUpInATallLevel)
{
    // Two screen rows; the pipe stands high up, where the camera follows the
    // hero up and down, and leads to an empty level.
    Level& level = Load(0, Map_Text({{Level::BLUEJAY, 32, 40}},
                                    Ground(64, 736, {{Level::PIPE, 32, 64}, {Level::GROUND, 0, -200}}), {5}));
    ASSERT_EQ(level.screens_high, 2);
    Bluejay* hero = level.Hero();
    Tick(level);
    ASSERT_EQ(level.scroll_y, 40 - 112);
    Go_Down(level, hero);
    ASSERT_EQ(hero->state, Bluejay::IDLE);
    ASSERT_EQ(hero->y, 40);
    // Back where it stood, so the picture is back where it was.
    EXPECT_EQ(level.scroll_y, 40 - 112);
}
