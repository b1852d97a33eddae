#ifndef BLUEJAY_SETTINGS_H
#define BLUEJAY_SETTINGS_H

#include <string>

// The player's settings, read from bluejay.cfg, a file in the game library's
// own configuration format:
//
//   [window]
//   # A window of 2, 3 or 4 times 256 x 224 pixels. Left out (or 0): full
//   # screen at the desktop's size and colour depth.
//   scale = 3
//
//   [editor]
//   # Whether 2 and 3 go back to the type last chosen in that mode (yes)
//   # or to the mode's first type (no, the default).
//   keep_palette = yes
//
//   [data]
//   # The folder that holds data/, when it is not found by itself.
//   directory = /home/me/bluejay
//
// The game only reads the file; the library's own configuration (allegro.cfg)
// is left as it was.
class Settings
{
public:
    static constexpr int FULL_SCREEN = 0;
    static constexpr int MIN_WINDOW_SCALE = 2;
    static constexpr int MAX_WINDOW_SCALE = 4;

    int window_scale = FULL_SCREEN;
    std::string data_directory;
    bool keep_palette = false;
    // What was wrong in the file, one line, or empty.
    std::string problem;

    // Reads a settings file; a value out of range keeps its default and is
    // named in problem. False when the file cannot be read.
    bool Load(const char* path);
};

// The settings file to read: bluejay.cfg in $XDG_CONFIG_HOME/bluejay/ (else
// ~/.config/bluejay/), else beside the program. Empty when there is none.
std::string Find_Settings_File();

// The folder of the running program, or empty.
std::string Program_Directory();

#endif
