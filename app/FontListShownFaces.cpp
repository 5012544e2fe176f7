#include "app/FontListShownFaces.h"

#include "catalogue/FontItem.h"

namespace app {

TFontListShownFaces::~TFontListShownFaces()
{
    Clear();
}

void TFontListShownFaces::Shown(catalogue::TFontItem& face, int limit)
{
    const auto found = FWhere.find(&face);
    if (found != FWhere.end()) {
        FOrder.splice(FOrder.begin(), FOrder, found.value());
        return;
    }
    face.SetRefCount(face.RefCount() + 1);
    FOrder.push_front(&face);
    FWhere.insert(&face, FOrder.begin());
    while (static_cast<int>(FOrder.size()) > std::max(limit, 1)) {
        catalogue::TFontItem* oldest = FOrder.back();
        FOrder.pop_back();
        FWhere.remove(oldest);
        FPreviews.remove(oldest);
        Release(*oldest);
    }
}

void TFontListShownFaces::Forget(const catalogue::TFontItem* face)
{
    const auto found = FWhere.find(face);
    if (found == FWhere.end())
        return;
    catalogue::TFontItem* held = *found.value();
    FOrder.erase(found.value());
    FWhere.erase(found);
    FPreviews.remove(held);
    Release(*held);
}

void TFontListShownFaces::Clear()
{
    for (catalogue::TFontItem* face : FOrder)
        Release(*face);
    FOrder.clear();
    FWhere.clear();
    FPreviews.clear();
}

const QPixmap* TFontListShownFaces::Preview(const catalogue::TFontItem* face, const QString& key) const
{
    const auto found = FPreviews.constFind(face);
    return found != FPreviews.constEnd() && found->Key == key ? &found->Image : nullptr;
}

void TFontListShownFaces::StorePreview(const catalogue::TFontItem* face, const QString& key, const QPixmap& preview)
{
    if (FWhere.contains(face))
        FPreviews.insert(face, {key, preview});
}

void TFontListShownFaces::Release(catalogue::TFontItem& face)
{
    face.SetRefCount(face.RefCount() - 1);
}

} // namespace app
