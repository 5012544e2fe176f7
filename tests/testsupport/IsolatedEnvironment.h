#pragma once

// Points HOME, every XDG folder and fontconfig at a fresh temporary folder, so that no test
// ever reads or changes the real user's fonts, settings or fontconfig files. Child processes
// started by a test inherit the same environment.

#include <string>

namespace qmtest {

class IsolatedEnvironment {
public:
    IsolatedEnvironment();
    ~IsolatedEnvironment();
    IsolatedEnvironment(const IsolatedEnvironment&) = delete;
    IsolatedEnvironment& operator=(const IsolatedEnvironment&) = delete;

    const std::string& Root() const { return FRoot; }
    std::string Home() const { return FRoot + "/home"; }
    std::string DataHome() const { return Home() + "/.local/share"; }
    std::string ConfigHome() const { return Home() + "/.config"; }
    std::string StateHome() const { return Home() + "/.local/state"; }
    std::string CacheHome() const { return Home() + "/.cache"; }
    std::string RuntimeDir() const { return FRoot + "/run"; }
    std::string UserFontFolder() const { return DataHome() + "/fonts"; }
    std::string FontconfigFile() const { return FRoot + "/fonts.conf"; }
    // A scratch folder for the test's own files (created on demand, emptied with the rest).
    std::string Scratch() const { return FRoot + "/scratch"; }

    // The environment every test binary runs in; made by the shared test main.
    static IsolatedEnvironment& Global();
    static void InstallGlobal();

private:
    std::string FRoot;
};

} // namespace qmtest
