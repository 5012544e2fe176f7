#include "app/RenameFontFrm.h"

#include "app/WindowPosition.h"
#include "platform/Places.h"
#include "settings/ApplicationRegistrySettings.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace app {

namespace {

constexpr int kMinimumWidth = 340;

// ".ttf" of "Name.TTF"; empty without an extension.
QString LowerExtension(const QString& fileName)
{
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot <= 0 ? QString() : fileName.mid(dot).toLower();
}

QString WithLowerExtension(const QString& fileName)
{
    return TRenameFontForm::WithExtension(fileName, LowerExtension(fileName));
}

QLineEdit* ReadOnlyField(QWidget* parent, const char* name)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setReadOnly(true);
    // Read-only fields take the dialog's colour, not an edit's.
    field->setBackgroundRole(QPalette::Window);
    field->setAutoFillBackground(true);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    field->setPalette(palette);
    return field;
}

} // namespace

TRenameFontForm::TRenameFontForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("RenameFontForm"));
    setWindowTitle(QStringLiteral("Rename Font File"));
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QFormLayout;
    edFontName = ReadOnlyField(this, "edFontName");
    edFolder = ReadOnlyField(this, "edFolder");
    edFileName = new QLineEdit(this);
    edFileName->setObjectName(QStringLiteral("edFileName"));
    edFileName2 = ReadOnlyField(this, "edFileName2");
    edFileName2->setText(QStringLiteral("<PostScript Type 1 fonts only>"));
    lblFileName2 = new QLabel(QStringLiteral("File name 2:"), this);
    lblFileName2->setObjectName(QStringLiteral("lblFileName2"));
    fields->addRow(QStringLiteral("Font name:"), edFontName);
    fields->addRow(QStringLiteral("Folder:"), edFolder);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(edFileName, 1);
    btnUseFontName = new QPushButton(QStringLiteral("Use font name"), this);
    btnUseFontName->setObjectName(QStringLiteral("btnUseFontName"));
    btnUseFontName->setAutoDefault(false);
    nameRow->addWidget(btnUseFontName);
    fields->addRow(QStringLiteral("File name:"), nameRow);
    fields->addRow(lblFileName2, edFileName2);
    layout->addLayout(fields);

    auto* buttons = new QDialogButtonBox(this);
    btnOK = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    auto* cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    auto* help = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    help->setObjectName(QStringLiteral("btnHelp"));
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &TRenameFontForm::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [] {
        QDesktopServices::openUrl(
            QUrl::fromLocalFile(platform::places::ProgramFolder() + QStringLiteral("/help/FM_Rename_Fonts.html")));
    });
    connect(edFileName, &QLineEdit::textChanged, this, &TRenameFontForm::FileNameEdited);
    connect(btnUseFontName, &QPushButton::clicked, this, &TRenameFontForm::UseFontName);

    setMinimumWidth(kMinimumWidth);
}

void TRenameFontForm::Prepare(const QString& displayName, const QString& fontFile, const QString& secondFile)
{
    FDisplayName = displayName;
    FFontFile = fontFile;
    FSecondFile = secondFile;
    edFontName->setText(displayName);
    edFolder->setText(Folder());
    edFileName->setText(WithLowerExtension(QFileInfo(fontFile).fileName()));
    const bool pair = !secondFile.isEmpty();
    lblFileName2->setVisible(pair);
    edFileName2->setVisible(pair);
    FileNameEdited();
    adjustSize();
    setFixedHeight(sizeHint().height());
    RememberDialogPosition(*this, settings::TFontViewerRegistrySettings::ApplicationBaseKey()
                                      + QStringLiteral("\\Rename Font File Window"));
}

bool TRenameFontForm::IsValidFileName(const QString& name)
{
    const QString trimmed = name.trimmed();
    return !trimmed.isEmpty() && !trimmed.contains(QLatin1Char('/')) && !trimmed.contains(QChar(u'\0'))
        && trimmed != QLatin1String(".") && trimmed != QLatin1String("..");
}

QString TRenameFontForm::WithExtension(const QString& name, const QString& extension)
{
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return (dot <= 0 ? name : name.left(dot)) + extension;
}

QString TRenameFontForm::Folder() const
{
    const int slash = FFontFile.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QString();
    return slash == 0 ? QStringLiteral("/") : FFontFile.left(slash);
}

void TRenameFontForm::FileNameEdited()
{
    const QString first = edFileName->text().trimmed();
    bool allowed = IsValidFileName(first);
    if (!FSecondFile.isEmpty()) {
        const QString second = WithExtension(first, LowerExtension(QFileInfo(FSecondFile).fileName()));
        edFileName2->setText(second);
        // The two files of a pair need two names.
        allowed = allowed && IsValidFileName(second) && first.toUpper() != second.trimmed().toUpper();
    }
    btnOK->setEnabled(allowed);
}

void TRenameFontForm::UseFontName()
{
    edFileName->setText(FDisplayName + LowerExtension(QFileInfo(FFontFile).fileName()));
    FileNameEdited();
}

void TRenameFontForm::accept()
{
    if (!btnOK->isEnabled())
        return;
    const QString folder = Folder();
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    FFontFile = prefix + edFileName->text().trimmed();
    if (!FSecondFile.isEmpty())
        FSecondFile = prefix + edFileName2->text().trimmed();
    QDialog::accept();
}

} // namespace app
