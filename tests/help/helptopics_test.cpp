// Help keywords, the pages behind them and the links between the pages.
#include "resources/helptopics.h"
#include "testenv.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace {

QString pageText(const QString &page)
{
    QFile file(kv::helpResourcePath(kv::helpContentsUrl()).section(QLatin1Char('/'), 0, -2) + QLatin1Char('/') + page);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QStringList helpPages()
{
    const QString dir = kv::helpResourcePath(kv::helpContentsUrl()).section(QLatin1Char('/'), 0, -2);
    return QDir(dir).entryList({QStringLiteral("*.html")}, QDir::Files);
}

bool pageHasAnchor(const QString &page, const QString &anchor)
{
    const QString text = pageText(page);
    return text.contains(QStringLiteral("name=\"%1\"").arg(anchor)) ||
           text.contains(QStringLiteral("id=\"%1\"").arg(anchor));
}

// Why the place a keyword leads to is wrong, or empty when it is right.
std::string brokenTarget(const QString &page, const QString &anchor)
{
    if (pageText(page).isEmpty())
        return "page " + page.toStdString() + " is missing";
    if (!anchor.isEmpty() && !pageHasAnchor(page, anchor))
        return "page " + page.toStdString() + " has no anchor " + anchor.toStdString();
    return {};
}

// The keywords that the program's windows ask the help for.
const char *const kWindowKeywords[] = {
    "Main Window",
    "Sort Order",
    "Input Window",
    "Search Window",
    "Import Window",
    "Export Window",
    "Backup and Restore",
    "Report Window",
    "User Defined Reports",
    "Viewer Configuration Title",
    "Viewer Configuration Look",
    "Viewer Configuration Show",
    "Viewer Configuration Widths",
    "Viewer Configuration Order",
    "Viewer Configuration Names",
};

class WindowKeyword : public ::testing::TestWithParam<const char *> {};

TEST_P(WindowKeyword, OpensATopicOfItsOwn)
{
    const QString keyword = QString::fromLatin1(GetParam());
    ASSERT_TRUE(kv::hasHelpTopic(keyword));
    const QUrl url = kv::helpTopicUrl(keyword);
    EXPECT_NE(url, kv::helpContentsUrl());
    const QString page = url.path().section(QLatin1Char('/'), -1);
    EXPECT_EQ(brokenTarget(page, url.fragment()), "");
}

INSTANTIATE_TEST_SUITE_P(Help, WindowKeyword, ::testing::ValuesIn(kWindowKeywords),
                         [](const ::testing::TestParamInfo<const char *> &info) {
                             return QByteArray(info.param).replace(' ', '_').toStdString();
                         });

TEST(HelpTopics, TheViewerConfigurationPagesEachHaveTheirOwnPlace)
{
    QSet<QUrl> places;
    for (const char *keyword : kWindowKeywords) {
        if (QByteArray(keyword).startsWith("Viewer Configuration "))
            places.insert(kv::helpTopicUrl(QString::fromLatin1(keyword)));
    }
    EXPECT_EQ(places.size(), 6);
}

TEST(HelpTopics, EveryKeywordOfTheIndexLeadsToAnExistingPlace)
{
    const QList<kv::HelpTopic> &topics = kv::helpTopics();
    ASSERT_GE(topics.size(), qsizetype(std::size(kWindowKeywords)));
    QSet<QString> seen;
    for (const kv::HelpTopic &topic : topics) {
        SCOPED_TRACE(topic.keyword.toStdString());
        EXPECT_EQ(brokenTarget(topic.page, topic.anchor), "");
        EXPECT_FALSE(seen.contains(topic.keyword.toLower())) << "keyword listed twice";
        seen.insert(topic.keyword.toLower());
    }
}

TEST(HelpTopics, EveryLinkBetweenThePagesWorks)
{
    const QStringList pages = helpPages();
    ASSERT_GE(pages.size(), 10);
    static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
    int links = 0;
    for (const QString &page : pages) {
        auto it = href.globalMatch(pageText(page));
        while (it.hasNext()) {
            const QString target = it.next().captured(1);
            if (target.endsWith(QLatin1String(".css")) || target.contains(QLatin1Char(':')))
                continue;
            const QString targetPage = target.startsWith(QLatin1Char('#')) ? page : target.section(QLatin1Char('#'), 0, 0);
            const QString anchor = target.section(QLatin1Char('#'), 1);
            SCOPED_TRACE(page.toStdString() + " -> " + target.toStdString());
            EXPECT_EQ(brokenTarget(targetPage, anchor), "");
            ++links;
        }
    }
    EXPECT_GT(links, 50);
}

TEST(HelpTopics, EveryPageIsReachableFromTheContentsOrTheIndex)
{
    QSet<QString> reachable{QStringLiteral("index.html")};
    for (const kv::HelpTopic &topic : kv::helpTopics())
        reachable.insert(topic.page);
    static const QRegularExpression href(QStringLiteral("href=\"([^\"#:]+\\.html)"));
    auto it = href.globalMatch(pageText(QStringLiteral("index.html")));
    while (it.hasNext())
        reachable.insert(it.next().captured(1));
    for (const QString &page : helpPages())
        EXPECT_TRUE(reachable.contains(page)) << page.toStdString();
}

TEST(HelpTopics, KeywordsAreFoundWithoutRegardToCaseOrBlanks)
{
    EXPECT_EQ(kv::helpTopicUrl(QStringLiteral("  search window ")), kv::helpTopicUrl(QStringLiteral("Search Window")));
    EXPECT_EQ(kv::helpTopicUrl(QStringLiteral("VIEWER CONFIGURATION NAMES")).fragment(), QStringLiteral("names"));
}

TEST(HelpTopics, AnEmptyOrUnknownKeywordOpensTheContents)
{
    for (const QString &keyword : {QString(), QStringLiteral("   "), QStringLiteral("No Such Topic")}) {
        EXPECT_FALSE(kv::hasHelpTopic(keyword));
        EXPECT_EQ(kv::helpTopicUrl(keyword), kv::helpContentsUrl());
    }
    EXPECT_TRUE(pageText(QStringLiteral("index.html")).contains(QLatin1String("Kestrova Videos 97 Help")));
}

TEST(Tips, ADozenOrMoreDistinctTips)
{
    const QStringList tips = kv::tips();
    EXPECT_GE(tips.size(), 12);
    EXPECT_EQ(QSet<QString>(tips.begin(), tips.end()).size(), tips.size());
    for (const QString &tip : tips) {
        EXPECT_GT(tip.size(), 20) << tip.toStdString();
        EXPECT_FALSE(tip.startsWith(QLatin1Char('#')));
    }
}

} // namespace
