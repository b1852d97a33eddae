#include "regular_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ext/stdio_filebuf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "translation.h"

namespace
{
// The checksum's start and multiplier (FNV-1a over the bytes).
constexpr unsigned int CHECKSUM_START = 2166136261u;
constexpr unsigned int CHECKSUM_PRIME = 16777619u;
constexpr long long NANOSECONDS = 1000000000LL;

File_Stamp Stamp_Of(int descriptor)
{
    File_Stamp stamp;
    struct stat status;
    if (descriptor < 0 || fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode))
        return stamp;
    stamp.present = true;
    stamp.size = static_cast<long long>(status.st_size);
    stamp.modified = static_cast<long long>(status.st_mtim.tv_sec) * NANOSECONDS + status.st_mtim.tv_nsec;
    stamp.inode = static_cast<unsigned long long>(status.st_ino);
    stamp.device = static_cast<unsigned long long>(status.st_dev);
    unsigned int hash = CHECKSUM_START;
    unsigned char block[65536];
    off_t offset = 0;
    for (;;)
    {
        ssize_t length = pread(descriptor, block, sizeof(block), offset);
        if (length < 0 && errno == EINTR)
            continue;
        if (length <= 0)
            break;
        for (ssize_t i = 0; i < length; i++)
        {
            hash ^= block[i];
            hash *= CHECKSUM_PRIME;
        }
        offset += length;
    }
    stamp.checksum = hash;
    return stamp;
}

std::string Refusal_Of(const std::string& path, mode_t mode)
{
    if (S_ISDIR(mode))
        return Format_Text(Translate("%s is a folder, not a file"), path.c_str());
    if (S_ISFIFO(mode))
        return Format_Text(Translate("%s is a pipe, not a file"), path.c_str());
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return Format_Text(Translate("%s is a device, not a file"), path.c_str());
    return Format_Text(Translate("%s is not a regular file"), path.c_str());
}
} // namespace

bool File_Stamp::operator==(const File_Stamp& other) const
{
    if (!present || !other.present)
        return present == other.present;
    return size == other.size && modified == other.modified && inode == other.inode && device == other.device &&
           checksum == other.checksum;
}

File_Stamp File_Stamp::Of(const std::string& path)
{
    Regular_File file(path, true);
    return file.Stamp();
}

Regular_File::Regular_File(const std::string& path, bool quiet)
{
    // A pipe opens at once without waiting for a writer; it is refused next.
    int opened = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (opened < 0)
    {
        if (errno != ENOENT && errno != ENOTDIR)
            refusal = path + ": " + std::strerror(errno);
        if (!quiet && !refusal.empty())
            std::fprintf(stderr, "%s\n", refusal.c_str());
        return;
    }
    struct stat status;
    if (fstat(opened, &status) != 0 || !S_ISREG(status.st_mode))
    {
        refusal = Refusal_Of(path, status.st_mode);
        if (!quiet)
            std::fprintf(stderr, "%s\n", refusal.c_str());
        close(opened);
        return;
    }
    fcntl(opened, F_SETFL, fcntl(opened, F_GETFL) & ~O_NONBLOCK);
    descriptor = opened;
}

Regular_File::~Regular_File()
{
    stream.reset();
    buffer.reset();
    if (descriptor >= 0)
        close(descriptor);
}

std::istream& Regular_File::Stream()
{
    if (stream == nullptr)
    {
        // The buffer reads the descriptor, which stays this object's to close.
        if (descriptor >= 0)
            buffer.reset(new __gnu_cxx::stdio_filebuf<char>(dup(descriptor), std::ios::in));
        stream.reset(new std::istream(buffer.get()));
        if (buffer == nullptr)
            stream->setstate(std::ios::failbit);
    }
    return *stream;
}

bool Regular_File::Read_All(std::string& text, std::size_t limit)
{
    text.clear();
    if (descriptor < 0)
        return false;
    char block[65536];
    off_t offset = 0;
    for (;;)
    {
        ssize_t length = pread(descriptor, block, sizeof(block), offset);
        if (length < 0 && errno == EINTR)
            continue;
        if (length < 0)
            return false;
        if (length == 0)
            return true;
        if (text.size() + static_cast<std::size_t>(length) > limit)
            return false;
        text.append(block, static_cast<std::size_t>(length));
        offset += length;
    }
}

bool Regular_File::Read_Line(std::string& line)
{
    line.clear();
    line_cut = false;
    std::streambuf* input = Stream().rdbuf();
    if (input == nullptr)
        return false;
    constexpr int END = std::char_traits<char>::eof();
    int c = input->sbumpc();
    if (c == END)
        return false;
    for (; c != END && c != '\n'; c = input->sbumpc())
    {
        if (c == '\r')
        {
            if (input->sgetc() == '\n')
                input->sbumpc();
            break;
        }
        if (line.size() < MAX_LINE_LENGTH)
            line.push_back(static_cast<char>(c));
        else
            line_cut = true;
    }
    return true;
}

File_Stamp Regular_File::Stamp() const
{
    return Stamp_Of(descriptor);
}
