#include "FuzzSupport.h"

#include "platform/IcuTextServices.h"

#include "fontfile/Environment.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qmfuzz {

namespace {

constexpr const char* kFolderPrefix = "quillmark-fuzz-";

std::filesystem::path ScratchRoot()
{
    std::error_code error;
    if (std::filesystem::is_directory("/dev/shm", error) && access("/dev/shm", W_OK) == 0)
        return "/dev/shm";
    if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp)
        return tmp;
    return "/tmp";
}

// A crashing run cannot clean up after itself; the next run removes the folders of
// processes that no longer exist.
void RemoveFoldersOfDeadRuns(const std::filesystem::path& root)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(root, error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(kFolderPrefix, 0) != 0)
            continue;
        const long pid = std::strtol(name.c_str() + std::char_traits<char>::length(kFolderPrefix), nullptr, 10);
        if (pid > 0 && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            std::filesystem::remove_all(entry.path(), error);
    }
}

std::string GScratchFolder;

void RemoveScratchFolder()
{
    std::error_code error;
    std::filesystem::remove_all(GScratchFolder, error);
}

[[noreturn]] void Fail(const std::string& what)
{
    throw std::runtime_error(what + ": " + std::generic_category().message(errno));
}

} // namespace

std::string ScratchFolder()
{
    if (GScratchFolder.empty()) {
        const std::filesystem::path root = ScratchRoot();
        RemoveFoldersOfDeadRuns(root);
        const auto folder = root / (kFolderPrefix + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        GScratchFolder = folder.string();
        std::atexit(RemoveScratchFolder);
    }
    return GScratchFolder;
}

TScratchFile::TScratchFile(const std::string& name)
    : FPath(ScratchFolder() + "/" + name)
{
    Open();
}

TScratchFile::~TScratchFile()
{
    if (FDescriptor >= 0)
        close(FDescriptor);
}

void TScratchFile::Open()
{
    FDescriptor = open(FPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (FDescriptor < 0)
        Fail("cannot create " + FPath);
}

void TScratchFile::Write(TInput bytes)
{
    if (FDescriptor < 0)
        Open();
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = pwrite(FDescriptor, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            Fail("cannot write " + FPath);
        }
        done += static_cast<std::size_t>(written);
    }
    if (ftruncate(FDescriptor, static_cast<off_t>(bytes.size())) != 0)
        Fail("cannot truncate " + FPath);
}

void TScratchFile::Remove()
{
    if (FDescriptor < 0)
        return;
    close(FDescriptor);
    FDescriptor = -1;
    unlink(FPath.c_str());
}

std::string TScratchFile::AddLink(const std::string& linkName) const
{
    const std::string link = ScratchFolder() + "/" + linkName;
    unlink(link.c_str());
    if (symlink(FPath.c_str(), link.c_str()) != 0)
        Fail("cannot link " + link);
    return link;
}

void InstallTextServices()
{
    static const platform::TIcuTextServices services("ja_JP.UTF-8");
    fontfile::SetTextServices(&services);
}

} // namespace qmfuzz
