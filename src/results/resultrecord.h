#pragma once

// One directory hit as the 104-style and industry searches hand it to the results screen,
// and the set the last of those searches left.

#include <QList>
#include <QString>

namespace pikotel {

struct ResultRecord {
    qint32 recordNo = 0; // index in the engine's result; not shown
    QString TelNo;
    QString name;
    QString Yubin;
    QString L1;      // prefecture
    QString L2;      // city
    QString Adress1; // town area
    QString Adress2; // block
};

using ResultSet = QList<ResultRecord>;

} // namespace pikotel
