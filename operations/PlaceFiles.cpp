#include "PlaceFiles.h"

#include "FontFileMover.h"

#include <QFileInfo>

namespace operations {

namespace {

QString DestinationOf(const QString& source, const QString& folder, int number)
{
    if (source.isEmpty())
        return {};
    const QString name = QFileInfo(source).fileName();
    return folder + (number < 0 ? name : NumberedFileName(name, number));
}

bool IsFree(const QString& destination) { return destination.isEmpty() || !PathEntryExists(destination); }

bool IsSame(const QString& source, const QString& destination)
{
    return destination.isEmpty() || FilesIdentical(source, destination);
}

bool Transfer(TPlaceMode mode, const QString& source, const QString& destination)
{
    return mode == TPlaceMode::Copy ? CopyFileVerified(source, destination) : MoveFileVerified(source, destination);
}

// Takes back a transfer that succeeded, so that a pair is placed whole or not at all.
void UndoTransfer(TPlaceMode mode, const QString& source, const QString& destination)
{
    if (mode == TPlaceMode::Copy)
        MoveFileToTrash(destination);
    else
        MoveFileVerified(destination, source);
}

} // namespace

QString NumberedFileName(const QString& fileName, int number)
{
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return fileName + QString::number(number);
    return fileName.left(dot) + QString::number(number) + fileName.mid(dot);
}

QString FreeFilePath(const QString& folder, const QString& fileName)
{
    QString path = folder + fileName;
    for (int number = 0; PathEntryExists(path); ++number) {
        if (number > kMaxPlaceNumber)
            return {};
        path = folder + NumberedFileName(fileName, number);
    }
    return path;
}

TPlacedFiles PlaceFiles(TPlaceMode mode, const QString& source1, const QString& source2, const QString& folder)
{
    TPlacedFiles result;
    if (source1.isEmpty() && source2.isEmpty())
        return result;
    QString destination1 = DestinationOf(source1, folder, -1);
    QString destination2 = DestinationOf(source2, folder, -1);
    int number = 0;
    auto bothFree = [&] { return IsFree(destination1) && IsFree(destination2); };
    auto bothSame = [&] { return IsSame(source1, destination1) && IsSame(source2, destination2); };
    while (!bothFree() && !bothSame()) {
        if (number > kMaxPlaceNumber)
            return result;
        destination1 = DestinationOf(source1, folder, number);
        destination2 = DestinationOf(source2, folder, number);
        ++number;
    }
    result.File1 = destination1;
    result.File2 = destination2;
    if (!bothFree()) {
        // Identical files lie there already.
        result.Reused = true;
        if (mode == TPlaceMode::Move) {
            if (!source1.isEmpty() && QFileInfo(source1).absoluteFilePath() != QFileInfo(destination1).absoluteFilePath())
                MoveFileToTrash(source1);
            if (!source2.isEmpty() && QFileInfo(source2).absoluteFilePath() != QFileInfo(destination2).absoluteFilePath())
                MoveFileToTrash(source2);
        }
        result.Success = true;
        return result;
    }
    if (!source1.isEmpty() && !Transfer(mode, source1, destination1))
        return result;
    if (!source2.isEmpty() && !Transfer(mode, source2, destination2)) {
        if (!source1.isEmpty())
            UndoTransfer(mode, source1, destination1);
        return result;
    }
    result.Success = true;
    return result;
}

} // namespace operations
