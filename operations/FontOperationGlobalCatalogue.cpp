// The operation engine's view of the program's font index and cache: the global font manager.

#include "FontOperationCatalogue.h"

#include "catalogue/GlobalFontManagerUnit.h"

namespace operations {

namespace {

class TGlobalFontOperationCatalogue : public TFontOperationCatalogue {
public:
    std::unique_ptr<catalogue::TFontItem> MatchingFont(const catalogue::TFontItem& item) override
    {
        const auto& manager = catalogue::TGlobalFontManager::Instance();
        const catalogue::TFontItem* match = manager.GetMatchingActiveFont(item);
        if (!match)
            match = manager.MatchingCachedFont(item);
        return match ? DetachedCopy(*match) : nullptr;
    }
    void AddAsInstalled(const catalogue::TFontItem& item) override { Manager().AddAsInstalled(item); }
    void AddAsLoaded(const catalogue::TFontItem& item) override { Manager().AddAsLoaded(item); }
    void Remove(const catalogue::TFontItem& item) override { Manager().Remove(item); }
    void FileMoved(const catalogue::TFontItem& oldItem, const catalogue::TFontItem& newItem) override
    {
        Manager().FileMoved(oldItem, newItem);
    }

private:
    static catalogue::TGlobalFontManager& Manager() { return catalogue::TGlobalFontManager::Instance(); }
};

} // namespace

std::unique_ptr<TFontOperationCatalogue> CreateGlobalFontOperationCatalogue()
{
    return std::make_unique<TGlobalFontOperationCatalogue>();
}

} // namespace operations
