// The game on a desktop: the player's settings file, where the files the
// player makes go when the game is installed, the window's close button and
// the hold while the player is in another window.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "application.h"
#include "level.h"
#include "settings.h"
#include "test_support.h"
#include "user_files.h"
#include "window_system.h"

namespace
{
// Sets an environment variable for one test and puts the old value back.
class Environment_Variable
{
public:
    Environment_Variable(const char* name, const char* value) : name(name)
    {
        const char* old = std::getenv(name);
        had_value = old != nullptr;
        if (had_value)
            old_value = old;
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~Environment_Variable()
    {
        if (had_value)
            setenv(name, old_value.c_str(), 1);
        else
            unsetenv(name);
    }

private:
    const char* name;
    bool had_value;
    std::string old_value;
};

bool Exists(const std::string& path)
{
    return access(path.c_str(), F_OK) == 0;
}

// Works in a scratch directory with the player's folder empty, and leaves
// both as they were.
class Scratch_Test : public testing::Test
{
protected:
    Temporary_Directory directory;
    std::string previous_directory;

    void SetUp() override
    {
        char here[4096];
        ASSERT_NE(getcwd(here, sizeof(here)), nullptr);
        previous_directory = here;
        ASSERT_EQ(chdir(directory.Path("").c_str()), 0);
        Set_User_Files_Directory("");
        close_requested = false;
        switched_away = false;
    }

    void TearDown() override
    {
        Set_User_Files_Directory("");
        close_requested = false;
        switched_away = false;
        Application::Press_Keys_For_Signals(0);
        if (chdir(previous_directory.c_str()) != 0)
            std::abort();
    }
};

std::string Empty_Map(const std::string& platforms = "")
{
    std::string text = "0\n0\n-1\n" + platforms + "-1\n";
    for (int i = 0; i < Level::NUMBER_OF_POINTERS; i++)
        text += "0\n";
    return text;
}
} // namespace

using Settings_Test = Scratch_Test;

TEST_F(Settings_Test, ReadsTheWindowScaleAndTheDataFolder)
{
    std::string path = directory.Write("bluejay.cfg", "[window]\nscale = 3\n\n[data]\ndirectory = /opt/games/bluejay\n");
    Settings settings;
    ASSERT_TRUE(settings.Load(path.c_str()));
    EXPECT_EQ(settings.window_scale, 3);
    EXPECT_EQ(settings.data_directory, "/opt/games/bluejay");
    EXPECT_EQ(settings.problem, "");
}

TEST_F(Settings_Test, TheEditorKeepsItsPaletteOnlyWhenAskedTo)
{
    Settings settings;
    EXPECT_FALSE(settings.keep_palette);
    ASSERT_TRUE(settings.Load(directory.Write("bluejay.cfg", "[editor]\nkeep_palette = yes\n").c_str()));
    EXPECT_TRUE(settings.keep_palette);
    Application application;
    settings.Apply(application);
    EXPECT_TRUE(application.keep_palette);
    ASSERT_TRUE(settings.Load(directory.Write("bluejay.cfg", "[editor]\nkeep_palette = maybe\n").c_str()));
    EXPECT_TRUE(settings.keep_palette);
    EXPECT_NE(settings.problem.find("keep_palette must be yes or no"), std::string::npos);
}

TEST_F(Settings_Test, DefaultsAreFullScreenAndTheDataFoundByItself)
{
    Settings settings;
    EXPECT_EQ(settings.window_scale, Settings::FULL_SCREEN);
    std::string path = directory.Write("bluejay.cfg", "# nothing set\n");
    ASSERT_TRUE(settings.Load(path.c_str()));
    EXPECT_EQ(settings.window_scale, Settings::FULL_SCREEN);
    EXPECT_EQ(settings.data_directory, "");
    EXPECT_FALSE(settings.Load(directory.Path("missing.cfg").c_str()));
    EXPECT_FALSE(settings.Load(nullptr));
}

TEST_F(Settings_Test, AScaleOutOfRangeKeepsFullScreenAndSaysSo)
{
    for (const char* scale : {"1", "5", "-2", "huge"})
    {
        std::string path = directory.Write("bluejay.cfg", std::string("[window]\nscale = ") + scale + "\n");
        Settings settings;
        ASSERT_TRUE(settings.Load(path.c_str()));
        EXPECT_EQ(settings.window_scale, Settings::FULL_SCREEN) << scale;
        EXPECT_NE(settings.problem, "") << scale;
    }
    for (int scale = Settings::MIN_WINDOW_SCALE; scale <= Settings::MAX_WINDOW_SCALE; scale++)
    {
        std::string path = directory.Write("bluejay.cfg", "[window]\nscale = " + std::to_string(scale) + "\n");
        Settings settings;
        ASSERT_TRUE(settings.Load(path.c_str()));
        EXPECT_EQ(settings.window_scale, scale);
    }
}

TEST_F(Settings_Test, ReadingLeavesTheFileAndTheLibrarysConfigurationAlone)
{
    const std::string text = "[window]\nscale = 2\n";
    std::string path = directory.Write("bluejay.cfg", text);
    Settings settings;
    ASSERT_TRUE(settings.Load(path.c_str()));
    EXPECT_EQ(Read_File(path), text);
    // The game's keys are not left in the library's configuration, and no
    // allegro.cfg is written.
    EXPECT_EQ(get_config_int("window", "scale", -1), -1);
    EXPECT_FALSE(Exists("allegro.cfg"));
}

TEST_F(Settings_Test, TheFileIsLookedForInTheUsersConfigurationFolder)
{
    Environment_Variable home("HOME", directory.Path("home").c_str());
    {
        Environment_Variable config_home("XDG_CONFIG_HOME", directory.Path("config").c_str());
        EXPECT_EQ(Find_Settings_File(), "");
        ASSERT_TRUE(Make_Directories(directory.Path("config/bluejay")));
        std::string path = directory.Write("config/bluejay/bluejay.cfg", "[window]\nscale = 2\n");
        EXPECT_EQ(Find_Settings_File(), path);
    }
    {
        // Without XDG_CONFIG_HOME (or with a relative one): ~/.config.
        Environment_Variable config_home("XDG_CONFIG_HOME", "relative/folder");
        EXPECT_EQ(Find_Settings_File(), "");
        ASSERT_TRUE(Make_Directories(directory.Path("home/.config/bluejay")));
        std::string path = directory.Write("home/.config/bluejay/bluejay.cfg", "");
        EXPECT_EQ(Find_Settings_File(), path);
    }
}

TEST(Program_Directory_Test, IsTheFolderOfTheRunningProgram)
{
    std::string folder = Program_Directory();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder[0], '/');
    EXPECT_TRUE(Exists(folder + "/bluejay_tests"));
}

using User_Files_Test = Scratch_Test;

TEST_F(User_Files_Test, TheUsersDataFolderFollowsXdgDataHomeElseHome)
{
    Environment_Variable home("HOME", "/home/player");
    {
        Environment_Variable data_home("XDG_DATA_HOME", "/data/home");
        EXPECT_EQ(Default_User_Files_Directory(), "/data/home/bluejay");
    }
    {
        Environment_Variable data_home("XDG_DATA_HOME", nullptr);
        EXPECT_EQ(Default_User_Files_Directory(), "/home/player/.local/share/bluejay");
    }
    {
        Environment_Variable data_home("XDG_DATA_HOME", "");
        EXPECT_EQ(Default_User_Files_Directory(), "/home/player/.local/share/bluejay");
    }
}

TEST_F(User_Files_Test, BesideTheDataWhenNoUserFolderIsSet)
{
    char path[Application::MAX_PATH_LENGTH];
    Make_Read_Path(path, "data\\levels\\level_3.map");
    EXPECT_STREQ(path, "data/levels/level_3.map");
    EXPECT_TRUE(Make_Write_Path(path, "data\\levels\\level_3.map"));
    EXPECT_STREQ(path, "data/levels/level_3.map");
}

TEST_F(User_Files_Test, WritesGoToTheUserFolderAndItsCopiesAreReadFirst)
{
    std::string user = directory.Path("user/bluejay");
    Set_User_Files_Directory(user + "/");
    EXPECT_EQ(User_Files_Directory(), user);

    char path[Application::MAX_PATH_LENGTH];
    // Nothing of the player's yet: the installed file is read.
    Make_Read_Path(path, "data\\levels\\level_3.map");
    EXPECT_STREQ(path, "data/levels/level_3.map");

    ASSERT_TRUE(Make_Write_Path(path, "data\\levels\\level_3.map"));
    EXPECT_EQ(std::string(path), user + "/data/levels/level_3.map");
    struct stat status;
    ASSERT_EQ(stat((user + "/data/levels").c_str(), &status), 0) << "the folders are made";
    EXPECT_TRUE(S_ISDIR(status.st_mode));

    directory.Write("user/bluejay/data/levels/level_3.map", Empty_Map());
    Make_Read_Path(path, "data\\levels\\level_3.map");
    EXPECT_EQ(std::string(path), user + "/data/levels/level_3.map");
    Make_Read_Path(path, "data\\levels\\level_4.map");
    EXPECT_STREQ(path, "data/levels/level_4.map");
}

TEST_F(User_Files_Test, AFolderThatCannotBeMadeFailsTheWrite)
{
    directory.Write("blocker", "a file where a folder should be");
    Set_User_Files_Directory(directory.Path("blocker/bluejay"));
    char path[Application::MAX_PATH_LENGTH];
    EXPECT_FALSE(Make_Write_Path(path, "data\\levels\\level_3.map"));
    Application editor;
    editor.current_level = 3;
    EXPECT_FALSE(editor.Save_Current_Level());
}

TEST_F(User_Files_Test, TheEditorSavesIntoTheUserFolderAndLeavesTheInstalledLevel)
{
    ASSERT_TRUE(Make_Directories(directory.Path("data/levels")));
    const std::string installed = Empty_Map();
    directory.Write("data/levels/level_7.map", installed);
    std::string user = directory.Path("user");
    Set_User_Files_Directory(user);

    Application editor;
    editor.Start_Editor();
    editor.current_level = 7;
    Level& level = *editor.levels[7];
    Map_Record& block = *level.platform_records[level.number_of_platforms++];
    block.type = Level::BROWN_BLOCK;
    block.x = 48;
    block.y = 32;
    ASSERT_TRUE(editor.Save_Current_Level());

    EXPECT_EQ(Read_File(directory.Path("data/levels/level_7.map")), installed);
    EXPECT_EQ(Read_File(user + "/data/levels/level_7.map"), Empty_Map("1000\n48\n32\n"));

    // The next start reads the player's level.
    Application again;
    again.Start_Editor();
    ASSERT_EQ(again.levels[7]->number_of_platforms, 1);
    EXPECT_EQ(again.levels[7]->platform_records[0]->x, 48);
    EXPECT_EQ(again.levels[7]->platform_records[0]->y, 32);
}

TEST_F(User_Files_Test, TheMovieIsSavedIntoTheUserFolderAndReadFromIt)
{
    ASSERT_TRUE(Make_Directories(directory.Path("data/movie")));
    directory.Write("data/movie/movie.dat", "2\n4\n4\n");
    std::string user = directory.Path("user");
    Set_User_Files_Directory(user);

    Application game;
    game.Load_Game_Data();
    EXPECT_EQ(game.movie_level, 2);
    game.movie_level = 5;
    game.signal_buffer_length = 1;
    game.signal_buffer[0] = 8;
    game.progress.movie_recorded = true;
    game.Leave_Game();
    EXPECT_EQ(Read_File(directory.Path("data/movie/movie.dat")), "2\n4\n4\n");
    EXPECT_EQ(Read_File(user + "/data/movie/movie.dat"), "5\n8\n");

    Application again;
    again.Load_Game_Data();
    EXPECT_EQ(again.movie_level, 5);
}

TEST_F(User_Files_Test, TheDataFolderOfTheSettingsIsUsedWhenItHoldsTheData)
{
    ASSERT_TRUE(Make_Directories(directory.Path("game/data/graphics")));
    ASSERT_TRUE(Make_Directories(directory.Path("game/data/levels")));
    ASSERT_TRUE(Make_Directories(directory.Path("game/data/movie")));
    ASSERT_TRUE(Make_Directories(directory.Path("elsewhere")));
    ASSERT_EQ(chdir(directory.Path("elsewhere").c_str()), 0);
    Set_User_Files_Directory("/stale");

    ASSERT_TRUE(Find_Data_Directory(directory.Path("game").c_str()));
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof(here)), nullptr);
    EXPECT_EQ(std::string(here), directory.Path("game"));
    EXPECT_EQ(User_Files_Directory(), "") << "a writable data folder keeps the player's files";

    // A folder without the data is passed over for the current one.
    ASSERT_TRUE(Find_Data_Directory(directory.Path("elsewhere").c_str()));
    ASSERT_NE(getcwd(here, sizeof(here)), nullptr);
    EXPECT_EQ(std::string(here), directory.Path("game"));
}

using Close_Button_Test = Scratch_Test;

TEST_F(Close_Button_Test, QuitsTheTitleAndTheGameAsQDoes)
{
    Application game;
    game.Start_Title();
    close_requested = true;
    game.Run_Title_Tick();
    EXPECT_TRUE(game.title_done);
    EXPECT_TRUE(game.quit);

    Application playing;
    playing.quit = false;
    playing.Run_Play_Tick();
    EXPECT_TRUE(playing.quit);
}

TEST_F(Close_Button_Test, QuitsTheEditorWhichSavesAsOnQ)
{
    ASSERT_TRUE(Make_Directories(directory.Path("data/levels")));
    directory.Write("data/levels/level_0.map", Empty_Map());
    Application editor;
    editor.Start_Editor();
    Level& level = *editor.levels[0];
    Map_Record& block = *level.platform_records[level.number_of_platforms++];
    block.type = Level::CEMENT_BLOCK;
    block.x = 16;
    block.y = 64;
    close_requested = true;
    editor.Run_Editor_Tick();
    EXPECT_TRUE(editor.quit);
    editor.Leave_Editor();
    EXPECT_EQ(Read_File(directory.Path("data/levels/level_0.map")), Empty_Map("1001\n16\n64\n"));
}

TEST_F(Close_Button_Test, WithoutItTheSignalsAreTheKeysAlone)
{
    Application game;
    Application::Press_Keys_For_Signals(Application::SIGNAL_RIGHT);
    game.Generate_Signals();
    EXPECT_EQ(game.signals, Application::SIGNAL_RIGHT);
    close_requested = true;
    game.Generate_Signals();
    EXPECT_EQ(game.signals, Application::SIGNAL_RIGHT | Application::SIGNAL_QUIT);
}

using Switch_Away_Test = Scratch_Test;

TEST_F(Switch_Away_Test, HoldsUntilThePlayerComesBackAndResumesTheTune)
{
    Application game;
    switched_away = true;
    std::thread player([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(120));
        switched_away = false;
    });
    auto start = std::chrono::steady_clock::now();
    game.Hold_While_Switched_Away();
    auto held = std::chrono::steady_clock::now() - start;
    player.join();
    EXPECT_GE(held, std::chrono::milliseconds(100));
    EXPECT_FALSE(game.music_paused) << "the tune goes on where it was";
    EXPECT_FALSE(timing_signal) << "the ticks missed while away are not run";
}

TEST_F(Switch_Away_Test, ATuneHeldByThePauseKeyStaysHeld)
{
    Application game;
    game.Pause_Music();
    switched_away = true;
    std::thread player([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        switched_away = false;
    });
    game.Hold_While_Switched_Away();
    player.join();
    EXPECT_TRUE(game.music_paused);
}

TEST_F(Switch_Away_Test, TheCloseButtonEndsTheHold)
{
    Application game;
    switched_away = true;
    close_requested = true;
    auto start = std::chrono::steady_clock::now();
    game.Hold_While_Switched_Away();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_FALSE(game.music_paused);
}

// Without an X11 screen (here, and on other systems) the library keeps its
// own event thread and the picture goes to the screen as it always did.
TEST(Window_System_Test, WithoutAnX11ScreenTheLibraryKeepsItsEventThread)
{
    Window_System::Take_Over_Events();
    EXPECT_FALSE(Window_System::Events_Taken_Over());
    EXPECT_FALSE(Window_System::Screen_Takes_Areas());
    Window_System::Take_Events();
    Window_System::Give_Back_Events();
    EXPECT_FALSE(Window_System::Events_Taken_Over());
}
