// The stored window placement text: reading it field by field and applying it to a window.

#include "app/WindowPosition.h"

#include <gtest/gtest.h>

#include <QWidget>

namespace {

using app::TWindowPlacement;

TEST(WindowPlacement, TextIsSixNumbers)
{
    TWindowPlacement placement;
    placement.Visible = true;
    placement.Maximised = false;
    placement.Rectangle = QRect(12, -3, 800, 600);
    EXPECT_EQ(app::FormatWindowPlacement(placement), QStringLiteral("1,0,12,-3,800,600"));
    placement.Visible = false;
    placement.Maximised = true;
    EXPECT_EQ(app::FormatWindowPlacement(placement), QStringLiteral("0,1,12,-3,800,600"));
}

TEST(WindowPlacement, ReadingStopsAtTheFirstFieldThatIsNoNumber)
{
    TWindowPlacement current;
    current.Visible = true;
    current.Maximised = false;
    current.Rectangle = QRect(1, 2, 300, 400);
    const struct {
        const char* text;
        bool visible;
        bool maximised;
        QRect rectangle;
    } cases[] = {
        {"0,1,10,20,640,480", false, true, QRect(10, 20, 640, 480)},
        {"1,0,10,20", true, false, QRect(10, 20, 300, 400)},
        {"1,0,10,x,640,480", true, false, QRect(10, 2, 300, 400)},
        {"", true, false, QRect(1, 2, 300, 400)},
        {"garbage", true, false, QRect(1, 2, 300, 400)},
        {"0,0,5,6,7,8,9,10", false, false, QRect(5, 6, 7, 8)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const TWindowPlacement read = app::ParseWindowPlacement(QString::fromLatin1(c.text), current);
        EXPECT_EQ(read.Visible, c.visible);
        EXPECT_EQ(read.Maximised, c.maximised);
        EXPECT_EQ(read.Rectangle, c.rectangle);
    }
}

TEST(WindowPlacement, PositionBeyondTheDesktopKeepsTheWindowsPlaceButTakesTheSize)
{
    const struct {
        const char* name;
        const char* text;
        QPoint position;
    } cases[] = {
        {"inside", "1,0,100,120,500,400", QPoint(100, 120)},
        {"left beyond", "1,0,1900,120,500,400", QPoint(30, 120)},
        {"top beyond", "1,0,100,1190,500,400", QPoint(100, 40)},
        {"just inside the margin", "1,0,1899,1179,500,400", QPoint(1899, 1179)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget window;
        window.move(30, 40);
        window.resize(200, 200);
        app::ApplyWindowPlacement(window, QString::fromLatin1(c.text), true, false, QSize(1920, 1200));
        EXPECT_EQ(window.pos(), c.position);
        EXPECT_EQ(window.size(), QSize(500, 400));
        EXPECT_FALSE(window.isVisible());
    }
}

TEST(WindowPlacement, MaximisedAndVisibleOnlyWhenAllowed)
{
    QWidget window;
    app::ApplyWindowPlacement(window, QStringLiteral("0,1,10,10,500,400"), false, false, QSize(1920, 1200));
    EXPECT_FALSE(window.windowState() & Qt::WindowMaximized);

    app::ApplyWindowPlacement(window, QStringLiteral("1,1,10,10,500,400"), true, true, QSize(1920, 1200));
    EXPECT_TRUE(window.windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(window.isVisible());
    const TWindowPlacement saved = app::CurrentWindowPlacement(window, true, true);
    EXPECT_TRUE(saved.Maximised);
    EXPECT_EQ(saved.Rectangle.size(), QSize(500, 400)) << "a maximised window stores its normal size";
}

} // namespace
