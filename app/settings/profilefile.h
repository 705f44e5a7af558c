#pragma once
// Private-profile text as Windows keeps it: "[Section]" lines, each followed by its
// "key=value" lines. Sections and keys are found without regard to case, values are
// given back as written (blanks around them dropped). Changing a value rewrites only
// its own line; every other line, comments and unknown keys included, stays where it
// was. Files are code page 1252 with CRLF line ends.
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace kv {

class ProfileFile {
public:
    ProfileFile() = default;

    // A missing or unreadable file gives an empty profile.
    static ProfileFile read(const QString &path);
    static ProfileFile fromBytes(const QByteArray &bytes);
    QByteArray toBytes() const;
    // Writes through a temporary file in the same folder renamed over path, so a
    // failure never leaves a cut-off file. False, with the reason in error, on failure.
    bool write(const QString &path, QString *error = nullptr) const;

    // The value of the first such key in the first such section.
    std::optional<QString> value(const QString &section, const QString &key) const;
    // Updates the key in place; a new key goes after the section's last key, a new
    // section at the end of the file.
    void setValue(const QString &section, const QString &key, const QString &value);

private:
    struct Line {
        QString text;  // as read, or as last written
        QString key;   // empty for anything but a key=value line
        QString value;
    };
    struct Section {
        bool hasHeader = true; // false for the lines before the first section
        QString name;
        QString header; // the "[name]" line as read
        QList<Line> lines;
    };
    qsizetype findSection(const QString &name) const;

    QList<Section> sections_;
};

} // namespace kv
