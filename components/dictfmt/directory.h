#pragma once

// The searches both engines run: a main dictionary and its optional delta, mapped and
// checked at open, searched by number or by city, person kind, name and town pattern. Hits
// come in directory order; listings of the main dictionary whose number the delta replaces
// or removes are left out, and the delta's own listings are merged in.

#include "mappedfile.h"
#include "order.h"
#include "pattern.h"
#include "reader.h"

#include <QString>

#include <memory>
#include <string>
#include <vector>

namespace pikotel::dict {

struct HitRef {
    bool fromDelta = false;
    std::uint32_t id = 0;
};

enum class DirectoryStatus {
    Ok = 0,
    MainMissing,  // no main dictionary file
    MainDamaged,  // damaged, truncated, foreign or of another format version
    MainForeign,  // a dictionary of the other engine, or a delta in the main's place
    DeltaDamaged, // the delta file exists but cannot be used
};

struct NameQuery {
    std::uint32_t cityCode = 0;
    bool individuals = true;
    bool corporates = false;
    std::string namePattern; // UTF-8; "" matches every name
    std::string townPattern; // UTF-8; "" matches every town
    std::uint32_t limit = 0; // 0: no limit
};

// The file name in a folder as the engines take it: a folder may end with "/" (a mount
// point) or not. An empty folder gives an empty path.
QString fileInFolder(const QString& folder, const QString& name);

// A name pattern in the form readings are stored in (full width, katakana), "*" kept.
std::string readingPatternOf(std::string_view utf8);

// A folder handed to an engine: length bytes in the file system's encoding, so that a path
// cp932 cannot spell ("/home/jürgen") opens. A NUL-terminated text ends at its NUL; a
// fixed-width field (fixedWidth) is taken as the length says. False for a negative length,
// one above capacity, a null text with a length, or control characters.
bool pathArgument(const char* text, long long length, std::size_t capacity, bool fixedWidth,
                  QString& path);

class Directory {
public:
    // deltaPath may be empty or name a file that does not exist: then there is no delta.
    DirectoryStatus open(const QString& mainPath, const QString& deltaPath, Engine engine);

    const Dictionary& main() const { return main_; }
    const Dictionary* delta() const { return hasDelta_ ? &delta_ : nullptr; }
    const AreaView* findArea(std::uint32_t cityCode, AreaView& storage) const {
        return main_.findArea(cityCode, storage);
    }

    // False when a damaged listing was met; hits then hold what was found before it.
    bool findNumber(std::uint64_t key, bool individuals, bool corporates,
                    std::vector<HitRef>& hits) const;
    bool findNames(const NameQuery& query, std::vector<HitRef>& hits) const;
    bool hit(const HitRef& ref, ListingView& out) const;

private:
    bool collectGroup(const Dictionary& dict, bool maskByDelta, const NameQuery& query,
                      PersonKind kind, const Pattern& name, const Pattern& reading,
                      const Pattern& town, std::vector<HitRef>& out) const;
    bool merge(std::vector<HitRef>& mainHits, const std::vector<HitRef>& deltaHits) const;
    const DirectoryOrder& order() const;

    MappedFile mainFile_;
    MappedFile deltaFile_;
    Dictionary main_;
    Dictionary delta_;
    bool hasDelta_ = false;
    mutable std::unique_ptr<DirectoryOrder> order_;
};

} // namespace pikotel::dict
