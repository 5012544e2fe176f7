// scan: how fast the read request reads a folder of fonts, beside fc-scan on the same folders
// and, with --bare, beside a bare reader of the directory, "name" and "OS/2".
//
// scan [--bare] [--rss[-every N]] [--passes N] [--no-fc-scan] [--no-warmup] FOLDER...

#include "BareSfntReader.h"

#include "fontfile/Environment.h"
#include "fontfile/FontFileFaces.h"
#include "platform/IcuTextServices.h"
#include "support/FreeThread.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using TClock = std::chrono::steady_clock;

struct TOptions {
    bool Bare = false;
    bool FcScan = true;
    bool Warmup = true;
    std::size_t RssEvery = 0;
    int Passes = 3;
    std::vector<std::string> Folders;
};

void PrintUsage()
{
    std::cerr << "usage: scan [--bare] [--rss | --rss-every N] [--passes N] [--no-fc-scan] [--no-warmup] FOLDER...\n"
                 "  --bare        also time a bare reader of the directory, \"name\" and \"OS/2\"\n"
                 "  --rss-every N print the resident set after every N files (--rss: 500)\n"
                 "  --passes N    time N passes and report the fastest (default 3)\n";
}

bool ParseCount(const char* text, long minimum, long& value)
{
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return end && *end == '\0' && value >= minimum;
}

bool ParseOptions(int argc, char** argv, TOptions& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        long value = 0;
        if (argument == "--bare")
            options.Bare = true;
        else if (argument == "--no-fc-scan")
            options.FcScan = false;
        else if (argument == "--no-warmup")
            options.Warmup = false;
        else if (argument == "--rss")
            options.RssEvery = 500;
        else if (argument == "--rss-every" && i + 1 < argc && ParseCount(argv[++i], 1, value))
            options.RssEvery = static_cast<std::size_t>(value);
        else if (argument == "--passes" && i + 1 < argc && ParseCount(argv[++i], 1, value))
            options.Passes = static_cast<int>(value);
        else if (argument.rfind("--", 0) == 0)
            return false;
        else
            options.Folders.push_back(argument);
    }
    return !options.Folders.empty();
}

// The files the read request is given: font files by extension, as the program's folder scan
// picks them (an outline file is reached through its metrics file).
std::string LowerExtension(const fs::path& path)
{
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

bool IsReadFontFile(const fs::path& path)
{
    static const std::set<std::string> extensions = {".ttf", ".otf", ".ttc", ".fon", ".fnt", ".pfm"};
    return extensions.count(LowerExtension(path)) != 0;
}

struct TCorpus {
    std::vector<std::string> FontFiles;
    std::vector<std::string> AllFiles;
};

TCorpus FindFiles(const std::vector<std::string>& folders)
{
    TCorpus corpus;
    for (const auto& folder : folders) {
        std::error_code error;
        for (auto it = fs::recursive_directory_iterator(folder, error); !error && it != fs::recursive_directory_iterator();
             it.increment(error)) {
            if (!it->is_regular_file(error))
                continue;
            corpus.AllFiles.push_back(it->path().string());
            if (IsReadFontFile(it->path()))
                corpus.FontFiles.push_back(it->path().string());
        }
        if (error)
            std::cerr << "scan: " << folder << ": " << error.message() << '\n';
    }
    std::sort(corpus.FontFiles.begin(), corpus.FontFiles.end());
    std::sort(corpus.AllFiles.begin(), corpus.AllFiles.end());
    return corpus;
}

long CurrentRssKb()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

long PeakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

struct TExtensionTime {
    std::size_t Files = 0;
    double Seconds = 0;
};

struct TPassResult {
    std::size_t Files = 0;
    std::size_t Faces = 0;
    std::size_t Unreadable = 0;  // no face, a raised read, or faces of font kind 8
    double Seconds = 0;
    double CpuSeconds = 0;  // of the whole process: the freeing thread's work counts too
    std::map<std::string, TExtensionTime> ByExtension;  // lower-case extension with its dot
};

using TFileReader = std::function<void(const std::string& file, TPassResult& result)>;

void ReadThroughRequest(const std::string& file, TPassResult& result)
{
    fontfile::TFontReadRequest request;
    request.FirstFile = file;
    try {
        const fontfile::TFontReadResult read = fontfile::ReadFontFileFaces(request);
        result.Faces += read.Items.Count();
        if (read.Items.Empty() || !read.FailureText.empty())
            ++result.Unreadable;
    } catch (const std::exception&) {
        ++result.Unreadable;
    }
}

void ReadBare(const std::string& file, TPassResult& result)
{
    const std::size_t faces = bench::ReadBareFaces(file);
    result.Faces += faces;
    if (faces == 0)
        ++result.Unreadable;
}

double ProcessCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

TPassResult RunPass(const std::vector<std::string>& files, const TFileReader& reader, std::size_t rssEvery)
{
    TPassResult result;
    const double cpuStart = ProcessCpuSeconds();
    const auto start = TClock::now();
    for (const auto& file : files) {
        const auto fileStart = TClock::now();
        reader(file, result);
        TExtensionTime& byExtension = result.ByExtension[LowerExtension(file)];
        ++byExtension.Files;
        byExtension.Seconds += std::chrono::duration<double>(TClock::now() - fileStart).count();
        ++result.Files;
        if (rssEvery && result.Files % rssEvery == 0)
            std::cout << "  after " << result.Files << " files: RSS " << CurrentRssKb() << " KB\n";
    }
    result.Seconds = std::chrono::duration<double>(TClock::now() - start).count();
    result.CpuSeconds = ProcessCpuSeconds() - cpuStart;
    return result;
}

// The fastest pass of each reader (by wall time; the least CPU time is kept apart). The
// readers take turns pass by pass, so that on a shared machine each sees the same load.
std::vector<TPassResult> FastestPasses(const std::vector<std::string>& files, const std::vector<TFileReader>& readers,
                                       int passes)
{
    std::vector<TPassResult> best(readers.size());
    for (int i = 0; i < passes; ++i) {
        for (std::size_t r = 0; r < readers.size(); ++r) {
            const TPassResult pass = RunPass(files, readers[r], 0);
            const double leastCpu = i == 0 ? pass.CpuSeconds : std::min(best[r].CpuSeconds, pass.CpuSeconds);
            if (i == 0 || pass.Seconds < best[r].Seconds)
                best[r] = pass;
            best[r].CpuSeconds = leastCpu;
        }
    }
    return best;
}

double MicrosecondsPerFile(const TPassResult& result)
{
    return result.Files ? result.Seconds * 1e6 / static_cast<double>(result.Files) : 0;
}

double CpuMicrosecondsPerFile(const TPassResult& result)
{
    return result.Files ? result.CpuSeconds * 1e6 / static_cast<double>(result.Files) : 0;
}

void PrintPass(const char* label, const TPassResult& result)
{
    std::printf("%-13s files %zu, faces %zu, unreadable %zu, wall %.3f s, %.0f files/s, %.1f us/file"
                " (least CPU time %.1f us/file)\n",
                label, result.Files, result.Faces, result.Unreadable, result.Seconds,
                result.Seconds > 0 ? static_cast<double>(result.Files) / result.Seconds : 0, MicrosecondsPerFile(result),
                CpuMicrosecondsPerFile(result));
    for (const auto& [extension, time] : result.ByExtension)
        std::printf("  %-5s %5zu files, %.1f us/file\n", extension.c_str(), time.Files,
                    time.Seconds * 1e6 / static_cast<double>(time.Files));
}

std::string ShellQuoted(const std::string& text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

struct TFcScanResult {
    bool Ran = false;
    std::size_t Files = 0;  // distinct files with at least one face
    std::size_t Faces = 0;  // patterns printed
    double Seconds = 0;
};

TFcScanResult RunFcScan(const std::vector<std::string>& folders)
{
    std::string command = "fc-scan --format '%{file}\\n'";
    for (const auto& folder : folders)
        command += " " + ShellQuoted(folder);
    command += " 2>/dev/null";

    TFcScanResult result;
    const auto start = TClock::now();
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    std::set<std::string> files;
    std::string line;
    for (int c = std::fgetc(pipe); c != EOF; c = std::fgetc(pipe)) {
        if (c != '\n') {
            line.push_back(static_cast<char>(c));
            continue;
        }
        files.insert(line);
        ++result.Faces;
        line.clear();
    }
    const int status = pclose(pipe);
    result.Seconds = std::chrono::duration<double>(TClock::now() - start).count();
    result.Ran = status != -1 && WIFEXITED(status) && WEXITSTATUS(status) != 127;
    result.Files = files.size();
    return result;
}

TFcScanResult FastestFcScan(const std::vector<std::string>& folders, int passes)
{
    TFcScanResult best;
    for (int i = 0; i < passes; ++i) {
        const TFcScanResult pass = RunFcScan(folders);
        if (!pass.Ran)
            return pass;
        if (i == 0 || pass.Seconds < best.Seconds)
            best = pass;
    }
    return best;
}

// Every byte of every file once, so that all timed passes start from a warm file cache.
void WarmFileCache(const std::vector<std::string>& files)
{
    std::vector<char> buffer(1 << 16);
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0) {
        }
    }
}

// The library's text services are the user's ICU services while the benchmark runs.
class TTextServicesInstall {
public:
    explicit TTextServicesInstall(const fontfile::ITextServices& services) { fontfile::SetTextServices(&services); }
    ~TTextServicesInstall() { fontfile::SetTextServices(nullptr); }
    TTextServicesInstall(const TTextServicesInstall&) = delete;
    TTextServicesInstall& operator=(const TTextServicesInstall&) = delete;
};

} // namespace

int main(int argc, char** argv)
{
    TOptions options;
    if (!ParseOptions(argc, argv, options)) {
        PrintUsage();
        return 2;
    }
    // As in the program: the user's text services, and file streams closed on the freeing thread.
    const platform::TIcuTextServices textServices(platform::TIcuTextServices::UserPosixLocale());
    const TTextServicesInstall textServicesInstall(textServices);
    const support::TFreeThreadScope freeThread;

    const TCorpus corpus = FindFiles(options.Folders);
    std::printf("corpus: %zu files in %zu folder(s), %zu of them font files for the read request "
                "(.ttf .otf .ttc .fon .fnt .pfm)\n",
                corpus.AllFiles.size(), options.Folders.size(), corpus.FontFiles.size());
    if (corpus.FontFiles.empty())
        return 1;
    if (options.Warmup)
        WarmFileCache(corpus.AllFiles);

    if (options.RssEvery) {
        std::printf("resident set while reading (RSS at start %ld KB):\n", CurrentRssKb());
        RunPass(corpus.FontFiles, ReadThroughRequest, options.RssEvery);
    }

    std::vector<TFileReader> readers = {ReadThroughRequest};
    if (options.Bare)
        readers.push_back(ReadBare);
    const std::vector<TPassResult> fastest = FastestPasses(corpus.FontFiles, readers, options.Passes);
    const TPassResult& request = fastest.front();
    std::printf("fastest of %d passes%s:\n", options.Passes, options.Bare ? " (the two readers taking turns)" : "");
    PrintPass("read request", request);

    if (options.Bare) {
        const TPassResult& bare = fastest.back();
        PrintPass("bare reader", bare);
        std::printf("read request / bare reader: %.2fx the time per file, %.2fx the CPU time per file\n",
                    MicrosecondsPerFile(request) / MicrosecondsPerFile(bare),
                    CpuMicrosecondsPerFile(request) / CpuMicrosecondsPerFile(bare));
    }

    if (options.FcScan) {
        const TFcScanResult fc = FastestFcScan(options.Folders, options.Passes);
        if (!fc.Ran) {
            std::printf("fc-scan: could not be run\n");
        } else {
            const double fcPerFile = fc.Files ? fc.Seconds * 1e6 / static_cast<double>(fc.Files) : 0;
            std::printf("%-13s files %zu (with a face), faces %zu, wall %.3f s, %.0f files/s, %.1f us/file\n", "fc-scan",
                        fc.Files, fc.Faces, fc.Seconds, fc.Seconds > 0 ? static_cast<double>(fc.Files) / fc.Seconds : 0,
                        fcPerFile);
            std::printf("fc-scan / read request: %.1fx the time per file, %.1fx the wall time over the same folders\n",
                        fcPerFile / MicrosecondsPerFile(request), fc.Seconds / request.Seconds);
        }
    }
    std::printf("peak RSS: %ld KB\n", PeakRssKb());
    return 0;
}
