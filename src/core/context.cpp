#include "core/context.h"

#include "platform/paths.h"

#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QtGlobal>

namespace pikotel {

namespace {

// Starting programs needs no display; the desktop's opener is reached through xdg-open.
class XdgLauncher final : public ProcessLauncher {
public:
    // xdg-open starts even when nothing can show the file, and says so only in its exit
    // status, long after: a local file whose type has no program registered is refused here,
    // so that the caller can say so or show it itself.
    bool openWithDesktop(const QString& fileOrUrl) override {
        if (QFileInfo::exists(fileOrUrl) && !hasRegisteredProgram(fileOrUrl))
            return false;
        return QProcess::startDetached(QStringLiteral("xdg-open"), {fileOrUrl});
    }
    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString& workingDir) override {
        return QProcess::startDetached(program, arguments, workingDir);
    }

private:
    static bool hasRegisteredProgram(const QString& file) {
        const QString type = QMimeDatabase().mimeTypeForFile(file).name();
        // The browser named by BROWSER is xdg-open's own choice for web pages.
        if (type == QLatin1String("text/html") && !qEnvironmentVariableIsEmpty("BROWSER"))
            return true;
        QProcess query;
        query.start(QStringLiteral("xdg-mime"),
                    {QStringLiteral("query"), QStringLiteral("default"), type});
        // Without an answer, xdg-open is left to decide.
        if (!query.waitForFinished(3000) || query.exitStatus() != QProcess::NormalExit)
            return true;
        return !query.readAllStandardOutput().trimmed().isEmpty();
    }
};
} // namespace

AppContext::AppContext(const ContextOptions& options)
    : programFolder_(options.programFolder), store_(options.storePaths), history_(store_),
      drives_(options.mountsFile, options.sysRoot),
      directory_(env_, drives_, clock_, options.programFolder),
      launcher_(std::make_unique<XdgLauncher>()) {
    clock_.target = std::make_unique<SystemClock>();
}

AppContext::~AppContext() = default;

void AppContext::missingService(const char* name) {
    qFatal("%s: not installed in the run's context", name);
}

ContextOptions AppContext::installedOptions() {
    ContextOptions o;
    o.programFolder = installedProgramFolder();
    o.storePaths.machine = machineStorePath(o.programFolder);
    o.storePaths.user = userStorePath();
    return o;
}

void AppContext::setLauncher(std::unique_ptr<ProcessLauncher> launcher) {
    launcher_ = std::move(launcher);
}

void AppContext::setClock(std::unique_ptr<Clock> clock) {
    clock_.target = std::move(clock);
}

} // namespace pikotel
