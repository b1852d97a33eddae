#include "test_support.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform.h"

Temporary_Directory::Temporary_Directory()
{
    char pattern[] = "/tmp/bluejay_test_XXXXXX";
    char* made = mkdtemp(pattern);
    path = made != nullptr ? made : "/tmp";
}

Temporary_Directory::~Temporary_Directory()
{
    std::string command = "rm -rf '" + path + "'";
    if (path != "/tmp" && std::system(command.c_str()) != 0)
        return;
}

std::string Temporary_Directory::Path(const std::string& name) const
{
    return path + "/" + name;
}

std::string Temporary_Directory::Write(const std::string& name, const std::string& text) const
{
    std::string file_name = Path(name);
    std::ofstream file(file_name, std::ios::binary);
    file << text;
    return file_name;
}

std::string Read_File(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

Test_Character::Test_Character(int type_code, int picture)
{
    type = type_code;
    bitmap = picture;
    strength = 1;
    number_of_bump_maps = 1;
}

void Test_Character::Process(Application&, Level&)
{
    processed++;
}

void Set_Bitmap(Application& application, int index, int width, int height)
{
    if (application.bitmaps[index] != nullptr)
        destroy_bitmap(application.bitmaps[index]);
    application.bitmaps[index] = create_bitmap(width, height);
    clear_to_color(application.bitmaps[index], makecol(255, 0, 255));
}

Platform* Add_Platform(Level& level, int type, int x, int y)
{
    Platform* platform = level.platforms[level.number_of_platforms++];
    platform->type = type;
    platform->x = x;
    platform->y = y;
    platform->Initialize();
    return platform;
}

Rectangle Box(int left, int top, int right, int bottom)
{
    Rectangle box;
    box.left = left;
    box.top = top;
    box.right = right;
    box.bottom = bottom;
    return box;
}
