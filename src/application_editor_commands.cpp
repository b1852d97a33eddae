// The editor's commands as one table: for each command its keys, the group
// that decides when it may act (the repeat delay, the modes, carrying or
// not), its line of help and the small function that carries it out. A tick
// walks the table in order; the help over the canvas is drawn from the same
// table, so the keys and their help cannot drift apart.

#include <allegro.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "application.h"
#include "edit_history.h"
#include "editor_mouse.h"
#include "editor_selection.h"
#include "level.h"
#include "translation.h"

namespace
{
// Modifier keys a further command needs held (and no others).
constexpr int NO_MODIFIERS = 0;
constexpr int CTRL = 1;
constexpr int SHIFT = 2;

// The modes a group acts in, one bit per mode.
constexpr int SCREEN = 1 << Application::SCREEN_MODE;
constexpr int OBJECTS = (1 << Application::CHARACTER_MODE) | (1 << Application::PLATFORM_MODE);
constexpr int ALL_MODES = SCREEN | OBJECTS;

// Whether a group needs nothing carried, a record carried, or either.
constexpr int ANY_STATE = 0;
constexpr int CURSOR_STATE = 1;
constexpr int CARRYING_STATE = 2;

// A group's gate: commands of the group act only when key_delay has reached
// it, tested once when the tick reaches the group. SAME_GATE takes the
// answer of the group before.
constexpr unsigned int FREE = 0;
constexpr unsigned int SAME_GATE = ~0u;

// The groups, in the order a tick reaches them.
constexpr int QUIT_GROUP = 0;
constexpr int FREE_GROUP = 1;
constexpr int LEVEL_GROUP = 2;
constexpr int SCROLL_GROUP = 3;
constexpr int SCREEN_GROUP = 4;
constexpr int PALETTE_GROUP = 5;
constexpr int CURSOR_GROUP = 6;
constexpr int CARRY_GROUP = 7;
constexpr int HISTORY_GROUP = 8;
constexpr int PRESS_GROUP = 9;
constexpr int SCREEN_SCROLL_GROUP = 10;
constexpr int SELECTION_GROUP = 11;

// Command flags.
constexpr int EVERY_TICK = 1; // runs in every tick and looks at its key itself
constexpr int ENDS_GROUP = 2; // the rest of its group waits for the next tick
constexpr int ON_PRESS = 4;   // acts once per press, not while held
constexpr int IN_HELP = 8;    // acts while the help is shown
constexpr int IN_PLAY = 16;   // acts while a level is tried
constexpr int HOLD_REPEAT = 32; // with ON_PRESS: repeats too, but only after a clear hold

// A key held this long (half a second) starts to repeat, every so many
// ticks.
constexpr int HOLD_TICKS = 17;
constexpr int HOLD_REPEAT_TICKS = 8;

using Run = void (*)(Application&);

struct Command_Group
{
    unsigned int gate;
    int modes;
    int state;
    // Runs after the group's commands whenever the group was open.
    Run finish;
};

struct Editor_Command
{
    int group;
    // The keys and the line of help; commands sharing both share one line.
    const char* keys;
    const char* help;
    // A key of the signal word, or else a further key of the keyboard.
    int signal;
    int key_code;
    int modifiers;
    int flags;
    Run run;
};

Level& Current(Application& editor)
{
    return *editor.levels[editor.current_level];
}

void Deselect(Application& editor)
{
    editor.selected_object = Application::NO_OBJECT_SELECTED;
}

bool Characters(const Application& editor)
{
    return editor.editor_mode == Application::CHARACTER_MODE;
}

Record_Table& Records(Application& editor)
{
    return Characters(editor) ? Current(editor).character_records : Current(editor).platform_records;
}

int& Count(Application& editor)
{
    return Characters(editor) ? Current(editor).number_of_characters : Current(editor).number_of_platforms;
}

// Quitting and the free commands.

void Quit(Application& editor)
{
    // After a quit that could not save, only a fresh press of Q quits.
    if (editor.Editor_Quit_Requested())
        editor.quit = true;
}

// S again after the changed-on-disk warning writes over the file.
void Save(Application& editor)
{
    // A save says so for two seconds, unless it warns of something.
    if (Current(editor).Changed())
        editor.editor_notice_ticks = 0;
    if (editor.Save_Current_Level(true) && editor.editor_notice_ticks == 0)
    {
        editor.Set_Editor_Notice(Translate("Saved level %i"), editor.current_level);
        editor.editor_notice_ticks = Application::SAVED_NOTICE_TICKS;
    }
}

void Quit_Without_Saving(Application& editor)
{
    editor.Quit_Without_Saving();
}

// Ctrl+R, and R while the level's file is said to have changed on disk.
void Reload(Application& editor)
{
    Deselect(editor);
    editor.Reload_Level(editor.current_level, true);
}

void Reload_Changed(Application& editor)
{
    if (editor.disk_conflicts[editor.current_level])
        Reload(editor);
}

void Screen_Mode(Application& editor)
{
    editor.editor_mode = Application::SCREEN_MODE;
    Deselect(editor);
}

void Character_Mode(Application& editor)
{
    editor.editor_mode = Application::CHARACTER_MODE;
    editor.current_object_type = editor.keep_palette ? editor.last_character_type : Level::BLACK_BIRD;
    Deselect(editor);
}

void Platform_Mode(Application& editor)
{
    editor.editor_mode = Application::PLATFORM_MODE;
    editor.current_object_type = editor.keep_palette ? editor.last_platform_type : Level::BROWN_BLOCK;
    Deselect(editor);
}

// Switching levels saves the one being left.

void Switch_Level(Application& editor, int step)
{
    editor.Save_Current_Level();
    editor.current_level = std::clamp(editor.current_level + step, 0, Application::NUMBER_OF_LEVELS - 1);
    editor.key_delay = 0;
    Deselect(editor);
    editor.Look_At_Level_On_Disk(editor.current_level);
    editor.Stop_Music();
}

template <int STEP>
void Switch_Level_By(Application& editor)
{
    Switch_Level(editor, STEP);
}


// Scrolling drops what is carried.

void Scroll(Application& editor, int dx, int dy)
{
    Current(editor).scroll_x += dx;
    Current(editor).scroll_y += dy;
    Deselect(editor);
    editor.key_delay = 0;
}


template <int DX, int DY>
void Scroll_By(Application& editor)
{
    Scroll(editor, DX, DY);
}

void First_Screen(Application& editor)
{
    Scroll(editor, -Current(editor).scroll_x, -Current(editor).scroll_y);
}

void Keep_View_In_Level(Application& editor)
{
    Level& level = Current(editor);
    level.scroll_x = std::clamp(level.scroll_x, 0, Application::MAX_SCROLL_X);
    level.scroll_y = std::clamp(level.scroll_y, Application::MIN_SCROLL_Y, 0);
}

// Screen mode: the pointer of the screen at the left edge, the background
// and the music.

int& Pointer(Application& editor)
{
    Level& level = Current(editor);
    return level.pointers[std::clamp(level.scroll_x / Application::CANVAS_WIDTH, 0, Level::NUMBER_OF_POINTERS - 1)];
}

void Pointer_Down(Application& editor)
{
    int& pointer = Pointer(editor);
    pointer = pointer > 0 ? pointer - 1 : 0;
    editor.key_delay = 0;
}

void Pointer_Up(Application& editor)
{
    int& pointer = Pointer(editor);
    pointer = pointer < Application::NUMBER_OF_LEVELS - 1 ? pointer + 1 : Application::NUMBER_OF_LEVELS - 1;
    editor.key_delay = 0;
}

void Background_Down(Application& editor)
{
    int& background = Current(editor).background;
    background = background > 0 ? background - 1 : 0;
    editor.key_delay = 0;
}

void Background_Up(Application& editor)
{
    int& background = Current(editor).background;
    background = background < Application::BLACK_BACKGROUND_BM ? background + 1 : Application::BLACK_BACKGROUND_BM;
    editor.key_delay = 0;
}

// B and N also replay the level's tune, clamped or not.
void Music_Down(Application& editor)
{
    int& music = Current(editor).music;
    music = music > 0 ? music - 1 : 0;
    editor.key_delay = 0;
    editor.Play_Music(music, false);
}

void Music_Up(Application& editor)
{
    int& music = Current(editor).music;
    music = music < Application::LAST_EDITOR_MUSIC ? music + 1 : Application::LAST_EDITOR_MUSIC;
    editor.key_delay = 0;
    editor.Play_Music(music, false);
}

void Keep_Screen_Settings(Application& editor)
{
    Pointer(editor) = std::clamp(Pointer(editor), 0, Application::NUMBER_OF_LEVELS - 1);
    Level& level = Current(editor);
    level.background = std::clamp(level.background, Application::GRASS_BACKGROUND_BM,
                                  Application::BLACK_BACKGROUND_BM);
}

// The palette.

void Type_Down(Application& editor)
{
    editor.current_object_type--;
    editor.key_delay = 0;
}

void Type_Up(Application& editor)
{
    editor.current_object_type++;
    editor.key_delay = 0;
}

void Keep_Type_In_Palette(Application& editor)
{
    int type = std::clamp(editor.current_object_type, Application::First_Object_Type(editor.editor_mode),
                          Application::Last_Object_Type(editor.editor_mode));
    editor.current_object_type = type;
    if (Characters(editor))
        editor.last_character_type = type;
    else
        editor.last_platform_type = type;
}

// The cursor, and K where nothing is carried.

void Move_Cursor(Application& editor, int dx, int dy)
{
    editor.cursor_x = std::clamp(editor.cursor_x + dx, 0, Application::MAX_CURSOR_X);
    editor.cursor_y = std::clamp(editor.cursor_y + dy, 0, Application::MAX_CURSOR_Y);
    editor.key_delay = 0;
}


template <int DX, int DY>
void Move_Cursor_By(Application& editor)
{
    Move_Cursor(editor, DX, DY);
}

void Pick_Up_Or_Place(Application& editor)
{
    editor.Pick_Up_Or_Place();
}

// A carried record.

void Drop(Application& editor)
{
    Deselect(editor);
    editor.key_delay = 0;
}

void Delete(Application& editor)
{
    // The last record takes the deleted one's place.
    int& count = Count(editor);
    Map_Record& record = *Records(editor)[editor.selected_object];
    Map_Record& last_record = *Records(editor)[count - 1];
    record.type = last_record.type;
    record.x = last_record.x;
    record.y = last_record.y;
    count--;
    Deselect(editor);
    editor.key_delay = 0;
}

void Move_Carried(Application& editor, int dx, int dy)
{
    if (editor.selected_object == Application::NO_OBJECT_SELECTED)
        return;
    Map_Record& record = *Records(editor)[editor.selected_object];
    record.x += dx;
    record.y += dy;
    editor.key_delay = 0;
}


template <int DX, int DY>
void Move_Carried_By(Application& editor)
{
    Move_Carried(editor, DX, DY);
}

void Keep_Carried_In_View(Application& editor)
{
    // A carried object stays in view.
    if (editor.selected_object == Application::NO_OBJECT_SELECTED)
        return;
    Level& level = Current(editor);
    Map_Record& record = *Records(editor)[editor.selected_object];
    record.x = std::clamp(record.x, level.scroll_x, level.scroll_x + Application::MAX_CURSOR_X);
    record.y = std::clamp(record.y, level.scroll_y, level.scroll_y + Application::MAX_CURSOR_Y);
}

// Undo and redo.

void Undo(Application& editor)
{
    Deselect(editor);
    editor.key_delay = 0;
    editor.editor_selection->Clear();
    if (!editor.edit_history->Undo(editor.current_level, Current(editor)))
        editor.Set_Editor_Notice(Translate("Nothing to undo"));
    else if (editor.edit_history->has_place)
        editor.Show_Editor_Point(editor.edit_history->place_x, editor.edit_history->place_y);
}

void Redo(Application& editor)
{
    Deselect(editor);
    editor.key_delay = 0;
    editor.editor_selection->Clear();
    if (!editor.edit_history->Redo(editor.current_level, Current(editor)))
        editor.Set_Editor_Notice(Translate("Nothing to redo"));
    else if (editor.edit_history->has_place)
        editor.Show_Editor_Point(editor.edit_history->place_x, editor.edit_history->place_y);
}

// Trying the level, and the help.

void Test_Play(Application& editor)
{
    if (editor.test_play_level != nullptr)
        editor.End_Test_Play(Translate("Back from trying the level"));
    else
    {
        editor.Look_At_Level_On_Disk(editor.current_level);
        editor.Start_Test_Play();
    }
}

void Help(Application& editor)
{
    // F1 shows the first page, turns to the next, and closes after the last.
    char lines[Application::HELP_LINES][Application::EDITOR_LINE_LENGTH];
    int count = 0;
    editor.Editor_Help_Lines(lines, count, Application::HELP_LINES);
    if (!editor.editor_help_shown)
    {
        editor.editor_help_shown = true;
        editor.editor_help_page = 0;
    }
    else if ((editor.editor_help_page + 1) * Application::HELP_PAGE_LINES < count)
        editor.editor_help_page++;
    else
        editor.editor_help_shown = false;
}

void Escape(Application& editor)
{
    if (editor.editor_help_shown)
        editor.editor_help_shown = false;
    else if (editor.test_play_level != nullptr)
        editor.End_Test_Play(Translate("Back from trying the level"));
}

void Test_Play_From_Cursor(Application& editor)
{
    if (editor.test_play_level != nullptr)
        editor.End_Test_Play("Back from trying the level");
    else
        editor.Start_Test_Play(true);
}

// The selection and the clipboard.

// Where pasted objects go: the pointer's cell in the level.
void Pointer_Cell(Application& editor, long long& x, long long& y)
{
    x = static_cast<long long>(Current(editor).scroll_x) + editor.cursor_x;
    y = static_cast<long long>(Current(editor).scroll_y) + editor.cursor_y;
}

void Copy(Application& editor)
{
    editor.editor_selection->Copy(editor);
}

void Cut(Application& editor)
{
    editor.editor_selection->Cut(editor);
}

void Paste(Application& editor)
{
    long long x, y;
    Pointer_Cell(editor, x, y);
    editor.editor_selection->Paste(editor, x, y);
}

void Delete_Selection(Application& editor)
{
    editor.editor_selection->Delete(editor);
}

void Duplicate(Application& editor)
{
    editor.editor_selection->Duplicate(editor);
}

template <int DX, int DY>
void Move_Selection_By(Application& editor)
{
    editor.editor_selection->Move(editor, DX, DY);
}

// The view: the grid and the zoom.

void Toggle_Grid(Application& editor)
{
    editor.editor_grid_shown = !editor.editor_grid_shown;
}

void Zoom_Out(Application& editor)
{
    editor.Set_Editor_Zoom(editor.editor_zoom * 2);
}

void Zoom_In(Application& editor)
{
    editor.Set_Editor_Zoom(editor.editor_zoom / 2);
}

// The steps of the arrow keys and their Shift: 16 pixels, and a screen.
constexpr int STEP = Application::EDITOR_STEP;
constexpr int SCREEN_WIDTH = Application::CANVAS_WIDTH;
constexpr int SCREEN_HEIGHT = Application::CANVAS_HEIGHT;

const Command_Group GROUPS[] = {
    {FREE, ALL_MODES, ANY_STATE, nullptr},                                      // QUIT_GROUP
    {FREE, ALL_MODES, ANY_STATE, nullptr},                                      // FREE_GROUP
    {Application::COMMAND_REPEAT_TICKS, ALL_MODES, ANY_STATE, nullptr},         // LEVEL_GROUP
    {Application::SCROLL_REPEAT_TICKS, ALL_MODES, ANY_STATE, Keep_View_In_Level}, // SCROLL_GROUP
    {Application::COMMAND_REPEAT_TICKS, SCREEN, ANY_STATE, Keep_Screen_Settings}, // SCREEN_GROUP
    {Application::COMMAND_REPEAT_TICKS, OBJECTS, ANY_STATE, Keep_Type_In_Palette}, // PALETTE_GROUP
    {SAME_GATE, OBJECTS, CURSOR_STATE, nullptr},                                // CURSOR_GROUP
    {SAME_GATE, OBJECTS, CARRYING_STATE, Keep_Carried_In_View},                 // CARRY_GROUP
    {Application::COMMAND_REPEAT_TICKS, ALL_MODES, ANY_STATE, nullptr},         // HISTORY_GROUP
    {FREE, ALL_MODES, ANY_STATE, nullptr},                                      // PRESS_GROUP
    {FREE, ALL_MODES, ANY_STATE, Keep_View_In_Level},                           // SCREEN_SCROLL_GROUP
    {FREE, OBJECTS, ANY_STATE, nullptr},                                        // SELECTION_GROUP
};

const Editor_Command COMMANDS[] = {
    {QUIT_GROUP, "Q", TRANSLATE_LATER("save and quit"), Application::SIGNAL_QUIT, 0, NO_MODIFIERS, EVERY_TICK | IN_HELP, Quit},
    {QUIT_GROUP, TRANSLATE_LATER("Ctrl+Q"), TRANSLATE_LATER("quit without saving"), Application::SIGNAL_QUIT, 0, CTRL,
     ON_PRESS | IN_HELP, Quit_Without_Saving},
    {FREE_GROUP, "S", TRANSLATE_LATER("save the level"), Application::SIGNAL_SAVE, 0, NO_MODIFIERS, 0, Save},
    {FREE_GROUP, "1 2 3", TRANSLATE_LATER("screen/char/platform"), Application::SIGNAL_SCREEN_MODE, 0, NO_MODIFIERS, 0,
     Screen_Mode},
    {FREE_GROUP, "1 2 3", TRANSLATE_LATER("screen/char/platform"), Application::SIGNAL_CHARACTER_MODE, 0, NO_MODIFIERS, 0,
     Character_Mode},
    {FREE_GROUP, "1 2 3", TRANSLATE_LATER("screen/char/platform"), Application::SIGNAL_PLATFORM_MODE, 0, NO_MODIFIERS, 0,
     Platform_Mode},
    {LEVEL_GROUP, TRANSLATE_LATER("PgUp PgDn"), TRANSLATE_LATER("next/previous level"), Application::SIGNAL_LEVEL_UP, 0, NO_MODIFIERS, 0,
     Switch_Level_By<1>},
    {LEVEL_GROUP, TRANSLATE_LATER("PgUp PgDn"), TRANSLATE_LATER("next/previous level"), Application::SIGNAL_LEVEL_DOWN, 0, NO_MODIFIERS, 0,
     Switch_Level_By<-1>},
    {LEVEL_GROUP, TRANSLATE_LATER("Shift+PgUp/Dn"), TRANSLATE_LATER("10 levels on/back"), Application::SIGNAL_LEVEL_UP, 0, SHIFT, 0,
     Switch_Level_By<Application::LEVEL_JUMP>},
    {LEVEL_GROUP, TRANSLATE_LATER("Shift+PgUp/Dn"), TRANSLATE_LATER("10 levels on/back"), Application::SIGNAL_LEVEL_DOWN, 0, SHIFT, 0,
     Switch_Level_By<-Application::LEVEL_JUMP>},
    {SCROLL_GROUP, TRANSLATE_LATER("arrows"), TRANSLATE_LATER("scroll 16 pixels"), Application::SIGNAL_LEFT, 0, NO_MODIFIERS, 0, Scroll_By<-STEP, 0>},
    {SCROLL_GROUP, TRANSLATE_LATER("arrows"), TRANSLATE_LATER("scroll 16 pixels"), Application::SIGNAL_RIGHT, 0, NO_MODIFIERS, 0, Scroll_By<STEP, 0>},
    {SCROLL_GROUP, TRANSLATE_LATER("arrows"), TRANSLATE_LATER("scroll 16 pixels"), Application::SIGNAL_UP, 0, NO_MODIFIERS, 0, Scroll_By<0, -STEP>},
    {SCROLL_GROUP, TRANSLATE_LATER("arrows"), TRANSLATE_LATER("scroll 16 pixels"), Application::SIGNAL_DOWN, 0, NO_MODIFIERS, 0, Scroll_By<0, STEP>},
    {SCROLL_GROUP, TRANSLATE_LATER("Home"), TRANSLATE_LATER("back to screen 0"), 0, KEY_HOME, NO_MODIFIERS, 0, First_Screen},
    // One screen per press; a long hold goes on.
    {SCREEN_SCROLL_GROUP, TRANSLATE_LATER("Shift+arrows"), TRANSLATE_LATER("scroll a screen"), Application::SIGNAL_LEFT, 0, SHIFT,
     ON_PRESS | HOLD_REPEAT, Scroll_By<-SCREEN_WIDTH, 0>},
    {SCREEN_SCROLL_GROUP, TRANSLATE_LATER("Shift+arrows"), TRANSLATE_LATER("scroll a screen"), Application::SIGNAL_RIGHT, 0, SHIFT,
     ON_PRESS | HOLD_REPEAT, Scroll_By<SCREEN_WIDTH, 0>},
    {SCREEN_SCROLL_GROUP, TRANSLATE_LATER("Shift+arrows"), TRANSLATE_LATER("scroll a screen"), Application::SIGNAL_UP, 0, SHIFT,
     ON_PRESS | HOLD_REPEAT, Scroll_By<0, -SCREEN_HEIGHT>},
    {SCREEN_SCROLL_GROUP, TRANSLATE_LATER("Shift+arrows"), TRANSLATE_LATER("scroll a screen"), Application::SIGNAL_DOWN, 0, SHIFT,
     ON_PRESS | HOLD_REPEAT, Scroll_By<0, SCREEN_HEIGHT>},
    {SCREEN_SCROLL_GROUP, TRANSLATE_LATER("G"), TRANSLATE_LATER("grid and screen borders"), 0, KEY_G, NO_MODIFIERS, ON_PRESS, Toggle_Grid},
    {SCREEN_SCROLL_GROUP, TRANSLATE_LATER("- +"), TRANSLATE_LATER("zoom out/in (Ctrl+wheel)"), 0, KEY_MINUS, NO_MODIFIERS, ON_PRESS, Zoom_Out},
    {SCREEN_SCROLL_GROUP, TRANSLATE_LATER("- +"), TRANSLATE_LATER("zoom out/in (Ctrl+wheel)"), 0, KEY_MINUS_PAD, NO_MODIFIERS, ON_PRESS, Zoom_Out},
    {SCREEN_SCROLL_GROUP, TRANSLATE_LATER("- +"), TRANSLATE_LATER("zoom out/in (Ctrl+wheel)"), 0, KEY_EQUALS, NO_MODIFIERS, ON_PRESS, Zoom_In},
    {SCREEN_SCROLL_GROUP, TRANSLATE_LATER("- +"), TRANSLATE_LATER("zoom out/in (Ctrl+wheel)"), 0, KEY_EQUALS, SHIFT, ON_PRESS, Zoom_In},
    {SCREEN_SCROLL_GROUP, TRANSLATE_LATER("- +"), TRANSLATE_LATER("zoom out/in (Ctrl+wheel)"), 0, KEY_PLUS_PAD, NO_MODIFIERS, ON_PRESS, Zoom_In},
    {SCREEN_GROUP, "Z X", TRANSLATE_LATER("pipe pointer -/+"), Application::SIGNAL_SCROLL_DOWN_1, 0, NO_MODIFIERS, 0,
     Pointer_Down},
    {SCREEN_GROUP, "Z X", TRANSLATE_LATER("pipe pointer -/+"), Application::SIGNAL_SCROLL_UP_1, 0, NO_MODIFIERS, 0, Pointer_Up},
    {SCREEN_GROUP, "C V", TRANSLATE_LATER("background -/+"), Application::SIGNAL_SCROLL_DOWN_2, 0, NO_MODIFIERS, 0,
     Background_Down},
    {SCREEN_GROUP, "C V", TRANSLATE_LATER("background -/+"), Application::SIGNAL_SCROLL_UP_2, 0, NO_MODIFIERS, 0, Background_Up},
    {SCREEN_GROUP, "B N", TRANSLATE_LATER("music -/+ and play"), Application::SIGNAL_SCROLL_DOWN_3, 0, NO_MODIFIERS, 0,
     Music_Down},
    {SCREEN_GROUP, "B N", TRANSLATE_LATER("music -/+ and play"), Application::SIGNAL_SCROLL_UP_3, 0, NO_MODIFIERS, 0, Music_Up},
    {PALETTE_GROUP, "Z X", TRANSLATE_LATER("previous/next type"), Application::SIGNAL_SCROLL_DOWN_1, 0, NO_MODIFIERS, 0,
     Type_Down},
    {PALETTE_GROUP, "Z X", TRANSLATE_LATER("previous/next type"), Application::SIGNAL_SCROLL_UP_1, 0, NO_MODIFIERS, 0, Type_Up},
    {CURSOR_GROUP, "I J L M", TRANSLATE_LATER("move the cursor"), Application::SIGNAL_CURSOR_UP, 0, NO_MODIFIERS, 0,
     Move_Cursor_By<0, -STEP>},
    {CURSOR_GROUP, "I J L M", TRANSLATE_LATER("move the cursor"), Application::SIGNAL_CURSOR_LEFT, 0, NO_MODIFIERS, 0,
     Move_Cursor_By<-STEP, 0>},
    {CURSOR_GROUP, "I J L M", TRANSLATE_LATER("move the cursor"), Application::SIGNAL_CURSOR_RIGHT, 0, NO_MODIFIERS, 0,
     Move_Cursor_By<STEP, 0>},
    {CURSOR_GROUP, "I J L M", TRANSLATE_LATER("move the cursor"), Application::SIGNAL_CURSOR_DOWN, 0, NO_MODIFIERS, 0,
     Move_Cursor_By<0, STEP>},
    {CURSOR_GROUP, "K", TRANSLATE_LATER("pick up or place"), Application::SIGNAL_SELECT, 0, NO_MODIFIERS, 0, Pick_Up_Or_Place},
    {CARRY_GROUP, "K", TRANSLATE_LATER("drop what is carried"), Application::SIGNAL_SELECT, 0, NO_MODIFIERS, ENDS_GROUP, Drop},
    {CARRY_GROUP, "D", TRANSLATE_LATER("delete what is carried"), Application::SIGNAL_DELETE, 0, NO_MODIFIERS, 0, Delete},
    {CARRY_GROUP, "I J L M", TRANSLATE_LATER("move what is carried"), Application::SIGNAL_CURSOR_UP, 0, NO_MODIFIERS, 0,
     Move_Carried_By<0, -STEP>},
    {CARRY_GROUP, "I J L M", TRANSLATE_LATER("move what is carried"), Application::SIGNAL_CURSOR_LEFT, 0, NO_MODIFIERS, 0,
     Move_Carried_By<-STEP, 0>},
    {CARRY_GROUP, "I J L M", TRANSLATE_LATER("move what is carried"), Application::SIGNAL_CURSOR_RIGHT, 0, NO_MODIFIERS, 0,
     Move_Carried_By<STEP, 0>},
    {CARRY_GROUP, "I J L M", TRANSLATE_LATER("move what is carried"), Application::SIGNAL_CURSOR_DOWN, 0, NO_MODIFIERS, 0,
     Move_Carried_By<0, STEP>},
    {HISTORY_GROUP, TRANSLATE_LATER("Ctrl+Z"), TRANSLATE_LATER("undo"), Application::SIGNAL_SCROLL_DOWN_1, 0, CTRL, 0, Undo},
    {HISTORY_GROUP, TRANSLATE_LATER("Ctrl+Y"), TRANSLATE_LATER("redo"), 0, KEY_Y, CTRL, 0, Redo},
    {HISTORY_GROUP, TRANSLATE_LATER("Ctrl+Shift+Z"), TRANSLATE_LATER("redo"), Application::SIGNAL_SCROLL_DOWN_1, 0, CTRL | SHIFT, 0, Redo},
    {PRESS_GROUP, "T", TRANSLATE_LATER("try the level"), 0, KEY_T, NO_MODIFIERS, ON_PRESS | IN_PLAY, Test_Play},
    {PRESS_GROUP, TRANSLATE_LATER("Ctrl+R"), TRANSLATE_LATER("reload from disk"), 0, KEY_R, CTRL, ON_PRESS,
     Reload},
    {PRESS_GROUP, "R", TRANSLATE_LATER("reload if changed"), 0, KEY_R, NO_MODIFIERS, ON_PRESS, Reload_Changed},
    {PRESS_GROUP, TRANSLATE_LATER("Shift+T"), TRANSLATE_LATER("try from the cursor"), 0, KEY_T, SHIFT, ON_PRESS | IN_PLAY, Test_Play_From_Cursor},
    {PRESS_GROUP, "F1", TRANSLATE_LATER("show/hide this help"), 0, KEY_F1, NO_MODIFIERS, ON_PRESS | IN_HELP, Help},
    {PRESS_GROUP, "Esc", TRANSLATE_LATER("close help, stop trying"), 0, KEY_ESC, NO_MODIFIERS, ON_PRESS | IN_HELP | IN_PLAY,
     Escape},
    {SELECTION_GROUP, TRANSLATE_LATER("Ctrl+C/X"), TRANSLATE_LATER("copy/cut the selection"), Application::SIGNAL_SCROLL_DOWN_2, 0, CTRL,
     ON_PRESS, Copy},
    {SELECTION_GROUP, TRANSLATE_LATER("Ctrl+C/X"), TRANSLATE_LATER("copy/cut the selection"), Application::SIGNAL_SCROLL_UP_1, 0, CTRL, ON_PRESS,
     Cut},
    {SELECTION_GROUP, TRANSLATE_LATER("Ctrl+V"), TRANSLATE_LATER("paste at the pointer"), Application::SIGNAL_SCROLL_UP_2, 0, CTRL, ON_PRESS, Paste},
    {SELECTION_GROUP, TRANSLATE_LATER("Ctrl+D"), TRANSLATE_LATER("duplicate beside"), Application::SIGNAL_DELETE, 0, CTRL, ON_PRESS, Duplicate},
    {SELECTION_GROUP, TRANSLATE_LATER("Delete"), TRANSLATE_LATER("delete the selection"), 0, KEY_DEL, NO_MODIFIERS, ON_PRESS, Delete_Selection},
    {SELECTION_GROUP, TRANSLATE_LATER("Ctrl+arrows"), TRANSLATE_LATER("move the selection"), Application::SIGNAL_LEFT, 0, CTRL, ON_PRESS,
     Move_Selection_By<-STEP, 0>},
    {SELECTION_GROUP, TRANSLATE_LATER("Ctrl+arrows"), TRANSLATE_LATER("move the selection"), Application::SIGNAL_RIGHT, 0, CTRL, ON_PRESS,
     Move_Selection_By<STEP, 0>},
    {SELECTION_GROUP, TRANSLATE_LATER("Ctrl+arrows"), TRANSLATE_LATER("move the selection"), Application::SIGNAL_UP, 0, CTRL, ON_PRESS,
     Move_Selection_By<0, -STEP>},
    {SELECTION_GROUP, TRANSLATE_LATER("Ctrl+arrows"), TRANSLATE_LATER("move the selection"), Application::SIGNAL_DOWN, 0, CTRL, ON_PRESS,
     Move_Selection_By<0, STEP>},
};

constexpr int NUMBER_OF_COMMANDS = static_cast<int>(sizeof(COMMANDS) / sizeof(COMMANDS[0]));
static_assert(NUMBER_OF_COMMANDS <= Application::EDITOR_COMMAND_ROOM, "one bit per command in editor_commands_held");

// Lines of help for the mouse, after the keys.
const char* const MOUSE_HELP[] = {
    TRANSLATE_LATER("mouse: the cursor follows it"),
    TRANSLATE_LATER(" click: place, or pick and drag"),
    TRANSLATE_LATER(" drag over empty cells paints"),
    TRANSLATE_LATER(" right click deletes"),
    TRANSLATE_LATER(" middle/Alt+click: take its type"),
    TRANSLATE_LATER(" Shift+drag selects"),
    TRANSLATE_LATER(" wheel scrolls, Shift sideways"),
    TRANSLATE_LATER(" Ctrl+wheel zooms"),
};

int Held_Modifiers()
{
    int modifiers = NO_MODIFIERS;
    if (key[KEY_LCONTROL] || key[KEY_RCONTROL])
        modifiers |= CTRL;
    if (key[KEY_LSHIFT] || key[KEY_RSHIFT])
        modifiers |= SHIFT;
    return modifiers;
}

// Which commands' keys are held, one bit each. While Ctrl or Shift is held,
// a key of the signal word that has a command with those modifiers does
// only that command.
std::bitset<Application::EDITOR_COMMAND_ROOM> Held_Commands(int signals)
{
    int modifiers = Held_Modifiers();
    int shadowed = 0;
    for (const Editor_Command& command : COMMANDS)
        if (command.signal != 0 && command.modifiers != NO_MODIFIERS && command.modifiers == modifiers)
            shadowed |= command.signal;
    std::bitset<Application::EDITOR_COMMAND_ROOM> held;
    for (int i = 0; i < NUMBER_OF_COMMANDS; i++)
    {
        const Editor_Command& command = COMMANDS[i];
        bool down;
        if (command.signal != 0)
            down = (signals & command.signal) != 0 &&
                   (command.modifiers == NO_MODIFIERS ? (shadowed & command.signal) == 0
                                                      : command.modifiers == modifiers);
        else
            down = key[command.key_code] && command.modifiers == modifiers;
        held[i] = down;
    }
    return held;
}
} // namespace

bool Application::Run_Editor_Commands(int allowed)
{
    std::bitset<EDITOR_COMMAND_ROOM> held = Held_Commands(signals);
    std::bitset<EDITOR_COMMAND_ROOM> pressed = held & ~editor_commands_held;
    editor_commands_held = held;
    for (int i = 0; i < NUMBER_OF_COMMANDS; i++)
        editor_command_ticks[i] = held[i] ? editor_command_ticks[i] + 1 : 0;

    int group = -1;
    bool open = false;
    bool ended = false;
    bool gate = false;
    bool state_decided = false;
    bool carrying = false;
    for (int i = 0; i <= NUMBER_OF_COMMANDS; i++)
    {
        if (i == NUMBER_OF_COMMANDS || COMMANDS[i].group != group)
        {
            if (group >= 0 && open && GROUPS[group].finish != nullptr && allowed == 0)
                GROUPS[group].finish(*this);
            if (i == NUMBER_OF_COMMANDS)
                break;
            group = COMMANDS[i].group;
            const Command_Group& settings = GROUPS[group];
            ended = false;
            open = (settings.modes & (1 << editor_mode)) != 0;
            if (!open)
                continue;
            if (settings.gate != SAME_GATE)
                gate = key_delay >= settings.gate;
            open = gate;
            if (open && settings.state != ANY_STATE)
            {
                // Carrying or not is decided once, when the first group that
                // asks is reached; a record picked up or placed then is not
                // moved or deleted in the same tick.
                if (!state_decided)
                {
                    int count = editor_mode == CHARACTER_MODE ? levels[current_level]->number_of_characters
                                                              : levels[current_level]->number_of_platforms;
                    if (selected_object != NO_OBJECT_SELECTED && (selected_object < 0 || selected_object >= count))
                        selected_object = NO_OBJECT_SELECTED;
                    carrying = selected_object != NO_OBJECT_SELECTED;
                    state_decided = true;
                }
                open = carrying == (settings.state == CARRYING_STATE);
            }
        }
        const Editor_Command& command = COMMANDS[i];
        if (!open || ended)
            continue;
        if (allowed != 0 && (command.flags & allowed) == 0)
            continue;
        bool acts = (command.flags & EVERY_TICK) || ((command.flags & ON_PRESS) ? pressed[i] : held[i]);
        // A long hold repeats, counted from the press.
        int ticks = editor_command_ticks[i];
        if ((command.flags & HOLD_REPEAT) && ticks > HOLD_TICKS && (ticks - HOLD_TICKS) % HOLD_REPEAT_TICKS == 1)
            acts = true;
        if (!acts)
            continue;
        command.run(*this);
        // Quitting ends the tick at once: nothing else is done or drawn.
        if (quit)
            return false;
        if (command.flags & ENDS_GROUP)
            ended = true;
    }
    return true;
}

bool Application::Run_Editor_Commands()
{
    if (test_play_level != nullptr)
        return Run_Editor_Commands(IN_PLAY);
    if (editor_help_shown)
        return Run_Editor_Commands(IN_HELP);
    return Run_Editor_Commands(0);
}

void Application::Editor_Help_Lines(char lines[][EDITOR_LINE_LENGTH], int& count, int room) const
{
    count = 0;
    for (const Editor_Command& command : COMMANDS)
    {
        if ((GROUPS[command.group].modes & (1 << editor_mode)) == 0)
            continue;
        char line[EDITOR_LINE_LENGTH];
        // The keys in a column of six characters (a translation's letters
        // can take more than one byte each).
        std::snprintf(line, sizeof(line), "%s %s", Padded_Text(Translate(command.keys), 6).c_str(),
                      Translate(command.help));
        // Commands of one line (the four arrows) show once.
        bool shown = false;
        for (int i = 0; i < count && !shown; i++)
            shown = std::strcmp(line, lines[i]) == 0;
        if (!shown && count < room)
            std::snprintf(lines[count++], EDITOR_LINE_LENGTH, "%s", line);
    }
    for (const char* line : MOUSE_HELP)
        if (count < room)
            std::snprintf(lines[count++], EDITOR_LINE_LENGTH, "%s", Translate(line));
}
