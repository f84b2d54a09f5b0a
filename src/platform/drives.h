#pragma once

// Drives as the program knows them, on Linux: a "drive root" is a mount point with a
// trailing "/". A CD-ROM is a mounted optical medium (iso9660 or udf, or a /dev/sr*
// device); a fixed disk is a non-removable block device; removable is what sysfs marks so.

#include <QList>
#include <QString>

namespace pikotel {

// The drive types of the platform's drive query.
enum DriveType : int { DriveUnknown = 0, DriveRemovable = 2, DriveFixed = 3, DriveCdrom = 5 };

struct MountEntry {
    QString device;
    QString root; // mount point with a trailing "/"
    QString fsType;
};

class DriveTable {
public:
    // Reads the mount table (the system's, or a file in the same format for tests) and
    // decides removability through sysfs below sysRoot.
    explicit DriveTable(QString mountsFile = QStringLiteral("/proc/self/mounts"),
                        QString sysRoot = QStringLiteral("/sys"));

    QList<MountEntry> mounts() const;
    // The mounts a dictionary medium could be set in: not kernel tables, not memory.
    QList<MountEntry> mediaMounts() const;
    // The type of the mount that holds the path (the longest mount point that prefixes it).
    int driveType(const QString& path) const;
    // The first CD-ROM's root; "/media/cdrom/" when there is none.
    QString firstCdromRoot() const;

private:
    bool isRemovableDevice(const QString& device) const;
    QString mountsFile_;
    QString sysRoot_;
};

} // namespace pikotel
