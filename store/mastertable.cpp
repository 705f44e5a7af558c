#include "mastertable.h"

#include "store/fieldtable.h"
#include "store/table.h"

namespace kv {

void createMasterTable(Table &table, const QString &path)
{
    table.close();
    table.setPath(path);
    table.clearFieldDefs();
    for (int n = 1; n <= kFieldCount; ++n) {
        const FieldInfo &f = field(n);
        table.addFieldDef(QString::fromLatin1(f.name), f.kind, f.kind == FieldKind::Text ? f.width : 0);
    }
    table.clearIndexDefs();
    table.createTable();
}

bool hasMasterLayout(const Table &table)
{
    if (table.fieldCount() != kFieldCount)
        return false;
    for (int i = 0; i < kFieldCount; ++i) {
        if (table.fieldName(i).toUpper() != fieldName(i + 1).toUpper())
            return false;
    }
    return true;
}

void openForChecking(Table &check, const QString &path)
{
    check.close();
    check.setPath(path);
    check.setReadOnly(true);
    check.setIndexName(QString());
    check.open();
}

void mendRecognised(Table &check)
{
    const QString path = check.filePath();
    const bool damaged = !check.damage().isEmpty();
    check.close();
    // A damaged table is left byte for byte as it is.
    if (!damaged)
        removeMdxByte(path);
}

bool isCatalogueFile(Table &check, const QString &path)
{
    openForChecking(check, path);
    const bool valid = hasMasterLayout(check);
    if (valid)
        mendRecognised(check);
    check.close();
    return valid;
}

} // namespace kv
