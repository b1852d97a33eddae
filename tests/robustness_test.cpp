// Bad input of every kind and saves that are cut off or cannot be written:
// the game reads what it can use, drops the rest, stays inside its tables,
// never overflows a number and never loses a saved file. Each test here
// stands beside one decision of docs/robustness.md.

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <csignal>
#include <functional>
#include <signal.h>
#include <sys/resource.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "application.h"
#include "bluejay.h"
#include "character.h"
#include "level.h"
#include "platform.h"
#include "rock.h"
#include "safe_file.h"
#include "string_list.h"
#include "test_support.h"

namespace
{
struct Entry
{
    int type;
    long long x;
    long long y;
};

// A number of a map file: positions beyond an int are written at its edge.
std::string Word(long long value)
{
    return std::to_string(std::max<long long>(INT_MIN, std::min<long long>(INT_MAX, value)));
}

// The words of a whole map, in file order: background, music, the character
// list and its end, the platform list and its end, fifty pointers.
std::vector<std::string> Map_Words(int background, int music, const std::vector<Entry>& characters,
                                   const std::vector<Entry>& platforms, const std::vector<int>& pointers)
{
    std::vector<std::string> words = {std::to_string(background), std::to_string(music)};
    for (const Entry& entry : characters)
        words.insert(words.end(), {std::to_string(entry.type), Word(entry.x), Word(entry.y)});
    words.push_back("-1");
    for (const Entry& entry : platforms)
        words.insert(words.end(), {std::to_string(entry.type), Word(entry.x), Word(entry.y)});
    words.push_back("-1");
    for (int pointer : pointers)
        words.push_back(std::to_string(pointer));
    return words;
}

std::string Join(const std::vector<std::string>& words, const std::string& separator = "\n")
{
    std::string text;
    for (const std::string& word : words)
        text += word + separator;
    return text;
}

std::vector<int> Pointers(int value)
{
    return std::vector<int>(Level::NUMBER_OF_POINTERS, value);
}

std::vector<int> Counting_Pointers()
{
    std::vector<int> pointers;
    for (int i = 0; i < Level::NUMBER_OF_POINTERS; i++)
        pointers.push_back(i + 1);
    return pointers;
}

// Ground tiles (32 x 32) along y from x to last_x.
std::vector<Entry> Ground(long long x, long long last_x, long long y = 192)
{
    std::vector<Entry> tiles;
    for (; x <= last_x; x += 32)
        tiles.push_back({Level::GROUND, x, y});
    return tiles;
}

void Release_Keys()
{
    std::memset(const_cast<char*>(key), 0, KEY_MAX);
}

int Pixels_Not(BITMAP* canvas, int x, int y, int width, int height, int colour)
{
    int count = 0;
    for (int row = y; row < y + height; row++)
        for (int column = x; column < x + width; column++)
            count += getpixel(canvas, column, row) != colour;
    return count;
}

std::vector<int> Pixels(BITMAP* canvas)
{
    std::vector<int> pixels;
    for (int y = 0; y < canvas->h; y++)
        for (int x = 0; x < canvas->w; x++)
            pixels.push_back(getpixel(canvas, x, y));
    return pixels;
}

// Works in another directory for a while; the game reads data/ from the
// working directory.
class Working_Directory
{
public:
    explicit Working_Directory(const std::string& path) : previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(path);
    }
    ~Working_Directory()
    {
        std::filesystem::current_path(previous);
    }

private:
    std::filesystem::path previous;
};

void Expect_Same_Records(const Level& a, const Level& b)
{
    EXPECT_EQ(a.background, b.background);
    EXPECT_EQ(a.music, b.music);
    ASSERT_EQ(a.number_of_characters, b.number_of_characters);
    ASSERT_EQ(a.number_of_platforms, b.number_of_platforms);
    for (int i = 0; i < a.number_of_characters; i++)
    {
        EXPECT_EQ(a.character_records[i]->type, b.character_records[i]->type) << "character " << i;
        EXPECT_EQ(a.character_records[i]->x, b.character_records[i]->x) << "character " << i;
        EXPECT_EQ(a.character_records[i]->y, b.character_records[i]->y) << "character " << i;
    }
    for (int i = 0; i < a.number_of_platforms; i++)
    {
        EXPECT_EQ(a.platform_records[i]->type, b.platform_records[i]->type) << "platform " << i;
        EXPECT_EQ(a.platform_records[i]->x, b.platform_records[i]->x) << "platform " << i;
        EXPECT_EQ(a.platform_records[i]->y, b.platform_records[i]->y) << "platform " << i;
    }
    for (int i = 0; i < Level::NUMBER_OF_POINTERS; i++)
        EXPECT_EQ(a.pointers[i], b.pointers[i]) << "pointer " << i;
}

// Every character type code of the game.
std::vector<int> Every_Character_Code()
{
    std::vector<int> codes;
    for (int type = Level::BLACK_BIRD; type <= Level::NO_ECTO_SWITCH; type++)
        codes.push_back(type);
    return codes;
}

// A game with every picture loaded, run one tick at a time.
class RobustGame : public Loaded_Application_Test
{
protected:
    Temporary_Directory directory;

    void SetUp() override
    {
        Release_Keys();
        ASSERT_EQ(application.missing_resource[0], '\0') << application.missing_resource;
        std::srand(1);
    }

    void TearDown() override
    {
        Release_Keys();
    }

    Level& Load(int number, const std::string& text)
    {
        std::string path = directory.Write("level_" + std::to_string(number) + ".map", text);
        delete application.levels[number];
        application.levels[number] = new Level();
        application.levels[number]->Load(path.c_str());
        return *application.levels[number];
    }

    void Play(int number)
    {
        application.demo_mode = false;
        application.current_level = number;
    }

    void Play_Tick(int held = 0)
    {
        Application::Press_Keys_For_Signals(held);
        application.Run_Play_Tick();
    }

    void Play_Ticks(int ticks, int held = 0)
    {
        for (int i = 0; i < ticks; i++)
            Play_Tick(held);
    }
};
} // namespace

// ---------------------------------------------------------------------------
// Words that are not numbers, and numbers too big for an int, anywhere in a
// map: reading ends at that word; what came before it is kept, whole
// entries only, and the pointers not read stay 0.

TEST(MapWords, AWordThatIsNotAnIntEndsTheReadingWhereverItStands)
{
    Temporary_Directory directory;
    const std::vector<Entry> characters = {{Level::BLUEJAY, 32, 136}, {Level::FLY, 96, 40}};
    const std::vector<Entry> platforms = {{Level::GROUND, 0, 192}, {Level::PIPE, 32, 160}, {Level::LEDGE, 96, 96}};
    const std::vector<std::string> words = Map_Words(3, 4, characters, platforms, Counting_Pointers());
    const int first_pointer = static_cast<int>(words.size()) - Level::NUMBER_OF_POINTERS;
    const int platform_list = 2 + 3 * static_cast<int>(characters.size()) + 1;

    for (const std::string bad : {"x", "12345678901234567890", "2147483648", "-2147483649", "--1", "+", "\x01"})
    {
        for (int at = 0; at < static_cast<int>(words.size()); at++)
        {
            std::vector<std::string> broken = words;
            broken[at] = bad;
            std::string path = directory.Write("broken.map", Join(broken, " "));
            SCOPED_TRACE("\"" + bad + "\" at word " + std::to_string(at));

            Level played;
            played.Load(path.c_str());
            Level edited;
            edited.Load_For_Editing(path.c_str());

            // Whole entries before the bad word.
            int whole_characters = at < 2 ? 0 : std::min<int>((at - 2) / 3, characters.size());
            int whole_platforms =
                at < platform_list ? 0 : std::min<int>((at - platform_list) / 3, platforms.size());
            for (const Level* level : {&played, &edited})
            {
                EXPECT_EQ(level->background, at > 0 ? 3 : 0);
                EXPECT_EQ(level->music, at > 1 ? 4 : 0);
                EXPECT_EQ(level->number_of_characters, whole_characters);
                EXPECT_EQ(level->number_of_platforms, whole_platforms);
                for (int i = 0; i < Level::NUMBER_OF_POINTERS; i++)
                    EXPECT_EQ(level->pointers[i], first_pointer + i < at ? i + 1 : 0) << "pointer " << i;
            }
            EXPECT_EQ(played.main_character, whole_characters > 0 ? 0 : Level::NO_MAIN_CHARACTER);
            EXPECT_GE(played.screens_wide, 1);
            EXPECT_GE(played.screens_high, 1);

            // What the editor read saves and reads back the same.
            ASSERT_TRUE(edited.Save(directory.Path("saved.map").c_str()));
            Level again;
            again.Load_For_Editing(directory.Path("saved.map").c_str());
            Expect_Same_Records(edited, again);
        }
    }
}

TEST(MapWords, WindowsAndOldMacLineEndsReadLikeLineFeeds)
{
    Temporary_Directory directory;
    const std::vector<std::string> words =
        Map_Words(2, 5, {{Level::BLUEJAY, 32, 136}, {Level::EGG, 100, -40}}, Ground(0, 96), Counting_Pointers());
    Level reference;
    reference.Load_For_Editing(directory.Write("lf.map", Join(words, "\n")).c_str());
    ASSERT_EQ(reference.number_of_platforms, 4);

    for (const std::string separator : {"\r\n", "\r", " \r\n\t"})
    {
        std::string path = directory.Write("other.map", Join(words, separator));
        Level edited;
        edited.Load_For_Editing(path.c_str());
        Expect_Same_Records(reference, edited);

        Level played;
        played.Load(path.c_str());
        EXPECT_EQ(played.number_of_characters, 2);
        EXPECT_EQ(played.number_of_platforms, 4);
        EXPECT_EQ(played.main_character, 0);
        EXPECT_EQ(played.pointers[49], 50);
    }
}

TEST(MapWords, MoreCharactersThanTheTableHoldsAreDroppedInPlay)
{
    Temporary_Directory directory;
    std::vector<Entry> characters = {{Level::BLUEJAY, 32, 136}};
    for (int i = 0; i < Level::MAX_CHARACTERS + 5; i++)
        characters.push_back({Level::FLY, 16 * (i % 700), -(i % 31)});
    // A second hero past the end of the table is dropped too.
    characters.push_back({Level::BLUEJAY, 500, 100});
    Level level;
    level.Load(directory.Write("crowded.map", Join(Map_Words(0, 0, characters, Ground(0, 64), Counting_Pointers())))
                   .c_str());
    ASSERT_EQ(level.number_of_characters, Level::MAX_CHARACTERS);
    EXPECT_EQ(level.main_character, 0);
    EXPECT_EQ(level.characters[0]->x, 32);
    EXPECT_EQ(level.number_of_platforms, 3);
    EXPECT_EQ(level.pointers[0], 1);
    EXPECT_EQ(level.pointers[49], 50);
}

// ---------------------------------------------------------------------------
// Enormous numbers: positions are brought within Level::MAX_POSITION for
// play and kept as they are for editing; the game plays on them without
// overflowing.

TEST(EnormousNumbers, PositionsAreBroughtNearForPlayAndKeptForEditing)
{
    Temporary_Directory directory;
    const std::vector<Entry> characters = {{Level::BLUEJAY, INT_MAX, INT_MIN},
                                           {Level::FLY, INT_MIN, INT_MAX},
                                           {Level::EGG, 1000001, -1000001},
                                           {Level::CLAM, 1000000, -1000000}};
    const std::vector<Entry> platforms = {{Level::GROUND, INT_MAX, INT_MAX}, {Level::LEDGE, INT_MIN, INT_MIN}};
    std::string path = directory.Write("far.map", Join(Map_Words(0, 0, characters, platforms, Pointers(INT_MAX))));

    Level played;
    played.Load(path.c_str());
    ASSERT_EQ(played.number_of_characters, 4);
    const int far = Level::MAX_POSITION;
    const int expected[4][2] = {{far, -far}, {-far, far}, {far, -far}, {far, -far}};
    for (int i = 0; i < 4; i++)
    {
        EXPECT_EQ(played.characters[i]->x, expected[i][0]) << i;
        EXPECT_EQ(played.characters[i]->y, expected[i][1]) << i;
        EXPECT_EQ(played.characters[i]->start_x, expected[i][0]) << i;
        EXPECT_EQ(played.characters[i]->start_y, expected[i][1]) << i;
    }
    ASSERT_EQ(played.number_of_platforms, 2);
    EXPECT_EQ(played.platforms[0]->x, far);
    EXPECT_EQ(played.platforms[0]->y, far);
    EXPECT_EQ(played.platforms[1]->x, -far);
    EXPECT_EQ(played.platforms[1]->start_y, -far);
    EXPECT_EQ(played.pointers[0], INT_MAX);
    EXPECT_LE(played.screens_wide, Level::MAX_SCREENS);
    EXPECT_LE(played.screens_high, Level::MAX_SCREENS);

    Level edited;
    edited.Load_For_Editing(path.c_str());
    EXPECT_EQ(edited.character_records[0]->x, INT_MAX);
    EXPECT_EQ(edited.character_records[0]->y, INT_MIN);
    EXPECT_EQ(edited.platform_records[1]->x, INT_MIN);
    ASSERT_TRUE(edited.Save(directory.Path("saved.map").c_str()));
    EXPECT_EQ(Read_File(directory.Path("saved.map")), Read_File(path));
}

namespace
{
class EnormousPlay : public RobustGame
{
protected:
    // Every creature around the hero, and at the far edges of the numbers.
    std::string Crowd(long long hero_x, long long hero_y)
    {
        std::vector<Entry> characters = {{Level::BLUEJAY, hero_x, hero_y}};
        int i = 0;
        for (int type : Every_Character_Code())
        {
            if (type == Level::BLUEJAY)
                continue;
            characters.push_back({type, hero_x + 32 * (i % 8) - 96, hero_y - 48 * (i % 3)});
            characters.push_back({type, INT_MAX - i, INT_MIN + i});
            characters.push_back({type, INT_MIN + i, INT_MAX - i});
            i++;
        }
        std::vector<Entry> platforms = Ground(hero_x - 256, hero_x + 256, hero_y + 56);
        for (int type = Level::BROWN_BLOCK; type <= Level::TALL_VINE; type++)
        {
            platforms.push_back({type, INT_MAX, INT_MAX});
            platforms.push_back({type, INT_MIN, INT_MIN});
            platforms.push_back({type, hero_x + 64, hero_y - 64});
        }
        return Join(Map_Words(0, 0, characters, platforms, Pointers(0)));
    }

    // Left and right, jumps, flight, pipes and giving up, in turns.
    void Run_Around(int ticks)
    {
        const int moves[] = {Application::SIGNAL_RIGHT | Application::SIGNAL_UP,
                             Application::SIGNAL_FLY | Application::SIGNAL_LEFT, Application::SIGNAL_DOWN,
                             Application::SIGNAL_RIGHT, Application::SIGNAL_UP, 0};
        for (int tick = 0; tick < ticks; tick++)
        {
            Play_Tick(moves[(tick / 20) % 6]);
            if (application.game_over)
                break;
        }
    }
};
} // namespace

TEST_F(EnormousPlay, PositionsAtTheEdgesOfTheNumbersPlayWithoutOverflow)
{
    // Under the sanitizer build an overflow anywhere stops this test.
    for (long long hero : {0LL, 1000000LL, -1000000LL, static_cast<long long>(INT_MAX)})
    {
        SCOPED_TRACE("hero at " + std::to_string(hero));
        Level& level = Load(0, Crowd(hero, hero));
        ASSERT_NE(level.Hero(), nullptr);
        Play(0);
        application.game_over = false;
        Run_Around(300);
        EXPECT_GE(level.scroll_x, 0);
        EXPECT_LE(level.scroll_x, (level.screens_wide - 1) * Application::CANVAS_WIDTH);
    }
}

TEST_F(EnormousPlay, ShapesAtTheEdgesOfTheNumbersPlayWithoutOverflow)
{
    // A copy of data/ whose every collision shape is made of the extreme
    // numbers.
    std::filesystem::create_directories(directory.Path("data/bump_maps"));
    for (const auto& file : std::filesystem::directory_iterator("data/bump_maps"))
    {
        std::ofstream shape(directory.Path("data/bump_maps/" + file.path().filename().string()));
        shape << "2147483647 -2147483648 2147483647 2147483647\n"
                 "-2147483648 -2147483648 -2147483648 -2147483648\n"
                 "-2147483648 2147483647 2147483647 -2147483648\n"
                 "0 0 2147483647 2147483647\n";
    }
    {
        Working_Directory scratch(directory.Path(""));
        Load(0, Crowd(128, 100));
    }
    Level& level = *application.levels[0];
    ASSERT_NE(level.Hero(), nullptr);
    EXPECT_EQ(level.Hero()->bump_maps_loaded, 4);
    EXPECT_EQ(level.Hero()->bump_maps[0].left, INT_MAX);
    Play(0);
    Run_Around(300);
}

TEST_F(RobustGame, ARockFallingFarBelowTheScreenFallsOnWithoutBeingDrawn)
{
    // A rock falls for as long as its columns are in view; eight minutes of
    // falling takes it 32768 pixels down, past what the library can turn.
    Level level;
    Rock* rock = Add_Character(level, new Rock(), 100, 40000);
    const int backdrop = makecol(0, 0, 96);
    clear_to_color(application.canvas, backdrop);
    for (int tick = 0; tick < 4; tick++)
        rock->Process(application, level);
    EXPECT_EQ(rock->y, 40008);
    EXPECT_EQ(Pixels_Not(application.canvas, 0, 0, 256, 224, backdrop), 0);

    // Near the screen it is drawn as ever.
    rock->y = 200;
    rock->Process(application, level);
    EXPECT_GT(Pixels_Not(application.canvas, 90, 190, 44, 34, backdrop), 0);
}

TEST_F(RobustGame, ABackgroundAndMusicOutsideTheTablesPlaySafely)
{
    for (int number : {-1, 7, 99, INT_MAX, INT_MIN})
    {
        SCOPED_TRACE("background and music " + std::to_string(number));
        Level& level =
            Load(0, Join(Map_Words(number, number, {{Level::BLUEJAY, 40, 168}}, Ground(0, 224), Pointers(0))));
        EXPECT_EQ(level.background, number);
        EXPECT_EQ(level.music, number);
        Play(0);
        Play_Ticks(3, Application::SIGNAL_RIGHT);
        // The black background stands in for a picture the game does not
        // have.
        EXPECT_EQ(getpixel(application.canvas, 128, 120), makecol(0, 0, 0));
    }
}

TEST_F(RobustGame, ASecondBlueJayDoesNotMoveTheCamera)
{
    // The last blue jay of a map is the hero; an earlier one still flies
    // about, but the camera stays on the hero.
    std::vector<Entry> platforms = Ground(0, 1000);
    platforms.push_back({Level::LEDGE, 592, 64});
    platforms.push_back({Level::BROWN_BLOCK, 0, -100});
    Level& level = Load(0, Join(Map_Words(0, 0, {{Level::BLUEJAY, 500, 0}, {Level::BLUEJAY, 600, 40}}, platforms,
                                          Pointers(0))));
    ASSERT_EQ(level.main_character, 1);
    Play(0);
    Play_Tick();
    ASSERT_EQ(level.scroll_x, 600 - 128);
    ASSERT_EQ(level.scroll_y, 40 - 112);
    Character* twin = level.characters[0];
    for (int tick = 0; tick < 30; tick++)
    {
        Play_Tick();
        EXPECT_EQ(level.scroll_x, 600 - 128) << "tick " << tick;
        EXPECT_EQ(level.scroll_y, 40 - 112) << "tick " << tick;
    }
    EXPECT_NE(twin->x, 500);
    EXPECT_EQ(level.Hero()->x, 600);
}

// ---------------------------------------------------------------------------
// Unknown type codes: play drops them, the editor keeps them, shows them with
// a placeholder picture and saves them as they were.

TEST_F(RobustGame, UnknownCodesAreDroppedInPlayAndKeptInTheEditor)
{
    const std::string text = Join(Map_Words(
        0, 0, {{Level::BLUEJAY, 32, 168}, {99, 64, 64}, {0, 96, 64}, {-5, 128, 64}, {Level::TALL_VINE, 160, 64}},
        {{Level::GROUND, 0, 192}, {999, 32, 96}, {Level::NO_ECTO_SWITCH, 64, 96}, {5000, 96, 96}}, Pointers(0)));
    Level& played = Load(0, text);
    EXPECT_EQ(played.number_of_characters, 1);
    EXPECT_EQ(played.number_of_platforms, 1);
    Play(0);
    Play_Ticks(30, Application::SIGNAL_RIGHT | Application::SIGNAL_UP);
    EXPECT_FALSE(application.game_over);

    std::string path = directory.Write("edited.map", text);
    delete application.levels[0];
    application.levels[0] = new Level();
    Level& edited = *application.levels[0];
    edited.Load_For_Editing(path.c_str());
    ASSERT_EQ(edited.number_of_characters, 5);
    ASSERT_EQ(edited.number_of_platforms, 4);

    // The placeholder stands where the unknown object lies, in both modes.
    BITMAP* placeholder = application.bitmaps[Application::Get_Object_Bitmap(99)];
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(Application::Get_Object_Bitmap(99), Application::Get_Object_Bitmap(5000));
    for (int mode : {Application::CHARACTER_MODE, Application::PLATFORM_MODE})
    {
        application.current_level = 0;
        application.editor_mode = mode;
        application.cursor_x = 200;
        application.cursor_y = 200;
        application.Draw_Editor();
        Map_Record& unknown = mode == Application::CHARACTER_MODE ? *edited.character_records[1]
                                                                  : *edited.platform_records[1];
        int matching = 0, opaque = 0;
        const int magenta = makecol(255, 0, 255);
        for (int y = 4; y < placeholder->h; y++)
            for (int x = 4; x < placeholder->w; x++)
            {
                int colour = getpixel(placeholder, x, y);
                if (colour == magenta)
                    continue;
                opaque++;
                matching += getpixel(application.canvas, unknown.x + x, unknown.y + y) == colour;
            }
        EXPECT_GT(opaque, 0);
        EXPECT_EQ(matching, opaque) << "mode " << mode;
    }
    ASSERT_TRUE(edited.Save(directory.Path("saved.map").c_str()));
    EXPECT_EQ(Read_File(directory.Path("saved.map")), text);
}

TEST_F(RobustGame, TheEditorWorksAroundRecordsAtTheEdgesOfTheNumbers)
{
    const std::string text =
        Join(Map_Words(0, 0, {{Level::BLUEJAY, INT_MAX, INT_MIN}, {99, INT_MIN, INT_MAX}, {Level::FLY, 0, 0}},
                       {{Level::GROUND, INT_MIN, INT_MIN}, {Level::PIPE, INT_MAX, 0}, {Level::GROUND, 16, 16}},
                       Pointers(INT_MIN)));
    std::filesystem::create_directories(directory.Path("data/levels"));
    directory.Write("data/levels/level_0.map", text);
    Working_Directory scratch(directory.Path(""));
    application.Start_Editor();

    // Scroll, move the cursor, pick up, carry and drop, in every mode.
    const int commands[] = {Application::SIGNAL_CHARACTER_MODE, Application::SIGNAL_SELECT,
                            Application::SIGNAL_CURSOR_RIGHT,   Application::SIGNAL_SELECT,
                            Application::SIGNAL_PLATFORM_MODE,  Application::SIGNAL_CURSOR_DOWN,
                            Application::SIGNAL_SELECT,         Application::SIGNAL_CURSOR_UP,
                            Application::SIGNAL_SELECT,         Application::SIGNAL_RIGHT,
                            Application::SIGNAL_UP,             Application::SIGNAL_SCREEN_MODE,
                            Application::SIGNAL_SCROLL_UP_1,    Application::SIGNAL_LEFT,
                            Application::SIGNAL_DOWN};
    for (int command : commands)
    {
        for (int tick = 0; tick < 8; tick++)
        {
            Application::Press_Keys_For_Signals(tick == 0 ? command : 0);
            application.Run_Editor_Tick();
        }
    }
    Release_Keys();
    application.Leave_Editor();

    Level& level = *application.levels[0];
    EXPECT_EQ(level.character_records[0]->x, INT_MAX);
    EXPECT_EQ(level.character_records[1]->y, INT_MAX);
    EXPECT_EQ(level.platform_records[0]->x, INT_MIN);
    Level saved;
    saved.Load_For_Editing("data/levels/level_0.map");
    Expect_Same_Records(level, saved);
    // The screen at the left edge got a pointer the game knows.
    EXPECT_EQ(saved.pointers[0], 1);
    EXPECT_EQ(saved.pointers[1], INT_MIN);
}

// ---------------------------------------------------------------------------
// Pipes that lead nowhere: to no level, from beyond the last pointer, or to a
// level without a hero. The hero comes back up and stands on the pipe.

namespace
{
class PipesNowhere : public RobustGame
{
protected:
    static constexpr int PIPE_Y = 160;
    static constexpr int STANDING_Y = PIPE_Y - 24;

    // The hero on a pipe at pipe_x, ground around it.
    std::string Pipe_Map(int pipe_x, const std::vector<int>& pointers, int pipe_y = PIPE_Y)
    {
        std::vector<Entry> platforms = Ground(pipe_x - 64, pipe_x + 96);
        platforms.push_back({Level::PIPE, pipe_x, pipe_y});
        return Join(Map_Words(0, 0, {{Level::BLUEJAY, pipe_x + 4, 132}}, platforms, pointers));
    }

    // Lands on the pipe, then holds Down for a while.
    void Go_Down(Level& level)
    {
        Play_Ticks(60);
        ASSERT_EQ(level.Hero()->state, Bluejay::IDLE);
        Play_Ticks(20, Application::SIGNAL_DOWN);
        Play_Ticks(15);
    }
};
} // namespace

TEST_F(PipesNowhere, APointerThatNamesNoLevelBringsTheHeroBackUp)
{
    // 7 is loaded without a hero.
    Load(7, Join(Map_Words(0, 0, {{Level::FLY, 40, 40}}, Ground(0, 224), Pointers(0))));
    for (int pointer : {-1, 120, INT_MAX, INT_MIN, 7})
    {
        SCOPED_TRACE("pointer " + std::to_string(pointer));
        std::vector<int> pointers = Pointers(pointer);
        Level& level = Load(0, Pipe_Map(96, pointers));
        Play(0);
        Go_Down(level);
        EXPECT_EQ(application.current_level, 0);
        Bluejay* hero = level.Hero();
        EXPECT_EQ(hero->y, STANDING_Y);
        EXPECT_EQ(hero->state, Bluejay::IDLE);
        EXPECT_FALSE(hero->went_down_pipe);
        EXPECT_GT(application.sound_effect_plays[Application::WARP_SE], 0);
    }
}

TEST_F(PipesNowhere, APipeBeyondTheLastScreenColumnBringsTheHeroBackUp)
{
    // Screen column 50 and far beyond, and a pipe left of the level.
    for (int pipe_x : {50 * 256, 50 * 256 + 200, 400 * 256})
    {
        SCOPED_TRACE("pipe at " + std::to_string(pipe_x));
        Level& level = Load(0, Pipe_Map(pipe_x, Pointers(1)));
        Load(1, Join(Map_Words(0, 0, {{Level::BLUEJAY, 40, 168}}, Ground(0, 224), Pointers(0))));
        Play(0);
        Go_Down(level);
        EXPECT_EQ(application.current_level, 0);
        EXPECT_EQ(level.Hero()->y, STANDING_Y);
        EXPECT_EQ(level.Hero()->state, Bluejay::IDLE);
    }
}

TEST_F(PipesNowhere, ALocalPipeToAScreenOutsideTheLevelLeadsToItsNearestScreen)
{
    // The level is three screens wide: pointers before its first screen
    // lead to the first, past its last to the last.
    for (int pointer : {INT_MIN, -1, 3, INT_MAX})
    {
        SCOPED_TRACE("pointer " + std::to_string(pointer));
        std::vector<Entry> platforms = Ground(0, 3 * 256 - 32);
        platforms.push_back({Level::LOCAL_PIPE, 96, PIPE_Y});
        Level& level = Load(0, Join(Map_Words(0, 0, {{Level::BLUEJAY, 100, 132}}, platforms, Pointers(pointer))));
        Play(0);
        Play_Ticks(30);
        Play_Ticks(7, Application::SIGNAL_DOWN);
        Bluejay* hero = level.Hero();
        EXPECT_EQ(hero->x, (pointer < 0 ? 0 : 2) * 256 + 16);
        EXPECT_EQ(application.current_level, 0);
        EXPECT_EQ(hero->lives, 3);
    }
}

TEST_F(PipesNowhere, TheCameraStaysInsideTheLevelAfterThePipeSetsTheHeroStraight)
{
    // Going down a pipe moves the hero to the pipe's middle without moving
    // the camera; running right from there must not show what lies past
    // the level's right edge.
    std::vector<Entry> platforms = Ground(0, 480);
    platforms.push_back({Level::PIPE, 320, PIPE_Y});
    Level& level = Load(0, Join(Map_Words(0, 0, {{Level::BLUEJAY, 340, STANDING_Y}}, platforms, Pointers(120))));
    Play(0);
    Play_Tick();
    ASSERT_EQ(level.scroll_x, 340 - 128);
    Play_Ticks(10, Application::SIGNAL_DOWN);
    Play_Ticks(5);
    ASSERT_EQ(level.Hero()->x, 324);
    for (int tick = 0; tick < 40; tick++)
    {
        Play_Tick(Application::SIGNAL_RIGHT | Application::SIGNAL_UP);
        ASSERT_LE(level.scroll_x, 256) << "tick " << tick << ", hero at " << level.Hero()->x;
        ASSERT_GE(level.scroll_x, 0);
    }
}

TEST_F(PipesNowhere, APipeOffTheFourPixelGridStillTakesTheHeroDown)
{
    // The hero stands a few pixels higher on such a pipe; going down it
    // still ends inside the pipe, not in a fall through the world.
    for (int pipe_y : {161, 162, 163})
    {
        SCOPED_TRACE("pipe at y " + std::to_string(pipe_y));
        Level& level = Load(0, Pipe_Map(96, Pointers(1), pipe_y));
        Level& next = Load(1, Join(Map_Words(0, 0, {{Level::BLUEJAY, 40, 168}}, Ground(0, 224), Pointers(0))));
        Play(0);
        Go_Down(level);
        EXPECT_EQ(application.current_level, 1);
        EXPECT_EQ(level.Hero()->lives, 3);
        EXPECT_EQ(next.Hero()->lives, 3);
    }
}

// ---------------------------------------------------------------------------
// The title screen: a movie level outside the game plays the demo on level 0
// and is written back as it was; a demo level without a hero still runs.

TEST_F(RobustGame, AMovieLevelOutsideTheGameRunsTheDemoOnLevelZeroAndIsKept)
{
    Load(0, Join(Map_Words(0, 0, {{Level::BLUEJAY, 40, 168}}, Ground(0, 224), Pointers(0))));
    for (const std::string level : {"500", "-3", "120", "2147483647"})
    {
        SCOPED_TRACE("movie level " + level);
        std::string path = directory.Write("movie.dat", level + "\n8\n8\n0\n4\n");
        application.movie_level = 0;
        application.signal_buffer_length = 0;
        application.signal_buffer_position = 0;
        application.Load_Movie(path.c_str());
        ASSERT_EQ(application.signal_buffer_length, 4);
        application.Start_Title();
        EXPECT_EQ(application.current_level, 0);
        for (int tick = 0; tick < 12; tick++)
        {
            Application::Press_Keys_For_Signals(0);
            application.Run_Title_Tick();
        }
        EXPECT_EQ(application.current_level, 0);
        EXPECT_FALSE(application.levels[0]->starting);
        ASSERT_TRUE(application.Save_Movie(path.c_str()));
        EXPECT_EQ(Read_File(path), level + "\n8\n8\n0\n4\n");
    }
}

TEST_F(RobustGame, ADemoOnALevelWithoutAHeroStillRuns)
{
    Level& level = Load(5, Join(Map_Words(2, 0, {{Level::FLY, 100, 40}, {Level::MESSAGE_OBJECT, 10, 10}},
                                          Ground(0, 600), Pointers(9))));
    application.movie_level = 5;
    application.signal_buffer_length = 3;
    application.signal_buffer[0] = Application::SIGNAL_RIGHT;
    application.signal_buffer[1] = Application::SIGNAL_DOWN;
    application.signal_buffer[2] = Application::SIGNAL_FLY;
    application.Start_Title();
    for (int tick = 0; tick < 100; tick++)
    {
        Application::Press_Keys_For_Signals(0);
        application.Run_Title_Tick();
    }
    EXPECT_EQ(application.current_level, 5);
    EXPECT_FALSE(application.title_done);
    EXPECT_EQ(level.scroll_x, 0);
    EXPECT_EQ(level.scroll_y, 0);
    // Enter still starts the game.
    Application::Press_Keys_For_Signals(Application::SIGNAL_START);
    application.Run_Title_Tick();
    EXPECT_TRUE(application.title_done);
}

// ---------------------------------------------------------------------------
// Message files: lines are kept up to String_List::MAX_LINE_LENGTH
// characters and cut at the canvas edge when printed; huge files load
// quickly into at most 25 short lines.

TEST(MessageFiles, LongLinesAreCutWhenLoading)
{
    Temporary_Directory directory;
    const int most = String_List::MAX_LINE_LENGTH;
    String_List list;
    list.Load_From_File(directory
                            .Write("long.txt", std::string(most, 'a') + "\r\n" + std::string(most + 1, 'b') + "\r\n" +
                                                   std::string(3 * most, 'c') + "\nshort\r\n" +
                                                   std::string(most - 1, 'd') + "\r\r\n")
                            .c_str());
    ASSERT_EQ(list.number_of_strings, 5);
    EXPECT_EQ(list.strings[0], std::string(most, 'a'));
    EXPECT_EQ(list.strings[1], std::string(most, 'b'));
    EXPECT_EQ(list.strings[2], std::string(most, 'c'));
    EXPECT_EQ(list.strings[3], "short");
    EXPECT_EQ(list.strings[4], std::string(most - 1, 'd') + "\r");
    // Only the carriage return right before the line end goes.
    String_List odd;
    odd.Load_From_File(directory.Write("odd.txt", "a\rb\r\r\n").c_str());
    ASSERT_EQ(odd.number_of_strings, 1);
    EXPECT_EQ(odd.strings[0], "a\rb\r");
}

TEST(MessageFiles, HugeFilesLoadIntoAtMostTwentyFiveShortLines)
{
    Temporary_Directory directory;
    {
        std::ofstream file(directory.Path("huge_line.txt"), std::ios::binary);
        std::string block(1 << 20, 'x');
        for (int i = 0; i < 16; i++)
            file << block;
        file << "\nsecond\n";
    }
    String_List one_line;
    one_line.Load_From_File(directory.Path("huge_line.txt").c_str());
    ASSERT_EQ(one_line.number_of_strings, 2);
    EXPECT_EQ(one_line.strings[0].size(), static_cast<size_t>(String_List::MAX_LINE_LENGTH));
    EXPECT_LT(one_line.strings[0].capacity(), 4096u);
    EXPECT_EQ(one_line.strings[1], "second");

    {
        std::ofstream file(directory.Path("many_lines.txt"), std::ios::binary);
        for (int i = 0; i < 1000000; i++)
            file << "line " << i << "\r\n";
    }
    String_List many;
    many.Load_From_File(directory.Path("many_lines.txt").c_str());
    ASSERT_EQ(many.number_of_strings, String_List::MAX_STRINGS);
    EXPECT_EQ(many.strings[24], "line 24");
}

TEST(MessageFiles, LinesWiderThanTheCanvasAreCutAtItsEdge)
{
    Application application;
    const int backdrop = makecol(0, 0, 96);
    clear_to_color(application.canvas, backdrop);
    String_List list;
    list.strings[0] = std::string(String_List::MAX_LINE_LENGTH, 'W');
    list.number_of_strings = 1;
    list.Print(application);
    // The line runs to the right edge of the canvas and nothing is drawn
    // outside its own rows.
    EXPECT_GT(Pixels_Not(application.canvas, 248, 1, 8, 8, backdrop), 0);
    EXPECT_EQ(Pixels_Not(application.canvas, 0, 10, 256, 214, backdrop), 0);
    EXPECT_EQ(Pixels_Not(application.canvas, 0, 0, 256, 1, backdrop), 0);

    // Bytes that are not text print as whatever the library makes of them.
    std::string bytes;
    for (int c = 1; c < 256; c++)
        bytes += static_cast<char>(c);
    list.strings[1] = bytes;
    list.strings[2] = "\xf0\x9f";
    list.number_of_strings = 3;
    list.Print(application);
    EXPECT_EQ(Pixels_Not(application.canvas, 0, 31, 256, 193, backdrop), 0);
}

// ---------------------------------------------------------------------------
// Collision shapes and the movie with Windows line ends, words that are not
// numbers and numbers too big for an int.

namespace
{
class Shape_Holder : public Character
{
public:
    void Process(Application&, Level&) override
    {
    }
};
} // namespace

TEST(ShapeFiles, WindowsLineEndsAndBadWordsRead)
{
    Temporary_Directory directory;
    Shape_Holder windows;
    windows.Load_Bump_Maps(directory.Write("windows.map", "3 0 5 2\r\n1 0 4 5\r\n0 2 1 4\r\n").c_str());
    ASSERT_EQ(windows.bump_maps_loaded, 3);
    EXPECT_EQ(windows.bump_maps[2].bottom, 4);
    Platform platform;
    platform.Load_Bump_Map(directory.Path("windows.map").c_str());
    EXPECT_TRUE(platform.has_bump_map);
    EXPECT_EQ(platform.bump_map.left, 3);

    // Reading ends at a number too big for an int; the whole shapes before
    // it are kept.
    Shape_Holder big;
    big.Load_Bump_Maps(directory.Write("big.map", "1 1 4 5\r\n0 2 12345678901234567890 4\r\n0 0 1 1\r\n").c_str());
    EXPECT_EQ(big.bump_maps_loaded, 1);
    Shape_Holder edges;
    edges.Load_Bump_Maps(directory.Write("edges.map", "2147483647 -2147483648 2147483647 -2147483648\n").c_str());
    ASSERT_EQ(edges.bump_maps_loaded, 1);
    EXPECT_EQ(edges.bump_maps[0].bottom, INT_MIN);
    Platform big_platform;
    big_platform.Load_Bump_Map(directory.Write("big_platform.map", "0 0 2147483648 1\n").c_str());
    EXPECT_FALSE(big_platform.has_bump_map);

    // A file of a million shapes reads its first fifteen.
    {
        std::ofstream file(directory.Path("many.map"));
        for (int i = 0; i < 1000000; i++)
            file << i << " 0 " << i + 1 << " 1\r\n";
    }
    Shape_Holder many;
    many.Load_Bump_Maps(directory.Path("many.map").c_str());
    EXPECT_EQ(many.bump_maps_loaded, Character::MAX_BUMP_MAPS);
    EXPECT_EQ(many.bump_maps[14].left, 14);
}

namespace
{
class MovieFiles : public testing::Test
{
protected:
    Application application;
    Temporary_Directory directory;

    void Load(const std::string& text)
    {
        application.movie_level = 0;
        application.signal_buffer_length = 0;
        application.Load_Movie(directory.Write("movie.dat", text).c_str());
    }

    std::vector<int> Words()
    {
        return std::vector<int>(application.signal_buffer, application.signal_buffer + application.signal_buffer_length);
    }
};
} // namespace

TEST_F(MovieFiles, WindowsLineEndsReadAndAreWrittenBackAsLineFeeds)
{
    Load("3\r\n0\r\n8\r\n4\r\n");
    EXPECT_EQ(application.movie_level, 3);
    EXPECT_EQ(Words(), (std::vector<int>{0, 8, 4}));
    ASSERT_TRUE(application.Save_Movie(directory.Path("saved.dat").c_str()));
    EXPECT_EQ(Read_File(directory.Path("saved.dat")), "3\n0\n8\n4\n");
}

TEST_F(MovieFiles, NumbersTooBigForAnIntEndTheReading)
{
    Load("2\n8\n12345678901234567890\n8\n");
    EXPECT_EQ(application.movie_level, 2);
    EXPECT_EQ(Words(), std::vector<int>{8});
    Load("2\n8\n-2147483649\n8\n");
    EXPECT_EQ(Words(), std::vector<int>{8});
    // So does a word that is not a number.
    Load("2\r\n8\r\nright\r\n8\r\n");
    EXPECT_EQ(Words(), std::vector<int>{8});
    // A level number too big is no level number: nothing is read.
    application.movie_level = 6;
    application.signal_buffer_length = 0;
    application.Load_Movie(directory.Write("big.dat", "99999999999\n8\n").c_str());
    EXPECT_EQ(application.movie_level, 6);
    EXPECT_EQ(application.signal_buffer_length, 0);
    // The edges of the numbers are words like any other.
    Load("2147483647\n2147483647\n-2147483648\n");
    EXPECT_EQ(application.movie_level, INT_MAX);
    EXPECT_EQ(application.Movie_Level_Index(), 0);
    EXPECT_EQ(Words(), (std::vector<int>{INT_MAX, INT_MIN}));
}

TEST_F(MovieFiles, AHugeMovieKeepsItsFirstWordsOnly)
{
    {
        std::ofstream file(directory.Path("huge.dat"));
        file << "1\r\n";
        for (int i = 0; i < 1000000; i++)
            file << (i % 64) << "\r\n";
    }
    application.Load_Movie(directory.Path("huge.dat").c_str());
    ASSERT_EQ(application.signal_buffer_length, Application::MAX_SIGNAL_BUFFER_LENGTH);
    EXPECT_EQ(application.signal_buffer[Application::MAX_SIGNAL_BUFFER_LENGTH - 1],
              (Application::MAX_SIGNAL_BUFFER_LENGTH - 1) % 64);
}

// ---------------------------------------------------------------------------
// Huge map files load in bounded time into the tables.

TEST(HugeFiles, AMapOfHalfAMillionEntriesKeepsWhatTheTablesHold)
{
    Temporary_Directory directory;
    {
        std::ofstream file(directory.Path("huge.map"));
        file << "1\r\n2\r\n2 32 136\r\n";
        for (int i = 0; i < 250000; i++)
            file << Level::FLY << ' ' << (i % 800) * 16 << " 40\r\n";
        file << "-1\r\n";
        for (int i = 0; i < 250000; i++)
            file << Level::GROUND << ' ' << (i % 400) * 32 << " 192\r\n";
        file << "-1\r\n";
        for (int i = 0; i < Level::NUMBER_OF_POINTERS; i++)
            file << i << "\r\n";
    }
    Level played;
    played.Load(directory.Path("huge.map").c_str());
    EXPECT_EQ(played.number_of_characters, Level::MAX_CHARACTERS);
    EXPECT_EQ(played.number_of_platforms, Level::MAX_PLATFORMS);
    EXPECT_EQ(played.main_character, 0);
    EXPECT_EQ(played.pointers[49], 49);
    EXPECT_EQ(played.screens_wide, 50);

    Level edited;
    edited.Load_For_Editing(directory.Path("huge.map").c_str());
    EXPECT_EQ(edited.number_of_characters, Level::MAX_CHARACTERS);
    EXPECT_EQ(edited.number_of_platforms, Level::MAX_PLATFORMS);
    EXPECT_EQ(edited.pointers[49], 49);
}

// ---------------------------------------------------------------------------
// Safe saving: a writer killed at any moment leaves the old file or the new
// one, never a mix; a save that cannot be written says nothing, changes
// nothing and keeps the old file.

namespace
{
// How many kills the kill tests make; BLUEJAY_KILL_ROUNDS asks for more.
// Under AddressSanitizer a fork costs tens of milliseconds, so that build
// makes fewer.
int Kill_Rounds()
{
    const char* rounds = std::getenv("BLUEJAY_KILL_ROUNDS");
    int value = rounds != nullptr ? std::atoi(rounds) : 0;
#if defined(__SANITIZE_ADDRESS__)
    const int usual = 50;
#else
    const int usual = 200;
#endif
    return value > 0 ? value : usual;
}

// Forks a writer that saves the two contents in turn for ever, kills it
// after a random short while, and checks the file each time. save(0) and
// save(1) write the two contents to path.
template <typename Save> void Kill_Writers(const std::string& path, const std::string& first,
                                           const std::string& second, Save save, int& cut_mid_save)
{
    ASSERT_NE(first, second);
    ASSERT_TRUE(save(0));
    ASSERT_EQ(Read_File(path), first);

    // One save takes this long; the kills fall anywhere in about two.
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 10; i++)
        save(i % 2);
    long save_microseconds =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count() / 10;
    std::mt19937 random(12345);
    std::uniform_int_distribution<long> delay(0, 2 * save_microseconds + 200);

    cut_mid_save = 0;
    const int rounds = Kill_Rounds();
    for (int round = 0; round < rounds; round++)
    {
        std::fflush(nullptr);
        pid_t writer = fork();
        ASSERT_GE(writer, 0);
        if (writer == 0)
        {
            for (int turn = round;; turn++)
                save(turn % 2);
        }
        usleep(static_cast<useconds_t>(delay(random)));
        kill(writer, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(writer, &status, 0), writer);
        ASSERT_TRUE(WIFSIGNALED(status));
        // The next start clears what the killed writer left.
        if (Temporaries_Beside(path) > 0)
            cut_mid_save++;
        Safe_File::Remove_Stale_Temporaries(std::filesystem::path(path).parent_path().string());
        ASSERT_EQ(Temporaries_Beside(path), 0);
        std::string now = Read_File(path);
        ASSERT_TRUE(now == first || now == second)
            << "round " << round << ": " << now.size() << " bytes, neither content";
    }
    std::printf("%d kills, %d of them while a temporary file was being written (one save: %ld us)\n", rounds,
                cut_mid_save, save_microseconds);
}

// A map of every character and platform the tables hold.
void Fill_Level(Level& level, int seed)
{
    level.background = seed;
    level.music = seed;
    level.number_of_characters = Level::MAX_CHARACTERS;
    level.number_of_platforms = Level::MAX_PLATFORMS;
    for (int i = 0; i < Level::MAX_CHARACTERS; i++)
        *level.character_records[i] = {16 * i + seed, -16 * i - seed, Level::FLY + seed};
    for (int i = 0; i < Level::MAX_PLATFORMS; i++)
        *level.platform_records[i] = {32 * i + seed, 192 - seed, Level::GROUND + seed};
    for (int i = 0; i < Level::NUMBER_OF_POINTERS; i++)
        level.pointers[i] = seed * 100 + i;
}
} // namespace

TEST(SafeSaving, KillingTheMapWriterAtAnyMomentLeavesOneWholeMap)
{
    Temporary_Directory directory;
    const std::string path = directory.Path("level_0.map");
    Level levels[2];
    Fill_Level(levels[0], 1);
    Fill_Level(levels[1], 2);
    ASSERT_TRUE(levels[1].Save(path.c_str()));
    const std::string second = Read_File(path);
    ASSERT_TRUE(levels[0].Save(path.c_str()));
    const std::string first = Read_File(path);
    EXPECT_GT(first.size(), 100000u);
    int cut = 0;
    Kill_Writers(path, first, second, [&](int which) { return levels[which].Save(path.c_str()); }, cut);
    // Most kills should land in the middle of a save, or the test proves
    // little.
    EXPECT_GT(cut, Kill_Rounds() / 10);
}

TEST(SafeSaving, KillingTheMovieWriterAtAnyMomentLeavesOneWholeMovie)
{
    Temporary_Directory directory;
    const std::string path = directory.Path("movie.dat");
    Application application;
    application.signal_buffer_length = Application::MAX_SIGNAL_BUFFER_LENGTH;
    auto save = [&](int which) {
        application.movie_level = which;
        for (int i = 0; i < Application::MAX_SIGNAL_BUFFER_LENGTH; i++)
            application.signal_buffer[i] = which == 0 ? i % 32 : 1000000 + i;
        return application.Save_Movie(path.c_str());
    };
    ASSERT_TRUE(save(1));
    const std::string second = Read_File(path);
    ASSERT_TRUE(save(0));
    const std::string first = Read_File(path);
    int cut = 0;
    Kill_Writers(path, first, second, save, cut);
    EXPECT_GT(cut, Kill_Rounds() / 10);
}

// Runs a save while no file may grow past the given size, as on a full disk.
static constexpr rlim_t FULL_DISK_BYTES = 4;
TEST(SafeSaving, AMapSaveThatCannotBeWrittenKeepsTheOldFile)
{
    Temporary_Directory directory;
    const std::string path = directory.Path("level_0.map");
    Level old_level, new_level;
    Fill_Level(old_level, 1);
    Fill_Level(new_level, 2);
    ASSERT_TRUE(old_level.Save(path.c_str()));
    const std::string old_text = Read_File(path);

    // A directory at the old temporary name is no obstacle any more.
    std::filesystem::create_directory(path + ".tmp");
    EXPECT_TRUE(old_level.Save(path.c_str()));
    std::filesystem::remove(path + ".tmp");

    // A full disk: no file may grow past a few bytes.
    EXPECT_FALSE(With_File_Size_Limit(FULL_DISK_BYTES, [&] { return new_level.Save(path.c_str()); }));
    EXPECT_EQ(Read_File(path), old_text);
    EXPECT_EQ(Temporaries_Beside(path), 0);

    // A folder that is not there.
    EXPECT_FALSE(new_level.Save(directory.Path("gone/level_0.map").c_str()));
    EXPECT_FALSE(std::filesystem::exists(directory.Path("gone")));
    // A folder that cannot take new files: /proc.
    EXPECT_FALSE(new_level.Save("/proc/bluejay_level.map"));
    EXPECT_EQ(Read_File(path), old_text);
}

TEST(SafeSaving, AMovieSaveThatCannotBeWrittenKeepsTheOldFile)
{
    Temporary_Directory directory;
    Application application;
    const std::string path = directory.Write("movie.dat", "4\n8\n0\n");
    application.movie_level = 9;
    application.signal_buffer_length = 2;
    EXPECT_FALSE(With_File_Size_Limit(FULL_DISK_BYTES, [&] { return application.Save_Movie(path.c_str()); }));
    EXPECT_EQ(Read_File(path), "4\n8\n0\n");
    EXPECT_FALSE(application.Save_Movie("/proc/bluejay_movie.dat"));
}

TEST_F(RobustGame, TheEditorSaysAFailedSaveUntilOneWorks)
{
    const std::string text = Join(Map_Words(1, 2, {{Level::BLUEJAY, 32, 168}}, Ground(0, 224), Pointers(3)));
    std::filesystem::create_directories(directory.Path("data/levels"));
    const std::string path = directory.Write("data/levels/level_0.map", text);
    Working_Directory scratch(directory.Path(""));
    application.Start_Editor();
    // A change that is not yet saved.
    application.levels[0]->pointers[0] = 7;
    // The red line sits below the level and mode lines.
    const int red = makecol(255, 0, 0);
    const int notice_y = 2 * text_height(font) + 6;
    auto red_in_notice = [&] {
        int count = 0;
        for (int y = notice_y; y < notice_y + text_height(font); y++)
            for (int x = 0; x < Application::CANVAS_WIDTH; x++)
                count += getpixel(application.canvas, x, y) == red;
        return count;
    };

    Application::Press_Keys_For_Signals(Application::SIGNAL_SAVE);
    With_File_Size_Limit(FULL_DISK_BYTES, [&] { return application.Run_Editor_Tick(), true; });
    EXPECT_EQ(Read_File(path), text);
    EXPECT_EQ(application.levels[0]->pointers[0], 7);
    EXPECT_EQ(application.save_failures[0], "File too large");
    EXPECT_GT(red_in_notice(), 20);
    EXPECT_FALSE(application.quit);

    // The same tick with a save that works clears the line.
    application.Run_Editor_Tick();
    Release_Keys();
    EXPECT_EQ(application.save_failures[0], "");
    EXPECT_EQ(red_in_notice(), 0);
    Level saved;
    saved.Load_For_Editing(path.c_str());
    EXPECT_EQ(saved.pointers[0], 7);
}

TEST_F(RobustGame, LeavingTheGameWhenTheMovieCannotBeWrittenShowsNothingElse)
{
    std::filesystem::create_directories(directory.Path("data/movie"));
    const std::string path = directory.Write("data/movie/movie.dat", "0\n8\n");
    Working_Directory scratch(directory.Path(""));
    application.movie_level = 3;
    application.signal_buffer_length = 1;
    application.signal_buffer[0] = 16;

    With_File_Size_Limit(FULL_DISK_BYTES, [&] { return application.Leave_Game(), true; });
    EXPECT_EQ(Read_File(path), "0\n8\n");
    std::vector<int> failed = Pixels(application.canvas);

    application.Leave_Game();
    EXPECT_EQ(Read_File(path), "3\n16\n");
    EXPECT_TRUE(Pixels(application.canvas) == failed);
}
