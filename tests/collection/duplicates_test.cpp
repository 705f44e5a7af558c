// Records entered twice: titles folded for case, accents, punctuation and a leading
// article; the year where both give one; media numbers used twice.
#include "collection/duplicates.h"
#include "collectionfixture.h"

#include <gtest/gtest.h>

namespace {

using kvtest::Video;

TEST(TitleKey, FoldsCaseAccentsPunctuationAndALeadingArticle)
{
    const std::pair<const char *, const char *> cases[] = {
        {"The Big Sleep", "BIG SLEEP"},
        {"  big   SLEEP ", "BIG SLEEP"},
        {"Amélie!", "AMELIE"},
        {"Le Samouraï", "SAMOURAI"},
        {"Das Boot", "BOOT"},
        {"Die Blechtrommel", "BLECHTROMMEL"},
        {"Les Misérables", "MISERABLES"},
        {"Il Postino", "POSTINO"},
        {"El Norte", "NORTE"},
        {"An American in Paris", "AMERICAN IN PARIS"},
        {"A Fish Called Wanda", "FISH CALLED WANDA"},
        {"Thelma & Louise", "THELMA LOUISE"}, // a word that begins like an article keeps it
        {"The", "THE"},                       // an article alone is the title
        {"Star Wars: Episode IV", "STAR WARS EPISODE IV"},
        {"", ""},
    };
    for (const auto &[title, key] : cases)
        EXPECT_EQ(kv::titleKey(QString::fromUtf8(title)), QString::fromUtf8(key)) << title;
}

TEST(Duplicates, GroupsTitlesByYearAndMediaNumbersUsedTwice)
{
    kv::Table t;
    t.setPath(newCatalogue());
    t.open();
    auto video = [](const char *title, const char *year, const char *media = "") {
        Video v;
        v.title = QString::fromUtf8(title);
        v.year = QString::fromLatin1(year);
        v.mediaNum = QString::fromLatin1(media);
        return v;
    };
    kvtest::addVideos(t, {
                             video("The Big Sleep", "1946", "12"),  // 1
                             video("Heat", "1995"),                 // 2
                             video("Big Sleep", "1946"),            // 3: the article aside
                             video("Amélie", "2001"),               // 4
                             video("AMELIE!", ""),                  // 5: no year joins 2001
                             video("Heat", "1986", "12"),           // 6: another year: not 2
                             video("Le Samouraï", "1967"),          // 7
                             video("samourai", "1967", " 7"),       // 8
                             video("Casablanca", ""),               // 9
                             video("Casablanca.", "", "7"),         // 10: no years at all
                         });
    Video gone = video("Big Sleep", "1946");
    gone.deleted = true;
    kvtest::addVideos(t, {gone});

    const std::vector<kv::DuplicateGroup> groups = kv::findDuplicates(t);
    std::vector<std::tuple<bool, QString, int, std::vector<std::uint32_t>>> got;
    for (const kv::DuplicateGroup &g : groups) {
        std::vector<std::uint32_t> recnos;
        for (const kv::DuplicateRecord &d : g.records)
            recnos.push_back(d.recno);
        got.emplace_back(g.kind == kv::DuplicateGroup::Kind::Title, g.key, g.year, recnos);
    }
    using G = std::tuple<bool, QString, int, std::vector<std::uint32_t>>;
    EXPECT_EQ(got, (std::vector<G>{
                       G{true, "AMELIE", 2001, {4, 5}},
                       G{true, "BIG SLEEP", 1946, {1, 3}},
                       G{true, "CASABLANCA", 0, {9, 10}},
                       G{true, "SAMOURAI", 1967, {7, 8}},
                       G{false, "12", 0, {1, 6}},
                       G{false, "7", 0, {8, 10}},
                   }));
    EXPECT_EQ(groups[0].records[1].title, QString::fromUtf8("AMELIE!"));

    const QString text = kv::duplicatesText(groups);
    EXPECT_TRUE(text.startsWith(QString::fromUtf8("Title \"AMELIE\" (2001)\n  4\tAmélie\t2001\t\n  5\tAMELIE!\t\t\n")));
    EXPECT_TRUE(text.contains("Media # \"12\"\n  1\tThe Big Sleep\t1946\t12\n  6\tHeat\t1986\t12\n"));

    const QString path = t.filePath();
    t.close();
    const kvtest::ProcessResult cli = kvtest::runCli({"duplicates", path}, QByteArrayLiteral("C.UTF-8"));
    ASSERT_EQ(cli.exitCode, 0) << cli.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(cli.out), text);
}

} // namespace
