#include "results/textexport.h"

#include "app/sysinfo.h"
#include "common/cp932.h"
#include "common/texthelpers.h"
#include "core/context.h"
#include "platform/messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pikotel {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Closes the descriptor on every path out.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now; false when the system reports a late write error.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

AppendStatus openFailure(const QString& path, int error) {
    switch (error) {
    case ENOENT:
        // A dangling link also says ENOENT; only a missing folder is offered to be made.
        return QFileInfo(ParentFolder(path)).isDir() ? AppendStatus::Failed
                                                     : AppendStatus::NoFolder;
    case ENOTDIR:
    case EISDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
        return AppendStatus::BadName;
    case ENOMEDIUM:
    case ENXIO:
    case ENODEV:
    case EIO:
        return AppendStatus::NotReady;
    default:
        return AppendStatus::Failed;
    }
}

QString notWritten(const QString& fileName) {
    return QStringLiteral("ファイル名：") + fileName + kCrLf +
           QStringLiteral("に出力出来ませんでした。");
}

} // namespace

QByteArray OutputLine(const QStringList& values, int csvType) {
    const QChar separator = csvType == 1 ? QChar(u'\t') : QChar(u',');
    QString line;
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            line.append(separator);
        line.append(u'"').append(values.at(i)).append(u'"');
    }
    line.append(kCrLf);
    return toCp932(line);
}

QByteArray OutputLines(const QList<QStringList>& rows, int csvType) {
    QByteArray out;
    for (const QStringList& row : rows)
        out.append(OutputLine(row, csvType));
    return out;
}

AppendOutcome appendToFile(const QString& path, const QByteArray& bytes) {
    const QByteArray native = QFile::encodeName(path);
    if (path.isEmpty() || path.endsWith(u'/') || native.contains('\0'))
        return {AppendStatus::BadName, EINVAL};
    // Non-blocking so that a pipe without a reader cannot hang the screen.
    Descriptor fd(::open(native.constData(),
                         O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666));
    if (fd.get() < 0) {
        const int error = errno;
        return {openFailure(path, error), error};
    }
    struct stat before {};
    if (::fstat(fd.get(), &before) != 0)
        return {AppendStatus::Failed, errno};
    if (!S_ISREG(before.st_mode))
        return {AppendStatus::BadName, EINVAL};

    qsizetype done = 0;
    int error = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd.get(), bytes.constData() + done,
                                  static_cast<std::size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? errno : EIO;
            break;
        }
        done += n;
    }
    if (error != 0) {
        // What got in is taken out again; the earlier contents were never touched.
        if (done > 0 && ::ftruncate(fd.get(), before.st_size) != 0)
            error = errno;
        return {AppendStatus::Failed, error};
    }
    // The lines must have reached the file that is still under this name.
    struct stat now {};
    struct stat named {};
    if (::fstat(fd.get(), &now) != 0 || ::stat(native.constData(), &named) != 0 ||
        now.st_dev != named.st_dev || now.st_ino != named.st_ino)
        return {AppendStatus::Failed, ENOENT};
    if (!fd.close())
        return {AppendStatus::Failed, errno};
    return {AppendStatus::Written, 0};
}

bool WriteTextFile(const QString& fileName, const QByteArray& lines, OutputCaller caller) {
    AppendOutcome outcome = appendToFile(fileName, lines);
    if (outcome.status == AppendStatus::NoFolder) {
        const int answer = MyMsgBoxShow(QStringLiteral("指定されたフォルダが存在しません。") +
                                            kCrLf + QStringLiteral("作成しますか？"),
                                        MsgYesNo);
        if (answer != MsgResultYes) {
            MyMsgBoxShow(QStringLiteral("出力できませんでした。"), MsgOk);
            return false;
        }
        // One level only: a deeper missing path is no folder the user chose.
        if (QDir().mkdir(ParentFolder(fileName)))
            outcome = appendToFile(fileName, lines);
        else
            outcome.status = AppendStatus::Failed;
    }
    switch (outcome.status) {
    case AppendStatus::Written:
        MyMsgBoxShow(caller == OutputCaller::Phone ? QStringLiteral("ファイル名：") + fileName +
                                                         kCrLf + QStringLiteral("に出力しました。")
                                                   : fileName + QStringLiteral("に出力しました。"),
                     MsgOk);
        return true;
    case AppendStatus::BadName:
        MyMsgBoxShow(QStringLiteral("ファイル名の設定に誤りが有ります。"), MsgOk);
        return false;
    case AppendStatus::NotReady:
        MyMsgBoxShow(QStringLiteral("ディスクが準備されていません。"), MsgOk);
        return false;
    case AppendStatus::NoFolder:
    case AppendStatus::Failed:
        break;
    }
    MyMsgBoxShow(notWritten(fileName), MsgOk);
    return false;
}

QString outputStartFolder(AppContext& ctx, bool withOutFileFolder) {
    const Environment& env = ctx.env();
    if (!env.lastSaveDir.isEmpty())
        return env.lastSaveDir;
    const QString outFile = env.text(EnvKey::OutFile);
    if (withOutFileFolder && !outFile.isEmpty())
        return ParentFolder(outFile);
    SystemVersion version;
    const int kind = GetOsKind(version);
    QString documents;
    if (kind != -1 && kind != 0 && !GetPersonalFolder(documents))
        return documents;
    return ctx.programFolder();
}

QString GetTextFileName(AppContext& ctx, QWidget* parent) {
    Environment& env = ctx.env();
    const QString outFile = env.text(EnvKey::OutFile);
    if (!outFile.isEmpty()) {
        env.lastSaveDir = ParentFolder(outFile);
        env.lastSaveFile = outFile;
        return outFile;
    }
    FileDialogRequest request;
    request.parent = parent;
    request.folder = outputStartFolder(ctx, false);
    request.filter = kCsvFilter + QStringLiteral(";;") + kTxtFilter;
    request.selectedFilter = kCsvFilter;
    const QString chosen = ctx.fileDialogs().saveFileName(request);
    if (chosen.isEmpty())
        return QString();
    env.lastSaveDir = ParentFolder(chosen);
    env.lastSaveFile = FileNameOnly(chosen);
    return chosen;
}

} // namespace pikotel
