#ifndef BLUEJAY_POINTER_ENTRY_H
#define BLUEJAY_POINTER_ENTRY_H

#include <string>
#include <vector>

class Application;

// Screen mode's typed pipe pointer: Enter, or a digit other than the mode
// keys 1 to 3 (or any digit of the keypad), opens a small field for the
// level that the pipe of the screen under the cursor leads to; digits and
// Backspace change it, Enter sets the pointer and Esc leaves it as it was.
// While the field is open it takes every key. The status line names the
// level a pointer leads to by the first line of that level's message.
class Pointer_Entry
{
public:
    static constexpr int MAX_DIGITS = 3;

    bool open = false;
    int value = 0;
    int digits = 0;

    // One tick of keys; true when the field took them (it is open, or has
    // just been closed), so no other command acts on them.
    bool Run(Application& editor);
    // The screen whose pipe the field sets: the one under the cursor.
    static int Screen(const Application& editor);
    // A level's name: the first line of its message, read once.
    const std::string& Level_Name(Application& editor, int level);

private:
    // The keys of the last tick, for one action per press.
    std::vector<bool> was_down;
    std::vector<int> names_read;
    std::vector<std::string> names;
};

#endif
