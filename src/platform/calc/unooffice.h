#pragma once

// A connection to a LibreOffice process through the UNO remote bridge over a named pipe,
// starting the office when none accepts there. The spreadsheet module drives Calc through it;
// the tests use it to look into the office on their own.

#include "platform/calcgateway.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/lang/XComponent.hpp>

#include <QString>
#include <QStringList>

namespace pikotel::uno {

namespace css = com::sun::star;
using css::uno::Reference;

rtl::OUString toOUString(const QString& text);
QString toQString(const rtl::OUString& text);
// The office's URL of a local file, and the local path of a file URL (empty for others).
rtl::OUString fileUrl(const QString& path);
QString pathOfUrl(const rtl::OUString& url);
// Whether two paths name the same file (symbolic links followed where they exist).
bool samePath(const QString& a, const QString& b);

css::beans::PropertyValue property(const char* name, const css::uno::Any& value);

// The office program the options name, else soffice or libreoffice on PATH; empty when none.
QString officeProgram(const CalcGatewayOptions& options);
// The pipe of the options, else one per user.
QString pipeName(const CalcGatewayOptions& options);
// The arguments an office is started with so that it accepts on the pipe.
QStringList officeArguments(const CalcGatewayOptions& options);

class OfficeConnection {
public:
    explicit OfficeConnection(CalcGatewayOptions options);
    // Closes the connection; the office runs on.
    ~OfficeConnection();
    OfficeConnection(const OfficeConnection&) = delete;
    OfficeConnection& operator=(const OfficeConnection&) = delete;

    const CalcGatewayOptions& options() const { return options_; }

    // The office's desktop over the live connection, else over a new one. When no office
    // accepts and launch is set, one is started and waited for up to the options' timeout.
    // Empty, with the reason in why, when no office was reached.
    Reference<css::frame::XDesktop2> desktop(bool launch, QString& why);
    // True when the connection still carries calls (one round trip).
    bool alive();
    // Drops the connection (after the office went away, or to start over).
    void close();

private:
    bool connectOnce();

    CalcGatewayOptions options_;
    Reference<css::lang::XComponent> bridge_;
    Reference<css::frame::XDesktop2> desktop_;
};

// The document whose file is path among the desktop's open documents; empty when none.
Reference<css::frame::XModel> findDocument(const Reference<css::frame::XDesktop2>& desktop,
                                           const QString& path);

} // namespace pikotel::uno
