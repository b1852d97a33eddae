#ifndef BLUEJAY_MAP_READER_H
#define BLUEJAY_MAP_READER_H

#include <istream>

// Reads the integers of a level's map file one at a time, for play and for
// editing alike, and tells where and why it stopped when that was before the
// end of the file: a word that is no number, a number too big for the game,
// or more records than a level holds (and a disk that fails). A file that
// simply ends is no problem.
class Map_Reader
{
public:
    static const char* const UNREADABLE_NUMBER;
    static const char* const NUMBER_OUT_OF_RANGE;
    static const char* const TOO_MANY_RECORDS;
    static const char* const UNREADABLE_FILE;

    // Why the reading stopped before the end of the file, or null while it
    // has not; the first problem is the one kept.
    const char* problem;
    // The line of the problem, counted from 1.
    int problem_line;
    // The line of the last number read, counted from 1.
    int line;

    explicit Map_Reader(std::istream& input);

    // The next integer; false at the end of the file or at a problem, after
    // which nothing more is read.
    bool Read(int& value);
    // Notes that the record whose type was read last finds no room in its
    // table (the reading goes on, the record is dropped).
    void Record_Dropped();

private:
    std::streambuf* input;
    int next_line;

    bool Read_Number(int& value);
    bool Fail(const char* why);
};

#endif
