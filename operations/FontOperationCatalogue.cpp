#include "FontOperationCatalogue.h"

namespace operations {

std::unique_ptr<catalogue::TFontItem> DetachedCopy(const catalogue::TFontItem& item)
{
    auto copy = std::make_unique<catalogue::TFontItem>(item.FamilyNameText(), false);
    copy->CopyFrom(item);
    copy->SetFaceIndex(item.FaceIndex());
    return copy;
}

} // namespace operations
