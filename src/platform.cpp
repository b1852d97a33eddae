#include "platform.h"
#include "regular_file.h"

#include <fstream>

#include "application.h"
#include "character.h"
#include "level.h"

namespace
{
struct Platform_Type
{
    int type;
    int bitmap;
    int kind;
};

const Platform_Type PLATFORM_TYPES[] = {
    {Level::BROWN_BLOCK, Application::BROWN_BLOCK_BM, Platform::PLATFORM},
    {Level::CEMENT_BLOCK, Application::CEMENT_BLOCK_BM, Platform::PLATFORM},
    {Level::BIG_BUSH, Application::BIG_BUSH_BM, Platform::BACKGROUND},
    {Level::SMALL_BUSH, Application::SMALL_BUSH_BM, Platform::BACKGROUND},
    {Level::CHERRY, Application::CHERRY_BM, Platform::ITEM},
    {Level::GROUND, Application::GROUND_BM, Platform::PLATFORM},
    {Level::PIPE, Application::PIPE_BM, Platform::PLATFORM},
    {Level::LIMESTONE, Application::LIMESTONE_BM, Platform::PLATFORM},
    {Level::LEDGE, Application::LEDGE_BM, Platform::PLATFORM},
    {Level::WALK_THROUGH_DIRT, Application::WALK_THROUGH_DIRT_BM, Platform::BACKGROUND},
    {Level::WIRE, Application::WIRE_BM, Platform::PLATFORM},
    {Level::STOPPER, Application::STOPPER_BM, Platform::PLATFORM},
    // In play a local pipe looks like any pipe and a fake cement block like a
    // real one; their own pictures are the editor's.
    {Level::LOCAL_PIPE, Application::PIPE_BM, Platform::PLATFORM},
    {Level::STONE_WALL, Application::STONE_WALL_BM, Platform::BACKGROUND},
    {Level::FAKE_CEMENT_BLOCK, Application::CEMENT_BLOCK_BM, Platform::BACKGROUND},
    {Level::YELLOW_CHERRY, Application::YELLOW_CHERRY_BM, Platform::ITEM},
    {Level::SHORT_VINE, Application::SHORT_VINE_BM, Platform::BACKGROUND},
    {Level::TALL_VINE, Application::TALL_VINE_BM, Platform::BACKGROUND},
};
} // namespace

Platform::Platform()
    : type(0), x(0), y(0), bitmap(NO_BITMAP), kind(BACKGROUND), taken(false),
      has_bump_map(false), bump_map(), timer(0), start_x(0), start_y(0)
{
}

void Platform::Initialize()
{
    start_x = x;
    start_y = y;
    // A code outside the table keeps the harmless defaults: a scenery piece
    // that never collides.
    for (const Platform_Type& entry : PLATFORM_TYPES)
    {
        if (entry.type == type)
        {
            bitmap = entry.bitmap;
            kind = entry.kind;
            return;
        }
    }
}

void Platform::Load_Bump_Map(const char* file_name)
{
    Regular_File regular(file_name);
    std::istream& file = regular.Stream();
    if (!file)
        return;
    Rectangle shape;
    if (file >> shape.left >> shape.top >> shape.right >> shape.bottom)
    {
        bump_map = shape;
        has_bump_map = true;
    }
}

void Platform::Get_Bump_Map(Rectangle& result, Application& application)
{
    if (has_bump_map)
    {
        Character::Place(bump_map, x, y, result);
        return;
    }
    Rectangle whole;
    whole.left = 0;
    whole.top = 0;
    whole.right = application.Bitmap_Width(bitmap) / Rectangle::CELL_SIZE - 1;
    whole.bottom = application.Bitmap_Height(bitmap) / Rectangle::CELL_SIZE - 1;
    Character::Place(whole, x, y, result);
}

void Platform::Process(Application& application, int scroll_x, int scroll_y)
{
    if (taken)
        return;
    timer++;

    int signal = 0;
    if (application.current_level >= 0 && application.current_level < Application::NUMBER_OF_LEVELS &&
        application.levels[application.current_level] != nullptr)
        signal = application.levels[application.current_level]->signal;

    if ((type == Level::PIPE || type == Level::LOCAL_PIPE) && timer % 2 == 0)
    {
        // Pipes sink out of the lowest screen and rise back to where they
        // were placed, 4 pixels every second tick.
        if (signal == Level::SIGNAL_LOWER_PIPES && y < Application::CANVAS_HEIGHT)
            y += Rectangle::CELL_SIZE;
        else if (signal == Level::SIGNAL_RAISE_PIPES && y > start_y)
            y -= Rectangle::CELL_SIZE;
    }
    if (type == Level::CEMENT_BLOCK && signal == Level::SIGNAL_COLLAPSE_CEMENT && timer % 4 == 0)
        y += Rectangle::CELL_SIZE;

    // Stoppers are invisible walls.
    if (type != Level::STOPPER)
        application.Draw_Sprite(bitmap, x - scroll_x, y - scroll_y);
}
