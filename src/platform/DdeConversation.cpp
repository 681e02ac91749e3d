#include "platform/DdeConversation.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace {

// Lines of blank-separated, percent-encoded fields: "ADVISE item", "POKE item text",
// "DATA item text".
QByteArray Line(std::initializer_list<QString> fields)
{
    QByteArray line;
    for (const QString& field : fields) {
        if (!line.isEmpty())
            line += ' ';
        line += field.toUtf8().toPercentEncoding();
    }
    return line + '\n';
}

QStringList Fields(const QByteArray& line)
{
    QStringList fields;
    for (const QByteArray& field : line.split(' '))
        fields << QString::fromUtf8(QByteArray::fromPercentEncoding(field));
    return fields;
}

// A line that long is no line of ours.
constexpr qsizetype kMaxLine = 1 << 20;

QString& ServiceNameOverride()
{
    static QString name;
    return name;
}

} // namespace

void SetDdeServiceName(const QString& name)
{
    ServiceNameOverride() = name.toUpper();
}

QString DdeServiceName()
{
    if (!ServiceNameOverride().isEmpty())
        return ServiceNameOverride();
    const QString base = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    return (base.isEmpty() ? QStringLiteral("tavrinol40") : base).toUpper();
}

QString DdeSocketName(const QString& service, const QString& topic)
{
    const QByteArray name = (service.toUpper() + QLatin1Char('|') + topic.toUpper()).toUtf8();
    return QStringLiteral("tavrinol-dde-%1-%2")
        .arg(getuid())
        .arg(QString::fromLatin1(name.toPercentEncoding(QByteArray(), "|").replace('%', '_')));
}

// --- Server --------------------------------------------------------------------------------------

TLocalDdeServer::TLocalDdeServer(const QString& service, const QString& topic)
    : m_server(std::make_unique<QLocalServer>())
{
    const QString name = DdeSocketName(service, topic);
    // A live instance serving the same service and topic keeps them; a socket left by one that
    // ended without closing it is taken over.
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(200))
        return;
    QLocalServer::removeServer(name);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    m_server->listen(name);
    connect(m_server.get(), &QLocalServer::newConnection, this, &TLocalDdeServer::Accept);
}

TLocalDdeServer::~TLocalDdeServer()
{
    for (auto& [client, items] : m_advised)
        client->disconnect(this);
}

bool TLocalDdeServer::Serving() const
{
    return m_server->isListening();
}

void TLocalDdeServer::Accept()
{
    while (QLocalSocket* client = m_server->nextPendingConnection()) {
        m_advised[client];
        connect(client, &QLocalSocket::readyRead, this, [this, client] { Handle(client); });
        connect(client, &QLocalSocket::disconnected, this, [this, client] {
            m_advised.erase(client);
            client->deleteLater();
        });
        Handle(client); // what came with the connection
    }
}

void TLocalDdeServer::Handle(QLocalSocket* client)
{
    while (client->canReadLine()) {
        const QByteArray line = client->readLine(kMaxLine).trimmed();
        const QStringList fields = Fields(line);
        if (fields.size() == 2 && fields[0] == QLatin1String("ADVISE")) {
            m_advised[client].insert(fields[1].toUpper());
            Tell(client, fields[1]);
        } else if (fields.size() == 3 && fields[0] == QLatin1String("POKE")) {
            if (HasItem(fields[1]))
                SetItem(fields[1], fields[2]);
        }
    }
    if (client->bytesAvailable() > kMaxLine)
        client->abort(); // no line of ours ever gets that long
}

void TLocalDdeServer::Tell(QLocalSocket* client, const QString& item)
{
    const auto it = m_items.find(item.toUpper());
    if (it != m_items.end())
        client->write(Line({QStringLiteral("DATA"), item, it->second}));
}

void TLocalDdeServer::SetItem(const QString& item, const QString& text)
{
    QString& stored = m_items[item.toUpper()];
    stored = text;
    for (auto& [client, items] : m_advised)
        if (items.count(item.toUpper()))
            Tell(client, item);
}

void TLocalDdeServer::RemoveItem(const QString& item)
{
    m_items.erase(item.toUpper());
}

QString TLocalDdeServer::ItemText(const QString& item) const
{
    const auto it = m_items.find(item.toUpper());
    return it == m_items.end() ? QString() : it->second;
}

bool TLocalDdeServer::HasItem(const QString& item) const
{
    return m_items.count(item.toUpper()) != 0;
}

// --- Client --------------------------------------------------------------------------------------

TLocalDdeConversation::TLocalDdeConversation() = default;
TLocalDdeConversation::~TLocalDdeConversation() = default;

bool TLocalDdeConversation::Link(const QString& service, const QString& topic)
{
    Close();
    m_socket = std::make_unique<QLocalSocket>();
    m_socket->connectToServer(DdeSocketName(service, topic));
    // A local connection is made or refused at once; the bound only guards a stuck system.
    m_linked = m_socket->waitForConnected(1000);
    if (!m_linked)
        m_socket.reset();
    return m_linked;
}

bool TLocalDdeConversation::Linked()
{
    Take();
    return m_linked;
}

void TLocalDdeConversation::Advise(const QString& item)
{
    if (m_linked) {
        m_socket->write(Line({QStringLiteral("ADVISE"), item}));
        m_socket->flush();
    }
}

QString TLocalDdeConversation::ItemText(const QString& item)
{
    Take();
    const auto it = m_texts.find(item.toUpper());
    return it == m_texts.end() ? QString() : it->second;
}

bool TLocalDdeConversation::HasText(const QString& item)
{
    Take();
    return m_texts.count(item.toUpper()) != 0;
}

bool TLocalDdeConversation::Poke(const QString& item, const QString& text)
{
    Take();
    if (!m_linked || text.size() > kDdeMaxPokeText)
        return false;
    m_socket->write(Line({QStringLiteral("POKE"), item, text}));
    return m_socket->flush() || m_socket->bytesToWrite() == 0;
}

void TLocalDdeConversation::Close()
{
    m_linked = false;
    m_partial.clear();
    if (m_socket) {
        m_socket->abort();
        m_socket.reset();
    }
}

// Takes what the partner sent; notices when it has gone.
void TLocalDdeConversation::Take()
{
    if (!m_linked)
        return;
    m_socket->waitForReadyRead(0);
    m_partial += m_socket->readAll();
    qsizetype end;
    while ((end = m_partial.indexOf('\n')) >= 0) {
        const QStringList fields = Fields(m_partial.left(end));
        m_partial.remove(0, end + 1);
        if (fields.size() == 3 && fields[0] == QLatin1String("DATA"))
            m_texts[fields[1].toUpper()] = fields[2];
        else if (OnGarbage)
            OnGarbage();
    }
    if (m_partial.size() > kMaxLine) {
        m_partial.clear();
        if (OnGarbage)
            OnGarbage();
    }
    if (m_socket->state() != QLocalSocket::ConnectedState) {
        Close();
        if (OnClosed)
            OnClosed();
    }
}
