// The main window's active-fonts wiring on the offscreen platform: the first idle moment
// starts a full reload, the finished event shows the counts in the Active caption, and a font
// placed in the user font folder reaches the Active catalogue through the folder watch and an
// incremental re-enumeration.

#include "app/MainFrm.h"

#include "IsolatedEnvironment.h"
#include "catalogue/FontFamily.h"
#include "catalogue/FontFamilyList.h"
#include "catalogue/FontItem.h"
#include "platform/InstalledFontsHive.h"
#include "platform/Registry.h"
#include "settings/BaseRegistrySettings.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTabWidget>

#include <functional>
#include <memory>

namespace {

using app::TMainFormFM;

const QString kDejaVuSans = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");

QString UserFontFolder()
{
    return QString::fromStdString(qmtest::IsolatedEnvironment::Global().UserFontFolder());
}

// Serves the event loop (and with it the thread's hand-overs) until done or a generous limit.
bool ServeUntil(const std::function<bool()>& done)
{
    QDeadlineTimer limit(120000);
    while (!done() && !limit.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

class MainFormActiveFonts : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QFileInfo::exists(kDejaVuSans))
            GTEST_SKIP() << "DejaVu Sans is not installed";
        settings::TBaseRegistrySettings::FreeInstance();
        QDir(UserFontFolder()).removeRecursively();
        QDir().mkpath(UserFontFolder());
        platform::SetHiveForRoot(platform::HKEY_LOCAL_MACHINE,
                                 std::make_shared<platform::InstalledFontsHive>(QStringList{UserFontFolder()},
                                                                                UserFontFolder()));
    }
    void TearDown() override
    {
        platform::SetHiveForRoot(platform::HKEY_LOCAL_MACHINE, nullptr);
        QDir(UserFontFolder()).removeRecursively();
        settings::TBaseRegistrySettings::FreeInstance();
    }
};

QString ActiveCaption(const TMainFormFM& window)
{
    return window.findChild<QTabWidget*>(QStringLiteral("tcFonts"))->tabText(0);
}

TEST_F(MainFormActiveFonts, FirstIdleReloadsAndTheCaptionCountsAfterTheEnd)
{
    auto window = std::make_unique<TMainFormFM>();
    EXPECT_FALSE(window->ActiveFontsThreadRunning());  // nothing before the first idle moment
    ASSERT_TRUE(ServeUntil([&] { return window->Flags().ActiveFontsKnown; }));

    const catalogue::TFontFamilyList& families = window->ActiveFamilies();
    ASSERT_GT(families.Count(), 0);
    EXPECT_NE(families.FindFamily(QStringLiteral("DejaVu Sans")), nullptr);
    // The rows of the list, then the catalogue's countable faces.
    const auto* list = window->findChild<QAbstractItemView*>(QStringLiteral("vstActiveFonts"));
    ASSERT_NE(list, nullptr);
    EXPECT_GT(list->model()->rowCount(), 0);
    EXPECT_EQ(ActiveCaption(*window),
              QStringLiteral("Active (%1/%2)").arg(list->model()->rowCount()).arg(families.CountableItems()));
    EXPECT_FALSE(window->Flags().EnumerationPassRunning);

    // A font placed in the user font folder: the watch sets the flag, the timer re-enumerates.
    QFile::copy(kDejaVuSans, UserFontFolder() + QStringLiteral("/DejaVuSans-Copy.ttf"));
    ASSERT_TRUE(ServeUntil([&] {
        const catalogue::TFontFamilyItem* family = window->ActiveFamilies().FindFamily(QStringLiteral("DejaVu Sans"));
        if (!family || window->ActiveFontsThreadRunning())
            return false;
        for (const catalogue::TFontItem* face : family->Items())
            if (face->FontFile().endsWith(QStringLiteral("DejaVuSans-Copy.ttf")))
                return true;
        return false;
    }));

    // A full reload while nothing runs forgets and counts again.
    window->FullReloadOfActiveFonts();
    EXPECT_EQ(ActiveCaption(*window), QStringLiteral("Active"));
    EXPECT_EQ(window->ActiveFamilies().Count(), 0);
    EXPECT_TRUE(window->ActiveFontsThreadRunning());
    // Closing while it runs stops it.
    window.reset();
}

} // namespace
