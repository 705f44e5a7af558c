#pragma once
// A folder on a disk that can be made full, for the tests of what a full disk does to the
// program's files. Where the tests may mount (root with the right to mount, as in CI's
// container) the folder is a small tmpfs that fill() fills up: writes fail with "No space
// left on device". Elsewhere it is a plain temporary folder and fill() sets a file size
// limit on this process (and the programs it starts) with SIGXFSZ ignored: writes past
// kSizeLimit bytes fail with "File too large". Either way the test can check that the
// file layer's reason reaches the user and that the old file stays.
#include <QString>

namespace kvtest {

class FullDisk {
public:
    static constexpr long kSizeLimit = 2048;

    explicit FullDisk(const QString &name = QStringLiteral("fulldisk"));
    ~FullDisk();
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

    QString dir() const { return dir_; }
    QString path(const QString &name) const { return dir_ + QLatin1Char('/') + name; }
    // From now on until the end of this object no file in dir() grows (past kSizeLimit
    // bytes with the size limit).
    void fill();
    // The reason the file layer gives for a refused write.
    QString reason() const;
    bool mounted() const { return mounted_; }

private:
    QString dir_;
    bool mounted_ = false;
    bool limited_ = false;
    long savedLimit_ = 0;
};

} // namespace kvtest
