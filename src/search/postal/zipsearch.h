#pragma once

// The postal-code search without its screen: the component opened on the program's ZIP
// folder, the lists of the reverse search, the forward search, and the display texts the
// screen builds from them.
//
// Failures of the component inside a list or search operation are shown as an unexpected
// error (number and description) and reported as a failed result.

#include "search/postal/postalcomponent.h"

#include <QList>
#include <QString>

#include <optional>

namespace pikotel {

class Environment;

namespace zipsearch {

inline const QString kMsgOpenFailed = QStringLiteral("郵便番号辞書のオープンで異常がありました。");
inline const QString kMsgHalfWidthOnly =
    QStringLiteral("半角の数字またはハイフン(-)を入力してください。");
inline const QString kCaptionInputCheck = QStringLiteral("入力チェック");
inline const QString kMsgDigitCount =
    QStringLiteral("郵便番号を３桁、５桁または７桁で入力してください。");
inline const QString kMsgNoHit = QStringLiteral("該当する候補がありません");

// Texts of Japan Post's special entries.
inline const QString kNotListed = QStringLiteral("以下に掲載がない場合");
inline const QString kExceptBuildings = QStringLiteral("（次のビルを除く）");
inline const QString kOthers = QStringLiteral("（その他）");

} // namespace zipsearch

// A list item: its text and its number (a code).
struct ZipListEntry {
    QString text;
    int data = 0;
    bool operator==(const ZipListEntry&) const = default;
};

// A town as the component gives it: its name and the note beside it.
struct ZipTownEntry {
    QString first;
    QString second;
};

// One row of a forward search: the code as the grid shows it, the joined address, and for
// a town found by its old code, that code's digits.
struct ZipForwardHit {
    QString code;
    QString address;
    QString oldCode;
};

// The two code options of the environment: ZIPHIFON and ZIPMARK.
struct ZipCodeOptions {
    bool withoutHyphen = false;
    bool mark = false;
    static ZipCodeOptions from(const Environment& env);
};

// Display form of a code: 3 digits, "-", 4 digits. A text of fewer than 7 characters is
// left-padded with "0" first; a longer one is used as it is.
QString ZipHifon(const QString& code);

// The mark of a row found by its old code, as the old code was written: "［旧〒001］",
// "［旧〒939-03］".
QString oldCodeMark(const QString& oldCode);

// The grid's form of a record's code: the number with leading zeros as "ddd-dddd"; empty
// stays empty, and a text that is not a number is shown as it is.
QString gridCode(const QString& code);

enum class ZipInputCheck {
    Empty,           // nothing typed
    NotHalfWidth,    // a character other than "0".."9" and "-"
    WrongDigitCount, // not 3, 5 or 7 digits once the hyphens are gone
    Valid
};
ZipInputCheck checkZipInput(const QString& input);

// The hyphenated code with the user's options applied: hyphen removed, "〒" in front.
QString codeWithOptions(const QString& hyphenated, ZipCodeOptions options);

// The address cut before "（次のビルを除く）", else "（その他）", else "以下に掲載がない場合".
QString cutSpecialEnding(const QString& address);

// The selected-address box for a grid row: code with options, one space, the cut address.
QString selectedAddressText(const QString& gridCodeText, const QString& address,
                            ZipCodeOptions options);

// The reverse result box: the code with options, two spaces, prefecture + city + town item
// text (+ block name). A town ending "…村一円" or "…町一円" or reading "以下に掲載…" is left
// out, and so is a block reading "次のビル…" or "その他".
QString townResultText(int code, const QString& prefecture, const QString& city,
                       const QString& townItem, ZipCodeOptions options);
QString blockResultText(int code, const QString& prefecture, const QString& city,
                        const QString& townItem, const QString& block, ZipCodeOptions options);

// Towns in notation order under the Japanese collation, "以下に掲載がない場合" first. Items
// that compare equal keep their order.
QList<ZipListEntry> notationOrder(QList<ZipListEntry> towns);

// A code text read as a number; 0 when it is empty or not a number.
int codeNumber(const QString& code);

class PostalSearch {
public:
    PostalSearch();
    ~PostalSearch();
    PostalSearch(const PostalSearch&) = delete;
    PostalSearch& operator=(const PostalSearch&) = delete;

    // Key block, the folder programFolder/ZIP, open. False when the dictionary did not open.
    bool OpenPostalDictionary(const QString& programFolder);
    void CloseDictionary();
    bool isOpen() const { return postal_.isOpen(); }

    // Each fills out in the component's order; false after an error (shown).
    bool ListPrefectures(QList<ZipListEntry>& out);
    bool ListCities(int prefectureCode, QList<ZipListEntry>& out);
    // Towns as first text + " " + second text, in notation order when asked; the town table
    // is rebuilt from the component's order either way.
    bool ListTowns(int cityCode, bool notationSort, QList<ZipListEntry>& out);
    bool ListBlocks(int cityCode, const QString& townName, QList<ZipListEntry>& out);

    // Forward search on the digits of text: the records whose code begins with them, then for
    // 3 or 5 digits the address records whose old code they are and whose code does not
    // begin with them. The hit count (0 for none), -1 after an error.
    int SearchByCode(const QString& text, QList<ZipForwardHit>& out);

    const QList<ZipTownEntry>& townTable() const { return towns_; }
    // The first text of the first town-table row whose first text equals the given one.
    std::optional<QString> townFirstText(const QString& trimmedItemText) const;

private:
    bool failed();

    PostalComponent postal_;
    QList<ZipTownEntry> towns_;
};

} // namespace pikotel
