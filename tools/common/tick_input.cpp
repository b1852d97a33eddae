#include "tick_input.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "application.h"

namespace
{
struct Key_Name
{
    const char* name;
    int signal;
};

const Key_Name KEY_NAMES[] = {
    {"left", Application::SIGNAL_LEFT},     {"right", Application::SIGNAL_RIGHT},
    {"up", Application::SIGNAL_UP},         {"down", Application::SIGNAL_DOWN},
    {"fly", Application::SIGNAL_FLY},       {"pause", Application::SIGNAL_PAUSE},
    {"enter", Application::SIGNAL_START},   {"quit", Application::SIGNAL_QUIT},
    {"delete", Application::SIGNAL_DELETE}, {"none", 0},
};

// A whole decimal number from 0 to most, nothing else.
bool Read_Count(const std::string& text, long most, long& value)
{
    if (text.empty() || text[0] < '0' || text[0] > '9')
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 10);
    return errno == 0 && *end == '\0' && value <= most;
}
} // namespace

int Tick_Input::Key_Signal(const std::string& name)
{
    for (const Key_Name& key : KEY_NAMES)
        if (name == key.name)
            return key.signal;
    return -1;
}

bool Tick_Input::Read_Script(const std::string& path)
{
    std::ifstream file(path);
    if (!file)
    {
        error = path + ": cannot read the script";
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return Read_Script_Text(text.str(), path);
}

bool Tick_Input::Read_Script_Text(const std::string& text, const std::string& name)
{
    std::istringstream lines(text);
    std::string line;
    int line_number = 0;
    while (std::getline(lines, line))
    {
        line_number++;
        std::istringstream fields(line.substr(0, line.find('#')));
        std::string first;
        if (!(fields >> first))
            continue;
        std::string where = name + ":" + std::to_string(line_number) + ": ";
        long count = 0;
        if (first == "level")
        {
            std::string number, rest;
            if (!(fields >> number) || !Read_Count(number, Application::NUMBER_OF_LEVELS - 1, count) || fields >> rest)
            {
                error = where + "bad level";
                return false;
            }
            level = static_cast<int>(count);
            continue;
        }
        if (!Read_Count(first, MOST_TICKS, count))
        {
            error = where + "bad tick count \"" + first + "\"";
            return false;
        }
        if (count > MOST_TICKS - static_cast<long>(words.size()))
        {
            error = where + "more ticks than a script may hold";
            return false;
        }
        int word = 0;
        std::string key;
        while (fields >> key)
        {
            int signal = Key_Signal(key);
            if (signal < 0)
            {
                error = where + "unknown key \"" + key + "\"";
                return false;
            }
            word |= signal;
        }
        words.insert(words.end(), static_cast<size_t>(count), word);
    }
    return true;
}

bool Tick_Input::Read_Movie(const std::string& path)
{
    std::ifstream file(path);
    int first = 0;
    if (!file || !(file >> first))
    {
        error = path + ": cannot read the movie";
        return false;
    }
    level = first;
    int word = 0;
    while (file >> word && !file.eof())
        words.push_back(word);
    return true;
}
