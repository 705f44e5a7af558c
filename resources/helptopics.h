#pragma once
// The help pages, tips and icon delivered with the program. Windows ask for help by
// keyword; each keyword names a page and, optionally, an anchor on it.
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace kv {

struct HelpTopic {
    QString keyword;
    QString page;   // file name of the page, "search.html"
    QString anchor; // empty for the top of the page
};

// Every keyword of the help, in the order of the keyword list.
const QList<HelpTopic> &helpTopics();
// The contents page.
QUrl helpContentsUrl();
// The topic of a keyword (compared without regard to case and surrounding blanks);
// the contents page when the keyword is empty or unknown.
QUrl helpTopicUrl(const QString &keyword);
bool hasHelpTopic(const QString &keyword);
// The embedded file behind a help URL (":/..." path), for reading a page.
QString helpResourcePath(const QUrl &url);

// The tips of the day, in their delivered order.
QStringList tips();

// The application icon as embedded images of 48, 64 and 128 pixels (the scalable
// one is installed for desktops; Qt needs no SVG support to show these).
QStringList applicationIconFiles();

} // namespace kv
