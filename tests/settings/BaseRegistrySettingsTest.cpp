#include "settings/BaseRegistrySettings.h"
#include "RegistryTestSupport.h"

#include <gtest/gtest.h>

using platform::HKEY_CURRENT_USER;
using platform::HKEY_LOCAL_MACHINE;
using platform::RegistryValue;
using settings::ERegistrySettings;
using settings::TBaseRegistrySettings;
using qmtest::Dword;
using qmtest::Utf16;

namespace {

const QString kBase = QStringLiteral("Software\\Brindlecote\\Quillmark\\2.0");

class BaseRegistrySettingsTest : public qmtest::ScratchRegistryTest {
protected:
    void SetUp() override
    {
        ScratchRegistryTest::SetUp();
        FSettings.SetBaseRegistryKey(kBase);
    }
    std::optional<RegistryValue> Raw(const QString& subKey, const QString& name)
    {
        return Store().QueryValue(kBase + subKey, name);
    }

    TBaseRegistrySettings FSettings;
};

struct Failure {
    std::string message;
    bool isSettingsError = false;
};

template <typename F>
Failure FailureOf(F&& call)
{
    try {
        call();
    } catch (const ERegistrySettings& error) {
        return {error.what(), true};
    } catch (const std::exception& error) {
        return {error.what(), false};
    }
    return {"(no exception)", false};
}

} // namespace

TEST_F(BaseRegistrySettingsTest, AMissingValueReadsAsItsDefaultAndIsStored)
{
    EXPECT_EQ(FSettings.GetInteger(HKEY_CURRENT_USER, kBase + "\\A", 122, "Int"), 122);
    EXPECT_EQ(FSettings.GetBoolean(HKEY_CURRENT_USER, kBase + "\\A", true, "Bool"), true);
    EXPECT_EQ(FSettings.GetFloat(HKEY_CURRENT_USER, kBase + "\\A", 20.0, "Float"), 20.0);
    EXPECT_EQ(FSettings.GetWideString(HKEY_CURRENT_USER, kBase + "\\A", "{Title}", "Text"), "{Title}");

    EXPECT_EQ(Raw("\\A", "Int"), (RegistryValue{4, Dword(122)}));
    EXPECT_EQ(Raw("\\A", "Bool"), (RegistryValue{4, Dword(1)}));
    EXPECT_EQ(Raw("\\A", "Float"), (RegistryValue{3, QByteArray::fromHex("0000000000003440")}));
    EXPECT_EQ(Raw("\\A", "Text"), (RegistryValue{1, Utf16("{Title}")}));

    // Stored values win over the default from now on.
    EXPECT_EQ(FSettings.GetInteger(HKEY_CURRENT_USER, kBase + "\\A", 5, "Int"), 122);
    FSettings.SetInteger(HKEY_CURRENT_USER, kBase + "\\A", -3, "Int");
    FSettings.SetBoolean(HKEY_CURRENT_USER, kBase + "\\A", false, "Bool");
    FSettings.SetFloat(HKEY_CURRENT_USER, kBase + "\\A", 12.25, "Float");
    FSettings.SetWideString(HKEY_CURRENT_USER, kBase + "\\A", QString::fromUtf8("line\r\n\"é\""), "Text");
    EXPECT_EQ(FSettings.GetInteger(HKEY_CURRENT_USER, kBase + "\\A", 5, "Int"), -3);
    EXPECT_EQ(FSettings.GetBoolean(HKEY_CURRENT_USER, kBase + "\\A", true, "Bool"), false);
    EXPECT_EQ(FSettings.GetFloat(HKEY_CURRENT_USER, kBase + "\\A", 1.0, "Float"), 12.25);
    EXPECT_EQ(FSettings.GetWideString(HKEY_CURRENT_USER, kBase + "\\A", "", "Text"), QString::fromUtf8("line\r\n\"é\""));
    EXPECT_FALSE(FSettings.HasCurrentKey()) << "every operation closes its key";
}

TEST_F(BaseRegistrySettingsTest, AnAbsentStreamReadsEmptyAndStoresNothing)
{
    QByteArray stream("left over");
    EXPECT_FALSE(FSettings.LoadSettingStream("\\Options", "Favorites", stream));
    EXPECT_TRUE(stream.isEmpty());
    EXPECT_FALSE(Raw("\\Options", "Favorites"));

    const QByteArray bytes("\x00\x01\xFF tail", 8);
    FSettings.SaveSettingStream("\\Options", "Favorites", bytes);
    EXPECT_EQ(Raw("\\Options", "Favorites"), (RegistryValue{3, bytes}));
    EXPECT_TRUE(FSettings.LoadSettingStream("\\Options", "Favorites", stream));
    EXPECT_EQ(stream, bytes);

    FSettings.SaveSettingStream("\\Options", "Empty", QByteArray());
    stream = "x";
    EXPECT_TRUE(FSettings.LoadSettingStream("\\Options", "Empty", stream));
    EXPECT_TRUE(stream.isEmpty());
}

TEST_F(BaseRegistrySettingsTest, FailuresCarryTheirTexts)
{
    Store().SetValue(kBase + "\\Bad", "Dword", {4, Dword(1)});
    Store().SetValue(kBase + "\\Bad", "Text", {1, Utf16("1")});
    Store().SetValue(kBase + "\\Bad", "ShortFloat", {3, QByteArray(4, '\0')});
    TBaseRegistrySettings unkeyed;
    QByteArray stream;

    struct Case { const char* what; std::function<void()> call; const char* message; bool isSettingsError; };
    const Case cases[] = {
        {"a wide string of type REG_DWORD",
         [&] { FSettings.GetWideString(HKEY_CURRENT_USER, kBase + "\\Bad", "", "Dword"); },
         "Error reading registry values", true},
        {"an integer of type REG_SZ", [&] { FSettings.GetInteger(HKEY_CURRENT_USER, kBase + "\\Bad", 0, "Text"); },
         "Error reading registry values", true},
        {"a float of four bytes", [&] { FSettings.GetFloat(HKEY_CURRENT_USER, kBase + "\\Bad", 0, "ShortFloat"); },
         "Error reading registry values", true},
        {"a stream of type REG_SZ", [&] { FSettings.GetStream(HKEY_CURRENT_USER, kBase + "\\Bad", stream, "Text"); },
         "Error reading registry values", true},
        {"a key that cannot be opened", [&] { FSettings.GetInteger(HKEY_LOCAL_MACHINE, "Software\\X", 0, "v"); },
         "Error opening or creating registry key", true},
        {"a key that cannot be created",
         [&] { FSettings.SetInteger(HKEY_CURRENT_USER, kBase + "\\\\Empty part", 0, "v"); },
         "Error opening or creating registry key", true},
        {"a read before the base key is set", [&] { unkeyed.LoadSettingStream("\\Options", "Favorites", stream); },
         "BaseRegistryKey is empty", false},
        {"an unknown instance request", [] { TBaseRegistrySettings::AccessInstance(3); },
         "Illegal request 3 in AccessInstance", false},
        {"a negative instance request", [] { TBaseRegistrySettings::AccessInstance(-1); },
         "Illegal request -1 in AccessInstance", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Failure failure = FailureOf(c.call);
        EXPECT_EQ(failure.message, c.message);
        EXPECT_EQ(failure.isSettingsError, c.isSettingsError);
    }
    EXPECT_FALSE(FSettings.HasCurrentKey());
}

TEST_F(BaseRegistrySettingsTest, AFailedWriteRaisesAndKeepsTheOldValue)
{
    FSettings.SetInteger(HKEY_CURRENT_USER, kBase + "\\W", 1, "v");
    Store().SetBeforeReplaceHook([] { throw platform::RegistryHiveError("No space left on device"); });
    struct Case { const char* what; std::function<void()> call; };
    const Case cases[] = {
        {"integer", [&] { FSettings.SetInteger(HKEY_CURRENT_USER, kBase + "\\W", 2, "v"); }},
        {"boolean", [&] { FSettings.SetBoolean(HKEY_CURRENT_USER, kBase + "\\W", false, "v"); }},
        {"float", [&] { FSettings.SetFloat(HKEY_CURRENT_USER, kBase + "\\W", 2.0, "v"); }},
        {"text", [&] { FSettings.SetWideString(HKEY_CURRENT_USER, kBase + "\\W", "2", "v"); }},
        {"stream", [&] { FSettings.SaveSettingStream("\\W", "v", "2"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Failure failure = FailureOf(c.call);
        EXPECT_EQ(failure.message, "Error writing registry values");
        EXPECT_TRUE(failure.isSettingsError);
    }
    // A default that cannot be stored is a read failure.
    EXPECT_EQ(FailureOf([&] { FSettings.GetInteger(HKEY_CURRENT_USER, kBase + "\\W", 0, "new"); }).message,
              "Error reading registry values");
    Store().SetBeforeReplaceHook(nullptr);
    EXPECT_EQ(FSettings.GetInteger(HKEY_CURRENT_USER, kBase + "\\W", 0, "v"), 1);
}

TEST(BaseRegistrySettingsInstance, RequestsOfAccessInstance)
{
    TBaseRegistrySettings::FreeInstance();
    EXPECT_EQ(TBaseRegistrySettings::AccessInstance(0), nullptr);
    TBaseRegistrySettings* created = TBaseRegistrySettings::AccessInstance(1);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(TBaseRegistrySettings::AccessInstance(1), created);
    EXPECT_EQ(&TBaseRegistrySettings::Instance(), created);
    EXPECT_EQ(TBaseRegistrySettings::AccessInstance(0), created);
    EXPECT_EQ(TBaseRegistrySettings::AccessInstance(2), nullptr);
    EXPECT_EQ(TBaseRegistrySettings::AccessInstance(0), nullptr);
    delete created; // forgotten instances belong to whoever forgot them

    TBaseRegistrySettings::AccessInstance(1);
    TBaseRegistrySettings::FreeInstance();
    EXPECT_EQ(TBaseRegistrySettings::AccessInstance(0), nullptr) << "the destructor forgets the instance";
}

TEST_F(BaseRegistrySettingsTest, ReadsFromManyThreadsAtOnce)
{
    std::vector<std::thread> threads;
    std::atomic<int> wrong{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 20; ++i) {
                const QString key = kBase + QStringLiteral("\\Thread%1").arg(t);
                if (FSettings.GetInteger(HKEY_CURRENT_USER, key, t * 100 + i, QString::number(i)) != t * 100 + i)
                    ++wrong;
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(Store().ValueNames(kBase + "\\Thread3").size(), 20);
}
