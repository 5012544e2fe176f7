#pragma once

// Builders for the little-endian font files of the tests: printer font metrics files (.PFM)
// and 16-bit "NE" font resource files (.FON). Each field is written with a comment saying
// what it is; the defaults make a well-formed file that a test then spoils in one place.

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace qmtest {

class TLittleEndianBytes {
public:
    TLittleEndianBytes& U8(std::uint32_t value) { FBytes.push_back(static_cast<std::uint8_t>(value)); return *this; }
    TLittleEndianBytes& U16(std::uint32_t value) { return U8(value).U8(value >> 8); }
    TLittleEndianBytes& U32(std::uint32_t value) { return U16(value).U16(value >> 16); }
    TLittleEndianBytes& Text(const std::string& text) { FBytes.insert(FBytes.end(), text.begin(), text.end()); return *this; }
    // Text followed by a zero byte.
    TLittleEndianBytes& CString(const std::string& text) { return Text(text).U8(0); }
    TLittleEndianBytes& Zeros(std::size_t count) { FBytes.insert(FBytes.end(), count, 0); return *this; }
    TLittleEndianBytes& PadTo(std::size_t size) { if (FBytes.size() < size) Zeros(size - FBytes.size()); return *this; }
    void PutU8(std::size_t at, std::uint32_t value) { PadTo(at + 1); FBytes[at] = static_cast<std::uint8_t>(value); }
    void PutU16(std::size_t at, std::uint32_t value) { PutU8(at, value); PutU8(at + 1, value >> 8); }
    void PutU32(std::size_t at, std::uint32_t value) { PutU16(at, value); PutU16(at + 2, value >> 16); }
    void PutText(std::size_t at, const std::string& text)
    {
        for (std::size_t i = 0; i < text.size(); ++i)
            PutU8(at + i, static_cast<unsigned char>(text[i]));
    }

    std::size_t Size() const { return FBytes.size(); }
    const std::vector<std::uint8_t>& Bytes() const { return FBytes; }

private:
    std::vector<std::uint8_t> FBytes;
};

inline void WriteFile(const std::string& fileName, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

struct TPfmFields {
    std::uint16_t Version = 0x0100;       // dfVersion; bit 8 marks a real metrics file
    bool SizeMatchesFile = true;          // dfSize equal to the file size
    std::string Copyright = "Copyright (c) Test Foundry";
    std::uint16_t Type = 129;             // dfType: a PostScript font
    std::uint8_t Italic = 0;              // dfItalic
    std::uint16_t Weight = 400;           // dfWeight
    std::string FaceName = "Test Serif";
    std::string PostScriptName = "TestSerif-Regular";
    std::uint16_t KernPairs = 0;          // etmKernPairs
    bool WithNames = true;                // false: dfFace 0, no names
};

// Header (117 bytes), extension (30), extended text metrics (52), then face and PostScript names.
inline std::vector<std::uint8_t> BuildPfm(const TPfmFields& fields = {})
{
    constexpr std::size_t kExtMetrics = 147;
    constexpr std::size_t kFaceName = kExtMetrics + 52;
    const std::size_t postScriptName = kFaceName + fields.FaceName.size() + 1;

    TLittleEndianBytes b;
    b.PadTo(kFaceName);
    b.PutU16(0, fields.Version);                  // dfVersion
    b.PutText(6, fields.Copyright.substr(0, 60)); // dfCopyright, 60 bytes
    b.PutU16(66, fields.Type);                    // dfType
    b.PutU8(80, fields.Italic);                   // dfItalic
    b.PutU16(83, fields.Weight);                  // dfWeight
    b.PutU32(105, fields.WithNames ? kFaceName : 0);      // dfFace
    b.PutU16(117, 30);                            // dfSizeFields
    b.PutU32(119, kExtMetrics);                   // dfExtMetricsOffset
    b.PutU32(139, fields.WithNames ? postScriptName : 0); // dfDriverInfo
    b.PutU16(kExtMetrics, 52);                    // etmSize
    b.PutU16(kExtMetrics + 48, fields.KernPairs); // etmKernPairs
    b.CString(fields.FaceName).CString(fields.PostScriptName);
    b.PutU32(2, fields.SizeMatchesFile ? static_cast<std::uint32_t>(b.Size()) : 12345);  // dfSize
    return b.Bytes();
}

struct TFntFace {
    std::uint8_t Type = 0;        // dfType low byte: 0 raster, 1 vector, 3 TrueType
    std::uint8_t Italic = 0;      // dfItalic
    std::uint16_t Weight = 400;   // dfWeight
    std::string DeviceName;       // usually empty
    std::string FaceName = "Test Sans";
};

struct TFntFields {
    std::string ModuleDescription = "FONTRES 100,96,96 : Test Sans 8,10,12";
    std::vector<TFntFace> Faces = {TFntFace{}};
    std::uint16_t AlignShift = 4;
};

// "MZ" stub (64 bytes), "NE" header at 0x40, resource table, non-resident names, and the font
// directory resource at an aligned offset.
inline std::vector<std::uint8_t> BuildNeFont(const TFntFields& fields = {})
{
    constexpr std::size_t kNeHeader = 0x40;
    constexpr std::size_t kResourceTable = kNeHeader + 0x40;  // from the file start
    const std::size_t alignment = std::size_t{1} << fields.AlignShift;

    TLittleEndianBytes b;
    b.PadTo(kNeHeader);
    b.PutU16(0, 0x5A4D);       // "MZ"
    b.PutU8(24, 0x40);         // relocation table offset (> 63: a new-style executable)
    b.PutU32(60, kNeHeader);   // new header offset
    b.PadTo(kResourceTable);
    b.PutU16(kNeHeader, 0x454E);                     // "NE"
    b.PutU16(kNeHeader + 36, kResourceTable - kNeHeader);  // resource table, from the NE header

    // Resource table: shift, one block of type 0x8007 with one entry, end of types.
    b.U16(fields.AlignShift);
    b.U16(0x8007).U16(1).U32(0);
    const std::size_t entry = b.Size();
    b.U16(0).U16(0).U16(0x0C50).U16(0x8001).U16(0).U16(0);  // offset, length, flags, ID, handle, usage
    b.U16(0);                                              // end of the type blocks

    const std::size_t nonResident = b.Size();
    b.PutU16(kNeHeader + 44, nonResident);                 // non-resident name table
    b.U8(fields.ModuleDescription.size()).Text(fields.ModuleDescription).U16(0);

    b.PadTo((b.Size() + alignment - 1) / alignment * alignment);
    const std::size_t directory = b.Size();
    b.U16(fields.Faces.size());                            // number of entries
    for (std::size_t i = 0; i < fields.Faces.size(); ++i) {
        const TFntFace& face = fields.Faces[i];
        b.U16(i + 1);                                      // font ordinal
        const std::size_t header = b.Size();
        b.Zeros(113);
        b.PutU16(header, 0x0200);                          // dfVersion
        b.PutU8(header + 66, face.Type);                   // dfType
        b.PutU8(header + 80, face.Italic);                 // dfItalic
        b.PutU16(header + 83, face.Weight);                // dfWeight
        b.CString(face.DeviceName).CString(face.FaceName);
    }
    b.PadTo((b.Size() + alignment - 1) / alignment * alignment);
    b.PutU16(entry, directory >> fields.AlignShift);                       // resource offset
    b.PutU16(entry + 2, (b.Size() - directory + alignment - 1) >> fields.AlignShift);  // length
    return b.Bytes();
}

} // namespace qmtest
