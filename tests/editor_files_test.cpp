// The editor loses no work: it writes only levels that changed, leaves a map
// it could not read whole untouched (and keeps it as .bak once the level is
// edited and saved), says a failed save on the canvas and asks for a second
// Q before it quits without saving, keeps links and permission bits, and
// quits as on Q when the program is asked to end. Also the one reader of map
// entries that both loaders share.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "application.h"
#include "level.h"
#include "map_reader.h"
#include "test_support.h"
#include "user_files.h"

namespace fs = std::filesystem;

namespace
{
// Every file below a folder with its content.
std::map<std::string, std::string> Snapshot(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[entry.path().string()] = Read_File(entry.path().string());
    return files;
}

// A map of one platform and fifty pointers, with a token in place of the
// platform's x.
std::string Map_With_Platform_X(const std::string& x)
{
    std::string text = "1\n2\n2\n32\n160\n-1\n1005\n" + x + "\n192\n-1\n";
    for (int i = 0; i < Level::NUMBER_OF_POINTERS; i++)
        text += std::to_string(i) + "\n";
    return text;
}
} // namespace

// ---------------------------------------------------------------------------
// The reader both loaders share, and the level's memory of what it saved.

TEST(Map_Reader_Test, SaysWhereAndWhyItStopped)
{
    struct Case
    {
        std::string text;
        const char* problem;
        int line;
    };
    const Case cases[] = {
        {"1\n2\n\n-2147483648 +2147483647\n", nullptr, 0},
        {"1\n2\n\n3 9x\n", Map_Reader::UNREADABLE_NUMBER, 4},
        {"1\n2\n -\n", Map_Reader::UNREADABLE_NUMBER, 3},
        {"1\n99999999999\n", Map_Reader::NUMBER_OUT_OF_RANGE, 2},
        {"1\n2147483648\n", Map_Reader::NUMBER_OUT_OF_RANGE, 2},
        {"1\n-2147483649\n", Map_Reader::NUMBER_OUT_OF_RANGE, 2},
    };
    for (const Case& c : cases)
    {
        std::istringstream input(c.text);
        Map_Reader reader(input);
        int value = 0, count = 0;
        while (reader.Read(value))
            count++;
        EXPECT_EQ(reader.problem, c.problem) << c.text;
        EXPECT_EQ(reader.problem_line, c.line) << c.text;
        EXPECT_FALSE(reader.Read(value));
    }

    // A folder read as a file: the disk's failure is a problem too.
    Temporary_Directory directory;
    std::ifstream folder(directory.Path(""));
    Map_Reader folder_reader(folder);
    int value = 0;
    EXPECT_FALSE(folder_reader.Read(value));
    EXPECT_EQ(folder_reader.problem, Map_Reader::UNREADABLE_FILE);

    // Both loaders report it; a table too small for the file, too.
    std::istringstream damaged(Map_With_Platform_X("99999999999"));
    Level play;
    play.Load(damaged);
    EXPECT_STREQ(play.load_problem, Map_Reader::NUMBER_OUT_OF_RANGE);
    EXPECT_EQ(play.load_problem_line, 8);
    std::string crowded = "0\n0\n";
    for (int i = 0; i <= Level::MAX_CHARACTERS; i++)
        crowded += "1\n0\n0\n";
    std::istringstream full(crowded + "-1\n-1\n");
    Level editing;
    editing.Load_For_Editing(full);
    EXPECT_STREQ(editing.load_problem, Map_Reader::TOO_MANY_RECORDS);
    EXPECT_EQ(editing.load_problem_line, 3 + 3 * Level::MAX_CHARACTERS);
    EXPECT_EQ(editing.number_of_characters, Level::MAX_CHARACTERS);
}

TEST(Level_Changes, ALevelKnowsWhetherItDiffersFromItsFile)
{
    std::istringstream input(Map_With_Platform_X("64"));
    Level level;
    level.Load_For_Editing(input);
    EXPECT_EQ(level.load_problem, nullptr);
    EXPECT_FALSE(level.Changed());
    EXPECT_EQ(level.Map_Text(), Map_With_Platform_X("64"));
    level.platform_records[0]->x = 80;
    EXPECT_TRUE(level.Changed());
    level.platform_records[0]->x = 64;
    EXPECT_FALSE(level.Changed());
    level.number_of_characters = 0;
    EXPECT_TRUE(level.Changed());
    level.Remember_Saved_Form();
    EXPECT_FALSE(level.Changed());
    level.pointers[49] = 0;
    EXPECT_TRUE(level.Changed());
}

// ---------------------------------------------------------------------------
// The editor on a copy of the data.

class Editor_Files_Test : public testing::Test
{
protected:
    Temporary_Directory directory;
    Application editor;
    std::string previous;

    void SetUp() override
    {
        previous = fs::current_path().string();
        fs::copy("data", directory.Path("data"), fs::copy_options::recursive);
        fs::current_path(directory.Path(""));
        Application::Press_Keys_For_Signals(0);
        editor.Load_Resources();
    }

    void TearDown() override
    {
        Application::Press_Keys_For_Signals(0);
        Set_User_Files_Directory("");
        termination_requested = 0;
        fs::current_path(previous);
    }

    static std::string Map(int level) { return "data/levels/level_" + std::to_string(level) + ".map"; }

    void Tick(int signals = 0)
    {
        Application::Press_Keys_For_Signals(signals);
        editor.Run_Editor_Tick();
    }

    // A key pressed once after a pause long enough for any command.
    void Press(int signals)
    {
        for (int i = 0; i < static_cast<int>(Application::COMMAND_REPEAT_TICKS); i++)
            Tick();
        Tick(signals);
    }

    // Q until the editor lets go or warns; true when it ends.
    bool Quit()
    {
        Tick(Application::SIGNAL_QUIT);
        return editor.quit && editor.Leave_Editor();
    }
};

TEST_F(Editor_Files_Test, BrowsingEveryLevelWithoutEditsWritesNothing)
{
    // With an installed data folder, too: no copy lands in the user's folder.
    Set_User_Files_Directory(directory.Path("user"));
    const auto before = Snapshot("data");
    editor.Start_Editor();
    for (int level = 0; level < Application::NUMBER_OF_LEVELS - 1; level++)
        Press(Application::SIGNAL_LEVEL_UP | Application::SIGNAL_SAVE);
    EXPECT_EQ(editor.current_level, Application::NUMBER_OF_LEVELS - 1);
    for (int level = 0; level < Application::NUMBER_OF_LEVELS - 1; level++)
        Press(Application::SIGNAL_LEVEL_DOWN);
    EXPECT_TRUE(Quit());
    EXPECT_EQ(Snapshot("data"), before);
    EXPECT_FALSE(fs::exists(directory.Path("user")));
}

TEST_F(Editor_Files_Test, ADamagedMapIsSaidAndKeptUntilItsLevelIsEdited)
{
    const std::string damaged = Map_With_Platform_X("99999999999");
    std::ofstream(Map(10)) << damaged;
    editor.Start_Editor();
    editor.current_level = 9;
    Press(Application::SIGNAL_LEVEL_UP);
    Press(Application::SIGNAL_LEVEL_UP);
    EXPECT_EQ(Read_File(Map(10)), damaged);
    Press(Application::SIGNAL_LEVEL_DOWN);
    EXPECT_STREQ(editor.levels[10]->load_problem, Map_Reader::NUMBER_OUT_OF_RANGE);
    EXPECT_EQ(editor.levels[10]->load_problem_line, 8);
    // The yellow notice below the level and mode lines.
    EXPECT_GT(Pixels_Unlike(editor.canvas, 0, 2 * text_height(font) + 6, 256, 8, makecol(255, 255, 0)), 0);
    EXPECT_LT(Pixels_Unlike(editor.canvas, 0, 2 * text_height(font) + 6, 256, 8, makecol(255, 255, 0)),
              256 * 8 - 50);

    // Edited and saved: the old file is kept beside the new one.
    Press(Application::SIGNAL_SCROLL_UP_2);
    Tick(Application::SIGNAL_SAVE);
    EXPECT_EQ(Read_File(Map(10) + Application::BACKUP_SUFFIX), damaged);
    EXPECT_EQ(Read_File(Map(10)), editor.levels[10]->Map_Text());
    EXPECT_EQ(editor.levels[10]->load_problem, nullptr);
}

TEST_F(Editor_Files_Test, AFailedSaveIsSaidAndQuittingAsksTwice)
{
    fs::remove(Map(9));
    fs::create_directory(Map(9));
    editor.Start_Editor();
    editor.current_level = 9;
    Press(Application::SIGNAL_SCROLL_UP_2);
    Tick(Application::SIGNAL_SAVE);
    EXPECT_EQ(editor.save_failures[9], "Is a directory");
    // Going on to another level keeps the edit and the line.
    Press(Application::SIGNAL_LEVEL_UP);
    EXPECT_EQ(editor.levels[9]->background, 1);
    EXPECT_EQ(editor.save_failures[9], "Is a directory");
    EXPECT_GT(Pixels_Unlike(editor.canvas, 0, 2 * text_height(font) + 6, 256, 8, makecol(255, 0, 0)), 0);

    // Q warns; holding it on is still the same press; a new one quits.
    EXPECT_FALSE(Quit());
    EXPECT_EQ(editor.quit_warning_ticks, Application::QUIT_WARNING_TICKS);
    EXPECT_FALSE(Quit());
    Tick();
    EXPECT_TRUE(Quit());

    // Too late, the warning has gone: Q saves (and warns) again.
    Tick();
    editor.quit = false;
    EXPECT_FALSE(Quit());
    for (unsigned int i = 0; i <= Application::QUIT_WARNING_TICKS; i++)
        Tick();
    EXPECT_FALSE(Quit());
    // Once the level can be saved, Q saves it and quits.
    fs::remove(Map(9));
    for (unsigned int i = 0; i <= Application::QUIT_WARNING_TICKS; i++)
        Tick();
    EXPECT_TRUE(Quit());
    EXPECT_EQ(editor.save_failures[9], "");
    Level saved;
    saved.Load_For_Editing(Map(9).c_str());
    EXPECT_EQ(saved.background, 1);
}

TEST_F(Editor_Files_Test, AFolderThatCannotBeWrittenKeepsTheOldFile)
{
    const std::string old_text = Read_File(Map(3));
    editor.Start_Editor();
    editor.current_level = 3;
    Press(Application::SIGNAL_SCROLL_UP_1);
    chmod(directory.Path("").c_str(), 0755);
    chmod("data/levels", 0555);
    EXPECT_TRUE(Run_As_Ordinary_User([this] {
        Tick(Application::SIGNAL_SAVE);
        return editor.save_failures[3] == "Permission denied" &&
               Pixels_Unlike(editor.canvas, 0, 2 * text_height(font) + 6, 256, 8, makecol(255, 0, 0)) < 256 * 8;
    }));
    chmod("data/levels", 0755);
    EXPECT_EQ(Read_File(Map(3)), old_text);
}

TEST_F(Editor_Files_Test, ALinkAndThePermissionBitsSurviveASave)
{
    fs::rename(Map(2), directory.Path("kept.map"));
    fs::create_symlink("../../kept.map", Map(2));
    chmod(directory.Path("kept.map").c_str(), 0640);
    editor.Start_Editor();
    editor.current_level = 2;
    Press(Application::SIGNAL_SCROLL_UP_1);
    Tick(Application::SIGNAL_SAVE);
    EXPECT_TRUE(fs::is_symlink(Map(2)));
    EXPECT_EQ(Read_File(directory.Path("kept.map")), editor.levels[2]->Map_Text());
    EXPECT_EQ(fs::status(Map(2)).permissions(), fs::perms(0640));
}

TEST_F(Editor_Files_Test, AnEndingProgramSavesLikeQ)
{
    editor.Start_Editor();
    Press(Application::SIGNAL_SCROLL_UP_1);
    termination_requested = 1;
    EXPECT_TRUE(Quit());
    Level saved;
    saved.Load_For_Editing(Map(0).c_str());
    EXPECT_EQ(saved.pointers[0], editor.levels[0]->pointers[0]);
    EXPECT_FALSE(editor.levels[0]->Changed());

    // The game, too, takes it for Q.
    Application game;
    termination_requested = 1;
    game.Run_Play_Tick();
    EXPECT_TRUE(game.quit);
}

TEST_F(Editor_Files_Test, AMovieThatCannotBeWrittenIsSaidOnTheConsole)
{
    // A pipe in its place is never replaced by a file.
    fs::remove("data/movie/movie.dat");
    ASSERT_EQ(mkfifo("data/movie/movie.dat", 0644), 0);
    testing::internal::CaptureStderr();
    editor.Leave_Game();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "The movie was not saved to data/movie/movie.dat: not a regular file\n");
    EXPECT_TRUE(fs::is_fifo("data/movie/movie.dat"));
}
