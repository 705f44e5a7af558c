#pragma once
// dBASE key expressions of the kinds this program builds for its sort orders:
//   Upper(Left(field,n)), STR(field,len[,dec]), DTOS(field), a bare field name,
// joined with '+'; names and functions in any letter case. Anything else is refused.
#include "store/dbf/recordcodec.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace kv {

class KeyExpression {
public:
    // Throws DbError with a clear message when the expression cannot be used.
    // upper: the byte upper-case table of the table's code page.
    static KeyExpression parse(const QString &text, const std::vector<FieldLayout> &fields,
                               const std::uint8_t *upper);

    const QString &text() const { return text_; }
    int keyLength() const { return keyLength_; }
    // Writes exactly keyLength() bytes for the raw record (deletion flag included).
    void evaluate(const char *record, char *out) const;
    QByteArray evaluate(const char *record) const;
    // Asks the processor to fetch the bytes of the record that the key reads, ahead of
    // evaluating it: a pass over many records then waits less for memory.
    void prefetch(const char *record) const;

    struct Part; // the evaluation steps
private:
    QString text_;
    int keyLength_ = 0;
    std::shared_ptr<const std::vector<Part>> parts_;
    const std::uint8_t *upper_ = nullptr;
};

// STR(value, len, dec) as dBASE gives it: decimal rounding with ties away from zero,
// right-aligned in len, asterisks when the integer part does not fit.
QByteArray dbaseStr(double value, int len, int dec);

} // namespace kv
