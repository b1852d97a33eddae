// The demo movie file: reading it into the signal buffer, writing it back
// safely, and which level the demo plays on.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "application.h"
#include "test_support.h"

namespace
{
std::string Lines(int level, const std::vector<int>& words)
{
    std::string text = std::to_string(level) + "\n";
    for (int word : words)
        text += std::to_string(word) + "\n";
    return text;
}

int Count_Lines(const std::string& text)
{
    int lines = 0;
    for (char c : text)
        if (c == '\n')
            lines++;
    return lines;
}

std::vector<std::string> Directory_Entries(const std::string& path)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path))
        names.push_back(entry.path().filename().string());
    return names;
}
} // namespace

class MovieTest : public testing::Test
{
protected:
    Application application;
    Temporary_Directory directory;

    void Load_Text(const std::string& text)
    {
        std::string path = directory.Write("movie.dat", text);
        application.Load_Movie(path.c_str());
    }

    // Loads a file into the movie as the game does at start-up: into an
    // empty buffer.
    void Reload(const std::string& path)
    {
        application.signal_buffer_length = 0;
        application.Load_Movie(path.c_str());
    }

    std::vector<int> Words() const
    {
        return std::vector<int>(application.signal_buffer,
                                application.signal_buffer + application.signal_buffer_length);
    }
};

TEST_F(MovieTest, ReadsTheLevelAndOneWordPerLine)
{
    Load_Text("5\n0\n4\n");
    EXPECT_EQ(application.movie_level, 5);
    EXPECT_EQ(Words(), (std::vector<int>{0, 4}));
    EXPECT_EQ(application.signal_buffer_position, 0);
}

TEST_F(MovieTest, AnyWhiteSpaceSeparatesTheNumbers)
{
    Load_Text("7 12\t\t9\r\n\n  268435456 \n");
    EXPECT_EQ(application.movie_level, 7);
    EXPECT_EQ(Words(), (std::vector<int>{12, 9, 0x10000000}));
}

TEST_F(MovieTest, LastNumberWithoutALineEndIsNotAWord)
{
    Load_Text("5\n0\n4");
    EXPECT_EQ(application.movie_level, 5);
    EXPECT_EQ(Words(), (std::vector<int>{0}));
}

TEST_F(MovieTest, LevelAloneGivesAnEmptyMovie)
{
    Load_Text("9");
    EXPECT_EQ(application.movie_level, 9);
    EXPECT_EQ(application.signal_buffer_length, 0);
}

TEST_F(MovieTest, KeepsAtMostEighteenThousandWordsAndWritesBackOnlyThose)
{
    std::vector<int> words;
    for (int i = 0; i <= Application::MAX_SIGNAL_BUFFER_LENGTH; i++)
        words.push_back(i % 97);
    words.back() = 4242;
    Load_Text(Lines(1, words));
    ASSERT_EQ(application.signal_buffer_length, Application::MAX_SIGNAL_BUFFER_LENGTH);
    EXPECT_EQ(application.signal_buffer[17999], words[17999]);

    std::string saved = directory.Path("saved.dat");
    ASSERT_TRUE(application.Save_Movie(saved.c_str()));
    std::string text = Read_File(saved);
    EXPECT_EQ(Count_Lines(text), 18001);
    words.pop_back();
    EXPECT_EQ(text, Lines(1, words));
}

TEST_F(MovieTest, ReadingStopsAtATokenThatIsNotANumber)
{
    Load_Text("2\n8\n16\nright\n32\n");
    EXPECT_EQ(application.movie_level, 2);
    EXPECT_EQ(Words(), (std::vector<int>{8, 16}));

    // A number too large for a word stops it too.
    Reload(directory.Write("large.dat", "3\n1\n99999999999\n2\n"));
    EXPECT_EQ(application.movie_level, 3);
    EXPECT_EQ(Words(), (std::vector<int>{1}));
}

TEST_F(MovieTest, FileWithoutALevelNumberChangesNothing)
{
    application.movie_level = 4;
    Load_Text("demo\n1\n2\n");
    EXPECT_EQ(application.movie_level, 4);
    EXPECT_EQ(application.signal_buffer_length, 0);
    Load_Text("");
    EXPECT_EQ(application.movie_level, 4);
    EXPECT_EQ(application.signal_buffer_length, 0);
}

TEST_F(MovieTest, LoadThenSaveReproducesASavedFileExactly)
{
    std::string text = Lines(3, {0, 4, 4, 12, 0x8000000, 0, 1, 1, 1, 0x20});
    std::string path = directory.Write("movie.dat", text);
    application.Load_Movie(path.c_str());
    ASSERT_TRUE(application.Save_Movie(path.c_str()));
    EXPECT_EQ(Read_File(path), text);

    // And a movie loaded from that file is the same movie.
    std::vector<int> words = Words();
    Reload(path);
    EXPECT_EQ(application.movie_level, 3);
    EXPECT_EQ(Words(), words);
}

TEST_F(MovieTest, MissingFileLeavesTheMovieEmptyAndSaveWritesTheLevelAlone)
{
    std::string path = directory.Path("movie.dat");
    application.Load_Movie(path.c_str());
    EXPECT_EQ(application.movie_level, 0);
    EXPECT_EQ(application.signal_buffer_length, 0);
    ASSERT_TRUE(application.Save_Movie(path.c_str()));
    EXPECT_EQ(Read_File(path), "0\n");
}

TEST_F(MovieTest, SaveIntoAMissingDirectoryFailsAndCreatesNothing)
{
    application.movie_level = 2;
    std::string path = directory.Path("no_such_directory/movie.dat");
    EXPECT_FALSE(application.Save_Movie(path.c_str()));
    EXPECT_FALSE(std::filesystem::exists(directory.Path("no_such_directory")));
    EXPECT_TRUE(Directory_Entries(directory.Path("")).empty());
}

TEST_F(MovieTest, SaveReplacesTheOldFileAndLeavesNoTemporaryFile)
{
    std::string path = directory.Write("movie.dat", Lines(9, {1, 2, 3, 4, 5, 6}));
    application.movie_level = 1;
    application.signal_buffer[0] = 16;
    application.signal_buffer_length = 1;
    ASSERT_TRUE(application.Save_Movie(path.c_str()));
    EXPECT_EQ(Read_File(path), "1\n16\n");
    EXPECT_EQ(Directory_Entries(directory.Path("")), (std::vector<std::string>{"movie.dat"}));
}

TEST_F(MovieTest, SaveOverSomethingThatIsNotAFileFailsAndKeepsIt)
{
    std::filesystem::create_directory(directory.Path("movie.dat"));
    EXPECT_FALSE(application.Save_Movie(directory.Path("movie.dat").c_str()));
    EXPECT_TRUE(std::filesystem::is_directory(directory.Path("movie.dat")));
    EXPECT_EQ(Directory_Entries(directory.Path("")), (std::vector<std::string>{"movie.dat"}));
}

TEST_F(MovieTest, LevelOutsideTheGameIsKeptButTheDemoPlaysOnTheFirstLevel)
{
    const struct
    {
        int movie_level;
        int demo_level;
    } cases[] = {{0, 0}, {5, 5}, {119, 119}, {120, 0}, {-1, 0}, {1000000, 0}};
    for (const auto& expected : cases)
    {
        Reload(directory.Write("movie.dat", Lines(expected.movie_level, {0})));
        EXPECT_EQ(application.movie_level, expected.movie_level);
        EXPECT_EQ(application.Movie_Level_Index(), expected.demo_level) << "movie level " << expected.movie_level;
    }
}

TEST_F(MovieTest, TheGamesOwnMovieReadsBackUnchanged)
{
    char path[Application::MAX_PATH_LENGTH];
    Make_Path(path, MOVIE_FILE);
    application.Load_Movie(path);
    ASSERT_GT(application.signal_buffer_length, 0) << path;
    EXPECT_GE(application.movie_level, 0);
    EXPECT_LT(application.movie_level, Application::NUMBER_OF_LEVELS);
    std::string copy = directory.Path("copy.dat");
    ASSERT_TRUE(application.Save_Movie(copy.c_str()));
    int level = application.movie_level;
    std::vector<int> words = Words();
    application.movie_level = -5;
    Reload(copy);
    EXPECT_EQ(application.movie_level, level);
    EXPECT_EQ(Words(), words);
}
