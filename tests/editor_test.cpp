// The level editor tick by tick: the key-repeat rule, switching levels,
// scrolling, the palette, placing, carrying, dropping and deleting records,
// the screen settings, quitting, and the map files it writes.
//
// Every test that runs editor ticks works on a copy of data/ in a scratch
// directory, since the editor writes data/levels/level_N.map relative to the
// working directory and the game's own levels must stay untouched.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

#include "application.h"
#include "character.h"
#include "level.h"
#include "platform.h"
#include "test_support.h"

namespace
{
// The signal of each editor key.
namespace keys
{
constexpr int LEFT = Application::SIGNAL_LEFT;
constexpr int RIGHT = Application::SIGNAL_RIGHT;
constexpr int UP = Application::SIGNAL_UP;
constexpr int DOWN = Application::SIGNAL_DOWN;
constexpr int Q = Application::SIGNAL_QUIT;
constexpr int S = Application::SIGNAL_SAVE;
constexpr int J = Application::SIGNAL_CURSOR_LEFT;
constexpr int L = Application::SIGNAL_CURSOR_RIGHT;
constexpr int I = Application::SIGNAL_CURSOR_UP;
constexpr int M = Application::SIGNAL_CURSOR_DOWN;
constexpr int K = Application::SIGNAL_SELECT;
constexpr int D = Application::SIGNAL_DELETE;
constexpr int PAGE_UP = Application::SIGNAL_LEVEL_UP;
constexpr int PAGE_DOWN = Application::SIGNAL_LEVEL_DOWN;
constexpr int X = Application::SIGNAL_SCROLL_UP_1;
constexpr int Z = Application::SIGNAL_SCROLL_DOWN_1;
constexpr int V = Application::SIGNAL_SCROLL_UP_2;
constexpr int C = Application::SIGNAL_SCROLL_DOWN_2;
constexpr int N = Application::SIGNAL_SCROLL_UP_3;
constexpr int B = Application::SIGNAL_SCROLL_DOWN_3;
constexpr int DIGIT_1 = Application::SIGNAL_SCREEN_MODE;
constexpr int DIGIT_2 = Application::SIGNAL_CHARACTER_MODE;
constexpr int DIGIT_3 = Application::SIGNAL_PLATFORM_MODE;
} // namespace keys

constexpr int NONE = Application::NO_OBJECT_SELECTED;

std::string Map_Path(int level)
{
    return "data/levels/level_" + std::to_string(level) + ".map";
}

bool File_Exists(const std::string& path)
{
    return access(path.c_str(), F_OK) == 0;
}

// The first integer of a map file: the level's background.
int First_Number(const std::string& path)
{
    int value = -999;
    FILE* file = std::fopen(path.c_str(), "r");
    if (file != nullptr)
    {
        if (std::fscanf(file, "%d", &value) != 1)
            value = -999;
        std::fclose(file);
    }
    return value;
}

// The map of a level with nothing in it and every pointer 0, one integer a
// line.
std::string Empty_Map_Text(const std::string& characters = "", const std::string& platforms = "")
{
    std::string text = "0\n0\n" + characters + "-1\n" + platforms + "-1\n";
    for (int i = 0; i < Level::NUMBER_OF_POINTERS; i++)
        text += "0\n";
    return text;
}

void Expect_Record(const Map_Record& record, int type, int x, int y)
{
    EXPECT_EQ(record.type, type);
    EXPECT_EQ(record.x, x);
    EXPECT_EQ(record.y, y);
}

void Set_Record(Map_Record& record, int type, int x, int y)
{
    record.type = type;
    record.x = x;
    record.y = y;
}

// How many pixels of a box of a picture have exactly this colour.
int Pixels_Of(BITMAP* picture, int x, int y, int width, int height, int colour)
{
    int count = 0;
    for (int row = y; row < y + height; row++)
        for (int column = x; column < x + width; column++)
            if (getpixel(picture, column, row) == colour)
                count++;
    return count;
}
} // namespace

class Editor_Test : public Editor_Fixture
{
protected:
    void Start()
    {
        editor->Start_Editor();
    }

    // Removes a level's map from the copy of the data, so that the level
    // starts empty.
    void Remove_Map(int level)
    {
        std::remove(Map_Path(level).c_str());
        ASSERT_FALSE(File_Exists(Map_Path(level)));
    }

    // Empties the current level in memory.
    void Clear_Current()
    {
        Current().number_of_characters = 0;
        Current().number_of_platforms = 0;
    }

    // Walks the cursor with J, L, I and M to a place on the canvas.
    void Move_Cursor_To(int x, int y)
    {
        while (editor->cursor_x < x)
            Press(keys::L);
        while (editor->cursor_x > x)
            Press(keys::J);
        while (editor->cursor_y < y)
            Press(keys::M);
        while (editor->cursor_y > y)
            Press(keys::I);
    }

    // Steps the palette with X from the first code of the mode.
    void Choose(int type)
    {
        while (editor->current_object_type < type)
            Press(keys::X);
    }

};

// Key repeat.

TEST_F(Editor_Test, HeldRightScrollsOneStepEveryFiveTicks)
{
    Start();
    Idle(5);
    int steps = 0;
    for (int tick = 0; tick < 50; tick++)
    {
        int before = Current().scroll_x;
        Tick(keys::RIGHT);
        if (Current().scroll_x != before)
        {
            EXPECT_EQ(tick % 5, 0) << "a step in tick " << tick + 1;
            steps++;
        }
    }
    EXPECT_EQ(steps, 10);
    EXPECT_EQ(Current().scroll_x, 160);
    EXPECT_EQ(Current().scroll_y, 0);
}

TEST_F(Editor_Test, AScrollBlocksTheOtherCommandsForSixTicks)
{
    Start();
    Tick(keys::DIGIT_3);
    Idle();
    Tick(keys::RIGHT);
    ASSERT_EQ(Current().scroll_x, 16);
    for (int tick = 1; tick <= 6; tick++)
    {
        Tick(keys::X);
        EXPECT_EQ(editor->current_object_type, Level::BROWN_BLOCK) << "tick " << tick;
    }
    Tick(keys::X);
    EXPECT_EQ(editor->current_object_type, Level::CEMENT_BLOCK);
}

TEST_F(Editor_Test, ArrowsHeldWithACommandKeyStarveIt)
{
    // Each scroll step resets the shared counter before it can reach 7.
    Start();
    Tick(keys::DIGIT_3);
    Idle();
    Hold(keys::RIGHT | keys::X, 30);
    EXPECT_EQ(Current().scroll_x, 6 * 16);
    EXPECT_EQ(editor->current_object_type, Level::BROWN_BLOCK);
}

TEST_F(Editor_Test, ACommandBlocksScrollingForFourTicks)
{
    Start();
    Tick(keys::DIGIT_3);
    Press(keys::X);
    ASSERT_EQ(editor->current_object_type, Level::CEMENT_BLOCK);
    for (int tick = 1; tick <= 4; tick++)
    {
        Tick(keys::UP);
        EXPECT_EQ(Current().scroll_y, 0) << "tick " << tick;
    }
    Tick(keys::UP);
    EXPECT_EQ(Current().scroll_y, -16);
}

TEST_F(Editor_Test, FreeCommandsActInEveryTick)
{
    Start();
    // Right after a scroll the counter is 0, yet saving and the mode keys
    // still act in every tick (saving a level that changed).
    Tick(keys::RIGHT);
    const std::string path = Map_Path(0);
    for (int tick = 0; tick < 4; tick++)
    {
        ASSERT_EQ(std::remove(path.c_str()), 0);
        Current().pointers[1] = tick + 1;
        Tick(keys::S);
        EXPECT_TRUE(File_Exists(path)) << "tick " << tick;
    }
    Tick(keys::DIGIT_2);
    EXPECT_EQ(editor->editor_mode, Application::CHARACTER_MODE);
    EXPECT_EQ(editor->current_object_type, Level::BLACK_BIRD);
    Tick(keys::DIGIT_3);
    EXPECT_EQ(editor->editor_mode, Application::PLATFORM_MODE);
    EXPECT_EQ(editor->current_object_type, Level::BROWN_BLOCK);
    Tick(keys::DIGIT_1);
    EXPECT_EQ(editor->editor_mode, Application::SCREEN_MODE);
    Tick(keys::DIGIT_2);
    EXPECT_EQ(editor->editor_mode, Application::CHARACTER_MODE);
}

TEST_F(Editor_Test, EnteringAModeAgainResetsThePalette)
{
    Start();
    Tick(keys::DIGIT_2);
    Press(keys::X);
    Press(keys::X);
    ASSERT_EQ(editor->current_object_type, Level::CLAM);
    Tick(keys::DIGIT_2);
    EXPECT_EQ(editor->current_object_type, Level::BLACK_BIRD);
}

// Switching levels.

TEST_F(Editor_Test, PageUpSavesTheLevelItLeavesAndShowsTheNext)
{
    Remove_Map(4);
    Start();
    editor->current_level = 3;
    Current().background = 4;
    Current().scroll_x = 512;
    editor->levels[4]->scroll_x = 1024;
    Tick(keys::PAGE_UP);
    EXPECT_EQ(editor->current_level, 4);
    EXPECT_EQ(First_Number(Map_Path(3)), 4);
    EXPECT_FALSE(File_Exists(Map_Path(4)));
    // Each level keeps its own view.
    EXPECT_EQ(Current().scroll_x, 1024);
    Tick(keys::PAGE_DOWN);
    EXPECT_EQ(editor->current_level, 4) << "Page Down came too soon after Page Up";
    Idle(5);
    Tick(keys::PAGE_DOWN);
    EXPECT_EQ(editor->current_level, 3);
    EXPECT_EQ(Current().scroll_x, 512);
}

TEST_F(Editor_Test, HeldPageUpRepeatsEverySevenTicks)
{
    Start();
    Hold(keys::PAGE_UP, 15);
    EXPECT_EQ(editor->current_level, 3);
}

TEST_F(Editor_Test, PageUpOnTheLastLevelSavesItAndStays)
{
    Start();
    editor->current_level = 119;
    int background = First_Number(Map_Path(119)) == 6 ? 5 : 6;
    Current().background = background;
    Tick(keys::PAGE_UP);
    EXPECT_EQ(editor->current_level, 119);
    EXPECT_EQ(First_Number(Map_Path(119)), background);
}

TEST_F(Editor_Test, PageDownOnTheFirstLevelSavesItAndStays)
{
    Start();
    int background = First_Number(Map_Path(0)) == 6 ? 5 : 6;
    Current().background = background;
    Tick(keys::PAGE_DOWN);
    EXPECT_EQ(editor->current_level, 0);
    EXPECT_EQ(First_Number(Map_Path(0)), background);
}

TEST_F(Editor_Test, PageUpAndPageDownTogetherSaveBothLevelsAndComeBack)
{
    Remove_Map(4);
    Start();
    editor->current_level = 5;
    editor->levels[5]->background = 2;
    editor->levels[6]->background = 5;
    Tick(keys::PAGE_UP | keys::PAGE_DOWN);
    EXPECT_EQ(editor->current_level, 5);
    EXPECT_EQ(First_Number(Map_Path(5)), 2);
    EXPECT_EQ(First_Number(Map_Path(6)), 5);
    EXPECT_FALSE(File_Exists(Map_Path(4)));
}

TEST_F(Editor_Test, ALevelSwitchDropsTheCarriedRecord)
{
    Start();
    Tick(keys::DIGIT_3);
    Clear_Current();
    Press(keys::K);
    ASSERT_EQ(editor->selected_object, 0);
    Press(keys::PAGE_UP);
    EXPECT_EQ(editor->selected_object, NONE);
    EXPECT_EQ(editor->current_level, 1);
}

// Scrolling.

TEST_F(Editor_Test, TheViewStopsAtTheEdgesOfTheLevel)
{
    Start();
    Current().scroll_x = 12528;
    Current().scroll_y = -10736;
    Press(keys::RIGHT | keys::UP);
    EXPECT_EQ(Current().scroll_x, 12544);
    EXPECT_EQ(Current().scroll_y, -10752);
    Press(keys::RIGHT | keys::UP);
    EXPECT_EQ(Current().scroll_x, 12544);
    EXPECT_EQ(Current().scroll_y, -10752);

    Current().scroll_x = 16;
    Current().scroll_y = -16;
    Press(keys::LEFT | keys::DOWN);
    EXPECT_EQ(Current().scroll_x, 0);
    EXPECT_EQ(Current().scroll_y, 0);
    Press(keys::LEFT | keys::DOWN);
    EXPECT_EQ(Current().scroll_x, 0);
    EXPECT_EQ(Current().scroll_y, 0);
}

TEST_F(Editor_Test, LeftAndRightTogetherLeaveTheView)
{
    Start();
    Current().scroll_x = 256;
    Press(keys::LEFT | keys::RIGHT);
    EXPECT_EQ(Current().scroll_x, 256);
}

TEST_F(Editor_Test, TheCursorStaysOnTheCanvasWhileTheViewMoves)
{
    Start();
    Tick(keys::DIGIT_2);
    Move_Cursor_To(48, 32);
    Press(keys::RIGHT);
    Press(keys::UP);
    EXPECT_EQ(editor->cursor_x, 48);
    EXPECT_EQ(editor->cursor_y, 32);
    EXPECT_EQ(Current().scroll_x, 16);
    EXPECT_EQ(Current().scroll_y, -16);
}

TEST_F(Editor_Test, TheCursorStopsAtTheEdgesOfTheCanvas)
{
    Start();
    Tick(keys::DIGIT_3);
    Press(keys::J | keys::I);
    EXPECT_EQ(editor->cursor_x, 0);
    EXPECT_EQ(editor->cursor_y, 0);
    Move_Cursor_To(240, 208);
    Press(keys::L | keys::M);
    EXPECT_EQ(editor->cursor_x, 240);
    EXPECT_EQ(editor->cursor_y, 208);
}

TEST_F(Editor_Test, ScrollingDropsTheCarriedRecordWhereItIs)
{
    Start();
    Tick(keys::DIGIT_3);
    Clear_Current();
    Move_Cursor_To(32, 32);
    Press(keys::K);
    ASSERT_EQ(editor->selected_object, 0);
    Press(keys::RIGHT);
    EXPECT_EQ(editor->selected_object, NONE);
    EXPECT_EQ(Current().scroll_x, 16);
    Expect_Record(*Current().platform_records[0], Level::BROWN_BLOCK, 32, 32);
    // The keys move the cursor again, not the record.
    Press(keys::M);
    EXPECT_EQ(editor->cursor_y, 48);
    Expect_Record(*Current().platform_records[0], Level::BROWN_BLOCK, 32, 32);
}

// The palette.

TEST_F(Editor_Test, ThePaletteStopsAtBothEndsOfTheCharacterRange)
{
    Start();
    Tick(keys::DIGIT_2);
    Press(keys::Z);
    EXPECT_EQ(editor->current_object_type, Level::BLACK_BIRD);
    for (int press = 0; press < 30; press++)
        Press(keys::X);
    EXPECT_EQ(editor->current_object_type, Level::CHECKPOINT);
    Press(keys::X);
    EXPECT_EQ(editor->current_object_type, Level::CHECKPOINT);
}

TEST_F(Editor_Test, ThePaletteStopsAtBothEndsOfThePlatformRange)
{
    Start();
    Tick(keys::DIGIT_3);
    Press(keys::Z);
    EXPECT_EQ(editor->current_object_type, Level::BROWN_BLOCK);
    for (int press = 0; press < 30; press++)
        Press(keys::X);
    EXPECT_EQ(editor->current_object_type, Level::TALL_VINE);
    // Held, X repeats every seven ticks and still stops at the end.
    Hold(keys::Z, 7 * 17);
    EXPECT_EQ(editor->current_object_type, Level::BROWN_BLOCK);
}

TEST_F(Editor_Test, ZAndXTogetherLeaveTheChoice)
{
    Start();
    Tick(keys::DIGIT_2);
    Press(keys::Z | keys::X);
    EXPECT_EQ(editor->current_object_type, Level::BLACK_BIRD);
    Press(keys::X);
    Press(keys::X);
    Press(keys::Z | keys::X);
    EXPECT_EQ(editor->current_object_type, Level::CLAM);
    Choose(Level::NO_ECTO_SWITCH);
    Press(keys::Z | keys::X);
    EXPECT_EQ(editor->current_object_type, Level::NO_ECTO_SWITCH);
}

TEST_F(Editor_Test, TwoAndThreeTogetherEndInPlatformMode)
{
    Start();
    for (int tick = 0; tick < 3; tick++)
    {
        Tick(keys::DIGIT_2 | keys::DIGIT_3);
        EXPECT_EQ(editor->editor_mode, Application::PLATFORM_MODE);
        EXPECT_EQ(editor->current_object_type, Level::BROWN_BLOCK);
    }
}

TEST_F(Editor_Test, TheScreenSettingsStayInObjectModes)
{
    Start();
    Current().pointers[0] = 4;
    Current().background = 2;
    Current().music = 3;
    Tick(keys::DIGIT_2);
    Press(keys::X);
    Press(keys::Z);
    Press(keys::V);
    Press(keys::N);
    Tick(keys::DIGIT_3);
    Press(keys::C);
    Press(keys::B);
    EXPECT_EQ(Current().pointers[0], 4);
    EXPECT_EQ(Current().background, 2);
    EXPECT_EQ(Current().music, 3);
}

// Placing, carrying, dropping and deleting.

TEST_F(Editor_Test, KAtAnEmptyPlacePlacesARecordThereAndPicksItUp)
{
    Start();
    Tick(keys::DIGIT_3);
    Clear_Current();
    for (int i = 0; i < 3; i++)
        Set_Record(*Current().platform_records[i], Level::GROUND, 32 * i, 192);
    Current().number_of_platforms = 3;
    const int count = 3;
    Current().scroll_x = 512;
    Current().scroll_y = -448;
    Choose(Level::CEMENT_BLOCK);
    Move_Cursor_To(48, 96);
    Press(keys::K);
    ASSERT_EQ(Current().number_of_platforms, count + 1);
    Expect_Record(*Current().platform_records[count], Level::CEMENT_BLOCK, 560, -352);
    EXPECT_EQ(editor->selected_object, count);
}

TEST_F(Editor_Test, KOnARecordPicksItUpAndBesideItPlacesANewOne)
{
    Start();
    Tick(keys::DIGIT_3);
    Clear_Current();
    Set_Record(*Current().platform_records[0], Level::CEMENT_BLOCK, 32, 16);
    Current().number_of_platforms = 1;
    Move_Cursor_To(32, 16);
    Press(keys::K);
    EXPECT_EQ(editor->selected_object, 0);
    EXPECT_EQ(Current().number_of_platforms, 1);
    Press(keys::K);
    ASSERT_EQ(editor->selected_object, NONE);

    Move_Cursor_To(32, 0);
    Press(keys::K);
    EXPECT_EQ(editor->selected_object, 1);
    ASSERT_EQ(Current().number_of_platforms, 2);
    Expect_Record(*Current().platform_records[1], Level::BROWN_BLOCK, 32, 0);
}

TEST_F(Editor_Test, TheCarriedRecordMovesWhileTheCursorStaysPut)
{
    Start();
    Tick(keys::DIGIT_2);
    Clear_Current();
    Move_Cursor_To(64, 32);
    // The cursor moves first and K places there; the new record does not
    // move in the same tick.
    Press(keys::K | keys::M);
    ASSERT_EQ(editor->selected_object, 0);
    Map_Record& record = *Current().character_records[0];
    Expect_Record(record, Level::BLACK_BIRD, 64, 48);
    Tick(keys::M);
    EXPECT_EQ(record.y, 48);

    Press(keys::M);
    EXPECT_EQ(record.y, 64);
    // Held, the next step comes seven ticks later.
    Hold(keys::M, 6);
    EXPECT_EQ(record.y, 64);
    Tick(keys::M);
    EXPECT_EQ(record.y, 80);
    Press(keys::L);
    EXPECT_EQ(record.x, 80);
    Press(keys::J);
    Press(keys::J);
    EXPECT_EQ(record.x, 48);
    Press(keys::I);
    EXPECT_EQ(record.y, 64);
    EXPECT_EQ(editor->cursor_x, 64);
    EXPECT_EQ(editor->cursor_y, 48);
    EXPECT_EQ(editor->selected_object, 0);
}

TEST_F(Editor_Test, TheCarriedRecordStaysInView)
{
    Start();
    Tick(keys::DIGIT_3);
    Clear_Current();
    Current().scroll_x = 256;
    Current().scroll_y = -224;
    Move_Cursor_To(240, 208);
    Press(keys::K);
    Press(keys::L | keys::M);
    Expect_Record(*Current().platform_records[0], Level::BROWN_BLOCK, 256 + 240, -224 + 208);
    Press(keys::K);

    Move_Cursor_To(0, 0);
    Press(keys::K);
    ASSERT_EQ(editor->selected_object, 1);
    Press(keys::J | keys::I);
    Expect_Record(*Current().platform_records[1], Level::BROWN_BLOCK, 256, -224);
}

TEST_F(Editor_Test, ACarriedRecordOutsideTheViewIsPulledIntoIt)
{
    // The view is moved by hand here, since the arrows would drop it.
    Start();
    Tick(keys::DIGIT_3);
    Clear_Current();
    Set_Record(*Current().platform_records[0], Level::GROUND, 16, 16);
    Current().number_of_platforms = 1;
    Move_Cursor_To(16, 16);
    Press(keys::K);
    ASSERT_EQ(editor->selected_object, 0);
    Current().scroll_x = 64;
    Press(keys::M);
    Expect_Record(*Current().platform_records[0], Level::GROUND, 64, 32);
}

TEST_F(Editor_Test, KDropsTheRecordAndTheCursorIsBackAtItsPlace)
{
    Start();
    Tick(keys::DIGIT_3);
    Clear_Current();
    Move_Cursor_To(16, 16);
    Press(keys::K);
    Press(keys::M);
    Press(keys::M);
    Press(keys::K);
    EXPECT_EQ(editor->selected_object, NONE);
    Expect_Record(*Current().platform_records[0], Level::BROWN_BLOCK, 16, 48);
    EXPECT_EQ(editor->cursor_x, 16);
    EXPECT_EQ(editor->cursor_y, 16);
    // Now the keys move the cursor.
    Press(keys::M);
    EXPECT_EQ(editor->cursor_y, 32);
    Expect_Record(*Current().platform_records[0], Level::BROWN_BLOCK, 16, 48);
}

TEST_F(Editor_Test, TwoRecordsAtOnePlaceArePickedUpInListOrder)
{
    Start();
    Tick(keys::DIGIT_2);
    Clear_Current();
    Set_Record(*Current().character_records[0], Level::EGG, 32, 64);
    Set_Record(*Current().character_records[1], Level::CLAM, 32, 64);
    Current().number_of_characters = 2;
    Move_Cursor_To(32, 64);
    Press(keys::K);
    ASSERT_EQ(editor->selected_object, 0);
    Press(keys::L);
    Press(keys::K);
    Expect_Record(*Current().character_records[0], Level::EGG, 48, 64);

    Press(keys::K);
    EXPECT_EQ(editor->selected_object, 1);
    EXPECT_EQ(Current().number_of_characters, 2);
}

TEST_F(Editor_Test, DeletingARecordPutsTheLastOneInItsPlace)
{
    Start();
    Tick(keys::DIGIT_3);
    Clear_Current();
    for (int i = 0; i < 10; i++)
        Set_Record(*Current().platform_records[i], Level::BROWN_BLOCK + i, 16 * i, 32);
    Current().number_of_platforms = 10;
    Move_Cursor_To(48, 32);
    Press(keys::K);
    ASSERT_EQ(editor->selected_object, 3);
    Press(keys::D);
    EXPECT_EQ(editor->selected_object, NONE);
    ASSERT_EQ(Current().number_of_platforms, 9);
    Expect_Record(*Current().platform_records[3], Level::BROWN_BLOCK + 9, 144, 32);
    for (int i = 0; i < 9; i++)
        if (i != 3)
            Expect_Record(*Current().platform_records[i], Level::BROWN_BLOCK + i, 16 * i, 32);
}

TEST_F(Editor_Test, DeletingTheOnlyRecordEmptiesTheList)
{
    Start();
    Tick(keys::DIGIT_2);
    Clear_Current();
    Press(keys::K);
    Press(keys::D);
    EXPECT_EQ(Current().number_of_characters, 0);
    EXPECT_EQ(editor->selected_object, NONE);
    // D with nothing carried does nothing.
    Press(keys::D);
    EXPECT_EQ(Current().number_of_characters, 0);
}

TEST_F(Editor_Test, KWithDeleteDropsInsteadOfDeleting)
{
    Start();
    Tick(keys::DIGIT_3);
    Clear_Current();
    Press(keys::K);
    Press(keys::K | keys::D | keys::M);
    EXPECT_EQ(editor->selected_object, NONE);
    ASSERT_EQ(Current().number_of_platforms, 1);
    Expect_Record(*Current().platform_records[0], Level::BROWN_BLOCK, 0, 0);
}

TEST_F(Editor_Test, PlacingIntoAFullListDoesNothing)
{
    Start();
    Tick(keys::DIGIT_3);
    Level& level = Current();
    for (int i = 0; i < Level::MAX_PLATFORMS; i++)
        Set_Record(*level.platform_records[i], Level::GROUND, 512 + 32 * (i % 100), 32 * (i / 100));
    level.number_of_platforms = Level::MAX_PLATFORMS;
    Move_Cursor_To(16, 16);
    Press(keys::K);
    EXPECT_EQ(level.number_of_platforms, Level::MAX_PLATFORMS);
    EXPECT_EQ(editor->selected_object, NONE);

    // What lies under the cursor can still be picked up.
    Set_Record(*level.platform_records[4999], Level::GROUND, 16, 16);
    Press(keys::K);
    EXPECT_EQ(editor->selected_object, 4999);
}

TEST_F(Editor_Test, PlacingIntoAFullCharacterListDoesNothing)
{
    Start();
    Tick(keys::DIGIT_2);
    Level& level = Current();
    for (int i = 0; i < Level::MAX_CHARACTERS; i++)
        Set_Record(*level.character_records[i], Level::EGG, 512 + 32 * (i % 100), 32 * (i / 100));
    level.number_of_characters = Level::MAX_CHARACTERS;
    Press(keys::K);
    EXPECT_EQ(level.number_of_characters, Level::MAX_CHARACTERS);
    EXPECT_EQ(editor->selected_object, NONE);
}

TEST_F(Editor_Test, EachModeWorksOnItsOwnList)
{
    Start();
    Clear_Current();
    Tick(keys::DIGIT_2);
    Press(keys::K);
    Press(keys::K);
    Tick(keys::DIGIT_3);
    Press(keys::K);
    EXPECT_EQ(Current().number_of_characters, 1);
    EXPECT_EQ(Current().number_of_platforms, 1);
    Expect_Record(*Current().character_records[0], Level::BLACK_BIRD, 0, 0);
    Expect_Record(*Current().platform_records[0], Level::BROWN_BLOCK, 0, 0);
    // A mode switch drops what is carried.
    Tick(keys::DIGIT_2);
    EXPECT_EQ(editor->selected_object, NONE);
}

// Screen mode.

TEST_F(Editor_Test, ZAndXSetThePointerOfTheScreenAtTheLeftEdge)
{
    Start();
    Level& level = Current();
    level.scroll_x = 3 * 256 + 32;
    level.pointers[3] = 0;
    int neighbours[2] = {level.pointers[2], level.pointers[4]};
    Press(keys::Z);
    EXPECT_EQ(level.pointers[3], 0);
    Press(keys::X);
    EXPECT_EQ(level.pointers[3], 1);
    level.pointers[3] = 118;
    Press(keys::X);
    Press(keys::X);
    EXPECT_EQ(level.pointers[3], 119);
    Press(keys::Z);
    EXPECT_EQ(level.pointers[3], 118);
    EXPECT_EQ(level.pointers[2], neighbours[0]);
    EXPECT_EQ(level.pointers[4], neighbours[1]);
}

TEST_F(Editor_Test, TheLastScreenHasItsOwnPointer)
{
    Start();
    Current().scroll_x = 12544;
    Current().pointers[49] = 7;
    Press(keys::X);
    EXPECT_EQ(Current().pointers[49], 8);
}

TEST_F(Editor_Test, CAndVStepTheBackgroundWithinTheSevenPictures)
{
    Start();
    Current().background = 0;
    Press(keys::C);
    EXPECT_EQ(Current().background, 0);
    Press(keys::V);
    EXPECT_EQ(Current().background, 1);
    Current().background = 5;
    Press(keys::V);
    Press(keys::V);
    EXPECT_EQ(Current().background, 6);
}

TEST_F(Editor_Test, BAndNStepTheMusicWithinTheTenLevelTunes)
{
    Start();
    Current().music = 0;
    Press(keys::B);
    EXPECT_EQ(Current().music, 0);
    Press(keys::N);
    EXPECT_EQ(Current().music, 1);
    Current().music = 8;
    Press(keys::N);
    Press(keys::N);
    EXPECT_EQ(Current().music, 9);
    Press(keys::B);
    EXPECT_EQ(Current().music, 8);
}

TEST_F(Editor_Test, ScreenKeysDoNothingToThePaletteOrTheRecords)
{
    Start();
    int characters = Current().number_of_characters;
    int platforms = Current().number_of_platforms;
    Press(keys::K);
    Press(keys::L | keys::M);
    Press(keys::D);
    EXPECT_EQ(Current().number_of_characters, characters);
    EXPECT_EQ(Current().number_of_platforms, platforms);
    EXPECT_EQ(editor->cursor_x, 0);
    EXPECT_EQ(editor->cursor_y, 0);
    EXPECT_EQ(editor->selected_object, NONE);
}

// Quitting.

TEST_F(Editor_Test, QEndsTheTickAtOnceWithoutDrawing)
{
    Start();
    const std::string before = Read_File(Map_Path(0));
    Current().background = 6;
    const int sentinel = makecol(12, 34, 56);
    clear_to_color(editor->canvas, sentinel);
    Tick(keys::Q | keys::S | keys::RIGHT | keys::PAGE_UP | keys::DIGIT_3);
    EXPECT_TRUE(editor->quit);
    EXPECT_EQ(Pixels_Of(editor->canvas, 0, 0, 256, 224, sentinel), 256 * 224);
    EXPECT_EQ(Current().scroll_x, 0);
    EXPECT_EQ(editor->current_level, 0);
    EXPECT_EQ(editor->editor_mode, Application::SCREEN_MODE);
    EXPECT_EQ(Read_File(Map_Path(0)), before);
}

TEST_F(Editor_Test, LeavingSavesTheCurrentLevelAndSaysSo)
{
    Start();
    Tick(keys::PAGE_UP);
    Tick(keys::Q);
    ASSERT_TRUE(editor->quit);
    const std::string level_0 = Read_File(Map_Path(0));
    const std::string level_2 = Read_File(Map_Path(2));
    int background = First_Number(Map_Path(1)) == 6 ? 5 : 6;
    editor->levels[1]->background = background;
    EXPECT_TRUE(editor->Leave_Editor());
    EXPECT_EQ(First_Number(Map_Path(1)), background);
    EXPECT_EQ(Read_File(Map_Path(0)), level_0);
    EXPECT_EQ(Read_File(Map_Path(2)), level_2);
    EXPECT_EQ(Temporaries_Beside(Map_Path(1)), 0);

    // The message, white at the top-left, on black.
    const char* message = "Exiting... please wait.";
    int width = text_length(font, message);
    int height = text_height(font);
    int white = makecol(255, 255, 255);
    int white_pixels = Pixels_Of(editor->canvas, 1, 1, width, height, white);
    EXPECT_GT(white_pixels, 20);
    EXPECT_EQ(white_pixels + Pixels_Of(editor->canvas, 1, 1, width, height, 0), width * height);
    EXPECT_EQ(Pixels_Of(editor->canvas, 0, 1 + height, 256, 224 - 1 - height, 0), 256 * (223 - height));
}

// The map files.

TEST_F(Editor_Test, AMissingMapIsSavedWhole)
{
    Remove_Map(7);
    Start();
    editor->current_level = 7;
    // Untouched, it is not written; once edited, it is written whole.
    Tick(keys::S);
    EXPECT_FALSE(File_Exists(Map_Path(7)));
    Press(keys::X);
    Tick(keys::S);
    std::string one_pointer = Empty_Map_Text();
    one_pointer.replace(one_pointer.find("-1\n-1\n0\n"), 8, "-1\n-1\n1\n");
    EXPECT_EQ(Read_File(Map_Path(7)), one_pointer);
    Press(keys::Z);

    Tick(keys::DIGIT_2);
    Choose(Level::BLUEJAY);
    Move_Cursor_To(32, 160);
    Press(keys::K);
    Press(keys::K);
    Tick(keys::DIGIT_3);
    Choose(Level::GROUND);
    Move_Cursor_To(32, 192);
    Press(keys::K);
    Press(keys::K);
    Tick(keys::S);
    EXPECT_EQ(Read_File(Map_Path(7)), Empty_Map_Text("2\n32\n160\n", "1005\n32\n192\n"));
}

TEST_F(Editor_Test, ASavedMapPlaysWithTheSameObjectsInTheSameOrder)
{
    Remove_Map(9);
    Start();
    editor->current_level = 9;
    struct Placed
    {
        int mode, type, x, y;
    };
    const Placed placed[] = {
        {keys::DIGIT_2, Level::EGG, 96, 176},        {keys::DIGIT_2, Level::BLUEJAY, 32, 160},
        {keys::DIGIT_2, Level::BLACK_BIRD, 160, 160}, {keys::DIGIT_3, Level::GROUND, 0, 192},
        {keys::DIGIT_3, Level::PIPE, 64, 160},        {keys::DIGIT_3, Level::BROWN_BLOCK, 128, 96},
    };
    for (const Placed& object : placed)
    {
        Tick(object.mode);
        Choose(object.type);
        Move_Cursor_To(object.x, object.y);
        Press(keys::K);
        Press(keys::K);
    }
    // One more screen to the right and one row up, for negative positions.
    Press(keys::RIGHT);
    Press(keys::UP);
    Press(keys::K);
    Press(keys::K);
    Tick(keys::S);

    Level play;
    play.Load(Map_Path(9).c_str());
    ASSERT_EQ(play.number_of_characters, 3);
    ASSERT_EQ(play.number_of_platforms, 4);
    for (int i = 0; i < 3; i++)
    {
        EXPECT_EQ(play.characters[i]->type, placed[i].type) << "character " << i;
        EXPECT_EQ(play.characters[i]->x, placed[i].x) << "character " << i;
        EXPECT_EQ(play.characters[i]->y, placed[i].y) << "character " << i;
    }
    EXPECT_EQ(play.main_character, 1);
    for (int i = 0; i < 3; i++)
    {
        EXPECT_EQ(play.platforms[i]->type, placed[3 + i].type) << "platform " << i;
        EXPECT_EQ(play.platforms[i]->x, placed[3 + i].x) << "platform " << i;
        EXPECT_EQ(play.platforms[i]->y, placed[3 + i].y) << "platform " << i;
    }
    EXPECT_EQ(play.platforms[3]->type, Level::BROWN_BLOCK);
    EXPECT_EQ(play.platforms[3]->x, 16 + 128);
    EXPECT_EQ(play.platforms[3]->y, -16 + 96);
}

TEST_F(Editor_Test, UnvisitedLevelsAreNeverWritten)
{
    const std::string level_1 = Read_File(Map_Path(1));
    Remove_Map(3);
    Start();
    Tick(keys::S);
    Tick(keys::Q);
    editor->Leave_Editor();
    EXPECT_EQ(Read_File(Map_Path(1)), level_1);
    EXPECT_FALSE(File_Exists(Map_Path(3)));
}

TEST_F(Editor_Test, SavingIntoADirectoryThatIsGoneFails)
{
    Start();
    std::string remove = "rm -rf '" + directory.Path("data/levels") + "'";
    ASSERT_EQ(std::system(remove.c_str()), 0);
    Current().background = 3;
    EXPECT_FALSE(editor->Save_Current_Level());
    // The editor goes on.
    Tick(keys::S);
    Tick(keys::RIGHT);
    EXPECT_EQ(Current().scroll_x, 16);
}

// Finding the record under the cursor.

TEST_F(Editor_Test, SelectObjectFindsOnlyARecordExactlyAtTheCursor)
{
    Level& level = Current();
    Set_Record(*level.platform_records[0], Level::GROUND, 33, 16);
    Set_Record(*level.platform_records[1], Level::GROUND, 32, 17);
    Set_Record(*level.platform_records[2], Level::GROUND, 32, 16);
    Set_Record(*level.platform_records[3], Level::GROUND, 32, 16);
    Set_Record(*level.platform_records[4], Level::GROUND, 256 + 32, -224 + 16);
    level.number_of_platforms = 5;
    level.number_of_characters = 0;
    editor->editor_mode = Application::PLATFORM_MODE;
    editor->cursor_x = 32;
    editor->cursor_y = 16;

    editor->Select_Object();
    EXPECT_EQ(editor->selected_object, 2);

    level.scroll_x = 256;
    level.scroll_y = -224;
    editor->Select_Object();
    EXPECT_EQ(editor->selected_object, 4);

    level.scroll_x = 16;
    level.scroll_y = 0;
    editor->selected_object = 3;
    editor->Select_Object();
    EXPECT_EQ(editor->selected_object, NONE);

    // Character mode searches the characters only.
    level.scroll_x = 0;
    editor->editor_mode = Application::CHARACTER_MODE;
    editor->Select_Object();
    EXPECT_EQ(editor->selected_object, NONE);
    Set_Record(*level.character_records[0], Level::EGG, 32, 16);
    level.number_of_characters = 1;
    editor->Select_Object();
    EXPECT_EQ(editor->selected_object, 0);

    // Records past the count are not in the list.
    level.number_of_characters = 0;
    editor->Select_Object();
    EXPECT_EQ(editor->selected_object, NONE);

    // Screen mode leaves the selection alone.
    editor->editor_mode = Application::SCREEN_MODE;
    editor->selected_object = 5;
    editor->Select_Object();
    EXPECT_EQ(editor->selected_object, 5);
}

// The pictures of the object types.

TEST(Editor_Pictures, TheHeroAndTheBrownBlock)
{
    EXPECT_EQ(Application::Get_Object_Bitmap(Level::BLUEJAY), 11);
    EXPECT_EQ(Application::Get_Object_Bitmap(Level::BROWN_BLOCK), 9);
}

TEST(Editor_Pictures, EveryTypeHasItsPicture)
{
    const int characters[] = {7,  11, 20, 21, 22, 25, 33, 34, 30, 31, 32, 37, 42, 45,
                              48, 49, 51, 52, 56, 57, 58, 59, 62, 64, 67, 69, 70, 77, 78};
    for (int type = Level::BLACK_BIRD; type <= Level::CHECKPOINT; type++)
        EXPECT_EQ(Application::Get_Object_Bitmap(type), characters[type - Level::BLACK_BIRD]) << "type " << type;
    const int platforms[] = {9, 10, 16, 17, 18, 24, 27, 29, 35, 36, 44, 61, 63, 65, 66, 72, 74, 75};
    for (int type = Level::BROWN_BLOCK; type <= Level::TALL_VINE; type++)
        EXPECT_EQ(Application::Get_Object_Bitmap(type), platforms[type - Level::BROWN_BLOCK]) << "type " << type;
}

TEST(Editor_Pictures, EveryTypeGivesAnIndexOfTheTable)
{
    for (int type = Level::BLACK_BIRD; type <= Level::CHECKPOINT; type++)
    {
        EXPECT_GE(Application::Get_Object_Bitmap(type), 0) << "type " << type;
        EXPECT_LT(Application::Get_Object_Bitmap(type), Application::NUMBER_OF_BITMAPS) << "type " << type;
    }
    for (int type = Level::BROWN_BLOCK; type <= Level::TALL_VINE; type++)
    {
        EXPECT_GE(Application::Get_Object_Bitmap(type), 0) << "type " << type;
        EXPECT_LT(Application::Get_Object_Bitmap(type), Application::NUMBER_OF_BITMAPS) << "type " << type;
    }
}

TEST(Editor_Pictures, AnUnknownCodeGetsTheStopperPicture)
{
    for (int type : {0, 30, 999, 1018, -1, 2000, -1000000})
        EXPECT_EQ(Application::Get_Object_Bitmap(type), Application::STOPPER_BM) << "type " << type;
}
