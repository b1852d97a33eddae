#ifndef BLUEJAY_CHARACTER_H
#define BLUEJAY_CHARACTER_H

#include "rectangle.h"

class Application;
class Level;

// The base of the hero and of every creature and object of a level: what
// they all have (type, position, picture, directions, strength, the hurt and
// harmful flags, a tick counter, a collision shape) and the two queries with
// which a creature learns which platforms and which other characters it
// touches.
class Character
{
public:
    static constexpr int MAX_BUMP_MAPS = 15;
    static constexpr int NO_PLATFORM_HIT = -1;
    static constexpr int NO_CHARACTER_HIT = -1;
    static constexpr int HIT_LEFT = 1;
    static constexpr int HIT_RIGHT = 2;
    static constexpr int HIT_TOP = 4;
    static constexpr int HIT_BOTTOM = 8;
    static constexpr int HIT_TOP_LEFT = 16;
    static constexpr int HIT_BOTTOM_LEFT = 32;
    static constexpr int HIT_TOP_RIGHT = 64;
    static constexpr int HIT_BOTTOM_RIGHT = 128;
    static constexpr int IS_INSIDE = 256;

    int type;
    int x;
    int y;
    int start_x;
    int start_y;
    int bitmap;
    int x_direction;
    int y_direction;
    int strength;
    int number_of_bump_maps;
    int timer;
    bool hurt;
    bool harmful;
    Rectangle* bump_maps;
    int bump_maps_loaded;

    Character();
    // Levels destroy their characters through base pointers, so the
    // destructor is virtual.
    virtual ~Character();
    Character(const Character&) = delete;
    Character& operator=(const Character&) = delete;

    virtual void Get_Bump_Map(Rectangle& result, int number, Application& application);
    virtual void Process(Application& application, Level& level) = 0;
    virtual void Reset(bool full_reset);
    virtual int Get_Points();

    void Load_Bump_Maps(const char* file_name);
    void Flip_Bump_Map(Rectangle& source, Rectangle& flipped, Application& application);
    bool Is_On_Screen(int scroll_x, int scroll_y, Application& application);
    bool Is_On_X_Screen(int scroll_x, int scroll_y, Application& application);
    void Which_Platforms_Were_Hit(int& left, int& right, int& top, int& bottom, int& top_left,
                                  int& bottom_left, int& top_right, int& bottom_right,
                                  Level& level, int number, Application& application);
    // The same answer found by looking at every platform of the level: the
    // reference the faster query is checked against.
    void Which_Platforms_Were_Hit_By_Scan(int& left, int& right, int& top, int& bottom, int& top_left,
                                          int& bottom_left, int& top_right, int& bottom_right, Level& level,
                                          int number, Application& application);
    int Which_Character_Was_Hit(Level& level, int number, Application& application,
                                int& other_number, int& hit_flags);

    // One 4-pixel step on each axis toward a point, each test seeing the
    // step before it, so that within 4 pixels the two steps cancel and the
    // character settles there.
    void Step_Toward(int target_x, int target_y);

    // Whether a platform reported by Which_Platforms_Were_Hit is solid (not
    // an item, not missing).
    static bool Is_Solid(Level& level, int index);

    // Places a shape given relative to the top-left cell of the picture at
    // the pixel position (x, y): the cell position x / 4, y / 4 is added.
    static void Place(const Rectangle& relative, int x, int y, Rectangle& result);

    // Helpers the kinds share.

    // Draws the picture where the character stands in the view, mirrored
    // (facing left) when asked.
    void Draw_In_View(Application& application, const Level& level, bool mirrored = false) const;
    // The rightmost x the picture may take: its right side at the level's
    // right edge.
    long long Right_End(Application& application, const Level& level) const;
    // The highest y a character may reach: the level's top edge.
    static int Level_Top(const Level& level);
    // A hit costs one strength once, however many ticks the hurt lasts:
    // the first call of a hurt takes it and restarts the timer; counted
    // remembers it until the hurt is over. True when it took one.
    bool Lose_Strength_Once(bool& counted);
    // The shape of a character that grows downwards (a pole out, a plant's
    // stem): its own shape, and when grown, pieces more pictures of the
    // given kind below it.
    void Get_Grown_Bump_Map(Rectangle& result, int number, Application& application, bool grown, long long pieces,
                            int piece_bitmap);
};

#endif
