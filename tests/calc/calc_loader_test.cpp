// The program without a usable spreadsheet: the gateway says so and every call fails cleanly.

#include "platform/calcgateway.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace pikotel;
using Gateway = SpreadsheetGateway;

namespace {

void expectFailsCleanly(Gateway& gateway, const QString& reason) {
    EXPECT_FALSE(gateway.installed());
    EXPECT_EQ(gateway.lastFailure(), Gateway::Failure::None);
    EXPECT_FALSE(
        gateway.createWorkbook(QStringLiteral("/tmp/x.xlsx"), Gateway::WorkbookFormat::Xlsx));
    EXPECT_EQ(gateway.lastFailure(), Gateway::Failure::Other);
    EXPECT_EQ(gateway.lastErrorNumber(), 429);
    EXPECT_TRUE(gateway.lastErrorText().contains(reason)) << qPrintable(gateway.lastErrorText());
    EXPECT_FALSE(gateway.isWorkbookOpen(QStringLiteral("/tmp/x.xlsx")));
    EXPECT_FALSE(gateway.openWorkbook(QStringLiteral("/tmp/x.xlsx")));
    EXPECT_EQ(gateway.firstFreeRow(10), 0);
    EXPECT_NE(gateway.lastFailure(), Gateway::Failure::None);
    EXPECT_FALSE(gateway.writeRows(1, {{QStringLiteral("a")}}));
    gateway.release();
}

TEST(CalcLoader, AMissingModuleGivesAGatewayThatIsNotInstalled) {
    const auto gateway =
        loadSpreadsheetGateway(QStringLiteral("/nonexistent/libpikotel_calc.so"), {});
    expectFailsCleanly(*gateway, QStringLiteral("libpikotel_calc.so"));
}

TEST(CalcLoader, AFileThatIsNoModuleGivesAGatewayThatIsNotInstalled) {
    // A shared library without the entry point.
    const auto gateway = loadSpreadsheetGateway(QStringLiteral("libz.so.1"), {});
    expectFailsCleanly(*gateway, QStringLiteral("libz.so.1"));
}

#ifdef PIKOTEL_CALC_MODULE_FILE
TEST(CalcLoader, TheModuleWithoutAnOfficeProgramFailsAtOnce) {
    CalcGatewayOptions options;
    options.officeProgram = QStringLiteral("/nonexistent/soffice");
    options.pipeName =
        QStringLiteral("pikotel-test-none-%1").arg(QCoreApplication::applicationPid());
    const auto gateway = loadSpreadsheetGateway(QStringLiteral(PIKOTEL_CALC_MODULE_FILE), options);
    expectFailsCleanly(*gateway, QStringLiteral("soffice"));
}
#endif

} // namespace
