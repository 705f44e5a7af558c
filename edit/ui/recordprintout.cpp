#include "recordprintout.h"

#include "report_engine/reportengine.h"

#include <cmath>

namespace kv {

namespace {
// The field printed on each line, in order; the last two are the check boxes.
constexpr int kLineFields[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
                               21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 32, 33, 34, 35, 36, 38, 39, 40};
constexpr int kCaptionWidth = 22;
} // namespace

QStringList recordPrintoutLines(const RecordForm &form, const Settings &settings)
{
    QStringList lines;
    for (int field : kLineFields)
        lines << (settings.field(field).caption + QStringLiteral(": ")).left(kCaptionWidth) + form.text[size_t(field)];
    for (const auto &[field, ticked] : {std::pair{int(fields::CheckOut), form.checkOut},
                                        std::pair{int(fields::Viewed), form.viewed}}) {
        const QString suffix = ticked ? QStringLiteral(": Yes") : QStringLiteral(": No");
        lines << (settings.field(field).caption + suffix).left(20 + suffix.size());
    }
    return lines;
}

bool printRecordLines(const QStringList &lines, int copies, PageOutput &output, QString *error)
{
    ReportEngine engine(output);
    engine.setJobTitle(QString::fromLatin1(kPrintoutJobTitle));
    engine.setCallbacks({{}, {}, [&] {
                             engine.setFont(PageFont{QStringLiteral("Arial"), 10});
                             const double left = engine.pageWidth() / 17, top = engine.pageHeight() / 22;
                             // In whole units of a 600-dpi printer.
                             const double step = std::round(engine.fontHeight() * 1.1 * 600) / 600;
                             engine.setBandBottom(engine.pageHeight());
                             for (int k = 0; k < lines.size(); ++k) {
                                 engine.moveTo(left, top + k * step);
                                 engine.print(lines[k]);
                             }
                             return engine.pageNumber() < copies;
                         },
                         {}, {}, {}});
    const bool ok = engine.start();
    if (!ok && error)
        *error = engine.errorString();
    return ok;
}

} // namespace kv
