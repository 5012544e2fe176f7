#include "settings/WideRegistry.h"
#include "RegistryTestSupport.h"

#include <gtest/gtest.h>

using platform::RegistryValue;
using settings::ERegistryException;
using settings::EStringListError;
using settings::TRegValueKind;
using settings::TWideRegistry;
using qmtest::Dword;
using qmtest::Utf16;

namespace {

const QString kKey = QStringLiteral("Software\\Brindlecote\\Quillmark\\2.0\\Test");

class WideRegistryTest : public qmtest::ScratchRegistryTest {
protected:
    void SetUp() override
    {
        ScratchRegistryTest::SetUp();
        ASSERT_TRUE(FRegistry.OpenKey(kKey, true));
    }
    void Put(const QString& name, quint32 type, const QByteArray& data) { Store().SetValue(kKey, name, {type, data}); }
    std::optional<RegistryValue> Raw(const QString& name) { return Store().QueryValue(kKey, name); }

    TWideRegistry FRegistry;
};

template <typename F>
std::string MessageOf(F&& call)
{
    try {
        call();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "(no exception)";
}

} // namespace

TEST_F(WideRegistryTest, KindsFollowTheTypeNumbersWithTheCrossing)
{
    struct Case { quint32 type; TRegValueKind kind; };
    const Case cases[] = {
        {0, TRegValueKind::Unknown},      {1, TRegValueKind::String},
        {2, TRegValueKind::ExpandString}, {3, TRegValueKind::Binary},
        {4, TRegValueKind::Integer},      {7, TRegValueKind::MultiString},
        {5, TRegValueKind::Unknown},      {11, TRegValueKind::Unknown},
        {0xABCDEF, TRegValueKind::Unknown},
    };
    for (const Case& c : cases) {
        const QString name = QString::number(c.type);
        Put(name, c.type, QByteArray(3, 'x'));
        TRegValueKind kind = TRegValueKind::String;
        int size = 0;
        ASSERT_TRUE(FRegistry.GetDataInfoW(name, kind, size)) << c.type;
        EXPECT_EQ(kind, c.kind) << c.type;
        EXPECT_EQ(size, 3);
        EXPECT_EQ(platform::RegistryTypeFromKind(c.kind), c.kind == TRegValueKind::Unknown ? 0u : c.type);
    }
    TRegValueKind kind;
    int size = 0;
    EXPECT_FALSE(FRegistry.GetDataInfoW("missing", kind, size));
    EXPECT_EQ(FRegistry.GetDataSizeW("missing"), -1);
    EXPECT_FALSE(FRegistry.ValueExistsW("missing"));
    EXPECT_TRUE(FRegistry.ValueExistsW("4"));
}

TEST_F(WideRegistryTest, ReadStringW)
{
    struct Case { const char* what; quint32 type; QByteArray data; const char* expected; const char* error; };
    const Case cases[] = {
        {"with its terminator", 1, Utf16("Quill \"mark\""), "Quill \"mark\"", nullptr},
        {"without a terminator", 1, Utf16("full text", false), "full text", nullptr},
        {"extra data after the null", 1, Utf16("head") + Utf16("tail"), "head", nullptr},
        {"expandable", 2, Utf16("$HOME/x"), "$HOME/x", nullptr},
        {"empty data", 1, QByteArray(), "", nullptr},
        {"empty data of another kind", 4, QByteArray(), "", nullptr},
        {"a dword", 4, Dword(7), nullptr, "Invalid data type for 'Value'"},
        {"binary", 3, Utf16("text"), nullptr, "Invalid data type for 'Value'"},
        {"multi-string", 7, Utf16("a") + QByteArray(2, '\0'), nullptr, "Invalid data type for 'Value'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Put("Value", c.type, c.data);
        if (c.error)
            EXPECT_EQ(MessageOf([&] { FRegistry.ReadStringW("Value"); }), c.error);
        else
            EXPECT_EQ(FRegistry.ReadStringW("Value").toStdString(), c.expected);
    }
    EXPECT_EQ(FRegistry.ReadStringW("missing"), QString());
}

TEST_F(WideRegistryTest, WriteStringWStoresTextWithItsTerminator)
{
    const QString text = QString::fromUtf8("Größe \xF0\x9F\x98\x80\r\nzwei");
    FRegistry.WriteStringW("Text", text);
    EXPECT_EQ(Raw("Text"), (RegistryValue{1, Utf16(text)}));
    EXPECT_EQ(FRegistry.GetDataSizeW("Text"), (text.size() + 1) * 2);
    EXPECT_EQ(FRegistry.ReadStringW("text"), text);
}

TEST_F(WideRegistryTest, MultiStrings)
{
    const QStringList list{"first", QString::fromUtf8("zwéi"), "3"};
    FRegistry.WriteMultiStringW("List", list);
    EXPECT_EQ(Raw("List"), (RegistryValue{7, Utf16("first") + Utf16(QString::fromUtf8("zwéi")) + Utf16("3") + QByteArray(2, '\0')}));
    QStringList back{"stale"};
    FRegistry.ReadMultiStringW("List", back);
    EXPECT_EQ(back, list);

    EXPECT_EQ(MessageOf([&] { FRegistry.WriteMultiStringW("Bad", {"a", "", "b"}); }), "Invalid empty string");
    EXPECT_THROW(FRegistry.WriteMultiStringW("Bad", {""}), EStringListError);
    EXPECT_FALSE(Raw("Bad")) << "nothing is written";

    struct Case { const char* what; QByteArray data; QStringList expected; };
    const Case cases[] = {
        {"empty value", QByteArray(), {}},
        {"only the closing null", QByteArray(2, '\0'), {}},
        {"no closing nulls", Utf16("a") + Utf16("b", false), {"a", "b"}},
        {"stops at the first empty entry", Utf16("a") + QByteArray(2, '\0') + Utf16("b"), {"a"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Put("Raw", 7, c.data);
        QStringList read{"stale"};
        FRegistry.ReadMultiStringW("Raw", read);
        EXPECT_EQ(read, c.expected);
    }
    Put("Text", 1, Utf16("a"));
    QStringList read;
    EXPECT_EQ(MessageOf([&] { FRegistry.ReadMultiStringW("Text", read); }), "Invalid data type for 'Text'");
}

TEST_F(WideRegistryTest, ValueNamesAndDeletion)
{
    FRegistry.WriteStringW(QString::fromUtf8("Ünïcode"), "x");
    FRegistry.WriteInteger("Number", 1);
    QStringList names{"stale"};
    FRegistry.GetValueNamesW(names);
    EXPECT_EQ(names, QStringList({QString::fromUtf8("Ünïcode"), "Number"}));
    EXPECT_TRUE(FRegistry.DeleteValueW(QString::fromUtf8("üNÏCODE")));
    EXPECT_FALSE(FRegistry.DeleteValueW(QString::fromUtf8("Ünïcode")));
    FRegistry.GetValueNamesW(names);
    EXPECT_EQ(names, QStringList({"Number"}));
}

TEST_F(WideRegistryTest, TypedValuesOfThePlatformAccessor)
{
    FRegistry.WriteInteger("Int", -5);
    FRegistry.WriteBool("Bool", true);
    FRegistry.WriteFloat("Float", 20.5);
    FRegistry.WriteBinaryData("Bin", QByteArray("\x01\x02", 2));
    EXPECT_EQ(Raw("Int"), (RegistryValue{4, Dword(0xFFFFFFFBu)}));
    EXPECT_EQ(Raw("Bool"), (RegistryValue{4, Dword(1)}));
    EXPECT_EQ(Raw("Float")->type, 3u);
    EXPECT_EQ(Raw("Float")->data, QByteArray::fromHex("0000000000803440"));
    EXPECT_EQ(FRegistry.ReadInteger("Int"), -5);
    EXPECT_TRUE(FRegistry.ReadBool("Bool"));
    EXPECT_EQ(FRegistry.ReadFloat("Float"), 20.5);
    EXPECT_EQ(FRegistry.ReadBinaryData("Bin"), QByteArray("\x01\x02", 2));

    Put("Seven", 4, Dword(7));
    EXPECT_TRUE(FRegistry.ReadBool("Seven")) << "any non-zero number is true";
    Put("Short", 3, QByteArray(4, '\0'));
    EXPECT_EQ(MessageOf([&] { FRegistry.ReadFloat("Short"); }), "Invalid data type for 'Short'");
    EXPECT_EQ(MessageOf([&] { FRegistry.ReadInteger("Short"); }), "Invalid data type for 'Short'");
    EXPECT_EQ(MessageOf([&] { FRegistry.ReadBinaryData("Int"); }), "Invalid data type for 'Int'");
    EXPECT_EQ(MessageOf([&] { FRegistry.ReadInteger("missing"); }), "Failed to get data for 'missing'");
    Put("None", 0, QByteArray("\x05", 1));
    EXPECT_EQ(FRegistry.ReadBinaryData("None"), QByteArray("\x05", 1));
}

TEST_F(WideRegistryTest, AFailedWriteRaises)
{
    Store().SetBeforeReplaceHook([] { throw platform::RegistryHiveError("disk full"); });
    EXPECT_EQ(MessageOf([&] { FRegistry.WriteStringW("Name", "x"); }), "Failed to set data for 'Name'");
    EXPECT_EQ(MessageOf([&] { FRegistry.WriteMultiStringW("List", {"x"}); }), "Failed to set data for 'List'");
    EXPECT_THROW(FRegistry.WriteInteger("Int", 1), ERegistryException);
    Store().SetBeforeReplaceHook(nullptr);
}

TEST_F(WideRegistryTest, KeysOpenFromTheRootOrBelowTheOpenKey)
{
    EXPECT_EQ(FRegistry.CurrentPath(), kKey);
    ASSERT_TRUE(FRegistry.OpenKey("Child", true));
    EXPECT_EQ(FRegistry.CurrentPath(), kKey + "\\Child");
    ASSERT_TRUE(FRegistry.OpenKey("\\Software", false));
    EXPECT_EQ(FRegistry.CurrentPath(), "Software");
    EXPECT_FALSE(FRegistry.OpenKey("\\Software\\Missing", false));
    EXPECT_FALSE(FRegistry.KeyExists("\\Software\\Missing"));
    EXPECT_FALSE(FRegistry.OpenKey("\\Bad\\\\Name", true));
    FRegistry.CloseKey();
    EXPECT_FALSE(FRegistry.HasCurrentKey());
    EXPECT_TRUE(FRegistry.KeyExists(kKey + "\\Child"));
    EXPECT_TRUE(FRegistry.DeleteKey(kKey + "\\Child"));
    EXPECT_FALSE(FRegistry.KeyExists(kKey + "\\Child"));
}

TEST_F(WideRegistryTest, TheMachineRootHasNoHiveYet)
{
    TWideRegistry machine;
    machine.SetRootKey(platform::HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(machine.OpenKey("Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", false));
    EXPECT_FALSE(machine.OpenKey("Software\\Anything", true));
    EXPECT_FALSE(machine.KeyExists("Software"));
    EXPECT_FALSE(machine.ValueExistsW("x"));
    EXPECT_EQ(machine.ReadStringW("x"), QString());
}
