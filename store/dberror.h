#pragma once
// The one exception type of the table engine. Its message is fit to show a user.
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
