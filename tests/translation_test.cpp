// The game in the player's language: the German catalogue and messages, the
// English fallback, and translations that the font can draw and that fit.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "string_list.h"
#include "test_support.h"
#include "translation.h"

namespace
{
using Entries = std::vector<std::pair<std::string, std::string>>;

// The English and translated texts of a compiled catalogue (.mo), but its
// header.
Entries Read_Catalogue(const std::string& path)
{
    std::string data = Read_File(path);
    auto word = [&](size_t at) {
        uint32_t value = 0;
        if (at + 4 <= data.size())
            std::memcpy(&value, data.data() + at, 4);
        return static_cast<size_t>(value);
    };
    auto text = [&](size_t table, size_t i) {
        size_t length = word(table + 8 * i), offset = word(table + 8 * i + 4);
        return offset + length <= data.size() ? data.substr(offset, length) : std::string();
    };
    Entries entries;
    for (size_t i = 0; i < word(8); i++)
        if (!text(word(12), i).empty())
            entries.push_back({text(word(12), i), text(word(16), i)});
    return entries;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    for (std::string::size_type end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

// The texts the game never draws: the desktop entry's, and the settings
// file's reports, which go to the console.
std::vector<std::string> Undrawn_Texts()
{
    std::vector<std::string> texts;
    std::ifstream catalogue("po/bluejay.pot");
    bool undrawn = false;
    for (std::string line; std::getline(catalogue, line);)
    {
        if (line.rfind("#: ", 0) == 0)
        {
            std::string places = " " + line.substr(3) + " ";
            for (std::string::size_type at; (at = places.find(" src/settings.cpp ")) != std::string::npos;)
                places.erase(at, std::strlen(" src/settings.cpp"));
            undrawn = places.find("src/") == std::string::npos;
        }
        else if (line.rfind("msgid \"", 0) == 0 && undrawn)
        {
            std::string text;
            for (std::string::size_type i = 7; i + 1 < line.size(); i++)
                text += line[i] == '\\' && ++i < line.size() ? (line[i] == 'n' ? '\n' : line[i]) : line[i];
            texts.push_back(text);
        }
    }
    return texts;
}

// The first character the built-in font has no letter for, or 0.
int Missing_Letter(const std::string& text)
{
    const char* at = text.c_str();
    while (*at != '\0')
    {
        int letter = ugetx(const_cast<char**>(&at));
        bool drawn = letter == '\n';
        for (int range = 0; range < get_font_ranges(font) && !drawn; range++)
            drawn = letter >= get_font_range_begin(font, range) && letter <= get_font_range_end(font, range);
        if (!drawn)
            return letter;
    }
    return 0;
}

class Translation : public Loaded_Application_Test
{
protected:
    void SetUp() override { ASSERT_TRUE(Choose_Language("de")) << "no German catalogue in " << Locale_Directory(); }
    // Back to the English every other test reads.
    void TearDown() override { Choose_Language("C"); }

    std::string Message_Path(int level)
    {
        char path[Application::MAX_PATH_LENGTH];
        Make_Message_Path(path, level);
        return path;
    }
};
} // namespace

TEST_F(Translation, GermanReadsGermanAndAnyOtherLanguageEnglish)
{
    EXPECT_STREQ(Translate("Sound on"), "Ton an");
    EXPECT_STREQ(Translate("Keys: %s (F1, Esc)"), "Tasten: %s (F1, Esc)");
    EXPECT_EQ(Message_Path(0), "data/messages/de/message_0.txt");
    String_List message;
    message.Load_From_File(Message_Path(0).c_str());
    EXPECT_EQ(message.strings[0], "Willkommen, kleiner Häher!");
    // A language's messages fall back one by one to the English ones.
    EXPECT_EQ(Message_Path(Application::NUMBER_OF_LEVELS - 1), "data/messages/message_119.txt");
    ASSERT_TRUE(Choose_Language("fr"));
    EXPECT_STREQ(Translate("Sound on"), "Son activé");
    EXPECT_EQ(Message_Path(0), "data/messages/fr/message_0.txt");
    // The country is dropped when it has no catalogue of its own.
    ASSERT_TRUE(Choose_Language("de_AT.UTF-8"));
    EXPECT_STREQ(Translate("Sound off"), "Ton aus");

    EXPECT_FALSE(Choose_Language("xx"));
    EXPECT_FALSE(Translating());
    EXPECT_STREQ(Translate("Sound on"), "Sound on");
    EXPECT_EQ(Message_Path(0), "data/messages/message_0.txt");
    // The player's environment, as gettext reads it: a list in LANGUAGE.
    const char* players = std::getenv("LANGUAGE");
    std::string before = players != nullptr ? players : "";
    setenv("LANGUAGE", "xx:de", 1);
    EXPECT_TRUE(Choose_Language(""));
    EXPECT_STREQ(Translate("Sound on"), "Ton an");
    Choose_Language("C");
    setenv("LANGUAGE", "xx", 1);
    EXPECT_FALSE(Choose_Language(""));
    EXPECT_STREQ(Translate("Sound on"), "Sound on");
    players != nullptr ? setenv("LANGUAGE", before.c_str(), 1) : unsetenv("LANGUAGE");

    // The choices of a menu of languages, English first.
    std::vector<std::string> languages = Installed_Languages();
    ASSERT_GE(languages.size(), 3u);
    EXPECT_EQ(languages[0], "");
    EXPECT_NE(std::find(languages.begin(), languages.end(), "de"), languages.end());
    EXPECT_EQ(Language_Name("de"), "Deutsch");

    // Nothing of a language code may reach a path but letters.
    Choose_Language("../../de");
    EXPECT_EQ(Message_Path(0), "data/messages/message_0.txt");
}

TEST_F(Translation, EveryTranslationHasTheFontsLettersAndFitsWhereItIsDrawn)
{
    int catalogues = 0;
    std::vector<std::string> undrawn = Undrawn_Texts();
    ASSERT_FALSE(undrawn.empty());
    for (const auto& language : std::filesystem::directory_iterator(Locale_Directory()))
    {
        std::string path = language.path().string() + "/LC_MESSAGES/bluejay.mo";
        if (!std::filesystem::is_regular_file(path))
            continue;
        catalogues++;
        for (const auto& [english, translated] : Read_Catalogue(path))
        {
            EXPECT_EQ(Missing_Letter(translated), 0) << path << ": \"" << translated << "\"";
            // A text that fits on the canvas in English is one drawn there.
            bool drawn = std::find(undrawn.begin(), undrawn.end(), english) == undrawn.end();
            for (const std::string& line : Lines(english))
                drawn = drawn && text_length(font, line.c_str()) <= Application::CANVAS_WIDTH;
            for (const std::string& line : Lines(translated))
                EXPECT_TRUE(!drawn || text_length(font, line.c_str()) <= Application::CANVAS_WIDTH)
                    << path << ": \"" << line << "\" is wider than the canvas";
        }
    }
    EXPECT_GT(catalogues, 0);

    // The editor's help from its command table, in every mode, and the
    // status lines right of the preview, with the widest numbers.
    for (int mode : {Application::SCREEN_MODE, Application::CHARACTER_MODE, Application::PLATFORM_MODE})
    {
        application.editor_mode = mode;
        char lines[Application::HELP_LINES][Application::EDITOR_LINE_LENGTH];
        int count = 0;
        application.Editor_Help_Lines(lines, count, Application::HELP_LINES - 1);
        for (int i = 0; i < count; i++)
            EXPECT_LE(text_length(font, lines[i]), Application::CANVAS_WIDTH) << lines[i];
    }
    int room = Application::CANVAS_WIDTH - Application::STATUS_X;
    for (const std::string& line :
         {Format_Text(Translate("Mode: %s"), Translate("platform mode")), Format_Text(Translate("Level %i%s"), 119, " *"),
          Format_Text(Translate("music %i background %i"), 12, 12),
          Format_Text(Translate("platforms %i/%i"), Level::MAX_PLATFORMS, Level::MAX_PLATFORMS),
          Format_Text(Translate("characters %i/%i"), Level::MAX_CHARACTERS, Level::MAX_CHARACTERS)})
        EXPECT_LE(text_length(font, line.c_str()), room) << line;
}

TEST_F(Translation, TranslatedMessagesKeepTheFormatAndFitTheScreen)
{
    int german = 0;
    for (const auto& folder : std::filesystem::directory_iterator("data/messages"))
    {
        if (!folder.is_directory())
            continue;
        for (const auto& file : std::filesystem::directory_iterator(folder.path()))
        {
            std::string name = file.path().filename().string();
            std::string english = "data/messages/" + name;
            ASSERT_TRUE(std::filesystem::is_regular_file(english)) << file.path() << " has no English original";
            std::string text = Read_File(file.path().string());
            ASSERT_FALSE(text.empty());
            EXPECT_EQ(text.back(), '\n') << file.path() << ": the last line needs its line end to count";
            EXPECT_EQ(text.find('\r'), std::string::npos) << file.path();
            std::vector<std::string> lines = Lines(text.substr(0, text.size() - 1));
            size_t english_lines = Lines(Read_File(english)).size() - 1;
            EXPECT_LE(lines.size(), std::max<size_t>(9, english_lines)) << file.path();
            for (const std::string& line : lines)
            {
                EXPECT_LE(Text_Characters(line.c_str()), 31) << file.path() << ": " << line;
                EXPECT_EQ(Missing_Letter(line), 0) << file.path() << ": " << line;
            }
            german += folder.path().filename() == "de";
        }
    }
    EXPECT_EQ(german, 24) << "every level of the campaign has its German message";
}
