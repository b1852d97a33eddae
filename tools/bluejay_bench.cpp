// The benchmark: how fast and how lean this build of the game is, in one run.
//
//   bluejay_bench [--runs N] [--rounds N] [--seconds S] [--demo-ticks N] [--stress-ticks N]
//                 [--game PATH] [--spin-game PATH] [--no-display]
//                 [--peer PATH] [--peer-seconds S] [--peer-rounds N] [--peer-only]
//                 [--write-stress-level FILE]
//
// It prints, each figure the median over several runs:
//  - headless ticks per second and the slowest tick on every campaign level
//    (the maps 0 to 23 there are), playing the route script through the
//    whole game (split by the level being played) and, level by level, the
//    demo's input;
//  - the same on a level at the editor's limits, made here at run time:
//    5000 platforms over 50 screens and 2000 characters of every kind, a
//    crowd of them on the first screens;
//  - the time from process start to the first title frame of the real game
//    under a virtual display (and the headless start-up, stage by stage),
//    and the time of Rebuild_Levels;
//  - the peak resident memory of the game and of the editor;
//  - the processor share the game takes while it plays a level at
//    1920 x 1080 under a virtual display, against a build whose tick wait
//    spins (--spin-game, built with -DBLUEJAY_SPIN_WAIT=ON), and on the
//    title over the demo at that size;
//  - side by side with the peer, another Allegro 4 platformer from Debian
//    (alex4) when it is installed: the processor share, the X server's
//    share and the peak memory of the game in a 512 x 448 window and of the
//    peer in its 640 x 480 one, each on the title over its demo, in turns,
//    and their ratios, once with sound sent to ALSA's null device and once
//    without a sound device; in the same turns the game on a 1920 x 1080
//    full screen and the editor's still view;
//  - the cost of one Display_Scene at 1920 x 1080, every row of the canvas
//    changed and none.
//
// --runs N        runs of each headless measure (default 5)
// --rounds N      rounds of the processor measure, each game in turn
//                 (default 3)
// --seconds S     seconds each game is measured in a round (default 20)
// --demo-ticks N  ticks of each level with the demo's input (default 1500)
// --stress-ticks N ticks of each run on the stress level (default 600)
// --game PATH     the game to start (default: bluejay beside this program)
// --spin-game PATH the game built with the spinning tick wait
// --no-display    leave out everything that needs Xvfb
// --peer PATH     the peer to measure beside the game (default: alex4)
// --peer-seconds S seconds of each side-by-side measure (default 10)
// --peer-rounds N rounds of the side-by-side measure (default 5)
// --peer-only     only the side-by-side measure
// --write-stress-level FILE  only write the stress level's map to FILE
//
// The parts that need a screen start their own Xvfb; without Xvfb (or with
// --no-display) they are left out. Nothing under data/ is written: the
// games started here keep their files in a scratch folder.

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <poll.h>
#include <random>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <allegro.h>

#include "application.h"
#include "bluejay.h"
#include "character.h"
#include "level.h"
#include "tick_input.h"

namespace
{
// ---------------------------------------------------------------------------
// Small helpers.

double Now_Ms()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

double Largest(const std::vector<double>& values)
{
    return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
}

std::string Read_Text_File(const std::string& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string Trim(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t\n");
    size_t last = text.find_last_not_of(" \t\n");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

std::string Load_Average()
{
    std::istringstream fields(Read_Text_File("/proc/loadavg"));
    std::string one, five, fifteen;
    fields >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

std::string Processor_Model()
{
    std::istringstream lines(Read_Text_File("/proc/cpuinfo"));
    std::string line;
    while (std::getline(lines, line))
        if (line.compare(0, 10, "model name") == 0)
            return Trim(line.substr(line.find(':') + 1));
    return "unknown";
}

// A number of kilobytes from a /proc status file ("VmHWM:  1234 kB"), or -1.
long Status_Kilobytes(const std::string& status, const char* name)
{
    std::istringstream lines(status);
    std::string line;
    while (std::getline(lines, line))
        if (line.compare(0, std::strlen(name), name) == 0)
            return std::atol(line.c_str() + std::strlen(name) + 1);
    return -1;
}

// Processor time (user and system, every thread) a process has had, in
// seconds; negative when it is gone.
double Process_Seconds(pid_t pid)
{
    std::string stat = Read_Text_File("/proc/" + std::to_string(pid) + "/stat");
    size_t close = stat.rfind(')');
    if (close == std::string::npos)
        return -1.0;
    std::istringstream fields(stat.substr(close + 2));
    std::string field;
    long long user = 0, system = 0;
    // After the name: state is field 3; utime and stime are fields 14, 15.
    for (int number = 3; number <= 15 && fields >> field; number++)
    {
        if (number == 14)
            user = std::atoll(field.c_str());
        if (number == 15)
            system = std::atoll(field.c_str());
    }
    return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

std::string Program_Path()
{
    char program[4096];
    ssize_t length = readlink("/proc/self/exe", program, sizeof(program) - 1);
    if (length <= 0)
        return "";
    return std::string(program, static_cast<size_t>(length));
}

std::string Beside_Program(const std::string& name)
{
    std::string self = Program_Path();
    return self.substr(0, self.rfind('/') + 1) + name;
}

bool Is_File(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string Find_Program(const char* name)
{
    const char* path = std::getenv("PATH");
    std::istringstream folders(path != nullptr ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':'))
        if (access((folder + "/" + name).c_str(), X_OK) == 0)
            return folder + "/" + name;
    return "";
}

// ---------------------------------------------------------------------------
// Child processes.

struct Child
{
    pid_t pid = -1;
    int output = -1; // the child's standard output
};

// Starts a program with extra environment variables; its standard output
// comes back through a pipe, its standard error goes to the file errors
// (or to /dev/null).
Child Spawn(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
            const std::string& errors = "")
{
    Child child;
    int pipe_ends[2];
    if (pipe(pipe_ends) != 0)
        return child;
    std::fflush(stdout);
    std::fflush(stderr);
    child.pid = fork();
    if (child.pid == 0)
    {
        dup2(pipe_ends[1], STDOUT_FILENO);
        close(pipe_ends[0]);
        close(pipe_ends[1]);
        int error_file = errors.empty() ? open("/dev/null", O_WRONLY)
                                        : open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (error_file >= 0)
            dup2(error_file, STDERR_FILENO);
        for (const std::string& variable : environment)
            putenv(strdup(variable.c_str()));
        std::vector<char*> argv;
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(pipe_ends[1]);
    child.output = pipe_ends[0];
    if (child.pid < 0)
    {
        close(child.output);
        child.output = -1;
    }
    return child;
}

// Reads the child's output to its end and waits for it.
std::string Finish(Child& child)
{
    std::string text;
    char buffer[4096];
    ssize_t count;
    while (child.output >= 0 && (count = read(child.output, buffer, sizeof(buffer))) > 0)
        text.append(buffer, static_cast<size_t>(count));
    if (child.output >= 0)
        close(child.output);
    child.output = -1;
    if (child.pid > 0)
        waitpid(child.pid, nullptr, 0);
    child.pid = -1;
    return text;
}

void Stop(Child& child)
{
    if (child.pid <= 0)
        return;
    kill(child.pid, SIGTERM);
    for (int i = 0; i < 100; i++)
    {
        if (waitpid(child.pid, nullptr, WNOHANG) == child.pid)
        {
            child.pid = -1;
            break;
        }
        usleep(20000);
    }
    if (child.pid > 0)
    {
        kill(child.pid, SIGKILL);
        waitpid(child.pid, nullptr, 0);
        child.pid = -1;
    }
    if (child.output >= 0)
        close(child.output);
    child.output = -1;
}

// The value of "name=" in a line of key=value words, or a fallback.
double Value(const std::string& text, const std::string& name, double fallback = -1.0)
{
    std::string padded = " " + text;
    for (char& c : padded)
        if (c == '\n')
            c = ' ';
    size_t at = padded.find(" " + name + "=");
    if (at == std::string::npos)
        return fallback;
    return std::atof(padded.c_str() + at + name.size() + 2);
}

// ---------------------------------------------------------------------------
// The game without a screen.

bool headless_started = false;

bool Start_Headless()
{
    if (headless_started)
        return true;
    Find_Data_Directory();
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        return false;
    set_color_depth(32);
    headless_started = true;
    return true;
}

Application* New_Game()
{
    Application* game = new Application();
    application = game;
    game->Load_Resources();
    if (game->missing_resource[0] != '\0')
    {
        std::fprintf(stderr, "bluejay_bench: cannot load \"%s\"\n", game->missing_resource);
        std::exit(1);
    }
    return game;
}

void Delete_Game(Application* game)
{
    Application::Press_Keys_For_Signals(0);
    application = nullptr;
    delete game;
}

// The input of a script in the runner's form, or of a movie; an unreadable
// one is no input.
std::vector<int> Read_Script(const std::string& path)
{
    Tick_Input input;
    if (!input.Read_Script(path))
        std::fprintf(stderr, "bluejay_bench: %s\n", input.error.c_str());
    return input.words;
}

std::vector<int> Read_Movie(const std::string& path)
{
    Tick_Input input;
    if (!input.Read_Movie(path))
        std::fprintf(stderr, "bluejay_bench: %s\n", input.error.c_str());
    return input.words;
}

bool Level_Present(int number)
{
    char path[Application::MAX_PATH_LENGTH];
    Make_Level_Path(path, number);
    return Is_File(path);
}

// The processor time this process has had, in milliseconds: unlike the
// wall clock it does not count the time other programs had the processor.
// Headless, the game runs on this one thread alone.
double Processor_Ms()
{
    return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// Ticks of one level in one run: wall-clock and processor time of each tick
// the level was played in, and how many ticks a message or the pause held
// it (those run nothing and are left out of the figures).
struct Tick_Times
{
    std::vector<double> ms;
    std::vector<double> cpu_ms;
    long held = 0;

    double Total() const
    {
        double total = 0;
        for (double value : ms)
            total += value;
        return total;
    }
    double Rate() const { return ms.empty() ? 0.0 : 1000.0 * static_cast<double>(ms.size()) / Total(); }
    double Slowest() const { return Largest(ms); }
    double Slowest_Processor() const { return Largest(cpu_ms); }
    double Median_Tick() const { return Median(ms); }
};

// One tick of play as the game runs it, timed.
void Timed_Play_Tick(Application& game, int word, Tick_Times& times)
{
    Application::Press_Keys_For_Signals(word);
    Level& level = *game.levels[game.current_level];
    bool held_before = level.showing_message || game.paused || game.game_over;
    double start = Now_Ms();
    double start_processor = Processor_Ms();
    game.Run_Play_Tick();
    double processor = Processor_Ms() - start_processor;
    double wall = Now_Ms() - start;
    if (held_before && (level.showing_message || game.paused || game.game_over))
    {
        times.held++;
        return;
    }
    times.ms.push_back(wall);
    times.cpu_ms.push_back(processor);
}

// The route through the whole game from level 0, as the runner plays it
// with seed 1; the ticks go to the level being played when each starts.
std::map<int, Tick_Times> Play_Route(const std::vector<int>& words, std::string& ending)
{
    std::srand(1);
    Application* game = New_Game();
    game->Load_Game_Data();
    game->demo_mode = false;
    game->current_level = 0;
    std::map<int, Tick_Times> levels;
    long tick = 0;
    for (; tick < static_cast<long>(words.size()); tick++)
    {
        int level = game->current_level;
        Timed_Play_Tick(*game, words[tick], levels[level]);
        if (game->game_over || game->game_complete || game->quit)
        {
            tick++;
            break;
        }
    }
    Bluejay* hero = game->levels[game->current_level]->Hero();
    ending = "ticks=" + std::to_string(tick) + " level=" + std::to_string(game->current_level) +
             " points=" + std::to_string(hero ? hero->points : 0) + " eggs=" + std::to_string(hero ? hero->eggs : 0);
    Delete_Game(game);
    return levels;
}

// Every campaign level on its own, with the demo's input over and over;
// a message is closed with a fresh Enter as a player would.
std::map<int, Tick_Times> Play_Demo_Input(const std::vector<int>& campaign, const std::vector<int>& words,
                                          long ticks)
{
    std::map<int, Tick_Times> levels;
    for (int number : campaign)
    {
        std::srand(1);
        Application* game = New_Game();
        game->Load_Game_Data();
        game->demo_mode = false;
        game->current_level = number;
        bool enter_held = false;
        for (long tick = 0; tick < ticks && !words.empty(); tick++)
        {
            int word = words[static_cast<size_t>(tick) % words.size()] & ~Application::SIGNAL_START;
            bool held = game->levels[game->current_level]->showing_message;
            if (held && !enter_held)
                word |= Application::SIGNAL_START;
            enter_held = (word & Application::SIGNAL_START) != 0;
            Timed_Play_Tick(*game, word, levels[number]);
            if (game->game_over || game->game_complete || game->quit)
                break;
        }
        Delete_Game(game);
    }
    return levels;
}

// ---------------------------------------------------------------------------
// The stress level: everything the editor allows at once.

constexpr int STRESS_SCREENS = 50;
constexpr int STRESS_PLATFORMS = Level::MAX_PLATFORMS;
constexpr int STRESS_CHARACTERS = Level::MAX_CHARACTERS;
// Characters dropped on the first two screens, around the hero: about one
// for every cell of the editor's 16-pixel grid on the screen.
constexpr int STRESS_CROWD = 1000;

// The map of the stress level, in the form of the level files: one hero,
// every other kind of character in turn (never a message marker, which
// would hold the game), the no-ecto switches far away at the end so that the
// game is not won early, ground under the whole level and every kind of
// platform strewn over all 50 screens and three screens of height.
std::string Stress_Level_Map()
{
    std::mt19937 random(20240607u);
    auto pick = [&random](int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); };
    constexpr int width = STRESS_SCREENS * Application::CANVAS_WIDTH;
    std::ostringstream map;
    map << Application::GRASS_BACKGROUND_BM << "\n" << Application::ATHLETIC_THEME_MT << "\n";

    std::vector<int> kinds;
    for (int type = Level::BLACK_BIRD; type <= Level::NO_ECTO_SWITCH; type++)
        if (type != Level::BLUEJAY && type != Level::MESSAGE_OBJECT)
            kinds.push_back(type);
    map << Level::BLUEJAY << "\n" << 48 << "\n" << 160 << "\n";
    for (int i = 1; i < STRESS_CHARACTERS; i++)
    {
        int type = kinds[static_cast<size_t>(i) % kinds.size()];
        int x = 0;
        if (type == Level::NO_ECTO_SWITCH)
            x = width - Application::CANVAS_WIDTH + 16 * pick(14);
        else if (i < STRESS_CROWD)
            x = 96 + 16 * pick(18);
        else
            x = 16 * pick(width / 16);
        int y = 176 - 16 * pick(36);
        map << type << "\n" << x << "\n" << y << "\n";
    }
    map << "-1\n";

    int platforms = 0;
    for (int x = 0; x < width && platforms < STRESS_PLATFORMS; x += 32, platforms++)
        map << Level::GROUND << "\n" << x << "\n" << 192 << "\n";
    for (int type = Level::BROWN_BLOCK; platforms < STRESS_PLATFORMS; platforms++)
    {
        int x = 16 * pick(width / 16);
        int y = 176 - 16 * pick(36);
        map << type << "\n" << x << "\n" << y << "\n";
        type = type == Level::TALL_VINE ? Level::BROWN_BLOCK : type + 1;
    }
    map << "-1\n";
    // Every pipe leads back into this level's first screen.
    for (int i = 0; i < Level::NUMBER_OF_POINTERS; i++)
        map << 0 << "\n";
    return map.str();
}

// The hero runs right and left, jumps and flies.
int Stress_Input(long tick)
{
    int word = (tick % 400) < 300 ? Application::SIGNAL_RIGHT : Application::SIGNAL_LEFT;
    if (tick % 30 < 12)
        word |= Application::SIGNAL_UP;
    if (tick % 150 >= 100 && tick % 150 < 130)
        word |= Application::SIGNAL_FLY;
    return word;
}

struct Stress_Run
{
    Tick_Times times;
    double characters_on_screen = 0; // per tick, on average
    int platforms = 0;
    int characters = 0;
    bool won = false;
};

Stress_Run Play_Stress_Level(const std::string& map_path, long ticks)
{
    Stress_Run run;
    std::srand(1);
    Application* game = New_Game();
    game->Load_Game_Data();
    delete game->levels[0];
    game->levels[0] = new Level();
    Level& level = *game->levels[0];
    level.Load(map_path.c_str());
    run.platforms = level.number_of_platforms;
    run.characters = level.number_of_characters;
    game->demo_mode = false;
    game->current_level = 0;
    // The hero may be beaten many times over in this crowd; the game goes on.
    if (level.Hero() != nullptr)
        level.Hero()->lives = 1000000;
    double on_screen = 0;
    long played = 0;
    for (long tick = 0; tick < ticks; tick++, played++)
    {
        Timed_Play_Tick(*game, Stress_Input(tick), run.times);
        Level& now = *game->levels[game->current_level];
        for (int i = 0; i < now.number_of_characters; i++)
            if (now.characters[i] != nullptr && now.characters[i]->Is_On_Screen(now.scroll_x, now.scroll_y, *game))
                on_screen++;
        if (game->game_over || game->game_complete || game->quit)
        {
            run.won = game->game_complete;
            break;
        }
    }
    run.characters_on_screen = played == 0 ? 0 : on_screen / static_cast<double>(played);
    Delete_Game(game);
    return run;
}

// ---------------------------------------------------------------------------
// Child runs of this program, each in a fresh process.

long Own_Peak_Kilobytes()
{
    return Status_Kilobytes(Read_Text_File("/proc/self/status"), "VmHWM:");
}

double Spawn_Time_Ms()
{
    const char* text = std::getenv("BLUEJAY_BENCH_SPAWN_MS");
    return text != nullptr ? std::atof(text) : 0.0;
}

// Start-up without a screen, stage by stage; the first figure counts from
// the moment the parent started this process.
int Child_Startup()
{
    double begin = Now_Ms();
    double since_spawn = begin - Spawn_Time_Ms();
    if (!Start_Headless())
        return 1;
    double started = Now_Ms();
    Application* game = new Application();
    application = game;
    double constructed = Now_Ms();
    game->Load_Resources();
    double resources = Now_Ms();
    game->Load_Game_Data();
    double data = Now_Ms();
    game->Start_Title();
    double title = Now_Ms();
    game->Run_Title_Tick();
    double frame = Now_Ms();
    std::printf("to_main=%.3f library=%.3f construct=%.3f resources=%.3f game_data=%.3f start_title=%.3f "
                "first_tick=%.3f total=%.3f\n",
                since_spawn, started - begin, constructed - started, resources - constructed, data - resources,
                title - data, frame - title, frame - Spawn_Time_Ms());
    std::fflush(stdout);
    std::_Exit(0);
}

// The game's start-up, the title over the demo, a new game and the whole
// route; then its peak memory.
int Child_Game_Memory()
{
    if (!Start_Headless())
        return 1;
    std::srand(1);
    Application* game = New_Game();
    game->Load_Game_Data();
    game->Start_Title();
    for (int tick = 0; tick < 300; tick++)
        game->Run_Title_Tick();
    game->Leave_Title();
    std::vector<int> words = Read_Script("tools/movies/route.txt");
    for (size_t tick = 0; tick < words.size() && !game->game_over && !game->game_complete; tick++)
    {
        Application::Press_Keys_For_Signals(words[tick]);
        game->Run_Play_Tick();
    }
    std::printf("peak_kb=%ld\n", Own_Peak_Kilobytes());
    std::fflush(stdout);
    std::_Exit(0);
}

// The editor's start-up and a few thousand ticks of scrolling, placing and
// carrying objects in every mode; then its peak memory. Nothing is saved:
// the keys that save are never pressed.
int Child_Editor_Memory()
{
    if (!Start_Headless())
        return 1;
    Application* game = New_Game();
    game->Start_Editor();
    const int modes[] = {Application::SIGNAL_CHARACTER_MODE, Application::SIGNAL_PLATFORM_MODE,
                         Application::SIGNAL_SCREEN_MODE};
    for (int tick = 0; tick < 3000; tick++)
    {
        int word = 0;
        int phase = tick % 100;
        if (phase == 0)
            word = modes[(tick / 100) % 3];
        else if (phase < 40)
            word = Application::SIGNAL_RIGHT;
        else if (phase < 60)
            word = (phase % 8 == 0) ? Application::SIGNAL_SELECT : Application::SIGNAL_CURSOR_RIGHT;
        else if (phase < 80)
            word = Application::SIGNAL_CURSOR_DOWN | Application::SIGNAL_SCROLL_UP_1;
        else
            word = Application::SIGNAL_UP;
        Application::Press_Keys_For_Signals(word);
        game->Run_Editor_Tick();
    }
    std::printf("peak_kb=%ld\n", Own_Peak_Kilobytes());
    std::fflush(stdout);
    std::_Exit(0);
}

// One Display_Scene at 1920 x 1080 under the virtual display the parent
// started, with the timer installed as in the game; also its two parts.
int Child_Display(int repeats)
{
    Find_Data_Directory();
    if (allegro_init() != 0)
        return 1;
    int depth = desktop_color_depth();
    set_color_depth(depth != 0 ? depth : 32);
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, 1920, 1080, 0, 0) != 0)
    {
        std::printf("error=1\n");
        return 1;
    }
    install_keyboard();
    install_timer();
    Application* game = New_Game();
    game->Load_Game_Data();
    game->Start_Title();
    game->Run_Title_Tick();
    // A whole frame: a line down the canvas at another place each time
    // changes every row. Then the same canvas again, which changes none.
    std::vector<double> scene, unchanged, stretch, wait;
    for (int i = 0; i < repeats; i++)
    {
        vline(game->canvas, i % Application::CANVAS_WIDTH, 0, Application::CANVAS_HEIGHT - 1,
              makecol(255, i % 256, 0));
        double start = Now_Ms();
        game->Display_Scene();
        scene.push_back(Now_Ms() - start);
    }
    for (int i = 0; i < repeats; i++)
    {
        double start = Now_Ms();
        game->Display_Scene();
        unchanged.push_back(Now_Ms() - start);
    }
    for (int i = 0; i < repeats; i++)
    {
        double start = Now_Ms();
        acquire_screen();
        stretch_blit(game->canvas, screen, 0, 0, Application::CANVAS_WIDTH, Application::CANVAS_HEIGHT, 0, 0,
                     SCREEN_W, SCREEN_H);
        release_screen();
        stretch.push_back(Now_Ms() - start);
    }
    for (int i = 0; i < repeats; i++)
    {
        double start = Now_Ms();
        vsync();
        wait.push_back(Now_Ms() - start);
    }
    std::printf("screen_w=%d screen_h=%d depth=%d scene=%.3f unchanged=%.3f stretch=%.3f vsync=%.3f\n", SCREEN_W,
                SCREEN_H, bitmap_color_depth(screen), Median(scene), Median(unchanged), Median(stretch),
                Median(wait));
    std::fflush(stdout);
    std::_Exit(0);
}

// ---------------------------------------------------------------------------
// The virtual display.

struct Display
{
    Child server;
    std::string name; // ":N"
};

Display Start_Display(const std::string& xvfb)
{
    Display display;
    int pipe_ends[2];
    if (xvfb.empty() || pipe(pipe_ends) != 0)
        return display;
    std::fflush(stdout);
    pid_t pid = fork();
    if (pid == 0)
    {
        close(pipe_ends[0]);
        int null = open("/dev/null", O_WRONLY);
        if (null >= 0)
        {
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
        }
        std::string fd = std::to_string(pipe_ends[1]);
        execl(xvfb.c_str(), xvfb.c_str(), "-displayfd", fd.c_str(), "-screen", "0", "1920x1080x24", "-nolisten",
              "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipe_ends[1]);
    display.server.pid = pid;
    std::string number;
    char c;
    while (read(pipe_ends[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(pipe_ends[0]);
    if (pid > 0 && !number.empty())
        display.name = ":" + Trim(number);
    else
        Stop(display.server);
    return display;
}

// ---------------------------------------------------------------------------
// The real game under the virtual display.

std::vector<std::string> Game_Environment(const Display& display, const std::string& scratch)
{
    // The player's settings and files of the games started here are kept
    // apart from the real ones.
    return {"DISPLAY=" + display.name, "XDG_CONFIG_HOME=" + scratch + "/config",
            "XDG_DATA_HOME=" + scratch + "/data", "BLUEJAY_REPORT=1"};
}

// From the spawn of the game to the line it prints with its first title
// frame, in milliseconds; negative when it never came.
double Time_To_First_Frame(const std::string& game_path, const Display& display, const std::string& scratch)
{
    std::vector<std::string> environment = Game_Environment(display, scratch);
    environment.push_back("BLUEJAY_FIRST_FRAME_EXIT=1");
    double start = Now_Ms();
    Child child = Spawn({game_path}, environment);
    std::string seen;
    char buffer[256];
    ssize_t count;
    double arrived = -1.0;
    // A game that does not know the variable would never stop by itself.
    pollfd waiting = {child.output, POLLIN, 0};
    while (poll(&waiting, 1, 10000) == 1 && (count = read(child.output, buffer, sizeof(buffer))) > 0)
    {
        seen.append(buffer, static_cast<size_t>(count));
        if (seen.find("first title frame") != std::string::npos)
        {
            arrived = Now_Ms() - start;
            break;
        }
    }
    if (arrived < 0)
        Stop(child);
    else
        Finish(child);
    return arrived;
}

void Press_Enter(const std::string& xdotool, const Display& display)
{
    if (xdotool.empty())
        return;
    // Down long enough for a tick to see it, then up.
    for (const char* action : {"keydown", "keyup"})
    {
        Child press = Spawn({xdotool, action, "Return"}, {"DISPLAY=" + display.name});
        Finish(press);
        if (action[4] == 'd')
            usleep(150000);
    }
}

struct Play_Measure
{
    double share = -1.0;      // processor time over wall time, one core = 1
    double server_share = -1.0; // the same for the X server
    long peak_kb = -1;
    std::string report; // the game's own line about its screen and sound
};

// Starts the game, leaves the title with Enter and closes the first level's
// message with another, then measures it while it plays.
Play_Measure Measure_Play(const std::string& game_path, const Display& display, const std::string& scratch,
                          const std::string& xdotool, double seconds)
{
    Play_Measure measure;
    // Its standard error carries its own line about the screen and sound.
    std::string errors = scratch + "/game_errors.txt";
    Child game = Spawn({game_path}, Game_Environment(display, scratch), errors);
    usleep(1500000);
    Press_Enter(xdotool, display);
    usleep(1000000);
    Press_Enter(xdotool, display);
    usleep(1000000);
    double cpu_start = Process_Seconds(game.pid);
    double server_start = Process_Seconds(display.server.pid);
    double wall_start = Now_Ms();
    usleep(static_cast<useconds_t>(seconds * 1e6));
    double cpu_end = Process_Seconds(game.pid);
    double server_end = Process_Seconds(display.server.pid);
    double wall = (Now_Ms() - wall_start) / 1000.0;
    if (cpu_start >= 0 && cpu_end >= 0)
        measure.share = (cpu_end - cpu_start) / wall;
    if (server_start >= 0 && server_end >= 0)
        measure.server_share = (server_end - server_start) / wall;
    measure.peak_kb = Status_Kilobytes(Read_Text_File("/proc/" + std::to_string(game.pid) + "/status"), "VmHWM:");
    Stop(game);
    std::istringstream lines(Read_Text_File(errors));
    std::string line;
    while (std::getline(lines, line))
        if (line.compare(0, 7, "Screen ") == 0)
            measure.report = line;
    return measure;
}

// The window of the side-by-side measure, in times the 256 x 224 canvas.
constexpr int WINDOW_SCALE = 2;
// The peak memory the game and the editor may take, each.
constexpr long MOST_PEAK_KB = 24 * 1024;
// The share of one core the game may take on a 1920 x 1080 full screen.
constexpr double MOST_FULL_SCREEN_SHARE = 0.04;

// A program under the virtual display, left to itself (the title over its
// demo): its share of one core over the seconds after its start-up, and its
// peak memory at the end.
struct Idle_Measure
{
    double share = -1.0;
    long peak_kb = -1;
};

// Seconds a program is given to start before it is measured.
constexpr double IDLE_START_SECONDS = 3.0;

Idle_Measure Measure_Idle(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
                          const std::string& errors, double seconds)
{
    Idle_Measure measure;
    Child program = Spawn(arguments, environment, errors);
    usleep(static_cast<useconds_t>(IDLE_START_SECONDS * 1e6));
    double cpu_start = Process_Seconds(program.pid);
    double wall_start = Now_Ms();
    usleep(static_cast<useconds_t>(seconds * 1e6));
    double cpu_end = Process_Seconds(program.pid);
    double wall = (Now_Ms() - wall_start) / 1000.0;
    if (cpu_start >= 0 && cpu_end >= 0)
        measure.share = (cpu_end - cpu_start) / wall;
    measure.peak_kb = Status_Kilobytes(Read_Text_File("/proc/" + std::to_string(program.pid) + "/status"), "VmHWM:");
    Stop(program);
    return measure;
}

// The settings of a game in a window of 2 x 256 x 224 = 512 x 448 pixels,
// the size class of the peer's 640 x 480 window; returns the folder to give
// as XDG_CONFIG_HOME.
std::string Window_Settings(const std::string& scratch)
{
    std::string folder = scratch + "/window_config";
    std::string settings = folder + "/bluejay";
    if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST)
        return "";
    if (mkdir(settings.c_str(), 0755) != 0 && errno != EEXIST)
        return "";
    std::ofstream file(settings + "/bluejay.cfg");
    file << "[window]\nscale = " << WINDOW_SCALE << "\n";
    return file ? folder : "";
}

// The peer: another Allegro 4 platformer from Debian (package alex4), used
// only as a yardstick when it is installed. Nothing of it is read; it runs
// with a home folder of its own in the scratch folder.
std::string Find_Peer(const std::string& given)
{
    if (!given.empty())
        return Is_File(given) ? given : "";
    std::string found = Find_Program("alex4");
    if (found.empty() && access("/usr/games/alex4", X_OK) == 0)
        found = "/usr/games/alex4";
    return found;
}

// The real editor under the virtual display for a few seconds, idle; its
// peak memory.
long Measure_Editor(const std::string& game_path, const Display& display, const std::string& scratch)
{
    Child editor = Spawn({game_path, "-edit"}, Game_Environment(display, scratch));
    usleep(3000000);
    long peak = Status_Kilobytes(Read_Text_File("/proc/" + std::to_string(editor.pid) + "/status"), "VmHWM:");
    Stop(editor);
    return peak;
}

// ---------------------------------------------------------------------------
// The report.

struct Options
{
    int runs = 5;
    int rounds = 3;
    double seconds = 20.0;
    long stress_ticks = 600;
    long demo_ticks = 1500;
    std::string game;
    std::string spin_game;
    bool display = true;
    // The peer (default: alex4 on the PATH or in /usr/games) and the
    // seconds of each side-by-side measure.
    std::string peer;
    double peer_seconds = 10.0;
    int peer_rounds = 5;
    bool peer_only = false;
};


// Fewer ticks of a level than this are shown but not judged.
constexpr size_t MIN_JUDGED_TICKS = 100;

const char* Verdict(bool met)
{
    return met ? "met" : "MISSED";
}

// The sound set-ups of the side-by-side measure, the ALSA settings both
// programs find in their home folders: a desktop's sound through ALSA to a
// device that takes the sound and plays nothing, and a machine without a
// sound device (the settings name a card that is not there).
struct Sound_Case
{
    const char* name;
    const char* alsa;
    bool sound;
};

const Sound_Case SOUND_CASES[] = {
    {"with sound (ALSA's null device)", "pcm.!default {\n  type plug\n  slave.pcm { type null }\n}\n", true},
    {"without a sound device", "pcm.!default { type hw card 99 }\nctl.!default { type hw card 99 }\n", false},
};

// The game's share of a core with sound at most the peer's; without sound no
// worse than before this measure covered sound (0.5 of the peer's, give or
// take the noise); the X server's share while it shows the game at most 1.5
// times its share for the peer; the game's peak with sound at most 12 MB.
constexpr double MOST_SOUND_RATIO = 1.0;
constexpr double MOST_QUIET_RATIO = 0.6;
constexpr double MOST_SERVER_RATIO = 1.5;
constexpr long MOST_SOUND_PEAK_KB = 12 * 1024;

// A home folder with the ALSA settings of a sound case.
bool Make_Sound_Home(const std::string& folder, const Sound_Case& sound)
{
    if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST)
        return false;
    std::ofstream file(folder + "/.asoundrc");
    file << sound.alsa;
    return static_cast<bool>(file);
}

// A program under the virtual display, left to itself, with the X server's
// share of a core over the same seconds beside its own.
struct Shown_Measure
{
    std::vector<double> shares, server_shares, peaks;
    std::string report; // the game's own lines about its screen and sound
    // From its "Shown:" line: the frames it sent, the updates and pixels.
    double frames = 0, updates = 0, pixels = 0;

    void Add(const Idle_Measure& measure, double server_share)
    {
        shares.push_back(measure.share);
        server_shares.push_back(server_share);
        peaks.push_back(static_cast<double>(measure.peak_kb));
    }
};

void Measure_Shown(Shown_Measure& into, const std::vector<std::string>& arguments,
                   const std::vector<std::string>& environment, const std::string& errors, const Display& display,
                   double seconds)
{
    // The X server's time from the program's start to its end, over the
    // seconds the program is measured plus its start, taken as the same
    // share; the start (3 s) moves it little.
    double server_start = Process_Seconds(display.server.pid);
    double wall_start = Now_Ms();
    Idle_Measure measure = Measure_Idle(arguments, environment, errors, seconds);
    double server_end = Process_Seconds(display.server.pid);
    double wall = (Now_Ms() - wall_start) / 1000.0;
    double server_share = server_start >= 0 && server_end >= 0 ? (server_end - server_start) / wall : -1.0;
    into.Add(measure, server_share);
    std::istringstream lines(Read_Text_File(errors));
    std::string line, report;
    while (std::getline(lines, line))
        if (line.compare(0, 7, "Screen ") == 0 || line.compare(0, 6, "Sound ") == 0 ||
            line.compare(0, 7, "Shown: ") == 0)
            report += (report.empty() ? "" : "; ") + line;
    if (!report.empty())
        into.report = report;
    size_t shown = report.find("Shown: ");
    if (shown != std::string::npos)
        std::sscanf(report.c_str() + shown, "Shown: %lf frames, %lf updates, %lf pixels", &into.frames, &into.updates,
                    &into.pixels);
}

// What each frame sent to the X server, from the game's own count.
std::string Frame_Text(const Shown_Measure& measure)
{
    if (measure.frames <= 0)
        return "not reported";
    char text[128];
    std::snprintf(text, sizeof(text), "%.0f frames, a frame %.2f updates and %.0f KB", measure.frames,
                  measure.updates / measure.frames, measure.pixels * 4.0 / measure.frames / 1024.0);
    return text;
}

std::string Share_Text(const std::vector<double>& shares)
{
    char text[64];
    std::snprintf(text, sizeof(text), "%.2f%% (%.2f-%.2f)", 100.0 * Median(shares),
                  100.0 * *std::min_element(shares.begin(), shares.end()), 100.0 * Largest(shares));
    return text;
}

// The game in a 512 x 448 window and the peer in its own 640 x 480 one, each
// on the title over its demo, the same seconds, taking turns for the rounds,
// once for each sound set-up; in the same turns the game on a 1920 x 1080
// full screen and the editor's still view in the window. Prints each
// program's share of a core, the X server's while it shows it, the peaks
// and the ratios to the peer from the same run. Without the peer the
// measure is left out with a note, and nothing is missed.
int Compare_With_Peer(const std::string& game_path, const std::string& peer, const Display& display,
                      const std::string& scratch, const Options& options)
{
    if (peer.empty())
    {
        std::printf("  side by side with the peer: left out, alex4 is not installed (apt-get install alex4)\n");
        return 0;
    }
    std::string settings = Window_Settings(scratch);
    if (settings.empty())
    {
        std::printf("  side by side with the peer: left out, no scratch folder for its settings\n");
        return 0;
    }
    int missed = 0;
    for (const Sound_Case& sound : SOUND_CASES)
    {
        std::string home = scratch + (sound.sound ? "/sound_home" : "/quiet_home");
        if (!Make_Sound_Home(home, sound))
        {
            std::printf("  side by side with the peer, %s: left out, no home folder for it\n", sound.name);
            continue;
        }
        std::vector<std::string> full_environment = Game_Environment(display, scratch);
        full_environment.push_back("HOME=" + home);
        std::vector<std::string> window_environment = full_environment;
        for (std::string& variable : window_environment)
            if (variable.compare(0, 16, "XDG_CONFIG_HOME=") == 0)
                variable = "XDG_CONFIG_HOME=" + settings;
        std::vector<std::string> peer_environment = {"DISPLAY=" + display.name, "HOME=" + home};
        std::string load = Load_Average();
        Shown_Measure game, other, full, editor;
        for (int round = 0; round < options.peer_rounds; round++)
        {
            Measure_Shown(game, {game_path}, window_environment, scratch + "/game_errors.txt", display,
                          options.peer_seconds);
            Measure_Shown(other, {peer}, peer_environment, scratch + "/peer_errors.txt", display,
                          options.peer_seconds);
            Measure_Shown(full, {game_path}, full_environment, scratch + "/full_errors.txt", display,
                          options.peer_seconds);
            Measure_Shown(editor, {game_path, "-edit"}, window_environment, scratch + "/editor_errors.txt", display,
                          options.peer_seconds);
        }
        double game_share = Median(game.shares), peer_share = Median(other.shares);
        double game_server = Median(game.server_shares), peer_server = Median(other.server_shares);
        double game_peak = Median(game.peaks), peer_peak = Median(other.peaks);
        bool measured = game_share > 0 && peer_share > 0 && game_peak > 0 && peer_peak > 0;
        double ratio = measured ? game_share / peer_share : -1.0;
        double server_ratio = game_server > 0 && peer_server > 0 ? game_server / peer_server : -1.0;
        bool share_met = measured && ratio <= (sound.sound ? MOST_SOUND_RATIO : MOST_QUIET_RATIO);
        bool server_met = server_ratio > 0 && server_ratio <= MOST_SERVER_RATIO;
        bool peak_met = !sound.sound || (game_peak > 0 && game_peak <= MOST_SOUND_PEAK_KB);
        bool full_met = !sound.sound || (Median(full.shares) >= 0 && Median(full.shares) <= MOST_FULL_SCREEN_SHARE);
        bool editor_met = Median(editor.shares) >= 0 && Median(editor.shares) <= game_share;
        missed += (share_met ? 0 : 1) + (server_met ? 0 : 1) + (peak_met ? 0 : 1) + (full_met ? 0 : 1) +
                  (editor_met ? 0 : 1);
        std::printf("  side by side with the peer (%s), %s: each on the title over its demo, %.0f s, %d rounds "
                    "taking turns (load average %s at the start, %s at the end):\n",
                    peer.c_str(), sound.name, options.peer_seconds, options.peer_rounds, load.c_str(),
                    Load_Average().c_str());
        if (!game.report.empty())
            std::printf("    (the game says: %s)\n", game.report.c_str());
        std::printf("    | | the game, %d x %d window | the peer, 640 x 480 window | ratio | target |\n",
                    WINDOW_SCALE * Application::CANVAS_WIDTH, WINDOW_SCALE * Application::CANVAS_HEIGHT);
        std::printf("    | processor, median (range) | %s | %s | %.2f | <= %.1f: %s |\n", Share_Text(game.shares).c_str(),
                    Share_Text(other.shares).c_str(), ratio, sound.sound ? MOST_SOUND_RATIO : MOST_QUIET_RATIO,
                    Verdict(share_met));
        std::printf("    | the X server while it shows it | %s | %s | %.2f | <= %.1f: %s |\n",
                    Share_Text(game.server_shares).c_str(), Share_Text(other.server_shares).c_str(), server_ratio,
                    MOST_SERVER_RATIO, Verdict(server_met));
        std::printf("    | peak memory | %.1f MB | %.1f MB | %.2f | %s |\n", game_peak / 1024.0, peer_peak / 1024.0,
                    measured ? game_peak / peer_peak : -1.0,
                    sound.sound ? (std::string("<= 12 MB: ") + Verdict(peak_met)).c_str() : "");
        std::printf("    sent to the X server through its shared image (the last round): window %s; full screen %s; "
                    "editor %s\n",
                    Frame_Text(game).c_str(), Frame_Text(full).c_str(), Frame_Text(editor).c_str());
        std::printf("    the game on a 1920 x 1080 full screen, title over the demo: %s (X server %s, peak %.1f MB)%s%s\n",
                    Share_Text(full.shares).c_str(), Share_Text(full.server_shares).c_str(), Median(full.peaks) / 1024.0,
                    sound.sound ? "; target <= 4%: " : "", sound.sound ? Verdict(full_met) : "");
        std::printf("    the editor's still view in the window: %s (X server %s, peak %.1f MB); target <= the "
                    "title's: %s\n",
                    Share_Text(editor.shares).c_str(), Share_Text(editor.server_shares).c_str(),
                    Median(editor.peaks) / 1024.0, Verdict(editor_met));
    }
    return missed;
}

// ---------------------------------------------------------------------------
// What a save of the largest level costs the editor: the one safe write
// (temporary file, flushed to the disk with its folder, renamed over the
// old map), against the same text written without the flushes, as maps were
// written before. A save stalls the editor's tick for as long as it takes.

constexpr double SAVE_TARGET_MS = 100.0;

// The text written the old way: a temporary file renamed over, no syncing.
bool Write_Without_Syncing(const std::string& path, const std::string& text)
{
    std::string temporary = path + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "w");
    if (file == nullptr)
        return false;
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    written = std::fclose(file) == 0 && written;
    return written && std::rename(temporary.c_str(), path.c_str()) == 0;
}

bool Measure_Save_Cost(const std::string& map_path, const std::string& scratch, int runs)
{
    Level* level = new Level();
    level->Load_For_Editing(map_path.c_str());
    const std::string saved = scratch + "/saved.map";
    std::vector<double> safe, plain, compares;
    for (int run = 0; run < runs; run++)
    {
        // Each save a real change, so that it is written.
        level->platform_records[run % level->number_of_platforms]->x += Application::EDITOR_STEP;
        double start = Now_Ms();
        bool changed = level->Changed();
        compares.push_back(Now_Ms() - start);
        start = Now_Ms();
        bool written = changed && level->Save(saved.c_str());
        safe.push_back(Now_Ms() - start);
        start = Now_Ms();
        written = Write_Without_Syncing(saved, level->Map_Text()) && written;
        plain.push_back(Now_Ms() - start);
        if (!written)
            std::printf("\nSaving the largest level failed.\n");
    }
    std::printf("\nSaving the largest level (%d characters, %d platforms, %zu bytes): %.2f ms (slowest %.2f ms); "
                "without the syncs, as before: %.2f ms; telling whether it changed: %.3f ms; target <= %.0f ms: "
                "%s\n",
                level->number_of_characters, level->number_of_platforms, level->Map_Text().size(), Median(safe),
                Largest(safe), Median(plain), Median(compares), SAVE_TARGET_MS,
                Verdict(Median(safe) <= SAVE_TARGET_MS));
    delete level;
    return Median(safe) <= SAVE_TARGET_MS;
}

void Print_Level_Table(const char* title, const std::vector<std::map<int, Tick_Times>>& runs,
                       const std::vector<int>& campaign, int& missed)
{
    std::printf("\n%s\n", title);
    std::printf("  level  played   held    ticks/s  median tick  slowest tick: wall (worst run), processor   "
                "target >= 5000/s\n");
    for (int number : campaign)
    {
        std::vector<double> rates, medians, slowest, slowest_processor;
        size_t ticks = 0;
        long held = 0;
        for (const auto& run : runs)
        {
            auto found = run.find(number);
            if (found == run.end() || found->second.ms.empty())
                continue;
            ticks = found->second.ms.size();
            held = found->second.held;
            rates.push_back(found->second.Rate());
            medians.push_back(found->second.Median_Tick());
            slowest.push_back(found->second.Slowest());
            slowest_processor.push_back(found->second.Slowest_Processor());
        }
        if (rates.empty())
        {
            std::printf("  %5d  not played\n", number);
            continue;
        }
        // A level passed through in a few ticks (its first tick does the
        // level's start) says little about its speed.
        bool judged = ticks >= MIN_JUDGED_TICKS;
        bool met = Median(rates) >= 5000.0;
        if (judged && !met)
            missed++;
        std::printf("  %5d  %6zu  %5ld  %9.0f  %8.1f us  %8.2f ms (%6.2f ms), %6.2f ms          %s\n", number,
                    ticks, held, Median(rates), 1000.0 * Median(medians), Median(slowest), Largest(slowest),
                    Median(slowest_processor), judged ? Verdict(met) : "too few ticks");
    }
}

// The report's last line; the scratch folder removed. The exit status: 0
// when every target was met.
int Finish_Report(const std::string& scratch, int missed)
{
    std::printf("\nload average %s at the end; targets missed: %d\n", Load_Average().c_str(), missed);
    std::string remove = "rm -rf '" + scratch + "'";
    if (std::system(remove.c_str()) != 0)
        std::fprintf(stderr, "bluejay_bench: cannot remove %s\n", scratch.c_str());
    return missed == 0 ? 0 : 1;
}

int Run_Benchmark(const Options& options)
{
    std::string self = Program_Path();
    std::string scratch_template = "/tmp/bluejay_bench.XXXXXX";
    std::vector<char> scratch_name(scratch_template.begin(), scratch_template.end());
    scratch_name.push_back('\0');
    if (mkdtemp(scratch_name.data()) == nullptr)
    {
        std::fprintf(stderr, "bluejay_bench: cannot make a scratch folder\n");
        return 1;
    }
    std::string scratch = scratch_name.data();
    int missed = 0;

    if (!Start_Headless())
    {
        std::fprintf(stderr, "bluejay_bench: cannot start the game library\n");
        return 1;
    }
    std::printf("Bluejay benchmark: %d runs of each headless measure, figures are medians\n", options.runs);
    std::printf("machine: %ld processors, %s; load average %s at the start\n", sysconf(_SC_NPROCESSORS_ONLN),
                Processor_Model().c_str(), Load_Average().c_str());

    // Only the side-by-side measure, on a display of its own.
    if (options.peer_only)
    {
        std::string xvfb = Find_Program("Xvfb");
        std::string game_path = options.game.empty() ? Beside_Program("bluejay") : options.game;
        Display display = Start_Display(xvfb);
        if (display.name.empty() || !Is_File(game_path))
        {
            std::printf("\nno Xvfb or no game program: the side-by-side measure is left out.\n");
        }
        else
        {
            std::printf("\nUnder Xvfb %s, screen 1920x1080x24 (game: %s)\n", display.name.c_str(), game_path.c_str());
            missed += Compare_With_Peer(game_path, Find_Peer(options.peer), display, scratch, options);
            Stop(display.server);
        }
        return Finish_Report(scratch, missed);
    }

    // Campaign levels.
    std::vector<int> campaign;
    for (int number = 0; number <= Application::ENDING_MESSAGE; number++)
        if (Level_Present(number))
            campaign.push_back(number);
    std::vector<int> route = Read_Script("tools/movies/route.txt");
    std::vector<int> demo = Read_Movie("data/movie/movie.dat");
    std::vector<std::map<int, Tick_Times>> route_runs, demo_runs;
    std::string ending;
    for (int run = 0; run < options.runs; run++)
        route_runs.push_back(Play_Route(route, ending));
    for (int run = 0; run < options.runs; run++)
        demo_runs.push_back(Play_Demo_Input(campaign, demo, options.demo_ticks));
    std::printf("\ncampaign levels present: %zu (0 to 23 looked for)\n", campaign.size());
    Print_Level_Table(("The route script (tools/movies/route.txt, " + std::to_string(route.size()) +
                       " ticks; it ended at " + ending + "), split by level:")
                          .c_str(),
                      route_runs, campaign, missed);
    Print_Level_Table(("The demo's input (data/movie/movie.dat, repeated), " + std::to_string(options.demo_ticks) +
                       " ticks on each level:")
                          .c_str(),
                      demo_runs, campaign, missed);

    // The stress level.
    std::string map_path = scratch + "/stress.map";
    {
        std::ofstream file(map_path);
        file << Stress_Level_Map();
    }
    std::vector<double> stress_rates, stress_medians, stress_slowest, stress_processor, stress_crowd;
    Stress_Run last;
    for (int run = 0; run < options.runs; run++)
    {
        last = Play_Stress_Level(map_path, options.stress_ticks);
        stress_rates.push_back(last.times.Rate());
        stress_medians.push_back(last.times.Median_Tick());
        stress_slowest.push_back(last.times.Slowest());
        stress_processor.push_back(last.times.Slowest_Processor());
        stress_crowd.push_back(last.characters_on_screen);
    }
    bool stress_met = Median(stress_slowest) <= 30.0;
    missed += stress_met ? 0 : 1;
    std::printf("\nThe stress level: %d platforms over %d screens, %d characters of every kind, %.0f of them on "
                "the screen in a tick on average; %zu ticks a run%s\n",
                last.platforms, STRESS_SCREENS, last.characters, Median(stress_crowd), last.times.ms.size(),
                last.won ? " (the game was won early)" : "");
    std::printf("  ticks/s %.0f, median tick %.2f ms, slowest tick %.2f ms (worst run %.2f ms; in processor time "
                "%.2f ms); target slowest <= 30 ms: %s\n",
                Median(stress_rates), Median(stress_medians), Median(stress_slowest), Largest(stress_slowest),
                Median(stress_processor), Verdict(stress_met));

    missed += Measure_Save_Cost(map_path, scratch, options.runs) ? 0 : 1;

    // Rebuild_Levels.
    {
        Application* game = New_Game();
        game->Load_Game_Data();
        std::vector<double> rebuilds;
        for (int run = 0; run < options.runs; run++)
        {
            double start = Now_Ms();
            game->Rebuild_Levels();
            rebuilds.push_back(Now_Ms() - start);
        }
        Delete_Game(game);
        bool met = Median(rebuilds) <= 100.0;
        missed += met ? 0 : 1;
        std::printf("\nRebuild_Levels: %.1f ms (slowest run %.1f ms); target <= 100 ms: %s\n", Median(rebuilds),
                    Largest(rebuilds), Verdict(met));
    }

    // Headless start-up, in fresh processes.
    {
        std::map<std::string, std::vector<double>> stages;
        const char* names[] = {"to_main", "library", "construct", "resources", "game_data", "start_title",
                               "first_tick", "total"};
        for (int run = 0; run < options.runs; run++)
        {
            Child child = Spawn({self, "--child", "startup"},
                                {"BLUEJAY_BENCH_SPAWN_MS=" + std::to_string(Now_Ms())});
            std::string output = Finish(child);
            for (const char* name : names)
                stages[name].push_back(Value(output, name));
        }
        std::printf("\nHeadless start-up to the first title tick, in a fresh process: %.1f ms\n",
                    Median(stages["total"]));
        std::printf("  (exec to main %.1f, library %.1f, construct %.1f, Load_Resources %.1f, Load_Game_Data "
                    "%.1f, Start_Title %.1f, first Run_Title_Tick %.1f ms)\n",
                    Median(stages["to_main"]), Median(stages["library"]), Median(stages["construct"]),
                    Median(stages["resources"]), Median(stages["game_data"]), Median(stages["start_title"]),
                    Median(stages["first_tick"]));
    }

    // Peak memory without a screen.
    long game_peak = 0, editor_peak = 0;
    {
        std::vector<double> games, editors;
        for (int run = 0; run < 3; run++)
        {
            Child game = Spawn({self, "--child", "game-memory"}, {});
            games.push_back(Value(Finish(game), "peak_kb"));
            Child editor = Spawn({self, "--child", "editor-memory"}, {});
            editors.push_back(Value(Finish(editor), "peak_kb"));
        }
        game_peak = static_cast<long>(Median(games));
        editor_peak = static_cast<long>(Median(editors));
        bool met = game_peak <= MOST_PEAK_KB && editor_peak <= MOST_PEAK_KB;
        missed += met ? 0 : 1;
        std::printf("\nPeak resident memory, headless: game %.1f MB (title, new game, the whole route), editor %.1f "
                    "MB (3000 ticks of editing); target <= %ld MB each: %s\n",
                    game_peak / 1024.0, editor_peak / 1024.0, MOST_PEAK_KB / 1024, Verdict(met));
    }

    // Everything with a screen.
    std::string xvfb = Find_Program("Xvfb");
    std::string xdotool = Find_Program("xdotool");
    std::string game_path = options.game.empty() ? Beside_Program("bluejay") : options.game;
    if (!options.display || xvfb.empty() || !Is_File(game_path))
    {
        std::printf("\nThe measures with a screen are left out (%s).\n",
                    !options.display ? "--no-display" : (xvfb.empty() ? "no Xvfb" : "no game program"));
    }
    else
    {
        Display display = Start_Display(xvfb);
        if (display.name.empty())
        {
            std::printf("\nXvfb did not start: the measures with a screen are left out.\n");
        }
        else
        {
            std::printf("\nUnder Xvfb %s, screen 1920x1080x24 (game: %s)\n", display.name.c_str(), game_path.c_str());
            std::vector<double> first_frames;
            for (int run = 0; run < options.runs; run++)
                first_frames.push_back(Time_To_First_Frame(game_path, display, scratch));
            bool met = Median(first_frames) >= 0 && Median(first_frames) <= 300.0;
            missed += met ? 0 : 1;
            std::printf("  process start to the first title frame: %.1f ms (slowest %.1f ms); target <= 300 ms: "
                        "%s\n",
                        Median(first_frames), Largest(first_frames), Verdict(met));

            Child scene = Spawn({self, "--child", "display", "300"}, {"DISPLAY=" + display.name});
            std::string figures = Finish(scene);
            std::printf("  one Display_Scene at %.0f x %.0f, %.0f bits: %.2f ms every row changed, %.2f ms none "
                        "(the stretch_blit alone %.2f ms, vsync alone %.2f ms)\n",
                        Value(figures, "screen_w"), Value(figures, "screen_h"), Value(figures, "depth"),
                        Value(figures, "scene"), Value(figures, "unchanged"), Value(figures, "stretch"),
                        Value(figures, "vsync"));

            std::vector<double> editor_peaks;
            for (int run = 0; run < 3; run++)
                editor_peaks.push_back(static_cast<double>(Measure_Editor(game_path, display, scratch)));

            bool spin = !options.spin_game.empty() && Is_File(options.spin_game);
            std::vector<double> shares, spin_shares, server_shares, spin_server_shares, play_peaks, title_shares;
            std::string report;
            for (int round = 0; round < options.rounds; round++)
            {
                // The title over the demo, where more of the picture moves.
                title_shares.push_back(Measure_Idle({game_path}, Game_Environment(display, scratch),
                                                    scratch + "/game_errors.txt", options.peer_seconds)
                                           .share);
                Play_Measure waiting = Measure_Play(game_path, display, scratch, xdotool, options.seconds);
                shares.push_back(waiting.share);
                server_shares.push_back(waiting.server_share);
                play_peaks.push_back(static_cast<double>(waiting.peak_kb));
                report = waiting.report;
                if (spin)
                {
                    Play_Measure spinning =
                        Measure_Play(options.spin_game, display, scratch, xdotool, options.seconds);
                    spin_shares.push_back(spinning.share);
                    spin_server_shares.push_back(spinning.server_share);
                }
            }
            met = Median(shares) >= 0 && Median(shares) <= MOST_FULL_SCREEN_SHARE;
            missed += met ? 0 : 1;
            bool title_met = Median(title_shares) >= 0 && Median(title_shares) <= MOST_FULL_SCREEN_SHARE;
            missed += title_met ? 0 : 1;
            std::printf("  processor while playing level 0 for %.0f s (%s), %d rounds, share of one core:\n",
                        options.seconds,
                        xdotool.empty() ? "no xdotool: on the title over the demo"
                                        : "Enter to start, Enter to close the message",
                        options.rounds);
            if (!report.empty())
                std::printf("    (the game says: %s)\n", report.c_str());
            std::printf("    the game, asleep between ticks: %.1f%% (X server %.1f%%); target <= %.0f%%: %s\n",
                        100.0 * Median(shares), 100.0 * Median(server_shares), 100.0 * MOST_FULL_SCREEN_SHARE,
                        Verdict(met));
            std::printf("    the game on the title over the demo, %.0f s: %.1f%%; target <= %.0f%%: %s\n",
                        options.peer_seconds, 100.0 * Median(title_shares), 100.0 * MOST_FULL_SCREEN_SHARE,
                        Verdict(title_met));
            if (spin)
                std::printf("    the spinning build (%s): %.1f%% (X server %.1f%%)\n", options.spin_game.c_str(),
                            100.0 * Median(spin_shares), 100.0 * Median(spin_server_shares));
            else
                std::printf("    the spinning build: not given (--spin-game)\n");
            double play_peak = Median(play_peaks), editor_real = Median(editor_peaks);
            met = play_peak > 0 && editor_real > 0 && play_peak <= MOST_PEAK_KB && editor_real <= MOST_PEAK_KB;
            missed += met ? 0 : 1;
            std::printf("  peak resident memory of the real programs: game %.1f MB (after the play above, full "
                        "screen), editor %.1f MB (3 s, idle); target <= %ld MB each: %s\n",
                        play_peak / 1024.0, editor_real / 1024.0, MOST_PEAK_KB / 1024, Verdict(met));
            missed += Compare_With_Peer(game_path, Find_Peer(options.peer), display, scratch, options);
            Stop(display.server);
        }
    }

    return Finish_Report(scratch, missed);
}

int Usage(const char* message)
{
    std::fprintf(stderr, "bluejay_bench: %s\n", message);
    std::fprintf(stderr, "usage: bluejay_bench [--runs N] [--rounds N] [--seconds S] [--demo-ticks N] [--stress-ticks N] "
                         "[--game PATH] [--spin-game PATH] [--no-display] [--peer PATH] [--peer-seconds S] [--peer-rounds N] [--peer-only] "
                         "[--write-stress-level FILE]\n");
    return 2;
}
} // namespace

int main(int argc, char* argv[])
{
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0)
    {
        std::string which = argv[2];
        if (which == "startup")
            return Child_Startup();
        if (which == "game-memory")
            return Child_Game_Memory();
        if (which == "editor-memory")
            return Child_Editor_Memory();
        if (which == "display" && argc >= 4)
            return Child_Display(std::atoi(argv[3]));
        return Usage("unknown child run");
    }

    Options options;
    for (int i = 1; i < argc; i++)
    {
        std::string option = argv[i];
        bool has_value = i + 1 < argc;
        if (option == "--runs" && has_value)
            options.runs = std::max(1, std::atoi(argv[++i]));
        else if (option == "--rounds" && has_value)
            options.rounds = std::max(1, std::atoi(argv[++i]));
        else if (option == "--seconds" && has_value)
            options.seconds = std::max(1.0, std::atof(argv[++i]));
        else if (option == "--demo-ticks" && has_value)
            options.demo_ticks = std::max(1L, std::atol(argv[++i]));
        else if (option == "--stress-ticks" && has_value)
            options.stress_ticks = std::max(1L, std::atol(argv[++i]));
        else if (option == "--game" && has_value)
            options.game = argv[++i];
        else if (option == "--peer" && has_value)
            options.peer = argv[++i];
        else if (option == "--peer-only")
            options.peer_only = true;
        else if (option == "--peer-rounds" && has_value && std::atoi(argv[i + 1]) > 0)
            options.peer_rounds = std::atoi(argv[++i]);
        else if (option == "--peer-seconds" && has_value && std::atof(argv[i + 1]) > 0)
            options.peer_seconds = std::atof(argv[++i]);
        else if (option == "--spin-game" && has_value)
            options.spin_game = argv[++i];
        else if (option == "--no-display")
            options.display = false;
        else if (option == "--write-stress-level" && has_value)
        {
            std::ofstream file(argv[++i]);
            file << Stress_Level_Map();
            return file ? 0 : 1;
        }
        else
            return Usage(("bad option " + option).c_str());
    }
    return Run_Benchmark(options);
}
END_OF_MAIN()
