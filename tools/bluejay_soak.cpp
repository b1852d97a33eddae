// The soak run: plays every campaign level (the maps 0 to 23 that exist, and
// 119) for many ticks with random held keys, and runs the level editor for
// as many ticks of random commands on a scratch copy of the levels, then
// plays every level the editor changed. Each run is a child process watched
// by this one, so a crash, a sanitizer report or a tick that never ends is
// reported as a finding and the other runs go on.
//
//   bluejay_soak [--ticks N] [--seed S] [--levels 0,1,119] [--no-play]
//                [--no-editor] [--hang-seconds T] [--jobs J] [--keep-scratch]
//
// --ticks N         ticks for each level and for the editor (default 10000)
// --seed S          seed of the random keys and of the game (default 1); the
//                   same seed gives the same run
// --levels LIST     the levels to play instead of the campaign
// --no-play, --no-editor   leave out the play or the editor runs
// --hang-seconds T  a run that makes no progress for T seconds is a hang
//                   (default 120)
// --jobs J          runs at a time, each in its own process (default 1)
// --keep-scratch    keep the editor's scratch copy of the levels
//
// One line per run and a total; the exit status is 1 when anything was
// found. Built with the sanitizers (`make soak`), their reports count.

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <poll.h>
#include <random>
#include <set>
#include <signal.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <allegro.h>

#include "application.h"
#include "bluejay.h"
#include "level.h"

namespace
{
struct Options
{
    long ticks = 10000;
    unsigned seed = 1;
    std::vector<int> levels;
    bool play = true;
    bool editor = true;
    int hang_seconds = 120;
    int jobs = 1;
    bool keep_scratch = false;
};

// What a run tells its watcher: progress lines while it runs, then one
// summary line and any findings of its own.
class Report
{
public:
    explicit Report(int descriptor) : file(fdopen(descriptor, "w"))
    {
    }

    void Progress(long ticks)
    {
        std::fprintf(file, "progress %ld\n", ticks);
        std::fflush(file);
    }

    void Finding(const std::string& text)
    {
        findings++;
        std::fprintf(file, "finding %s\n", text.c_str());
        std::fflush(file);
    }

    void Summary(const std::string& text)
    {
        std::fprintf(file, "summary %s\n", text.c_str());
        std::fflush(file);
    }

    int findings = 0;

private:
    FILE* file;
};

bool Has_Data(const std::string& directory)
{
    return access((directory + "/data/graphics").c_str(), F_OK) == 0;
}

// The game's data is found from the working directory or beside the tool.
std::string Find_Project_Directory()
{
    if (Has_Data("."))
        return std::filesystem::current_path().string();
    char program[4096];
    ssize_t length = readlink("/proc/self/exe", program, sizeof(program) - 1);
    if (length <= 0)
        return "";
    program[length] = '\0';
    std::string directory(program);
    for (int up = 0; up < 3; up++)
    {
        std::string::size_type slash = directory.rfind('/');
        if (slash == std::string::npos)
            return "";
        directory.erase(slash);
        if (Has_Data(directory))
            return directory;
    }
    return "";
}

std::string Level_Path(int number)
{
    char path[Application::MAX_PATH_LENGTH];
    Make_Level_Path(path, number);
    return path;
}

Application* Start_Game(Report& report)
{
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
    {
        report.Finding("cannot start the game library");
        return nullptr;
    }
    set_color_depth(32);
    Application* game = new Application();
    application = game;
    game->Load_Resources();
    if (game->missing_resource[0] != '\0')
    {
        report.Finding(std::string("cannot load ") + game->missing_resource);
        return nullptr;
    }
    return game;
}

// Keys held for a while, then others, the way a player (or a cat on the
// keyboard) would: mostly running and jumping, now and then flying, going
// down, pausing, closing a message or giving up a life.
class Player
{
public:
    explicit Player(unsigned seed) : random(seed)
    {
    }

    int Next()
    {
        if (hold <= 0)
        {
            hold = std::uniform_int_distribution<int>(1, 30)(random);
            word = 0;
            struct
            {
                int signal;
                double chance;
            } const keys[] = {{Application::SIGNAL_RIGHT, 0.45}, {Application::SIGNAL_LEFT, 0.25},
                              {Application::SIGNAL_UP, 0.4},     {Application::SIGNAL_FLY, 0.2},
                              {Application::SIGNAL_DOWN, 0.1},   {Application::SIGNAL_PAUSE, 0.01},
                              {Application::SIGNAL_START, 0.04}, {Application::SIGNAL_DELETE, 0.002}};
            for (const auto& key : keys)
                if (std::uniform_real_distribution<double>(0, 1)(random) < key.chance)
                    word |= key.signal;
        }
        hold--;
        return word;
    }

private:
    std::mt19937 random;
    int hold = 0;
    int word = 0;
};

// Commands for the editor: one key at a time, held one tick or a few.
class Editor_User
{
public:
    explicit Editor_User(unsigned seed) : random(seed)
    {
    }

    int Next()
    {
        if (hold <= 0)
        {
            struct
            {
                int signal;
                int weight;
            } const commands[] = {{0, 20},
                                  {Application::SIGNAL_CURSOR_LEFT, 8},
                                  {Application::SIGNAL_CURSOR_RIGHT, 8},
                                  {Application::SIGNAL_CURSOR_UP, 8},
                                  {Application::SIGNAL_CURSOR_DOWN, 8},
                                  {Application::SIGNAL_LEFT, 5},
                                  {Application::SIGNAL_RIGHT, 6},
                                  {Application::SIGNAL_UP, 4},
                                  {Application::SIGNAL_DOWN, 4},
                                  {Application::SIGNAL_SELECT, 12},
                                  {Application::SIGNAL_DELETE, 3},
                                  {Application::SIGNAL_SCROLL_UP_1, 4},
                                  {Application::SIGNAL_SCROLL_DOWN_1, 4},
                                  {Application::SIGNAL_SCROLL_UP_2, 1},
                                  {Application::SIGNAL_SCROLL_DOWN_2, 1},
                                  {Application::SIGNAL_SCROLL_UP_3, 1},
                                  {Application::SIGNAL_SCROLL_DOWN_3, 1},
                                  {Application::SIGNAL_SCREEN_MODE, 2},
                                  {Application::SIGNAL_CHARACTER_MODE, 3},
                                  {Application::SIGNAL_PLATFORM_MODE, 3},
                                  {Application::SIGNAL_SAVE, 1},
                                  {Application::SIGNAL_LEVEL_UP, 1},
                                  {Application::SIGNAL_LEVEL_DOWN, 1}};
            int total = 0;
            for (const auto& command : commands)
                total += command.weight;
            int pick = std::uniform_int_distribution<int>(0, total - 1)(random);
            for (const auto& command : commands)
            {
                if (pick < command.weight)
                {
                    word = command.signal;
                    break;
                }
                pick -= command.weight;
            }
            hold = std::uniform_int_distribution<int>(1, 12)(random);
        }
        hold--;
        return word;
    }

private:
    std::mt19937 random;
    int hold = 0;
    int word = 0;
};

// The rules the game keeps on every tick of play.
void Check_Play(Application& game, Report& report, long tick, int level_before)
{
    if (game.current_level < 0 || game.current_level >= Application::NUMBER_OF_LEVELS)
    {
        report.Finding("tick " + std::to_string(tick) + ": current level " + std::to_string(game.current_level));
        game.current_level = level_before;
        return;
    }
    Level& level = *game.levels[game.current_level];
    if (level.number_of_characters < 0 || level.number_of_characters > Level::MAX_CHARACTERS ||
        level.number_of_platforms < 0 || level.number_of_platforms > Level::MAX_PLATFORMS)
        report.Finding("tick " + std::to_string(tick) + ": tables out of bounds");
    Bluejay* hero = level.Hero();
    if (game.current_level != level_before && hero == nullptr)
        report.Finding("tick " + std::to_string(tick) + ": carried into level " +
                       std::to_string(game.current_level) + ", which has no hero");
    if (hero == nullptr)
        return;
    long long last_x = static_cast<long long>(level.screens_wide - 1) * Application::CANVAS_WIDTH;
    long long top_y = -static_cast<long long>(level.screens_high - 1) * Application::CANVAS_HEIGHT;
    if (level.scroll_x < 0 || level.scroll_x > last_x || level.scroll_y > 0 || level.scroll_y < top_y)
        report.Finding("tick " + std::to_string(tick) + ": camera at " + std::to_string(level.scroll_x) + ", " +
                       std::to_string(level.scroll_y) + " outside level " + std::to_string(game.current_level) +
                       " (" + std::to_string(level.screens_wide) + " x " + std::to_string(level.screens_high) +
                       " screens), hero at " + std::to_string(hero->x) + ", " + std::to_string(hero->y) +
                       ", state " + std::to_string(hero->state) + ", strength " + std::to_string(hero->strength));
    if (hero->state == Bluejay::GOING_DOWN_PIPE && hero->strength > 0 && !hero->went_down_pipe &&
        hero->y >= hero->pipe_y + Rectangle::CELL_SIZE)
        report.Finding("tick " + std::to_string(tick) + ": the hero sank below its pipe");
}

// Plays one level for the given ticks; after "Game Over" or the end of the
// game it starts again on the same level.
void Soak_Level(const Options& options, int number, Report& report)
{
    Application* game = Start_Game(report);
    if (game == nullptr)
        return;
    std::srand(options.seed * 1000 + static_cast<unsigned>(number));
    game->Load_Game_Data();
    game->demo_mode = false;
    game->current_level = number;
    Player player(options.seed * 1000 + static_cast<unsigned>(number));

    long game_overs = 0, completions = 0, pipes = 0, deaths = 0;
    std::set<int> visited = {number};
    double slowest = 0;
    int lives = -1;
    long tick = 0;
    for (; tick < options.ticks; tick++)
    {
        int level_before = game->current_level;
        Application::Press_Keys_For_Signals(player.Next() & ~Application::SIGNAL_QUIT);
        auto start = std::chrono::steady_clock::now();
        game->Run_Play_Tick();
        double took = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (took > slowest)
            slowest = took;
        Check_Play(*game, report, tick, level_before);
        if (game->current_level != level_before)
        {
            pipes++;
            visited.insert(game->current_level);
        }
        Bluejay* hero = game->levels[game->current_level]->Hero();
        if (hero != nullptr)
        {
            if (lives >= 0 && hero->lives < lives)
                deaths++;
            lives = hero->lives;
        }
        if (game->game_over || game->game_complete)
        {
            // Enter after "Game Over" loads every level afresh; the run goes
            // on where it started.
            game_overs += game->game_over;
            completions += game->game_complete;
            game->Rebuild_Levels();
            game->game_over = false;
            game->game_complete = false;
            game->paused = false;
            game->current_level = number;
            lives = -1;
        }
        game->quit = false;
        if ((tick + 1) % 500 == 0)
            report.Progress(tick + 1);
    }
    Application::Press_Keys_For_Signals(0);

    report.Progress(tick);
    char summary[256];
    std::snprintf(summary, sizeof(summary),
                  "%ld ticks, %ld lives lost, %ld game overs, %ld games won, %ld pipes into %zu levels, "
                  "slowest tick %.1f ms",
                  tick, deaths, game_overs, completions, pipes, visited.size(), slowest);
    report.Summary(summary);
    application = nullptr;
    delete game;
}

bool Same_Records(const Level& held, const Level& read)
{
    if (held.background != read.background || held.music != read.music ||
        held.number_of_characters != read.number_of_characters || held.number_of_platforms != read.number_of_platforms)
        return false;
    for (int i = 0; i < held.number_of_characters; i++)
        if (held.character_records[i]->type != read.character_records[i]->type ||
            held.character_records[i]->x != read.character_records[i]->x ||
            held.character_records[i]->y != read.character_records[i]->y)
            return false;
    for (int i = 0; i < held.number_of_platforms; i++)
        if (held.platform_records[i]->type != read.platform_records[i]->type ||
            held.platform_records[i]->x != read.platform_records[i]->x ||
            held.platform_records[i]->y != read.platform_records[i]->y)
            return false;
    for (int i = 0; i < Level::NUMBER_OF_POINTERS; i++)
        if (held.pointers[i] != read.pointers[i])
            return false;
    return true;
}

// The editor on a scratch copy of the levels, then a short game on every
// level it changed.
void Soak_Editor(const Options& options, const std::string& project, Report& report)
{
    Application* game = Start_Game(report);
    if (game == nullptr)
        return;
    char pattern[] = "/tmp/bluejay_soak_XXXXXX";
    if (mkdtemp(pattern) == nullptr)
    {
        report.Finding("cannot make a scratch directory");
        return;
    }
    std::string scratch = pattern;
    std::filesystem::create_directories(scratch + "/data/levels");
    std::filesystem::copy(project + "/data/levels", scratch + "/data/levels",
                          std::filesystem::copy_options::recursive);
    std::filesystem::copy(project + "/data/bump_maps", scratch + "/data/bump_maps",
                          std::filesystem::copy_options::recursive);
    std::filesystem::copy(project + "/data/messages", scratch + "/data/messages",
                          std::filesystem::copy_options::recursive);
    if (chdir(scratch.c_str()) != 0)
    {
        report.Finding("cannot go to the scratch directory");
        return;
    }

    std::vector<std::string> originals(Application::NUMBER_OF_LEVELS);
    for (int i = 0; i < Application::NUMBER_OF_LEVELS; i++)
    {
        std::ifstream file(Level_Path(i), std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        originals[i] = text.str();
    }

    std::srand(options.seed);
    game->Start_Editor();
    Editor_User user(options.seed * 7919 + 1);
    std::set<int> visited = {0};
    double slowest = 0;
    long tick = 0;
    for (; tick < options.ticks; tick++)
    {
        Application::Press_Keys_For_Signals(user.Next());
        auto start = std::chrono::steady_clock::now();
        game->Run_Editor_Tick();
        double took = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (took > slowest)
            slowest = took;
        if (game->current_level < 0 || game->current_level >= Application::NUMBER_OF_LEVELS)
        {
            report.Finding("editor tick " + std::to_string(tick) + ": level " + std::to_string(game->current_level));
            break;
        }
        Level& level = *game->levels[game->current_level];
        visited.insert(game->current_level);
        if (game->cursor_x < 0 || game->cursor_x > Application::MAX_CURSOR_X || game->cursor_y < 0 ||
            game->cursor_y > Application::MAX_CURSOR_Y || level.scroll_x < 0 ||
            level.scroll_x > Application::MAX_SCROLL_X || level.scroll_y > 0 ||
            level.scroll_y < Application::MIN_SCROLL_Y || level.number_of_characters < 0 ||
            level.number_of_characters > Level::MAX_CHARACTERS || level.number_of_platforms < 0 ||
            level.number_of_platforms > Level::MAX_PLATFORMS)
            report.Finding("editor tick " + std::to_string(tick) + ": cursor, view or tables out of bounds");
        if ((tick + 1) % 500 == 0)
            report.Progress(tick + 1);
    }
    Application::Press_Keys_For_Signals(0);
    game->Leave_Editor();

    // What leaving saved reads back as the editor held it.
    Level* saved = new Level();
    saved->Load_For_Editing(Level_Path(game->current_level).c_str());
    if (!Same_Records(*game->levels[game->current_level], *saved))
        report.Finding("level " + std::to_string(game->current_level) + " does not read back as it was saved");
    delete saved;

    // Every level the editor changed is played for a while.
    std::vector<int> changed;
    for (int i = 0; i < Application::NUMBER_OF_LEVELS; i++)
    {
        std::ifstream file(Level_Path(i), std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        if (text.str() != originals[i])
            changed.push_back(i);
    }
    game->Rebuild_Levels();
    game->demo_mode = false;
    Player player(options.seed * 31 + 5);
    long play_ticks = 0;
    for (int number : changed)
    {
        game->current_level = number;
        game->game_over = false;
        for (int i = 0; i < 300; i++)
        {
            int level_before = game->current_level;
            Application::Press_Keys_For_Signals(player.Next());
            game->Run_Play_Tick();
            game->quit = false;
            Check_Play(*game, report, i, level_before);
            play_ticks++;
            if (game->game_over || game->game_complete)
                break;
        }
    }
    Application::Press_Keys_For_Signals(0);

    report.Progress(tick);
    char summary[256];
    std::snprintf(summary, sizeof(summary),
                  "%ld ticks over %zu levels, slowest tick %.1f ms; %zu levels changed, played %ld ticks", tick,
                  visited.size(), slowest, changed.size(), play_ticks);
    report.Summary(summary);
    application = nullptr;
    delete game;
    if (chdir(project.c_str()) == 0 && !options.keep_scratch)
        std::filesystem::remove_all(scratch);
    else
        report.Summary(summary + std::string("; the edited levels are in ") + scratch);
}

struct Outcome
{
    std::string name;
    std::string summary;
    std::vector<std::string> findings;
    long progress = 0;
};

// One job running in a child process, watched through a pipe for its
// progress and report, with its error output going to a file.
struct Run
{
    Outcome outcome;
    pid_t child = -1;
    int input = -1;
    std::string pending;
    std::string error_name;
    std::chrono::steady_clock::time_point last_news;
    bool hung = false;
};

template <typename Job> bool Start_Run(Run& run, Job job)
{
    int pipe_ends[2];
    char error_name[] = "/tmp/bluejay_soak_stderr_XXXXXX";
    int error_file = mkstemp(error_name);
    if (error_file < 0 || pipe(pipe_ends) != 0)
    {
        run.outcome.findings.push_back("cannot start the run");
        return false;
    }
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0)
    {
        close(pipe_ends[0]);
        dup2(error_file, STDERR_FILENO);
        Report report(pipe_ends[1]);
        job(report);
        std::fflush(nullptr);
        _exit(report.findings > 0 ? 1 : 0);
    }
    close(pipe_ends[1]);
    close(error_file);
    run.child = child;
    run.input = pipe_ends[0];
    run.error_name = error_name;
    run.last_news = std::chrono::steady_clock::now();
    return child > 0;
}

// Reads what a run has written; false once it has closed its end.
bool Read_Run(Run& run)
{
    char buffer[4096];
    ssize_t got = read(run.input, buffer, sizeof(buffer));
    if (got < 0 && errno == EINTR)
        return true;
    if (got <= 0)
        return false;
    run.last_news = std::chrono::steady_clock::now();
    run.pending.append(buffer, static_cast<size_t>(got));
    std::string::size_type end;
    while ((end = run.pending.find('\n')) != std::string::npos)
    {
        std::string line = run.pending.substr(0, end);
        run.pending.erase(0, end + 1);
        if (line.rfind("progress ", 0) == 0)
            run.outcome.progress = std::atol(line.c_str() + 9);
        else if (line.rfind("finding ", 0) == 0)
            run.outcome.findings.push_back(line.substr(8));
        else if (line.rfind("summary ", 0) == 0)
            run.outcome.summary = line.substr(8);
    }
    return true;
}

// Waits for the child, then adds a crash, a hang and any sanitizer report
// to the findings.
void Finish_Run(Run& run, const Options& options)
{
    close(run.input);
    int status = 0;
    waitpid(run.child, &status, 0);
    Outcome& outcome = run.outcome;
    std::string after = " after " + std::to_string(outcome.progress) + " ticks";
    if (run.hung)
        outcome.findings.push_back("hang: no progress for " + std::to_string(options.hang_seconds) + " s" + after);
    else if (WIFSIGNALED(status))
        outcome.findings.push_back("crash: signal " + std::to_string(WTERMSIG(status)) + after);
    else if (WIFEXITED(status) && WEXITSTATUS(status) != 0 && outcome.findings.empty())
        outcome.findings.push_back("exit status " + std::to_string(WEXITSTATUS(status)) + after);

    std::ifstream errors(run.error_name);
    std::string error_line;
    int shown = 0;
    bool reported = false;
    while (std::getline(errors, error_line))
    {
        if (error_line.find("runtime error") != std::string::npos ||
            error_line.find("Sanitizer") != std::string::npos || error_line.find("ERROR") != std::string::npos)
            reported = true;
        if (reported && shown < 12)
        {
            outcome.findings.push_back("  " + error_line);
            shown++;
        }
    }
    unlink(run.error_name.c_str());
}

// Runs the jobs, at most `jobs` at a time, and hands each outcome to show
// as its run ends.
template <typename Show>
void Run_All(const Options& options, int jobs, std::vector<std::pair<std::string, std::function<void(Report&)>>>& work,
             Show show)
{
    std::vector<Run> running;
    size_t next = 0;
    while (next < work.size() || !running.empty())
    {
        while (next < work.size() && static_cast<int>(running.size()) < jobs)
        {
            Run run;
            run.outcome.name = work[next].first;
            if (Start_Run(run, work[next].second))
                running.push_back(run);
            else
                show(run.outcome);
            next++;
        }
        std::vector<struct pollfd> watch;
        for (const Run& run : running)
            watch.push_back({run.input, POLLIN, 0});
        int ready = poll(watch.data(), watch.size(), 1000);
        if (ready < 0 && errno != EINTR)
            break;
        auto now = std::chrono::steady_clock::now();
        for (size_t i = 0; i < running.size();)
        {
            Run& run = running[i];
            bool open = true;
            if (ready > 0 && (watch[i].revents & (POLLIN | POLLHUP | POLLERR)))
                open = Read_Run(run);
            if (open && now - run.last_news > std::chrono::seconds(options.hang_seconds))
            {
                run.hung = true;
                kill(run.child, SIGKILL);
                open = false;
            }
            if (open)
            {
                i++;
                continue;
            }
            Finish_Run(run, options);
            show(run.outcome);
            running.erase(running.begin() + static_cast<long>(i));
            watch.erase(watch.begin() + static_cast<long>(i));
        }
    }
}

bool Parse_Number(const char* text, long& value)
{
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text, &end, 10);
    return errno == 0 && end != text && *end == '\0';
}

int Usage(const char* message)
{
    std::fprintf(stderr, "bluejay_soak: %s\n", message);
    std::fprintf(stderr, "usage: bluejay_soak [--ticks N] [--seed S] [--levels 0,1,119] [--no-play] [--no-editor] "
                         "[--hang-seconds T] [--jobs J] [--keep-scratch]\n");
    return 2;
}
} // namespace

int main(int argc, char* argv[])
{
    Options options;
    for (int i = 1; i < argc; i++)
    {
        std::string option = argv[i];
        long number = 0;
        bool has_value = i + 1 < argc;
        if (option == "--ticks" && has_value && Parse_Number(argv[i + 1], number) && number >= 0)
            options.ticks = number, i++;
        else if (option == "--seed" && has_value && Parse_Number(argv[i + 1], number))
            options.seed = static_cast<unsigned>(number), i++;
        else if (option == "--hang-seconds" && has_value && Parse_Number(argv[i + 1], number) && number > 0)
            options.hang_seconds = static_cast<int>(number), i++;
        else if (option == "--jobs" && has_value && Parse_Number(argv[i + 1], number) && number > 0 && number <= 64)
            options.jobs = static_cast<int>(number), i++;
        else if (option == "--levels" && has_value)
        {
            std::stringstream list(argv[++i]);
            std::string item;
            while (std::getline(list, item, ','))
            {
                if (!Parse_Number(item.c_str(), number) || number < 0 || number >= Application::NUMBER_OF_LEVELS)
                    return Usage("--levels wants numbers from 0 to 119, separated by commas");
                options.levels.push_back(static_cast<int>(number));
            }
        }
        else if (option == "--no-play")
            options.play = false;
        else if (option == "--no-editor")
            options.editor = false;
        else if (option == "--keep-scratch")
            options.keep_scratch = true;
        else
            return Usage(("bad option " + option).c_str());
    }

    std::string project = Find_Project_Directory();
    if (project.empty() || chdir(project.c_str()) != 0)
        return Usage("cannot find the game's data directory");
    if (options.levels.empty())
    {
        for (int number = 0; number < Application::NUMBER_OF_LEVELS; number++)
            if ((number <= 23 || number == 119) && access(Level_Path(number).c_str(), F_OK) == 0)
                options.levels.push_back(number);
    }

    long total_ticks = 0;
    int findings = 0;
    auto show = [&](const Outcome& outcome) {
        std::printf("%-9s %s: %s\n", outcome.name.c_str(),
                    outcome.summary.empty() ? "(no summary)" : outcome.summary.c_str(),
                    outcome.findings.empty() ? "ok" : "FOUND");
        for (const std::string& finding : outcome.findings)
            std::printf("          %s\n", finding.c_str());
        std::fflush(stdout);
        findings += static_cast<int>(outcome.findings.size());
        total_ticks += outcome.progress;
    };
    std::vector<std::pair<std::string, std::function<void(Report&)>>> work;
    if (options.editor)
        work.emplace_back("editor", [&](Report& report) { Soak_Editor(options, project, report); });
    if (options.play)
        for (int number : options.levels)
            work.emplace_back("level " + std::to_string(number),
                              [&options, number](Report& report) { Soak_Level(options, number, report); });
    auto start = std::chrono::steady_clock::now();
    Run_All(options, options.jobs, work, show);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("total: %ld ticks in %.0f s, %d findings\n", total_ticks, seconds, findings);
    return findings > 0 ? 1 : 0;
}
END_OF_MAIN()
