#pragma once

// The base of every SFNT table object, and the ordered table list of one font.

#include "FontStream.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fontfile {

class TFontTable {
public:
    virtual ~TFontTable() = default;
    TFontTable(const TFontTable&) = delete;
    TFontTable& operator=(const TFontTable&) = delete;

    const std::string& Tag() const { return FTag; }

    // Parses the table from a stream positioned at its first byte. The base reads nothing.
    virtual void Read(TFontStream& stream);
    virtual bool IsEmpty() const;

protected:
    explicit TFontTable(std::string tag);

    // Raises "Creating Fonttable <class> with tag <given>" unless given equals ownTag.
    static const std::string& CheckedTag(std::string_view className, std::string_view ownTag,
                                         const std::string& given);

private:
    const std::string FTag;
};

class TFontTables {
public:
    TFontTables() = default;
    TFontTables(const TFontTables&) = delete;
    TFontTables& operator=(const TFontTables&) = delete;

    // Takes ownership; raises "Table <tag> already exists!" for a tag already present (the
    // rejected table is released). The list stays in ascending byte order of tags.
    void Add(std::unique_ptr<TFontTable> table);
    TFontTable* Find(std::string_view tag) const;
    template <class T>
    T* FindAs(std::string_view tag) const
    {
        return dynamic_cast<T*>(Find(tag));
    }

    std::size_t Count() const { return FTables.size(); }
    TFontTable& Table(std::size_t index) const { return *FTables.at(index); }
    void Clear() { FTables.clear(); }

private:
    std::vector<std::unique_ptr<TFontTable>> FTables;
};

} // namespace fontfile
