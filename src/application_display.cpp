// The picture on the screen and the keys around it: the canvas in its
// full-screen shape, full screen and window at the press of a key, the
// volume, screenshots and the short notices over the picture that say what
// these did.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <unistd.h>

#include <png.h>

#include "application.h"
#include "safe_file.h"
#include "user_files.h"
#include "window_system.h"
#include "translation.h"

namespace
{
// The callbacks main registers, registered again after every change of the
// graphics mode (the library may drop them with the old mode).
void (*registered_switch_in)() = nullptr;
void (*registered_switch_out)() = nullptr;
void (*registered_close_button)() = nullptr;

int Clamp(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}

// Each of these acts once a press: F7, F8, F9, F11, F12 and Enter (with Alt).
bool Pressed(bool* held, int key_code)
{
    bool down = key[key_code] != 0;
    bool fresh = down && !held[key_code];
    held[key_code] = down;
    return fresh;
}
} // namespace

bool Set_Screen_Mode(bool full_screen, int window_scale)
{
    if (!full_screen)
        return set_gfx_mode(GFX_AUTODETECT_WINDOWED, Application::CANVAS_WIDTH * window_scale,
                            Application::CANVAS_HEIGHT * window_scale, 0, 0) == 0;
    int width = 0, height = 0;
    if (get_desktop_resolution(&width, &height) != 0 || width <= 0 || height <= 0)
    {
        width = Application::CANVAS_WIDTH * 3;
        height = Application::CANVAS_HEIGHT * 3;
    }
    if (set_gfx_mode(GFX_AUTODETECT, width, height, 0, 0) == 0)
        return true;
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, width, height, 0, 0) == 0)
        return true;
    return set_gfx_mode(GFX_AUTODETECT_WINDOWED, Application::CANVAS_WIDTH * 3, Application::CANVAS_HEIGHT * 3, 0,
                        0) == 0;
}

void Register_Window_Callbacks(void (*switch_in)(), void (*switch_out)(), void (*close_button)())
{
    registered_switch_in = switch_in;
    registered_switch_out = switch_out;
    registered_close_button = close_button;
    set_window_title("Bluejay");
    set_close_button_callback(close_button);
    // A full-screen console game can be paused by the library itself; in a
    // window on a desktop it runs on in the background, and the game holds
    // itself from the switch out to the switch back in.
    if (set_display_switch_mode(SWITCH_PAUSE) != 0)
    {
        set_display_switch_mode(SWITCH_BACKGROUND);
        if (switch_out != nullptr)
            set_display_switch_callback(SWITCH_OUT, switch_out);
    }
    if (switch_in != nullptr)
        set_display_switch_callback(SWITCH_IN, switch_in);
}

std::string Screenshot_Folder()
{
    const char* pictures = std::getenv("XDG_PICTURES_DIR");
    if (pictures != nullptr && pictures[0] == '/')
        return pictures;
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0')
        return std::string();
    return std::string(home) + "/Pictures/bluejay";
}

Screen_Area Application::Canvas_Area() const
{
    if (screen == nullptr)
        return Screen_Area();
    // A window is a whole multiple of the canvas: every shape fills it.
    return Screen_Area::For_Screen(SCREEN_W, SCREEN_H, full_screen ? fullscreen_shape : Screen_Area::STRETCH);
}

void Application::Display_Scene()
{
    // Without a graphics mode (headless runs) there is no screen to show.
    if (screen == nullptr || canvas == nullptr)
        return;
    BITMAP* picture = canvas;
    if (notice_ticks > 0 && notice_canvas != nullptr)
    {
        // The notice goes on a copy: the canvas stays the game's own.
        blit(canvas, notice_canvas, 0, 0, 0, 0, CANVAS_WIDTH, CANVAS_HEIGHT);
        int line_height = text_height(font);
        int top = CANVAS_HEIGHT - 2 * line_height - 2;
        rectfill(notice_canvas, 0, top, CANVAS_WIDTH - 1, top + line_height + 3, makecol(0, 0, 0));
        textout_centre_ex(notice_canvas, font, notice, CANVAS_WIDTH / 2, top + 2, makecol(255, 255, 255), -1);
        picture = notice_canvas;
    }
    // No wait for a retrace: in a window the library only counts pretend
    // retraces on its timer thread, which wakes with the 30 ms tick timer,
    // so the wait lasted until the next tick (about 28 ms of the 30) and
    // every frame came a tick late. The canvas is scaled pixel for pixel,
    // unfiltered; the bars beside it were cleared with the mode.
    // On an X11 screen only the canvas rows that changed since the last
    // frame are written, straight into the screen's lines, and of each run
    // of them only the columns that changed go to the window, as one update
    // instead of one a line; nothing changed (a still title, a paused game,
    // an open menu, the editor left alone), nothing is sent.
    Screen_Area area = Canvas_Area();
    acquire_screen();
    if (!Window_System::Screen_Takes_Areas())
    {
        canvas_stretch.Show(picture, screen, area.x, area.y, area.width, area.height);
    }
    else if (canvas_stretch.Show_Changes(picture, screen, area.x, area.y, area.width, area.height))
    {
        for (const Canvas_Stretch::Rows& rows : canvas_stretch.Changed_Rows())
            Window_System::Send_Area(rows.left, rows.first, rows.width, rows.count);
        Window_System::Send_Off();
    }
    release_screen();
}

void Application::Redraw_Screen()
{
    if (screen == nullptr)
        return;
    acquire_screen();
    clear_bitmap(screen);
    release_screen();
    canvas_stretch.Forget_Shown();
    Display_Scene();
}

bool Application::Toggle_Full_Screen()
{
    bool wanted = !full_screen;
    bool changed = Set_Screen_Mode(wanted, window_scale);
    if (changed)
        full_screen = wanted;
    else
        Set_Screen_Mode(full_screen, window_scale);
    Register_Window_Callbacks(registered_switch_in, registered_switch_out, registered_close_button);
    // The keys held through the change may never see their release.
    for (int code : {KEY_F11, KEY_ALT, KEY_ALTGR, KEY_ENTER})
        key[code] = 0;
    Redraw_Screen();
    return changed;
}

void Application::Set_Volumes(int music, int effects)
{
    music_volume = Clamp(music, 0, MAX_VOLUME);
    effects_volume = Clamp(effects, 0, MAX_VOLUME);
    Apply_Volumes();
}

void Application::Apply_Volumes()
{
    // The effects' volume goes with each sample played (Play_Sound); the
    // whole mixer is silenced only by the mute.
    if (digi_driver == nullptr)
        return;
    set_volume(muted ? 0 : MAX_VOLUME, muted ? 0 : music_volume * FULL_MIDI_VOLUME / MAX_VOLUME);
}

void Application::Show_Notice(const char* text)
{
    std::snprintf(notice, sizeof(notice), "%s", text);
    notice_ticks = NOTICE_TICKS;
}

std::string Application::Save_Screenshot(const std::string& folder)
{
    if (canvas == nullptr || folder.empty() || !Make_Directories(folder))
        return std::string();
    char stamp[32];
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof(stamp), "%Y-%m-%d_%H-%M-%S", &local);
    const int width = CANVAS_WIDTH * SCREENSHOT_SCALE;
    const int height = CANVAS_HEIGHT * SCREENSHOT_SCALE;
    // Each canvas pixel is read once and written as a square of the scale.
    std::string pixels(static_cast<size_t>(width) * height * 3, '\0');
    const int depth = bitmap_color_depth(canvas);
    for (int canvas_y = 0; canvas_y < CANVAS_HEIGHT; canvas_y++)
    {
        for (int canvas_x = 0; canvas_x < CANVAS_WIDTH; canvas_x++)
        {
            int colour = getpixel(canvas, canvas_x, canvas_y);
            const char rgb[3] = {static_cast<char>(getr_depth(depth, colour)),
                                 static_cast<char>(getg_depth(depth, colour)),
                                 static_cast<char>(getb_depth(depth, colour))};
            for (int dy = 0; dy < SCREENSHOT_SCALE; dy++)
                for (int dx = 0; dx < SCREENSHOT_SCALE; dx++)
                {
                    size_t at = (static_cast<size_t>(canvas_y * SCREENSHOT_SCALE + dy) * width +
                                 canvas_x * SCREENSHOT_SCALE + dx) * 3;
                    pixels.replace(at, 3, rgb, 3);
                }
        }
    }

    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    bool encoded = png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), width * 3, nullptr) != 0;
    std::string png(encoded ? size : 0, '\0');
    encoded = encoded && png_image_write_to_memory(&image, &png[0], &size, 0, pixels.data(), width * 3, nullptr) != 0;
    png_image_free(&image);
    png.resize(encoded ? size : 0);
    if (!encoded)
        return std::string();
    // Two in one second get a number. A new file is always made: nothing
    // already there, not even a link to nothing, is written through.
    Safe_File file;
    for (int number = 1; number < 100; number++)
    {
        std::string path =
            folder + "/bluejay_" + stamp + (number == 1 ? std::string() : "_" + std::to_string(number)) + ".png";
        if (file.Create(path, png))
            return path;
        if (file.error != EEXIST)
            break;
    }
    return std::string();
}

void Application::Handle_Player_Keys()
{
    // The window's events, when the game takes them in itself, come here,
    // once a tick just before the keys are read.
    Window_System::Take_Events();
    if (keyboard_driver != nullptr && keyboard_needs_poll())
        poll_keyboard();
    if (notice_ticks > 0)
        notice_ticks--;
    if (!editing && search_gamepads && num_joysticks <= 0 && ++gamepad_search_ticks >= GAMEPAD_SEARCH_TICKS)
    {
        gamepad_search_ticks = 0;
        Find_Gamepad();
    }

    char text[MAX_NOTICE_LENGTH];
    bool music_down = Pressed(player_keys_held, KEY_F7);
    bool music_up = Pressed(player_keys_held, KEY_F8);
    if (music_down || music_up)
    {
        Set_Volumes(music_volume + (music_up ? VOLUME_STEP : -VOLUME_STEP), effects_volume);
        std::snprintf(text, sizeof(text), muted ? Translate("Music %d (muted: F9)") : Translate("Music %d"), music_volume);
        Show_Notice(text);
    }
    if (Pressed(player_keys_held, KEY_F9))
    {
        muted = !muted;
        Apply_Volumes();
        Show_Notice(muted ? Translate("Sound off") : Translate("Sound on"));
    }
    bool alt_enter = Pressed(player_keys_held, KEY_ENTER) && (key[KEY_ALT] || key[KEY_ALTGR]);
    if (Pressed(player_keys_held, KEY_F11) || alt_enter)
    {
        if (!Toggle_Full_Screen())
            Show_Notice(full_screen ? Translate("No window can be opened") : Translate("No full screen can be set"));
        player_keys_held[KEY_ENTER] = false;
        player_keys_held[KEY_F11] = false;
    }
    if (Pressed(player_keys_held, KEY_F12))
    {
        std::string folder = Screenshot_Folder();
        std::string path = Save_Screenshot(folder);
        // The canvas has room for a short line; the whole path goes to the
        // console.
        Show_Notice(path.empty() ? Translate("Cannot write the screenshot") : Translate("Screenshot saved"));
        if (path.empty())
            std::fprintf(stderr, "Cannot write a screenshot into %s\n", folder.empty() ? "a pictures folder" : folder.c_str());
        else
            std::fprintf(stderr, "Screenshot saved: %s\n", path.c_str());
    }
}
