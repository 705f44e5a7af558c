#pragma once
// The one exception type of the table engine and the program's file formats. Its message
// is fit to show a user; logic turns it into a message box, windows never catch it.
#include <QString>
#include <stdexcept>

namespace kv {

class DbError : public std::runtime_error {
public:
    explicit DbError(const QString &message) : std::runtime_error(message.toStdString()), message_(message) {}
    const QString &message() const noexcept { return message_; }
private:
    QString message_;
};

} // namespace kv
