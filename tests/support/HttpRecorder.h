#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTcpServer>

class QTcpSocket;

// A tiny HTTP server on 127.0.0.1 for tests: records the request line of every request and,
// unless told to stay silent, answers "204 No Content" and closes.
class HttpRecorder : public QObject
{
public:
    enum class Mode
    {
        Answer,
        Silent,
        Hold
    };

    HttpRecorder();

    quint16 port() const { return m_server.serverPort(); }
    QByteArray host() const { return "127.0.0.1:" + QByteArray::number(port()); }
    const QList<QByteArray>& requestLines() const { return m_lines; }
    int connections() const { return m_connections; }
    void setMode(Mode mode) { m_mode = mode; }

    // Answers every request held so far.
    void releaseHeld();

private:
    void read(QTcpSocket* socket);
    static void answer(QTcpSocket* socket);

    QTcpServer m_server;
    QList<QByteArray> m_lines;
    QHash<QTcpSocket*, QByteArray> m_buffers;
    QList<QTcpSocket*> m_held;
    Mode m_mode = Mode::Answer;
    int m_connections = 0;
};
