#include "settings/FileVersionInfo.h"

#include <gtest/gtest.h>

using settings::FileVersionInfo;
using settings::SplitFileVersion;

TEST(FileVersionInfo, TheShortVersionAndTheBuild)
{
    struct Case { const char* fileVersion; const char* version; const char* build; };
    const Case cases[] = {
        {"2.0.0.0", "2.0", "0"},
        {"3.5.0.7", "3.5", "7"},
        {"3.5.1.7", "3.5.1", "7"},
        {"2.1.3.12", "2.1.3", "12"},
        {"2.0.00.4", "2.0.00", "4"}, // only the text "0" is left out
        {"1.2.3.4.5", "1.2.3", "4"},
        {"2.0", "2.0", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        const auto split = SplitFileVersion(c.fileVersion);
        EXPECT_EQ(split.Version.toStdString(), c.version) << c.fileVersion;
        EXPECT_EQ(split.Build.toStdString(), c.build) << c.fileVersion;
    }
}

TEST(FileVersionInfo, TheProgramsOwnVersion)
{
    const auto& info = FileVersionInfo();
    EXPECT_EQ(&info, &FileVersionInfo());
    EXPECT_EQ(info.ProductName, "Quillmark");
    EXPECT_EQ(info.CompanyName, "Brindlecote");
    EXPECT_EQ(info.ProductVersion, "2.0");
    EXPECT_EQ(info.Title, "Quillmark 2.0");
    EXPECT_TRUE(info.FileVersion.startsWith("2.0.0.")) << info.FileVersion.toStdString();
    EXPECT_EQ(info.FileVersion.count('.'), 3);
    EXPECT_EQ(info.Version, "2.0");
    EXPECT_EQ(info.FileVersion, "2.0.0." + info.Build);
    EXPECT_FALSE(info.LegalCopyright.isEmpty());
    EXPECT_FALSE(info.Comments.isEmpty());
}
