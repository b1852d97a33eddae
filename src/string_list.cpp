#include "string_list.h"

#include <fstream>

#include "application.h"

String_List::String_List() : strings(new std::string[MAX_STRINGS]), number_of_strings(0)
{
}

String_List::~String_List()
{
    delete[] strings;
}

void String_List::Load_From_File(const char* path)
{
    std::ifstream file(path);
    if (!file)
        return;
    std::string line;
    // A line counts only when a line end follows it; lines past the 25th are
    // read and dropped.
    while (std::getline(file, line))
    {
        if (file.eof())
            break;
        // Files written on any platform read the same.
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (number_of_strings < MAX_STRINGS)
        {
            strings[number_of_strings] = line;
            number_of_strings++;
        }
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
