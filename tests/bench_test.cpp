// The benchmark's pieces: the level it makes at the editor's limits, its
// report, and the game's start-up probe (BLUEJAY_FIRST_FRAME_EXIT), which
// stops the game after its first title frame with nothing saved.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <thread>

#include "application.h"
#include "bluejay.h"
#include "level.h"
#include "platform.h"
#include "test_support.h"

namespace
{
// The benchmark is built beside the test program.
std::string Bench_Path()
{
    char program[4096];
    ssize_t length = readlink("/proc/self/exe", program, sizeof(program) - 1);
    if (length <= 0)
        return "";
    std::string path(program, static_cast<size_t>(length));
    return path.substr(0, path.rfind('/') + 1) + "bluejay_bench";
}

struct Bench_Result
{
    std::string output;
    int status = -1;
};

// Runs the benchmark in the project folder, or in another one.
Bench_Result Run_Bench(const std::string& arguments, const std::string& folder = ".")
{
    Bench_Result run;
    std::string command = "cd '" + folder + "' && '" + Bench_Path() + "' " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    char buffer[512];
    while (std::fgets(buffer, sizeof(buffer), pipe) != nullptr)
        run.output += buffer;
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string Write_Stress_Level(const Temporary_Directory& directory, const std::string& name)
{
    std::string path = directory.Path(name);
    Bench_Result run = Run_Bench("--write-stress-level '" + path + "'");
    EXPECT_EQ(run.status, 0);
    return path;
}

// The keys the benchmark holds on the stress level: running both ways,
// jumping and flying.
int Stress_Keys(long tick)
{
    int word = (tick % 400) < 300 ? Application::SIGNAL_RIGHT : Application::SIGNAL_LEFT;
    if (tick % 30 < 12)
        word |= Application::SIGNAL_UP;
    if (tick % 150 >= 100 && tick % 150 < 130)
        word |= Application::SIGNAL_FLY;
    return word;
}
} // namespace

class BenchStressLevelTest : public testing::Test
{
protected:
    Temporary_Directory directory;
};

TEST_F(BenchStressLevelTest, FillsTheEditorsTablesWithEveryKind)
{
    std::string path = Write_Stress_Level(directory, "stress.map");
    Level level;
    level.Load(path.c_str());
    EXPECT_EQ(level.number_of_platforms, Level::MAX_PLATFORMS);
    EXPECT_EQ(level.number_of_characters, Level::MAX_CHARACTERS);
    EXPECT_EQ(level.screens_wide, Application::NUMBER_OF_SCREENS);
    ASSERT_NE(level.Hero(), nullptr);

    // The codes of the file, as the editor reads them (in play the kinds of
    // a bird, a rock, a fly or a switch share one type).
    Level records;
    records.Load_For_Editing(path.c_str());
    ASSERT_EQ(records.number_of_characters, Level::MAX_CHARACTERS);
    ASSERT_EQ(records.number_of_platforms, Level::MAX_PLATFORMS);
    std::set<int> character_kinds, platform_kinds;
    int heroes = 0;
    for (int i = 0; i < records.number_of_characters; i++)
    {
        character_kinds.insert(records.character_records[i]->type);
        heroes += records.character_records[i]->type == Level::BLUEJAY ? 1 : 0;
    }
    for (int i = 0; i < records.number_of_platforms; i++)
        platform_kinds.insert(records.platform_records[i]->type);
    EXPECT_EQ(heroes, 1);
    // A message marker would hold the game at its first message.
    EXPECT_EQ(character_kinds.count(Level::MESSAGE_OBJECT), 0u);
    for (int type = Level::BLACK_BIRD; type <= Level::NO_ECTO_SWITCH; type++)
    {
        if (type != Level::MESSAGE_OBJECT)
        {
            EXPECT_EQ(character_kinds.count(type), 1u) << "character type " << type;
        }
    }
    for (int type = Level::BROWN_BLOCK; type <= Level::TALL_VINE; type++)
        EXPECT_EQ(platform_kinds.count(type), 1u) << "platform type " << type;
}

TEST_F(BenchStressLevelTest, CrowdsTheFirstScreenAndKeepsTheFinalSwitchesFarAway)
{
    Level records;
    records.Load_For_Editing(Write_Stress_Level(directory, "stress.map").c_str());
    int in_first_screens = 0, final_switches = 0;
    for (int i = 0; i < records.number_of_characters; i++)
    {
        Map_Record& record = *records.character_records[i];
        if (record.x < 2 * Application::CANVAS_WIDTH)
            in_first_screens++;
        if (record.type == Level::NO_ECTO_SWITCH)
        {
            final_switches++;
            EXPECT_GE(record.x, (Application::NUMBER_OF_SCREENS - 1) * Application::CANVAS_WIDTH);
        }
    }
    EXPECT_GT(final_switches, 0);
    EXPECT_GE(in_first_screens, 900);
}

TEST_F(BenchStressLevelTest, IsTheSameLevelEveryTime)
{
    std::string first = Read_File(Write_Stress_Level(directory, "first.map"));
    std::string second = Read_File(Write_Stress_Level(directory, "second.map"));
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(first, second);
}

TEST_F(BenchStressLevelTest, PlaysOnWithTheCrowdOnScreen)
{
    std::string path = Write_Stress_Level(directory, "stress.map");
    Application game;
    game.Load_Resources();
    Level& level = *game.levels[0];
    level.Load(path.c_str());
    game.current_level = 0;
    int start_x = level.Hero()->x;
    int most_on_screen = 0;
    for (long tick = 0; tick < 60; tick++)
    {
        Application::Press_Keys_For_Signals(Stress_Keys(tick));
        game.Run_Play_Tick();
        int on_screen = 0;
        for (int i = 0; i < level.number_of_characters; i++)
            if (level.characters[i]->Is_On_Screen(level.scroll_x, level.scroll_y, game))
                on_screen++;
        if (on_screen > most_on_screen)
            most_on_screen = on_screen;
    }
    Release_All_Keys();
    EXPECT_FALSE(game.game_complete);
    EXPECT_FALSE(level.showing_message);
    EXPECT_NE(level.Hero()->x, start_x);
    EXPECT_GE(most_on_screen, 100);
}

TEST(BenchReportTest, RefusesAnUnknownOption)
{
    EXPECT_EQ(Run_Bench("--no-such-option").status, 2);
}

// Run_Game with the probe set: the first title tick runs, the line is
// printed, and the game stops before leaving the title (which would rebuild
// the levels) or quitting (which would save the movie).
TEST(FirstFrameProbeTest, StopsAfterTheFirstTitleFrame)
{
    Application game;
    application = &game;
    game.Load_Resources();
    Release_All_Keys();
    setenv("BLUEJAY_FIRST_FRAME_EXIT", "1", 1);
    timing_signal = true;
    testing::internal::CaptureStdout();
    game.Run_Game();
    std::string output = testing::internal::GetCapturedStdout();
    unsetenv("BLUEJAY_FIRST_FRAME_EXIT");
    application = nullptr;
    EXPECT_EQ(output, "first title frame\n");
    EXPECT_TRUE(game.demo_mode);
    EXPECT_FALSE(game.title_done);
    EXPECT_FALSE(game.quit);
    EXPECT_EQ(game.signal_buffer_position, game.signal_buffer_length > 0 ? 1 : 0);
    EXPECT_FALSE(timing_signal);
}

namespace
{
// Every file below a folder with its contents, to see that a run wrote
// nothing there.
std::string Snapshot(const std::string& folder)
{
    std::string all;
    std::string command = "find '" + folder + "' -type f | sort";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return all;
    char line[4096];
    while (std::fgets(line, sizeof(line), pipe) != nullptr)
    {
        std::string path(line);
        path.erase(path.find_last_not_of('\n') + 1);
        all += path + "\n" + Read_File(path);
    }
    pclose(pipe);
    return all;
}

// A project folder of its own: the game's pictures, sounds, shapes,
// messages and tools shared, a copy of the levels and the movie, which a
// run could write.
std::string Scratch_Project(const Temporary_Directory& directory)
{
    char here[4096];
    if (getcwd(here, sizeof(here)) == nullptr)
        return "";
    std::string project = directory.Path("project");
    std::string command = "mkdir -p '" + project + "/data' && ln -s '" + here + "/tools' '" + project +
                          "/tools' && cp -r data/levels data/movie '" + project + "/data/'";
    for (const char* shared : {"graphics", "bump_maps", "sounds", "messages"})
        command += std::string(" && ln -s '") + here + "/data/" + shared + "' '" + project + "/data/" + shared + "'";
    return std::system(command.c_str()) == 0 ? project : "";
}
} // namespace

// The runs the benchmark makes in fresh processes report their figures.
TEST(BenchChildTest, StartUpReportsEveryStage)
{
    Bench_Result run = Run_Bench("--child startup");
    EXPECT_EQ(run.status, 0);
    for (const char* stage : {"to_main=", "library=", "construct=", "resources=", "game_data=", "start_title=",
                              "first_tick=", "total="})
        EXPECT_NE(run.output.find(stage), std::string::npos) << stage << "\n" << run.output;
}

TEST(BenchChildTest, TheEditorsMemoryRunSavesNothing)
{
    Temporary_Directory directory;
    std::string project = Scratch_Project(directory);
    ASSERT_FALSE(project.empty());
    std::string levels = Snapshot(project + "/data/levels");
    ASSERT_FALSE(levels.empty());
    Bench_Result run = Run_Bench("--child editor-memory", project);
    EXPECT_EQ(run.status, 0);
    ASSERT_NE(run.output.find("peak_kb="), std::string::npos) << run.output;
    EXPECT_GT(std::atol(run.output.c_str() + run.output.find('=') + 1), 1000L);
    EXPECT_EQ(Snapshot(project + "/data/levels"), levels);
}

TEST(BenchChildTest, TheGamesMemoryRunPlaysTheRouteAndSavesNothing)
{
    Temporary_Directory directory;
    std::string project = Scratch_Project(directory);
    ASSERT_FALSE(project.empty());
    std::string movie = Snapshot(project + "/data/movie");
    std::string levels = Snapshot(project + "/data/levels");
    Bench_Result run = Run_Bench("--child game-memory", project);
    EXPECT_EQ(run.status, 0);
    ASSERT_NE(run.output.find("peak_kb="), std::string::npos) << run.output;
    EXPECT_GT(std::atol(run.output.c_str() + run.output.find('=') + 1), 1000L);
    EXPECT_EQ(Snapshot(project + "/data/movie"), movie);
    EXPECT_EQ(Snapshot(project + "/data/levels"), levels);
}

TEST(BenchChildTest, AnUnknownRunIsRefused)
{
    EXPECT_EQ(Run_Bench("--child no-such-run").status, 2);
}

// The tick wait of the game (not the spinning one of the measuring build):
// a period that has already come is taken at once, and only once.
TEST(TickWaitTest, TakesAPeriodThatHasComeAtOnce)
{
    timing_signal = true;
    Application::Wait_For_Tick();
    EXPECT_FALSE(timing_signal);
}

// Three periods missed during a long tick give one tick at once; the next
// wait sleeps until the timer's next period really comes.
TEST(TickWaitTest, MissedPeriodsMergeAndTheNextWaitSleepsUntilThePeriod)
{
    const auto PERIOD = std::chrono::milliseconds(60);
    for (int missed = 0; missed < 3; missed++)
        Application::Tick_Has_Come();
    Application::Wait_For_Tick();
    EXPECT_FALSE(timing_signal);

    auto start = std::chrono::steady_clock::now();
    std::thread timer([PERIOD] {
        std::this_thread::sleep_for(PERIOD);
        Application::Tick_Has_Come();
    });
    Application::Wait_For_Tick();
    auto waited = std::chrono::steady_clock::now() - start;
    timer.join();
    EXPECT_GE(waited, PERIOD);
    EXPECT_FALSE(timing_signal);
}

TEST(BenchReportTest, NamesEveryCampaignLevelAndEveryMeasure)
{
    // In a copy of the project, so that the levels do not change under it.
    Temporary_Directory directory;
    std::string project = Scratch_Project(directory);
    ASSERT_FALSE(project.empty());
    Bench_Result run = Run_Bench("--runs 1 --demo-ticks 30 --stress-ticks 10 --no-display", project);
    // Missing a target is a finding of the report, not a failure of the run.
    EXPECT_TRUE(run.status == 0 || run.status == 1) << run.output;
    const std::string& output = run.output;
    for (const char* heading :
         {"The route script", "The demo's input", "The stress level: 5000 platforms over 50 screens, 2000 characters",
          "Rebuild_Levels:", "Headless start-up", "Peak resident memory, headless", "left out (--no-display)",
          "targets missed:", "load average"})
        EXPECT_NE(output.find(heading), std::string::npos) << heading << "\n" << output;
    // Each campaign level has a row in both tables.
    for (int number = 0; number <= Application::ENDING_MESSAGE; number++)
    {
        char path[Application::MAX_PATH_LENGTH];
        Make_Level_Path(path, number);
        if (access((project + "/" + path).c_str(), F_OK) != 0)
            continue;
        char row[16];
        std::snprintf(row, sizeof(row), "\n  %5d  ", number);
        size_t first = output.find(row);
        ASSERT_NE(first, std::string::npos) << "level " << number << "\n" << output;
        EXPECT_NE(output.find(row, first + 1), std::string::npos) << "level " << number << "\n" << output;
    }
}
