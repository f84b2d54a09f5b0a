#pragma once

// The postal-code component as the program and its tools use it: opened with the program's
// key block on a dictionary folder, its lists (prefecture → city → town → block, all of them
// or those of one telephone number's exchange) and its forward search, with every text read
// out of cp932 into Unicode.
//
// A failing call of the component makes an operation return false; lastError() then holds
// the component's error number and description, which each caller reports in its own way.

#include "zipcomp/zipcomponent.h"

#include <QList>
#include <QString>

#include <array>

namespace pikotel {

// A prefecture, city or block: code text ("01".."47", the 5-digit municipality code, the
// 7-digit postal code), name and reading.
struct PostalEntry {
    QString code;
    QString name;
    QString reading;
};

// A town: its code (empty when the code depends on the block), its name and the note Japan
// Post gives it (e.g. "（１〜４丁目）"), each with its reading.
struct PostalTown {
    QString code;
    QString name;
    QString reading;
    QString note;
    QString noteReading;
};

// A forward-search hit: its postal code and the address parts from the prefecture on (an
// office's name last; missing parts are empty).
struct PostalRecord {
    QString code;
    std::array<QString, 5> parts;

    // The parts joined without separators.
    QString address() const;
};

// The dictionary folder of an installation: its "ZIP" folder.
QString postalFolder(const QString& programFolder);

class PostalComponent {
public:
    PostalComponent() = default;
    ~PostalComponent();
    PostalComponent(const PostalComponent&) = delete;
    PostalComponent& operator=(const PostalComponent&) = delete;

    bool open(const QString& folder);
    void close();
    bool isOpen() const { return open_; }

    // Each list in the component's order. A telephone number as exchange narrows it to the
    // areas of that number's exchange; without one it holds everything.
    bool prefectures(QList<PostalEntry>& out, const QString& exchange = {});
    bool cities(int prefectureCode, QList<PostalEntry>& out, const QString& exchange = {});
    bool towns(int cityCode, QList<PostalTown>& out, const QString& exchange = {});
    bool blocks(int cityCode, const QString& townName, QList<PostalEntry>& out,
                const QString& exchange = {});

    // Every record whose code begins with the digits (3, 5 or 7 of them), in code order.
    bool searchCode(const QString& digits, QList<PostalRecord>& out);
    // Every address record whose old code is the digits (3 or 5 of them), in code order.
    bool searchOldCode(const QString& digits, QList<PostalRecord>& out);

    const zipcomp::ZipError& lastError() const { return zip_.LastError(); }

private:
    using GetEntry = bool (zipcomp::ZipComponent::*)(int, QByteArray&, QByteArray&, QByteArray&);
    bool readEntries(int count, GetEntry get, QList<PostalEntry>& out);
    bool readRecords(int count, QList<PostalRecord>& out);

    zipcomp::ZipComponent zip_;
    bool open_ = false;
};

} // namespace pikotel
