#include "app/BrowsePanelFolderPicker.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace app {

bool BrowseForFolder(QWidget* owner, const QString& title, const QString& root, QString& folder)
{
    if (!folder.isEmpty() && !QFileInfo(folder).isDir())
        folder.clear();
    const QString start = !folder.isEmpty() ? folder : root;
    // Modal to the application: the other windows wait while it is open.
    const QString chosen = QFileDialog::getExistingDirectory(owner, title, start, QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty())
        return false;
    folder = QDir::cleanPath(chosen);
    return true;
}

} // namespace app
