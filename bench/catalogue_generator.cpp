#include "catalogue_generator.h"

#include "store/mastertable.h"
#include "store/table.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>
#include <random>

namespace kvbench {

namespace {
const QStringList kFirst = {"Humphrey", "Ingrid", "Cary", "Audrey", "James", "Grace", "Marlon", "Sophia",
                            "Gérard", "Catherine", "Jean-Paul", "Brigitte", "Björn", "Zoë", "Renée", "Søren"};
const QStringList kLast = {"Bogart", "Bergman", "Grant", "Hepburn", "Stewart", "Kelly", "Brando", "Loren",
                           "Depardieu", "Deneuve", "Belmondo", "Bardot", "Andrésen", "Kazan", "Zellweger", "Malmö"};
const QStringList kWords = {"The", "Night", "of", "the", "Hunter", "Return", "Big", "Sleep", "Casablanca",
                            "Vertigo", "Rear", "Window", "Amélie", "Café", "Noir", "Red", "Blue", "Déjà", "Vu",
                            "Lost", "Highway", "Paris", "Texas", "Stranger", "Things", "Alien", "Heat"};
const QStringList kCategories = {"Drama", "Comedy", "Thriller", "Western", "Musical", "Science Fiction",
                                 "Documentary", "Animation", "Film Noir", "Romance"};
const QStringList kRatings = {"G", "PG", "PG-13", "R", "NC-17", "Not Rated"};
const QStringList kFormats = {"VHS", "Beta", "Laserdisc", "DVD", "S-VHS"};
} // namespace

void appendVideos(kv::Table &t, std::uint32_t records, std::uint32_t seed)
{
    std::mt19937 rng(seed);
    auto pick = [&](const QStringList &list) { return list.at(int(rng() % unsigned(list.size()))); };
    auto person = [&] { return pick(kFirst) + QLatin1Char(' ') + pick(kLast); };
    const int title = t.fieldIndex(QStringLiteral("Title"));
    const int stars[] = {t.fieldIndex(QStringLiteral("Star1")), t.fieldIndex(QStringLiteral("Star2")),
                         t.fieldIndex(QStringLiteral("Star3"))};
    const int director = t.fieldIndex(QStringLiteral("Director"));
    const int year = t.fieldIndex(QStringLiteral("Year"));
    const int runTime = t.fieldIndex(QStringLiteral("RunTime"));
    const int rating = t.fieldIndex(QStringLiteral("Rating"));
    const int category = t.fieldIndex(QStringLiteral("Category"));
    const int format = t.fieldIndex(QStringLiteral("Format"));
    const int media = t.fieldIndex(QStringLiteral("MediaNum"));
    const int description = t.fieldIndex(QStringLiteral("Descriptio"));
    const int price = t.fieldIndex(QStringLiteral("ListPrice"));
    const int purchDate = t.fieldIndex(QStringLiteral("PurchDate"));
    const int viewed = t.fieldIndex(QStringLiteral("Viewed"));
    t.suspendDisplay();
    for (std::uint32_t i = 0; i < records; ++i) {
        t.append();
        QStringList words;
        for (unsigned w = 0, n = 1 + rng() % 5; w < n; ++w)
            words << pick(kWords);
        t.setFieldText(title, words.join(QLatin1Char(' ')));
        for (int s : stars)
            if (rng() % 4)
                t.setFieldText(s, person());
        t.setFieldText(director, person());
        if (rng() % 10)
            t.setFieldNumber(year, 1930 + rng() % 70);
        t.setFieldNumber(runTime, 70 + rng() % 120);
        t.setFieldText(rating, pick(kRatings));
        t.setFieldText(category, pick(kCategories));
        t.setFieldText(format, pick(kFormats));
        t.setFieldText(media, QString::number(i % 100000));
        t.setFieldText(description, words.join(QLatin1Char(' ')) + QStringLiteral(" with ") + person());
        if (rng() % 5)
            t.setFieldNumber(price, double(rng() % 10000) / 100.0);
        if (rng() % 3)
            t.setFieldDate(purchDate, QDate(1980 + int(rng() % 20), 1 + int(rng() % 12), 1 + int(rng() % 28)));
        t.setFieldText(viewed, rng() % 2 ? QStringLiteral("Yes") : QStringLiteral("No"));
        t.post();
        if (rng() % 33 == 0)
            t.deleteRecord();
    }
    t.resumeDisplay();
}

void generateCatalogue(const QString &path, std::uint32_t records, std::uint32_t seed)
{
    kv::Table t;
    kv::createMasterTable(t, path);
    t.open();
    appendVideos(t, records, seed);
    t.close();
}

QString benchCatalogue(const QString &dir, std::uint32_t records)
{
    const QString path = dir + QStringLiteral("/BENCH%1.DBF").arg(records);
    if (!QFileInfo::exists(path)) {
        QElapsedTimer timer;
        timer.start();
        generateCatalogue(path, records);
        std::printf("generated %u records in %.1f s\n", records, double(timer.nsecsElapsed()) / 1e9);
    }
    return path;
}

} // namespace kvbench
