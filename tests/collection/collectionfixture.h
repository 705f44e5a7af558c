#pragma once
// A small catalogue whose figures are worked out by hand in the tests.
#include "store/storetest.h"

#include <QDate>

namespace kvtest {

struct Video {
    QString title, category, format, content, rating, personal;
    QString year, runTime, listPrice, purchPrice;
    QString checkOut, checkName;
    int daysOut = -1; // CheckDate this many days before today; -1 blank
    QString mediaNum;
    bool deleted = false;
};

inline void addVideos(kv::Table &t, const std::vector<Video> &videos)
{
    const std::pair<const char *, QString Video::*> texts[] = {
        {"Title", &Video::title},       {"Category", &Video::category}, {"Format", &Video::format},
        {"Content", &Video::content},   {"Rating", &Video::rating},     {"PersonalRa", &Video::personal},
        {"Year", &Video::year},         {"RunTime", &Video::runTime},   {"ListPrice", &Video::listPrice},
        {"PurchPrice", &Video::purchPrice}, {"CheckOut", &Video::checkOut}, {"CheckName", &Video::checkName},
        {"MediaNum", &Video::mediaNum}};
    for (const Video &v : videos) {
        t.append();
        for (const auto &[name, member] : texts)
            if (!(v.*member).isEmpty())
                t.setFieldText(QString::fromLatin1(name), v.*member);
        if (v.daysOut >= 0)
            t.setFieldDate(t.fieldIndex(QStringLiteral("CheckDate")), QDate::currentDate().addDays(-v.daysOut));
        t.post();
        if (v.deleted)
            t.deleteRecord();
    }
}

} // namespace kvtest
