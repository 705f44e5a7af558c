#include "helptopics.h"

#include <QFile>

namespace kv {

namespace {

constexpr char kResourceRoot[] = ":/kestrova-videos/";
constexpr char kHelpDir[] = "help/";
constexpr char kContentsPage[] = "index.html";

// Lines of an embedded text file, without blank lines and # comments.
QStringList contentLines(const QString &name)
{
    QStringList lines;
    QFile file(QLatin1String(kResourceRoot) + name);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return lines;
    const QStringList all = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString &raw : all) {
        const QString line = raw.trimmed();
        if (!line.isEmpty() && !line.startsWith(QLatin1Char('#')))
            lines << line;
    }
    return lines;
}

// "Keyword = page.html#anchor" per line.
QList<HelpTopic> readTopics()
{
    QList<HelpTopic> topics;
    for (const QString &line : contentLines(QLatin1String(kHelpDir) + QLatin1String("keywords.txt"))) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        HelpTopic topic;
        topic.keyword = line.left(eq).trimmed();
        const QString target = line.mid(eq + 1).trimmed();
        const qsizetype hash = target.indexOf(QLatin1Char('#'));
        topic.page = hash < 0 ? target : target.left(hash);
        topic.anchor = hash < 0 ? QString() : target.mid(hash + 1);
        if (!topic.keyword.isEmpty() && !topic.page.isEmpty())
            topics << topic;
    }
    return topics;
}

const HelpTopic *findTopic(const QString &keyword)
{
    const QString wanted = keyword.trimmed();
    if (wanted.isEmpty())
        return nullptr;
    for (const HelpTopic &topic : helpTopics()) {
        if (topic.keyword.compare(wanted, Qt::CaseInsensitive) == 0)
            return &topic;
    }
    return nullptr;
}

QUrl pageUrl(const QString &page, const QString &anchor = QString())
{
    QUrl url;
    url.setScheme(QStringLiteral("qrc"));
    url.setPath(QLatin1String(kResourceRoot).mid(1) + QLatin1String(kHelpDir) + page);
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    return url;
}

} // namespace

const QList<HelpTopic> &helpTopics()
{
    static const QList<HelpTopic> topics = readTopics();
    return topics;
}

QUrl helpContentsUrl() { return pageUrl(QLatin1String(kContentsPage)); }

QUrl helpTopicUrl(const QString &keyword)
{
    const HelpTopic *topic = findTopic(keyword);
    return topic ? pageUrl(topic->page, topic->anchor) : helpContentsUrl();
}

bool hasHelpTopic(const QString &keyword) { return findTopic(keyword) != nullptr; }

QString helpResourcePath(const QUrl &url) { return QLatin1Char(':') + url.path(); }

QStringList tips() { return contentLines(QStringLiteral("tips.txt")); }

QStringList applicationIconFiles()
{
    QStringList files;
    for (int size : {48, 64, 128})
        files << QLatin1String(kResourceRoot) + QStringLiteral("icons/kestrova-videos-%1.png").arg(size);
    return files;
}

} // namespace kv
