// The status bar: the selection count, the selected font's character count, and the code
// point (hex and decimal) and name of the selected character.

#include "app/MainFrm.h"

#include <QLabel>
#include <QStatusBar>

namespace app {

namespace {

QLabel* AddField(QStatusBar* bar, const char* name, int width, int stretch)
{
    auto* field = new QLabel(bar);
    field->setObjectName(QLatin1String(name));
    if (width > 0)
        field->setFixedWidth(width);
    bar->addWidget(field, stretch);
    return field;
}

} // namespace

void TMainFormFM::BuildStatusBar()
{
    sb = new QStatusBar(this);
    sb->setObjectName(QStringLiteral("sb"));
    setStatusBar(sb);

    sbpActiveFonts = AddField(sb, "sbpActiveFonts", 130, 0);
    sbpActiveFonts->setText(QStringLiteral("No font selected."));
    sbpFont = AddField(sb, "sbpFont", 140, 0);
    sbpHex = AddField(sb, "sbpHex", 70, 0);
    sbpDec = AddField(sb, "sbpDec", 70, 0);
    sbpCharacter = AddField(sb, "sbpCharacter", 0, 1);
}

} // namespace app
