// The editor's tools beyond the keys of the signal word, driven through the
// real key, modifier and mouse state: undo and redo, trying a level, the
// status lines, the help, the faster moves, the mouse and the warnings when
// saving.

#include <gtest/gtest.h>

#include <string>

#include "application.h"
#include "bluejay.h"
#include "edit_history.h"
#include "level.h"
#include "test_support.h"

namespace
{
constexpr int K = Application::SIGNAL_SELECT;
constexpr int M = Application::SIGNAL_CURSOR_DOWN;
constexpr int D = Application::SIGNAL_DELETE;
constexpr int Z = Application::SIGNAL_SCROLL_DOWN_1;
constexpr int X = Application::SIGNAL_SCROLL_UP_1;
constexpr int V = Application::SIGNAL_SCROLL_UP_2;
constexpr int C = Application::SIGNAL_SCROLL_DOWN_2;
constexpr int N = Application::SIGNAL_SCROLL_UP_3;
constexpr int S = Application::SIGNAL_SAVE;
constexpr int RIGHT = Application::SIGNAL_RIGHT;
constexpr int UP = Application::SIGNAL_UP;
constexpr int PAGE_UP = Application::SIGNAL_LEVEL_UP;
constexpr int SCREEN_MODE = Application::SIGNAL_SCREEN_MODE;
constexpr int CHARACTER_MODE = Application::SIGNAL_CHARACTER_MODE;
constexpr int PLATFORM_MODE = Application::SIGNAL_PLATFORM_MODE;
} // namespace

class Editor_Tools_Test : public Editor_Fixture
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
    }

    void TearDown() override
    {
        for (int code : {KEY_LCONTROL, KEY_LSHIFT, KEY_T, KEY_Y, KEY_F1, KEY_ESC, KEY_HOME})
            key[code] = 0;
        Editor_Fixture::TearDown();
    }

    // A key pressed once, after a pause, with further keys held too.
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

    void Undo() { Press_With({KEY_LCONTROL}, Z); }

    // The current level emptied, its change taken as the base of the next
    // step.
    void Empty_Level()
    {
        Current().number_of_characters = 0;
        Current().number_of_platforms = 0;
        editor->edit_history->Watch(editor->current_level, Current());
    }

    void Place_Hero_On_Pipe(int pointer)
    {
        Empty_Level();
        *Current().character_records[0] = {32, 136, Level::BLUEJAY};
        *Current().platform_records[0] = {32, 160, Level::PIPE};
        Current().number_of_characters = 1;
        Current().number_of_platforms = 1;
        Current().pointers[0] = pointer;
    }

    std::string Notice() { return editor->editor_notice_ticks > 0 ? editor->editor_notice : ""; }
};

TEST_F(Editor_Tools_Test, UndoAndRedoRoundTripEveryKindOfChange)
{
    Empty_Level();
    std::vector<std::string> stages = {Current().Map_Text()};
    auto stage = [&] { stages.push_back(Current().Map_Text()); };
    Tick(CHARACTER_MODE);
    Press(K); // a character placed, carried
    Press(K); // dropped
    stage();
    Tick(PLATFORM_MODE);
    Press(K); // a platform placed
    stage();
    Press(M); // two moves of the carried platform make one step
    Press(M);
    Press(K); // dropped
    stage();
    Press(M); // the cursor to the platform, which is picked up again and
    Press(M); // deleted
    Press(K);
    Press(D);
    stage();
    Tick(SCREEN_MODE);
    Press(X); // the pointer of screen 0
    stage();
    Press(V); // the background
    stage();
    Press(N); // the music
    stage();
    ASSERT_EQ(editor->edit_history->Undo_Steps(0), 7);

    for (int i = static_cast<int>(stages.size()) - 2; i >= 0; i--)
    {
        Undo();
        EXPECT_EQ(Current().Map_Text(), stages[i]) << "after undoing to stage " << i;
    }
    Undo();
    EXPECT_EQ(Notice(), "Nothing to undo");
    for (size_t i = 1; i < stages.size(); i++)
    {
        // Ctrl+Y and Ctrl+Shift+Z both redo.
        if (i % 2 == 0)
            Press_With({KEY_LCONTROL, KEY_Y});
        else
            Press_With({KEY_LCONTROL, KEY_LSHIFT}, Z);
        EXPECT_EQ(Current().Map_Text(), stages[i]) << "after redoing stage " << i;
    }
}

TEST_F(Editor_Tools_Test, CtrlAndShiftKeepTheSpecifiedCommandOfTheSameKeyFromRunning)
{
    Tick(PLATFORM_MODE);
    Press(X);
    ASSERT_EQ(editor->current_object_type, Level::CEMENT_BLOCK);
    Undo();
    EXPECT_EQ(editor->current_object_type, Level::CEMENT_BLOCK);
    Press_With({KEY_LSHIFT}, RIGHT);
    EXPECT_EQ(Current().scroll_x, Application::CANVAS_WIDTH);
    Press_With({KEY_LSHIFT}, UP);
    EXPECT_EQ(Current().scroll_y, -Application::CANVAS_HEIGHT);
    // Shift does not stop a key that has no command of its own with it.
    Press_With({KEY_LSHIFT}, X);
    EXPECT_EQ(editor->current_object_type, Level::BIG_BUSH);
    Press_With({KEY_HOME});
    EXPECT_EQ(Current().scroll_x, 0);
    EXPECT_EQ(Current().scroll_y, 0);
}

TEST_F(Editor_Tools_Test, TwoHundredStepsAreKeptPerLevel)
{
    Tick(SCREEN_MODE);
    int background = Current().background;
    for (int i = 0; i < 210; i++)
        Press(i % 2 == 0 ? (background < Application::BLACK_BACKGROUND_BM ? V : C)
                         : (background < Application::BLACK_BACKGROUND_BM ? C : V));
    EXPECT_EQ(editor->edit_history->Undo_Steps(0), 210);
    for (int i = 0; i < 209; i++)
        Undo();
    EXPECT_NE(Current().background, background);
    Undo();
    EXPECT_EQ(Current().background, background);
    EXPECT_EQ(editor->edit_history->Redo_Steps(0), 210);
}

TEST_F(Editor_Tools_Test, ShiftPageUpSavesAndMovesTenLevels)
{
    std::remove("data/levels/level_0.map");
    Current().music = 3;
    Press_With({KEY_LSHIFT}, PAGE_UP);
    EXPECT_EQ(editor->current_level, 10);
    EXPECT_EQ(Read_File("data/levels/level_0.map"), editor->levels[0]->Map_Text());
}

TEST_F(Editor_Tools_Test, TryingALevelPlaysItAndReturnsWithTheRecordsAsTheyWere)
{
    std::string map = Read_File("data/levels/level_0.map");
    Current().scroll_x = 512;
    std::string records = Current().Map_Text();
    Press_With({KEY_T});
    ASSERT_NE(editor->test_play_level, nullptr);
    Bluejay* hero = editor->test_play_level->Hero();
    ASSERT_NE(hero, nullptr);
    Hold(0, 20);
    // The level's message, if it opens with one, is closed with Enter.
    Tick(Application::SIGNAL_START);
    Hold(0, 5);
    ASSERT_FALSE(editor->test_play_level->showing_message);
    int start_x = hero->x;
    // The hero moves sideways while it jumps.
    Hold(RIGHT | UP, 12);
    EXPECT_GT(hero->x, start_x);
    EXPECT_EQ(hero->lives, 3);
    Press_With({KEY_ESC});
    EXPECT_EQ(editor->test_play_level, nullptr);
    EXPECT_EQ(Current().Map_Text(), records);
    EXPECT_EQ(Current().scroll_x, 512);
    EXPECT_EQ(Read_File("data/levels/level_0.map"), map);
    EXPECT_EQ(editor->edit_history->Undo_Steps(0), 0);

    // T ends a try as Esc does.
    Press_With({KEY_T});
    ASSERT_NE(editor->test_play_level, nullptr);
    Press_With({KEY_T});
    EXPECT_EQ(editor->test_play_level, nullptr);
}

TEST_F(Editor_Tools_Test, ATryEndsSayingWhyAtAPipeOrTheLastLife)
{
    Place_Hero_On_Pipe(7);
    Press_With({KEY_T});
    ASSERT_NE(editor->test_play_level, nullptr);
    Hold(0, 10);
    Hold(Application::SIGNAL_DOWN, 2);
    Hold(0, 30);
    EXPECT_EQ(editor->test_play_level, nullptr);
    EXPECT_EQ(Notice(), "The hero went down a pipe\nto level 7");
    EXPECT_EQ(editor->current_level, 0);

    Press_With({KEY_T});
    ASSERT_NE(editor->test_play_level, nullptr);
    for (int tick = 0; tick < 3000 && editor->test_play_level != nullptr; tick++)
        Tick(tick % 40 == 0 ? D : 0);
    EXPECT_EQ(editor->test_play_level, nullptr);
    EXPECT_EQ(Notice(), "Game over: all lives lost");
    EXPECT_FALSE(editor->game_over);
}

TEST_F(Editor_Tools_Test, ALevelWithoutAHeroSaysSoInsteadOfPlaying)
{
    Empty_Level();
    Press_With({KEY_T});
    EXPECT_EQ(editor->test_play_level, nullptr);
    EXPECT_EQ(Notice(), "Level 0 has no hero to play");
}

TEST_F(Editor_Tools_Test, TheStatusLinesNameTheTypeThePlaceAndTheCounts)
{
    int line = text_height(font) + 1;
    Tick(CHARACTER_MODE);
    for (int i = 0; i < 14; i++)
        Press(X);
    Current().scroll_x = 256;
    Current().scroll_y = -224;
    Press(M);
    Press(M);
    EXPECT_TRUE(Shows_Text(Application::STATUS_X, 2 + 2 * line, "PIPE_SWITCH 15"));
    EXPECT_TRUE(Shows_Text(Application::STATUS_X, 2 + 4 * line, "256,-192 screen 1,1"));
    EXPECT_TRUE(Shows_Text(Application::STATUS_X, 2 + 5 * line,
                           "platforms " + std::to_string(Current().number_of_platforms) + "/5000"));
    Tick(PLATFORM_MODE);
    for (int i = 0; i < 13; i++)
        Press(X);
    EXPECT_TRUE(Shows_Text(Application::STATUS_X, 2 + 2 * line, "STONE_WALL 1013"));
    Tick(SCREEN_MODE);
    // Screen mode names the tune and the background.
    Current().music = Application::BATTLE_MT;
    Current().background = Application::FOREST_BACKGROUND_BM;
    Tick();
    EXPECT_TRUE(Shows_Text(Application::STATUS_X, 2 + 2 * line, "music 7: battle"));
    EXPECT_TRUE(Shows_Text(Application::STATUS_X, 2 + 3 * line, "background 2: forest"));
}

TEST_F(Editor_Tools_Test, WithTheSettingEachModeKeepsItsLastType)
{
    editor->keep_palette = true;
    Tick(PLATFORM_MODE);
    Press(X);
    Tick(CHARACTER_MODE);
    EXPECT_EQ(editor->current_object_type, Level::BLACK_BIRD);
    Press(X);
    Tick(PLATFORM_MODE);
    EXPECT_EQ(editor->current_object_type, Level::CEMENT_BLOCK);
    Tick(CHARACTER_MODE);
    EXPECT_EQ(editor->current_object_type, Level::BLUEJAY);
}

TEST_F(Editor_Tools_Test, TheHelpListsEveryKeyOfTheModeUntilF1OrEsc)
{
    const std::vector<std::string> every_mode = {"Q", "S", "1 2 3", "PgUp PgDn", "Shift+PgUp/Dn", "arrows",
                                                 "Shift+arrows", "Home", "Z X", "Ctrl+Z", "Ctrl+Y",
                                                 "Ctrl+Shift+Z", "T", "F1", "Esc"};
    const std::vector<std::string> screen = {"C V", "B N"};
    const std::vector<std::string> objects = {"I J L M", "K", "D"};
    for (int mode : {SCREEN_MODE, PLATFORM_MODE})
    {
        Tick(mode);
        Press_With({KEY_F1});
        ASSERT_TRUE(editor->editor_help_shown);
        char lines[Application::HELP_LINES][Application::EDITOR_LINE_LENGTH];
        int count = 0;
        editor->Editor_Help_Lines(lines, count, Application::HELP_LINES - 1);
        std::vector<std::string> keys = every_mode;
        for (const std::string& more : mode == SCREEN_MODE ? screen : objects)
            keys.push_back(more);
        for (const std::string& wanted : keys)
        {
            bool listed = false;
            for (int i = 0; i < count; i++)
                listed = listed || std::string(lines[i]).rfind(wanted + " ", 0) == 0;
            EXPECT_TRUE(listed) << wanted;
        }
        for (int i = 0; i < count && i < Application::HELP_PAGE_LINES; i++)
            EXPECT_TRUE(Shows_Text(0, 1 + (i + 1) * (text_height(font) + 1), lines[i])) << lines[i];
        // Nothing else acts while the help is shown.
        int platforms = Current().number_of_platforms;
        Press(K);
        EXPECT_EQ(Current().number_of_platforms, platforms);
        // F1 turns to the second page, and closes after it; Esc closes.
        if (mode == SCREEN_MODE)
        {
            Press_With({KEY_F1});
            EXPECT_TRUE(editor->editor_help_shown);
            EXPECT_EQ(editor->editor_help_page, 1);
        }
        Press_With({mode == SCREEN_MODE ? KEY_F1 : KEY_ESC});
        EXPECT_FALSE(editor->editor_help_shown);
    }
}

TEST_F(Editor_Tools_Test, TheMouseMovesTheCursorAndDropsWhatKCarriesAndScrolls)
{
    Empty_Level();
    Tick(PLATFORM_MODE);
    mouse_x = 50;
    mouse_y = 40;
    Tick();
    EXPECT_EQ(editor->cursor_x, 48);
    EXPECT_EQ(editor->cursor_y, 32);
    // K carries; the carried block stays put while the mouse moves, and a
    // click drops it.
    Press(K);
    ASSERT_EQ(Current().number_of_platforms, 1);
    EXPECT_EQ(editor->selected_object, 0);
    mouse_x = 120;
    Tick();
    EXPECT_EQ(Current().platform_records[0]->x, 48);
    mouse_b = 1;
    Tick();
    mouse_b = 0;
    Tick();
    EXPECT_EQ(editor->selected_object, Application::NO_OBJECT_SELECTED);
    EXPECT_EQ(Current().number_of_platforms, 1);

    mouse_z = 2;
    Tick();
    EXPECT_EQ(Current().scroll_y, -32);
    Current().scroll_x = 64;
    key[KEY_LSHIFT] = 1;
    mouse_z = 1;
    Tick();
    key[KEY_LSHIFT] = 0;
    EXPECT_EQ(Current().scroll_x, 80);
}

TEST_F(Editor_Tools_Test, SavingWarnsOfHeroesAndOfPipesToLevelsWithoutOne)
{
    Empty_Level();
    Press(S);
    EXPECT_EQ(Notice(), "Saved, but level 0 has 0 heroes");
    Place_Hero_On_Pipe(5);
    editor->levels[5]->number_of_characters = 0;
    Press(S);
    EXPECT_EQ(Notice(), "Saved, but the pipe of screen 0\nleads to level 5: it has no hero");
    EXPECT_EQ(Read_File("data/levels/level_0.map"), Current().Map_Text());
}
