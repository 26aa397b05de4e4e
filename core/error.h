#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// A failure that ends the current command. Its text is shown to the user
// as it stands, so it is written for the user.
class SkelvoError : public std::exception
{
public:
    explicit SkelvoError(QString message) : message_(std::move(message)), utf8_(message_.toUtf8())
    {}

    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};
