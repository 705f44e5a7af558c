// Times the list editor and the Oscar dialog on long lists: opening the editor on the star
// list and painting it, Sort, and Ok (the edit window's six star boxes filled again and the
// fifteen list files written); the Oscar dialog opened and painted, and its Ok. Each as a
// ratio to a plain read of the list file.
//
//   kv-bench-lists [--dir DIR] [--records N,N,...]   (entries per list; default 20,000)
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "app/settings/settings.h"
#include "app/style/styleddialog.h"
#include "app/workspace/workspace.h"
#include "base/paths.h"
#include "benchutil.h"
#include "widgetbench.h"
#include "edit/listfile.h"
#include "edit/ui/myedit.h"
#include "edit/ui/myeditbox.h"
#include "edit/ui/myoscaraward.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>

#include <algorithm>
#include <cstdio>
#include <random>

namespace {

using kvbench::plainRead;
using kvbench::seconds;

void line(double base, const char *what, double s)
{
    std::printf("  %-60s %9.4f s  %9.1f x plain read\n", what, s, base > 0 ? s / base : 0.0);
    std::fflush(stdout);
}

// Times each run of work (after its untimed preparation); reports the mean and the slowest.
template <typename Prepare, typename Work>
void measure(double base, const char *what, int times, Prepare &&prepare, Work &&work)
{
    double total = 0, worst = 0;
    for (int i = 0; i < times; ++i) {
        auto state = prepare();
        QElapsedTimer timer;
        timer.start();
        work(state);
        const double s = seconds(timer);
        total += s;
        worst = std::max(worst, s);
    }
    char label[128];
    std::snprintf(label, sizeof label, "%s, mean of %d", what, times);
    line(base, label, total / times);
    line(base, "  the slowest", worst);
}

// Names as people type them: mixed case, accents, repeats.
QStringList names(std::uint32_t count)
{
    const char *const first[] = {"Anna", "émile", "Zoë", "Björn", "cary", "Ingrid", "Óscar", "Audrey", "Jean-Luc",
                                 "Françoise", "Grace", "Ævar"};
    const char *const last[] = {"Grant", "Bergman", "Hepburn", "Kelly", "Truffaut", "Dorléac", "Ångström", "de Sica",
                                "O'Hara", "Núñez", "karina", "Østergaard"};
    std::mt19937 rng(7);
    QStringList all;
    for (std::uint32_t i = 0; i < count; ++i)
        all << QStringLiteral("%1 %2 %3")
                   .arg(QString::fromUtf8(first[rng() % 12]), QString::fromUtf8(last[rng() % 12]))
                   .arg(rng() % 10000)
                   .left(25);
    return all;
}

void run(const QString &dir, std::uint32_t count)
{
    const QString base = dir + QStringLiteral("/LISTS");
    const QStringList entries = names(count);
    kv::writeListFile(base + QStringLiteral(".002"), entries);
    kv::writeListFile(base + QStringLiteral(".009"), {QStringLiteral("VHS")});
    QDir().mkpath(kv::programDir());
    const QString oscars = kv::programDir() + QStringLiteral("/OSCAR.LST");
    kv::writeListFile(oscars, entries);
    const QString file = base + QStringLiteral(".002");
    plainRead(file);
    const double plain = plainRead(file);
    std::printf("\n%u entries, %.2f MB\n", count, double(QFileInfo(file).size()) / 1e6);
    line(plain, "plain read of the list file", plain);

    kv::SilentPrompt prompt; // Sort's question takes its default, Yes
    kv::Settings settings;
    kv::Workspace ws(settings, prompt);
    ws.setPaths(kv::CataloguePaths::of(base + QStringLiteral(".DBF")));
    QElapsedTimer load;
    load.start();
    ws.pickLists().LoadAllList(base);
    line(plain, "load the fifteen lists", seconds(load));
    kv::TMyEdit edit(ws); // its six star boxes follow the star list
    kv::LookHolder look(settings);
    using Box = std::unique_ptr<kv::TMyEditBox>;
    const auto fresh = [&] {
        ws.pickLists().list(2).setEntries(entries); // unsorted again
        return Box();
    };
    const auto opened = [&] {
        Box box = std::make_unique<kv::TMyEditBox>(ws, 2, ws.pickLists().entries(2), &look);
        box->show();
        box->grab();
        return box;
    };
    measure(plain, "open the list editor on the stars and paint it", 5, fresh, [&](Box &box) { box = opened(); });
    measure(plain, "Sort and paint", 5, opened, [&](Box &box) {
        box->SortButtonClick();
        box->grab();
    });
    measure(plain, "Ok: the six star boxes refilled, the fifteen files written", 5, opened,
            [&](Box &box) { box->OkButtonClick(); });
    const bool sorted = kv::readListFile(file) == ws.pickLists().entries(2);
    std::printf("  the star file holds the list as confirmed: %s\n", sorted ? "yes" : "NO");

    using Dialog = std::unique_ptr<kv::TMyOscarAward>;
    measure(plain, "open the Oscar dialog (read, sort, fill) and paint it", 5, [] { return Dialog(); },
            [&](Dialog &d) {
                d = std::make_unique<kv::TMyOscarAward>(kv::OscarMode::Awards, kv::readProgramWideList(14), QString());
                d->show();
                d->grab();
            });
    measure(
        plain, "Oscar dialog Ok with every tenth entry selected", 5,
        [&] {
            auto d = std::make_unique<kv::TMyOscarAward>(kv::OscarMode::Awards, entries, QString());
            auto *list = d->findChild<QListWidget *>(QStringLiteral("OscarList"));
            for (int row = 0; row < list->count(); row += 10)
                list->item(row)->setSelected(true);
            return d;
        },
        [&](Dialog &d) { d->OkButtonClick(); });
}

} // namespace

int main(int argc, char **argv)
{
    return kvbench::runWidgetBenchmark(argc, argv, "kv-bench-lists", {20000}, run);
}
