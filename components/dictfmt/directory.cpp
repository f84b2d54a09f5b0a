#include "directory.h"

#include "jtext/kana.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cstring>

namespace pikotel::dict {

QString fileInFolder(const QString& folder, const QString& name) {
    if (folder.isEmpty())
        return {};
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

bool pathArgument(const char* text, long long length, std::size_t capacity, bool fixedWidth,
                  QString& path) {
    path.clear();
    if (length < 0 || static_cast<unsigned long long>(length) > capacity)
        return false;
    if (length == 0)
        return true;
    if (!text)
        return false;
    const std::size_t size = fixedWidth ? static_cast<std::size_t>(length)
                                        : strnlen(text, static_cast<std::size_t>(length));
    const QByteArray bytes(text, static_cast<qsizetype>(size));
    if (std::any_of(bytes.begin(), bytes.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }))
        return false;
    path = QFile::decodeName(bytes);
    return true;
}

DirectoryStatus Directory::open(const QString& mainPath, const QString& deltaPath, Engine engine) {
    if (!QFileInfo(mainPath).isFile())
        return DirectoryStatus::MainMissing;
    if (!mainFile_.open(mainPath) || main_.open(mainFile_.bytes()) != OpenError::None)
        return DirectoryStatus::MainDamaged;
    if (main_.header().engine != engine || main_.header().role != Role::Main)
        return DirectoryStatus::MainForeign;
    if (!deltaPath.isEmpty() && QFileInfo(deltaPath).isFile()) {
        if (!deltaFile_.open(deltaPath) || delta_.open(deltaFile_.bytes()) != OpenError::None ||
            delta_.header().engine != engine || delta_.header().role != Role::Delta)
            return DirectoryStatus::DeltaDamaged;
        hasDelta_ = true;
    }
    return DirectoryStatus::Ok;
}

const DirectoryOrder& Directory::order() const {
    if (!order_)
        order_ = std::make_unique<DirectoryOrder>();
    return *order_;
}

bool Directory::hit(const HitRef& ref, ListingView& out) const {
    if (ref.fromDelta)
        return hasDelta_ && delta_.listing(ref.id, out);
    return main_.listing(ref.id, out);
}

bool Directory::merge(std::vector<HitRef>& mainHits, const std::vector<HitRef>& deltaHits) const {
    if (deltaHits.empty())
        return true;
    if (mainHits.empty()) {
        mainHits = deltaHits;
        return true;
    }
    const DirectoryOrder& o = order();
    if (!o.isValid())
        return false;
    std::vector<HitRef> merged;
    merged.reserve(mainHits.size() + deltaHits.size());
    std::size_t i = 0;
    std::size_t j = 0;
    ListingView a;
    ListingView b;
    while (i < mainHits.size() && j < deltaHits.size()) {
        if (!hit(mainHits[i], a) || !hit(deltaHits[j], b))
            return false;
        if (o.less(b, a))
            merged.push_back(deltaHits[j++]);
        else
            merged.push_back(mainHits[i++]);
    }
    merged.insert(merged.end(), mainHits.begin() + static_cast<std::ptrdiff_t>(i), mainHits.end());
    merged.insert(merged.end(), deltaHits.begin() + static_cast<std::ptrdiff_t>(j),
                  deltaHits.end());
    mainHits = std::move(merged);
    return true;
}

bool Directory::findNumber(std::uint64_t key, bool individuals, bool corporates,
                           std::vector<HitRef>& hits) const {
    hits.clear();
    std::vector<HitRef> deltaHits;
    const auto collect = [&](const Dictionary& dict, bool fromDelta, std::vector<HitRef>& out) {
        const auto [first, last] = dict.numberRange(key);
        ListingView view;
        for (std::uint64_t p = first; p < last; ++p) {
            const std::uint32_t id = dict.numberListing(p);
            if (!dict.listing(id, view))
                return false;
            const bool wanted = view.kind == PersonKind::Individual ? individuals : corporates;
            if (wanted)
                out.push_back({fromDelta, id});
        }
        return true;
    };
    if (!hasDelta_ || !delta_.isMasked(key)) {
        if (!collect(main_, false, hits))
            return false;
    }
    if (hasDelta_ && !collect(delta_, true, deltaHits))
        return false;
    return merge(hits, deltaHits);
}

bool Directory::collectGroup(const Dictionary& dict, bool maskByDelta, const NameQuery& query,
                             PersonKind kind, const Pattern& name, const Pattern& reading,
                             const Pattern& town, std::vector<HitRef>& out) const {
    const std::int64_t group = dict.findGroup(query.cityCode, kind);
    if (group < 0)
        return true;
    const bool fromDelta = &dict == &delta_;
    const bool needListing = maskByDelta || !town.matchesAll();
    bool damaged = false;
    ListingView view;
    const bool scanned =
        dict.scanGroup(static_cast<std::uint32_t>(group), name, &reading, [&](std::uint32_t id) {
            if (needListing) {
                if (!dict.listing(id, view)) {
                    damaged = true;
                    return false;
                }
                if (!town.matches(view.town))
                    return true;
                if (maskByDelta) {
                    const auto key = displayNumberKey(view.number);
                    if (key && delta_.isMasked(*key))
                        return true;
                }
            }
            out.push_back({fromDelta, id});
            return query.limit == 0 || out.size() < query.limit;
        });
    return scanned && !damaged;
}

std::string readingPatternOf(std::string_view utf8) {
    const QStringList pieces =
        QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).split(u'*');
    QStringList folded;
    for (const QString& piece : pieces)
        folded.append(jtext::hiraganaToKatakana(jtext::toFullWidth(piece)));
    return folded.join(u'*').toStdString();
}

bool Directory::findNames(const NameQuery& query, std::vector<HitRef>& hits) const {
    hits.clear();
    const Pattern name(query.namePattern);
    // Readings are stored as full-width katakana: a pattern typed otherwise is compared in
    // that form, the names as typed. Only individuals have readings.
    const std::string readingForm =
        query.individuals ? readingPatternOf(query.namePattern) : query.namePattern;
    const Pattern readingPattern(readingForm);
    const Pattern& reading = readingForm == query.namePattern ? name : readingPattern;
    const Pattern town(query.townPattern);
    for (const PersonKind kind : {PersonKind::Individual, PersonKind::Corporate}) {
        if ((kind == PersonKind::Individual && !query.individuals) ||
            (kind == PersonKind::Corporate && !query.corporates))
            continue;
        std::vector<HitRef> mainHits;
        std::vector<HitRef> deltaHits;
        if (!collectGroup(main_, hasDelta_ && delta_.header().maskCount > 0, query, kind, name,
                          reading, town, mainHits))
            return false;
        if (hasDelta_ && !collectGroup(delta_, false, query, kind, name, reading, town, deltaHits))
            return false;
        if (!merge(mainHits, deltaHits))
            return false;
        hits.insert(hits.end(), mainHits.begin(), mainHits.end());
    }
    if (query.limit != 0 && hits.size() > query.limit)
        hits.resize(query.limit);
    return true;
}

} // namespace pikotel::dict
