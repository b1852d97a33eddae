#ifndef BLUEJAY_SETTINGS_H
#define BLUEJAY_SETTINGS_H

#include <string>

#include "application.h"
#include "play_options.h"

// The player's settings, read from bluejay.cfg: sections in brackets, one
// "key = value" a line, comments after # or ; (on a line of their own or
// after a value):
//
//   [window]
//   scale = 3            # start in a window of 2, 3 or 4 times 256 x 224
//   [display]
//   fullscreen = aspect  # stretch, aspect or integer
//   [sound]
//   music = 200          # 0 to 255
//   effects = 255
//   mute = no            # F9 turns all sound off
//   [keys]
//   jump = W             # left right jump down fly give_up pause enter quit
//   [gamepad]
//   jump = 0             # a button number; jump fly enter pause
//   [assist]             # see play_options.h: speed, endless_flight,
//   speed = 100          # invincible, no_ghost_push
//   [display]
//   timer = no           # also status_backing = no, language = de
//   [editor]
//   keep_palette = yes   # 2 and 3 go back to the mode's last type, not its first
//   [data]
//   directory = /home/me/bluejay
//
// An unknown section or key, or a bad value, is named in problem with the
// file, the line and what is accepted, and the default stays. The game only
// reads the file; the library's own configuration (allegro.cfg) is left as
// it was.
class Settings
{
public:
    static constexpr int FULL_SCREEN = 0;
    static constexpr int MIN_WINDOW_SCALE = 2;
    static constexpr int MAX_WINDOW_SCALE = 4;
    static constexpr int MAX_VOLUME = 255;
    static constexpr int MAX_LINE_LENGTH = 4096;

    int window_scale = FULL_SCREEN;
    int fullscreen_shape = Screen_Area::STRETCH;
    int music_volume = MAX_VOLUME;
    int effects_volume = MAX_VOLUME;
    bool muted = false;
    int game_keys[Application::NUMBER_OF_GAME_ACTIONS];
    int gamepad_buttons[Application::NUMBER_OF_GAMEPAD_ACTIONS];
    bool keep_palette = false;
    Play_Options play_options;
    // The language of the game's texts ("de"), or empty for the one the
    // environment asks for.
    std::string language;
    std::string data_directory;
    // What was wrong in the file, one line a problem, or empty.
    std::string problem;

    Settings();

    // Reads a settings file over the values held. False when the file
    // cannot be read.
    bool Load(const char* path);
    // Hands the display, sound, key and gamepad settings to the game.
    void Apply(Application& application) const;
};

// The key code of a key's name as the settings write it ("A", "SPACE",
// "LEFT", "F1"), in any case; 0 when no key has the name.
int Key_Code_For_Name(const std::string& name);

// The name the settings give a key ("SPACE", "W"); empty for a key no
// action can be put on.
std::string Key_Name_For_Code(int key_code);

// The settings file to read: bluejay.cfg in $XDG_CONFIG_HOME/bluejay/ (else
// ~/.config/bluejay/), else beside the program. Empty when there is none.
std::string Find_Settings_File();

// Where the game writes the player's choices: the settings file it read,
// else bluejay.cfg in $XDG_CONFIG_HOME/bluejay/ (else ~/.config/bluejay/).
// Empty without a home.
std::string Settings_File_To_Write();

// The folder of the running program, or empty.
std::string Program_Directory();

#endif
