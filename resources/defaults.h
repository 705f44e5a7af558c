#pragma once
// The pick lists delivered with the program: the default catalogue lists and the
// program-wide Oscar and miscellaneous lists, embedded in the program and copied
// into the program folder when they are missing there.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kv {

inline constexpr int kPickListCount = 17;

// File name of the delivered list for list number 1 ... 17 ("PRODUCER.LST" ... "MISC.LST");
// empty for any other number.
QString defaultListFileName(int listNumber);
// All seventeen names, in list-number order.
QStringList defaultListFileNames();
// The delivered bytes of a list (code page 1252, CRLF line ends); empty for an
// unknown name. Names are matched without regard to case.
QByteArray defaultListContents(const QString &fileName);

// Copies every delivered list into programDir when no file of that name exists there
// in any letter case. Existing files are never touched. Creates programDir when
// needed. False, with a message in error, when a list could not be written; the
// other lists are still copied.
bool installDefaultLists(const QString &programDir, QString *error = nullptr);

} // namespace kv
