#include "string_list.h"

#include <fstream>

#include "application.h"
#include "regular_file.h"

String_List::String_List() : strings(new std::string[MAX_STRINGS]), number_of_strings(0)
{
}

String_List::~String_List()
{
    delete[] strings;
}

void String_List::Load_From_File(const char* path)
{
    // A folder or a pipe in the place of the file is refused with a word.
    Regular_File file(path);
    if (!file.Is_Open())
        return;
    // A line counts only when a line end follows it; lines past the 25th are
    // read and dropped. A line keeps its first MAX_LINE_LENGTH characters
    // (the canvas shows 31), so one endless line cannot fill the memory; one
    // more is held to see a carriage return before the line end.
    std::streambuf* input = file.Stream().rdbuf();
    std::string line;
    line.reserve(MAX_LINE_LENGTH + 1);
    for (int c = input->sbumpc(); c != std::char_traits<char>::eof(); c = input->sbumpc())
    {
        if (c != '\n')
        {
            if (line.size() <= static_cast<size_t>(MAX_LINE_LENGTH))
                line.push_back(static_cast<char>(c));
            continue;
        }
        // Files written on any platform read the same.
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() > static_cast<size_t>(MAX_LINE_LENGTH))
            line.resize(MAX_LINE_LENGTH);
        if (number_of_strings < MAX_STRINGS)
        {
            strings[number_of_strings] = line;
            number_of_strings++;
        }
        line.clear();
    }
}

void String_List::Print(Application& application)
{
    int y = 1;
    for (int i = 0; i < number_of_strings; i++)
    {
        textout_ex(application.canvas, font, strings[i].c_str(), 1, y, makecol(255, 255, 255), -1);
        y += text_height(font) + 2;
    }
}
