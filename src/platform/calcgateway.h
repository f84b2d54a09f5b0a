#pragma once

// The spreadsheet gateway over LibreOffice Calc lives in a module loaded at run time
// (libpikotel_calc.so), so the program starts, and offers the text viewers, on a machine
// without LibreOffice.

#include "platform/services.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace pikotel {

struct CalcGatewayOptions {
    // The office program; empty: soffice (or libreoffice) on PATH.
    QString officeProgram;
    // The pipe the office accepts connections on; empty: one per user.
    QString pipeName;
    // An office started by the gateway runs without windows (tests, machines without a
    // display), and workbooks are opened hidden.
    bool headless = false;
    // Appended to the arguments of an office the gateway starts (a throwaway profile).
    QStringList extraArguments;
    // How long a starting office may take to accept the connection.
    int connectTimeoutMs = 60000;
};

// The module's entry point: a new gateway owned by the caller.
using CalcGatewayFactory = SpreadsheetGateway* (*)(const CalcGatewayOptions* options);
inline constexpr char calcGatewayFactoryName[] = "pikotel_calc_create_gateway_v1";

// Where an installation keeps the module: <prefix>/lib/pikotel beside <prefix>/bin.
// PIKOTEL_CALC_MODULE names another file (a build tree's).
QString calcModuleFile();
// The defaults, with PIKOTEL_CALC_HEADLESS=1 asking for an office without windows.
CalcGatewayOptions calcOptionsFromEnvironment();

// The gateway of the module; when the module (or the LibreOffice libraries it needs)
// cannot be loaded, one whose installed() is false and whose calls fail saying why.
std::unique_ptr<SpreadsheetGateway> loadSpreadsheetGateway(const QString& moduleFile,
                                                           const CalcGatewayOptions& options);

} // namespace pikotel
