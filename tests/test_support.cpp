#include "test_support.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

#include "bluejay.h"
#include "platform.h"

Temporary_Directory::Temporary_Directory()
{
    char pattern[] = "/tmp/bluejay_test_XXXXXX";
    char* made = mkdtemp(pattern);
    path = made != nullptr ? made : "/tmp";
}

bool Run_As_Ordinary_User(const std::function<bool()>& check)
{
    constexpr uid_t NOBODY = 65534;
    if (geteuid() != 0)
        return check();
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0)
    {
        if (setgid(NOBODY) != 0 || setuid(NOBODY) != 0)
            _exit(2);
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

Temporary_Directory::~Temporary_Directory()
{
    // Removed in this process: starting a shell for it cost more than the
    // rest of a short test.
    std::error_code ignored;
    if (path != "/tmp")
        std::filesystem::remove_all(path, ignored);
}

std::string Temporary_Directory::Path(const std::string& name) const
{
    return path + "/" + name;
}

std::string Temporary_Directory::Write(const std::string& name, const std::string& text) const
{
    std::string file_name = Path(name);
    std::ofstream file(file_name, std::ios::binary);
    file << text;
    return file_name;
}

std::string Read_File(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

int Temporaries_Beside(const std::string& path)
{
    std::filesystem::path file(path);
    std::string start = file.filename().string() + ".tmp";
    int count = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path(), error))
        count += entry.path().filename().string().compare(0, start.size(), start) == 0;
    return count;
}

bool With_File_Size_Limit(unsigned long bytes, const std::function<bool()>& save)
{
    struct rlimit before;
    getrlimit(RLIMIT_FSIZE, &before);
    struct rlimit limit = before;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
    void (*previous)(int) = std::signal(SIGXFSZ, SIG_IGN);
    bool saved = save();
    std::signal(SIGXFSZ, previous);
    setrlimit(RLIMIT_FSIZE, &before);
    return saved;
}

Test_Character::Test_Character(int type_code, int picture)
{
    type = type_code;
    bitmap = picture;
    strength = 1;
    number_of_bump_maps = 1;
}

void Test_Character::Process(Application&, Level&)
{
    processed++;
}

void Set_Bitmap(Application& application, int index, int width, int height)
{
    if (application.bitmaps[index] != nullptr)
        destroy_bitmap(application.bitmaps[index]);
    application.bitmaps[index] = create_bitmap(width, height);
    clear_to_color(application.bitmaps[index], makecol(255, 0, 255));
}

Platform* Add_Platform(Level& level, int type, int x, int y)
{
    Platform* platform = level.platforms[level.number_of_platforms++];
    platform->type = type;
    platform->x = x;
    platform->y = y;
    platform->Initialize();
    return platform;
}

Rectangle Box(int left, int top, int right, int bottom)
{
    Rectangle box;
    box.left = left;
    box.top = top;
    box.right = right;
    box.bottom = bottom;
    return box;
}

Bluejay* Add_Hero(Level& level, int x, int y)
{
    Bluejay* hero = Add_Character(level, new Bluejay(), x, y);
    level.main_character = level.number_of_characters - 1;
    Load_Bump_Map_For_Character("data\\bump_maps\\bluejay.map", level.characters, level.main_character);
    return hero;
}

void Add_Ground(Level& level, int x, int last_x, int y)
{
    for (; x <= last_x; x += 32)
        Add_Platform(level, Level::GROUND, x, y);
}

void Release_All_Keys()
{
    std::memset(const_cast<char*>(key), 0, KEY_MAX);
}

int Signals_With_Keys(Application& application, std::initializer_list<int> held)
{
    Release_All_Keys();
    for (int code : held)
        key[code] = 1;
    application.Generate_Signals();
    return application.signals;
}

int Pixels_Unlike(BITMAP* canvas, int x, int y, int width, int height, int colour)
{
    int count = 0;
    for (int row = y; row < y + height; row++)
        for (int column = x; column < x + width; column++)
            if (getpixel(canvas, column, row) != colour)
                count++;
    return count;
}

Application* Loaded_Files::loaded = nullptr;

namespace
{
void Swap_Loaded_Files(Application& one, Application& other)
{
    std::swap(one.bitmaps, other.bitmaps);
    std::swap(one.ghost_canvas, other.ghost_canvas);
    std::swap(one.master_ecto_canvas, other.master_ecto_canvas);
    std::swap(one.music_tracks, other.music_tracks);
    std::swap(one.sound_effects, other.sound_effects);
    std::swap(one.missing_resource, other.missing_resource);
}
} // namespace

void Loaded_Files::Load()
{
    loaded = new Application();
    loaded->Load_Resources();
}

void Loaded_Files::Free()
{
    delete loaded;
    loaded = nullptr;
}

void Loaded_Files::Lend(Application& borrower)
{
    Swap_Loaded_Files(borrower, *loaded);
}

void Loaded_Files::Take_Back(Application& borrower)
{
    Swap_Loaded_Files(borrower, *loaded);
}

void Editor_Fixture::SetUp()
{
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof(here)), nullptr);
    previous_directory = here;
    std::error_code copy_error;
    std::filesystem::copy("data", directory.Path("data"), std::filesystem::copy_options::recursive, copy_error);
    ASSERT_FALSE(copy_error) << copy_error.message();
    ASSERT_EQ(chdir(directory.Path("").c_str()), 0);
    moved = true;
    Application::Press_Keys_For_Signals(0);
    editor = std::make_unique<Application>();
    Loaded_Files::Lend(*editor);
    borrowed = true;
    ASSERT_STREQ(editor->missing_resource, "");
}

void Editor_Fixture::TearDown()
{
    Application::Press_Keys_For_Signals(0);
    if (borrowed)
        Loaded_Files::Take_Back(*editor);
    editor.reset();
    if (moved && chdir(previous_directory.c_str()) != 0)
        std::abort();
}

bool Editor_Fixture::Shows_Text(int x, int y, const std::string& text, int colour)
{
    int width = text_length(font, text.c_str());
    int height = text_height(font);
    BITMAP* expected = create_bitmap(width, height);
    clear_to_color(expected, makecol(1, 2, 3));
    textprintf_ex(expected, font, 0, 0, colour == -1 ? makecol(255, 255, 255) : colour, makecol(0, 0, 0), "%s",
                  text.c_str());
    bool same = true;
    for (int row = 0; row < height; row++)
        for (int column = 0; column < width && x + column < editor->canvas->w; column++)
            if (getpixel(editor->canvas, x + column, y + row) != getpixel(expected, column, row))
                same = false;
    destroy_bitmap(expected);
    return same;
}
