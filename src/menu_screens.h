#ifndef BLUEJAY_MENU_SCREENS_H
#define BLUEJAY_MENU_SCREENS_H

#include <string>
#include <vector>

#include <allegro.h>

#include "level_list.h"
#include "menu.h"
#include "menu_controls.h"

class Application;

// The game's menus: the title menu over the demo, the pause menu over the
// frozen game, and the screens both lead to (the levels, the options, the
// keys and gamepad buttons, the list of controls). One screen shows at a
// time; Esc goes back to the one it was opened from. Every change of an
// option takes effect at once and is written to the settings file.
class Menu_Screens
{
public:
    enum Screen
    {
        CLOSED,
        TITLE,
        PAUSE,
        LEVELS,
        OPTIONS,
        KEYS,
        GAMEPAD,
        CONTROLS
    };
    enum Action
    {
        NOTHING,
        START,
        CONTINUE,
        START_LEVEL,
        RESUME,
        RESTART_LEVEL,
        QUIT_TO_TITLE,
        QUIT
    };
    struct Outcome
    {
        Action action = NOTHING;
        int level = 0;
    };

    // The title menu's entries, in order (Continue only with progress).
    static constexpr int TITLE_TOP = 92;

    Menu menu;
    Level_List level_list;

    Menu_Screens() = default;
    ~Menu_Screens();
    Menu_Screens(const Menu_Screens&) = delete;
    Menu_Screens& operator=(const Menu_Screens&) = delete;

    // The title menu, "Start" highlighted.
    void Open_Title(Application& application);
    // The pause menu over the picture on the canvas now.
    void Open_Pause(Application& application);
    // Closes every screen; a pause menu puts the frozen picture back.
    void Close(Application& application);
    bool Is_Open() const { return !stack.empty(); }
    Screen Current() const { return stack.empty() ? CLOSED : stack.back(); }
    bool At_Title_Root() const { return Current() == TITLE; }
    bool Start_Highlighted() const;
    // One tick of the screen shown: the player's commands, and what the
    // game is to do.
    Outcome Tick(Application& application);
    // The screen into the canvas (over the frozen picture for the pause
    // menu and its screens).
    void Draw(Application& application);

    // Puts a value in the settings file, saying so when it cannot.
    static void Remember(Application& application, const char* section, const std::string& key,
                         const std::string& value);
    // The window scales that fit on the desktop (2 to the largest).
    static int Largest_Offered_Scale();

private:
    std::vector<Screen> stack;
    // What each entry of the menu does.
    std::vector<int> ids;
    // The highlight of each screen under the one shown.
    std::vector<int> highlights;
    Menu_Controls controls;
    // The picture the pause menu stands over.
    BITMAP* backdrop = nullptr;
    // The action whose key or button is being asked for, or -1.
    int waiting_for = -1;
    bool keys_before[KEY_MAX] = {};
    int buttons_before = 0;

    void Push(Application& application, Screen screen);
    void Back(Application& application);
    // Fills the menu for the screen shown, keeping the highlight.
    void Build(Application& application);
    Outcome Choose(Application& application, int entry, int step);
    void Change_Option(Application& application, int option, int step);
    void Ask_For_Key(Application& application, int action);
    void Ask_For_Button(Application& application, int action);
    void Take_Key(Application& application);
    void Take_Button(Application& application);
};

#endif
