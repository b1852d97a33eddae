// The one safe write: the whole new text or the old file, never a cut-off
// one; permission bits and symbolic links kept; failures in the system's
// words.

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <sys/wait.h>
#include <sys/stat.h>
#include <unistd.h>

#include "safe_file.h"
#include "test_support.h"

namespace
{
mode_t Mode_Of(const std::string& path)
{
    struct stat status;
    if (stat(path.c_str(), &status) != 0)
        return 0;
    return status.st_mode & 07777;
}

bool Is_Link(const std::string& path)
{
    struct stat status;
    return lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode);
}

bool Exists(const std::string& path)
{
    struct stat status;
    return lstat(path.c_str(), &status) == 0;
}
} // namespace

class Safe_File_Test : public testing::Test
{
protected:
    Temporary_Directory directory;
    Safe_File file;

    std::string Path(const std::string& name) const { return directory.Path(name); }
};

TEST_F(Safe_File_Test, TheNewTextReplacesTheOldAndNoTemporaryStays)
{
    const std::string path = directory.Write("level.map", "old text that is longer\n");
    ASSERT_TRUE(file.Write(path, "1\n2\n"));
    EXPECT_EQ(Read_File(path), "1\n2\n");
    EXPECT_EQ(file.reason, "");
    EXPECT_FALSE(Exists(path + Safe_File::TEMPORARY_SUFFIX));
    // A temporary file left behind by a crash is no obstacle.
    ASSERT_EQ(symlink(Path("elsewhere").c_str(), (path + Safe_File::TEMPORARY_SUFFIX).c_str()), 0);
    ASSERT_TRUE(file.Write(path, "3\n"));
    EXPECT_EQ(Read_File(path), "3\n");
    EXPECT_FALSE(Exists(Path("elsewhere")));
}

TEST_F(Safe_File_Test, ANewFileGetsWhatTheUmaskAllowsAnOldOneKeepsItsBits)
{
    mode_t mask = umask(022);
    ASSERT_TRUE(file.Write(Path("new.map"), "0\n"));
    EXPECT_EQ(Mode_Of(Path("new.map")), 0644u);
    for (mode_t mode : {0600u, 0640u, 0755u, 0444u})
    {
        const std::string path = directory.Write("kept.map", "old\n");
        ASSERT_EQ(chmod(path.c_str(), mode), 0);
        ASSERT_TRUE(file.Write(path, "new\n"));
        EXPECT_EQ(Mode_Of(path), mode) << std::oct << mode;
        EXPECT_EQ(Read_File(path), "new\n");
    }
    umask(mask);
}

TEST_F(Safe_File_Test, ALinkStaysALinkAndItsTargetGetsTheText)
{
    ASSERT_EQ(mkdir(Path("levels").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(Path("store").c_str(), 0755), 0);
    const std::string target = directory.Write("store/level_1.map", "old\n");
    ASSERT_EQ(chmod(target.c_str(), 0600), 0);
    // A relative link to a relative link.
    ASSERT_EQ(symlink("../store/level_1.map", Path("levels/middle.map").c_str()), 0);
    ASSERT_EQ(symlink("middle.map", Path("levels/level_1.map").c_str()), 0);
    ASSERT_TRUE(file.Write(Path("levels/level_1.map"), "new\n"));
    EXPECT_TRUE(Is_Link(Path("levels/level_1.map")));
    EXPECT_TRUE(Is_Link(Path("levels/middle.map")));
    EXPECT_EQ(Read_File(target), "new\n");
    EXPECT_EQ(Mode_Of(target), 0600u);
    EXPECT_FALSE(Exists(target + Safe_File::TEMPORARY_SUFFIX));
    EXPECT_FALSE(Exists(Path("levels/level_1.map") + Safe_File::TEMPORARY_SUFFIX));

    // A link to nothing yet makes its target.
    ASSERT_EQ(symlink(Path("store/level_2.map").c_str(), Path("levels/level_2.map").c_str()), 0);
    ASSERT_TRUE(file.Write(Path("levels/level_2.map"), "two\n"));
    EXPECT_TRUE(Is_Link(Path("levels/level_2.map")));
    EXPECT_EQ(Read_File(Path("store/level_2.map")), "two\n");
}

TEST_F(Safe_File_Test, FailuresSayTheSystemsReasonAndLeaveWhatWasThere)
{
    ASSERT_EQ(mkdir(Path("level_9.map").c_str(), 0755), 0);
    EXPECT_FALSE(file.Write(Path("level_9.map"), "0\n"));
    EXPECT_EQ(file.reason, "Is a directory");
    struct stat status;
    ASSERT_EQ(stat(Path("level_9.map").c_str(), &status), 0);
    EXPECT_TRUE(S_ISDIR(status.st_mode));

    EXPECT_FALSE(file.Write(Path("missing/level.map"), "0\n"));
    EXPECT_EQ(file.reason, "No such file or directory");

    ASSERT_EQ(symlink("loop_b", Path("loop_a").c_str()), 0);
    ASSERT_EQ(symlink("loop_a", Path("loop_b").c_str()), 0);
    EXPECT_FALSE(file.Write(Path("loop_a"), "0\n"));
    EXPECT_EQ(file.reason, "Too many levels of symbolic links");

    // A folder that takes no new files: the old file stays as it was.
    ASSERT_EQ(mkdir(Path("locked").c_str(), 0755), 0);
    const std::string old_file = directory.Write("locked/level.map", "old\n");
    ASSERT_EQ(chmod(Path("").c_str(), 0755), 0);
    ASSERT_EQ(chmod(Path("locked").c_str(), 0555), 0);
    EXPECT_TRUE(Run_As_Ordinary_User([&old_file] {
        Safe_File locked;
        return !locked.Write(old_file, "new\n") && locked.reason == "Permission denied";
    }));
    EXPECT_EQ(Read_File(old_file), "old\n");
    EXPECT_FALSE(Exists(old_file + Safe_File::TEMPORARY_SUFFIX));
    ASSERT_EQ(chmod(Path("locked").c_str(), 0755), 0);
}

// Special files, hard links and owners: what is there stays what it was.
TEST_F(Safe_File_Test, OnlyARegularFileIsReplacedAndItKeepsItsOwnerAndLinks)
{
    // A link to a pipe (or a device) never turns it into a file.
    ASSERT_EQ(mkfifo(Path("pipe").c_str(), 0644), 0);
    ASSERT_EQ(symlink(Path("pipe").c_str(), Path("level_3.map").c_str()), 0);
    EXPECT_FALSE(file.Write(Path("level_3.map"), "0\n"));
    EXPECT_EQ(file.reason, "not a regular file");
    struct stat status;
    ASSERT_EQ(stat(Path("pipe").c_str(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));

    // Hard links stay joined: the file is written in place after a copy.
    const std::string path = directory.Write("level_4.map", "old\n");
    ASSERT_EQ(link(path.c_str(), Path("other_name.map").c_str()), 0);
    ASSERT_TRUE(file.Write(path, "new and longer\n"));
    EXPECT_EQ(Read_File(Path("other_name.map")), "new and longer\n");
    EXPECT_EQ(Read_File(path + Safe_File::BACKUP_SUFFIX), "old\n");
    ASSERT_TRUE(file.Write(path, "n\n"));
    EXPECT_EQ(Read_File(Path("other_name.map")), "n\n");

    // The owner and the group stay (only root can give a file away).
    const std::string owned = directory.Write("level_5.map", "old\n");
    if (geteuid() == 0)
    {
        ASSERT_EQ(chown(owned.c_str(), 1234, 5678), 0);
        ASSERT_TRUE(file.Write(owned, "new\n"));
        ASSERT_EQ(stat(owned.c_str(), &status), 0);
        EXPECT_EQ(status.st_uid, 1234u);
        EXPECT_EQ(status.st_gid, 5678u);
    }

    // A new file is never made through anything already there.
    ASSERT_EQ(symlink(Path("planted").c_str(), Path("shot.png").c_str()), 0);
    EXPECT_FALSE(file.Create(Path("shot.png"), "png"));
    EXPECT_EQ(file.error, EEXIST);
    EXPECT_FALSE(Exists(Path("planted")));
    EXPECT_TRUE(file.Create(Path("shot_2.png"), "png"));
    EXPECT_EQ(Read_File(Path("shot_2.png")), "png");
}

// Each system call of the write fails in turn, with each kind of error: the
// old file stays whole and the failure is said.
TEST_F(Safe_File_Test, EveryFailingSystemCallLeavesTheOldFileAndIsSaid)
{
    const std::string old_text(70000, 'o');
    const std::string new_text(90000, 'n');
    int failures = 0;
    for (bool hard_linked : {false, true})
        for (int error : {EIO, ENOSPC, EFBIG})
            for (int call = 1;; call++)
            {
                const std::string path = directory.Write("level.map", old_text);
                unlink(Path("twin.map").c_str());
                if (hard_linked)
                {
                    ASSERT_EQ(link(path.c_str(), Path("twin.map").c_str()), 0);
                }
                Safe_File faulty;
                faulty.fail_call = call;
                faulty.fault_error = error;
                bool written = faulty.Write(path, new_text);
                if (faulty.calls_made < call)
                {
                    // Every call was made: the write must have worked.
                    EXPECT_TRUE(written);
                    EXPECT_EQ(Read_File(path), new_text);
                    EXPECT_GE(call, hard_linked ? 4 : 7);
                    break;
                }
                failures++;
                EXPECT_FALSE(written) << "call " << call;
                EXPECT_EQ(faulty.reason, std::strerror(error)) << "call " << call;
                EXPECT_EQ(Read_File(path), old_text) << "call " << call << (hard_linked ? " in place" : "");
                EXPECT_EQ(Temporaries_Beside(path), 0) << "call " << call;
            }
    std::printf("%d injected failures, each one reported with the old file whole\n", failures);
}

namespace
{
// A file of a writer's round: a head line, a filler of a length of its own
// and a last line giving the length before it, so that a cut-off or mixed
// file is seen.
std::string Round_Text(int writer, int round)
{
    std::string text = "writer " + std::to_string(writer) + " round " + std::to_string(round) + "\n";
    text += std::string(1000 + (round * 7919 + writer * 104729) % 60000, static_cast<char>('a' + writer));
    return text + "\nend " + std::to_string(text.size() + 1) + "\n";
}

bool Whole(const std::string& text)
{
    std::string::size_type end = text.rfind("\nend ");
    return text.compare(0, 7, "writer ") == 0 && end != std::string::npos &&
           text.substr(end + 5) == std::to_string(end + 1) + "\n";
}

// Reads the file over and over in a child until stop appears; the child's
// answer is the number of reads that were not one whole file.
pid_t Start_Reader(const std::string& path, const std::string& stop, int answer)
{
    std::fflush(nullptr);
    pid_t reader = fork();
    if (reader != 0)
        return reader;
    int reads = 0, bad = 0;
    while (!Exists(stop))
    {
        reads++;
        bad += !Whole(Read_File(path));
    }
    int counts[2] = {reads, bad};
    _exit(write(answer, counts, sizeof(counts)) == sizeof(counts) ? 0 : 1);
}

// The writer child: saves its rounds; its exit status is the number of
// saves that failed.
pid_t Start_Writer(const std::string& path, int writer, int first_round, int rounds)
{
    std::fflush(nullptr);
    pid_t child = fork();
    if (child != 0)
        return child;
    int failed = 0;
    Safe_File safe;
    for (int round = first_round; round < first_round + rounds; round++)
        failed += !safe.Write(path, Round_Text(writer, round));
    _exit(failed);
}
} // namespace

// Two writers and a reader on one file, 300 rounds each way: without kills
// and with one writer killed at a random moment of each round. No reader
// ever sees an empty or mixed file, every save said done is a whole file,
// and what a killed writer left is cleared by the next start.
TEST_F(Safe_File_Test, TwoWritersAndAReaderNeverTearTheFile)
{
    const std::string path = Path("shared.map");
    ASSERT_TRUE(file.Write(path, Round_Text(0, 0)));
    int answer[2];
    ASSERT_EQ(pipe(answer), 0);
    pid_t reader = Start_Reader(path, Path("stop"), answer[1]);

    // Each writer saves its 300 rounds, at the same time as the other.
    const int rounds = 300;
    pid_t writers[2] = {Start_Writer(path, 1, 0, rounds), Start_Writer(path, 2, 0, rounds)};
    for (pid_t writer : writers)
    {
        int status = 0;
        ASSERT_EQ(waitpid(writer, &status, 0), writer);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "failed saves";
    }
    // The last save of one of them is what the disk holds.
    const std::string last = Read_File(path);
    EXPECT_TRUE(last == Round_Text(1, rounds - 1) || last == Round_Text(2, rounds - 1));
    EXPECT_EQ(Temporaries_Beside(path), 0);

    // Now one writer is killed in each round while the other saves once.
    std::mt19937 random(2026);
    std::uniform_int_distribution<int> delay(0, 3000);
    int left_behind = 0;
    for (int round = 0; round < rounds; round++)
    {
        pid_t killed = Start_Writer(path, 1, round * 10, 10);
        pid_t saver = Start_Writer(path, 2, round, 1);
        usleep(static_cast<useconds_t>(delay(random)));
        kill(killed, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(killed, &status, 0), killed);
        ASSERT_EQ(waitpid(saver, &status, 0), saver);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "round " << round;
        const std::string now = Read_File(path);
        ASSERT_TRUE(Whole(now)) << "round " << round;
        // What the disk holds is a save that was made, or one cut short by
        // the kill before it could say so.
        bool made = now == Round_Text(2, round);
        for (int turn = 0; turn < 10; turn++)
            made = made || now == Round_Text(1, round * 10 + turn);
        EXPECT_TRUE(made) << "round " << round;
        left_behind += Safe_File::Remove_Stale_Temporaries(Path(""));
        ASSERT_EQ(Temporaries_Beside(path), 0);
    }

    ASSERT_TRUE(file.Write(Path("stop"), ""));
    int counts[2] = {};
    ASSERT_EQ(read(answer[0], counts, sizeof(counts)), static_cast<ssize_t>(sizeof(counts)));
    waitpid(reader, nullptr, 0);
    close(answer[0]);
    close(answer[1]);
    EXPECT_EQ(counts[1], 0) << "reads that were not one whole file";
    EXPECT_GT(counts[0], 100);
    std::printf("2 x %d saves, %d rounds with a kill (%d temporary files left by the killed writer, all cleared); "
                "%d reads, %d of them not whole\n",
                rounds, rounds, left_behind, counts[0], counts[1]);
}
