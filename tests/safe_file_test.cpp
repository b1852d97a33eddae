// The one safe write: the whole new text or the old file, never a cut-off
// one; permission bits and symbolic links kept; failures in the system's
// words.

#include <gtest/gtest.h>

#include <string>
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
