#include "app/Quorel_Single_Instance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QVariant>

#include <unistd.h>

namespace {

const QByteArray Close_Request = "CLOSE\n";
constexpr int Connect_Wait_Ms = 500;

QString Sanitised(const QString& text)
{
    QString out;
    for (const QChar c : text)
        out += (c.isLetterOrNumber() && c.unicode() < 128) || c == '_' || c == '.' ? c : QChar('_');
    return out;
}

} // namespace

Single_Instance::Single_Instance(const QString& program_name, QObject* parent)
    : QObject(parent), server_name_(Make_Server_Name(program_name))
{
}

Single_Instance::~Single_Instance()
{
    if (server_)
        server_->close();
}

QString Single_Instance::Make_Server_Name(const QString& program_name)
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = QString::number(::getuid());
    return QStringLiteral("QuorelGAS-") + Sanitised(user) + QChar('-') + Sanitised(program_name);
}

bool Single_Instance::Start()
{
    bool asked = false;
    {
        QLocalSocket socket;
        socket.connectToServer(server_name_);
        if (socket.waitForConnected(Connect_Wait_Ms)) {
            socket.write(Close_Request);
            socket.waitForBytesWritten(Connect_Wait_Ms);
            socket.disconnectFromServer();
            asked = true;
        }
    }
    // Take over the name; the older instance keeps its accepted connection.
    QLocalServer::removeServer(server_name_);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &Single_Instance::Accept);
    if (!server_->listen(server_name_))
        qWarning("Single instance: cannot listen on %s: %s", qPrintable(server_name_),
                 qPrintable(server_->errorString()));
    return asked;
}

bool Single_Instance::Listening() const { return server_ && server_->isListening(); }

void Single_Instance::Accept()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto check = [this, socket]() {
            if (!socket->property("handled").toBool() && socket->bytesAvailable() >= Close_Request.size()) {
                socket->setProperty("handled", true);
                const bool is_close = socket->read(Close_Request.size()) == Close_Request;
                if (is_close && On_Close_Requested)
                    On_Close_Requested();
            }
        };
        connect(socket, &QLocalSocket::readyRead, this, check);
        check();
    }
}
