#include "reportfile.h"

#include "base/atomicfile.h"
#include "base/paths.h"
#include "reports/builtinreports.h"
#include "reports/oldreportfile.h"

#include <QDir>
#include <QFile>

namespace kv {

namespace {
enum class Load { Read, NotOpened, ReadFailed };

// The file's bytes up to the end of its last whole record.
Load loadWholeRecords(const QString &path, QByteArray &records, QString *problem = nullptr)
{
    records.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (problem)
            *problem = file.errorString();
        return Load::NotOpened;
    }
    records = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (problem)
            *problem = file.errorString();
        records.clear();
        return Load::ReadFailed;
    }
    records.truncate(records.size() - records.size() % kReportDefSize);
    return Load::Read;
}

qsizetype recordCount(const QByteArray &records) { return records.size() / kReportDefSize; }
qsizetype recordOffset(int index) { return qsizetype(index) * kReportDefSize; }
} // namespace

ReportFile::ReportFile() : ReportFile(pathIn(programDir())) {}

ReportFile::ReportFile(const QString &path) : path_(path) {}

QString ReportFile::pathIn(const QString &folder)
{
    return resolveCaseInsensitive(folder + QLatin1Char('/') + QLatin1String(kReportFileName));
}

bool ReportFile::exists() const { return QFile::exists(path_); }

QStringList ReportFile::names() const
{
    QByteArray records;
    loadWholeRecords(path_, records);
    QStringList names;
    for (qsizetype at = 0; at < records.size(); at += kReportDefSize)
        names.append(reportDefFromBytes(records.mid(at, kReportDefSize)).name);
    return names;
}

QByteArray ReportFile::recordBytes(int index) const
{
    if (index < 0)
        return {};
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(recordOffset(index)))
        return {};
    const QByteArray bytes = file.read(kReportDefSize);
    return bytes.size() == kReportDefSize ? bytes : QByteArray();
}

bool ReportFile::read(int index, TReportDefRec &def) const
{
    const QByteArray bytes = recordBytes(index);
    if (bytes.isEmpty() || !reportDefDamage(bytes).isEmpty())
        return false;
    def = reportDefFromBytes(bytes);
    return true;
}

QString ReportFile::damageMessage(int index) const
{
    const QByteArray bytes = recordBytes(index);
    if (bytes.isEmpty())
        return QString();
    const QString damage = reportDefDamage(bytes);
    return damage.isEmpty() ? QString() : damagedReportMessage(reportDefFromBytes(bytes).name, damage);
}

bool ReportFile::write(int index, const TReportDefRec &def)
{
    QByteArray records;
    if (!load(records))
        return false;
    const qsizetype count = recordCount(records);
    if (index < 0 || index > count)
        return failNoRecord(index);
    records.replace(recordOffset(index), index < count ? kReportDefSize : 0, reportDefToBytes(def));
    return replaceContents(records);
}

bool ReportFile::append(const TReportDefRec &def) { return append(QList<TReportDefRec>{def}); }

bool ReportFile::append(const QList<TReportDefRec> &defs)
{
    QByteArray records;
    if (!load(records))
        return false;
    for (const TReportDefRec &def : defs)
        records += reportDefToBytes(def);
    return replaceContents(records);
}

bool ReportFile::remove(int index)
{
    QByteArray records;
    if (!load(records))
        return false;
    if (index < 0 || index >= recordCount(records))
        return failNoRecord(index);
    records.remove(recordOffset(index), kReportDefSize);
    return replaceContents(records);
}

// A missing file is started anew. One that is there but cannot be read is an error:
// replacing it would drop records nobody has seen.
bool ReportFile::load(QByteArray &records)
{
    QString problem;
    const Load result = loadWholeRecords(path_, records, &problem);
    if (result == Load::ReadFailed || (result == Load::NotOpened && exists()))
        return fail(problem);
    return true;
}

bool ReportFile::replaceContents(const QByteArray &contents)
{
    QString problem;
    if (!writeFileAtomically(path_, contents, &problem))
        return fail(problem);
    error_.clear();
    return true;
}

bool ReportFile::failNoRecord(int index)
{
    return fail(QStringLiteral("there is no report number %1").arg(index + 1));
}

bool ReportFile::fail(const QString &problem)
{
    error_ = cannotWriteMessage(path_, problem);
    return false;
}

bool prepareReportFile(const QString &folder, QString *error)
{
    ReportFile file(ReportFile::pathIn(folder));
    if (!file.exists() && !file.append(builtInReports())) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QString oldPath = resolveCaseInsensitive(folder + QLatin1Char('/') + QLatin1String(kOldReportFileName));
    if (!QFile::exists(oldPath))
        return true;
    return convertOldReportFile(oldPath, file, error);
}

} // namespace kv
