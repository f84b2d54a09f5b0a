#include "namebuilder.h"

#include "nameformat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "jtext/cp932.h"
#include "jtext/kana.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace pikotel::seimei {

namespace {

// The cp932 bytes of a text, or nothing when a character has no cp932 form (the codec would
// write "?" for it).
std::optional<QByteArray> strictCp932(const QString& text) {
    if (!jtext::fitsCp932(text))
        return std::nullopt;
    return jtext::toCp932(text);
}

bool fullWidthKatakana(const QString& text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return (c.unicode() >= 0x30A1 && c.unicode() <= 0x30FA) || c.unicode() == 0x30FC;
    });
}

bool hasControl(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x20; });
}

// An empty field is no rank; anything else must be a whole number from 1.
bool rankField(const QString& field, std::optional<int>& out) {
    out.reset();
    if (field.isEmpty())
        return true;
    bool ok = false;
    const int value = field.toInt(&ok);
    if (!ok || value < 1)
        return false;
    out = value;
    return true;
}

void putU16(QByteArray& b, std::size_t at, std::uint16_t v) {
    b[qsizetype(at)] = char(v & 0xFF);
    b[qsizetype(at + 1)] = char(v >> 8);
}
void putU32(QByteArray& b, std::size_t at, std::uint32_t v) {
    putU16(b, at, std::uint16_t(v & 0xFFFF));
    putU16(b, at + 2, std::uint16_t(v >> 16));
}
void putU64(QByteArray& b, std::size_t at, std::uint64_t v) {
    putU32(b, at, std::uint32_t(v & 0xFFFFFFFF));
    putU32(b, at + 4, std::uint32_t(v >> 32));
}

} // namespace

QByteArray readingKey(const QString& reading) {
    return strictCp932(jtext::toHalfWidth(jtext::hiraganaToKatakana(reading)))
        .value_or(QByteArray());
}

bool NameDictionaryBuilder::readNames(const QString& path, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    const auto fields = [](const QByteArray& line) {
        QByteArray text = line;
        while (text.endsWith('\n') || text.endsWith('\r'))
            text.chop(1);
        return QString::fromUtf8(text).split(u'\t');
    };

    const QStringList names = fields(file.readLine());
    Columns columns;
    columns.count = names.size();
    const std::pair<const char*, qsizetype*> wanted[] = {{"kind", &columns.kind},
                                                         {"reading_katakana", &columns.reading},
                                                         {"kanji", &columns.written},
                                                         {"source", &columns.source},
                                                         {"gimei_rank", &columns.rank}};
    for (const auto& [name, index] : wanted) {
        *index = names.indexOf(QString::fromLatin1(name));
        if (*index < 0) {
            error = QStringLiteral("%1:1: no column %2").arg(path, QString::fromLatin1(name));
            return false;
        }
    }

    for (int line = 2; !file.atEnd(); ++line) {
        const QByteArray raw = file.readLine();
        if (raw.trimmed().isEmpty())
            continue;
        if (!addRow(columns, fields(raw), QStringLiteral("%1:%2").arg(path).arg(line), error))
            return false;
    }
    return true;
}

bool NameDictionaryBuilder::addRow(const Columns& columns, const QStringList& row,
                                   const QString& where, QString& error) {
    const auto fail = [&](const QString& why) {
        error = where + QStringLiteral(": ") + why;
        return false;
    };
    const auto skip = [&](const QString& why) {
        warnings_.append(where + QStringLiteral(": ") + why);
        ++skipped_;
        return true;
    };
    if (row.size() != columns.count)
        return fail(
            QStringLiteral("%1 fields, the header has %2").arg(row.size()).arg(columns.count));
    const QString& kind = row[columns.kind];
    const QString& reading = row[columns.reading];
    const QString& written = row[columns.written];
    const bool surname = kind == QLatin1String("sei");
    if (!surname && kind != QLatin1String("mei"))
        return fail(QStringLiteral("kind \"%1\" is neither sei nor mei").arg(kind));
    if (!fullWidthKatakana(reading))
        return fail(QStringLiteral("reading \"%1\" is not full-width katakana").arg(reading));
    if (written.isEmpty() || hasControl(written))
        return fail(QStringLiteral("empty written form or control characters"));
    std::optional<int> rank;
    if (!rankField(row[columns.rank], rank))
        return fail(QStringLiteral("gimei_rank \"%1\" is no rank").arg(row[columns.rank]));

    const QByteArray key = readingKey(reading);
    const std::optional<QByteArray> form = strictCp932(written);
    if (key.isEmpty() || std::size_t(key.size()) > kMaxTextBytes)
        return skip(QStringLiteral("reading \"%1\" does not fit the key field").arg(reading));
    if (!form)
        return skip(QStringLiteral("\"%1\" has no cp932 form").arg(written));
    if (std::size_t(form->size()) > kMaxTextBytes)
        return skip(QStringLiteral("\"%1\" is longer than 100 bytes").arg(written));

    Forms& forms = readings_[key.toStdString()];
    const std::string text = form->toStdString();
    if (forms.size() >= kMaxCandidatesPerReading && !forms.contains(text))
        return skip(QStringLiteral("reading \"%1\" has too many forms").arg(reading));
    Form& f = forms[text];
    if (surname) {
        f.surname = true;
        if (rank && (!f.rank || *rank < *f.rank))
            f.rank = rank;
    } else {
        f.gimeiGivenName |= row[columns.source].startsWith(QLatin1String("gimei"));
    }
    return true;
}

BuildSummary NameDictionaryBuilder::summary() const {
    BuildSummary s;
    s.readings = static_cast<std::uint32_t>(readings_.size());
    for (const auto& [key, forms] : readings_) {
        for (const auto& [text, form] : forms)
            ++(form.surname ? s.surnames : s.givenNames);
    }
    s.skippedRows = skipped_;
    return s;
}

QByteArray NameDictionaryBuilder::build(std::int64_t buildTime) const {
    using Entry = std::pair<const std::string*, const Form*>;
    std::string text;
    std::unordered_map<std::string, std::uint32_t> stored;
    const auto intern = [&](const std::string& s) {
        const auto [it, added] = stored.try_emplace(s, static_cast<std::uint32_t>(text.size()));
        if (added)
            text += s;
        return it->second;
    };

    QByteArray readings;
    QByteArray candidates;
    std::uint32_t candidateCount = 0;
    std::uint32_t surnameCount = 0;
    // std::map orders the keys as unsigned bytes, the order the reader searches in.
    for (const auto& [key, forms] : readings_) {
        std::vector<Entry> surnames, givenNames;
        for (const auto& [written, form] : forms)
            (form.surname ? surnames : givenNames).emplace_back(&written, &form);
        // Forms are visited in byte order already; a stable sort keeps it within each group.
        std::stable_sort(surnames.begin(), surnames.end(), [](const Entry& a, const Entry& b) {
            const std::optional<int>& x = a.second->rank;
            const std::optional<int>& y = b.second->rank;
            return x && (!y || *x < *y);
        });
        std::stable_partition(givenNames.begin(), givenNames.end(),
                              [](const Entry& e) { return e.second->gimeiGivenName; });

        QByteArray entry(kReadingEntrySize, '\0');
        putU32(entry, 0, intern(key));
        putU32(entry, 4, candidateCount);
        putU16(entry, 8, static_cast<std::uint16_t>(key.size()));
        putU16(entry, 10, static_cast<std::uint16_t>(forms.size()));
        putU16(entry, 12, static_cast<std::uint16_t>(surnames.size()));
        readings.append(entry);
        for (const auto* part : {&surnames, &givenNames}) {
            const NameKind kind = part == &surnames ? NameKind::Surname : NameKind::GivenName;
            for (const Entry& e : *part) {
                QByteArray c(kCandidateEntrySize, '\0');
                putU32(c, 0, intern(*e.first));
                putU16(c, 4, static_cast<std::uint16_t>(e.first->size()));
                c[6] = static_cast<char>(kind);
                candidates.append(c);
            }
        }
        candidateCount += static_cast<std::uint32_t>(forms.size());
        surnameCount += static_cast<std::uint32_t>(surnames.size());
    }

    QByteArray image(kHeaderSize, '\0');
    std::copy(std::begin(kMagic), std::end(kMagic), image.begin());
    putU16(image, header::version, kFormatVersion);
    putU32(image, header::readingCount, static_cast<std::uint32_t>(readings_.size()));
    putU32(image, header::candidateCount, candidateCount);
    putU32(image, header::textSize, static_cast<std::uint32_t>(text.size()));
    putU64(image, header::buildTime, static_cast<std::uint64_t>(buildTime));
    putU32(image, header::surnameCount, surnameCount);
    putU32(image, header::givenNameCount, candidateCount - surnameCount);
    image.append(readings).append(candidates);
    image.append(text.data(), qsizetype(text.size()));
    image.append(QByteArray(qsizetype(align8(text.size()) - text.size()), '\0'));
    putU64(image, header::fileSize, static_cast<std::uint64_t>(image.size()));
    putU64(image, header::checksum,
           imageChecksum({reinterpret_cast<const std::uint8_t*>(image.constData()),
                          static_cast<std::size_t>(image.size())}));
    return image;
}

bool NameDictionaryBuilder::write(const QByteArray& image, const QString& path, QString& error) {
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) {
        error = QStringLiteral("%1: cannot create the folder").arg(info.absolutePath());
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(image) != image.size() || !file.commit()) {
        error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace pikotel::seimei
