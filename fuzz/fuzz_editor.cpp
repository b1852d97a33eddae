// Fuzzes the level editor: a fuzzed map becomes level 0 of a scratch copy of
// the levels, and the editor runs a few hundred ticks of fuzzed commands on
// it (never on the real data/). The editor must keep its cursor, view,
// selection and tables in bounds, and the level it saves on leaving must
// read back as exactly what it holds.
//
// Input: the map text, a zero byte, then three bytes of commands per tick,
// one bit per key, repeated when they run out.

#include "fuzz_support.h"

#include <map>
#include <set>

namespace
{
constexpr int TICKS = 300;

const int COMMAND_BITS[24] = {
    Application::SIGNAL_LEFT,           Application::SIGNAL_RIGHT,          Application::SIGNAL_UP,
    Application::SIGNAL_DOWN,           Application::SIGNAL_CURSOR_LEFT,    Application::SIGNAL_CURSOR_RIGHT,
    Application::SIGNAL_CURSOR_UP,      Application::SIGNAL_CURSOR_DOWN,    Application::SIGNAL_SELECT,
    Application::SIGNAL_DELETE,         Application::SIGNAL_SAVE,           Application::SIGNAL_LEVEL_UP,
    Application::SIGNAL_LEVEL_DOWN,     Application::SIGNAL_SCROLL_UP_1,    Application::SIGNAL_SCROLL_DOWN_1,
    Application::SIGNAL_SCROLL_UP_2,    Application::SIGNAL_SCROLL_DOWN_2,  Application::SIGNAL_SCROLL_UP_3,
    Application::SIGNAL_SCROLL_DOWN_3,  Application::SIGNAL_SCREEN_MODE,    Application::SIGNAL_CHARACTER_MODE,
    Application::SIGNAL_PLATFORM_MODE,  Application::SIGNAL_FLY,            Application::SIGNAL_MOVIE_RECORD,
};

// The scratch copies' original contents, by level number.
std::map<int, std::string>& Originals()
{
    static std::map<int, std::string> originals;
    return originals;
}

std::string Level_Path(int number)
{
    char path[Application::MAX_PATH_LENGTH];
    Make_Level_Path(path, number);
    return path;
}

// The harness writes the maps itself between inputs; the editor reads each
// one again as its own reload does, so it knows the file on disk is the one
// it holds (a map changed behind its back is never written over).
void Reload_For_Editing(Application& game, int number)
{
    FUZZ_CHECK(game.Reload_Level(number, false));
}

void Check_Same_Records(const Level& held, const Level& read)
{
    FUZZ_CHECK(held.background == read.background);
    FUZZ_CHECK(held.music == read.music);
    FUZZ_CHECK(held.number_of_characters == read.number_of_characters);
    FUZZ_CHECK(held.number_of_platforms == read.number_of_platforms);
    for (int i = 0; i < held.number_of_characters; i++)
    {
        FUZZ_CHECK(held.character_records[i]->type == read.character_records[i]->type);
        FUZZ_CHECK(held.character_records[i]->x == read.character_records[i]->x);
        FUZZ_CHECK(held.character_records[i]->y == read.character_records[i]->y);
    }
    for (int i = 0; i < held.number_of_platforms; i++)
    {
        FUZZ_CHECK(held.platform_records[i]->type == read.platform_records[i]->type);
        FUZZ_CHECK(held.platform_records[i]->x == read.platform_records[i]->x);
        FUZZ_CHECK(held.platform_records[i]->y == read.platform_records[i]->y);
    }
    for (int i = 0; i < Level::NUMBER_OF_POINTERS; i++)
        FUZZ_CHECK(held.pointers[i] == read.pointers[i]);
}

void Check_Editor(Application& game)
{
    FUZZ_CHECK(game.current_level >= 0 && game.current_level < Application::NUMBER_OF_LEVELS);
    Level& level = *game.levels[game.current_level];
    fuzz::Check_Level_Tables(level);
    FUZZ_CHECK(game.cursor_x >= 0 && game.cursor_x <= Application::MAX_CURSOR_X);
    FUZZ_CHECK(game.cursor_y >= 0 && game.cursor_y <= Application::MAX_CURSOR_Y);
    FUZZ_CHECK(level.scroll_x >= 0 && level.scroll_x <= Application::MAX_SCROLL_X);
    FUZZ_CHECK(level.scroll_y <= 0 && level.scroll_y >= Application::MIN_SCROLL_Y);
    FUZZ_CHECK(game.editor_mode == Application::SCREEN_MODE || game.editor_mode == Application::CHARACTER_MODE ||
               game.editor_mode == Application::PLATFORM_MODE);
    if (game.selected_object != Application::NO_OBJECT_SELECTED)
    {
        FUZZ_CHECK(game.editor_mode != Application::SCREEN_MODE);
        int count = game.editor_mode == Application::CHARACTER_MODE ? level.number_of_characters
                                                                     : level.number_of_platforms;
        FUZZ_CHECK(game.selected_object >= 0 && game.selected_object < count);
    }
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::Start();
    Application& game = fuzz::The_Application(true);
    // The editor works on copies of the levels in the scratch directory.
    std::filesystem::create_directories(fuzz::Scratch_Path("data/levels"));
    for (int number = 0; number < Application::NUMBER_OF_LEVELS; number++)
    {
        std::string source = Level_Path(number);
        if (std::filesystem::exists(source))
        {
            Originals()[number] = fuzz::Read(source);
            std::filesystem::copy_file(source, fuzz::Scratch_Path(source));
        }
    }
    if (chdir(fuzz::Scratch_Directory().c_str()) != 0)
        std::exit(1);
    game.Start_Editor();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Application& game = fuzz::The_Application(true);
    fuzz::Split_Input input = fuzz::Split(data, size);
    size_t tick_count = input.tail_size / 3;

    fuzz::Write(Level_Path(0), input.text, input.text_size);
    Reload_For_Editing(game, 0);

    game.current_level = 0;
    game.editor_mode = Application::SCREEN_MODE;
    game.cursor_x = 0;
    game.cursor_y = 0;
    game.selected_object = Application::NO_OBJECT_SELECTED;
    game.current_object_type = 0;
    game.key_delay = 7;
    game.quit = false;

    std::set<int> visited = {0};
    for (int tick = 0; tick < TICKS; tick++)
    {
        int word = 0;
        if (tick_count > 0)
        {
            const uint8_t* bytes = input.tail + 3 * (tick % tick_count);
            uint32_t bits = bytes[0] | (bytes[1] << 8) | (static_cast<uint32_t>(bytes[2]) << 16);
            for (int bit = 0; bit < 24; bit++)
                if (bits & (1u << bit))
                    word |= COMMAND_BITS[bit];
        }
        Application::Press_Keys_For_Signals(word);
        game.Run_Editor_Tick();
        FUZZ_CHECK(!game.quit);
        visited.insert(game.current_level);
        Check_Editor(game);
    }
    Application::Press_Keys_For_Signals(0);

    // Leaving saves the level on screen; it reads back as it is held.
    game.Leave_Editor();
    Level* read = new Level();
    read->Load_For_Editing(Level_Path(game.current_level).c_str());
    Check_Same_Records(*game.levels[game.current_level], *read);
    delete read;
    FUZZ_CHECK(!std::filesystem::exists(Level_Path(game.current_level) + ".tmp"));

    // The next input starts from the original copies.
    for (int number : visited)
    {
        std::string path = Level_Path(number);
        auto original = Originals().find(number);
        if (original != Originals().end())
            fuzz::Write(path, reinterpret_cast<const uint8_t*>(original->second.data()), original->second.size());
        else
            std::filesystem::remove(path);
        Reload_For_Editing(game, number);
    }
    return 0;
}
