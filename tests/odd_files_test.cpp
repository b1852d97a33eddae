// Folders, pipes, devices, endless lines and paths too long in the place of
// the files the game reads: each is refused or bounded, with a word, and
// nothing hangs, crashes or is cut.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "application.h"
#include "level.h"
#include "progress.h"
#include "regular_file.h"
#include "settings.h"
#include "string_list.h"
#include "test_support.h"
#include "user_files.h"

class Special_Files_Test : public testing::Test
{
protected:
    Temporary_Directory directory;

    std::string Pipe(const std::string& name)
    {
        std::string path = directory.Path(name);
        EXPECT_EQ(mkfifo(path.c_str(), 0644), 0);
        return path;
    }
};

TEST_F(Special_Files_Test, FoldersPipesAndDevicesAreRefusedWithAWord)
{
    // A folder in the place of a message: said, and the level has none.
    ASSERT_EQ(mkdir(directory.Path("message_3.txt").c_str(), 0755), 0);
    String_List messages;
    testing::internal::CaptureStderr();
    messages.Load_From_File(directory.Path("message_3.txt").c_str());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), directory.Path("message_3.txt") + " is a folder, not a file\n");
    EXPECT_EQ(messages.number_of_strings, 0);

    // A pipe with no writer as a map, the progress and the settings: each
    // reading ends at once (a wait here would hang the test).
    testing::internal::CaptureStderr();
    Level level;
    level.Load(Pipe("level_0.map").c_str());
    EXPECT_EQ(level.number_of_platforms, 0);
    Progress progress;
    EXPECT_FALSE(progress.Load(Pipe("progress.txt")));
    testing::internal::GetCapturedStderr();
    Settings settings;
    EXPECT_FALSE(settings.Load(Pipe("bluejay.cfg").c_str()));
    EXPECT_EQ(settings.problem, directory.Path("bluejay.cfg") + " is a pipe, not a file\n");
    // An endless device ends too.
    EXPECT_FALSE(settings.Load("/dev/zero"));
    EXPECT_EQ(settings.problem, "/dev/zero is a device, not a file\n");

    // What a file held is known again only while it is unchanged.
    const std::string path = directory.Write("level_1.map", "1 2 -1 -1\n");
    File_Stamp read = File_Stamp::Of(path);
    EXPECT_TRUE(read.present);
    EXPECT_EQ(File_Stamp::Of(path), read);
    directory.Write("level_1.map", "1 3 -1 -1\n");
    EXPECT_NE(File_Stamp::Of(path), read);
    EXPECT_FALSE(File_Stamp::Of(directory.Path("level_0.map")).present);
}

TEST_F(Special_Files_Test, TheSettingsReaderIsBounded)
{
    // An endless line, a zero byte and old Mac line ends; then 150 bad
    // lines, of which 100 are said.
    std::string text = "[window]\r" + std::string(100000, 'x') + "\rscale = 3\n";
    const char zero_line[] = "[sound]\nmusic = 1\0 2\n";
    text += std::string(zero_line, sizeof(zero_line) - 1) + "effects = 7\r\n";
    for (int i = 0; i < 150; i++)
        text += "nonsense\n";
    Settings settings;
    ASSERT_TRUE(settings.Load(directory.Write("bluejay.cfg", text).c_str()));
    EXPECT_EQ(settings.window_scale, 3);
    EXPECT_EQ(settings.effects_volume, 7);
    const std::string& said = settings.problem;
    EXPECT_NE(said.find(":2: the line is longer than 4096 characters"), std::string::npos) << said;
    EXPECT_NE(said.find(":5: the line holds a zero byte"), std::string::npos) << said;
    EXPECT_NE(said.find("... and 52 more\n"), std::string::npos) << said;
    EXPECT_LT(said.size(), 20000u);
}

TEST_F(Special_Files_Test, NoPathIsCutAndARelativeHomeIsIgnored)
{
    // A deep user folder is taken whole; one past what the system takes is
    // refused, never cut.
    std::string deep = directory.Path("deep");
    for (int i = 0; i < 20; i++)
        deep += "/" + std::string(99, 'd');
    Set_User_Files_Directory(deep);
    char path[Application::MAX_PATH_LENGTH];
    std::string reason;
    EXPECT_TRUE(Make_Write_Path(path, "data\\levels\\level_7.map", reason)) << reason;
    EXPECT_EQ(std::string(path), deep + "/data/levels/level_7.map");
    Set_User_Files_Directory(directory.Path(std::string(5000, 'l')));
    EXPECT_FALSE(Make_Write_Path(path, "data\\levels\\level_7.map", reason));
    EXPECT_EQ(reason, "File name too long");
    Set_User_Files_Directory("");

    const char* home = std::getenv("HOME");
    const std::string kept_home = home != nullptr ? home : "";
    const char* data_home = std::getenv("XDG_DATA_HOME");
    const std::string kept_data_home = data_home != nullptr ? data_home : "";
    unsetenv("XDG_DATA_HOME");
    setenv("HOME", "relative/home", 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Default_User_Files_Directory(), "");
    testing::internal::GetCapturedStderr();
    setenv("HOME", kept_home.c_str(), 1);
    if (data_home != nullptr)
        setenv("XDG_DATA_HOME", kept_data_home.c_str(), 1);
}
