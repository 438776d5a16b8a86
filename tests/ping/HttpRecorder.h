#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>

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

    HttpRecorder()
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        connect(&m_server, &QTcpServer::newConnection, this, [this]() {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                ++m_connections;
                connect(socket, &QTcpSocket::readyRead, this, [this, socket]() { read(socket); });
            }
        });
    }

    quint16 port() const { return m_server.serverPort(); }
    QByteArray host() const { return "127.0.0.1:" + QByteArray::number(port()); }
    const QList<QByteArray>& requestLines() const { return m_lines; }
    int connections() const { return m_connections; }
    void setMode(Mode mode) { m_mode = mode; }

    // Answers every request held so far.
    void releaseHeld()
    {
        const QList<QTcpSocket*> held = m_held;
        m_held.clear();
        for (QTcpSocket* socket : held)
            answer(socket);
    }

private:
    void read(QTcpSocket* socket)
    {
        QByteArray& buffer = m_buffers[socket];
        buffer += socket->readAll();
        if (!buffer.contains("\r\n\r\n"))
            return;
        m_lines.append(buffer.left(buffer.indexOf("\r\n")));
        buffer.clear();
        switch (m_mode) {
        case Mode::Answer:
            answer(socket);
            break;
        case Mode::Hold:
            m_held.append(socket);
            break;
        case Mode::Silent:
            break;
        }
    }

    static void answer(QTcpSocket* socket)
    {
        socket->write("HTTP/1.1 204 No Content\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QList<QByteArray> m_lines;
    QHash<QTcpSocket*, QByteArray> m_buffers;
    QList<QTcpSocket*> m_held;
    Mode m_mode = Mode::Answer;
    int m_connections = 0;
};
