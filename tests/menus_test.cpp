// The menus driven through the real key, mouse and gamepad state: the title
// menu, the levels list, the options and the settings file they write, the
// pause menu, and the words that say what is happening.

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>

#include "application.h"
#include "bluejay.h"
#include "level.h"
#include "level_list.h"
#include "menu_screens.h"
#include "screen_area.h"
#include "string_list.h"
#include "translation.h"
#include "settings.h"
#include "settings_file.h"
#include "test_support.h"

namespace
{
const char* const PLAYER_SETTINGS = "# my settings\n"
                                    "[keys]\n"
                                    "left = LEFT\n"
                                    "\n"
                                    "jump = UP   # the arrow, for now\n"
                                    "colour = blue\n"
                                    "[sound]\n"
                                    "music = 200 ; loud enough\n";
} // namespace

class MenusTest : public Loaded_Application_Test
{
protected:
    Temporary_Directory directory;
    Menu_Screens& menus = *application.menus;

    void SetUp() override
    {
        std::memset(const_cast<char*>(key), 0, KEY_MAX);
        num_joysticks = 0;
        mouse_x = mouse_y = mouse_b = 0;
        application.settings_path = directory.Path("bluejay.cfg");
        Set_Bitmap(application, Application::GRASS_BACKGROUND_BM, 256, 224);
        Set_Bitmap(application, Application::TITLE_BM, 256, 224);
        for (int number : {0, 3})
            Load(number, Meadow_Map(100));
        application.movie_level = 3;
        application.signal_buffer_length = 0;
    }

    void TearDown() override
    {
        std::memset(const_cast<char*>(key), 0, KEY_MAX);
        num_joysticks = 0;
        mouse_b = 0;
    }

    Level& Load(int number, const std::string& map)
    {
        std::string path = directory.Write("level_" + std::to_string(number) + ".map", map);
        application.levels[number]->Load(path.c_str());
        return *application.levels[number];
    }

    void Title_Tick() { application.Run_Title_Tick(); }
    void Play_Tick() { application.Run_Play_Tick(); }

    // A key down for one tick of the loop, then up for one.
    template <typename Tick> void Tap(int code, Tick tick)
    {
        key[code] = 1;
        tick();
        key[code] = 0;
        tick();
    }
    void Title_Tap(int code) { Tap(code, [&] { Title_Tick(); }); }
    void Play_Tap(int code) { Tap(code, [&] { Play_Tick(); }); }

    // Moves the highlight down onto the entry with the text and chooses it.
    template <typename Tick> void Choose(const std::string& text, Tick tick)
    {
        for (size_t i = 0; i < menus.menu.entries.size() && Highlighted() != text; i++)
            Tap(KEY_DOWN, tick);
        ASSERT_EQ(Highlighted(), text);
        Tap(KEY_ENTER, tick);
    }
    void Title_Choose(const std::string& text) { Choose(text, [&] { Title_Tick(); }); }
    void Play_Choose(const std::string& text) { Choose(text, [&] { Play_Tick(); }); }

    std::string Highlighted() const { return menus.menu.entries[menus.menu.highlight].text; }

    std::string Entries() const
    {
        std::string texts;
        for (const Menu::Entry& entry : menus.menu.entries)
            texts += entry.text + "|";
        return texts;
    }

    // Play on level 0, as after the title.
    Level& Start_Play()
    {
        application.demo_mode = false;
        application.current_level = 0;
        Level& level = *application.levels[0];
        level.message_shown = true;
        return level;
    }
};

// The title menu.

TEST_F(MenusTest, TitleMenuOffersEveryEntryAndEachActs)
{
    application.Start_Title();
    EXPECT_EQ(Entries(), "Start|Levels|Options|Controls|Quit|");
    EXPECT_TRUE(menus.Start_Highlighted());
    for (const char* screen : {"Levels", "Options", "Controls"})
    {
        Title_Choose(screen);
        EXPECT_EQ(menus.menu.heading, screen);
        EXPECT_FALSE(application.title_done);
        Title_Tap(KEY_ESC);
        EXPECT_TRUE(menus.At_Title_Root());
        EXPECT_EQ(Highlighted(), screen) << "Esc goes back to the entry it came from";
    }
    Title_Choose("Quit");
    EXPECT_TRUE(application.title_done);
    EXPECT_TRUE(application.quit);

    // With progress, Continue starts on the furthest level reached.
    Load(7, Meadow_Map(60));
    application.progress.furthest_level = 7;
    application.Start_Title();
    EXPECT_EQ(Entries(), "Start|Continue from level 7|Levels|Options|Controls|Quit|");
    Title_Choose("Continue from level 7");
    EXPECT_TRUE(application.title_done);
    EXPECT_FALSE(application.quit);
    EXPECT_EQ(application.start_level, 7);
}

TEST_F(MenusTest, KeysOnAScreenOfTheTitleBelongToTheMenu)
{
    application.Start_Title();
    Title_Choose("Options");
    Title_Tap(KEY_Q);
    EXPECT_FALSE(application.title_done) << "Q does not leave the title from a screen of its menu";
    Title_Tap(KEY_ENTER);
    EXPECT_FALSE(application.title_done) << "Enter chooses on the screen";
    EXPECT_EQ(menus.Current(), Menu_Screens::KEYS);
}

TEST_F(MenusTest, MouseHighlightsWhatItHoversAndAClickChooses)
{
    application.Start_Title();
    Title_Tick();
    int row = menus.menu.top + menus.menu.padding + 4 * Menu::LINE_HEIGHT + 3;
    mouse_x = Application::CANVAS_WIDTH / 2;
    mouse_y = row;
    Title_Tick();
    EXPECT_TRUE(menus.Start_Highlighted()) << "the first moves only tell where the mouse is";
    for (int move = 0; move < 3; move++)
    {
        mouse_x++;
        Title_Tick();
    }
    EXPECT_EQ(Highlighted(), "Quit");
    mouse_b = 1;
    Title_Tick();
    EXPECT_TRUE(application.quit);
}

TEST_F(MenusTest, GamepadMovesChoosesAndBacksOut)
{
    num_joysticks = 1;
    joy[0].num_sticks = 1;
    joy[0].stick[0].num_axis = 2;
    joy[0].num_buttons = 8;
    auto pad_tap = [&](int& control) {
        control = 1;
        Title_Tick();
        control = 0;
        Title_Tick();
    };
    application.Start_Title();
    pad_tap(joy[0].stick[0].axis[1].d2);
    EXPECT_EQ(Highlighted(), "Levels");
    pad_tap(joy[0].button[application.gamepad_buttons[0]].b);
    EXPECT_EQ(menus.Current(), Menu_Screens::LEVELS);
    pad_tap(joy[0].button[application.gamepad_buttons[1]].b);
    EXPECT_TRUE(menus.At_Title_Root());
}

// The levels list.

TEST_F(MenusTest, ALevelNoPipeReachesIsListedAndStarts)
{
    // Level 0's pipe leads to level 3; level 50 is one of the player's own.
    std::string campaign = Meadow_Map(100);
    campaign.replace(campaign.find("-1\n", campaign.find("1005")), 3, "1006 160 160\n-1\n");
    Level& first = Load(0, campaign);
    first.pointers[0] = 3;
    Load(50, Meadow_Map(80));
    Level_List list;
    list.Build(application);
    ASSERT_EQ(list.entries.size(), 2u) << "level 3 is not reached yet";
    EXPECT_EQ(list.entries[0].level, 0);
    EXPECT_EQ(list.entries[1].level, 50);
    EXPECT_TRUE(list.entries[1].own);
    application.progress.furthest_level = 3;
    list.Build(application);
    EXPECT_EQ(list.entries.size(), 3u);

    // A level left through a pipe shows its best time and eggs, a star
    // when they were all of them; a long name is cut whole letters at a time.
    application.progress.level_best[Progress::PLAIN][50] = {1234, 2, true};
    application.messages[0]->strings[0] = "Über die Wiesen und Äcker der Wälder";
    application.messages[0]->number_of_strings = 1;
    application.Start_Title();
    Title_Choose("Levels");
    EXPECT_EQ(menus.menu.entries[0].text, "Über die Wiesen und Äcke");
    EXPECT_EQ(menus.menu.entries[0].value, "0");
    ASSERT_EQ(menus.menu.entries.size(), 5u) << "0, 3, the heading of the player's own, 50, Back";
    EXPECT_EQ(menus.menu.entries[3].text, "Level 50");
    EXPECT_EQ(menus.menu.entries[3].value, "0:37.02 2* 50");
    Title_Choose("Level 50");
    ASSERT_TRUE(application.title_done);
    application.Leave_Title();
    EXPECT_EQ(application.current_level, 50);
    EXPECT_FALSE(application.demo_mode);
}

// The options and the settings file.

TEST_F(MenusTest, RebindingRewritesOnlyTheChangedLineKeepingItsComment)
{
    std::string path = directory.Write("bluejay.cfg", PLAYER_SETTINGS);
    application.Start_Title();
    Title_Choose("Options");
    Title_Choose("Keys");
    Title_Choose("Jump");
    // A key already in use is refused with a word.
    Title_Tap(KEY_LEFT);
    EXPECT_EQ(menus.menu.word, "That key is already used for Left");
    EXPECT_EQ(application.game_keys[2], KEY_UP);
    Title_Tap(KEY_W);
    EXPECT_EQ(application.game_keys[2], KEY_W);
    std::string expected = PLAYER_SETTINGS;
    expected.replace(expected.find("UP   #"), 2, "W");
    EXPECT_EQ(Read_File(path), expected);
    EXPECT_EQ(menus.menu.entries[2].value, "W");

    // The key reaches the game in play.
    EXPECT_EQ(Signals_With_Keys(application, {KEY_W}) & Application::SIGNAL_UP, Application::SIGNAL_UP);
    Release_All_Keys();
    Title_Choose("Defaults");
    EXPECT_EQ(application.game_keys[2], KEY_UP);
    EXPECT_EQ(Read_File(path), PLAYER_SETTINGS);
}

TEST_F(MenusTest, VolumesKeysButtonsAndAssistsSurviveARestart)
{
    num_joysticks = 1;
    joy[0].num_buttons = 8;
    application.Start_Title();
    Title_Choose("Options");
    Title_Choose("Gamepad buttons");
    Title_Choose("Jump");
    joy[0].button[3].b = 1;
    Title_Tick();
    joy[0].button[3].b = 0;
    Title_Tap(KEY_ESC);
    Title_Choose("Effects volume");
    Title_Tap(KEY_LEFT);
    EXPECT_EQ(application.effects_volume, 255 - Application::VOLUME_STEP);
    EXPECT_GE(application.sound_effect_plays[Application::GRAB_EGG_SE], 2) << "heard while it changes";
    Title_Choose("Invincible");
    Title_Choose("Speed");
    EXPECT_EQ(application.play_options.speed, Play_Options::MIN_SPEED);
    // The next language after English is German: the menus speak it at once.
    Choose_Language("en");
    Title_Choose("Language");
    EXPECT_STREQ(Translate("Options"), "Optionen");
    EXPECT_EQ(menus.menu.entries[menus.menu.highlight].value, "Deutsch");
    Choose_Language("C");
    // F8 and F9 in play are remembered too.
    key[KEY_F8] = 1;
    application.Handle_Player_Keys();
    key[KEY_F8] = 0;
    key[KEY_F9] = 1;
    application.Handle_Player_Keys();
    key[KEY_F9] = 0;
    application.Remember_Sound_Settings();

    Settings restarted;
    ASSERT_TRUE(restarted.Load(application.settings_path.c_str()));
    EXPECT_EQ(restarted.problem, "");
    EXPECT_EQ(restarted.gamepad_buttons[0], 3);
    EXPECT_EQ(restarted.effects_volume, application.effects_volume);
    EXPECT_EQ(restarted.music_volume, application.music_volume);
    EXPECT_TRUE(restarted.muted);
    EXPECT_TRUE(restarted.play_options.invincible);
    EXPECT_EQ(restarted.play_options.speed, Play_Options::MIN_SPEED);
    EXPECT_EQ(restarted.language, "de");
}

TEST(Settings_File_Test, AMissingValueJoinsItsSectionAndAMissingSectionIsAdded)
{
    Temporary_Directory directory;
    std::string path = directory.Write("bluejay.cfg", "[keys]\nleft = A\n\n[sound]\nmusic = 10");
    Settings_File file;
    file.Load(path);
    file.Set("keys", "left", "A");
    EXPECT_EQ(file.Text(), Read_File(path)) << "the same value changes nothing";
    file.Set("keys", "fly", "B");
    file.Set("assist", "speed", "70");
    ASSERT_TRUE(file.Save(path));
    EXPECT_EQ(Read_File(path), "[keys]\nleft = A\nfly = B\n\n[sound]\nmusic = 10\n\n[assist]\nspeed = 70\n");
    // Nothing changed, nothing written: no file appears.
    EXPECT_TRUE(Settings_File::Remember("", "keys", "left", "A"));
}

TEST(Settings_File_Test, AWindowOpensAtTheLargestScaleThatFitsTheDesktop)
{
    EXPECT_EQ(Screen_Area::Largest_Window_Scale(1280, 720, 2, 4), 3);
    EXPECT_EQ(Screen_Area::Largest_Window_Scale(1920, 1080, 2, 4), 4);
    EXPECT_EQ(Screen_Area::Largest_Window_Scale(640, 480, 2, 4), 2);
}

// The pause menu.

TEST_F(MenusTest, EscFreezesTheGameUnderThePauseMenuAndEveryEntryActs)
{
    Level& level = Start_Play();
    Play_Tick();
    int hero_x = level.Hero()->x;
    Play_Tap(KEY_ESC);
    ASSERT_EQ(menus.Current(), Menu_Screens::PAUSE);
    EXPECT_EQ(Entries(), "Resume|Restart level|Controls|Options|Quit to title|Quit|");
    key[KEY_RIGHT] = 1;
    Play_Tick();
    BITMAP* before = create_bitmap(256, 224);
    blit(application.canvas, before, 0, 0, 0, 0, 256, 224);
    Play_Tick();
    key[KEY_RIGHT] = 0;
    EXPECT_EQ(level.Hero()->x, hero_x) << "the game stands still";
    EXPECT_EQ(Pixels_Unlike(application.canvas, 0, 0, 256, 224, 0) - Pixels_Unlike(before, 0, 0, 256, 224, 0), 0);
    destroy_bitmap(before);
    for (const char* screen : {"Controls", "Options"})
    {
        Play_Choose(screen);
        EXPECT_EQ(menus.menu.heading, screen);
        Play_Tap(KEY_ESC);
    }
    Play_Choose("Resume");
    EXPECT_FALSE(menus.Is_Open());
    // Enter that chose Resume does not reach the game while it is held.
    key[KEY_ENTER] = 1;
    Play_Tick();
    key[KEY_ENTER] = 0;

    Play_Tap(KEY_ESC);
    Play_Choose("Quit to title");
    EXPECT_TRUE(application.quit);
    EXPECT_TRUE(application.back_to_title);
    application.Return_To_Title();
    application.quit = false;
    Play_Tap(KEY_ESC);
    Play_Choose("Quit");
    EXPECT_TRUE(application.quit);
    EXPECT_FALSE(application.back_to_title);
}

TEST_F(MenusTest, RestartLevelKeepsTheLives)
{
    Level& level = Start_Play();
    Bluejay& hero = *level.Hero();
    hero.lives = 2;
    hero.x += 40;
    Play_Tap(KEY_ESC);
    Play_Tap(KEY_DOWN);
    ASSERT_EQ(Highlighted(), "Restart level");
    key[KEY_ENTER] = 1;
    Play_Tick();
    EXPECT_FALSE(menus.Is_Open());
    EXPECT_EQ(hero.lives, 2);
    EXPECT_EQ(hero.x, hero.start_x);
}

TEST_F(MenusTest, NoMenuKeyReachesARecording)
{
    Start_Play();
    Play_Tap(KEY_4);
    ASSERT_EQ(application.movie_mode, Application::MOVIE_RECORDING_MODE);
    int recorded = application.recording_length;
    Play_Tap(KEY_ESC);
    Play_Tap(KEY_DOWN);
    Play_Tap(KEY_UP);
    EXPECT_EQ(application.recording_length, recorded) << "nothing is recorded while the menu is open";
    key[KEY_ENTER] = 1;
    Play_Tick();
    Play_Tick();
    key[KEY_ENTER] = 0;
    Play_Tick();
    EXPECT_FALSE(menus.Is_Open());
    for (int i = 0; i < application.recording_length; i++)
        EXPECT_EQ(application.recording_buffer[i] & (Application::SIGNAL_START | Application::SIGNAL_DOWN), 0) << i;
}

TEST_F(MenusTest, WithAnActionOnEscF10OpensThePauseMenu)
{
    Start_Play();
    application.game_keys[5] = KEY_ESC;
    EXPECT_EQ(application.Pause_Menu_Key(), KEY_F10);
    key[KEY_ESC] = 1;
    Play_Tick();
    EXPECT_TRUE(application.signals & Application::SIGNAL_DELETE);
    key[KEY_ESC] = 0;
    EXPECT_FALSE(menus.Is_Open());
    Play_Tap(KEY_F10);
    EXPECT_TRUE(menus.Is_Open());
}

// What is happening, in words over the picture.

TEST_F(MenusTest, PausedRecordingAndGameOverAreSaid)
{
    Start_Play();
    int white = makecol(255, 255, 255);
    auto drawn_white = [&](int y) {
        return 256 * 10 - Pixels_Unlike(application.canvas, 0, y, 256, 10, white) > 0;
    };
    Play_Tick();
    EXPECT_FALSE(drawn_white(Application::CANVAS_HEIGHT / 2 - 4));
    Play_Tap(KEY_P);
    EXPECT_TRUE(application.paused);
    EXPECT_TRUE(drawn_white(Application::CANVAS_HEIGHT / 2 - 4)) << "Paused";
    application.key_delay = 7;
    Play_Tap(KEY_P);
    Play_Tap(KEY_4);
    int red = makecol(255, 40, 40);
    EXPECT_LT(Pixels_Unlike(application.canvas, 220, Level::STATUS_SECOND_ROW - 10, 36, 8, red), 36 * 8) << "REC";
    application.game_over = true;
    Play_Tick();
    EXPECT_TRUE(drawn_white(Application::CANVAS_HEIGHT / 2 + 24)) << "Enter: play again";
}
