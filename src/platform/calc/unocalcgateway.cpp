// The spreadsheet gateway over LibreOffice Calc: the module's one entry point makes it.

#include "platform/calc/unooffice.h"

#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XCellRangesQuery.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XNumberFormats.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>

#include <algorithm>
#include <csignal>
#include <limits>

namespace pikotel {

namespace {

using namespace uno;
using css::uno::Any;
using css::uno::Sequence;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

// The error numbers the automation of a spreadsheet program reports.
constexpr int ErrObjectNotSet = 91;
constexpr int ErrCannotStart = 429;
constexpr int ErrNotRunning = 462;
constexpr int ErrApplication = 1004;

// Closes a document the gateway opened for itself, whatever happened meanwhile.
class ClosingDocument {
public:
    explicit ClosingDocument(Reference<css::util::XCloseable> document)
        : document_(std::move(document)) {}
    ~ClosingDocument() {
        try {
            if (document_.is())
                document_->close(true);
        } catch (const css::uno::Exception&) {
            // The office went away with it.
        }
    }
    ClosingDocument(const ClosingDocument&) = delete;
    ClosingDocument& operator=(const ClosingDocument&) = delete;

private:
    Reference<css::util::XCloseable> document_;
};

class UnoCalcGateway final : public SpreadsheetGateway {
public:
    explicit UnoCalcGateway(const CalcGatewayOptions& options) : office_(options) {}
    ~UnoCalcGateway() override { workbook_.clear(); }

    bool installed() const override { return !officeProgram(office_.options()).isEmpty(); }

    bool createWorkbook(const QString& path, WorkbookFormat format) override {
        return guarded(false, [&] {
            const Reference<css::frame::XDesktop2> desktop = connect();
            if (!desktop.is())
                return false;
            const css::beans::PropertyValue hidden = property("Hidden", Any(true));
            const Reference<css::lang::XComponent> document = desktop->loadComponentFromURL(
                "private:factory/scalc", "_blank", 0, Sequence(&hidden, 1));
            const ClosingDocument closing(Reference<css::util::XCloseable>(document, UNO_QUERY));
            const char* filter =
                format == WorkbookFormat::Xlsx ? "Calc MS Excel 2007 XML" : "MS Excel 97";
            const css::beans::PropertyValue store[] = {
                property("FilterName", Any(rtl::OUString::createFromAscii(filter))),
                property("Overwrite", Any(true))};
            Reference<css::frame::XStorable>(document, UNO_QUERY_THROW)
                ->storeToURL(fileUrl(path), Sequence(store, 2));
            return true;
        });
    }

    bool isWorkbookOpen(const QString& path) override {
        if (!workbook_.is() || path.trimmed().isEmpty())
            return false;
        return guarded(false, [&] {
            QString why;
            const Reference<css::frame::XDesktop2> desktop = office_.desktop(false, why);
            return desktop.is() && findDocument(desktop, path) == workbook_;
        });
    }

    bool openWorkbook(const QString& path) override {
        workbook_.clear();
        return guarded(false, [&] {
            const Reference<css::frame::XDesktop2> desktop = connect();
            if (!desktop.is())
                return false;
            Reference<css::frame::XModel> workbook = findDocument(desktop, path);
            const bool wasOpen = workbook.is();
            if (!wasOpen) {
                // A workbook from elsewhere never runs its macros here. A headless office
                // (LibreOffice 7.4) aborts when it is given a document to show.
                const css::beans::PropertyValue load[] = {
                    property("MacroExecutionMode",
                             Any(css::document::MacroExecMode::NEVER_EXECUTE)),
                    property("Hidden", Any(office_.options().headless))};
                workbook.set(
                    desktop->loadComponentFromURL(fileUrl(path), "_default", 0, Sequence(load, 2)),
                    UNO_QUERY);
            }
            if (!Reference<css::sheet::XSpreadsheetDocument>(workbook, UNO_QUERY).is()) {
                // What the office made of a file that is no workbook goes away again.
                if (const Reference<css::util::XCloseable> other(workbook, UNO_QUERY);
                    other.is() && !wasOpen)
                    other->close(true);
                return fail(Failure::Other, ErrApplication,
                            QStringLiteral("%1 は表計算のブックとして開けません。").arg(path));
            }
            if (!office_.options().headless)
                show(workbook);
            workbook_ = workbook;
            return true;
        });
    }

    int firstFreeRow(int lastRow) override {
        return guarded(0, [&] {
            const Reference<css::sheet::XSpreadsheet> sheet = firstSheet();
            if (!sheet.is() || lastRow < 1)
                return 0;
            const Reference<css::sheet::XCellRangesQuery> column(
                sheet->getCellRangeByPosition(0, 0, 0, lastRow - 1), UNO_QUERY_THROW);
            // The empty stretches of the column, in one call rather than one per cell.
            const Sequence<css::table::CellRangeAddress> empty =
                column->queryEmptyCells()->getRangeAddresses();
            sal_Int32 first = std::numeric_limits<sal_Int32>::max();
            for (const css::table::CellRangeAddress& range : empty)
                first = std::min(first, range.StartRow);
            return first == std::numeric_limits<sal_Int32>::max() ? 0 : int(first) + 1;
        });
    }

    bool writeRows(int firstRow, const QList<QStringList>& rows) override {
        return guarded(false, [&] {
            const Reference<css::sheet::XSpreadsheet> sheet = firstSheet();
            if (!sheet.is())
                return false;
            if (firstRow < 1)
                return fail(Failure::Other, ErrApplication,
                            QStringLiteral("行番号 %1 には書き込めません。").arg(firstRow));
            const sal_Int32 textFormat = textFormatKey();
            // Rows of one width (an export's) go in one call; a row of another width starts
            // a new block, so no cell beyond a row's own is touched.
            qsizetype start = 0;
            while (start < rows.size()) {
                const qsizetype width = rows[start].size();
                qsizetype end = start + 1;
                while (end < rows.size() && rows[end].size() == width)
                    ++end;
                if (width > 0)
                    writeBlock(sheet, firstRow - 1 + sal_Int32(start), rows.mid(start, end - start),
                               textFormat);
                start = end;
            }
            return true;
        });
    }

    void release() override { workbook_.clear(); }

    Failure lastFailure() const override { return failure_; }
    int lastErrorNumber() const override { return errorNumber_; }
    QString lastErrorText() const override { return errorText_; }

private:
    template <typename T, typename Body> T guarded(T onFailure, Body&& body) {
        failure_ = Failure::None;
        errorNumber_ = 0;
        errorText_.clear();
        try {
            return body();
        } catch (const css::uno::Exception& e) {
            // A call fails when the office went away (the user closed it) or on its own.
            if (office_.alive()) {
                fail(Failure::Other, ErrApplication, toQString(e.Message));
            } else {
                office_.close();
                workbook_.clear();
                fail(Failure::NotRunning, ErrNotRunning,
                     QStringLiteral("LibreOffice Calc が終了しています。"));
            }
        }
        return onFailure;
    }

    bool fail(Failure failure, int number, const QString& text) {
        failure_ = failure;
        errorNumber_ = number;
        errorText_ = text;
        return false;
    }

    Reference<css::frame::XDesktop2> connect() {
        QString why;
        const Reference<css::frame::XDesktop2> desktop = office_.desktop(true, why);
        if (!desktop.is())
            fail(Failure::Other, ErrCannotStart, why);
        return desktop;
    }

    Reference<css::sheet::XSpreadsheet> firstSheet() {
        if (!workbook_.is()) {
            fail(Failure::Other, ErrObjectNotSet, QStringLiteral("ブックが開かれていません。"));
            return {};
        }
        const Reference<css::sheet::XSpreadsheetDocument> document(workbook_, UNO_QUERY_THROW);
        const Reference<css::container::XIndexAccess> sheets(document->getSheets(),
                                                             UNO_QUERY_THROW);
        return Reference<css::sheet::XSpreadsheet>(sheets->getByIndex(0), UNO_QUERY_THROW);
    }

    // The workbook's number format "@" (text), added when it has none.
    sal_Int32 textFormatKey() {
        const Reference<css::util::XNumberFormats> formats =
            Reference<css::util::XNumberFormatsSupplier>(workbook_, UNO_QUERY_THROW)
                ->getNumberFormats();
        const css::lang::Locale locale;
        const sal_Int32 key = formats->queryKey("@", locale, false);
        return key >= 0 ? key : formats->addNew("@", locale);
    }

    static void writeBlock(const Reference<css::sheet::XSpreadsheet>& sheet, sal_Int32 top,
                           const QList<QStringList>& rows, sal_Int32 textFormat) {
        const auto width = sal_Int32(rows.first().size());
        const auto height = sal_Int32(rows.size());
        const Reference<css::table::XCellRange> range =
            sheet->getCellRangeByPosition(0, top, width - 1, top + height - 1);
        // Text cells before the texts arrive: a number keeps its leading zeros and a text
        // that looks like a formula stays a text.
        Reference<css::beans::XPropertySet>(range, UNO_QUERY_THROW)
            ->setPropertyValue("NumberFormat", Any(textFormat));
        Sequence<Sequence<Any>> data(height);
        Sequence<Any>* out = data.getArray();
        for (sal_Int32 r = 0; r < height; ++r) {
            out[r].realloc(width);
            Any* cells = out[r].getArray();
            for (sal_Int32 c = 0; c < width; ++c)
                cells[c] <<= toOUString(rows[r][c]);
        }
        Reference<css::sheet::XCellRangeData>(range, UNO_QUERY_THROW)->setDataArray(data);
    }

    static void show(const Reference<css::frame::XModel>& workbook) {
        const Reference<css::frame::XController> controller = workbook->getCurrentController();
        if (!controller.is())
            return;
        const Reference<css::awt::XWindow> window = controller->getFrame()->getContainerWindow();
        window->setVisible(true);
        if (const Reference<css::awt::XTopWindow> top(window, UNO_QUERY); top.is())
            top->toFront();
    }

    OfficeConnection office_;
    Reference<css::frame::XModel> workbook_;
    Failure failure_ = Failure::None;
    int errorNumber_ = 0;
    QString errorText_;
};

} // namespace

} // namespace pikotel

extern "C" Q_DECL_EXPORT pikotel::SpreadsheetGateway*
pikotel_calc_create_gateway_v1(const pikotel::CalcGatewayOptions* options) {
    // Writing to an office that has just gone away must fail the call, not end the program.
    std::signal(SIGPIPE, SIG_IGN);
    return new pikotel::UnoCalcGateway(*options);
}
