#include "profilefile.h"

#include "base/atomicfile.h"
#include "base/codepage.h"

#include <QFile>

namespace kv {

ProfileFile ProfileFile::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ProfileFile();
    return fromBytes(file.readAll());
}

ProfileFile ProfileFile::fromBytes(const QByteArray &bytes)
{
    ProfileFile profile;
    QList<QByteArray> rawLines = bytes.split('\n');
    if (!rawLines.isEmpty() && rawLines.constLast().isEmpty())
        rawLines.removeLast();
    for (QByteArray raw : rawLines) {
        if (raw.endsWith('\r'))
            raw.chop(1);
        const QString text = decode(raw);
        const QString trimmed = text.trimmed();
        const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
        if (trimmed.startsWith(QLatin1Char('[')) && close > 0) {
            Section section;
            section.name = trimmed.mid(1, close - 1).trimmed();
            section.header = text;
            profile.sections_.append(section);
            continue;
        }
        if (profile.sections_.isEmpty()) {
            Section preamble;
            preamble.hasHeader = false;
            profile.sections_.append(preamble);
        }
        Line line{text, QString(), QString()};
        const qsizetype equals = text.indexOf(QLatin1Char('='));
        if (equals > 0 && !trimmed.startsWith(QLatin1Char(';'))) {
            line.key = text.left(equals).trimmed();
            line.value = text.mid(equals + 1).trimmed();
        }
        profile.sections_.last().lines.append(line);
    }
    return profile;
}

QByteArray ProfileFile::toBytes() const
{
    QString text;
    for (const Section &section : sections_) {
        if (section.hasHeader)
            text += section.header + QLatin1String("\r\n");
        for (const Line &line : section.lines)
            text += line.text + QLatin1String("\r\n");
    }
    return encode(text);
}

bool ProfileFile::write(const QString &path, QString *error) const
{
    return writeFileAtomically(path, toBytes(), error);
}

qsizetype ProfileFile::findSection(const QString &name) const
{
    for (qsizetype i = 0; i < sections_.size(); ++i) {
        if (sections_.at(i).hasHeader && sections_.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

std::optional<QString> ProfileFile::value(const QString &section, const QString &key) const
{
    const qsizetype s = findSection(section);
    if (s < 0)
        return std::nullopt;
    for (const Line &line : sections_.at(s).lines) {
        if (!line.key.isEmpty() && line.key.compare(key, Qt::CaseInsensitive) == 0)
            return line.value;
    }
    return std::nullopt;
}

void ProfileFile::setValue(const QString &section, const QString &key, const QString &text)
{
    // A line break would end the line early and turn the rest into a line of its own.
    QString value = text;
    value.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    qsizetype s = findSection(section);
    if (s < 0) {
        // A blank line between the last section and the new one.
        if (!sections_.isEmpty()) {
            QList<Line> &last = sections_.last().lines;
            if (!last.isEmpty() || sections_.last().hasHeader) {
                if (last.isEmpty() || !last.constLast().text.trimmed().isEmpty())
                    last.append(Line());
            }
        }
        Section added;
        added.name = section;
        added.header = QLatin1Char('[') + section + QLatin1Char(']');
        sections_.append(added);
        s = sections_.size() - 1;
    }
    QList<Line> &lines = sections_[s].lines;
    qsizetype afterLastKey = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        Line &line = lines[i];
        if (line.key.isEmpty())
            continue;
        if (line.key.compare(key, Qt::CaseInsensitive) == 0) {
            line.value = value;
            line.text = line.key + QLatin1Char('=') + value;
            return;
        }
        afterLastKey = i + 1;
    }
    lines.insert(afterLastKey, Line{key + QLatin1Char('=') + value, key, value});
}

} // namespace kv
