#include "fontfile/Type1OutlineHeader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using fontfile::ReadType1OutlineHeader;

namespace {

const char* const kStandardHeader =
    "%!PS-AdobeFont-1.0: TestSans-Regular 001.000\n"
    "%%CreationDate: some day\n"
    "11 dict begin\n"
    "/FontInfo 10 dict dup begin /FullName (Test Sans) readonly def end readonly def\n"
    "/FontName /TestSans-Regular def\n"
    "/FontMatrix [0.001 0 0 0.001 0 0] readonly def\n"
    "/FontBBox {-168 -281 1000 924} readonly def\n"
    "currentdict end\ncurrentfile eexec\n";

std::vector<std::byte> Bytes(const std::string& text)
{
    std::vector<std::byte> bytes(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        bytes[i] = static_cast<std::byte>(text[i]);
    return bytes;
}

// A .pfb file: the clear text as segment 1 (with a length that may lie), then a binary segment.
std::vector<std::byte> Pfb(const std::string& text, std::uint32_t claimedLength)
{
    std::vector<std::byte> bytes{std::byte{0x80}, std::byte{0x01}};
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<std::byte>((claimedLength >> shift) & 0xFF));
    const std::vector<std::byte> body = Bytes(text);
    bytes.insert(bytes.end(), body.begin(), body.end());
    for (const int value : {0x80, 0x02, 4, 0, 0, 0, 0xDE, 0xAD, 0xBE, 0xEF})
        bytes.push_back(static_cast<std::byte>(value));
    return bytes;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    text.replace(text.find(from), from.size(), to);
    return text;
}

struct THeaderCase {
    const char* Name;
    std::vector<std::byte> Data;
    bool Read;
    double Scale = 0.001;  // FontMatrix[3]
    double YMin = -281;
    double YMax = 924;
};

TEST(Type1OutlineHeader, ReadsMatrixAndBoxFromTheClearText)
{
    const std::string text = kStandardHeader;
    const THeaderCase cases[] = {
        {"text file (.pfa, .t1)", Bytes(text), true},
        {"segment of a .pfb file", Pfb(text, static_cast<std::uint32_t>(text.size())), true},
        {"segment length beyond the file", Pfb(text, 0xFFFFFF), true},
        {"\"%!FontType1\" start", Bytes(Replaced(text, "%!PS-AdobeFont-1.0", "%!FontType1-1.1")), true},
        {"braces and brackets swapped",
         Bytes(Replaced(Replaced(text, "[0.001 0 0 0.001 0 0]", "{0.001 0 0 0.001 0 0}"), "{-168 -281 1000 924}",
                        "[-168 -281 1000 924]")),
         true},
        {"real numbers and exponents",
         Bytes(Replaced(Replaced(text, "[0.001 0 0 0.001 0 0]", "[4.8828125e-4 0 0 +4.8828125E-4 0 0]"),
                        "{-168 -281 1000 924}", "{-168.5 -281.25 1000 924.75}")),
         true, 4.8828125e-4, -281.25, 924.75},
        {"no spaces inside the arrays",
         Bytes(Replaced(text, "/FontBBox {-168 -281 1000 924}", "/FontBBox{-168 -281 1000 924}")), true},
        {"a key in a comment is skipped",
         Bytes(Replaced(text, "11 dict begin\n", "11 dict begin\n% /FontBBox {0 0 1 1} readonly def\n")), true},
        {"a longer name is not the key",
         Bytes(Replaced(text, "/FontName", "/FontBBoxes {0 0 1 1} def /FontName")), true},
        {"not a Type 1 font", Bytes(Replaced(text, "%!PS-AdobeFont-1.0", "%!PS-Adobe-3.0")), false},
        {"binary segment first", Bytes(std::string("\x80\x02\x04\x00\x00\x00", 6) + text), false},
        {"box missing", Bytes(Replaced(text, "/FontBBox", "/FontBox")), false},
        {"box after eexec", Bytes(Replaced(Replaced(text, "/FontBBox {-168 -281 1000 924} readonly def\n", ""),
                                           "eexec\n", "eexec\n/FontBBox {-168 -281 1000 924} def\n")),
         false},
        {"box with three numbers", Bytes(Replaced(text, "{-168 -281 1000 924}", "{-168 -281 1000}")), false},
        {"radix number", Bytes(Replaced(text, "{-168 -281 1000 924}", "{-168 -281 1000 16#39C}")), false},
        {"matrix computed by a procedure", Bytes(Replaced(text, "[0.001 0 0 0.001 0 0]", "matrix")), false},
        {"absurd number", Bytes(Replaced(text, "{-168 -281 1000 924}", "{-168 -281 1000 1e300}")), false},
        {"cut inside the box", Bytes(text.substr(0, text.find("1000 924"))), false},
        {"empty", {}, false},
    };
    for (const THeaderCase& test : cases) {
        SCOPED_TRACE(test.Name);
        const auto header = ReadType1OutlineHeader(test.Data);
        ASSERT_EQ(header.has_value(), test.Read);
        if (!header)
            continue;
        EXPECT_DOUBLE_EQ(header->FontMatrix[3], test.Scale);
        EXPECT_DOUBLE_EQ(header->FontBBox[1], test.YMin);
        EXPECT_DOUBLE_EQ(header->FontBBox[3], test.YMax);
    }
}

TEST(Type1OutlineHeader, EveryPrefixReadsWithoutFault)
{
    const std::string text = kStandardHeader;
    const std::vector<std::byte> pfb = Pfb(text, static_cast<std::uint32_t>(text.size()));
    for (std::size_t length = 0; length <= pfb.size(); ++length)
        (void)ReadType1OutlineHeader(std::span<const std::byte>(pfb.data(), length));
}

} // namespace
