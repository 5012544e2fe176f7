#pragma once

// "Rename Font File": the user enters a new file name for a font's file. A Type 1 font's
// outline file follows the metrics file's name, so the pair keeps one base name.

#include <QDialog>
#include <QString>

class QLineEdit;
class QLabel;
class QPushButton;

namespace app {

class TRenameFontForm : public QDialog {
    Q_OBJECT
public:
    explicit TRenameFontForm(QWidget* parent = nullptr);

    // The font's display name, its file and its second file (empty for all but Type 1).
    void Prepare(const QString& displayName, const QString& fontFile, const QString& secondFile);

    // After OK: the new paths (the second one empty when the font has no second file).
    const QString& FontFile() const { return FFontFile; }
    const QString& SecondFile() const { return FSecondFile; }

    // A name that can be a file of the folder: not empty, no separator, not "." or "..".
    static bool IsValidFileName(const QString& name);
    // name with its extension replaced by extension (with the dot); appended when it has none.
    static QString WithExtension(const QString& name, const QString& extension);

    void accept() override;

private:
    void FileNameEdited();
    void UseFontName();
    QString Folder() const;

    QString FDisplayName;
    QString FFontFile;
    QString FSecondFile;
    QLineEdit* edFontName = nullptr;
    QLineEdit* edFolder = nullptr;
    QLineEdit* edFileName = nullptr;
    QLabel* lblFileName2 = nullptr;
    QLineEdit* edFileName2 = nullptr;
    QPushButton* btnUseFontName = nullptr;
    QPushButton* btnOK = nullptr;
};

} // namespace app
