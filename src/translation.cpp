#include "translation.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <libintl.h>
#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>


#include "settings.h"

const char* const TRANSLATION_DOMAIN = "bluejay";

namespace
{
bool translating = false;
std::vector<std::string> language_folders;
std::string locale_directory;

// The game sets LANGUAGE for gettext while it translates; the player's own
// is kept, and put back when the game speaks English again.
bool language_set = false;
bool had_language = false;
std::string players_language;

std::string Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string Players_Language()
{
    if (language_set)
        return players_language;
    return Variable("LANGUAGE");
}

void Set_Language_Variable(const std::string& list)
{
    if (!language_set)
    {
        had_language = std::getenv("LANGUAGE") != nullptr;
        players_language = Variable("LANGUAGE");
        language_set = true;
    }
    setenv("LANGUAGE", list.c_str(), 1);
}

void Restore_Language_Variable()
{
    if (!language_set)
        return;
    if (had_language)
        setenv("LANGUAGE", players_language.c_str(), 1);
    else
        unsetenv("LANGUAGE");
    language_set = false;
}

// "de_AT.UTF-8@euro" gives "de_AT" and "de"; "C", "POSIX" and anything that
// is not a language code give nothing.
void Add_Folders(std::string code, std::vector<std::string>& folders)
{
    code = code.substr(0, code.find_first_of(".@"));
    if (code.empty() || code == "C" || code == "POSIX" ||
        code.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_") != std::string::npos ||
        code[0] == '_')
        return;
    for (const std::string& folder : {code, code.substr(0, code.find('_'))})
    {
        bool known = false;
        for (const std::string& other : folders)
            known = known || other == folder;
        if (!known)
            folders.push_back(folder);
    }
}

bool Is_File(const std::string& path)
{
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// Where catalogues are looked for, in order.
std::vector<std::string> Locale_Candidates()
{
    std::vector<std::string> candidates;
    std::string program = Program_Directory();
    if (!program.empty())
    {
        candidates.push_back(program + "/locale");
        candidates.push_back(program + "/../../share/locale");
        candidates.push_back(program + "/../share/locale");
    }
#ifdef BLUEJAY_LOCALE_DIR
    candidates.push_back(BLUEJAY_LOCALE_DIR);
#endif
    candidates.push_back("/usr/share/locale");
    return candidates;
}

// The first folder of catalogues that has one for a language of the list.
std::string Find_Locale_Directory(const std::vector<std::string>& folders)
{
    for (const std::string& candidate : Locale_Candidates())
        for (const std::string& folder : folders)
            if (Is_File(candidate + "/" + folder + "/LC_MESSAGES/" + TRANSLATION_DOMAIN + ".mo"))
                return candidate;
    return std::string();
}
} // namespace

const char* Translate(const char* english)
{
    // The empty text stands for the catalogue's header in gettext.
    if (!translating || english == nullptr || english[0] == '\0')
        return english;
    return dgettext(TRANSLATION_DOMAIN, english);
}

bool Choose_Language(const std::string& language)
{
    // As gettext reads the environment: LANGUAGE, a list such as "de:fr",
    // before the locale's variables.
    std::string list = language.empty() ? Players_Language() : language;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (list.empty())
            list = Variable(variable);
    language_folders.clear();
    for (std::string::size_type start = 0; start <= list.size();)
    {
        std::string::size_type colon = list.find(':', start);
        if (colon == std::string::npos)
            colon = list.size();
        Add_Folders(list.substr(start, colon - start), language_folders);
        start = colon + 1;
    }

    locale_directory = Find_Locale_Directory(language_folders);
    translating = !locale_directory.empty();
    if (!translating)
    {
        Restore_Language_Variable();
        return language_folders.empty();
    }

    // gettext follows LANGUAGE whatever locales the system has, as long as
    // the messages' locale is not the plain "C" one.
    std::string joined;
    for (const std::string& folder : language_folders)
        joined += (joined.empty() ? "" : ":") + folder;
    Set_Language_Variable(joined);
    if (std::setlocale(LC_MESSAGES, "C.UTF-8") == nullptr)
        std::setlocale(LC_MESSAGES, "");
    bindtextdomain(TRANSLATION_DOMAIN, locale_directory.c_str());
    bind_textdomain_codeset(TRANSLATION_DOMAIN, "UTF-8");
    // Setting the domain again makes gettext forget the texts it looked up
    // in the language before.
    textdomain(TRANSLATION_DOMAIN);
    return true;
}

const std::vector<std::string>& Language_Folders()
{
    return language_folders;
}

bool Translating()
{
    return translating;
}

std::string Locale_Directory()
{
    return locale_directory.empty() ? Find_Locale_Directory(language_folders) : locale_directory;
}

int Text_Characters(const char* text)
{
    int count = 0;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c != '\0'; c++)
        if ((*c & 0xC0) != 0x80)
            count++;
    return count;
}

std::string Padded_Text(const char* text, int width)
{
    std::string padded = text;
    for (int count = Text_Characters(text); count < width; count++)
        padded += ' ';
    return padded;
}

std::string Format_Text(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    va_list again;
    va_copy(again, arguments);
    int length = std::vsnprintf(nullptr, 0, format, arguments);
    va_end(arguments);
    std::string text;
    if (length > 0)
    {
        text.resize(static_cast<size_t>(length) + 1);
        std::vsnprintf(&text[0], text.size(), format, again);
        text.resize(static_cast<size_t>(length));
    }
    va_end(again);
    return text;
}

std::vector<std::string> Installed_Languages()
{
    std::vector<std::string> languages;
    for (const std::string& candidate : Locale_Candidates())
    {
        DIR* folder = opendir(candidate.c_str());
        if (folder == nullptr)
            continue;
        for (dirent* entry = readdir(folder); entry != nullptr; entry = readdir(folder))
        {
            std::string code = entry->d_name;
            std::vector<std::string> folders;
            Add_Folders(code, folders);
            if (!folders.empty() && folders[0] == code &&
                Is_File(candidate + "/" + code + "/LC_MESSAGES/" + TRANSLATION_DOMAIN + ".mo") &&
                std::find(languages.begin(), languages.end(), code) == languages.end())
                languages.push_back(code);
        }
        closedir(folder);
        // The first folder that has any catalogue is the game's own.
        if (!languages.empty())
            break;
    }
    std::sort(languages.begin(), languages.end());
    languages.insert(languages.begin(), std::string());
    return languages;
}

std::string Language_Name(const std::string& code)
{
    // Each language named in its own words, as a menu of languages shows it.
    static const struct
    {
        const char* code;
        const char* name;
    } NAMES[] = {{"", "English"}, {"en", "English"}, {"de", "Deutsch"}, {"fr", "Français"}};
    for (const auto& entry : NAMES)
        if (code == entry.code)
            return entry.name;
    return code;
}
