// The controls and the display around the game: the settings file with its
// comments and mistakes, the canvas's place on a full screen in each shape,
// keys moved to other keys, the gamepad, the volume and screenshots.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>

#include "application.h"
#include "safe_file.h"
#include "screen_area.h"
#include "settings.h"
#include "test_support.h"

namespace
{
// Lets go of every key, button and stick of the library's input state.
void Release_All_Input()
{
    std::memset(const_cast<char*>(key), 0, KEY_MAX);
    std::memset(joy, 0, MAX_JOYSTICKS * sizeof(JOYSTICK_INFO));
    num_joysticks = 0;
}

class Controls_Test : public testing::Test
{
protected:
    Application application;
    Temporary_Directory directory;

    void SetUp() override { Release_All_Input(); }
    void TearDown() override { Release_All_Input(); }

    Settings Load(const std::string& text)
    {
        Settings settings;
        EXPECT_TRUE(settings.Load(directory.Write("bluejay.cfg", text).c_str()));
        return settings;
    }

    int Signals_With(std::initializer_list<int> held) { return Signals_With_Keys(application, held); }

    // A pad as the library's driver fills it in: one stick of two axes, a
    // d-pad as a second stick, and twelve buttons.
    void Plug_In_Pad()
    {
        num_joysticks = 1;
        joy[0].num_sticks = 2;
        joy[0].stick[0].num_axis = 2;
        joy[0].stick[1].num_axis = 2;
        joy[0].num_buttons = 12;
    }
};
} // namespace

TEST(Screen_Area_Test, EachFullScreenShapeOnCommonDesktops)
{
    const struct
    {
        int screen_width, screen_height, shape;
        int x, y, width, height;
    } cases[] = {
        {1920, 1080, Screen_Area::STRETCH, 0, 0, 1920, 1080},
        {1920, 1080, Screen_Area::ASPECT, 343, 0, 1234, 1080},
        {1920, 1080, Screen_Area::INTEGER, 448, 92, 1024, 896},
        {1366, 768, Screen_Area::STRETCH, 0, 0, 1366, 768},
        {1366, 768, Screen_Area::ASPECT, 244, 0, 877, 768},
        {1366, 768, Screen_Area::INTEGER, 299, 48, 768, 672},
        {1280, 1024, Screen_Area::STRETCH, 0, 0, 1280, 1024},
        {1280, 1024, Screen_Area::ASPECT, 55, 0, 1170, 1024},
        {1280, 1024, Screen_Area::INTEGER, 128, 64, 1024, 896},
        // A screen narrower than 8 : 7 gets bars above and below.
        {1024, 1280, Screen_Area::ASPECT, 0, 192, 1024, 896},
        // Smaller than the canvas: shown at its own size, centred and cut.
        {200, 100, Screen_Area::INTEGER, -28, -62, 256, 224},
    };
    for (const auto& c : cases)
    {
        Screen_Area area = Screen_Area::For_Screen(c.screen_width, c.screen_height, c.shape);
        EXPECT_EQ(area.x, c.x) << c.screen_width << "x" << c.screen_height << " shape " << c.shape;
        EXPECT_EQ(area.y, c.y) << c.screen_width << "x" << c.screen_height << " shape " << c.shape;
        EXPECT_EQ(area.width, c.width) << c.screen_width << "x" << c.screen_height << " shape " << c.shape;
        EXPECT_EQ(area.height, c.height) << c.screen_width << "x" << c.screen_height << " shape " << c.shape;
    }
}

TEST(Screen_Area_Test, ScreenPointsMapToCanvasPixels)
{
    Screen_Area area = Screen_Area::For_Screen(1920, 1080, Screen_Area::INTEGER);
    int x = -1, y = -1;
    EXPECT_TRUE(area.Canvas_Point(448, 92, x, y));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_TRUE(area.Canvas_Point(448 + 1023, 92 + 895, x, y));
    EXPECT_EQ(x, 255);
    EXPECT_EQ(y, 223);
    EXPECT_TRUE(area.Canvas_Point(448 + 4 * 100 + 3, 92 + 4 * 50, x, y));
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 50);
    // On the bars: outside, taken to the nearest edge.
    EXPECT_FALSE(area.Canvas_Point(10, 1079, x, y));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 223);
    EXPECT_FALSE(Screen_Area().Canvas_Point(5, 5, x, y));
}

TEST_F(Controls_Test, SettingsTakeTrailingCommentsAfterAValue)
{
    Settings settings = Load("[window]   # the window\n"
                             "scale = 3        # a window of 2, 3 or 4 times 256 x 224\n"
                             "; a whole line\n"
                             "[display]\nfullscreen = integer ; sharp\n"
                             "[sound]\nmusic = 100#no blank before: not a comment\neffects = 7 # quiet\n"
                             "[data]\ndirectory = /games/a#b   # the folder\n");
    EXPECT_EQ(settings.window_scale, 3);
    EXPECT_EQ(settings.fullscreen_shape, Screen_Area::INTEGER);
    EXPECT_EQ(settings.effects_volume, 7);
    EXPECT_EQ(settings.data_directory, "/games/a#b");
    // "100#no ..." is not a number: said, and the default kept.
    EXPECT_EQ(settings.music_volume, Settings::MAX_VOLUME);
    EXPECT_NE(settings.problem.find("bluejay.cfg:7: the music volume must be a number from 0 to 255"),
              std::string::npos)
        << settings.problem;
    EXPECT_EQ(std::count(settings.problem.begin(), settings.problem.end(), '\n'), 1) << settings.problem;
}

TEST_F(Controls_Test, UnknownSectionsKeysAndBadValuesAreSaidWithTheLineAndKeepTheDefault)
{
    Settings settings = Load("[window]\nsize = 3\n[colours]\nsky = blue\n[display]\nfullscreen = wide\n"
                             "[sound]\nmusic = 256\neffects = -1\n[gamepad]\njump = 32\nkick = 2\n"
                             "[keys]\njump = SHIFT\nflap = W\nno equals sign\n");
    const char* expected[] = {
        ":2: unknown key \"size\" in [window]; accepted: scale",
        ":3: unknown section [colours]; the sections are [window, display, sound, keys, gamepad, editor, data, assist]",
        ":6: fullscreen must be stretch, aspect or integer, not \"wide\"",
        ":8: the music volume must be a number from 0 to 255, not \"256\"",
        ":9: the effects volume must be a number from 0 to 255, not \"-1\"",
        ":11: a gamepad button is a number from 0 to 31, not \"32\"",
        ":12: unknown action \"kick\" in [gamepad]; accepted: jump, fly, enter, pause",
        ":14: \"SHIFT\" is not a key; accepted: a letter, a digit,",
        ":15: unknown action \"flap\" in [keys]; accepted: left, right, jump, down, fly, give_up, pause, enter, quit",
        ":16: \"no equals sign\" is not \"key = value\"",
    };
    for (const char* line : expected)
        EXPECT_NE(settings.problem.find(line), std::string::npos) << line << "\nin:\n" << settings.problem;
    // "sky = blue" of the unknown section is not said again.
    EXPECT_EQ(std::count(settings.problem.begin(), settings.problem.end(), '\n'), 10) << settings.problem;
    Settings defaults;
    EXPECT_EQ(settings.window_scale, defaults.window_scale);
    EXPECT_EQ(settings.fullscreen_shape, Screen_Area::STRETCH);
    EXPECT_EQ(settings.music_volume, Settings::MAX_VOLUME);
    EXPECT_EQ(settings.effects_volume, Settings::MAX_VOLUME);
    for (int i = 0; i < Application::NUMBER_OF_GAMEPAD_ACTIONS; i++)
        EXPECT_EQ(settings.gamepad_buttons[i], Application::DEFAULT_GAMEPAD_BUTTONS[i]);
    for (int i = 0; i < Application::NUMBER_OF_GAME_ACTIONS; i++)
        EXPECT_EQ(settings.game_keys[i], Application::DEFAULT_GAME_KEYS[i]);
}

TEST_F(Controls_Test, TheReadmesSettingsExampleLoadsWithoutAProblem)
{
    // The indented block after "**Settings**" in the README.
    std::ifstream readme("README.md");
    ASSERT_TRUE(readme.good());
    std::string line, block;
    bool in_settings = false;
    while (std::getline(readme, line))
    {
        if (line.find("**Settings**") != std::string::npos)
            in_settings = true;
        else if (in_settings && line.compare(0, 6, "      ") == 0)
            block += line.substr(6) + "\n";
        else if (in_settings && !block.empty() && !line.empty())
            break;
    }
    ASSERT_NE(block.find("[window]"), std::string::npos) << block;
    Settings settings = Load(block);
    EXPECT_EQ(settings.problem, "");
    EXPECT_EQ(settings.window_scale, 3);
    EXPECT_EQ(settings.fullscreen_shape, Screen_Area::ASPECT);
    EXPECT_EQ(settings.game_keys[2], KEY_W);
}

TEST_F(Controls_Test, KeyNamesInAnyCase)
{
    EXPECT_EQ(Key_Code_For_Name("w"), KEY_W);
    EXPECT_EQ(Key_Code_For_Name(" Space "), KEY_SPACE);
    EXPECT_EQ(Key_Code_For_Name("7"), KEY_7);
    EXPECT_EQ(Key_Code_For_Name("3_pad"), KEY_3_PAD);
    EXPECT_EQ(Key_Code_For_Name("lcontrol"), KEY_LCONTROL);
    // The game's own function keys and nonsense are no keys to play with.
    for (const char* name : {"F11", "F7", "WW", "", "KEY_A", "10"})
        EXPECT_EQ(Key_Code_For_Name(name), 0) << name;
}

TEST_F(Controls_Test, ARemappedKeySetsTheActionsBitAndTheOldKeySetsNothing)
{
    Settings settings = Load("[keys]\njump = W\nleft = a\ngive_up = F1\n");
    EXPECT_EQ(settings.problem, "");
    settings.Apply(application);
    EXPECT_EQ(Signals_With({KEY_W}), Application::SIGNAL_UP);
    EXPECT_EQ(Signals_With({KEY_A, KEY_RIGHT}), Application::SIGNAL_LEFT | Application::SIGNAL_RIGHT);
    EXPECT_EQ(Signals_With({KEY_F1}), Application::SIGNAL_DELETE);
    EXPECT_EQ(Signals_With({KEY_UP}), 0);
    EXPECT_EQ(Signals_With({KEY_LEFT}), 0);
    EXPECT_EQ(Signals_With({KEY_D}), 0);
    // The editor's keys stay where they are.
    application.editing = true;
    EXPECT_EQ(Signals_With({KEY_UP}), Application::SIGNAL_UP);
    EXPECT_EQ(Signals_With({KEY_D}), Application::SIGNAL_DELETE);
    EXPECT_EQ(Signals_With({KEY_W}), 0);
}

TEST_F(Controls_Test, TwoActionsOnOneKeyAreSaidAndTheLaterKeepsItsOwnKey)
{
    Settings settings = Load("[keys]\njump = W\nfly = w\nleft = SPACE\n");
    // fly on jump's W keeps Space; then left on Space goes back to Left.
    EXPECT_EQ(settings.game_keys[2], KEY_W);
    EXPECT_EQ(settings.game_keys[4], KEY_SPACE);
    EXPECT_EQ(settings.game_keys[0], KEY_LEFT);
    EXPECT_NE(settings.problem.find(":3: \"fly\" is on the key of \"jump\"; it stays on its own key"), std::string::npos)
        << settings.problem;
    EXPECT_NE(settings.problem.find(":4: \"left\" is on the key of \"fly\""), std::string::npos) << settings.problem;
    // A swap is no clash.
    Settings swapped = Load("[keys]\njump = SPACE\nfly = UP\n");
    EXPECT_EQ(swapped.problem, "");
    EXPECT_EQ(swapped.game_keys[2], KEY_SPACE);
    EXPECT_EQ(swapped.game_keys[4], KEY_UP);
}

TEST_F(Controls_Test, TheGamepadSetsTheSameBitsAsTheKeys)
{
    EXPECT_EQ(application.Gamepad_Signals(), 0); // no pad: no error, no bits
    Plug_In_Pad();
    EXPECT_EQ(Signals_With({}), 0);
    const struct
    {
        int stick, axis;
        bool first;
        int key_code;
    } directions[] = {{0, 0, true, KEY_LEFT}, {0, 0, false, KEY_RIGHT}, {0, 1, true, KEY_UP},
                      {0, 1, false, KEY_DOWN}, {1, 0, true, KEY_LEFT},  {1, 1, false, KEY_DOWN}};
    for (const auto& d : directions)
    {
        JOYSTICK_AXIS_INFO& axis = joy[0].stick[d.stick].axis[d.axis];
        (d.first ? axis.d1 : axis.d2) = 1;
        axis.pos = d.first ? -128 : 127;
        int from_pad = Signals_With({});
        axis = JOYSTICK_AXIS_INFO();
        EXPECT_EQ(from_pad, Signals_With({d.key_code})) << d.stick << " " << d.axis;
        EXPECT_NE(from_pad, 0);
    }
    const int keys_of_buttons[] = {KEY_UP, KEY_SPACE, KEY_ENTER, KEY_P};
    for (int i = 0; i < Application::NUMBER_OF_GAMEPAD_ACTIONS; i++)
    {
        joy[0].button[Application::DEFAULT_GAMEPAD_BUTTONS[i]].b = 1;
        int from_pad = Signals_With({});
        joy[0].button[Application::DEFAULT_GAMEPAD_BUTTONS[i]].b = 0;
        EXPECT_EQ(from_pad, Signals_With({keys_of_buttons[i]})) << Application::GAMEPAD_ACTION_NAMES[i];
    }
    // Pad and keys together, and buttons moved by the settings.
    Load("[gamepad]\nfly = 3\n").Apply(application);
    joy[0].button[3].b = 1;
    joy[0].button[1].b = 1;
    EXPECT_EQ(Signals_With({KEY_RIGHT}), Application::SIGNAL_FLY | Application::SIGNAL_RIGHT);
    // A button the pad does not have is never read.
    Load("[gamepad]\nfly = 20\n").Apply(application);
    joy[0].button[20].b = 1;
    EXPECT_EQ(Signals_With({}), 0);
    // The editor reads the keyboard only.
    joy[0].button[0].b = 1;
    application.editing = true;
    EXPECT_EQ(Signals_With({}), 0);
}

TEST_F(Controls_Test, VolumesStayFrom0To255AndF7F8F9ChangeThem)
{
    Settings settings = Load("[sound]\nmusic = 0\neffects = 255\n");
    settings.Apply(application);
    EXPECT_EQ(application.music_volume, 0);
    application.Set_Volumes(-40, 300);
    EXPECT_EQ(application.music_volume, 0);
    EXPECT_EQ(application.effects_volume, 255);

    auto tap = [&](int key_code) {
        key[key_code] = 1;
        application.Handle_Player_Keys();
        key[key_code] = 0;
        application.Handle_Player_Keys();
    };
    tap(KEY_F7);
    EXPECT_EQ(application.music_volume, 0);
    for (int i = 0; i < 10; i++)
        tap(KEY_F8);
    EXPECT_EQ(application.music_volume, 255);
    tap(KEY_F7);
    EXPECT_EQ(application.music_volume, 255 - Application::VOLUME_STEP);
    EXPECT_STREQ(application.notice, "Music 223");
    EXPECT_GT(application.notice_ticks, 0);
    // Held, a key acts once.
    key[KEY_F7] = 1;
    for (int tick = 0; tick < 5; tick++)
        application.Handle_Player_Keys();
    key[KEY_F7] = 0;
    EXPECT_EQ(application.music_volume, 255 - 2 * Application::VOLUME_STEP);
    tap(KEY_F9);
    EXPECT_TRUE(application.muted);
    EXPECT_STREQ(application.notice, "Sound off");
    tap(KEY_F9);
    EXPECT_FALSE(application.muted);
    // The notice goes after a while, and the keys set no signal bit.
    for (int tick = 0; tick < Application::NOTICE_TICKS; tick++)
        application.Handle_Player_Keys();
    EXPECT_EQ(application.notice_ticks, 0);
    EXPECT_EQ(Signals_With({KEY_F7, KEY_F8, KEY_F9, KEY_F11, KEY_F12}), 0);
}

TEST_F(Controls_Test, AScreenshotIsTheCanvasAtTwiceItsSizeAsAPng)
{
    clear_to_color(application.canvas, makecol(10, 20, 30));
    putpixel(application.canvas, 255, 223, makecol(200, 100, 50));
    std::string folder = directory.Path("pictures/bluejay");
    std::string path = application.Save_Screenshot(folder);
    ASSERT_EQ(path.compare(0, folder.size() + 9, folder + "/bluejay_"), 0) << path;
    EXPECT_EQ(path.substr(path.size() - 4), ".png");
    std::string data = Read_File(path);
    ASSERT_GT(data.size(), 24u);
    EXPECT_EQ(data.substr(1, 3), "PNG");
    auto big_endian = [&](size_t at) {
        return (static_cast<unsigned char>(data[at]) << 24) | (static_cast<unsigned char>(data[at + 1]) << 16) |
               (static_cast<unsigned char>(data[at + 2]) << 8) | static_cast<unsigned char>(data[at + 3]);
    };
    EXPECT_EQ(big_endian(16), 512u);
    EXPECT_EQ(big_endian(20), 448u);
    // A second one in the same second gets a name of its own; no temporary
    // file stays behind.
    std::string second = application.Save_Screenshot(folder);
    EXPECT_NE(second, path);
    EXPECT_FALSE(second.empty());
    EXPECT_EQ(Temporaries_Beside(path), 0);
}

TEST_F(Controls_Test, ScreenshotsGoToThePicturesFolderAndAFolderThatCannotBeWrittenIsSaid)
{
    std::string old_pictures = std::getenv("XDG_PICTURES_DIR") ? std::getenv("XDG_PICTURES_DIR") : "";
    std::string old_home = std::getenv("HOME") ? std::getenv("HOME") : "";
    unsetenv("XDG_PICTURES_DIR");
    setenv("HOME", directory.Path("home").c_str(), 1);
    EXPECT_EQ(Screenshot_Folder(), directory.Path("home") + "/Pictures/bluejay");
    setenv("XDG_PICTURES_DIR", directory.Path("shots").c_str(), 1);
    EXPECT_EQ(Screenshot_Folder(), directory.Path("shots"));

    // F12 writes one there and says so on the picture.
    key[KEY_F12] = 1;
    application.Handle_Player_Keys();
    key[KEY_F12] = 0;
    EXPECT_STREQ(application.notice, "Screenshot saved");
    // A folder in the way of a file cannot be written.
    directory.Write("blocked", "a file\n");
    setenv("XDG_PICTURES_DIR", directory.Path("blocked").c_str(), 1);
    application.Handle_Player_Keys();
    key[KEY_F12] = 1;
    application.Handle_Player_Keys();
    EXPECT_STREQ(application.notice, "Cannot write the screenshot");
    EXPECT_EQ(application.Save_Screenshot(directory.Path("blocked/deeper")), "");

    if (old_pictures.empty())
        unsetenv("XDG_PICTURES_DIR");
    else
        setenv("XDG_PICTURES_DIR", old_pictures.c_str(), 1);
    setenv("HOME", old_home.c_str(), 1);
}
