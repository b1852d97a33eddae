// Fuzzes the collision-shape files: a creature keeps at most fifteen shapes
// whatever the file holds, a platform reads the same first shape, and
// placing, mirroring and comparing the shapes at the edges of the number
// range never overflows.

#include "fuzz_support.h"

#include <climits>

#include "character.h"
#include "platform.h"
#include "rectangle.h"

namespace
{
class Shape_Holder : public Character
{
public:
    void Process(Application&, Level&) override
    {
    }
};

const int POSITIONS[][2] = {{0, 0}, {INT_MAX, INT_MIN}, {INT_MIN, INT_MAX}, {-4, 7}, {12800, -11200}};

void Compare(const Rectangle& a, const Rectangle& b, int& touches)
{
    touches += a.Is_Touching_Left(b) + a.Is_Touching_Right(b) + a.Is_Touching_Top(b) + a.Is_Touching_Bottom(b) +
               a.Is_Touching_Top_Left_Corner(b) + a.Is_Touching_Top_Right_Corner(b) +
               a.Is_Touching_Bottom_Left_Corner(b) + a.Is_Touching_Bottom_Right_Corner(b) + a.Is_Inside(b);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::Start();
    fuzz::The_Application(true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Application& game = fuzz::The_Application(true);
    std::string path = fuzz::Write("shape.map", data, size);

    Shape_Holder creature;
    creature.Load_Bump_Maps(path.c_str());
    FUZZ_CHECK(creature.bump_maps_loaded >= 0 && creature.bump_maps_loaded <= Character::MAX_BUMP_MAPS);
    int first_load = creature.bump_maps_loaded;
    // A second file appends, still within the fifteen.
    creature.Load_Bump_Maps(path.c_str());
    FUZZ_CHECK(creature.bump_maps_loaded >= first_load && creature.bump_maps_loaded <= Character::MAX_BUMP_MAPS);

    Platform platform;
    platform.type = Level::CHERRY;
    platform.Initialize();
    platform.Load_Bump_Map(path.c_str());
    FUZZ_CHECK(platform.has_bump_map == (first_load > 0));
    if (first_load > 0)
    {
        FUZZ_CHECK(platform.bump_map.left == creature.bump_maps[0].left);
        FUZZ_CHECK(platform.bump_map.top == creature.bump_maps[0].top);
        FUZZ_CHECK(platform.bump_map.right == creature.bump_maps[0].right);
        FUZZ_CHECK(platform.bump_map.bottom == creature.bump_maps[0].bottom);
    }

    int touches = 0;
    creature.bitmap = Application::BLUEJAY_STANDING_BM;
    for (const auto& position : POSITIONS)
    {
        creature.x = position[0];
        creature.y = position[1];
        platform.x = position[1];
        platform.y = position[0];
        Rectangle placed_platform;
        platform.Get_Bump_Map(placed_platform, game);
        for (int number = 0; number < Character::MAX_BUMP_MAPS; number++)
        {
            Rectangle placed, flipped;
            creature.Get_Bump_Map(placed, number, game);
            creature.Flip_Bump_Map(creature.bump_maps[number], flipped, game);
            Compare(placed, placed_platform, touches);
            Compare(placed_platform, placed, touches);
            Compare(flipped, placed, touches);
        }
    }
    FUZZ_CHECK(touches >= 0);
    return 0;
}
