#pragma once

#include "iprunner.h"

#include <QFile>
#include <QHostAddress>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTemporaryDir>

// A web server on 127.0.0.1 over TLS for tests: answers every request with the same bytes. Its
// certificate, for the address 127.0.0.1, is signed by an authority the test makes with the
// openssl tool; trustIt() makes that authority one the process trusts, as the system's are.
class LocalHttpsServer
{
public:
    explicit LocalHttpsServer(QByteArray answer)
        : m_answer(std::move(answer))
    {
        ok = makeCertificates();
        if (!ok)
            return;
        QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
        configuration.setLocalCertificate(QSslCertificate::fromPath(file("server.pem")).value(0));
        configuration.setPrivateKey(QSslKey(read("server.key"), QSsl::Rsa));
        m_server.setSslConfiguration(configuration);
        QObject::connect(&m_server, &QTcpServer::pendingConnectionAvailable, &m_server, [this] {
            while (auto *socket = qobject_cast<QSslSocket *>(m_server.nextPendingConnection()))
                QObject::connect(socket, &QSslSocket::readyRead, socket, [this, socket] { serve(socket); });
        });
        ok = m_server.listen(QHostAddress::LocalHost);
    }
    ~LocalHttpsServer() { QSslConfiguration::setDefaultConfiguration(m_untrusted); }
    LocalHttpsServer(const LocalHttpsServer &) = delete;
    LocalHttpsServer &operator=(const LocalHttpsServer &) = delete;

    // Until the server is destroyed.
    void trustIt()
    {
        QSslConfiguration trusting = m_untrusted;
        trusting.addCaCertificates(QSslCertificate::fromPath(file("ca.pem")));
        QSslConfiguration::setDefaultConfiguration(trusting);
    }

    QString url(const QString &target) const
    {
        return QStringLiteral("https://127.0.0.1:%1").arg(m_server.serverPort()) + target;
    }

    bool ok = false;

private:
    QString file(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QByteArray read(const char *name) const
    {
        QFile in(file(name));
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }
    bool makeCertificates()
    {
        QFile extensions(file("ext"));
        const auto key = [](const QString &name) { return QStringList{QStringLiteral("-newkey"), QStringLiteral("rsa:2048"),
                                                                      QStringLiteral("-nodes"), QStringLiteral("-keyout"), name}; };
        return m_dir.isValid() && extensions.open(QIODevice::WriteOnly)
               && extensions.write("subjectAltName=IP:127.0.0.1\n") > 0 && extensions.flush()
               && runCommand("openssl", QStringList{QStringLiteral("req"), QStringLiteral("-x509")} + key(file("ca.key"))
                                            + QStringList{QStringLiteral("-out"), file("ca.pem"), QStringLiteral("-days"),
                                                          QStringLiteral("2"), QStringLiteral("-subj"),
                                                          QStringLiteral("/CN=Tarvo test authority")},
                             true)
               && runCommand("openssl", QStringList{QStringLiteral("req")} + key(file("server.key"))
                                            + QStringList{QStringLiteral("-out"), file("server.csr"), QStringLiteral("-subj"),
                                                          QStringLiteral("/CN=127.0.0.1")},
                             true)
               && runCommand("openssl", {QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"),
                                         file("server.csr"), QStringLiteral("-CA"), file("ca.pem"), QStringLiteral("-CAkey"),
                                         file("ca.key"), QStringLiteral("-CAcreateserial"), QStringLiteral("-out"),
                                         file("server.pem"), QStringLiteral("-days"), QStringLiteral("2"),
                                         QStringLiteral("-extfile"), file("ext")},
                             true);
    }
    void serve(QSslSocket *socket)
    {
        m_pending[socket] += socket->readAll();
        if (!m_pending[socket].contains("\r\n\r\n"))
            return;
        m_pending.remove(socket);
        socket->write(m_answer);
        socket->disconnectFromHost();
    }

    QTemporaryDir m_dir;
    QByteArray m_answer;
    QSslServer m_server;
    QSslConfiguration m_untrusted = QSslConfiguration::defaultConfiguration();
    QHash<QSslSocket *, QByteArray> m_pending;
};
