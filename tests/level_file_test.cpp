// Levels on disk and in memory: a new level, loading a map for play, the
// size of a level in screens, loading that survives any file, restarting a
// level, and the editor's form of a map with its saving.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "application.h"
#include "level.h"
#include "platform.h"
#include "test_support.h"

namespace
{
struct Entry
{
    int type;
    int x;
    int y;
};

// Integers separated by one space.
std::string Numbers(const std::vector<int>& values)
{
    std::string text;
    for (int value : values)
        text += std::to_string(value) + " ";
    return text;
}

// Integers one per line, the way the editor writes them.
std::string Lines(const std::vector<int>& values)
{
    std::string text;
    for (int value : values)
        text += std::to_string(value) + "\n";
    return text;
}

// The fifty pipe destinations first, first + 1, ..., first + 49.
std::vector<int> Pointers_From(int first)
{
    std::vector<int> pointers;
    for (int i = 0; i < Level::NUMBER_OF_POINTERS; i++)
        pointers.push_back(first + i);
    return pointers;
}

std::vector<int> Zero_Pointers()
{
    return std::vector<int>(Level::NUMBER_OF_POINTERS, 0);
}

// The integers of a whole map: background, music, both lists with their
// terminators, the pointers.
std::vector<int> Map(int background, int music, const std::vector<Entry>& characters,
                     const std::vector<Entry>& platforms, const std::vector<int>& pointers)
{
    std::vector<int> values = {background, music};
    for (const Entry& entry : characters)
        values.insert(values.end(), {entry.type, entry.x, entry.y});
    values.push_back(-1);
    for (const Entry& entry : platforms)
        values.insert(values.end(), {entry.type, entry.x, entry.y});
    values.push_back(-1);
    values.insert(values.end(), pointers.begin(), pointers.end());
    return values;
}

// Grass, the first tune, the hero at (32, 160) standing on one ground tile.
const std::string ONE_SCREEN =
    "0 0\n2 32 160 -1\n1005 0 192 -1\n" + Numbers(Zero_Pointers());

bool Read_Shape(const std::string& path, Rectangle& shape)
{
    std::ifstream file(path);
    return static_cast<bool>(file >> shape.left >> shape.top >> shape.right >> shape.bottom);
}

std::vector<std::string> Directory_Entries(const std::string& path)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void Expect_Platform(const Level& level, int index, int type, int x, int y)
{
    ASSERT_LT(index, level.number_of_platforms);
    EXPECT_EQ(level.platforms[index]->type, type) << "platform " << index;
    EXPECT_EQ(level.platforms[index]->x, x) << "platform " << index;
    EXPECT_EQ(level.platforms[index]->y, y) << "platform " << index;
}

void Expect_Record(const Map_Record& record, int type, int x, int y)
{
    EXPECT_EQ(record.type, type);
    EXPECT_EQ(record.x, x);
    EXPECT_EQ(record.y, y);
}

void Expect_Pointers(const Level& level, const std::vector<int>& expected)
{
    for (int i = 0; i < Level::NUMBER_OF_POINTERS; i++)
        EXPECT_EQ(level.pointers[i], expected[i]) << "pointer " << i;
}

// Whatever the character factory makes of a map's entries, the characters in
// use are real objects, the slots after them are empty and the hero index
// names one of them or none.
void Expect_Character_Table_Consistent(const Level& level, int at_most)
{
    ASSERT_GE(level.number_of_characters, 0);
    ASSERT_LE(level.number_of_characters, at_most);
    for (int i = 0; i < level.number_of_characters; i++)
        EXPECT_NE(level.characters[i], nullptr) << "character " << i;
    for (int i = level.number_of_characters; i < Level::MAX_CHARACTERS; i++)
        ASSERT_EQ(level.characters[i], nullptr) << "character " << i;
    if (level.main_character != Level::NO_MAIN_CHARACTER)
    {
        ASSERT_GE(level.main_character, 0);
        ASSERT_LT(level.main_character, level.number_of_characters);
    }
}

class Level_File_Fixture : public testing::Test
{
protected:
    Temporary_Directory directory;
    Level level;

    std::string Write(const std::string& text, const std::string& name = "level.map")
    {
        return directory.Write(name, text);
    }

    void Load(const std::string& text)
    {
        level.Load(Write(text).c_str());
    }
};

// A creature that records what the level asks of it.
class Reset_Recorder : public Test_Character
{
public:
    int resets = 0;
    bool last_full_reset = false;

    explicit Reset_Recorder(int type_code = Level::BLACK_BIRD) : Test_Character(type_code)
    {
    }

    void Reset(bool full_reset) override
    {
        resets++;
        last_full_reset = full_reset;
        Character::Reset(full_reset);
    }
};
} // namespace

// ---------------------------------------------------------------------------
// A level before anything is loaded into it.

TEST(NewLevelTest, IsEmptyWithGrassAndTheFirstTune)
{
    Level level;
    EXPECT_EQ(level.number_of_platforms, 0);
    EXPECT_EQ(level.number_of_characters, 0);
    EXPECT_EQ(level.background, 0);
    EXPECT_EQ(level.background, Application::GRASS_BACKGROUND_BM);
    EXPECT_EQ(level.music, 0);
    EXPECT_EQ(level.music, Application::ATHLETIC_THEME_MT);
    for (int i = 0; i < Level::NUMBER_OF_POINTERS; i++)
        EXPECT_EQ(level.pointers[i], 0) << "pointer " << i;
    EXPECT_EQ(level.scroll_x, 0);
    EXPECT_EQ(level.scroll_y, 0);
    EXPECT_EQ(level.signal, 0);
    EXPECT_TRUE(level.starting);
    EXPECT_EQ(level.background_x, 0);
    EXPECT_FALSE(level.background_scrolling);
    EXPECT_FALSE(level.showing_message);
    EXPECT_FALSE(level.message_shown);
    EXPECT_EQ(level.ending_timer, 0);
}

TEST(NewLevelTest, EveryPlatformAndRecordExistsOnceReachedAndNoCharacterDoes)
{
    Level level;
    // Nothing is made before the level gets content.
    EXPECT_FALSE(level.platforms.Is_Made());
    EXPECT_FALSE(level.characters.Is_Made());
    EXPECT_FALSE(level.platform_records.Is_Made());
    EXPECT_FALSE(level.character_records.Is_Made());
    EXPECT_EQ(static_cast<const Level&>(level).platforms[0], nullptr);
    std::set<const void*> distinct;
    for (int i = 0; i < Level::MAX_PLATFORMS; i++)
    {
        ASSERT_NE(level.platforms[i], nullptr) << "platform " << i;
        ASSERT_FALSE(level.platforms[i]->taken);
        distinct.insert(level.platforms[i]);
    }
    for (int i = 0; i < Level::MAX_PLATFORMS; i++)
    {
        ASSERT_NE(level.platform_records[i], nullptr) << "platform record " << i;
        Expect_Record(*level.platform_records[i], 0, 0, 0);
        distinct.insert(level.platform_records[i]);
    }
    for (int i = 0; i < Level::MAX_CHARACTERS; i++)
    {
        ASSERT_EQ(level.characters[i], nullptr) << "character " << i;
        ASSERT_NE(level.character_records[i], nullptr) << "character record " << i;
        Expect_Record(*level.character_records[i], 0, 0, 0);
        distinct.insert(level.character_records[i]);
    }
    // 5000 platforms and 7000 records, none shared.
    EXPECT_EQ(distinct.size(), 12000u);
    EXPECT_EQ(level.platforms.Limit(), Level::MAX_PLATFORMS);
    EXPECT_EQ(level.characters.Limit(), Level::MAX_CHARACTERS);
}

TEST(NewLevelTest, AnEntryStaysWhereItIsAsTheTableGrows)
{
    Level level;
    Platform* first = level.platforms[0];
    first->x = 77;
    Platform* far = level.platforms[Level::MAX_PLATFORMS - 1];
    EXPECT_EQ(level.platforms[0], first);
    EXPECT_EQ(level.platforms[0]->x, 77);
    EXPECT_EQ(level.platforms[Level::MAX_PLATFORMS - 1], far);
    // Two blocks of places and their entries, and the list of blocks; the
    // blocks between are not made.
    const long blocks = (Level::MAX_PLATFORMS + Platform_Table::BLOCK_ENTRIES - 1) / Platform_Table::BLOCK_ENTRIES;
    EXPECT_EQ(level.platforms.Bytes_Used(),
              static_cast<long>(blocks * sizeof(Platform**) +
                                2 * Platform_Table::BLOCK_ENTRIES * (sizeof(Platform*) + sizeof(Platform))));
}

// ---------------------------------------------------------------------------
// Loading a map for play.

class LevelLoadTest : public Level_File_Fixture
{
};

TEST_F(LevelLoadTest, OneScreenLevelWithAHeroOnTheGround)
{
    Load(ONE_SCREEN);
    EXPECT_EQ(level.background, Application::GRASS_BACKGROUND_BM);
    EXPECT_EQ(level.music, 0);
    ASSERT_EQ(level.number_of_platforms, 1);
    Expect_Platform(level, 0, Level::GROUND, 0, 192);
    const Platform& ground = *level.platforms[0];
    EXPECT_EQ(ground.start_x, 0);
    EXPECT_EQ(ground.start_y, 192);
    EXPECT_EQ(ground.bitmap, Application::GROUND_BM);
    EXPECT_EQ(ground.kind, Platform::PLATFORM);
    EXPECT_FALSE(ground.has_bump_map);
    Expect_Pointers(level, Zero_Pointers());
    EXPECT_EQ(level.screens_wide, 1);
    EXPECT_EQ(level.screens_high, 1);

    // The hero comes from the character factory; whether or not it makes
    // one, the platform list after it was read.
    Expect_Character_Table_Consistent(level, 1);
    if (level.number_of_characters == 1)
    {
        const Character& hero = *level.characters[0];
        EXPECT_EQ(hero.type, Level::BLUEJAY);
        EXPECT_EQ(hero.x, 32);
        EXPECT_EQ(hero.y, 160);
        EXPECT_EQ(hero.start_x, 32);
        EXPECT_EQ(hero.start_y, 160);
        EXPECT_EQ(level.main_character, 0);
    }
}

TEST_F(LevelLoadTest, ReadsBackgroundMusicPlatformsAndPointersInOrder)
{
    Load(Numbers(Map(Application::DARK_BACKGROUND_BM, Application::GHOST_MT, {},
                     {{Level::GROUND, 0, 192}, {Level::PIPE, 64, 160}, {Level::LEDGE, 128, -40}},
                     Pointers_From(7))));
    EXPECT_EQ(level.background, Application::DARK_BACKGROUND_BM);
    EXPECT_EQ(level.music, Application::GHOST_MT);
    ASSERT_EQ(level.number_of_platforms, 3);
    Expect_Platform(level, 0, Level::GROUND, 0, 192);
    Expect_Platform(level, 1, Level::PIPE, 64, 160);
    Expect_Platform(level, 2, Level::LEDGE, 128, -40);
    EXPECT_EQ(level.platforms[2]->start_y, -40);
    EXPECT_EQ(level.platforms[2]->bitmap, Application::LEDGE_BM);
    EXPECT_EQ(level.platforms[3]->type, 0); // the next one is untouched
    Expect_Pointers(level, Pointers_From(7));
}

TEST_F(LevelLoadTest, LineBreaksCarryNoMeaning)
{
    const std::vector<int> map =
        Map(Application::FOREST_BACKGROUND_BM, Application::SEWERS_MT, {{Level::BLUEJAY, 32, -64}},
            {{Level::GROUND, 0, 192}, {Level::BROWN_BLOCK, 300, -16}, {Level::PIPE, 96, 160}},
            Pointers_From(3));
    Load(Numbers(map));
    Level per_line;
    per_line.Load(Write(Lines(map), "per_line.map").c_str());
    std::string ragged = "\t" + Numbers(map);
    std::replace(ragged.begin(), ragged.end(), ' ', '\n');
    ragged.insert(ragged.find('\n', 8) + 1, "  \r\n\t ");
    Level ragged_level;
    ragged_level.Load(Write(ragged, "ragged.map").c_str());

    for (const Level* other : {&per_line, &ragged_level})
    {
        EXPECT_EQ(other->background, level.background);
        EXPECT_EQ(other->music, level.music);
        EXPECT_EQ(other->number_of_characters, level.number_of_characters);
        ASSERT_EQ(other->number_of_platforms, 3);
        ASSERT_EQ(level.number_of_platforms, 3);
        for (int i = 0; i < 3; i++)
            Expect_Platform(*other, i, level.platforms[i]->type, level.platforms[i]->x,
                            level.platforms[i]->y);
        Expect_Pointers(*other, Pointers_From(3));
        EXPECT_EQ(other->screens_wide, 2);
        EXPECT_EQ(other->screens_high, 2);
    }
    Expect_Pointers(level, Pointers_From(3));
}

TEST_F(LevelLoadTest, CherriesAndWiresTakeTheirShapesFromTheirFiles)
{
    Rectangle cherry_shape, wire_shape;
    ASSERT_TRUE(Read_Shape("data/bump_maps/cherry.map", cherry_shape))
        << "data/bump_maps/cherry.map is missing or unreadable";
    ASSERT_TRUE(Read_Shape("data/bump_maps/wire.map", wire_shape))
        << "data/bump_maps/wire.map is missing or unreadable";

    Load(Numbers(Map(0, 0, {},
                     {{Level::CHERRY, 16, 16},
                      {Level::YELLOW_CHERRY, 32, 16},
                      {Level::WIRE, 64, 32},
                      {Level::GROUND, 0, 192},
                      {Level::BROWN_BLOCK, 96, 96}},
                     Zero_Pointers())));
    ASSERT_EQ(level.number_of_platforms, 5);
    for (int i : {0, 1})
    {
        const Platform& cherry = *level.platforms[i];
        EXPECT_TRUE(cherry.has_bump_map) << "platform " << i;
        EXPECT_EQ(cherry.bump_map.left, cherry_shape.left);
        EXPECT_EQ(cherry.bump_map.top, cherry_shape.top);
        EXPECT_EQ(cherry.bump_map.right, cherry_shape.right);
        EXPECT_EQ(cherry.bump_map.bottom, cherry_shape.bottom);
    }
    const Platform& wire = *level.platforms[2];
    EXPECT_TRUE(wire.has_bump_map);
    EXPECT_EQ(wire.bump_map.left, wire_shape.left);
    EXPECT_EQ(wire.bump_map.top, wire_shape.top);
    EXPECT_EQ(wire.bump_map.right, wire_shape.right);
    EXPECT_EQ(wire.bump_map.bottom, wire_shape.bottom);

    // Everything else collides with the whole of its picture.
    EXPECT_FALSE(level.platforms[3]->has_bump_map);
    EXPECT_FALSE(level.platforms[4]->has_bump_map);
}

// ---------------------------------------------------------------------------
// The size of a level in screens comes from its platforms alone.

class LevelSizeTest : public Level_File_Fixture
{
protected:
    void Load_Platforms(const std::vector<Entry>& platforms)
    {
        Load(Numbers(Map(0, 0, {}, platforms, Zero_Pointers())));
    }
};

TEST_F(LevelSizeTest, WidthFromTheRightmostPlatform)
{
    const struct
    {
        int x, screens_wide;
    } cases[] = {{0, 1}, {255, 1}, {256, 2}, {300, 2}, {511, 2}, {512, 3}, {-80, 1}, {12799, 50}};
    for (const auto& test_case : cases)
    {
        Level fresh;
        fresh.Load(Write(Numbers(Map(0, 0, {}, {{Level::GROUND, test_case.x, 192}}, Zero_Pointers())))
                       .c_str());
        EXPECT_EQ(fresh.screens_wide, test_case.screens_wide) << "x = " << test_case.x;
        EXPECT_EQ(fresh.screens_high, 1) << "x = " << test_case.x;
    }
}

TEST_F(LevelSizeTest, HeightFromTheHighestPlatform)
{
    const struct
    {
        int y, screens_high;
    } cases[] = {{0, 1},     {192, 1},    {400, 1},    {-1, 2},     {-224, 2},
                 {-225, 3},  {-448, 3},   {-449, 4},   {-10976, 50}};
    for (const auto& test_case : cases)
    {
        Level fresh;
        fresh.Load(Write(Numbers(Map(0, 0, {}, {{Level::LEDGE, 0, test_case.y}}, Zero_Pointers())))
                       .c_str());
        EXPECT_EQ(fresh.screens_high, test_case.screens_high) << "y = " << test_case.y;
        EXPECT_EQ(fresh.screens_wide, 1) << "y = " << test_case.y;
    }
}

TEST_F(LevelSizeTest, EveryPlatformCountsNotJustTheLast)
{
    Load_Platforms({{Level::GROUND, 600, 192}, {Level::LEDGE, 0, -300}, {Level::GROUND, 32, 192}});
    EXPECT_EQ(level.screens_wide, 3);
    EXPECT_EQ(level.screens_high, 3);
}

TEST_F(LevelSizeTest, NoPlatformsIsOneScreen)
{
    level.screens_wide = 9;
    level.screens_high = 9;
    Load_Platforms({});
    EXPECT_EQ(level.screens_wide, 1);
    EXPECT_EQ(level.screens_high, 1);
}

TEST_F(LevelSizeTest, CharactersDoNotWidenOrRaiseTheLevel)
{
    Load(Numbers(Map(0, 0, {{Level::BLUEJAY, 3000, -900}}, {{Level::GROUND, 0, 192}},
                     Zero_Pointers())));
    EXPECT_EQ(level.screens_wide, 1);
    EXPECT_EQ(level.screens_high, 1);
    ASSERT_EQ(level.number_of_platforms, 1);
}

// ---------------------------------------------------------------------------
// Loading ends, and stays inside the level's tables, on any file.

class LevelLoadRobustnessTest : public Level_File_Fixture
{
};

TEST_F(LevelLoadRobustnessTest, UnknownCharacterCodesAreDroppedAndTheRestLoads)
{
    // 0, 99, -7 and a platform code name no character.
    Load(Numbers(Map(1, 2, {{0, 5, 5}, {99, 10, 10}, {-7, 1, 1}, {Level::BROWN_BLOCK, 3, 3}},
                     {{Level::GROUND, 0, 192}, {Level::PIPE, 64, 160}}, Pointers_From(1))));
    EXPECT_EQ(level.number_of_characters, 0);
    Expect_Character_Table_Consistent(level, 0);
    EXPECT_EQ(level.main_character, Level::NO_MAIN_CHARACTER);
    EXPECT_EQ(level.background, 1);
    EXPECT_EQ(level.music, 2);
    ASSERT_EQ(level.number_of_platforms, 2);
    Expect_Platform(level, 0, Level::GROUND, 0, 192);
    Expect_Platform(level, 1, Level::PIPE, 64, 160);
    Expect_Pointers(level, Pointers_From(1));
}

TEST_F(LevelLoadRobustnessTest, UnknownPlatformCodesAreDroppedAndTheRestLoads)
{
    // 999, 0, a character code and a code just past the last platform name
    // no platform; far away as they are, they must not size the level.
    Load(Numbers(Map(0, 0, {},
                     {{Level::GROUND, 0, 192},
                      {999, 900, -500},
                      {0, 1200, -900},
                      {Level::BLACK_BIRD, 700, 100},
                      {Level::TALL_VINE + 1, 2000, 0},
                      {Level::PIPE, 64, 160}},
                     Pointers_From(1))));
    ASSERT_EQ(level.number_of_platforms, 2);
    Expect_Platform(level, 0, Level::GROUND, 0, 192);
    Expect_Platform(level, 1, Level::PIPE, 64, 160);
    EXPECT_EQ(level.screens_wide, 1);
    EXPECT_EQ(level.screens_high, 1);
    Expect_Pointers(level, Pointers_From(1));
}

TEST_F(LevelLoadRobustnessTest, FileEndingInsideTheCharacterList)
{
    Load("4 2  2 32");
    EXPECT_EQ(level.background, 4);
    EXPECT_EQ(level.music, 2);
    Expect_Character_Table_Consistent(level, 1);
    EXPECT_EQ(level.number_of_platforms, 0);
    Expect_Pointers(level, Zero_Pointers());
    EXPECT_EQ(level.screens_wide, 1);
    EXPECT_EQ(level.screens_high, 1);
}

TEST_F(LevelLoadRobustnessTest, FileEndingInsideThePlatformListKeepsTheWholeEntries)
{
    Load("0 0 -1  1005 0 192  1000 300 -16");
    ASSERT_EQ(level.number_of_platforms, 2);
    Expect_Platform(level, 0, Level::GROUND, 0, 192);
    Expect_Platform(level, 1, Level::BROWN_BLOCK, 300, -16);
    Expect_Pointers(level, Zero_Pointers());
    EXPECT_EQ(level.screens_wide, 2);
    EXPECT_EQ(level.screens_high, 2);

    // An entry cut off after its x.
    Level cut;
    cut.Load(Write("0 0 -1  1005 0 192  1000 300", "cut.map").c_str());
    ASSERT_GE(cut.number_of_platforms, 1);
    ASSERT_LE(cut.number_of_platforms, 2);
    Expect_Platform(cut, 0, Level::GROUND, 0, 192);
    Expect_Pointers(cut, Zero_Pointers());
}

TEST_F(LevelLoadRobustnessTest, AtMostFiveThousandPlatformsAreKept)
{
    std::vector<Entry> platforms;
    for (int i = 0; i < Level::MAX_PLATFORMS; i++)
        platforms.push_back({Level::BROWN_BLOCK + i % 3, i, -(i % 7)});
    // Three more, far to the right and high up: dropped, so they do not
    // size the level either.
    for (int i = 0; i < 3; i++)
        platforms.push_back({Level::GROUND, 60000 + i, -5000});
    Load(Numbers(Map(0, 0, {}, platforms, Pointers_From(100))));

    ASSERT_EQ(level.number_of_platforms, Level::MAX_PLATFORMS);
    Expect_Platform(level, 0, Level::BROWN_BLOCK, 0, 0);
    Expect_Platform(level, 2500, Level::BROWN_BLOCK + 2500 % 3, 2500, -(2500 % 7));
    Expect_Platform(level, 4999, Level::BROWN_BLOCK + 4999 % 3, 4999, -(4999 % 7));
    EXPECT_EQ(level.screens_wide, 4999 / 256 + 1);
    EXPECT_EQ(level.screens_high, 2);
    // The list's end and the pointers after it are still found.
    Expect_Pointers(level, Pointers_From(100));
}

TEST_F(LevelLoadRobustnessTest, FileEndingInsideThePointersLeavesTheRestAtZero)
{
    Load("0 0 -1 1005 0 192 -1 5 6 7");
    EXPECT_EQ(level.pointers[0], 5);
    EXPECT_EQ(level.pointers[1], 6);
    EXPECT_EQ(level.pointers[2], 7);
    for (int i = 3; i < Level::NUMBER_OF_POINTERS; i++)
        EXPECT_EQ(level.pointers[i], 0) << "pointer " << i;
    ASSERT_EQ(level.number_of_platforms, 1);
    EXPECT_EQ(level.screens_wide, 1);
}

TEST_F(LevelLoadRobustnessTest, TextThatIsNotANumberEndsTheReading)
{
    Load("2 3 -1 1005 0 192 oops 1000 16 16 -1 9 9");
    EXPECT_EQ(level.background, 2);
    EXPECT_EQ(level.music, 3);
    ASSERT_EQ(level.number_of_platforms, 1);
    Expect_Platform(level, 0, Level::GROUND, 0, 192);
    Expect_Pointers(level, Zero_Pointers());
    EXPECT_EQ(level.screens_wide, 1);

    Level in_pointers;
    in_pointers.Load(Write("0 0 -1 -1 4 5 six 6 7", "pointers.map").c_str());
    EXPECT_EQ(in_pointers.pointers[0], 4);
    EXPECT_EQ(in_pointers.pointers[1], 5);
    for (int i = 2; i < Level::NUMBER_OF_POINTERS; i++)
        EXPECT_EQ(in_pointers.pointers[i], 0) << "pointer " << i;

    Level at_start;
    at_start.Load(Write("level one\n", "words.map").c_str());
    EXPECT_EQ(at_start.background, 0);
    EXPECT_EQ(at_start.music, 0);
    EXPECT_EQ(at_start.number_of_platforms, 0);
    EXPECT_EQ(at_start.number_of_characters, 0);
}

TEST_F(LevelLoadTest, OnlyTheTablesAFileFillsAreMade)
{
    Load(ONE_SCREEN);
    EXPECT_TRUE(level.platforms.Is_Made());
    EXPECT_TRUE(level.characters.Is_Made());
    EXPECT_FALSE(level.platform_records.Is_Made());
    EXPECT_FALSE(level.character_records.Is_Made());

    Level editing;
    editing.Load_For_Editing(Write("0 0\n1005 0 192 -1 -1\n" + Numbers(Zero_Pointers()), "edit.map").c_str());
    EXPECT_FALSE(editing.platforms.Is_Made());
    EXPECT_FALSE(editing.characters.Is_Made());
    EXPECT_FALSE(editing.platform_records.Is_Made()) << "no platform record in the file";
    EXPECT_TRUE(editing.character_records.Is_Made());
}

TEST_F(LevelLoadRobustnessTest, EmptyFileLeavesAnEmptyOneScreenLevel)
{
    Load("");
    EXPECT_FALSE(level.platforms.Is_Made());
    EXPECT_FALSE(level.characters.Is_Made());
    EXPECT_EQ(level.background, 0);
    EXPECT_EQ(level.music, 0);
    EXPECT_EQ(level.number_of_platforms, 0);
    EXPECT_EQ(level.number_of_characters, 0);
    Expect_Pointers(level, Zero_Pointers());
    EXPECT_EQ(level.screens_wide, 1);
    EXPECT_EQ(level.screens_high, 1);
}

TEST_F(LevelLoadRobustnessTest, MissingFileLeavesTheLevelAsItWas)
{
    level.background = Application::HILLY_BACKGROUND_BM;
    level.music = Application::BATTLE_MT;
    level.pointers[7] = 9;
    level.screens_wide = 4;
    level.screens_high = 2;
    Add_Platform(level, Level::PIPE, 64, 160);

    level.Load(directory.Path("no_such_level.map").c_str());
    EXPECT_EQ(level.background, Application::HILLY_BACKGROUND_BM);
    EXPECT_EQ(level.music, Application::BATTLE_MT);
    EXPECT_EQ(level.pointers[7], 9);
    EXPECT_EQ(level.pointers[8], 0);
    EXPECT_EQ(level.screens_wide, 4);
    EXPECT_EQ(level.screens_high, 2);
    ASSERT_EQ(level.number_of_platforms, 1);
    Expect_Platform(level, 0, Level::PIPE, 64, 160);
    EXPECT_EQ(level.number_of_characters, 0);
}

// ---------------------------------------------------------------------------
// Restarting a level after a lost life, a trip down a pipe or for the demo.

class LevelResetTest : public testing::Test
{
protected:
    Level level;
};

TEST_F(LevelResetTest, RestartsTheFlagsAndKeepsCameraMessageAndEndingCount)
{
    for (bool full_reset : {false, true})
    {
        level.signal = Level::SIGNAL_DESTROY_ECTO;
        level.starting = false;
        level.background_x = -120;
        level.background_scrolling = true;
        level.showing_message = true;
        level.message_shown = true;
        level.scroll_x = 512;
        level.scroll_y = -224;
        level.ending_timer = 9;
        level.screens_wide = 3;
        level.screens_high = 2;
        level.pointers[4] = 17;

        level.Reset(full_reset);
        EXPECT_EQ(level.signal, 0) << full_reset;
        EXPECT_TRUE(level.starting) << full_reset;
        EXPECT_EQ(level.background_x, 0) << full_reset;
        EXPECT_FALSE(level.background_scrolling) << full_reset;
        EXPECT_FALSE(level.showing_message) << full_reset;
        // A message once read is not shown again after a lost life.
        EXPECT_TRUE(level.message_shown) << full_reset;
        EXPECT_EQ(level.scroll_x, 512) << full_reset;
        EXPECT_EQ(level.scroll_y, -224) << full_reset;
        EXPECT_EQ(level.ending_timer, 9) << full_reset;
        EXPECT_EQ(level.screens_wide, 3) << full_reset;
        EXPECT_EQ(level.screens_high, 2) << full_reset;
        EXPECT_EQ(level.pointers[4], 17) << full_reset;
    }
}

TEST_F(LevelResetTest, EatenCherriesComeBackOnlyOnAFullReset)
{
    Add_Platform(level, Level::CHERRY, 0, 100)->taken = true;
    Add_Platform(level, Level::CHERRY, 16, 100);
    Add_Platform(level, Level::YELLOW_CHERRY, 32, 100)->taken = true;
    // A platform past the ones in use.
    level.platforms[3]->taken = true;

    level.Reset(false);
    EXPECT_TRUE(level.platforms[0]->taken);
    EXPECT_FALSE(level.platforms[1]->taken);
    EXPECT_TRUE(level.platforms[2]->taken);
    EXPECT_TRUE(level.platforms[3]->taken);
    EXPECT_EQ(level.number_of_platforms, 3);

    level.Reset(true);
    EXPECT_FALSE(level.platforms[0]->taken);
    EXPECT_FALSE(level.platforms[1]->taken);
    EXPECT_FALSE(level.platforms[2]->taken);
    EXPECT_TRUE(level.platforms[3]->taken);
    EXPECT_EQ(level.number_of_platforms, 3);
}

TEST_F(LevelResetTest, LivingCharactersRestartAndPassOnTheFullFlag)
{
    Reset_Recorder* first = Add_Character(level, new Reset_Recorder(), 32, 48);
    Reset_Recorder* second = Add_Character(level, new Reset_Recorder(Level::FLY), 96, -20);
    second->strength = 3;
    first->x = 200;
    first->y = 10;
    second->x = 0;

    level.Reset(false);
    EXPECT_EQ(first->resets, 1);
    EXPECT_FALSE(first->last_full_reset);
    EXPECT_EQ(second->resets, 1);
    EXPECT_EQ(first->x, 32);
    EXPECT_EQ(first->y, 48);
    EXPECT_EQ(second->x, 96);

    level.Reset(true);
    EXPECT_EQ(first->resets, 2);
    EXPECT_TRUE(first->last_full_reset);
    EXPECT_EQ(second->resets, 2);
    EXPECT_TRUE(second->last_full_reset);
    EXPECT_EQ(level.number_of_characters, 2);
}

TEST_F(LevelResetTest, DefeatedCreaturesAndThrownRocksStayWhereTheyAre)
{
    Reset_Recorder* defeated = Add_Character(level, new Reset_Recorder(), 32, 48);
    Reset_Recorder* below_zero = Add_Character(level, new Reset_Recorder(), 64, 48);
    Reset_Recorder* rock = Add_Character(level, new Reset_Recorder(Level::THROWABLE_ROCK), 96, 48);
    Reset_Recorder* alive = Add_Character(level, new Reset_Recorder(), 128, 48);
    defeated->strength = 0;
    below_zero->strength = -2;
    rock->strength = 1;
    for (Reset_Recorder* character : {defeated, below_zero, rock, alive})
    {
        character->x += 100;
        character->y -= 40;
    }

    for (bool full_reset : {false, true})
    {
        level.Reset(full_reset);
        EXPECT_EQ(defeated->resets, 0);
        EXPECT_EQ(below_zero->resets, 0);
        EXPECT_EQ(rock->resets, 0);
        EXPECT_EQ(defeated->x, 132);
        EXPECT_EQ(below_zero->y, 8);
        EXPECT_EQ(rock->x, 196);
        EXPECT_EQ(rock->y, 8);
    }
    EXPECT_EQ(alive->resets, 2);
    EXPECT_EQ(alive->x, 128);
}

TEST_F(LevelResetTest, OnlyCharactersInUseAreReset)
{
    Reset_Recorder* in_use = Add_Character(level, new Reset_Recorder(), 0, 0);
    // A character in the slot after the last one in use; the level still
    // owns it.
    Reset_Recorder* beyond = new Reset_Recorder();
    level.characters[1] = beyond;
    level.Reset(true);
    EXPECT_EQ(in_use->resets, 1);
    EXPECT_EQ(beyond->resets, 0);
}

// ---------------------------------------------------------------------------
// The editor's form of a map: records in, the same integers out.

class LevelEditingTest : public Level_File_Fixture
{
protected:
    std::string Save_And_Read(Level& source, const std::string& name = "saved.map")
    {
        const std::string path = directory.Path(name);
        EXPECT_TRUE(source.Save(path.c_str()));
        return Read_File(path);
    }
};

TEST_F(LevelEditingTest, SaveWritesTheIntegersOnePerLineWhateverTheInputLayout)
{
    std::vector<int> pointers = Pointers_From(1);
    std::string pointer_text;
    for (int i = 0; i < Level::NUMBER_OF_POINTERS; i++)
        pointer_text += std::to_string(pointers[i]) + (i % 7 == 0 ? "\r\n" : (i % 3 ? " " : "\t\t"));
    level.Load_For_Editing(Write("3\t 7\r\n 1 16 -32   2 32 160\n-1 1005 0 192\n\n"
                                 "1000   16 -224 -1 " +
                                 pointer_text + " 77 88\n-1\n")
                               .c_str());

    ASSERT_EQ(level.number_of_characters, 2);
    Expect_Record(*level.character_records[0], Level::BLACK_BIRD, 16, -32);
    Expect_Record(*level.character_records[1], Level::BLUEJAY, 32, 160);
    ASSERT_EQ(level.number_of_platforms, 2);
    Expect_Record(*level.platform_records[0], Level::GROUND, 0, 192);
    Expect_Record(*level.platform_records[1], Level::BROWN_BLOCK, 16, -224);

    // Anything after the fiftieth pointer is gone.
    EXPECT_EQ(Save_And_Read(level),
              Lines(Map(3, 7, {{1, 16, -32}, {2, 32, 160}}, {{1005, 0, 192}, {1000, 16, -224}},
                        pointers)));
}

TEST_F(LevelEditingTest, RecordsSetByTheEditorRoundTripWithNegativePositions)
{
    level.background = Application::UNDERWORLD_BACKGROUND_BM;
    level.music = Application::UNDERWORLD_MT;
    Expect_Record(*level.character_records[0], 0, 0, 0);
    *level.character_records[0] = Map_Record{-48, -1000, Level::GHOST};
    *level.character_records[1] = Map_Record{4000, 0, Level::MASTER_ECTO};
    level.number_of_characters = 2;
    *level.platform_records[0] = Map_Record{-16, -10976, Level::LIMESTONE};
    level.number_of_platforms = 1;
    level.pointers[0] = 119;
    level.pointers[49] = -3;

    const std::string text = Save_And_Read(level);
    EXPECT_NE(text.find("\n-48\n-1000\n"), std::string::npos);
    std::vector<int> pointers = Zero_Pointers();
    pointers[0] = 119;
    pointers[49] = -3;
    EXPECT_EQ(text, Lines(Map(4, 4, {{9, -48, -1000}, {10, 4000, 0}}, {{1007, -16, -10976}},
                              pointers)));

    Level reloaded;
    reloaded.Load_For_Editing(directory.Path("saved.map").c_str());
    EXPECT_EQ(reloaded.background, Application::UNDERWORLD_BACKGROUND_BM);
    EXPECT_EQ(reloaded.music, Application::UNDERWORLD_MT);
    ASSERT_EQ(reloaded.number_of_characters, 2);
    Expect_Record(*reloaded.character_records[0], Level::GHOST, -48, -1000);
    Expect_Record(*reloaded.character_records[1], Level::MASTER_ECTO, 4000, 0);
    ASSERT_EQ(reloaded.number_of_platforms, 1);
    Expect_Record(*reloaded.platform_records[0], Level::LIMESTONE, -16, -10976);
    Expect_Pointers(reloaded, pointers);
}

TEST_F(LevelEditingTest, AMissingFileSavesAsAnEmptyValidMap)
{
    level.Load_For_Editing(directory.Path("no_such_level.map").c_str());
    EXPECT_EQ(level.number_of_characters, 0);
    EXPECT_EQ(level.number_of_platforms, 0);
    std::string expected = "0\n0\n-1\n-1\n";
    for (int i = 0; i < Level::NUMBER_OF_POINTERS; i++)
        expected += "0\n";
    EXPECT_EQ(Save_And_Read(level), expected);
}

TEST_F(LevelEditingTest, EditingTouchesNoLiveObject)
{
    const int main_character = level.main_character;
    const int screens_wide = level.screens_wide;
    const int screens_high = level.screens_high;
    level.Load_For_Editing(Write(Numbers(
        Map(0, 0, {{Level::BLUEJAY, 32, 160}}, {{Level::CHERRY, 900, -500}}, Zero_Pointers())))
                               .c_str());
    ASSERT_EQ(level.number_of_characters, 1);
    ASSERT_EQ(level.number_of_platforms, 1);
    EXPECT_EQ(level.characters[0], nullptr);
    EXPECT_EQ(level.platforms[0]->type, 0);
    EXPECT_EQ(level.platforms[0]->x, 0);
    EXPECT_FALSE(level.platforms[0]->has_bump_map);
    EXPECT_EQ(level.main_character, main_character);
    EXPECT_EQ(level.screens_wide, screens_wide);
    EXPECT_EQ(level.screens_high, screens_high);
}

TEST_F(LevelEditingTest, ASavedMapLoadsInPlayInTheSameOrder)
{
    level.background = Application::CLOUDY_BACKGROUND_BM;
    level.music = Application::HERE_WE_GO_MT;
    const Entry characters[] = {
        {Level::BLUEJAY, 32, 160}, {Level::BLACK_BIRD, 200, 168}, {Level::FLY, 400, -100}};
    const Entry platforms[] = {{Level::GROUND, 0, 192},
                               {Level::PIPE, 256, 160},
                               {Level::LEDGE, 512, -240},
                               {Level::GROUND, 32, 192},
                               {Level::STONE_WALL, 64, 160}};
    for (const Entry& entry : characters)
        *level.character_records[level.number_of_characters++] =
            Map_Record{entry.x, entry.y, entry.type};
    for (const Entry& entry : platforms)
        *level.platform_records[level.number_of_platforms++] =
            Map_Record{entry.x, entry.y, entry.type};
    for (int i = 0; i < Level::NUMBER_OF_POINTERS; i++)
        level.pointers[i] = (i * 7) % 120;
    const std::string path = directory.Path("saved.map");
    ASSERT_TRUE(level.Save(path.c_str()));

    Level played;
    played.Load(path.c_str());
    EXPECT_EQ(played.background, Application::CLOUDY_BACKGROUND_BM);
    EXPECT_EQ(played.music, Application::HERE_WE_GO_MT);
    ASSERT_EQ(played.number_of_platforms, 5);
    for (int i = 0; i < 5; i++)
        Expect_Platform(played, i, platforms[i].type, platforms[i].x, platforms[i].y);
    for (int i = 0; i < Level::NUMBER_OF_POINTERS; i++)
        EXPECT_EQ(played.pointers[i], (i * 7) % 120) << "pointer " << i;
    EXPECT_EQ(played.screens_wide, 3);
    EXPECT_EQ(played.screens_high, 3);

    // The characters the factory makes stand where their records put them,
    // in the records' order.
    Expect_Character_Table_Consistent(played, 3);
    int matched = 0;
    for (const Entry& entry : characters)
        if (matched < played.number_of_characters && played.characters[matched]->x == entry.x &&
            played.characters[matched]->y == entry.y)
            matched++;
    EXPECT_EQ(matched, played.number_of_characters);
}

TEST_F(LevelEditingTest, SavingIntoAMissingDirectoryFailsAndCreatesNothing)
{
    level.Load_For_Editing(Write(ONE_SCREEN, "source.map").c_str());
    EXPECT_FALSE(level.Save(directory.Path("missing/level.map").c_str()));
    EXPECT_FALSE(std::filesystem::exists(directory.Path("missing")));
    EXPECT_EQ(Directory_Entries(directory.Path("")), std::vector<std::string>{"source.map"});
}

TEST_F(LevelEditingTest, SavingOntoADirectoryFailsAndLeavesNoTemporaryFile)
{
    std::filesystem::create_directory(directory.Path("level.map"));
    EXPECT_FALSE(level.Save(directory.Path("level.map").c_str()));
    EXPECT_TRUE(std::filesystem::is_directory(directory.Path("level.map")));
    EXPECT_EQ(Directory_Entries(directory.Path("")), std::vector<std::string>{"level.map"});
}

TEST_F(LevelEditingTest, SavingReplacesALongerMapCompletely)
{
    std::vector<Entry> many;
    for (int i = 0; i < 60; i++)
        many.push_back({Level::BROWN_BLOCK, i * 16, 176});
    const std::string path =
        Write(Lines(Map(2, 5, {{Level::BLUEJAY, 32, 160}}, many, Pointers_From(1))) + "12345\n");
    level.Load_For_Editing(path.c_str());
    ASSERT_EQ(level.number_of_platforms, 60);

    // The editor deletes all but the first two blocks and the hero.
    level.number_of_platforms = 2;
    level.number_of_characters = 0;
    ASSERT_TRUE(level.Save(path.c_str()));
    EXPECT_EQ(Read_File(path),
              Lines(Map(2, 5, {}, {{Level::BROWN_BLOCK, 0, 176}, {Level::BROWN_BLOCK, 16, 176}},
                        Pointers_From(1))));
    EXPECT_EQ(Directory_Entries(directory.Path("")), std::vector<std::string>{"level.map"});
}

TEST_F(LevelEditingTest, RecordsBeyondTheTablesAreDropped)
{
    std::vector<Entry> characters, platforms;
    for (int i = 0; i < Level::MAX_CHARACTERS + 3; i++)
        characters.push_back({Level::FLY, i, -i});
    for (int i = 0; i < Level::MAX_PLATFORMS + 2; i++)
        platforms.push_back({Level::LEDGE, i, i % 224});
    level.Load_For_Editing(Write(Numbers(Map(6, 12, characters, platforms, Pointers_From(40)))).c_str());

    ASSERT_EQ(level.number_of_characters, Level::MAX_CHARACTERS);
    ASSERT_EQ(level.number_of_platforms, Level::MAX_PLATFORMS);
    Expect_Record(*level.character_records[Level::MAX_CHARACTERS - 1], Level::FLY,
                  Level::MAX_CHARACTERS - 1, -(Level::MAX_CHARACTERS - 1));
    Expect_Record(*level.platform_records[Level::MAX_PLATFORMS - 1], Level::LEDGE,
                  Level::MAX_PLATFORMS - 1, (Level::MAX_PLATFORMS - 1) % 224);
    EXPECT_EQ(level.background, 6);
    EXPECT_EQ(level.music, 12);
    Expect_Pointers(level, Pointers_From(40));

    // What is saved is what the tables hold.
    characters.resize(Level::MAX_CHARACTERS);
    platforms.resize(Level::MAX_PLATFORMS);
    EXPECT_EQ(Save_And_Read(level), Lines(Map(6, 12, characters, platforms, Pointers_From(40))));
}

TEST_F(LevelEditingTest, FilesEndingEarlyStillEndTheReading)
{
    level.Load_For_Editing(Write("0 0 -1 -1 4 5").c_str());
    std::vector<int> pointers = Zero_Pointers();
    pointers[0] = 4;
    pointers[1] = 5;
    EXPECT_EQ(Save_And_Read(level), Lines(Map(0, 0, {}, {}, pointers)));

    Level inside_list;
    inside_list.Load_For_Editing(Write("1 2  5 16 32  6", "cut.map").c_str());
    EXPECT_EQ(inside_list.background, 1);
    EXPECT_EQ(inside_list.music, 2);
    ASSERT_GE(inside_list.number_of_characters, 1);
    ASSERT_LE(inside_list.number_of_characters, 2);
    Expect_Record(*inside_list.character_records[0], Level::FLY, 16, 32);
    EXPECT_EQ(inside_list.number_of_platforms, 0);
    Expect_Pointers(inside_list, Zero_Pointers());

    Level words;
    words.Load_For_Editing(Write("0 0 -1 1005 zero 192 -1", "words.map").c_str());
    EXPECT_LE(words.number_of_platforms, 1);
    Expect_Pointers(words, Zero_Pointers());
}
