#include <gtest/gtest.h>

#include "application.h"
#include "platform.h"
#include "test_support.h"

namespace
{
void Expect_Box(const Rectangle& box, int left, int top, int right, int bottom)
{
    EXPECT_EQ(box.left, left);
    EXPECT_EQ(box.top, top);
    EXPECT_EQ(box.right, right);
    EXPECT_EQ(box.bottom, bottom);
}
} // namespace

TEST(BumpMapLoading, ThreeGroupsWithOrWithoutAFinalLineEnd)
{
    Temporary_Directory directory;
    for (const char* text : {"3 0 5 2\n1 0 4 5\n0 2 1 4\n", "3 0 5 2\n1 0 4 5\n0 2 1 4"})
    {
        Test_Character character;
        character.Load_Bump_Maps(directory.Write("three.map", text).c_str());
        ASSERT_EQ(character.bump_maps_loaded, 3);
        Expect_Box(character.bump_maps[0], 3, 0, 5, 2);
        Expect_Box(character.bump_maps[1], 1, 0, 4, 5);
        Expect_Box(character.bump_maps[2], 0, 2, 1, 4);
        Expect_Box(character.bump_maps[3], 0, 0, 0, 0);
    }
}

TEST(BumpMapLoading, LayoutInLinesCarriesNoMeaning)
{
    Temporary_Directory directory;
    Test_Character character;
    character.Load_Bump_Maps(directory.Write("free.map", " 1\t2 3\n\n4 -5 6\n7 8  \r\n").c_str());
    ASSERT_EQ(character.bump_maps_loaded, 2);
    Expect_Box(character.bump_maps[0], 1, 2, 3, 4);
    Expect_Box(character.bump_maps[1], -5, 6, 7, 8);
}

TEST(BumpMapLoading, EmptyOrMissingFileLeavesTheZeroShapes)
{
    Temporary_Directory directory;
    Test_Character empty;
    empty.Load_Bump_Maps(directory.Write("empty.map", "").c_str());
    EXPECT_EQ(empty.bump_maps_loaded, 0);
    Expect_Box(empty.bump_maps[0], 0, 0, 0, 0);

    Test_Character missing;
    missing.Load_Bump_Maps(directory.Path("no_such.map").c_str());
    EXPECT_EQ(missing.bump_maps_loaded, 0);
}

TEST(BumpMapLoading, StopsAtFifteenShapes)
{
    Temporary_Directory directory;
    std::string text;
    for (int i = 0; i < 20; i++)
        text += std::to_string(i) + " 0 " + std::to_string(i) + " 1\n";
    Test_Character character;
    character.Load_Bump_Maps(directory.Write("many.map", text).c_str());
    EXPECT_EQ(character.bump_maps_loaded, Character::MAX_BUMP_MAPS);
    Expect_Box(character.bump_maps[14], 14, 0, 14, 1);
}

TEST(BumpMapLoading, EndsOnTextThatIsNotANumber)
{
    Temporary_Directory directory;
    Test_Character character;
    character.Load_Bump_Maps(directory.Write("words.map", "1 2 3 4\n5 6 seven 8\n9 9 9 9\n").c_str());
    EXPECT_EQ(character.bump_maps_loaded, 1);
    Expect_Box(character.bump_maps[0], 1, 2, 3, 4);

    // A cut-off last group is not a shape.
    Test_Character cut;
    cut.Load_Bump_Maps(directory.Write("cut.map", "1 2 3 4\n5 6\n").c_str());
    EXPECT_EQ(cut.bump_maps_loaded, 1);
}

TEST(BumpMapLoading, LoadingAppendsAfterTheShapesAlreadyRead)
{
    Temporary_Directory directory;
    Test_Character character;
    std::string file = directory.Write("one.map", "1 1 2 2\n");
    character.Load_Bump_Maps(file.c_str());
    character.Load_Bump_Maps(file.c_str());
    EXPECT_EQ(character.bump_maps_loaded, 2);
    Expect_Box(character.bump_maps[1], 1, 1, 2, 2);
}

TEST(BumpMapLoading, PlatformsReadTheirFirstGroupOnly)
{
    Temporary_Directory directory;
    Platform platform;
    platform.Load_Bump_Map(directory.Write("cherry.map", "1 1 2 3\n0 0 9 9\n").c_str());
    EXPECT_TRUE(platform.has_bump_map);
    Expect_Box(platform.bump_map, 1, 1, 2, 3);

    Platform unreadable;
    unreadable.Load_Bump_Map(directory.Write("bad.map", "x").c_str());
    EXPECT_FALSE(unreadable.has_bump_map);
    Platform missing;
    missing.Load_Bump_Map(directory.Path("none.map").c_str());
    EXPECT_FALSE(missing.has_bump_map);
}

TEST(BumpMapLoading, BackslashPathsWorkThroughTheLevelLoaders)
{
    // The level's loaders take the game's own backslash names.
    Level level;
    level.characters[0] = new Test_Character();
    level.number_of_characters = 1;
    Load_Bump_Map_For_Character("data\\bump_maps\\bluejay.map", level.characters, 0);
    EXPECT_EQ(level.characters[0]->bump_maps_loaded, 3);

    Load_Bump_Map_For_Platform("data\\bump_maps\\wire.map", level.platforms, 0);
    EXPECT_TRUE(level.platforms[0]->has_bump_map);
}

class BumpMapPlacement : public testing::Test
{
protected:
    Application application;
};

TEST_F(BumpMapPlacement, MirroringIsAboutTheLastCellColumnOfThePicture)
{
    Test_Character character;
    Rectangle flipped;
    Rectangle source = Box(0, 2, 1, 3);

    Set_Bitmap(application, character.bitmap, 16, 16);
    character.Flip_Bump_Map(source, flipped, application);
    Expect_Box(flipped, 2, 2, 3, 3);

    Set_Bitmap(application, character.bitmap, 17, 16);
    character.Flip_Bump_Map(source, flipped, application);
    Expect_Box(flipped, 3, 2, 4, 3);

    // Mirroring twice gives the shape back.
    Rectangle back;
    character.Flip_Bump_Map(flipped, back, application);
    Expect_Box(back, 0, 2, 1, 3);
}

TEST_F(BumpMapPlacement, ShapesArePlacedAtTheCellOfThePosition)
{
    Test_Character character;
    character.bump_maps[0] = Box(1, 0, 2, 3);
    character.x = 100;
    character.y = 40;
    Rectangle placed;
    character.Get_Bump_Map(placed, 0, application);
    Expect_Box(placed, 26, 10, 27, 13);

    // Negative positions truncate toward zero, as the game always has.
    character.x = -6;
    character.y = -224;
    character.Get_Bump_Map(placed, 0, application);
    Expect_Box(placed, 0, -56, 1, -53);
}

TEST_F(BumpMapPlacement, ExtremeShapesAndPositionsStayInRange)
{
    Test_Character character;
    character.bump_maps[0] = Box(2147483647, -2147483647 - 1, 2147483647, 2147483647);
    character.x = 2147483647;
    character.y = -2147483647 - 1;
    Rectangle placed;
    character.Get_Bump_Map(placed, 0, application);
    EXPECT_EQ(placed.right, 2147483647);
    EXPECT_EQ(placed.top, -2147483647 - 1);
    Rectangle flipped;
    character.Flip_Bump_Map(character.bump_maps[0], flipped, application);
    // No picture at that index: the last column is 0.
    EXPECT_EQ(flipped.left, -2147483647);
    EXPECT_EQ(flipped.right, -2147483647);
}
