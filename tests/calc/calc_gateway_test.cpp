// The spreadsheet gateway against a real LibreOffice: one headless office per run of this
// program, on its own pipe and throwaway profile, ended by its process ids at the end.

#include "calc/officeprocess.h"
#include "platform/calc/unooffice.h"
#include "platform/calcgateway.h"
#include "results/textexport.h"
#include "support/testdirs.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XNumberFormats.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

using namespace pikotel;
using namespace pikotel::uno;
using css::uno::Any;
using css::uno::Sequence;
using css::uno::UNO_QUERY_THROW;
using Gateway = SpreadsheetGateway;

namespace {

// Generous: a first start with a new profile on a busy two-core machine.
constexpr int OfficeTimeoutMs = 180000;

class Office : public ::testing::Environment {
public:
    void SetUp() override {
        ASSERT_TRUE(profile_.isValid());
        options_.pipeName =
            QStringLiteral("pikotel-test-%1").arg(QCoreApplication::applicationPid());
        options_.headless = true;
        options_.extraArguments = {QStringLiteral("-env:UserInstallation=") +
                                   QUrl::fromLocalFile(profile_.path()).toString()};
        options_.connectTimeoutMs = OfficeTimeoutMs;
        probe_ = std::make_unique<OfficeConnection>(options_);
        QString why;
        ASSERT_TRUE(probe_->desktop(true, why).is()) << qPrintable(why);
    }
    void TearDown() override {
        probe_.reset();
        EXPECT_TRUE(test::killOffice(options_.pipeName, 30000));
    }

    static const CalcGatewayOptions& options() { return options_; }
    // The office's desktop, seen by the test itself.
    static Reference<css::frame::XDesktop2> desktop() {
        QString why;
        const Reference<css::frame::XDesktop2> desktop = probe_->desktop(false, why);
        if (!desktop.is())
            throw std::runtime_error("no office: " + why.toStdString());
        return desktop;
    }

private:
    QTemporaryDir profile_;
    static inline CalcGatewayOptions options_;
    static inline std::unique_ptr<OfficeConnection> probe_;
};

[[maybe_unused]] auto* const office = ::testing::AddGlobalTestEnvironment(new Office);

std::unique_ptr<Gateway> newGateway() {
    return loadSpreadsheetGateway(QStringLiteral(PIKOTEL_CALC_MODULE_FILE), Office::options());
}

Reference<css::frame::XModel> loadHidden(const QString& path, const char* filter = nullptr,
                                         const char* filterOptions = nullptr) {
    std::vector<css::beans::PropertyValue> args{property("Hidden", Any(true))};
    if (filter != nullptr)
        args.push_back(property("FilterName", Any(rtl::OUString::createFromAscii(filter))));
    if (filterOptions != nullptr)
        args.push_back(
            property("FilterOptions", Any(rtl::OUString::createFromAscii(filterOptions))));
    return Reference<css::frame::XModel>(
        Office::desktop()->loadComponentFromURL(fileUrl(path), "_blank", 0,
                                                Sequence(args.data(), sal_Int32(args.size()))),
        UNO_QUERY_THROW);
}

void close(const Reference<css::frame::XModel>& document) {
    Reference<css::util::XCloseable>(document, UNO_QUERY_THROW)->close(true);
}

Reference<css::sheet::XSpreadsheet> firstSheet(const Reference<css::frame::XModel>& document) {
    const Reference<css::container::XIndexAccess> sheets(
        Reference<css::sheet::XSpreadsheetDocument>(document, UNO_QUERY_THROW)->getSheets(),
        UNO_QUERY_THROW);
    return Reference<css::sheet::XSpreadsheet>(sheets->getByIndex(0), UNO_QUERY_THROW);
}

// The first sheet's cells from A1 on, as texts; a cell that holds a number (or a formula's
// result) comes back marked with "#" so it never equals the text that was meant.
QList<QStringList> cells(const Reference<css::frame::XModel>& document, int rows, int columns) {
    const Reference<css::sheet::XCellRangeData> range(
        firstSheet(document)->getCellRangeByPosition(0, 0, columns - 1, rows - 1), UNO_QUERY_THROW);
    QList<QStringList> out;
    for (const Sequence<Any>& row : range->getDataArray()) {
        QStringList texts;
        for (const Any& cell : row) {
            rtl::OUString text;
            double number = 0;
            if (cell >>= text)
                texts << toQString(text);
            else if (cell >>= number)
                texts << QStringLiteral("#%1").arg(number);
            else
                texts << QString();
        }
        out << texts;
    }
    return out;
}

// The number format code of a cell of the first sheet.
QString formatCode(const Reference<css::frame::XModel>& document, int column, int row) {
    sal_Int32 key = 0;
    Reference<css::beans::XPropertySet>(firstSheet(document)->getCellByPosition(column, row),
                                        UNO_QUERY_THROW)
        ->getPropertyValue("NumberFormat") >>= key;
    rtl::OUString code;
    Reference<css::util::XNumberFormatsSupplier>(document, UNO_QUERY_THROW)
        ->getNumberFormats()
        ->getByKey(key)
        ->getPropertyValue("FormatString") >>= code;
    return toQString(code);
}

int documentsOpenAs(const QString& path) {
    int count = 0;
    const auto documents = Office::desktop()->getComponents()->createEnumeration();
    while (documents->hasMoreElements()) {
        const Reference<css::frame::XModel> model(documents->nextElement(), css::uno::UNO_QUERY);
        count += model.is() && samePath(pathOfUrl(model->getURL()), path) ? 1 : 0;
    }
    return count;
}

QString filterOf(const Reference<css::frame::XModel>& document) {
    for (const css::beans::PropertyValue& arg : document->getArgs()) {
        rtl::OUString value;
        if (arg.Name == "FilterName" && (arg.Value >>= value))
            return toQString(value);
    }
    return QString();
}

QByteArray head(const QString& path, int bytes) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(bytes) : QByteArray();
}

// The rows as a block of the given size, empty cells around them.
QList<QStringList> padded(QList<QStringList> rows, int height, int width) {
    rows.resize(height);
    for (QStringList& row : rows)
        row.resize(width);
    return rows;
}

const QList<QStringList> firstBatch{
    {"03-1234-5678", "株式会社　ぴーこ", "100-0001", "東京都", "千代田区", "千代田", "１－１"},
    {"0312345678", "髙橋①", "0010000", "北海道", "札幌市中央区", "", ""},
    {"=1+1", "'引用", "1e5", "TRUE", "2024/01/02", "-0", "＠"}};
const QList<QStringList> secondBatch{
    {"06-6123-4567", "大阪の店", "530-0001", "大阪府", "大阪市北区", "梅田", "1-2-3"},
    {"00", "最後", "", "", "", "", "0.50"}};

TEST(CalcGateway, CreatesRealXlsxAndXlsWorkbooksAndLeavesThemClosed) {
    test::ScratchDir dir;
    const auto gateway = newGateway();
    ASSERT_TRUE(gateway->installed());
    const QString xlsx = dir.file(QStringLiteral("出力.xlsx"));
    const QString xls = dir.file(QStringLiteral("出力 97.xls"));
    ASSERT_TRUE(gateway->createWorkbook(xlsx, Gateway::WorkbookFormat::Xlsx))
        << qPrintable(gateway->lastErrorText());
    ASSERT_TRUE(gateway->createWorkbook(xls, Gateway::WorkbookFormat::Xls))
        << qPrintable(gateway->lastErrorText());
    EXPECT_EQ(gateway->lastFailure(), Gateway::Failure::None);

    EXPECT_EQ(head(xlsx, 4), QByteArray("PK\x03\x04", 4));
    EXPECT_EQ(head(xls, 8), QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
    EXPECT_EQ(documentsOpenAs(xlsx), 0);
    EXPECT_EQ(documentsOpenAs(xls), 0);
    EXPECT_FALSE(gateway->isWorkbookOpen(xlsx));

    const auto reopenedXlsx = loadHidden(xlsx);
    EXPECT_EQ(filterOf(reopenedXlsx), QStringLiteral("Calc MS Excel 2007 XML"));
    close(reopenedXlsx);
    const auto reopenedXls = loadHidden(xls);
    EXPECT_EQ(filterOf(reopenedXls), QStringLiteral("MS Excel 97"));
    close(reopenedXls);
}

TEST(CalcGateway, TwoExportsGoBelowEachOtherAsTextsThatKeepTheirLeadingZeros) {
    test::ScratchDir dir;
    const QString path = dir.file(QStringLiteral("book.xlsx"));
    const auto gateway = newGateway();
    ASSERT_TRUE(gateway->createWorkbook(path, Gateway::WorkbookFormat::Xlsx));

    ASSERT_TRUE(gateway->openWorkbook(path)) << qPrintable(gateway->lastErrorText());
    EXPECT_TRUE(gateway->isWorkbookOpen(path));
    EXPECT_EQ(gateway->firstFreeRow(1048575), 1);
    ASSERT_TRUE(gateway->writeRows(1, firstBatch)) << qPrintable(gateway->lastErrorText());
    const int next = gateway->firstFreeRow(1048575);
    EXPECT_EQ(next, 4);
    ASSERT_TRUE(gateway->writeRows(next, secondBatch));
    EXPECT_EQ(gateway->firstFreeRow(1048575), 6);

    // Opening it again attaches to the open document instead of loading a second copy.
    ASSERT_TRUE(gateway->openWorkbook(path));
    EXPECT_EQ(documentsOpenAs(path), 1);
    const auto document = findDocument(Office::desktop(), path);
    ASSERT_TRUE(document.is());
    // One row and one column more: nothing was written beside or below.
    EXPECT_EQ(cells(document, 6, 8), padded(firstBatch + secondBatch, 6, 8));
    // Text cells, so what the user types there later stays as typed too.
    EXPECT_EQ(formatCode(document, 0, 0), QStringLiteral("@"));
    EXPECT_EQ(formatCode(document, 6, 4), QStringLiteral("@"));
    EXPECT_NE(formatCode(document, 7, 0), QStringLiteral("@"));
    EXPECT_NE(formatCode(document, 0, 5), QStringLiteral("@"));
    close(document);
    EXPECT_FALSE(gateway->isWorkbookOpen(path));
}

// A workbook another program left: column A filled from row 1 to 10, other columns further.
QString workbookFilledToRow10(const test::ScratchDir& dir) {
    const QString path = dir.file(QStringLiteral("filled.xlsx"));
    const css::beans::PropertyValue hidden = property("Hidden", Any(true));
    const Reference<css::frame::XModel> document(
        Office::desktop()->loadComponentFromURL("private:factory/scalc", "_blank", 0,
                                                Sequence(&hidden, 1)),
        UNO_QUERY_THROW);
    const auto sheet = firstSheet(document);
    for (sal_Int32 row = 0; row < 10; ++row)
        sheet->getCellByPosition(0, row)->setFormula(toOUString(QString::number(row + 1)));
    sheet->getCellByPosition(1, 20)->setFormula("beside");
    const css::beans::PropertyValue filter =
        property("FilterName", Any(rtl::OUString("Calc MS Excel 2007 XML")));
    Reference<css::frame::XStorable>(document, UNO_QUERY_THROW)
        ->storeToURL(fileUrl(path), Sequence(&filter, 1));
    close(document);
    return path;
}

TEST(CalcGateway, TheFirstFreeRowIsTheFirstEmptyCellOfColumnA) {
    test::ScratchDir dir;
    const QString path = workbookFilledToRow10(dir);
    const auto gateway = newGateway();
    ASSERT_TRUE(gateway->openWorkbook(path)) << qPrintable(gateway->lastErrorText());
    EXPECT_EQ(gateway->firstFreeRow(1048575), 11);
    EXPECT_EQ(gateway->firstFreeRow(65535), 11);
    EXPECT_EQ(gateway->firstFreeRow(10), 0);
    EXPECT_EQ(gateway->lastFailure(), Gateway::Failure::None);

    const auto document = findDocument(Office::desktop(), path);
    firstSheet(document)->getCellByPosition(0, 4)->setFormula(rtl::OUString());
    EXPECT_EQ(gateway->firstFreeRow(1048575), 5);
    EXPECT_EQ(gateway->firstFreeRow(10), 5);
    close(document);
}

TEST(CalcGateway, CallsWithoutAWorkbookOrOnAMissingFileFailWithTheirReason) {
    test::ScratchDir dir;
    const auto gateway = newGateway();
    EXPECT_EQ(gateway->firstFreeRow(100), 0);
    EXPECT_EQ(gateway->lastFailure(), Gateway::Failure::Other);
    EXPECT_EQ(gateway->lastErrorNumber(), 91);
    EXPECT_FALSE(gateway->writeRows(1, firstBatch));
    EXPECT_EQ(gateway->lastErrorNumber(), 91);

    const QString missing = dir.file(QStringLiteral("missing.xlsx"));
    EXPECT_FALSE(gateway->openWorkbook(missing));
    EXPECT_EQ(gateway->lastFailure(), Gateway::Failure::Other);
    EXPECT_NE(gateway->lastErrorNumber(), 0);
    EXPECT_FALSE(gateway->lastErrorText().isEmpty());
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_FALSE(gateway->isWorkbookOpen(missing));

    // A text file is no workbook to write into, even though the office opens it.
    const QString text = dir.file(QStringLiteral("notes.txt"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("hello\n");
    file.close();
    EXPECT_FALSE(gateway->openWorkbook(text));
    EXPECT_EQ(gateway->lastFailure(), Gateway::Failure::Other);
    EXPECT_FALSE(gateway->writeRows(1, firstBatch));
    EXPECT_EQ(documentsOpenAs(text), 0);
}

TEST(CalcGateway, ASecondGatewayAttachesToTheOpenWorkbookAndAReleasedOneForgetsIt) {
    test::ScratchDir dir;
    const QString path = dir.file(QStringLiteral("shared.xls"));
    const auto first = newGateway();
    ASSERT_TRUE(first->createWorkbook(path, Gateway::WorkbookFormat::Xls));
    ASSERT_TRUE(first->openWorkbook(path));
    ASSERT_TRUE(first->writeRows(first->firstFreeRow(65535), firstBatch));
    first->release();
    EXPECT_FALSE(first->isWorkbookOpen(path));
    EXPECT_EQ(documentsOpenAs(path), 1); // the user keeps it open

    // As the program does after a restart: the rows already there are found, not overwritten.
    const auto second = newGateway();
    EXPECT_FALSE(second->isWorkbookOpen(path));
    ASSERT_TRUE(second->openWorkbook(path));
    EXPECT_EQ(second->firstFreeRow(65535), 4);
    ASSERT_TRUE(second->writeRows(4, secondBatch));
    EXPECT_EQ(documentsOpenAs(path), 1);
    const auto document = findDocument(Office::desktop(), path);
    EXPECT_EQ(cells(document, 5, 7), firstBatch + secondBatch);
    close(document);
}

TEST(CalcGateway, AnOfficeThatWentAwayIsNotRunningAndTheNextOpenStartsItAgain) {
    test::ScratchDir dir;
    const QString path = dir.file(QStringLiteral("killed.xlsx"));
    const auto gateway = newGateway();
    ASSERT_TRUE(gateway->createWorkbook(path, Gateway::WorkbookFormat::Xlsx));
    ASSERT_TRUE(gateway->openWorkbook(path));
    ASSERT_TRUE(gateway->writeRows(1, firstBatch));

    ASSERT_TRUE(test::killOffice(Office::options().pipeName, 30000));
    EXPECT_FALSE(gateway->writeRows(4, secondBatch));
    EXPECT_EQ(gateway->lastFailure(), Gateway::Failure::NotRunning);
    EXPECT_EQ(gateway->lastErrorNumber(), 462);
    EXPECT_FALSE(gateway->isWorkbookOpen(path));
    EXPECT_EQ(gateway->firstFreeRow(100), 0);
    EXPECT_NE(gateway->lastFailure(), Gateway::Failure::None);

    // The rows written before were never saved: the workbook on disk is the empty one.
    ASSERT_TRUE(gateway->openWorkbook(path)) << qPrintable(gateway->lastErrorText());
    EXPECT_FALSE(test::officeProcesses(Office::options().pipeName).isEmpty());
    EXPECT_TRUE(gateway->isWorkbookOpen(path));
    EXPECT_EQ(gateway->firstFreeRow(1048575), 1);
    ASSERT_TRUE(gateway->writeRows(1, secondBatch));
    const auto document = findDocument(Office::desktop(), path);
    EXPECT_EQ(cells(document, 2, 7), secondBatch);
    close(document);
}

void expectOfficeReads(const QString& path, const QList<QStringList>& rows, QChar separator,
                       const char* filterOptions) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    // The lines exactly as the export writes them.
    file.write(OutputLines(rows, separator == u'\t' ? 1 : 0));
    file.close();
    const auto document = loadHidden(path, "Text - txt - csv (StarCalc)", filterOptions);
    EXPECT_EQ(cells(document, int(rows.size()) + 1, 8), padded(rows, int(rows.size()) + 1, 8));
    close(document);
}

TEST(CalcGateway, TheOfficeReadsCp932CsvAndTsvFilesCellForCell) {
    test::ScratchDir dir;
    QList<QStringList> rows = firstBatch + secondBatch;
    rows[0][6] = QStringLiteral("区域, 名");
    rows[1][6] = QStringLiteral("タブ\tなし");
    // Separator, quote, cp932 (60), first line, no column types, Japanese, quoted values as
    // texts, no number detection.
    expectOfficeReads(dir.file(QStringLiteral("out.csv")), rows, u',',
                      "44,34,60,1,,1041,true,false");
    rows[1][6] = QStringLiteral("カンマ,あり");
    expectOfficeReads(dir.file(QStringLiteral("out.txt")), rows, u'\t',
                      "9,34,60,1,,1041,true,false");
}

} // namespace
