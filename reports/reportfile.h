#pragma once
// The definitions file QVRVID.URP in the program folder: a headerless run of report
// definition records; record n is report n of the list. Every operation opens, uses
// and closes the file. A change rewrites the file through a temporary copy in the
// same folder that replaces it only once written whole, so a crash or a full disk
// leaves either the old file or the new one.
#include "reports/reportdef.h"

#include <QString>
#include <QStringList>

namespace kv {

inline constexpr char kReportFileName[] = "QVRVID.URP";

class ReportFile {
public:
    // The definitions file of the program folder.
    ReportFile();
    explicit ReportFile(const QString &path);
    // QVRVID.URP in folder, in whatever letter case it was written.
    static QString pathIn(const QString &folder);

    QString path() const { return path_; }
    bool exists() const;

    // The names of the records in file order. Reading stops at the first record that
    // is not whole; a missing or unreadable file gives an empty list.
    QStringList names() const;

    // Reads record index into def; false (def unchanged) when the file cannot be read,
    // has no whole record index, or that record is damaged (damageMessage()).
    bool read(int index, TReportDefRec &def) const;
    // What the user is told of record index when it holds values the editors cannot
    // give (damagedReportMessage); empty when it is sound or cannot be read.
    QString damageMessage(int index) const;

    // Writes def over record index, or as a new record when index is the record count;
    // a missing file is created. A partly written record at the end of the file is
    // dropped. False with errorString() when the file cannot be read or written; the
    // file is then as it was.
    bool write(int index, const TReportDefRec &def);
    bool append(const TReportDefRec &def);
    bool append(const QList<TReportDefRec> &defs);

    // Removes record index: the later records move down one place and the file ends
    // after its new last record.
    bool remove(int index);

    QString errorString() const { return error_; }

private:
    QByteArray recordBytes(int index) const;
    bool load(QByteArray &records);
    bool replaceContents(const QByteArray &contents);
    bool failNoRecord(int index);
    bool fail(const QString &problem);

    QString path_;
    QString error_;
};

// Start-up: writes the built-in reports when folder has no definitions file, then
// converts the previous version's file when folder holds one. False with error when
// the definitions file cannot be written.
bool prepareReportFile(const QString &folder, QString *error = nullptr);

} // namespace kv
