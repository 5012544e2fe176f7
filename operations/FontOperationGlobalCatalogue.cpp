#include "FontOperationCatalogue.h"

namespace operations {

namespace {

class TGlobalFontOperationCatalogue : public TFontOperationCatalogue {
public:
    std::unique_ptr<catalogue::TFontItem> MatchingFont(const catalogue::TFontItem&) override { return nullptr; }
    void AddAsInstalled(const catalogue::TFontItem&) override {}
    void AddAsLoaded(const catalogue::TFontItem&) override {}
    void Remove(const catalogue::TFontItem&) override {}
    void FileMoved(const catalogue::TFontItem&, const catalogue::TFontItem&) override {}
};

} // namespace

std::unique_ptr<TFontOperationCatalogue> CreateGlobalFontOperationCatalogue()
{
    return std::make_unique<TGlobalFontOperationCatalogue>();
}

} // namespace operations
