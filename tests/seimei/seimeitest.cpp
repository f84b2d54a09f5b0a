#include "seimei/seimeitest.h"

#include "jtext/cp932.h"
#include "seimei/namebuilder.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cstring>

namespace pikotel::seimei::test {

const char kNames[] = "kind\treading_katakana\tkanji\tsource\tipadic_cost\tgimei_rank\n"
                      "sei\tサトウ\t佐東\tipadic\t7573\t\n"
                      "sei\tサトウ\t佐藤\tgimei\t\t1\n"
                      "sei\tサトウ\t佐藤\tipadic\t4579\t1\n"
                      "sei\tサトウ\t砂糖\tipadic\t9000\t\n"
                      "sei\tサトウ\t佐頭\tipadic\t\t\n"
                      "sei\tサトウ\t左藤\tipadic\t9999\t50\n"
                      "mei\tサトウ\t里羽\tipadic\t8000\t\n"
                      "mei\tタロウ\t多朗\tipadic\t6000\t\n"
                      "mei\tタロウ\t太良\tipadic\t5500\t\n"
                      "mei\tタロウ\t太朗\tgimei-male\t\t\n"
                      "mei\tタロウ\t太郎\tgimei-male\t\t\n"
                      "mei\tタロウ\t太郎\tipadic\t5000\t\n"
                      "mei\tアオキ\t青紀\tgimei-female\t\t\n"
                      "mei\tアオキ\t青木\tipadic\t9000\t\n"
                      "sei\tアオキ\t青木\tgimei\t\t41\n"
                      "mei\tガク\t学\tgimei-male\t\t\n"
                      "sei\tヤマダ\t山田\tgimei\t\t10\n";

QString writtenForm(const HNameCandidateRec& rec) {
    return jtext::fromCp932({rec.name, qsizetype(strnlen(rec.name, sizeof rec.name))});
}

void PrintTo(const Candidate& c, std::ostream* os) {
    *os << (c.kind == 1 ? "sei " : c.kind == 2 ? "mei " : "kind? ") << c.written.toStdString();
}

QByteArray buildImage(const QByteArray& names) {
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("names.tsv")));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(names);
    file.close();
    NameDictionaryBuilder builder;
    QString error;
    EXPECT_TRUE(builder.readNames(file.fileName(), error)) << qPrintable(error);
    return builder.build(1700000000);
}

DictionaryFile::DictionaryFile(const QByteArray& image)
    : path_(dir_.filePath(QStringLiteral("Seimei.dic"))) {
    QFile file(path_);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_EQ(file.write(image), image.size());
}

int32_t openDictionary(const QString& path, int32_t& handle) {
    HNameOpenRec rec{};
    const QByteArray bytes = QFile::encodeName(path);
    EXPECT_LE(std::size_t(bytes.size()), sizeof rec.path);
    std::memcpy(rec.path, bytes.constData(), std::min(sizeof rec.path, std::size_t(bytes.size())));
    rec.pathLength = int32_t(path.size() * 2);
    return HNameDB_Open(&rec, &handle);
}

std::vector<Candidate> lookup(int32_t handle, const QString& halfWidthReading, int32_t* result) {
    HNameSearchRec rec{};
    const QByteArray key = jtext::toCp932(halfWidthReading);
    std::memcpy(rec.key, key.constData(), std::min(sizeof rec.key, std::size_t(key.size())));
    rec.keyLength = int32_t(halfWidthReading.size() * 2);
    const int32_t r = HNameDB_Search(handle, &rec);
    if (result != nullptr)
        *result = r;
    std::vector<Candidate> out;
    if (r != 0)
        return out;
    for (int32_t i = 0; i < rec.count; ++i) {
        HNameCandidateRec c;
        EXPECT_EQ(HNameDB_GetName(handle, i, &c), 0);
        out.push_back({c.kind, writtenForm(c)});
    }
    return out;
}

} // namespace pikotel::seimei::test
