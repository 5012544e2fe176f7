#pragma once

// The faces a list has drawn lately. Each holds one reference while it is kept, so that its
// file stays open and loaded while its row is on screen (or just off it) and the next paint
// does not read the file again; beyond the limit the longest unseen face is let go. The last
// preview drawn of each kept face is kept too, so that a repaint of the row copies it.

#include <QHash>
#include <QPixmap>
#include <QString>

#include <list>

namespace catalogue {
class TFontItem;
} // namespace catalogue

namespace app {

class TFontListShownFaces {
public:
    TFontListShownFaces() = default;
    ~TFontListShownFaces();
    TFontListShownFaces(const TFontListShownFaces&) = delete;
    TFontListShownFaces& operator=(const TFontListShownFaces&) = delete;

    // The face was drawn: kept (with a reference) as the most recent one; limit is how many
    // faces are kept at most.
    void Shown(catalogue::TFontItem& face, int limit);
    // The face leaves the list (it may be freed next): its reference goes.
    void Forget(const catalogue::TFontItem* face);

    // The preview last stored for a kept face under this key (what was drawn, how and how
    // large); none when the face is not kept or was drawn otherwise.
    const QPixmap* Preview(const catalogue::TFontItem* face, const QString& key) const;
    void StorePreview(const catalogue::TFontItem* face, const QString& key, const QPixmap& preview);
    void Clear();

    bool Holds(const catalogue::TFontItem* face) const { return FWhere.contains(face); }
    int Count() const { return static_cast<int>(FWhere.size()); }

private:
    static void Release(catalogue::TFontItem& face);

    struct TPreview {
        QString Key;
        QPixmap Image;
    };

    std::list<catalogue::TFontItem*> FOrder;  // most recent first
    QHash<const catalogue::TFontItem*, std::list<catalogue::TFontItem*>::iterator> FWhere;
    QHash<const catalogue::TFontItem*, TPreview> FPreviews;
};

} // namespace app
