// Writes the seed corpus of every fuzz target: fixtures made with the test builders, and
// small real files of the given font folders (copied at run time, never kept in the tree),
// with the tables of the real SFNT files cut out for the table readers.
//
// fuzz_seed_writer OUTPUT-FOLDER [FONT-FOLDER...]

#include "FuzzInputLayout.h"

#include "LegacyFontBuilder.h"
#include "ReaderFixtures.h"
#include "SfntBuilder.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using sfnttest::TByteVector;

// Seeds larger than this make libFuzzer's inputs long and its runs slow.
constexpr std::uintmax_t kMaxSeedSize = 64 * 1024;
constexpr std::uintmax_t kMaxScannedFontSize = 8 * 1024 * 1024;
constexpr std::size_t kMaxRealSeedsPerTarget = 12;

struct TSeed {
    std::string Name;
    TByteVector Bytes;
};
using TSeeds = std::vector<TSeed>;

// ---- SFNT fixtures ----

TByteVector Otto(sfnttest::TSfntBuilder font)
{
    return font.Table("CFF ", TByteVector{1, 0, 4, 2, 0, 0}).Build();
}

TByteVector DamagedNameTable()
{
    sfnttest::TNameTableBuilder table;
    table.Win(0x0409, 1, u"Damaged");
    table.Record({3, 1, 0x0409, 4, TByteVector{0, 'A'}, std::uint16_t{0xFFFF}, std::nullopt});  // length past the storage
    table.Record({3, 1, 0x0409, 2, TByteVector{0, 'B'}, std::nullopt, std::uint16_t{0xFFF0}});  // offset past the storage
    table.Record({3, 1, 0x0409, 6, TByteVector{0, 'C', 0}, std::nullopt, std::nullopt});        // odd length
    return table.Build();
}

TByteVector ManyLanguagesNameTable()
{
    sfnttest::TNameTableBuilder table;
    table.Bytes(1, 0, 0, 1, "Mac Family").Bytes(1, 0, 0, 2, "Regular").Bytes(1, 1, 11, 1, "\x83\x65\x83\x58\x83\x67");
    table.Name(0, 3, 0, 1, u"Unicode Family");
    table.Win(0x0411, 1, u"\u30C6\u30B9\u30C8").Win(0x0411, 4, u"\u30C6\u30B9\u30C8 Bold");
    table.Win(0x0409, 1, u"Test Family").Win(0x0409, 2, u"Bold").Win(0x0409, 16, u"Test").Win(0x0409, 17, u"Bold");
    table.Name(3, 0, 0x0409, 1, u"Symbol Family");
    table.Bytes(3, 2, 0x0411, 1, "\x83\x65\x83\x58");  // ShiftJIS bytes on the Windows platform
    table.Win(0x0409, 0, u"Copyright").Win(0x0409, 13, u"License");
    return table.Build();
}

TByteVector Os2(std::uint16_t version)
{
    sfnttest::TOS2Fields fields;
    fields.Version = version;
    if (version == 1)
        fields.UlCodePageRange1 = 0x80000000u;  // symbol character set
    return fields.Build();
}

TByteVector KernWithPairs(std::size_t count)
{
    sfnttest::TKernSubtable subtable;
    for (std::size_t i = 0; i < count; ++i)
        subtable.Pairs.push_back({static_cast<std::uint16_t>(i), static_cast<std::uint16_t>(i + 1), -50});
    return sfnttest::KernTable({subtable});
}

TSeeds SfntFonts()
{
    using qmtest::StandardFont;
    TSeeds seeds;
    seeds.push_back({"truetype", StandardFont().Build()});
    seeds.push_back({"otto-cff", Otto(StandardFont(sfnttest::kSfntVersionOTTO))});
    seeds.push_back({"otto-without-cff", StandardFont(sfnttest::kSfntVersionOTTO).Build()});
    seeds.push_back({"dsig", StandardFont().Table("DSIG", TByteVector{0, 0, 0, 1, 0, 0, 0, 0}).Build()});
    seeds.push_back({"kern", StandardFont().Table("kern", KernWithPairs(4)).Build()});
    seeds.push_back({"unknown-tag", StandardFont().Table("zzzz", TByteVector(8, 7)).Build()});
    seeds.push_back({"table-past-end", StandardFont().LengthDelta(1).Build()});
    seeds.push_back({"duplicate-name", StandardFont().Table("name", qmtest::NameTable()).Build()});
    seeds.push_back({"many-languages", StandardFont().Table("name", ManyLanguagesNameTable()).Build()});
    {
        sfnttest::TSfntBuilder font;
        font.Table("head", sfnttest::THeadFields{}.Build()).Table("name", DamagedNameTable());
        font.Table("OS/2", Os2(0)).Table("maxp", sfnttest::MaxpTable(0, 0x5000, 10, false)).Table("post", TByteVector(32, 0));
        seeds.push_back({"five-tables-damaged-names", font.Build()});
    }
    {
        sfnttest::TSfntBuilder font;
        font.Table("name", qmtest::NameTable()).Table("OS/2", Os2(5));
        seeds.push_back({"without-head", font.Build()});
    }
    seeds.push_back({"count-larger-than-directory", StandardFont().NumberOfTables(0xFFFF).Build()});
    return seeds;
}

TSeeds Collections()
{
    using qmtest::StandardFont;
    TSeeds seeds;
    seeds.push_back({"one-member", sfnttest::TCollectionBuilder().Member(StandardFont()).Build()});
    {
        qmtest::TFaceNames bold;
        bold.Family = u"Test Sans";
        bold.Style = u"Bold";
        bold.Full = u"Test Sans Bold";
        sfnttest::TSfntBuilder second;
        second.Table("name", qmtest::NameTable(bold)).Table("OS/2", Os2(3));
        seeds.push_back({"two-members-v2", sfnttest::TCollectionBuilder(0x00020000).Member(StandardFont()).Member(second).Build()});
    }
    {
        sfnttest::TSfntBuilder withoutNames;
        withoutNames.Table("OS/2", Os2(1));
        seeds.push_back({"second-without-names", sfnttest::TCollectionBuilder().Member(StandardFont()).Member(withoutNames).Build()});
    }
    seeds.push_back({"zero-fonts", sfnttest::TCollectionBuilder().MinimumSize(200).Build()});
    seeds.push_back({"count-beyond-offsets",
                     sfnttest::TCollectionBuilder().Member(StandardFont()).NumberOfFonts(0x00FFFFFF).MinimumSize(200).Build()});
    {
        // Every member offset names the same member.
        TByteVector bytes = sfnttest::TCollectionBuilder().Member(StandardFont()).Member(StandardFont()).Build();
        std::copy(bytes.begin() + 12, bytes.begin() + 16, bytes.begin() + 16);
        seeds.push_back({"shared-member", bytes});
    }
    return seeds;
}

TSeeds NameTables()
{
    sfnttest::TNameTableBuilder format1(1);
    format1.Win(0x0409, 1, u"Format One");
    sfnttest::TNameTableBuilder empty;
    return {{"standard", qmtest::NameTable()},
            {"many-languages", ManyLanguagesNameTable()},
            {"damaged", DamagedNameTable()},
            {"format1", format1.Build()},
            {"no-records", empty.Build()}};
}

TSeeds Os2Tables()
{
    TSeeds seeds;
    for (std::uint16_t version = 0; version <= 5; ++version)
        seeds.push_back({"version" + std::to_string(version), Os2(version)});
    TByteVector truncated = Os2(3);
    truncated.resize(70);
    seeds.push_back({"truncated", truncated});
    return seeds;
}

TSeeds HeadTables()
{
    sfnttest::THeadFields badMagic;
    badMagic.MagicNumber = 0;
    badMagic.Created = 0xFFFFFFFFFFFFFFFFull;
    return {{"standard", sfnttest::THeadFields{}.Build()}, {"bad-magic", badMagic.Build()}};
}

TSeeds MaxpTables()
{
    return {{"version0.5", sfnttest::MaxpTable(0, 0x5000, 300, false)},
            {"version1.0", sfnttest::MaxpTable(1, 0, 300, true)},
            {"version2.0", sfnttest::MaxpTable(2, 0, 300, true)}};
}

TSeeds PostTables()
{
    return {{"format1", sfnttest::PostHeader(1, 0).Take()},
            {"format2", sfnttest::PostFormat2({0, 3, 258, 259, 258, 40000}, {"alpha", "beta"})},
            {"format2-names-missing", sfnttest::PostFormat2({258, 259, 260}, {"only"})},
            {"format2.5", sfnttest::PostHeader(2, 0x5000).U16(3).U8(1).U8(1).U8(0xFF).Take()},
            {"format3", sfnttest::PostHeader(3, 0).Take()},
            {"format4", sfnttest::PostHeader(4, 0).U16(1).U16(2).Take()}};
}

TSeeds KernTables()
{
    sfnttest::TKernSubtable format2;
    format2.Coverage = 0x0201;
    sfnttest::TKernSubtable lying;
    lying.Pairs = {{1, 2, 3}};
    lying.PairCount = 0xFFFF;
    sfnttest::TKernSubtable shortLength;
    shortLength.Pairs = {{1, 2, 3}};
    shortLength.Length = 4;
    return {{"pairs", KernWithPairs(8)},
            {"format2-then-format0", sfnttest::KernTable({format2, sfnttest::TKernSubtable{0, 1, {{5, 6, 7}}, {}, {}, {}, {}, {}}})},
            {"count-beyond-table", sfnttest::KernTable({lying})},
            {"short-subtable", sfnttest::KernTable({shortLength})},
            {"mac-version", sfnttest::TBytes().U32(0x00010000).U32(1).U32(20).U16(0).U16(1).U16(0).U16(0).U16(0).Take()}};
}

// ---- little-endian fixtures ----

TSeeds Type1Pairs()
{
    const std::string outlineText = "\x80\x01\x10\x00\x00\x00%!PS-AdobeFont-1.0: Test";
    const TByteVector outline(outlineText.begin(), outlineText.end());
    qmtest::TPfmFields boldItalic;
    boldItalic.Weight = 700;
    boldItalic.Italic = 1;
    boldItalic.PostScriptName = "Test-Serif-BoldItalic";
    boldItalic.KernPairs = 1200;
    qmtest::TPfmFields noNames;
    noNames.WithNames = false;
    qmtest::TPfmFields sizeMismatch;
    sizeMismatch.SizeMatchesFile = false;
    sizeMismatch.Version = 0x0200;
    qmtest::TPfmFields notPostScript;
    notPostScript.Type = 0;
    return {{"regular", qmfuzz::JoinType1Input(qmtest::BuildPfm(), outline)},
            {"bold-italic", qmfuzz::JoinType1Input(qmtest::BuildPfm(boldItalic), outline)},
            {"without-names", qmfuzz::JoinType1Input(qmtest::BuildPfm(noNames), outline)},
            {"size-mismatch", qmfuzz::JoinType1Input(qmtest::BuildPfm(sizeMismatch), outline)},
            {"not-postscript", qmfuzz::JoinType1Input(qmtest::BuildPfm(notPostScript), outline)},
            {"outline-missing", qmfuzz::JoinType1Input(qmtest::BuildPfm(), {})}};
}

TSeeds BitmapFonts()
{
    qmtest::TFntFields faces;
    faces.ModuleDescription = "FONTRES 100,96,96 : Test Sans 8,10,12";
    faces.Faces = {qmtest::TFntFace{}, qmtest::TFntFace{}, qmtest::TFntFace{0, 1, 700, "", "Test Sans"},
                   qmtest::TFntFace{1, 0, 400, "Device", "Test Vector"}};
    qmtest::TFntFields trueTypeOnly;
    trueTypeOnly.Faces = {qmtest::TFntFace{3, 0, 400, "", "Test TrueType"}};
    qmtest::TFntFields noColon;
    noColon.ModuleDescription = "Test Sans without a colon";
    noColon.AlignShift = 0;
    qmtest::TFntFields wideShift;
    wideShift.AlignShift = 9;
    return {{"one-face", qmtest::BuildNeFont()},
            {"four-faces", qmtest::BuildNeFont(faces)},
            {"truetype-face-only", qmtest::BuildNeFont(trueTypeOnly)},
            {"no-colon-shift0", qmtest::BuildNeFont(noColon)},
            {"shift9", qmtest::BuildNeFont(wideShift)}};
}

// ---- real files ----

TByteVector ReadWholeFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return TByteVector(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t BigEndian32(const TByteVector& bytes, std::size_t at)
{
    if (at + 4 > bytes.size())
        return 0;
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 | std::uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

// The tables of a single SFNT file by tag.
std::map<std::string, TByteVector> CutTables(const TByteVector& font)
{
    std::map<std::string, TByteVector> tables;
    const std::uint32_t count = BigEndian32(font, 4) >> 16;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = 12 + 16 * std::size_t{i};
        if (entry + 16 > font.size())
            break;
        const std::string tag(font.begin() + static_cast<std::ptrdiff_t>(entry), font.begin() + static_cast<std::ptrdiff_t>(entry + 4));
        const std::uint64_t offset = BigEndian32(font, entry + 8), length = BigEndian32(font, entry + 12);
        if (offset + length <= font.size() && length <= kMaxSeedSize)
            tables[tag] = TByteVector(font.begin() + static_cast<std::ptrdiff_t>(offset),
                                      font.begin() + static_cast<std::ptrdiff_t>(offset + length));
    }
    return tables;
}

std::vector<fs::path> FontFilesOf(const std::vector<std::string>& folders)
{
    std::vector<fs::path> files;
    for (const auto& folder : folders) {
        std::error_code error;
        for (const auto& entry : fs::recursive_directory_iterator(folder, error))
            if (entry.is_regular_file(error) && entry.file_size(error) <= kMaxScannedFontSize)
                files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string LowerExtension(const fs::path& path)
{
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

class TCorpus {
public:
    explicit TCorpus(fs::path root) : FRoot(std::move(root)) {}

    void Add(const std::string& target, const TSeeds& seeds)
    {
        for (const auto& seed : seeds)
            Add(target, seed.Name, seed.Bytes);
    }

    void Add(const std::string& target, const std::string& name, const TByteVector& bytes)
    {
        const fs::path folder = FRoot / target;
        if (FCleared.insert({target, true}).second) {
            fs::remove_all(folder);
            fs::create_directories(folder);
        }
        sfnttest::WriteFile((folder / name).string(), bytes);
        ++FCounts[target];
    }

    // Real seeds are capped per target so that one large folder cannot swamp a corpus.
    bool WantsReal(const std::string& target) { return FRealCounts[target]++ < kMaxRealSeedsPerTarget; }

    void Report() const
    {
        for (const auto& [target, count] : FCounts)
            std::cout << target << ": " << count << " seeds\n";
    }

private:
    fs::path FRoot;
    std::map<std::string, bool> FCleared;
    std::map<std::string, std::size_t> FCounts;
    std::map<std::string, std::size_t> FRealCounts;
};

void AddRealFiles(TCorpus& corpus, const std::vector<std::string>& folders)
{
    static const std::map<std::string, std::string> tableTargets = {
        {"name", "fuzz_table_name"}, {"OS/2", "fuzz_table_os2"}, {"head", "fuzz_table_head"},
        {"maxp", "fuzz_table_maxp"}, {"post", "fuzz_table_post"}, {"kern", "fuzz_table_kern"}};
    for (const fs::path& path : FontFilesOf(folders)) {
        const std::string extension = LowerExtension(path);
        const bool sfnt = extension == ".ttf" || extension == ".otf";
        if (!sfnt && extension != ".fon")
            continue;
        const TByteVector bytes = ReadWholeFile(path);
        const std::string name = "real-" + path.filename().string();
        if (bytes.size() <= kMaxSeedSize) {
            const std::string whole = sfnt ? "fuzz_sfnt" : "fuzz_bitmap_font";
            if (corpus.WantsReal(whole)) {
                corpus.Add(whole, name, bytes);
                if (sfnt)
                    corpus.Add("fuzz_sfnt_table_list", name, bytes);
                corpus.Add("fuzz_read_request", name, qmfuzz::JoinRequestInput(sfnt ? 0 : 3, 0, bytes));
            }
        }
        if (sfnt)
            for (const auto& [tag, table] : CutTables(bytes))
                if (auto target = tableTargets.find(tag); target != tableTargets.end() && corpus.WantsReal(target->second))
                    corpus.Add(target->second, name, table);
    }
}

void AddRequestSeeds(TCorpus& corpus)
{
    for (const auto& seed : SfntFonts()) {
        corpus.Add("fuzz_read_request", "ttf-" + seed.Name, qmfuzz::JoinRequestInput(0, 0, seed.Bytes));
        corpus.Add("fuzz_read_request", "dat-hint1-" + seed.Name, qmfuzz::JoinRequestInput(5, 1, seed.Bytes));
    }
    for (const auto& seed : Collections())
        corpus.Add("fuzz_read_request", "ttc-" + seed.Name, qmfuzz::JoinRequestInput(2, 0, seed.Bytes));
    for (const auto& seed : BitmapFonts())
        corpus.Add("fuzz_read_request", "fon-" + seed.Name, qmfuzz::JoinRequestInput(3, 1, seed.Bytes));
    for (const auto& seed : Type1Pairs()) {
        const auto metrics = qmfuzz::SplitType1Input(seed.Bytes).Metrics;
        const TByteVector file(metrics.begin(), metrics.end());
        corpus.Add("fuzz_read_request", "pfm-" + seed.Name, qmfuzz::JoinRequestInput(4, 0, file));
        corpus.Add("fuzz_read_request", "pfm-hint2-" + seed.Name, qmfuzz::JoinRequestInput(4, 2, file));
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: fuzz_seed_writer OUTPUT-FOLDER [FONT-FOLDER...]\n";
        return 2;
    }
    try {
        TCorpus corpus(argv[1]);
        corpus.Add("fuzz_sfnt", SfntFonts());
        corpus.Add("fuzz_sfnt_table_list", SfntFonts());
        corpus.Add("fuzz_collection", Collections());
        corpus.Add("fuzz_type1", Type1Pairs());
        corpus.Add("fuzz_bitmap_font", BitmapFonts());
        corpus.Add("fuzz_table_name", NameTables());
        corpus.Add("fuzz_table_os2", Os2Tables());
        corpus.Add("fuzz_table_head", HeadTables());
        corpus.Add("fuzz_table_maxp", MaxpTables());
        corpus.Add("fuzz_table_post", PostTables());
        corpus.Add("fuzz_table_kern", KernTables());
        AddRequestSeeds(corpus);
        AddRealFiles(corpus, std::vector<std::string>(argv + 2, argv + argc));
        corpus.Report();
    } catch (const std::exception& error) {
        std::cerr << "fuzz_seed_writer: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
