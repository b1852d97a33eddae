// Fuzzes play: a fuzzed map becomes level 0 and is played for a few hundred
// ticks, either by fuzzed keys through the game loop or, on the title
// screen, as the demo with fuzzed movie words. The game must stay inside its
// tables, keep the camera inside the level and only ever carry the hero into
// a level that has a hero.
//
// Input: the map text, a zero byte, a mode byte (bit 0: the demo's full
// resets, bit 1: the title screen), then one byte of keys per tick (fly,
// left, right, up, down, pause, enter, give up), repeated when it runs out.

#include "fuzz_support.h"

#include <set>

#include "bluejay.h"

namespace
{
constexpr int TICKS = 300;
constexpr int TICKS_AFTER_GAME_OVER = 10;

const int KEY_BITS[8] = {Application::SIGNAL_FLY,  Application::SIGNAL_LEFT,  Application::SIGNAL_RIGHT,
                         Application::SIGNAL_UP,   Application::SIGNAL_DOWN,  Application::SIGNAL_PAUSE,
                         Application::SIGNAL_START, Application::SIGNAL_DELETE};

int Signal_Word(uint8_t keys)
{
    int word = 0;
    for (int bit = 0; bit < 8; bit++)
        if (keys & (1 << bit))
            word |= KEY_BITS[bit];
    return word;
}

// The game's levels as they were when the run started: the designers may
// change data/levels while a long run goes on.
std::string Snapshot_Path(int number)
{
    return fuzz::Scratch_Path("level_" + std::to_string(number) + ".map");
}

void Reload_Level(Application& game, int number)
{
    delete game.levels[number];
    game.levels[number] = new Level();
    game.levels[number]->Load(Snapshot_Path(number).c_str());
}

void Check_Camera(Level& level)
{
    Bluejay* hero = level.Hero();
    if (hero == nullptr)
        return;
    long long last_x = static_cast<long long>(level.screens_wide - 1) * Application::CANVAS_WIDTH;
    long long top_y = -static_cast<long long>(level.screens_high - 1) * Application::CANVAS_HEIGHT;
    if (level.scroll_x < 0 || level.scroll_x > last_x || level.scroll_y > 0 || level.scroll_y < top_y)
        std::fprintf(stderr, "camera %d, %d in a level of %d x %d screens; hero at %d, %d, state %d, strength %d\n",
                     level.scroll_x, level.scroll_y, level.screens_wide, level.screens_high, hero->x, hero->y,
                     hero->state, hero->strength);
    FUZZ_CHECK(level.scroll_x >= 0 && level.scroll_x <= last_x);
    FUZZ_CHECK(level.scroll_y <= 0 && level.scroll_y >= top_y);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::Start();
    Application& game = fuzz::The_Application(true);
    game.Load_Game_Data();
    for (int number = 0; number < Application::NUMBER_OF_LEVELS; number++)
    {
        char path[Application::MAX_PATH_LENGTH];
        Make_Level_Path(path, number);
        if (std::filesystem::exists(path))
            std::filesystem::copy_file(path, Snapshot_Path(number));
        Reload_Level(game, number);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Application& game = fuzz::The_Application(true);
    fuzz::Split_Input input = fuzz::Split(data, size);
    std::string path = fuzz::Write("level.map", input.text, input.text_size);
    uint8_t mode = input.tail_size > 0 ? input.tail[0] : 0;
    const uint8_t* keys = input.tail_size > 0 ? input.tail + 1 : input.tail;
    size_t key_count = input.tail_size > 0 ? input.tail_size - 1 : 0;

    delete game.levels[0];
    game.levels[0] = new Level();
    game.levels[0]->Load(path.c_str());
    fuzz::Check_Level_Tables(*game.levels[0]);

    std::srand(1);
    game.game_over = false;
    game.game_complete = false;
    game.paused = false;
    game.quit = false;
    game.title_done = false;
    game.key_delay = 7;
    game.current_level = 0;
    game.signals = 0;
    game.movie_mode = Application::MOVIE_STOP_MODE;
    game.movie_level = 0;
    game.signal_buffer_length = 0;
    game.signal_buffer_position = 0;
    game.demo_mode = (mode & 1) != 0;
    bool title = (mode & 2) != 0;
    if (title)
    {
        // The keys become the demo movie; nobody presses anything.
        for (size_t i = 0; i < key_count && i < static_cast<size_t>(Application::MAX_SIGNAL_BUFFER_LENGTH); i++)
            game.signal_buffer[game.signal_buffer_length++] = Signal_Word(keys[i]);
        game.Start_Title();
    }

    std::set<int> visited;
    int after_game_over = 0;
    for (int tick = 0; tick < TICKS; tick++)
    {
        int level_before = game.current_level;
        if (title)
        {
            Application::Press_Keys_For_Signals(0);
            game.Run_Title_Tick();
            FUZZ_CHECK(!game.title_done);
            FUZZ_CHECK(game.current_level == 0);
        }
        else
        {
            int word = key_count > 0 ? Signal_Word(keys[tick % key_count]) : 0;
            // "Game Over" is left alone: Enter there would reload every level.
            if (game.game_over)
                word &= ~Application::SIGNAL_START;
            Application::Press_Keys_For_Signals(word);
            game.Run_Play_Tick();
        }
        FUZZ_CHECK(game.current_level >= 0 && game.current_level < Application::NUMBER_OF_LEVELS);
        visited.insert(game.current_level);
        Level& level = *game.levels[game.current_level];
        fuzz::Check_Level_Tables(level);
        // A pipe only ever leads into a level with a hero.
        if (game.current_level != level_before)
            FUZZ_CHECK(level.Hero() != nullptr);
        Check_Camera(level);
        // A living hero going down a pipe never sinks more than one step
        // past its top, on a pipe off the 4-pixel grid (one that gives up
        // its life on the way falls like any dying hero, and the demo's
        // hero stays inside a pipe that led to another level).
        if (Bluejay* hero = level.Hero())
            FUZZ_CHECK(hero->state != Bluejay::GOING_DOWN_PIPE || hero->strength <= 0 || hero->went_down_pipe ||
                       hero->y < hero->pipe_y + 4);
        if (game.quit || game.game_complete)
            break;
        if (game.game_over && ++after_game_over > TICKS_AFTER_GAME_OVER)
            break;
    }
    Application::Press_Keys_For_Signals(0);

    // Levels the hero went into, or could have been carried into by a pipe
    // of level 0, are loaded afresh for the next input.
    for (int i = 0; i < Level::NUMBER_OF_POINTERS; i++)
    {
        int destination = game.levels[0]->pointers[i];
        if (destination >= 0 && destination < Application::NUMBER_OF_LEVELS)
            visited.insert(destination);
    }
    for (int number : visited)
        if (number != 0)
            Reload_Level(game, number);
    return 0;
}
