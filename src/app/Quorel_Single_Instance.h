#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;

// Keeps one running instance per user and program name. The newer instance
// asks a running older one to close, does not wait for it, and takes over
// the name; the older one then closes as if its user had closed it.
class Single_Instance : public QObject
{
    Q_OBJECT
public:
    explicit Single_Instance(const QString& program_name, QObject* parent = nullptr);
    ~Single_Instance() override;

    // Sends the close request to a running instance (if any) and starts
    // listening. Returns whether another instance was asked to close.
    bool Start();
    bool Listening() const;
    QString Server_Name() const { return server_name_; }

    // Raised when a newer instance asks this one to close.
    std::function<void()> On_Close_Requested;

    static QString Make_Server_Name(const QString& program_name);

private:
    void Accept();

    QString server_name_;
    QLocalServer* server_ = nullptr;
};
