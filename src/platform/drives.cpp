#include "platform/drives.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace pikotel {

namespace {

// /proc/mounts escapes blanks and a few other characters as \ooo.
QString unescapeMountField(const QByteArray& field) {
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field.at(i) == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out.append(static_cast<char>(code));
                i += 3;
                continue;
            }
        }
        out.append(field.at(i));
    }
    return QString::fromUtf8(out);
}

bool isOpticalFs(const QString& fsType) {
    return fsType == QLatin1String("iso9660") || fsType == QLatin1String("udf");
}

bool isOpticalDevice(const QString& device) {
    static const QRegularExpression sr(QStringLiteral("^/dev/(sr|scd)\\d+$"));
    return sr.match(device).hasMatch();
}

// Kernel and memory file systems hold no user files worth a drive type.
bool isPseudoFs(const QString& fsType) {
    static const QStringList pseudo = {
        QStringLiteral("proc"),    QStringLiteral("sysfs"),       QStringLiteral("devtmpfs"),
        QStringLiteral("devpts"),  QStringLiteral("cgroup"),      QStringLiteral("cgroup2"),
        QStringLiteral("mqueue"),  QStringLiteral("securityfs"),  QStringLiteral("debugfs"),
        QStringLiteral("tracefs"), QStringLiteral("pstore"),      QStringLiteral("bpf"),
        QStringLiteral("autofs"),  QStringLiteral("binfmt_misc"), QStringLiteral("hugetlbfs"),
        QStringLiteral("fusectl"), QStringLiteral("configfs")};
    return pseudo.contains(fsType);
}

bool isMemoryFs(const QString& fsType) {
    static const QStringList memory = {QStringLiteral("tmpfs"), QStringLiteral("ramfs"),
                                       QStringLiteral("overlay"), QStringLiteral("nsfs")};
    return memory.contains(fsType);
}

} // namespace

DriveTable::DriveTable(QString mountsFile, QString sysRoot)
    : mountsFile_(std::move(mountsFile)), sysRoot_(std::move(sysRoot)) {}

QList<MountEntry> DriveTable::mounts() const {
    QList<MountEntry> out;
    QFile f(mountsFile_);
    if (!f.open(QIODevice::ReadOnly))
        return out;
    const QList<QByteArray> lines = f.readAll().split('\n');
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 3)
            continue;
        MountEntry e;
        e.device = unescapeMountField(fields.at(0));
        e.root = unescapeMountField(fields.at(1));
        if (!e.root.endsWith(u'/'))
            e.root += u'/';
        e.fsType = QString::fromLatin1(fields.at(2));
        out.append(e);
    }
    return out;
}

QList<MountEntry> DriveTable::mediaMounts() const {
    QList<MountEntry> out = mounts();
    out.removeIf([](const MountEntry& e) { return isPseudoFs(e.fsType) || isMemoryFs(e.fsType); });
    return out;
}

bool DriveTable::isRemovableDevice(const QString& device) const {
    if (!device.startsWith(QLatin1String("/dev/")))
        return false;
    QString name = QFileInfo(device).fileName();
    // A partition (sdb1) answers through its disk (sdb).
    for (int i = 0; i < 2; ++i) {
        QFile f(sysRoot_ + QStringLiteral("/block/") + name + QStringLiteral("/removable"));
        if (f.open(QIODevice::ReadOnly))
            return f.readAll().trimmed() == "1";
        static const QRegularExpression partition(QStringLiteral("^(.*?[a-z])(p?\\d+)$"));
        const auto m = partition.match(name);
        if (!m.hasMatch())
            break;
        name = m.captured(1);
        if (name.endsWith(u'p') && name.startsWith(QLatin1String("nvme")))
            name.chop(1);
    }
    return false;
}

int DriveTable::driveType(const QString& path) const {
    if (path.isEmpty())
        return DriveUnknown;
    QString probe = path;
    if (!probe.endsWith(u'/'))
        probe += u'/';
    const MountEntry* best = nullptr;
    const QList<MountEntry> all = mounts();
    for (const MountEntry& e : all) {
        if (probe.startsWith(e.root) && (best == nullptr || e.root.size() >= best->root.size()))
            best = &e;
    }
    if (best == nullptr)
        return DriveUnknown;
    if (isOpticalFs(best->fsType) || isOpticalDevice(best->device))
        return DriveCdrom;
    if (isPseudoFs(best->fsType))
        return DriveUnknown;
    return isRemovableDevice(best->device) ? DriveRemovable : DriveFixed;
}

QString DriveTable::firstCdromRoot() const {
    const QList<MountEntry> all = mounts();
    for (const MountEntry& e : all) {
        if (isOpticalFs(e.fsType) || isOpticalDevice(e.device))
            return e.root;
    }
    return QStringLiteral("/media/cdrom/");
}

} // namespace pikotel
