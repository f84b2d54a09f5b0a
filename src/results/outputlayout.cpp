#include "results/outputlayout.h"

#include "settings/regstore.h"

namespace pikotel {

const QStringList& outputItems() {
    static const QStringList items{QStringLiteral("電話番号"), QStringLiteral("名称"),
                                   QStringLiteral("郵便番号"), QStringLiteral("都道府県"),
                                   QStringLiteral("市区町村"), QStringLiteral("町域名"),
                                   QStringLiteral("区域名")};
    return items;
}

bool layoutEmpty(const OutFileInfo& layout) {
    return CountUsedColumns(layout) == 0;
}

OutFileInfo defaultLayout() {
    const QStringList& items = outputItems();
    OutFileInfo layout;
    layout[0][0] = items[0];
    layout[1][0] = items[1];
    layout[2][0] = items[2];
    layout[3][0] = items[3];
    layout[3][1] = items[4];
    layout[4][0] = items[5];
    layout[4][1] = items[6];
    return layout;
}

int CountUsedColumns(const OutFileInfo& layout) {
    for (int i = kLayoutColumns - 1; i >= 0; --i) {
        for (const QString& item : layout[static_cast<std::size_t>(i)]) {
            if (!item.isEmpty())
                return i + 1;
        }
    }
    return 0;
}

QString layoutValueName(int column, int slot) {
    return QStringLiteral("ATEMEISAI(%1,%2)").arg(column).arg(slot);
}

OutFileInfo LoadOutputLayout(SettingsStore& store) {
    OutFileInfo layout;
    RegHandle key;
    if (store.RegKeyOpen(kAteKey, 1, key) != 0)
        return layout;
    for (int i = 0; i < kLayoutColumns; ++i) {
        for (int j = 0; j < kLayoutSlots; ++j) {
            QString item;
            if (store.RegValueGet(key, layoutValueName(i, j), item) == 0)
                layout[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = item;
        }
    }
    store.RegKeyClose(key);
    return layout;
}

bool SaveOutputLayout(SettingsStore& store, const OutFileInfo& layout) {
    RegHandle key;
    if (store.RegKeyCreate(kAteKey, 1, key) != 0)
        return false;
    const QStringList present = store.RegValueNames(key);
    bool ok = true;
    for (int i = 0; i < kLayoutColumns; ++i) {
        for (int j = 0; j < kLayoutSlots; ++j) {
            const QString name = layoutValueName(i, j);
            const QString& item = layout[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
            if (!item.isEmpty())
                ok &= store.RegValuePut(key, name, item) == 0;
            else if (present.contains(name))
                ok &= store.RegValueDelete(key, name) == 0;
        }
    }
    ok &= store.RegKeyFlushClose(key) == 0;
    return ok;
}

bool addressOrderAccepted(const OutFileInfo& layout) {
    const QStringList& items = outputItems();
    QString order;
    for (const auto& column : layout) {
        for (const QString& item : column) {
            const qsizetype at = items.indexOf(item);
            if (at >= 3)
                order.append(QString::number(at - 2));
        }
    }
    return order.isEmpty() || order == QLatin1String("1234") || order == QLatin1String("234");
}

} // namespace pikotel
