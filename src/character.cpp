#include "character.h"
#include "regular_file.h"

#include <climits>
#include <fstream>

#include "application.h"
#include "level.h"
#include "platform.h"

namespace
{
// Shapes come from files and may hold any number, so cell arithmetic is done
// wide and brought back into range instead of overflowing.
int Clamp_To_Int(long long value)
{
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

int Add_Clamped(int a, int b)
{
    return Clamp_To_Int(static_cast<long long>(a) + b);
}
} // namespace

Character::Character()
    : type(0), x(0), y(0), start_x(0), start_y(0), bitmap(0), x_direction(1), y_direction(1),
      strength(0), number_of_bump_maps(0), timer(0), hurt(false), harmful(true),
      bump_maps(new Rectangle[MAX_BUMP_MAPS]()), bump_maps_loaded(0)
{
}

Character::~Character()
{
    delete[] bump_maps;
}

void Character::Place(const Rectangle& relative, int x, int y, Rectangle& result)
{
    result.left = Add_Clamped(relative.left, x / Rectangle::CELL_SIZE);
    result.right = Add_Clamped(relative.right, x / Rectangle::CELL_SIZE);
    result.top = Add_Clamped(relative.top, y / Rectangle::CELL_SIZE);
    result.bottom = Add_Clamped(relative.bottom, y / Rectangle::CELL_SIZE);
}

void Character::Step_Toward(int target_x, int target_y)
{
    if (x < target_x)
        x += Rectangle::CELL_SIZE;
    if (x > target_x)
        x -= Rectangle::CELL_SIZE;
    if (y < target_y)
        y += Rectangle::CELL_SIZE;
    if (y > target_y)
        y -= Rectangle::CELL_SIZE;
}

bool Character::Is_Solid(Level& level, int index)
{
    return index != NO_PLATFORM_HIT && index >= 0 && index < level.number_of_platforms &&
           level.platforms[index]->kind == Platform::PLATFORM;
}

void Character::Get_Bump_Map(Rectangle& result, int number, Application&)
{
    if (number < 0 || number >= MAX_BUMP_MAPS)
        number = 0;
    Place(bump_maps[number], x, y, result);
}

void Character::Reset(bool)
{
    x = start_x;
    y = start_y;
}

int Character::Get_Points()
{
    return 10;
}

void Character::Load_Bump_Maps(const char* file_name)
{
    Regular_File regular(file_name);
    std::istream& file = regular.Stream();
    if (!file)
        return;
    // Groups of four numbers; reading stops at the fifteenth shape, at the
    // end of the file and at anything that is not a number.
    while (bump_maps_loaded < MAX_BUMP_MAPS)
    {
        Rectangle shape;
        if (!(file >> shape.left >> shape.top >> shape.right >> shape.bottom))
            break;
        bump_maps[bump_maps_loaded] = shape;
        bump_maps_loaded++;
    }
}

void Character::Flip_Bump_Map(Rectangle& source, Rectangle& flipped, Application& application)
{
    int last_column = (application.Bitmap_Width(bitmap) - 1) / Rectangle::CELL_SIZE;
    Rectangle result;
    result.left = Clamp_To_Int(static_cast<long long>(last_column) - source.right);
    result.right = Clamp_To_Int(static_cast<long long>(last_column) - source.left);
    result.top = source.top;
    result.bottom = source.bottom;
    flipped = result;
}

bool Character::Is_On_X_Screen(int scroll_x, int, Application& application)
{
    long long dx = static_cast<long long>(x) - scroll_x;
    long long width = application.Bitmap_Width(bitmap);
    return dx + width - 1 >= 0 && dx < Application::CANVAS_WIDTH;
}

bool Character::Is_On_Screen(int scroll_x, int scroll_y, Application& application)
{
    long long dy = static_cast<long long>(y) - scroll_y;
    long long height = application.Bitmap_Height(bitmap);
    return Is_On_X_Screen(scroll_x, scroll_y, application) && dy + height - 1 >= 0 &&
           dy < Application::CANVAS_HEIGHT;
}

namespace
{
// The eight contacts of one query, filled platform by platform.
struct Platform_Contacts
{
    int left = Character::NO_PLATFORM_HIT;
    int right = Character::NO_PLATFORM_HIT;
    int top = Character::NO_PLATFORM_HIT;
    int bottom = Character::NO_PLATFORM_HIT;
    int top_left = Character::NO_PLATFORM_HIT;
    int bottom_left = Character::NO_PLATFORM_HIT;
    int top_right = Character::NO_PLATFORM_HIT;
    int bottom_right = Character::NO_PLATFORM_HIT;

    // When several platforms touch on one side, the highest index wins,
    // whatever order they are looked at in.
    static void Keep(int& output, int index)
    {
        if (index > output)
            output = index;
    }

    void Test(const Rectangle& own, Platform& platform, int index, Application& application)
    {
        Rectangle other;
        platform.Get_Bump_Map(other, application);
        if (own.Is_Touching_Left(other))
            Keep(left, index);
        if (own.Is_Touching_Right(other))
            Keep(right, index);
        if (own.Is_Touching_Top(other))
            Keep(top, index);
        if (own.Is_Touching_Bottom(other))
            Keep(bottom, index);
        if (own.Is_Touching_Top_Left_Corner(other))
            Keep(top_left, index);
        if (own.Is_Touching_Bottom_Left_Corner(other))
            Keep(bottom_left, index);
        if (own.Is_Touching_Top_Right_Corner(other))
            Keep(top_right, index);
        if (own.Is_Touching_Bottom_Right_Corner(other))
            Keep(bottom_right, index);
    }

    void Report(int& out_left, int& out_right, int& out_top, int& out_bottom, int& out_top_left,
                int& out_bottom_left, int& out_top_right, int& out_bottom_right) const
    {
        out_left = left;
        out_right = right;
        out_top = top;
        out_bottom = bottom;
        out_top_left = top_left;
        out_bottom_left = bottom_left;
        out_top_right = top_right;
        out_bottom_right = bottom_right;
    }
};
} // namespace

void Character::Which_Platforms_Were_Hit_By_Scan(int& left, int& right, int& top, int& bottom, int& top_left,
                                                 int& bottom_left, int& top_right, int& bottom_right,
                                                 Level& level, int number, Application& application)
{
    // The creature's own shape does not change while the platforms are
    // scanned, so it is placed once.
    Rectangle own;
    Get_Bump_Map(own, number, application);
    Platform_Contacts contacts;
    for (int i = 0; i < level.number_of_platforms; i++)
        if (level.platforms[i]->kind != Platform::BACKGROUND)
            contacts.Test(own, *level.platforms[i], i, application);
    contacts.Report(left, right, top, bottom, top_left, bottom_left, top_right, bottom_right);
}

void Character::Which_Platforms_Were_Hit(int& left, int& right, int& top, int& bottom, int& top_left,
                                         int& bottom_left, int& top_right, int& bottom_right, Level& level,
                                         int number, Application& application)
{
    if (!level.platform_index.Is_Ready())
    {
        Which_Platforms_Were_Hit_By_Scan(left, right, top, bottom, top_left, bottom_left, top_right,
                                         bottom_right, level, number, application);
        return;
    }
    // While the level's characters act, only the platforms near the
    // creature's own columns can touch it.
    Rectangle own;
    Get_Bump_Map(own, number, application);
    Platform_Contacts contacts;
    level.platform_index.For_Platforms_Near(own.left, own.right, [&](int i) {
        contacts.Test(own, *level.platforms[i], i, application);
    });
    contacts.Report(left, right, top, bottom, top_left, bottom_left, top_right, bottom_right);
}

int Character::Which_Character_Was_Hit(Level& level, int number, Application& application,
                                       int& other_number, int& hit_flags)
{
    hit_flags = 0;
    Rectangle own;
    Get_Bump_Map(own, number, application);

    for (int i = 0; i < level.number_of_characters; i++)
    {
        Character* other = level.characters[i];
        if (other == nullptr || other == this)
            continue;
        int shapes = other->number_of_bump_maps;
        if (shapes > MAX_BUMP_MAPS)
            shapes = MAX_BUMP_MAPS;
        for (other_number = 0; other_number < shapes; other_number++)
        {
            Rectangle theirs;
            other->Get_Bump_Map(theirs, other_number, application);
            if (own.Is_Touching_Bottom(theirs))
                hit_flags |= HIT_BOTTOM;
            if (own.Is_Touching_Top(theirs))
                hit_flags |= HIT_TOP;
            if (own.Is_Touching_Left(theirs))
                hit_flags |= HIT_LEFT;
            if (own.Is_Touching_Right(theirs))
                hit_flags |= HIT_RIGHT;
            if (own.Is_Touching_Top_Left_Corner(theirs))
                hit_flags |= HIT_TOP_LEFT;
            if (own.Is_Touching_Top_Right_Corner(theirs))
                hit_flags |= HIT_TOP_RIGHT;
            if (own.Is_Touching_Bottom_Left_Corner(theirs))
                hit_flags |= HIT_BOTTOM_LEFT;
            if (own.Is_Touching_Bottom_Right_Corner(theirs))
                hit_flags |= HIT_BOTTOM_RIGHT;
            if (own.Is_Inside(theirs))
                hit_flags |= IS_INSIDE;
            if (hit_flags != 0)
                return i;
        }
    }
    return NO_CHARACTER_HIT;
}

void Character::Draw_In_View(Application& application, const Level& level, bool mirrored) const
{
    if (mirrored)
        application.Draw_Sprite_H_Flip(bitmap, x - level.scroll_x, y - level.scroll_y);
    else
        application.Draw_Sprite(bitmap, x - level.scroll_x, y - level.scroll_y);
}

long long Character::Right_End(Application& application, const Level& level) const
{
    return static_cast<long long>(level.screens_wide) * Application::CANVAS_WIDTH - application.Bitmap_Width(bitmap);
}

int Character::Level_Top(const Level& level)
{
    return -(level.screens_high - Level::HEIGHT_ERROR) * Application::CANVAS_HEIGHT;
}

bool Character::Lose_Strength_Once(bool& counted)
{
    if (counted)
        return false;
    timer = 0;
    counted = true;
    strength--;
    return true;
}

void Character::Get_Grown_Bump_Map(Rectangle& result, int number, Application& application, bool grown,
                                   long long pieces, int piece_bitmap)
{
    Character::Get_Bump_Map(result, number, application);
    if (!grown)
        return;
    long long bottom = static_cast<long long>(result.bottom) +
                       pieces * (application.Bitmap_Height(piece_bitmap) / Rectangle::CELL_SIZE);
    result.bottom = bottom > INT_MAX ? INT_MAX : static_cast<int>(bottom);
}
