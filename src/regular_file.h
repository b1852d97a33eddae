#ifndef BLUEJAY_REGULAR_FILE_H
#define BLUEJAY_REGULAR_FILE_H

#include <cstdio>
#include <istream>
#include <memory>
#include <string>

// What a file held when it was read: enough to tell later whether anything
// (another program, git, a second editor) has changed it since.
struct File_Stamp
{
    bool present = false;
    long long size = 0;
    long long modified = 0; // nanoseconds
    unsigned long long inode = 0;
    unsigned long long device = 0;
    unsigned int checksum = 0;

    bool operator==(const File_Stamp& other) const;
    bool operator!=(const File_Stamp& other) const { return !(*this == other); }

    // The file at path as it is now; not present when there is no regular
    // file there.
    static File_Stamp Of(const std::string& path);
};

// The one way the game opens a file to read: never waits on a pipe, and
// takes only a regular file, so a folder, a device or a pipe in the place of
// a data file is refused with a word ("data/messages/message_3.txt is a
// folder, not a file") instead of hanging or crashing the reader.
class Regular_File
{
public:
    // The longest line a line reader keeps, and the problems it reports
    // before it only counts them.
    static constexpr std::size_t MAX_LINE_LENGTH = 4096;
    static constexpr int MAX_PROBLEMS = 100;

    // Opens path; a refusal is said on the console unless quiet.
    explicit Regular_File(const std::string& path, bool quiet = false);
    ~Regular_File();
    Regular_File(const Regular_File&) = delete;
    Regular_File& operator=(const Regular_File&) = delete;

    bool Is_Open() const { return descriptor >= 0; }
    // Why the file was refused: empty when it opened or is simply not
    // there, else the whole sentence with the path.
    const std::string& Refusal() const { return refusal; }
    // The file's content as a stream (an empty, failed one when not open).
    std::istream& Stream();
    // The whole file, when it is at most limit bytes; false otherwise.
    bool Read_All(std::string& text, std::size_t limit);
    // The next line, whatever its end (LF, CR LF or a lone CR), with at
    // most MAX_LINE_LENGTH characters kept (line_cut tells); false at the
    // end of the file.
    bool Read_Line(std::string& line);
    bool line_cut = false;
    // What the open file holds now.
    File_Stamp Stamp() const;

private:
    int descriptor = -1;
    std::string refusal;
    std::unique_ptr<std::streambuf> buffer;
    std::unique_ptr<std::istream> stream;
};

#endif
