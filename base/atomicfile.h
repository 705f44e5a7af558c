#pragma once
// Whole-file writes that never leave a truncated file behind: the bytes go to a
// temporary file in the same folder, which is renamed over the old one only once it is
// complete. A crash or a full disk leaves the old file as it was.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <memory>

namespace kv {

// "Unable to write <path>: <reason>": what the user is told when a file of the program
// cannot be written.
QString cannotWriteMessage(const QString &path, const QString &reason);

// A file written as a stream (a report, an export, a PDF) through a temporary file
// beside it. Nothing replaces the old file before commit(); a writer that is dropped
// without commit() removes its temporary and leaves the old file as it was.
class AtomicFile {
public:
    explicit AtomicFile(const QString &path);
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    QString path() const { return path_; }

    // Creates the temporary, open for reading and writing (unbuffered, so that a write
    // that the disk refuses fails at once with its reason); false with errorString().
    // A device or pipe of the name (/dev/stdout) is written directly, write-only; a
    // folder of the name is refused.
    bool open();
    bool isOpen() const;
    // The temporary while open; writes to it go through here.
    QFile &device() { return *file_; }

    // Appends bytes; false with errorString() when the disk did not take them all.
    bool write(const QByteArray &bytes);

    // Puts the complete file in place: flushed to the disk, then renamed over the old
    // one. False with errorString() (the temporary removed, the old file untouched)
    // when anything went wrong, including an earlier write.
    bool commit();
    // Drops the temporary; the old file stays.
    void discard();

    // The file layer's reason, such as "No space left on device".
    QString errorString() const { return error_; }
    // cannotWriteMessage() of the path and that reason.
    QString errorMessage() const { return cannotWriteMessage(path_, error_); }

private:
    bool openDevice(int fd);
    bool fail(const QString &reason);

    QString path_;
    QString target_; // the file a link leads to, else path_
    QString temporary_;
    std::unique_ptr<QFile> file_;
    QString error_;
};

// False, with the reason in error (when given), when the file could not be written.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error = nullptr);

} // namespace kv
