#pragma once

// A list of texts kept in ascending order in which each text appears once: adding a text
// that is already there does nothing. Comparison is exact (paths are case-sensitive here).

#include <QString>
#include <QStringList>

namespace app {

class TSortedStringList {
public:
    // False when the text was already in the list.
    bool Add(const QString& text);
    void Clear() { FItems.clear(); }
    bool Contains(const QString& text) const;
    qsizetype Count() const { return FItems.size(); }
    const QStringList& Items() const { return FItems; }

private:
    QStringList FItems;
};

} // namespace app
