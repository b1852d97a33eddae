#include "settings_file.h"

#include <fstream>
#include <sstream>

#include "safe_file.h"
#include "user_files.h"

namespace
{
std::string Trim(const std::string& text)
{
    std::string::size_type first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return std::string();
    std::string::size_type last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// Where a comment starts, read as the settings reader reads it: # or ; at
// the start of a line or after a blank.
std::string::size_type Comment_Start(const std::string& line)
{
    for (std::string::size_type i = 0; i < line.size(); i++)
        if ((line[i] == '#' || line[i] == ';') && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t'))
            return i;
    return std::string::npos;
}

// The section a line opens, or empty.
std::string Section_Of(const std::string& line)
{
    std::string text = Trim(line.substr(0, Comment_Start(line)));
    if (text.empty() || text[0] != '[')
        return std::string();
    std::string::size_type close = text.find(']');
    return Trim(close == std::string::npos ? text.substr(1) : text.substr(1, close - 1));
}

// The key of a "key = value" line, or empty.
std::string Key_Of(const std::string& line)
{
    std::string text = line.substr(0, Comment_Start(line));
    std::string::size_type equals = text.find('=');
    if (equals == std::string::npos || Trim(text)[0] == '[')
        return std::string();
    return Trim(text.substr(0, equals));
}

// The line with its value replaced, the blanks and the comment around the
// value left as they were.
std::string With_Value(const std::string& line, const std::string& value)
{
    std::string::size_type comment = Comment_Start(line);
    std::string head = line.substr(0, comment);
    std::string::size_type start = head.find('=') + 1;
    while (start < head.size() && (head[start] == ' ' || head[start] == '\t'))
        start++;
    std::string::size_type end = head.find_last_not_of(" \t\r");
    end = end == std::string::npos || end < start ? start : end + 1;
    std::string result = line.substr(0, start) + value + line.substr(end);
    // A value that was empty, right before its comment, keeps a blank.
    if (end == start && comment != std::string::npos && end == comment)
        result = line.substr(0, start) + value + " " + line.substr(end);
    return result;
}
} // namespace

void Settings_File::Load(const std::string& path)
{
    lines.clear();
    last_line_open = false;
    changed = false;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return;
    std::stringstream content;
    content << file.rdbuf();
    std::string text = content.str();
    std::string::size_type start = 0;
    while (start < text.size())
    {
        std::string::size_type end = text.find('\n', start);
        if (end == std::string::npos)
        {
            lines.push_back(text.substr(start));
            last_line_open = true;
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

void Settings_File::Set(const std::string& section, const std::string& key, const std::string& value)
{
    std::string current;
    // The last line of the section seen with something on it, where a new
    // key goes.
    int section_end = -1;
    int found = -1;
    for (int i = 0; i < static_cast<int>(lines.size()); i++)
    {
        std::string opened = Section_Of(lines[i]);
        if (!opened.empty())
        {
            current = opened;
            if (current == section)
                section_end = i;
            continue;
        }
        if (current != section)
            continue;
        if (!Trim(lines[i].substr(0, Comment_Start(lines[i]))).empty())
            section_end = i;
        if (Key_Of(lines[i]) == key)
            found = i;
    }
    std::string line;
    if (found >= 0)
    {
        line = With_Value(lines[found], value);
        if (line == lines[found])
            return;
        lines[found] = line;
    }
    else if (section_end >= 0)
        lines.insert(lines.begin() + section_end + 1, key + " = " + value);
    else
    {
        last_line_open = false;
        if (!lines.empty() && !Trim(lines.back()).empty())
            lines.push_back(std::string());
        lines.push_back("[" + section + "]");
        lines.push_back(key + " = " + value);
    }
    changed = true;
}

std::string Settings_File::Text() const
{
    std::string text;
    for (size_t i = 0; i < lines.size(); i++)
    {
        text += lines[i];
        if (i + 1 < lines.size() || !last_line_open)
            text += "\n";
    }
    return text;
}

bool Settings_File::Save(const std::string& path)
{
    reason.clear();
    if (!changed)
        return true;
    std::string::size_type slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !Make_Directories(path.substr(0, slash)))
    {
        reason = "cannot make the folder of " + path;
        return false;
    }
    Safe_File file;
    if (!file.Write(path, Text()))
    {
        reason = file.reason;
        return false;
    }
    changed = false;
    return true;
}

bool Settings_File::Remember(const std::string& path, const std::string& section, const std::string& key,
                             const std::string& value)
{
    if (path.empty())
        return true;
    Settings_File file;
    file.Load(path);
    file.Set(section, key, value);
    return file.Save(path);
}
