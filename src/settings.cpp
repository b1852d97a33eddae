#include "settings.h"

#include <cstdlib>
#include <unistd.h>

#include <allegro.h>

namespace
{
bool Readable(const std::string& path)
{
    return !path.empty() && access(path.c_str(), R_OK) == 0;
}
} // namespace

bool Settings::Load(const char* path)
{
    if (path == nullptr || !Readable(path))
        return false;
    problem.clear();
    // The library's configuration is set aside while the game's file is
    // read, and comes back untouched: nothing is written anywhere.
    push_config_state();
    set_config_file(path);
    const char* scale_text = get_config_string("window", "scale", nullptr);
    const char* directory = get_config_string("data", "directory", nullptr);
    if (scale_text != nullptr)
    {
        char* end = nullptr;
        long scale = std::strtol(scale_text, &end, 10);
        bool number = end != scale_text && *end == '\0';
        if (number && (scale == FULL_SCREEN || (scale >= MIN_WINDOW_SCALE && scale <= MAX_WINDOW_SCALE)))
            window_scale = static_cast<int>(scale);
        else
            problem = "the window scale must be 2, 3 or 4 (or 0 for full screen)";
    }
    if (directory != nullptr && directory[0] != '\0')
        data_directory = directory;
    const char* keep = get_config_string("editor", "keep_palette", nullptr);
    if (keep != nullptr)
    {
        std::string value = keep;
        if (value == "1" || value == "yes")
            keep_palette = true;
        else if (value == "0" || value == "no")
            keep_palette = false;
        else
            problem = "keep_palette must be yes or no";
    }
    pop_config_state();
    return true;
}

std::string Program_Directory()
{
    char program[4096];
    ssize_t length = readlink("/proc/self/exe", program, sizeof(program) - 1);
    if (length <= 0)
        return std::string();
    program[length] = '\0';
    std::string directory(program);
    std::string::size_type slash = directory.rfind('/');
    if (slash == std::string::npos)
        return std::string();
    directory.erase(slash == 0 ? 1 : slash);
    return directory;
}

std::string Find_Settings_File()
{
    const char* config_home = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    std::string candidates[2];
    // Only an absolute XDG_CONFIG_HOME counts.
    if (config_home != nullptr && config_home[0] == '/')
        candidates[0] = std::string(config_home) + "/bluejay/bluejay.cfg";
    else if (home != nullptr && home[0] != '\0')
        candidates[0] = std::string(home) + "/.config/bluejay/bluejay.cfg";
    std::string program = Program_Directory();
    if (!program.empty())
        candidates[1] = program + "/bluejay.cfg";
    for (const std::string& candidate : candidates)
        if (Readable(candidate))
            return candidate;
    return std::string();
}
