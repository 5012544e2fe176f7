#include "FileUnderOperation.h"

#include <QDir>

#include <mutex>

namespace platform {

namespace {

struct TMark {
    std::mutex Lock;
    QString File;
    int Nesting = 0;
};

TMark& Mark()
{
    static TMark mark;
    return mark;
}

} // namespace

void MarkFileUnderOperation(const QString& file)
{
    TMark& mark = Mark();
    const std::lock_guard guard(mark.Lock);
    mark.File = file.isEmpty() ? QString() : QDir::cleanPath(file);
    ++mark.Nesting;
}

void UnmarkFileUnderOperation()
{
    TMark& mark = Mark();
    const std::lock_guard guard(mark.Lock);
    if (mark.Nesting == 0)
        return;
    if (--mark.Nesting == 0)
        mark.File.clear();
}

bool IsFileUnderOperation(const QString& file)
{
    if (file.isEmpty())
        return false;
    TMark& mark = Mark();
    const std::lock_guard guard(mark.Lock);
    return mark.Nesting > 0 && !mark.File.isEmpty() && mark.File == QDir::cleanPath(file);
}

QString FileUnderOperation()
{
    TMark& mark = Mark();
    const std::lock_guard guard(mark.Lock);
    return mark.File;
}

} // namespace platform
