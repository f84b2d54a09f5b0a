#include "dicttest.h"

#include <QCollator>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <tuple>

namespace pikotel::test {

namespace {

struct City {
    int code;
    const char* pref;
    const char* city;
    const char* areaCode;
    const char* zip;
    QStringList towns;
};

const QList<City>& cities() {
    static const QList<City> list = {
        {13104, "東京都", "新宿区", "03", "160-0022", {"新宿", "西新宿", "歌舞伎町", "大久保"}},
        {13113, "東京都", "渋谷区", "03", "150-0002", {"渋谷", "神宮前", "代々木"}},
        {1101, "北海道", "札幌市中央区", "011", "060-0001", {"北一条西", "大通西", "南三条西"}},
        {27128, "大阪府", "大阪市中央区", "06", "542-0076", {"難波", "心斎橋筋", "本町"}},
        {47201, "沖縄県", "那覇市", "098", "900-0015", {"久茂地", "松山", "泊"}},
    };
    return list;
}

// Written form and reading. 曽 (0x915C), 能 (0x945C), 表 (0x955C) and ソ (0x835C) end in the
// byte of "\"; ア (0x8341) and イ (0x8343) hold the bytes of "A" and "C".
const QList<QPair<QString, QString>> kSurnames = {
    {"山田", "ヤマダ"},   {"佐藤", "サトウ"},   {"鈴木", "スズキ"},     {"高橋", "タカハシ"},
    {"髙橋", "タカハシ"}, {"田中", "タナカ"},   {"伊藤", "イトウ"},     {"渡辺", "ワタナベ"},
    {"山本", "ヤマモト"}, {"中村", "ナカムラ"}, {"小林", "コバヤシ"},   {"加藤", "カトウ"},
    {"吉田", "ヨシダ"},   {"山口", "ヤマグチ"}, {"長谷川", "ハセガワ"}, {"五十嵐", "イガラシ"},
    {"曽我", "ソガ"},     {"能登", "ノト"},     {"十河", "ソゴウ"},     {"表", "オモテ"},
};
const QList<QPair<QString, QString>> kGivenNames = {
    {"太郎", "タロウ"},   {"花子", "ハナコ"},   {"一郎", "イチロウ"}, {"次郎", "ジロウ"},
    {"美咲", "ミサキ"},   {"大輔", "ダイスケ"}, {"由美", "ユミ"},     {"健一", "ケンイチ"},
    {"翔太", "ショウタ"}, {"陽子", "ヨウコ"},   {"曜子", "ヨウコ"},   {"ソラ", "ソラ"},
};
// %1 the surname, %2 its reading.
const QList<QPair<QString, QString>> kBusinesses = {
    {"ラーメン%1", "ラーメン%2"},
    {"%1寿司", "%2ズシ"},
    {"喫茶%1", "キッサ%2"},
    {"株式会社%1商店", "%2ショウテン"},
    {"%1美容室", "%2ビヨウシツ"},
    {"ｿﾌﾄ工房%1", "ソフトコウボウ%2"},
    {QString::fromUtf8("ゆ\u301cとぴあ%1"), "ユートピア%2"},
    {"アイ電機%1", "アイデンキ%2"},
    {"ABC商会%1", "エービーシーショウカイ%2"},
    {"%1・ＤＥＮＴＡＬ", "%2デンタル"},
};

class Lcg {
public:
    explicit Lcg(std::uint32_t seed) : state_(seed * 2654435761u + 1) {}
    std::uint32_t next() {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(state_ >> 33);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }
    // Small indexes far more often than large ones, as with common names.
    int skewed(int n) { return std::min(below(n), below(n)); }

private:
    std::uint64_t state_;
};

QString digits(Lcg& r, int count) {
    QString s;
    for (int i = 0; i < count; ++i)
        s += QChar(u'0' + r.below(10));
    return s;
}

QString csvField(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1String("\""), QLatin1String("\"\"")) +
           QLatin1Char('"');
}

std::uint64_t numberKey(const QString& number) {
    return (QStringLiteral("1") + digitsOf(number)).toULongLong();
}

QRegularExpression globExpression(const QString& pattern) {
    QStringList pieces = pattern.split(QLatin1Char('*'));
    for (QString& p : pieces)
        p = QRegularExpression::escape(p);
    return QRegularExpression(QStringLiteral("\\A") + pieces.join(QStringLiteral(".*")) +
                                  QStringLiteral("\\z"),
                              QRegularExpression::DotMatchesEverythingOption);
}

Hit hitOf(const Listing& l) {
    return {l.number,           storedForm(l.name), l.zip, l.pref, l.city,
            storedForm(l.town), storedForm(l.block)};
}

void sortInDirectoryOrder(QList<Listing>& rows) {
    QCollator collator{QLocale(QLocale::Japanese, QLocale::Japan)};
    std::stable_sort(rows.begin(), rows.end(), [&collator](const Listing& a, const Listing& b) {
        if (a.cityCode != b.cityCode)
            return a.cityCode < b.cityCode;
        if (a.kind != b.kind)
            return a.kind < b.kind;
        if (const int c = collator.compare(storedForm(a.reading), storedForm(b.reading)); c != 0)
            return c < 0;
        return std::tuple(numberKey(a.number), storedForm(a.name).toUtf8(),
                          storedForm(a.town).toUtf8(), storedForm(a.block).toUtf8(),
                          a.zip.toUtf8()) <
               std::tuple(numberKey(b.number), storedForm(b.name).toUtf8(),
                          storedForm(b.town).toUtf8(), storedForm(b.block).toUtf8(),
                          b.zip.toUtf8());
    });
}

} // namespace

QString digitsOf(const QString& number) {
    return QString(number).remove(QLatin1Char('-'));
}

QString storedForm(QString text) {
    text.replace(QChar(0x301C), QChar(0xFF5E));
    text.replace(QChar(0x2212), QChar(0xFF0D));
    return text;
}

QList<Listing> sampleListings(int count, std::uint32_t seed) {
    Lcg r(seed);
    QList<Listing> out;
    for (int i = 0; i < count; ++i) {
        const City& c = cities().at(r.below(static_cast<int>(cities().size())));
        Listing l;
        l.cityCode = c.code;
        l.pref = QString::fromUtf8(c.pref);
        l.city = QString::fromUtf8(c.city);
        l.zip = QString::fromUtf8(c.zip);
        l.town = c.towns.at(r.below(static_cast<int>(c.towns.size())));
        l.block = QStringLiteral("%1丁目%2－%3")
                      .arg(QChar(u'１' + r.below(9)))
                      .arg(QChar(u'１' + r.below(9)))
                      .arg(QChar(u'１' + r.below(9)));
        const auto& surname = kSurnames.at(r.skewed(static_cast<int>(kSurnames.size())));
        if (r.below(10) < 7) {
            const auto& given = kGivenNames.at(r.skewed(static_cast<int>(kGivenNames.size())));
            l.kind = 1;
            l.name = surname.first + QStringLiteral("　") + given.first;
            l.reading = surname.second + QStringLiteral("　") + given.second;
        } else {
            const auto& business = kBusinesses.at(r.below(static_cast<int>(kBusinesses.size())));
            l.kind = 2;
            l.name = business.first.arg(surname.first);
            l.reading = business.second.arg(surname.second);
        }
        // One number, several names: a family or a shop sharing a line.
        if (!out.isEmpty() && r.below(100) < 8) {
            const Listing& earlier = out.at(r.below(static_cast<int>(out.size())));
            l.number = earlier.number;
        } else {
            const QString area = QString::fromLatin1(c.areaCode);
            const int local = area.size() == 2 ? 4 : 3;
            l.number = area + QLatin1Char('-') + digits(r, local) + QLatin1Char('-') + digits(r, 4);
        }
        out.append(l);
    }
    return out;
}

QString listingCsv(const QList<Listing>& listings) {
    QString csv = QStringLiteral("number,name,reading,kind,zip,pref,city,city_code,town,block\n");
    for (const Listing& l : listings) {
        csv += QStringList{l.number,
                           csvField(l.name),
                           csvField(l.reading),
                           QString::number(l.kind),
                           l.zip,
                           l.pref,
                           l.city,
                           QStringLiteral("%1").arg(l.cityCode, 5, 10, QLatin1Char('0')),
                           csvField(l.town),
                           csvField(l.block)}
                   .join(QLatin1Char(','));
        csv += QLatin1Char('\n');
    }
    return csv;
}

bool readListingCsv(const QString& path, QList<Listing>* listings) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QString text = QString::fromUtf8(f.readAll());
    QList<QStringList> records;
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text.at(i + 1) == u'"') {
                field += c;
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            fields << field;
            field.clear();
        } else if (c == u'\n') {
            fields << field;
            field.clear();
            records << fields;
            fields.clear();
        } else {
            field += c;
        }
    }
    if (quoted || !fields.isEmpty() || !field.isEmpty() || records.isEmpty())
        return false;
    for (const QStringList& r : records.mid(1)) {
        if (r.size() != 10)
            return false;
        listings->append(
            {r[0], r[1], r[2], r[3].toInt(), r[4], r[5], r[6], r[7].toInt(), r[8], r[9]});
    }
    return true;
}

bool writeFile(const QString& path, const QString& text) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text.toUtf8()) >= 0;
}

QList<Hit> expectedByName(const QList<Listing>& listings, const NameCondition& c) {
    const QRegularExpression name =
        globExpression(storedForm(c.name.isEmpty() ? QStringLiteral("*") : c.name));
    QList<Listing> rows;
    for (const Listing& l : listings) {
        if (l.cityCode != c.cityCode || (l.kind == 1 && !c.individuals) ||
            (l.kind == 2 && !c.corporates))
            continue;
        const bool nameMatches = name.match(storedForm(l.name)).hasMatch() ||
                                 (l.kind == 1 && name.match(storedForm(l.reading)).hasMatch());
        if (nameMatches && storedForm(l.town).startsWith(storedForm(c.town)))
            rows.append(l);
    }
    sortInDirectoryOrder(rows);
    QList<Hit> hits;
    for (const Listing& l : rows) {
        if (c.limit > 0 && hits.size() == c.limit)
            break;
        hits.append(hitOf(l));
    }
    return hits;
}

QList<Hit> expectedByNumber(const QList<Listing>& listings, const QString& digits, bool individuals,
                            bool corporates) {
    QList<Listing> rows;
    for (const Listing& l : listings) {
        if (digitsOf(l.number) == digits &&
            ((l.kind == 1 && individuals) || (l.kind == 2 && corporates)))
            rows.append(l);
    }
    sortInDirectoryOrder(rows);
    QList<Hit> hits;
    for (const Listing& l : rows)
        hits.append(hitOf(l));
    return hits;
}

} // namespace pikotel::test
