#include "HttpRecorder.h"

#include <QTcpSocket>

HttpRecorder::HttpRecorder()
{
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, [this]() {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            ++m_connections;
            connect(socket, &QTcpSocket::readyRead, this, [this, socket]() { read(socket); });
        }
    });
}

void HttpRecorder::releaseHeld()
{
    const QList<QTcpSocket*> held = m_held;
    m_held.clear();
    for (QTcpSocket* socket : held)
        answer(socket);
}

void HttpRecorder::read(QTcpSocket* socket)
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

void HttpRecorder::answer(QTcpSocket* socket)
{
    socket->write("HTTP/1.1 204 No Content\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    socket->disconnectFromHost();
}
