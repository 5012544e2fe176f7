#include "platform/RegFile.h"
#include "RegistryTestSupport.h"

#include <gtest/gtest.h>

using platform::RegistryValue;
using platform::regfile::DecodeRegFile;
using platform::regfile::EncodeRegFile;
using platform::regfile::FormatRegText;
using platform::regfile::NormalizeKeyPath;
using platform::regfile::ParseRegText;
using platform::regfile::RegDocument;
using platform::regfile::RegFormatError;
using qmtest::Dword;
using qmtest::Utf16;

namespace {

const QString kRoot = QStringLiteral("HKEY_CURRENT_USER");
const QString kKey = QStringLiteral("Software\\Brindlecote\\Quillmark\\2.0");

RegDocument RoundTrip(const RegDocument& document)
{
    const QByteArray bytes = EncodeRegFile(FormatRegText(document, kRoot));
    return ParseRegText(DecodeRegFile(bytes), kRoot);
}

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray data;
    for (int v : values)
        data.append(static_cast<char>(v));
    return data;
}

} // namespace

TEST(RegFile, EveryValueKindSurvivesTheFileExactly)
{
    QByteArray longBinary;
    for (int i = 0; i < 300; ++i)
        longBinary.append(static_cast<char>(i));
    struct Case { const char* what; RegistryValue value; const char* expectedLine; };
    const Case cases[] = {
        {"plain text", {1, Utf16("Hello")}, "\"Value\"=\"Hello\""},
        {"empty text", {1, Utf16("")}, "\"Value\"=\"\""},
        {"quotes and backslashes", {1, Utf16("C:\\a \"b\" \\\\")}, R"("Value"="C:\\a \"b\" \\\\")"},
        {"line breaks", {1, Utf16("one\r\ntwo\nthree")}, R"("Value"="one\r\ntwo\nthree")"},
        {"tab stays", {1, Utf16("a\tb")}, "\"Value\"=\"a\tb\""},
        {"non-ASCII and a surrogate pair", {1, Utf16(QString::fromUtf8("Größe ÿ \xF0\x9F\x98\x80 日本"))}, nullptr},
        {"text without its terminator", {1, Utf16("abc", false)}, "\"Value\"=hex(1):61,00,62,00,63,00"},
        {"text with data after the null", {1, Utf16("ab") + Utf16("cd")}, nullptr},
        {"text with a control character", {1, Utf16(QString("a") + QChar(1))}, nullptr},
        {"text with a lone surrogate", {1, Utf16(QString(QChar(0xD800)) + "x")}, nullptr},
        {"text of odd length", {1, Bytes({0x41, 0x00, 0x00})}, "\"Value\"=hex(1):41,00,00"},
        {"expandable text", {2, Utf16("%HOME%/fonts")}, nullptr},
        {"dword", {4, Dword(42)}, "\"Value\"=dword:0000002a"},
        {"dword of every bit", {4, Dword(0xFFFFFFFFu)}, "\"Value\"=dword:ffffffff"},
        {"dword of three bytes", {4, Bytes({1, 2, 3})}, "\"Value\"=hex(4):01,02,03"},
        {"binary", {3, Bytes({0, 0x7F, 0x80, 0xFF})}, "\"Value\"=hex:00,7f,80,ff"},
        {"empty binary", {3, {}}, "\"Value\"=hex:"},
        {"long binary", {3, longBinary}, nullptr},
        {"multi-string", {7, Utf16("a") + Utf16("bc") + QByteArray(2, '\0')}, nullptr},
        {"none", {0, Bytes({9})}, "\"Value\"=hex(0):09"},
        {"qword, unknown here", {11, Bytes({1, 2, 3, 4, 5, 6, 7, 8})}, nullptr},
        {"a type number nobody knows", {0x12345678u, Bytes({0xAB})}, "\"Value\"=hex(12345678):ab"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RegDocument document;
        document.SetValue(kKey, "Value", c.value);
        const QString text = FormatRegText(document, kRoot);
        if (c.expectedLine)
            EXPECT_TRUE(text.contains(QString::fromUtf8(c.expectedLine) + "\n")) << text.toStdString();
        const RegDocument back = RoundTrip(document);
        const RegistryValue* value = back.FindValue(kKey, "value");
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->type, c.value.type);
        EXPECT_EQ(value->data, c.value.data);
    }
}

TEST(RegFile, LongHexListsWrapLikeRegedit)
{
    RegDocument document;
    document.SetValue(kKey, "Data", {3, QByteArray(100, '\x11')});
    const QStringList lines = FormatRegText(document, kRoot).split('\n');
    int continued = 0;
    for (const QString& line : lines) {
        EXPECT_LE(line.size(), 80) << line.toStdString();
        if (line.endsWith(",\\"))
            ++continued;
    }
    EXPECT_GT(continued, 0);
}

TEST(RegFile, NamesKeysAndOrder)
{
    RegDocument document;
    document.SetValue(kKey + "\\Options", "Text Samples", {3, Bytes({1})});
    document.SetValue(kKey + "\\GUI", "", {1, Utf16("unnamed")});
    document.SetValue(kKey + "\\GUI", "quote \" back \\ line\n", {4, Dword(1)});
    document.SetValue(kKey + "\\GUI", QString::fromUtf8("Größe"), {4, Dword(2)});

    const QString text = FormatRegText(document, kRoot);
    EXPECT_TRUE(text.startsWith("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software]\n"));
    EXPECT_TRUE(text.contains("@=\"unnamed\"\n"));
    // Parents come before children, siblings by name.
    EXPECT_LT(text.indexOf("[HKEY_CURRENT_USER\\Software\\Brindlecote]"), text.indexOf(kKey + "]"));
    EXPECT_LT(text.indexOf(kKey + "\\GUI]"), text.indexOf(kKey + "\\Options]"));

    const RegDocument back = RoundTrip(document);
    EXPECT_EQ(back, document);
    // Names compare without regard to case and keep their own.
    EXPECT_NE(back.FindValue(kKey.toUpper() + "\\gui", QString::fromUtf8("GRÖßE")), nullptr);
    EXPECT_EQ(back.ValueNames(kKey + "\\GUI"),
              QStringList({"", "quote \" back \\ line\n", QString::fromUtf8("Größe")}));
    EXPECT_TRUE(back.KeyExists("software\\BRINDLECOTE"));
}

TEST(RegFile, DeletingAKeyTakesItsSubkeysOnly)
{
    RegDocument document;
    document.SetValue("A\\B", "x", {4, Dword(1)});
    document.SetValue("A\\B\\C", "y", {4, Dword(2)});
    document.SetValue("A\\BC", "z", {4, Dword(3)});
    EXPECT_TRUE(document.DeleteKey("a\\b"));
    EXPECT_FALSE(document.KeyExists("A\\B"));
    EXPECT_FALSE(document.KeyExists("A\\B\\C"));
    EXPECT_TRUE(document.KeyExists("A\\BC"));
    EXPECT_TRUE(document.KeyExists("A"));
    EXPECT_FALSE(document.DeleteKey("A\\B"));
}

TEST(RegFile, KeyPathsAreNormalized)
{
    struct Case { QString path; std::optional<QString> expected; };
    const Case cases[] = {
        {"\\Software\\X\\", QString("Software\\X")},
        {"Software", QString("Software")},
        {"", QString("")},
        {"\\", QString("")},
        {"A\\\\B", std::nullopt},
        {QString("A\\B") + QChar(u'\n'), std::nullopt},
        {"Custom layout\\Layout 1", QString("Custom layout\\Layout 1")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NormalizeKeyPath(c.path), c.expected) << c.path.toStdString();
}

TEST(RegFile, ReadsAWindowsExportInUtf16)
{
    const QString exported = QStringLiteral(
        "Windows Registry Editor Version 5.00\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Software\\Brindlecote\\Quillmark\\2.0\\Options]\r\n"
        "\"Name\"=\"Caf\u00e9\"\r\n"
        "\"Count\"=dword:00000010\r\n"
        "; a comment\r\n"
        "\"Data\"=hex:01,02,\\\r\n"
        "  03,04\r\n"
        "\"Path\"=hex(2):25,00,41,00,25,00,00,00\r\n"
        "\"List\"=hex(7):61,00,00,00,00,00\r\n");
    QByteArray bytes("\xFF\xFE", 2);
    bytes += Utf16(exported, false);
    const RegDocument document = ParseRegText(DecodeRegFile(bytes), kRoot);
    const QString key = kKey + "\\Options";
    EXPECT_EQ(document.FindValue(key, "Name")->data, Utf16(QStringLiteral("Caf\u00e9")));
    EXPECT_EQ(document.FindValue(key, "Count")->data, Dword(16));
    EXPECT_EQ(document.FindValue(key, "Data")->data, Bytes({1, 2, 3, 4}));
    EXPECT_EQ(document.FindValue(key, "Path")->type, 2u);
    EXPECT_EQ(document.FindValue(key, "Path")->data, Utf16("%A%"));
    EXPECT_EQ(document.FindValue(key, "List")->type, 7u);

    // The same text in UTF-8 with a byte order mark reads the same.
    EXPECT_EQ(ParseRegText(DecodeRegFile("\xEF\xBB\xBF" + exported.toUtf8()), kRoot), document);
}

TEST(RegFile, DamagedTextIsRefused)
{
    const QString header = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software]\n";
    struct Case { const char* what; QString text; };
    const Case cases[] = {
        {"no header", "[HKEY_CURRENT_USER\\Software]\n\"a\"=dword:00000001\n"},
        {"old header", "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n"},
        {"empty", ""},
        {"unterminated text", header + "\"a\"=\"abc\n"},
        {"unterminated name", header + "\"a=dword:00000001\n"},
        {"unknown escape", header + "\"a\"=\"\\t\"\n"},
        {"garbage after a text", header + "\"a\"=\"x\" y\n"},
        {"bad dword", header + "\"a\"=dword:xyz\n"},
        {"long dword", header + "\"a\"=dword:123456789\n"},
        {"bad byte", header + "\"a\"=hex:01,zz\n"},
        {"empty byte", header + "\"a\"=hex:01,,02\n"},
        {"wide byte", header + "\"a\"=hex:123\n"},
        {"unclosed type", header + "\"a\"=hex(2:00\n"},
        {"hex ends with the file", header + "\"a\"=hex:01,\\\n"},
        {"unknown data", header + "\"a\"=word:1\n"},
        {"value deletion", header + "\"a\"=-\n"},
        {"key deletion", header + "[-HKEY_CURRENT_USER\\Software\\X]\n"},
        {"another root", header + "[HKEY_LOCAL_MACHINE\\Software]\n"},
        {"empty key part", header + "[HKEY_CURRENT_USER\\Software\\\\X]\n"},
        {"unclosed key", header + "[HKEY_CURRENT_USER\\Software\n"},
        {"value before any key", "Windows Registry Editor Version 5.00\n\"a\"=dword:00000001\n"},
        {"stray line", header + "hello\n"},
        {"cut off inside a line", header + "\"a\"=dword:0000"},
        {"empty quoted name", header + "\"\"=dword:00000001\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_THROW(ParseRegText(c.text, kRoot), RegFormatError);
    }
}

TEST(RegFile, DamagedBytesAreRefused)
{
    EXPECT_THROW(DecodeRegFile("Windows \xC3\x28 Registry"), RegFormatError);
    EXPECT_THROW(DecodeRegFile(QByteArray("Windows\0\0\0", 10)), RegFormatError);
    EXPECT_THROW(DecodeRegFile(QByteArray("\xFF\xFE\x41", 3)), RegFormatError);
}

TEST(RegFile, EveryPrefixOfAFileParsesOrIsRefused)
{
    RegDocument document;
    document.SetValue(kKey + "\\GUI", "Text", {1, Utf16(QString::fromUtf8("a \"quoted\" é\nline"))});
    document.SetValue(kKey + "\\GUI", "Number", {4, Dword(7)});
    document.SetValue(kKey + "\\Options", "Data", {3, QByteArray(90, '\x42')});
    const QByteArray bytes = EncodeRegFile(FormatRegText(document, kRoot));
    int parsed = 0;
    for (qsizetype n = 0; n <= bytes.size(); ++n) {
        try {
            const RegDocument prefix = ParseRegText(DecodeRegFile(bytes.left(n)), kRoot);
            ++parsed;
            // A prefix that parses holds no value the whole file does not hold.
            for (const auto& key : prefix.Keys()) {
                for (const auto& entry : key.values) {
                    const RegistryValue* full = document.FindValue(key.path, entry.name);
                    ASSERT_NE(full, nullptr);
                    EXPECT_EQ(entry.value, *full) << n;
                }
            }
        } catch (const RegFormatError&) {
        }
    }
    EXPECT_GT(parsed, 0);
}
