#pragma once

// Font folders of the isolated environment for the installed-font tests: the user font
// folder (emptied before each test), a folder outside every font folder, and a "system" font
// folder of the test's own. Small font files are built here; the tests that need another
// process to see a font (fc-list) copy a real installed TrueType font.

#include "IsolatedEnvironment.h"
#include "LegacyFontBuilder.h"
#include "ReaderFixtures.h"

#include "platform/InstalledFontsHive.h"
#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QtEndian>

#include <atomic>
#include <memory>
#include <optional>

#include <unistd.h>

namespace qmtest {

inline QString Q(const std::string& text) { return QString::fromStdString(text); }

inline QString FreshFolder(const QString& path)
{
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path;
}

// An SFNT font whose registry name is `fullName` + " (TrueType)". `tag` makes files of the
// same names differ in their bytes.
inline void WriteSfntFont(const QString& path, const std::u16string& fullName, const std::string& tag = {})
{
    TFaceNames names;
    names.Family = fullName;
    names.Full = fullName;
    sfnttest::TSfntBuilder named;
    named.Table("head", sfnttest::THeadFields{}.Build());
    named.Table("hhea", sfnttest::TByteVector(36, 0));
    named.Table("maxp", sfnttest::TByteVector(6, 0));
    named.Table("name", NameTable(names));
    named.Table("OS/2", sfnttest::TOS2Fields{}.Build());
    named.Table("post", sfnttest::TByteVector(32, 0));
    if (!tag.empty())
        named.Table("zzzz", sfnttest::TByteVector(tag.begin(), tag.end()));
    sfnttest::WriteFile(QFile::encodeName(path).toStdString(), named.Build());
}

// A Type 1 pair: metrics file and an outline file beside it. The registry name is the
// PostScript name with blanks for hyphens.
inline void WriteType1Pair(const QString& metricsPath, const QString& outlinePath, const std::string& postScriptName)
{
    TPfmFields fields;
    fields.PostScriptName = postScriptName;
    qmtest::WriteFile(QFile::encodeName(metricsPath).toStdString(), BuildPfm(fields));
    qmtest::WriteFile(QFile::encodeName(outlinePath).toStdString(), {0x80, 0x01, 0x00, 0x00, 0x00, 0x00});
}

// A TrueType font of the system that FreeType (and so fontconfig) reads; empty when none.
inline QString SystemTrueTypeFont()
{
    for (const char* known : {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                              "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf"})
        if (QFileInfo::exists(QString::fromLatin1(known)))
            return QString::fromLatin1(known);
    QDirIterator it(QStringLiteral("/usr/share/fonts"), {QStringLiteral("*.ttf")}, QDir::Files,
                    QDirIterator::Subdirectories);
    return it.hasNext() ? it.next() : QString();
}

// The files another process's fontconfig lists (fc-list), or nullopt when fc-list is missing.
inline std::optional<QStringList> FcListFiles()
{
    QProcess process;
    process.start(QStringLiteral("fc-list"), {QStringLiteral("--format"), QStringLiteral("%{file}\n")});
    if (!process.waitForStarted() || !process.waitForFinished(120000) || process.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// A writable copy of font at path (replacing what was there); tag appended makes its bytes
// differ from other copies.
inline QString CopyOfFont(const QString& font, const QString& path, const QByteArray& tag = {})
{
    QFile::remove(path);
    QFile::copy(font, path);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!tag.isEmpty()) {
        QFile file(path);
        file.open(QIODevice::Append);
        file.write(tag);
    }
    return path;
}

inline QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QString TextOf(const platform::RegistryValue& value)
{
    QString text;
    for (qsizetype i = 0; i + 1 < value.data.size(); i += 2)
        text.append(QChar(qFromLittleEndian<quint16>(value.data.constData() + i)));
    return text;
}

// Makes a folder immutable (as root; chattr) or read-only (other users) while it lives.
class UnwritableFolder {
public:
    explicit UnwritableFolder(QString folder) : FFolder(std::move(folder))
    {
        if (::geteuid() == 0) {
            FImmutable = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), FFolder}) == 0;
            FActive = FImmutable;
        } else {
            FActive = QFile::setPermissions(FFolder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        }
    }
    ~UnwritableFolder()
    {
        if (FImmutable)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), FFolder});
        else if (FActive)
            QFile::setPermissions(FFolder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    UnwritableFolder(const UnwritableFolder&) = delete;
    UnwritableFolder& operator=(const UnwritableFolder&) = delete;
    bool Active() const { return FActive; }

private:
    QString FFolder;
    bool FImmutable = false;
    bool FActive = false;
};

// The user font folder emptied, an outside folder and a system folder of this test, and the
// installed-font view over the user and system folders as HKEY_LOCAL_MACHINE.
class InstalledFontsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static std::atomic<int> counter{0};
        const QString scratch = Q(IsolatedEnvironment::Global().Scratch()) + QStringLiteral("/fonts-%1").arg(counter++);
        FUserFonts = FreshFolder(Q(IsolatedEnvironment::Global().UserFontFolder()));
        FOutside = FreshFolder(scratch + "/outside");
        FSystem = FreshFolder(scratch + "/system");
        FHive = std::make_shared<platform::InstalledFontsHive>(QStringList{FUserFonts, FSystem}, FUserFonts);
        platform::SetHiveForRoot(platform::HKEY_LOCAL_MACHINE, FHive);
    }
    void TearDown() override { platform::SetHiveForRoot(platform::HKEY_LOCAL_MACHINE, nullptr); }

    platform::InstalledFontsHive& Hive() { return *FHive; }
    QString LinkedFonts() const { return FUserFonts + "/Linked Fonts"; }

    QStringList FontNames() { return FHive->ValueNames(platform::InstalledFontsHive::FontsKeyPath()); }
    QStringList Type1Names() { return FHive->ValueNames(platform::InstalledFontsHive::Type1KeyPath()); }
    QString FontData(const QString& name)
    {
        const auto value = FHive->QueryValue(platform::InstalledFontsHive::FontsKeyPath(), name);
        return value ? TextOf(*value).section(QChar(u'\0'), 0, 0) : QStringLiteral("<none>");
    }
    QStringList Type1Data(const QString& name)
    {
        const auto value = FHive->QueryValue(platform::InstalledFontsHive::Type1KeyPath(), name);
        return value ? TextOf(*value).split(QChar(u'\0'), Qt::SkipEmptyParts) : QStringList{QStringLiteral("<none>")};
    }

    QString FUserFonts;
    QString FOutside;
    QString FSystem;
    std::shared_ptr<platform::InstalledFontsHive> FHive;
};

} // namespace qmtest
