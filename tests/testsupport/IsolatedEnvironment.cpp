#include "IsolatedEnvironment.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <system_error>

namespace qmtest {

namespace fs = std::filesystem;

namespace {

void Set(const char* name, const std::string& value)
{
    ::setenv(name, value.c_str(), 1);
}

// The system's font folders stay visible (read-only); the caches fontconfig writes and the
// user's configuration live below the temporary root. The system cache folder is listed after
// ours, so it is only read.
void WriteFontconfigFile(const IsolatedEnvironment& env)
{
    std::ofstream conf(env.FontconfigFile());
    conf << "<?xml version=\"1.0\"?>\n"
            "<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
            "<fontconfig>\n"
            "  <dir>/usr/share/fonts</dir>\n"
            "  <dir>/usr/local/share/fonts</dir>\n"
            "  <dir prefix=\"xdg\">fonts</dir>\n"
            "  <dir>~/.fonts</dir>\n"
            "  <cachedir>" << env.CacheHome() << "/fontconfig</cachedir>\n"
            "  <cachedir>/var/cache/fontconfig</cachedir>\n"
            "  <include ignore_missing=\"yes\">/etc/fonts/conf.d</include>\n"
            "</fontconfig>\n";
    if (!conf)
        throw std::runtime_error("cannot write " + env.FontconfigFile());
}

std::unique_ptr<IsolatedEnvironment> GGlobal;

} // namespace

IsolatedEnvironment::IsolatedEnvironment()
{
    std::string pattern = (fs::temp_directory_path() / "quillmark-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    FRoot = pattern;

    for (const auto& dir : {Home(), DataHome(), ConfigHome(), StateHome(), CacheHome(), RuntimeDir(), Scratch()})
        fs::create_directories(dir);
    fs::permissions(RuntimeDir(), fs::perms::owner_all, fs::perm_options::replace);
    WriteFontconfigFile(*this);

    Set("HOME", Home());
    Set("XDG_DATA_HOME", DataHome());
    Set("XDG_CONFIG_HOME", ConfigHome());
    Set("XDG_STATE_HOME", StateHome());
    Set("XDG_CACHE_HOME", CacheHome());
    Set("XDG_RUNTIME_DIR", RuntimeDir());
    Set("FONTCONFIG_FILE", FontconfigFile());
    ::unsetenv("FONTCONFIG_PATH");
    ::unsetenv("FONTCONFIG_SYSROOT");
}

IsolatedEnvironment::~IsolatedEnvironment()
{
    std::error_code ignored;
    fs::remove_all(FRoot, ignored);
}

IsolatedEnvironment& IsolatedEnvironment::Global()
{
    if (!GGlobal)
        throw std::logic_error("IsolatedEnvironment::InstallGlobal has not run");
    return *GGlobal;
}

void IsolatedEnvironment::InstallGlobal()
{
    if (!GGlobal)
        GGlobal = std::make_unique<IsolatedEnvironment>();
}

} // namespace qmtest
