#ifndef BLUEJAY_SETTINGS_FILE_H
#define BLUEJAY_SETTINGS_FILE_H

#include <string>
#include <vector>

// The settings file as the player wrote it, changed one value at a time:
// the player's comments, blank lines, order and lines the game does not
// know stay exactly as they were; only the line of a changed value is
// rewritten (its comment kept), and a value the file lacks is added at the
// end of its section, or in a new section at the end of the file. Written
// through the one safe write.
//
//     Settings_File file;
//     file.Load(path);
//     file.Set("keys", "jump", "W");
//     if (!file.Save(path))
//         show(file.reason);
class Settings_File
{
public:
    // Why the last Save failed; empty after a success.
    std::string reason;

    // Reads the file; a missing or unreadable file is an empty one.
    void Load(const std::string& path);
    // Puts a value under a key of a section.
    void Set(const std::string& section, const std::string& key, const std::string& value);
    // The text as it will be written.
    std::string Text() const;
    // Writes the file when a value changed; true when the disk holds it.
    bool Save(const std::string& path);

    // Loads, sets one value and saves: the game's way to remember one
    // choice of the player. An empty path remembers nothing.
    static bool Remember(const std::string& path, const std::string& section, const std::string& key,
                         const std::string& value);

private:
    std::vector<std::string> lines;
    // The file did not end with a line end.
    bool last_line_open = false;
    bool changed = false;
};

#endif
