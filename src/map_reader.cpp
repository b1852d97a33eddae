#include "map_reader.h"

#include <climits>
#include <exception>

const char* const Map_Reader::UNREADABLE_NUMBER = "unreadable number";
const char* const Map_Reader::NUMBER_OUT_OF_RANGE = "number out of range";
const char* const Map_Reader::TOO_MANY_RECORDS = "too many records";
const char* const Map_Reader::UNREADABLE_FILE = "unreadable file";

namespace
{
constexpr int END = std::char_traits<char>::eof();
constexpr int DECIMAL = 10;

bool Is_Space(int c)
{
    return c == ' ' || c == '\n' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

bool Is_Digit(int c)
{
    return c >= '0' && c <= '9';
}
} // namespace

Map_Reader::Map_Reader(std::istream& input)
    : problem(nullptr), problem_line(0), line(1), input(input.rdbuf()), next_line(1)
{
}

bool Map_Reader::Fail(const char* why)
{
    if (problem == nullptr)
    {
        problem = why;
        problem_line = line;
    }
    input = nullptr;
    return false;
}

bool Map_Reader::Read(int& value)
{
    if (input == nullptr)
        return false;
    // A file stream reports a failing disk by throwing.
    try
    {
        return Read_Number(value);
    }
    catch (const std::exception&)
    {
        return Fail(UNREADABLE_FILE);
    }
}

bool Map_Reader::Read_Number(int& value)
{
    int c = input->sgetc();
    while (c != END && Is_Space(c))
    {
        if (c == '\n')
            next_line++;
        c = input->snextc();
    }
    line = next_line;
    if (c == END)
    {
        input = nullptr;
        return false;
    }

    // An optional sign and decimal digits; whatever follows them is left
    // for the next number, as a stream's >> would.
    bool negative = c == '-';
    if (c == '-' || c == '+')
        c = input->snextc();
    if (!Is_Digit(c))
        return Fail(UNREADABLE_NUMBER);
    long long magnitude = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    bool too_big = false;
    while (c != END && Is_Digit(c))
    {
        if (!too_big)
        {
            magnitude = magnitude * DECIMAL + (c - '0');
            too_big = magnitude > limit;
        }
        c = input->snextc();
    }
    if (too_big)
        return Fail(NUMBER_OUT_OF_RANGE);
    value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

void Map_Reader::Record_Dropped()
{
    if (problem == nullptr)
    {
        problem = TOO_MANY_RECORDS;
        problem_line = line;
    }
}
