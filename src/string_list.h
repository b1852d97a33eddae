#ifndef BLUEJAY_STRING_LIST_H
#define BLUEJAY_STRING_LIST_H

#include <string>

class Application;

// The lines of a level's message file, printed over the picture when the
// hero reaches the level's message marker (and, for one level, as the
// ending text).
class String_List
{
public:
    static constexpr int MAX_STRINGS = 25;
    // Longest line kept from a message file; the rest of a longer line is
    // dropped when loading (the canvas shows 31 characters of a line).
    static constexpr int MAX_LINE_LENGTH = 255;

    std::string* strings;
    int number_of_strings;

    String_List();
    ~String_List();
    String_List(const String_List&) = delete;
    String_List& operator=(const String_List&) = delete;

    void Load_From_File(const char* path);
    void Print(Application& application);
};

#endif
