// Fuzzes the message files: any file gives at most 25 lines of at most
// String_List::MAX_LINE_LENGTH characters, without line ends, and printing
// them over the canvas stays inside it.

#include "fuzz_support.h"

#include "string_list.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::Start();
    fuzz::The_Application(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Application& game = fuzz::The_Application(false);
    std::string path = fuzz::Write("message.txt", data, size);

    String_List list;
    list.Load_From_File(path.c_str());
    FUZZ_CHECK(list.number_of_strings >= 0 && list.number_of_strings <= String_List::MAX_STRINGS);
    size_t line_ends = 0;
    for (size_t i = 0; i < size; i++)
        line_ends += data[i] == '\n';
    FUZZ_CHECK(static_cast<size_t>(list.number_of_strings) == std::min<size_t>(line_ends, String_List::MAX_STRINGS));
    for (int i = 0; i < String_List::MAX_STRINGS; i++)
    {
        const std::string& line = list.strings[i];
        FUZZ_CHECK(line.size() <= static_cast<size_t>(String_List::MAX_LINE_LENGTH));
        FUZZ_CHECK(line.find('\n') == std::string::npos);
        FUZZ_CHECK(i < list.number_of_strings || line.empty());
    }

    clear_to_color(game.canvas, 0);
    list.Print(game);
    // A second file appends after the lines already there, up to 25.
    list.Load_From_File(path.c_str());
    FUZZ_CHECK(list.number_of_strings <= String_List::MAX_STRINGS);
    list.Print(game);
    return 0;
}
