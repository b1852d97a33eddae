#ifndef BLUEJAY_TEST_SUPPORT_H
#define BLUEJAY_TEST_SUPPORT_H

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

#include <allegro.h>

#include "application.h"
#include "bluejay.h"
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

// The temporary files the safe write left beside path (NAME.tmp.*).
int Temporaries_Beside(const std::string& path);

// Runs a save with the files this process writes limited to bytes (a full
// disk), with the limit's signal ignored as the game ignores it.
bool With_File_Size_Limit(unsigned long bytes, const std::function<bool()>& save);

// Runs a check as an ordinary user, in a child process, when the tests run
// as root (for whom no permission bit holds); as the same process otherwise.
// The folders the check works in must let others in. Its answer comes back.
bool Run_As_Ordinary_User(const std::function<bool()>& check);

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

// The signal word of a tick with exactly these keys held.
int Signals_With_Keys(Application& application, std::initializer_list<int> held);

// How many pixels of a box of the canvas differ from a colour.
int Pixels_Unlike(BITMAP* canvas, int x, int y, int width, int height, int colour);

// The game's pictures, tunes and sounds, loaded into one Application for a
// whole suite: loading them is nearly all that building an Application
// costs. Each test still gets an Application of its own, every level and
// setting as at start-up, with the suite's loaded files lent to it; they go
// back when the test ends, so no test sees another's levels or settings. A
// test may replace a lent picture only if every test of its suite does the
// same.
class Loaded_Files
{
public:
    static void Load();
    static void Free();
    static void Lend(Application& borrower);
    static void Take_Back(Application& borrower);

private:
    static Application* loaded;
};

// A test with its own Application holding the suite's loaded files.
class Loaded_Application_Test : public testing::Test
{
public:
    static void SetUpTestSuite() { Loaded_Files::Load(); }
    static void TearDownTestSuite() { Loaded_Files::Free(); }

protected:
    Application application;

    Loaded_Application_Test() { Loaded_Files::Lend(application); }
    ~Loaded_Application_Test() override { Loaded_Files::Take_Back(application); }
};

// A level with the real pictures and shapes for creature tests: creatures
// placed with their shape files, a hero, ground, maps read from text, ticks
// run directly, sounds counted and what was drawn measured on the canvas.
class Creature_Fixture : public Loaded_Application_Test
{
protected:
    static constexpr int GROUND_Y = 192;

    Level& level = *application.levels[0];
    Bluejay* hero = nullptr;
    Temporary_Directory directory;
    int blank = 0;

    void SetUp() override
    {
        ASSERT_STREQ(application.missing_resource, "");
        application.current_level = 0;
        blank = makecol(1, 2, 3);
        Clear();
    }

    // A creature with the shape of a file (none when shape is null).
    template <typename T> T* Place(T* creature, int x, int y, const char* shape)
    {
        Add_Character(level, creature, x, y);
        if (shape != nullptr)
            Load_Bump_Map_For_Character(shape, level.characters, level.number_of_characters - 1);
        return creature;
    }

    Bluejay* Place_Hero(int x, int y) { return hero = Add_Hero(level, x, y); }

    void Ground(int first_x, int last_x, int y = GROUND_Y) { Add_Ground(level, first_x, last_x, y); }

    // A level read from a map file: characters and platforms as "type x y"
    // lines.
    void Load_Map(const std::string& characters, const std::string& platforms)
    {
        std::string text = "0\n0\n" + characters + "-1\n" + platforms + "-1\n";
        for (int i = 0; i < Level::NUMBER_OF_POINTERS; i++)
            text += "0\n";
        level.Load(directory.Write("level.map", text).c_str());
    }

    void Tick(Character& creature, int count = 1)
    {
        for (int i = 0; i < count; i++)
            creature.Process(application, level);
    }

    int Plays(int sound) const { return application.sound_effect_plays[sound]; }

    void Clear() { clear_to_color(application.canvas, blank); }

    // Pixels of a box of the canvas that something was drawn on.
    int Drawn(int x, int y, int width, int height)
    {
        int count = 0;
        for (int row = std::max(y, 0); row < std::min(y + height, Application::CANVAS_HEIGHT); row++)
            for (int column = std::max(x, 0); column < std::min(x + width, Application::CANVAS_WIDTH); column++)
                if (getpixel(application.canvas, column, row) != blank)
                    count++;
        return count;
    }

    // How many pixels of the canvas differ from the picture drawn over the
    // blank canvas at (x, y), plain or mirrored.
    int Differences_From(int picture, int x, int y, bool mirrored = false)
    {
        BITMAP* source = application.bitmaps[picture];
        BITMAP* expected = create_bitmap(source->w, source->h);
        clear_to_color(expected, blank);
        if (mirrored)
            draw_sprite_h_flip(expected, source, 0, 0);
        else
            draw_sprite(expected, source, 0, 0);
        int count = 0;
        for (int row = 0; row < source->h; row++)
            for (int column = 0; column < source->w; column++)
                if (getpixel(application.canvas, x + column, y + row) != getpixel(expected, column, row))
                    count++;
        destroy_bitmap(expected);
        return count;
    }

    // Whether a picture looks different mirrored, so that a drawing test
    // can tell the two ways apart.
    bool Is_Asymmetric(int picture)
    {
        BITMAP* source = application.bitmaps[picture];
        for (int row = 0; row < source->h; row++)
            for (int column = 0; column < source->w; column++)
                if (getpixel(source, column, row) != getpixel(source, source->w - 1 - column, row))
                    return true;
        return false;
    }

    // Pixels drawn where the creature's picture stands now.
    int Drawn(Character& creature)
    {
        return Drawn(creature.x - level.scroll_x, creature.y - level.scroll_y,
                     application.Bitmap_Width(creature.bitmap), application.Bitmap_Height(creature.bitmap));
    }
};

// The level editor in a scratch copy of data/ (it writes its maps relative
// to the working directory, and the game's own levels must stay untouched),
// with ticks run directly under held keys.
class Editor_Fixture : public testing::Test
{
public:
    static void SetUpTestSuite() { Loaded_Files::Load(); }
    static void TearDownTestSuite() { Loaded_Files::Free(); }

protected:
    Temporary_Directory directory;
    std::unique_ptr<Application> editor;

    void SetUp() override;
    void TearDown() override;

    // One tick with exactly these keys of the signal word held.
    void Tick(int signals = 0)
    {
        Application::Press_Keys_For_Signals(signals);
        editor->Run_Editor_Tick();
    }

    void Hold(int signals, int ticks)
    {
        for (int i = 0; i < ticks; i++)
            Tick(signals);
    }

    void Idle(int ticks = 7)
    {
        Hold(0, ticks);
    }

    // A key pressed once after a pause long enough for any command to act.
    void Press(int signals)
    {
        Idle();
        Tick(signals);
    }

    Level& Current()
    {
        return *editor->levels[editor->current_level];
    }

    // Whether the canvas shows the text in a colour on black with its
    // top-left corner at (x, y), as far as the canvas reaches.
    bool Shows_Text(int x, int y, const std::string& text, int colour = -1);

private:
    std::string previous_directory;
    bool moved = false;
    bool borrowed = false;
};

#endif
