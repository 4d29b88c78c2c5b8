#pragma once

#include <QString>
#include <stdexcept>

// Failures of the serial component. Only the protocol engine catches them;
// they never reach the user as a message box.
class ECommError : public std::runtime_error
{
public:
    explicit ECommError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    QString Message() const { return m_message; }

private:
    QString m_message;
};

// The device could not be opened; the code is the operating system's error.
class ECommOpenError : public ECommError
{
public:
    explicit ECommOpenError(int errorCode)
        : ECommError(QStringLiteral("オープンエラー ErrorCode = %1").arg(errorCode)),
          m_errorCode(errorCode)
    {
    }
    int ErrorCode() const { return m_errorCode; }

private:
    int m_errorCode;
};

// A read or write could not be carried out; the code is the operating
// system's error.
class ECommReadWriteError : public ECommError
{
public:
    explicit ECommReadWriteError(int errorCode)
        : ECommError(QStringLiteral("入出力エラー ErrorCode = %1").arg(errorCode)),
          m_errorCode(errorCode)
    {
    }
    int ErrorCode() const { return m_errorCode; }

private:
    int m_errorCode;
};
