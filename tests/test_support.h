#ifndef BLUEJAY_TEST_SUPPORT_H
#define BLUEJAY_TEST_SUPPORT_H

#include <string>

#include <allegro.h>

#include "application.h"
#include "character.h"
#include "level.h"

// A scratch directory removed with everything in it when the object goes.
class Temporary_Directory
{
public:
    Temporary_Directory();
    ~Temporary_Directory();
    Temporary_Directory(const Temporary_Directory&) = delete;
    Temporary_Directory& operator=(const Temporary_Directory&) = delete;

    std::string Path(const std::string& name) const;
    // Writes text to a file of the directory and returns its path.
    std::string Write(const std::string& name, const std::string& text) const;

private:
    std::string path;
};

std::string Read_File(const std::string& path);

// A character that does nothing on its own; tests move it by hand.
class Test_Character : public Character
{
public:
    int processed = 0;
    explicit Test_Character(int type_code = Level::BLACK_BIRD, int picture = Application::BROWN_BLOCK_BM);
    void Process(Application& application, Level& level) override;
};

// Puts a blank picture of the given size at a table index, replacing what was
// there.
void Set_Bitmap(Application& application, int index, int width, int height);

// Adds a platform of a type at a position to a level, as loading would.
Platform* Add_Platform(Level& level, int type, int x, int y);

// Adds a character to a level at a position; the level owns it.
template <typename T> T* Add_Character(Level& level, T* character, int x, int y)
{
    character->x = character->start_x = x;
    character->y = character->start_y = y;
    level.characters[level.number_of_characters++] = character;
    return character;
}

// A rectangle literal.
Rectangle Box(int left, int top, int right, int bottom);

class Bluejay;

// Adds the hero to a level with its real shape and makes it the level's
// main character.
Bluejay* Add_Hero(Level& level, int x, int y);

// Lays ground tiles (32 x 32) at y from x to last_x, every 32 pixels.
void Add_Ground(Level& level, int x, int last_x, int y);

// Lets go of every key of the library's keyboard state.
void Release_All_Keys();

// How many pixels of a box of the canvas differ from a colour.
int Pixels_Unlike(BITMAP* canvas, int x, int y, int width, int height, int colour);

#endif
