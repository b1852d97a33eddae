// The editor at an author's speed, driven through the library's mouse
// callback and variables and the real key state: one click per object,
// picking by the picture, painting, deleting and taking a type with the
// other buttons, selections and the clipboard, a screen per Shift+arrow, the
// typed pipe pointer and trying the level from the cursor.

#include <gtest/gtest.h>

#include <string>

#include "application.h"
#include "bluejay.h"
#include "edit_history.h"
#include "editor_selection.h"
#include "level.h"
#include "string_list.h"
#include "test_support.h"

namespace
{
constexpr int RIGHT = Application::SIGNAL_RIGHT;
constexpr int S = Application::SIGNAL_SAVE;
constexpr int C = Application::SIGNAL_SCROLL_DOWN_2;
constexpr int X = Application::SIGNAL_SCROLL_UP_1;
constexpr int V = Application::SIGNAL_SCROLL_UP_2;
constexpr int Z = Application::SIGNAL_SCROLL_DOWN_1;
constexpr int PAGE_UP = Application::SIGNAL_LEVEL_UP;
constexpr int PAGE_DOWN = Application::SIGNAL_LEVEL_DOWN;
constexpr int PLATFORM_MODE = Application::SIGNAL_PLATFORM_MODE;
constexpr int CHARACTER_MODE = Application::SIGNAL_CHARACTER_MODE;
constexpr int SCREEN_MODE = Application::SIGNAL_SCREEN_MODE;
} // namespace

class Editor_Quick_Edits_Test : public Editor_Fixture
{
protected:
    void SetUp() override
    {
        Editor_Fixture::SetUp();
        if (HasFatalFailure())
            return;
        mouse_x = mouse_y = mouse_z = mouse_b = 0;
        editor->Start_Editor();
        Idle();
        Current().number_of_characters = 0;
        Current().number_of_platforms = 0;
        editor->edit_history->Watch(editor->current_level, Current());
    }

    void TearDown() override
    {
        for (int code : {KEY_LCONTROL, KEY_LSHIFT, KEY_ALT, KEY_T, KEY_9, KEY_9_PAD, KEY_DEL})
            key[code] = 0;
        mouse_b = 0;
        Editor_Fixture::TearDown();
    }

    void Point(int x, int y)
    {
        mouse_x = x;
        mouse_y = y;
    }

    // A touchpad tap: down and up between two ticks, mouse_b never set.
    void Tap(int x, int y, int down = MOUSE_FLAG_LEFT_DOWN, int up = MOUSE_FLAG_LEFT_UP)
    {
        Point(x, y);
        mouse_callback(down);
        mouse_callback(up);
        Tick();
    }

    void Press_With(std::initializer_list<int> key_codes, int signals = 0)
    {
        Idle();
        for (int code : key_codes)
            key[code] = 1;
        Tick(signals);
        for (int code : key_codes)
            key[code] = 0;
        Tick();
    }

    int Platforms() { return Current().number_of_platforms; }
    const Map_Record& Platform(int i) { return *Current().platform_records[i]; }
    std::string Notice() { return editor->editor_notice_ticks > 0 ? editor->editor_notice : ""; }
};

TEST_F(Editor_Quick_Edits_Test, ClicksPlacePickPaintDeleteAndTakeTheType)
{
    Tick(PLATFORM_MODE);
    // A tap places one block and carries nothing.
    Tap(50, 40);
    ASSERT_EQ(Platforms(), 1);
    EXPECT_EQ(Platform(0).x, 48);
    EXPECT_EQ(Platform(0).y, 32);
    EXPECT_EQ(editor->selected_object, Application::NO_OBJECT_SELECTED);
    Point(120, 40);
    Tick();
    EXPECT_EQ(Platform(0).x, 48);

    // A tap on the block's far corner picks it; a drag moves it.
    Tap(63, 47);
    EXPECT_EQ(Platforms(), 1);
    EXPECT_EQ(editor->editor_selection->members, std::vector<int>{0});
    Point(62, 46);
    mouse_b = 1;
    Tick();
    Point(94, 46);
    Tick();
    mouse_b = 0;
    Tick();
    EXPECT_EQ(Platform(0).x, 80);
    EXPECT_EQ(Platforms(), 1);

    // A drag from an empty cell paints five cells, one undo step.
    int steps = editor->edit_history->Undo_Steps(0);
    Point(0, 100);
    mouse_b = 1;
    Tick();
    Point(40, 100);
    Tick();
    Point(70, 100);
    Tick();
    mouse_b = 0;
    Tick();
    EXPECT_EQ(Platforms(), 6);
    EXPECT_EQ(editor->edit_history->Undo_Steps(0), steps + 1);
    EXPECT_EQ(Platform(5).x, 64);

    // The middle button takes the type under it; the right one deletes.
    Press_With({KEY_LCONTROL}, Z);
    EXPECT_EQ(Platforms(), 1);
    *Current().platform_records[0] = {80, 32, Level::CHERRY};
    Tap(85, 36, MOUSE_FLAG_MIDDLE_DOWN, MOUSE_FLAG_MIDDLE_UP);
    EXPECT_EQ(editor->current_object_type, Level::CHERRY);
    Tap(85, 36, MOUSE_FLAG_RIGHT_DOWN, MOUSE_FLAG_RIGHT_UP);
    EXPECT_EQ(Platforms(), 0);

    // A full level says so.
    for (int i = 0; i < Level::MAX_PLATFORMS; i++)
        *Current().platform_records[i] = {0, 0, Level::BROWN_BLOCK};
    Current().number_of_platforms = Level::MAX_PLATFORMS;
    Tap(200, 200);
    EXPECT_EQ(Platforms(), Level::MAX_PLATFORMS);
    EXPECT_EQ(Notice(), "Level 0 is full: no room for another platform");
}

TEST_F(Editor_Quick_Edits_Test, TheTopmostIsPickedThenTheOneBeneath)
{
    Tick(PLATFORM_MODE);
    *Current().platform_records[0] = {0, 0, Level::BROWN_BLOCK};
    *Current().platform_records[1] = {0, 0, Level::BROWN_BLOCK};
    Current().number_of_platforms = 2;
    Tap(5, 5);
    EXPECT_EQ(editor->editor_selection->members, std::vector<int>{1});
    Tap(5, 5);
    EXPECT_EQ(editor->editor_selection->members, std::vector<int>{0});
    EXPECT_EQ(Platforms(), 2);
}

TEST_F(Editor_Quick_Edits_Test, SelectionsCopyCutAndPasteAcrossLevelsAndUndo)
{
    Tick(PLATFORM_MODE);
    for (int i = 0; i < 3; i++)
        *Current().platform_records[i] = {16 * i, 160, Level::GROUND};
    *Current().platform_records[3] = {200, 16, Level::CHERRY};
    Current().number_of_platforms = 4;
    editor->edit_history->Watch(0, Current());
    std::string level_0 = Current().Map_Text();

    // Shift+drag over the three ground blocks.
    key[KEY_LSHIFT] = 1;
    Point(2, 150);
    mouse_b = 1;
    Tick();
    Point(40, 170);
    Tick();
    mouse_b = 0;
    Tick();
    key[KEY_LSHIFT] = 0;
    EXPECT_EQ(editor->editor_selection->members.size(), 3u);
    Press_With({KEY_LCONTROL}, C);
    EXPECT_EQ(Notice(), "Copied 3 objects");

    // To level 1, pasted at the pointer, carried until a click.
    Press(PAGE_UP);
    ASSERT_EQ(editor->current_level, 1);
    Current().number_of_platforms = 0;
    editor->edit_history->Watch(1, Current());
    Point(100, 50);
    Tick();
    Press_With({KEY_LCONTROL}, V);
    Point(130, 80);
    Tick();
    Tap(130, 80);
    ASSERT_EQ(Platforms(), 3);
    EXPECT_EQ(Platform(0).x, 128);
    EXPECT_EQ(Platform(2).x, 160);
    EXPECT_EQ(Platform(2).y, 80);
    EXPECT_EQ(editor->edit_history->Undo_Steps(1), 1);

    // Ctrl+Right moves them a cell; Ctrl+D doubles them beside; Delete.
    Press_With({KEY_LCONTROL}, RIGHT);
    EXPECT_EQ(Platform(0).x, 144);
    Press_With({KEY_LCONTROL}, Application::SIGNAL_DELETE);
    ASSERT_EQ(Platforms(), 6);
    EXPECT_EQ(Platform(3).x, 208);
    Press_With({KEY_DEL});
    EXPECT_EQ(Platforms(), 3);

    // Back on level 0, Ctrl+X cuts; undo brings the blocks back.
    Press(PAGE_DOWN);
    key[KEY_LSHIFT] = 1;
    Point(2, 150);
    mouse_b = 1;
    Tick();
    Point(40, 170);
    mouse_b = 0;
    Tick();
    key[KEY_LSHIFT] = 0;
    Press_With({KEY_LCONTROL}, X);
    EXPECT_EQ(Platforms(), 1);
    Press_With({KEY_LCONTROL}, Z);
    EXPECT_EQ(Current().Map_Text(), level_0);
}

TEST_F(Editor_Quick_Edits_Test, ShiftRightHeldAFifthOfASecondMovesOneScreen)
{
    key[KEY_LSHIFT] = 1;
    Hold(RIGHT, 7);
    EXPECT_EQ(Current().scroll_x, 256);
    // Only a clear hold repeats.
    Hold(RIGHT, 20);
    EXPECT_GT(Current().scroll_x, 256);
    key[KEY_LSHIFT] = 0;
}

TEST_F(Editor_Quick_Edits_Test, ATypedPointerIsOneStepAndNamesTheLevel)
{
    Tick(SCREEN_MODE);
    Current().scroll_x = 512;
    int steps = editor->edit_history->Undo_Steps(0);
    // Enter opens the field; then 1 types instead of choosing a mode.
    constexpr int ENTER = Application::SIGNAL_START;
    for (int signal : {ENTER, SCREEN_MODE, SCREEN_MODE})
        Press_With({}, signal);
    Press_With({KEY_9});
    Press_With({}, ENTER);
    EXPECT_EQ(Current().pointers[2], 119);
    EXPECT_EQ(editor->current_level, 0);
    EXPECT_EQ(editor->editor_mode, Application::SCREEN_MODE);
    EXPECT_EQ(editor->edit_history->Undo_Steps(0), steps + 1);
    // A digit of the keypad opens it too.
    Press_With({KEY_9_PAD});
    Press_With({}, ENTER);
    EXPECT_EQ(Current().pointers[2], 9);
    int line = text_height(font) + 1;
    std::string name = editor->messages[9]->number_of_strings > 0 ? editor->messages[9]->strings[0] : "";
    EXPECT_TRUE(Shows_Text(Application::STATUS_X, 2 + 4 * line, "pipe 2: 9 " + name));
}

TEST_F(Editor_Quick_Edits_Test, ShiftTStartsAtTheCursorAndSavingSaysSo)
{
    Tick(CHARACTER_MODE);
    *Current().character_records[0] = {32, 128, Level::BLUEJAY};
    Current().number_of_characters = 1;
    Press(S);
    EXPECT_EQ(Notice(), "Saved level 0");
    std::string map = Read_File("data/levels/level_0.map");
    Point(160, 64);
    Tick();
    Press_With({KEY_LSHIFT, KEY_T});
    ASSERT_NE(editor->test_play_level, nullptr);
    Bluejay* hero = editor->test_play_level->Hero();
    ASSERT_NE(hero, nullptr);
    EXPECT_EQ(hero->start_x, 160);
    EXPECT_EQ(hero->start_y, 64);
    Press_With({KEY_T});
    EXPECT_EQ(editor->test_play_level, nullptr);
    Press(S);
    EXPECT_EQ(Read_File("data/levels/level_0.map"), map);
    EXPECT_EQ(Current().character_records[0]->x, 32);
}
