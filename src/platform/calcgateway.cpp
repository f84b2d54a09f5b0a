#include "platform/calcgateway.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace pikotel {

namespace {

// Error number of a spreadsheet program that cannot be started.
constexpr int ErrCannotStart = 429;

class MissingSpreadsheet final : public SpreadsheetGateway {
public:
    explicit MissingSpreadsheet(QString why) : why_(std::move(why)) {}
    bool installed() const override { return false; }
    bool createWorkbook(const QString&, WorkbookFormat) override { return fail(); }
    bool isWorkbookOpen(const QString&) override { return false; }
    bool openWorkbook(const QString&) override { return fail(); }
    int firstFreeRow(int) override {
        fail();
        return 0;
    }
    bool writeRows(int, const QList<QStringList>&) override { return fail(); }
    void release() override {}
    Failure lastFailure() const override { return failed_ ? Failure::Other : Failure::None; }
    int lastErrorNumber() const override { return failed_ ? ErrCannotStart : 0; }
    QString lastErrorText() const override { return failed_ ? why_ : QString(); }

private:
    bool fail() {
        failed_ = true;
        return false;
    }
    QString why_;
    bool failed_ = false;
};

} // namespace

QString calcModuleFile() {
    const QString chosen = qEnvironmentVariable("PIKOTEL_CALC_MODULE");
    if (!chosen.isEmpty())
        return chosen;
    const QDir bin(QCoreApplication::applicationDirPath());
    return QDir::cleanPath(
        bin.absoluteFilePath(QStringLiteral(PIKOTEL_MODULE_DIR_FROM_BIN "/libpikotel_calc.so")));
}

CalcGatewayOptions calcOptionsFromEnvironment() {
    CalcGatewayOptions options;
    options.headless = qEnvironmentVariable("PIKOTEL_CALC_HEADLESS") == QLatin1String("1");
    return options;
}

std::unique_ptr<SpreadsheetGateway> loadSpreadsheetGateway(const QString& moduleFile,
                                                           const CalcGatewayOptions& options) {
    // Never unloaded: the gateway's code and the office bridge's threads live in it.
    QLibrary module(moduleFile);
    if (!module.load())
        return std::make_unique<MissingSpreadsheet>(
            QStringLiteral("LibreOffice Calc との連携モジュールを読み込めません（%1）。")
                .arg(module.errorString()));
    const auto create =
        reinterpret_cast<CalcGatewayFactory>(module.resolve(calcGatewayFactoryName));
    SpreadsheetGateway* gateway = create != nullptr ? create(&options) : nullptr;
    if (gateway == nullptr)
        return std::make_unique<MissingSpreadsheet>(
            QStringLiteral("LibreOffice Calc との連携モジュール %1 が使えません。")
                .arg(moduleFile));
    return std::unique_ptr<SpreadsheetGateway>(gateway);
}

} // namespace pikotel
