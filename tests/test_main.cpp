// Every test runs against the real game library in its no-display mode:
// memory bitmaps, no screen, no timer, no sound device.

#include <cerrno>
#include <cstdlib>

#include <allegro.h>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        return 1;
    set_color_depth(32);
    std::srand(1);
    return RUN_ALL_TESTS();
}
