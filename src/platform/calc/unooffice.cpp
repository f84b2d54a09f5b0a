#include "platform/calc/unooffice.h"

#include <com/sun/star/bridge/BridgeFactory.hpp>
#include <com/sun/star/bridge/XBridge.hpp>
#include <com/sun/star/connection/Connector.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <rtl/bootstrap.hxx>

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>

#include <langinfo.h>
#include <unistd.h>

namespace pikotel::uno {

namespace {

// The process's own UNO runtime, set up once from the office the module was built against
// (its type libraries describe every call that crosses the bridge).
Reference<css::uno::XComponentContext> localContext() {
    static const auto* context = [] {
        const QString program = QStringLiteral(PIKOTEL_LIBREOFFICE_PROGRAM);
        rtl::Bootstrap::set("URE_BOOTSTRAP", fileUrl(program + QStringLiteral("/fundamentalrc")));
        // Reachable for the whole run: the bridges' threads hold on to it.
        return new Reference<css::uno::XComponentContext>(
            cppu::defaultBootstrap_InitialComponentContext(
                fileUrl(program + QStringLiteral("/unorc"))));
    }();
    return *context;
}

// Qt names files in UTF-8 whatever the locale says; an office started in a locale that is not
// UTF-8 (or not installed, which falls back to ASCII) could not open a file named in Japanese.
QProcessEnvironment officeEnvironment() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (QByteArray(nl_langinfo(CODESET)) != "UTF-8") {
        if (environment.contains(QStringLiteral("LC_ALL"))) {
            environment.insert(QStringLiteral("LANG"), environment.value(QStringLiteral("LC_ALL")));
            environment.remove(QStringLiteral("LC_ALL"));
        }
        environment.insert(QStringLiteral("LC_CTYPE"), QStringLiteral("C.UTF-8"));
    }
    return environment;
}

} // namespace

rtl::OUString toOUString(const QString& text) {
    return rtl::OUString(reinterpret_cast<const sal_Unicode*>(text.utf16()),
                         static_cast<sal_Int32>(text.size()));
}

QString toQString(const rtl::OUString& text) {
    return QString(reinterpret_cast<const QChar*>(text.getStr()), text.getLength());
}

rtl::OUString fileUrl(const QString& path) {
    return toOUString(
        QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded));
}

QString pathOfUrl(const rtl::OUString& url) {
    const QUrl parsed = QUrl::fromEncoded(toQString(url).toUtf8(), QUrl::StrictMode);
    return parsed.isLocalFile() ? parsed.toLocalFile() : QString();
}

bool samePath(const QString& a, const QString& b) {
    const auto canonical = [](const QString& path) {
        const QFileInfo info(path);
        const QString real = info.canonicalFilePath();
        return real.isEmpty() ? info.absoluteFilePath() : real;
    };
    return !a.isEmpty() && !b.isEmpty() && canonical(a) == canonical(b);
}

css::beans::PropertyValue property(const char* name, const css::uno::Any& value) {
    return css::beans::PropertyValue(rtl::OUString::createFromAscii(name), 0, value,
                                     css::beans::PropertyState_DIRECT_VALUE);
}

QString officeProgram(const CalcGatewayOptions& options) {
    if (!options.officeProgram.isEmpty()) {
        const QFileInfo given(options.officeProgram);
        return given.isFile() && given.isExecutable() ? given.absoluteFilePath() : QString();
    }
    for (const char* name : {"soffice", "libreoffice"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

QString pipeName(const CalcGatewayOptions& options) {
    if (!options.pipeName.isEmpty())
        return options.pipeName;
    return QStringLiteral("pikotel-calc-%1").arg(getuid());
}

QStringList officeArguments(const CalcGatewayOptions& options) {
    QStringList arguments{QStringLiteral("--accept=pipe,name=%1;urp;").arg(pipeName(options)),
                          QStringLiteral("--norestore"), QStringLiteral("--nologo"),
                          QStringLiteral("--nodefault")};
    if (options.headless)
        arguments << QStringLiteral("--headless");
    return arguments + options.extraArguments;
}

OfficeConnection::OfficeConnection(CalcGatewayOptions options) : options_(std::move(options)) {}

OfficeConnection::~OfficeConnection() {
    close();
}

Reference<css::frame::XDesktop2> OfficeConnection::desktop(bool launch, QString& why) {
    if (desktop_.is() && alive())
        return desktop_;
    close();
    try {
        if (connectOnce())
            return desktop_;
        if (!launch) {
            why = QStringLiteral("LibreOffice が起動していません。");
            return {};
        }
        const QString program = officeProgram(options_);
        if (program.isEmpty()) {
            why = QStringLiteral("LibreOffice（soffice）が見つかりません。");
            return {};
        }
        // An office already running for this user takes the accept request over and this
        // process ends at once; either way the pipe appears.
        QProcess office;
        office.setProgram(program);
        office.setArguments(officeArguments(options_));
        office.setProcessEnvironment(officeEnvironment());
        if (!office.startDetached()) {
            why = QStringLiteral("LibreOffice（%1）を起動できません。").arg(program);
            return {};
        }
        const QDeadlineTimer deadline(options_.connectTimeoutMs);
        while (!connectOnce()) {
            if (deadline.hasExpired()) {
                why = QStringLiteral("LibreOffice が %1 秒以内に応答しませんでした。")
                          .arg(options_.connectTimeoutMs / 1000);
                return {};
            }
            QThread::msleep(100);
        }
        return desktop_;
    } catch (const css::uno::Exception& e) {
        why = toQString(e.Message);
    } catch (const cppu::BootstrapException& e) {
        why = toQString(e.getMessage());
    }
    close();
    return {};
}

bool OfficeConnection::connectOnce() {
    const Reference<css::uno::XComponentContext> local = localContext();
    Reference<css::connection::XConnection> connection;
    try {
        connection = css::connection::Connector::create(local)->connect(
            toOUString(QStringLiteral("pipe,name=") + pipeName(options_)));
    } catch (const css::connection::NoConnectException&) {
        return false;
    }
    const Reference<css::bridge::XBridge> bridge =
        css::bridge::BridgeFactory::create(local)->createBridge(rtl::OUString(), "urp", connection,
                                                                nullptr);
    bridge_.set(bridge, css::uno::UNO_QUERY_THROW);
    try {
        const Reference<css::uno::XComponentContext> remote(
            bridge->getInstance("StarOffice.ComponentContext"), css::uno::UNO_QUERY_THROW);
        desktop_ = css::frame::Desktop::create(remote);
        return true;
    } catch (const css::uno::RuntimeException&) {
        // An office still starting accepts before it serves; the next try gets it.
        close();
        return false;
    }
}

bool OfficeConnection::alive() {
    if (!desktop_.is())
        return false;
    try {
        desktop_->getCurrentFrame();
        return true;
    } catch (const css::uno::Exception&) {
        return false;
    }
}

void OfficeConnection::close() {
    desktop_.clear();
    if (bridge_.is()) {
        try {
            bridge_->dispose();
        } catch (const css::uno::Exception&) {
            // Already gone with the office.
        }
        bridge_.clear();
    }
}

Reference<css::frame::XModel> findDocument(const Reference<css::frame::XDesktop2>& desktop,
                                           const QString& path) {
    const Reference<css::container::XEnumeration> documents =
        desktop->getComponents()->createEnumeration();
    while (documents->hasMoreElements()) {
        const Reference<css::frame::XModel> model(documents->nextElement(), css::uno::UNO_QUERY);
        if (model.is() && samePath(pathOfUrl(model->getURL()), path))
            return model;
    }
    return {};
}

} // namespace pikotel::uno
