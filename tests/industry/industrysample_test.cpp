// Every built-in industry over a generated sample, searched prefecture by prefecture on both
// engines, against a plain filter of the sample's listings written here: the listings of
// each city a pattern matches, less those holding one of the pattern's exclusion words.

#include "app/scriptedmessages.h"
#include "builder.h"
#include "common/textfold.h"
#include "directory/resultoverride.h"
#include "generator.h"
#include "jtext/csv.h"
#include "search/industry/industrysearch.h"
#include "search/industry/originalindustries.h"
#include "shell/shellfixture.h"

#include <QFile>

#include <gtest/gtest.h>

#include <map>

using namespace pikotel;
using namespace pikotel::test;

namespace {

struct Listing {
    QString number, name, pref, city;
    int cityCode = 0;
};

// "*" is any run of characters, everything else itself.
bool matches(const QString& pattern, const QString& text) {
    const QStringList parts = pattern.split(u'*');
    if (parts.size() == 1)
        return pattern == text;
    if (!text.startsWith(parts.front()))
        return false;
    qsizetype at = parts.front().size();
    for (qsizetype i = 1; i + 1 < parts.size(); ++i) {
        at = text.indexOf(parts.at(i), at);
        if (at < 0)
            return false;
        at += parts.at(i).size();
    }
    return text.size() - at >= parts.back().size() && text.endsWith(parts.back());
}

// A word drops the listing unless every listing the pattern finds holds it.
bool drops(const QString& word, const QString& pattern, const QString& name) {
    const QString folded = foldForCompare(word);
    for (const QString& piece : pattern.split(u'*', Qt::SkipEmptyParts)) {
        if (foldForCompare(piece).contains(folded))
            return false;
    }
    return foldForCompare(name).contains(folded);
}

QString key(const QString& pref, const QString& city, const QString& number, const QString& name) {
    return pref + u'|' + city + u'|' + number + u'|' + name;
}

class IndustrySample : public ::testing::TestWithParam<dict::Engine> {
protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<ScratchDir>();
        gen::GeneratorOptions o;
        o.listings = 20000;
        o.seed = 14;
        o.outCsv = dir_->file(QStringLiteral("listings.csv"));
        o.sourceDataDir = QStringLiteral(PIKOTEL_SOURCE_DATA_DIR);
        QString error;
        ASSERT_TRUE(gen::generateListings(o, &error)) << qPrintable(error);
        QFile file(o.outCsv);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        jtext::CsvReader reader(std::string_view(bytes.constData(), bytes.size()));
        jtext::CsvRow row;
        reader.next(row);
        while (reader.next(row)) {
            const QStringList f = row.texts();
            if (f.at(3) == u"2")
                listings_.push_back({f.at(0), f.at(1), f.at(5), f.at(6), f.at(7).toInt()});
        }
    }

    void SetUp() override {
        const bool first = GetParam() == dict::Engine::Dxs;
        const QString cd = f.dir.file(QStringLiteral("cd/"));
        const QString folder = first ? f.programFolder() + QStringLiteral("/DIC/") : cd;
        ASSERT_TRUE(QDir().mkpath(folder));
        dict::BuildOptions options;
        options.listingsCsv = dir_->file(QStringLiteral("listings.csv"));
        options.areasCsv = dir_->file(QStringLiteral("areas.csv"));
        options.output = folder + (first ? kDxsDicFile : kXchDicFile);
        options.engine = GetParam();
        QString error;
        ASSERT_TRUE(dict::buildDictionary(options, nullptr, &error)) << qPrintable(error);
        f.ctx->env().setText(EnvKey::DicDrive, first ? QStringLiteral("0") : QStringLiteral("1"));
        f.ctx->env().setText(EnvKey::CdDrive, cd);
        f.ctx->directory().DicOpen(false);
        ASSERT_EQ(f.ctx->directory().dicKind(), first ? 0 : 1);
    }

    static void TearDownTestSuite() { dir_.reset(); }

    static inline std::unique_ptr<ScratchDir> dir_;
    static inline std::vector<Listing> listings_;
    ShellFixture f;
    ScriptedMessagePresenter messages;
};

TEST_P(IndustrySample, EveryBuiltinIndustryFindsWhatAPlainFilterOfTheListingsFinds) {
    OriginalIndustries originals(f.ctx->store());
    std::map<int, QList<ChosenCity>> prefectures;
    for (const AreaEntry& area : f.ctx->directory().areaList())
        prefectures[prefectureOf(area.cityCode)].append({area.cityName, area.cityCode});
    std::map<int, std::vector<const Listing*>> byCity;
    for (const Listing& l : listings_)
        byCity[l.cityCode].push_back(&l);

    for (const industry::Industry& builtin : industry::builtinIndustries()) {
        const QString name = builtin.name.toString();
        const QStringList patterns = industry::searchPatterns(builtin);
        QStringList found;
        QStringList expected;
        int decoys = 0;
        for (const auto& [prefNo, cities] : prefectures) {
            const IndustryOutcome outcome = runIndustrySearch(
                *f.ctx, BuildKeywords(name, builtin.kind, 0, originals), cities, nullptr);
            ASSERT_EQ(outcome.status, IndustryOutcome::Searched) << qPrintable(name);
            for (const ResultRecord& r : f.ctx->results()) {
                QString shown = r.name;
                while (shown.endsWith(QChar(0x3000)))
                    shown.chop(1);
                found.append(key(r.L1, r.L2, r.TelNo, shown));
            }
        }
        for (const auto& [code, cityListings] : byCity) {
            for (qsizetype p = 0; p < patterns.size(); ++p) {
                const QStringList words = industry::exclusionWords(builtin, int(p) + 1);
                for (const Listing* l : cityListings) {
                    if (!matches(patterns.at(p), l->name))
                        continue;
                    DirRecord shown{l->number, l->name, {}, {}, {}, {}, {}};
                    ResultOverride::replace(l->number, shown);
                    if (std::any_of(words.begin(), words.end(), [&](const QString& w) {
                            return drops(w, patterns.at(p), shown.name);
                        })) {
                        ++decoys;
                        continue;
                    }
                    expected.append(key(l->pref, l->city, l->number, shown.name));
                }
            }
        }
        found.sort();
        expected.sort();
        EXPECT_EQ(found, expected) << qPrintable(name);
        EXPECT_GE(expected.size(), patterns.size()) << qPrintable(name);
        if (!builtin.exclusions.empty()) {
            EXPECT_GT(decoys, 0) << qPrintable(name) << ": the sample holds names to drop";
        }
    }
    EXPECT_TRUE(messages.shown().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(BothEngines, IndustrySample,
                         ::testing::Values(dict::Engine::Dxs, dict::Engine::Xch),
                         [](const ::testing::TestParamInfo<dict::Engine>& info) {
                             return info.param == dict::Engine::Dxs ? "FirstEngine"
                                                                    : "AlternateEngine";
                         });

} // namespace
