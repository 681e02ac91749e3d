#pragma once
// DDE between program instances: a server publishes named items with texts under a service
// and a topic, a client conversation links to a service and topic, is advised of item texts
// and pokes texts into items. This system has no DDE of its own; the conversations run over
// local sockets between instances of this program (one socket per service and topic, in the
// user's temporary folder), so programs of other makers are not reached.
//
// Everything runs in the GUI thread: the server answers when the event loop runs (the
// simulation lets it run between steps), and a client takes what has arrived when asked.

#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <set>

class QLocalServer;
class QLocalSocket;

// The program's DDE service name: its executable's name without extension, in capitals.
QString DdeServiceName();
// Gives the program another service name (tests, which run side by side); empty restores it.
void SetDdeServiceName(const QString& name);

// The longest text a poke carries (a longer one is refused).
inline constexpr qsizetype kDdeMaxPokeText = 100000;

// The items this program serves under a topic.
class IDdeServer {
public:
    virtual ~IDdeServer() = default;
    // Creates or changes an item; linked clients advised of it get the new text.
    virtual void SetItem(const QString& item, const QString& text) = 0;
    virtual void RemoveItem(const QString& item) = 0;
    // Empty for an item that does not exist.
    virtual QString ItemText(const QString& item) const = 0;
    virtual bool HasItem(const QString& item) const = 0;
};

// One client conversation with another program's service and topic.
class IDdeConversation {
public:
    virtual ~IDdeConversation() = default;
    // Links to the partner; false when there is none.
    virtual bool Link(const QString& service, const QString& topic) = 0;
    virtual bool Linked() = 0;
    // Asks to be told the item's text now and whenever it changes.
    virtual void Advise(const QString& item) = 0;
    // The item's last text the partner told (empty before the first).
    virtual QString ItemText(const QString& item) = 0;
    // Whether the partner told a text of the item yet.
    virtual bool HasText(const QString& item) = 0;
    // Sends a text into the partner's item; false when not linked or the text is longer
    // than kDdeMaxPokeText.
    virtual bool Poke(const QString& item, const QString& text) = 0;
    virtual void Close() = 0;
    // Called when the partner ends the conversation.
    std::function<void()> OnClosed;
    // Called for each message of the partner that is no item text (it is dropped).
    std::function<void()> OnGarbage;
};

// The local-socket server of one service and topic.
class TLocalDdeServer final : public QObject, public IDdeServer {
public:
    // Starts serving; another live instance holding the same service and topic keeps them
    // (Serving() is then false).
    TLocalDdeServer(const QString& service, const QString& topic);
    ~TLocalDdeServer() override;
    bool Serving() const;

    void SetItem(const QString& item, const QString& text) override;
    void RemoveItem(const QString& item) override;
    QString ItemText(const QString& item) const override;
    bool HasItem(const QString& item) const override;

private:
    void Accept();
    void Handle(QLocalSocket* client);
    void Tell(QLocalSocket* client, const QString& item);

    std::unique_ptr<QLocalServer> m_server;
    std::map<QString, QString> m_items;                    // by the item's name in capitals
    std::map<QLocalSocket*, std::set<QString>> m_advised; // per client
};

// The local-socket client conversation.
class TLocalDdeConversation final : public IDdeConversation {
public:
    TLocalDdeConversation();
    ~TLocalDdeConversation() override;
    bool Link(const QString& service, const QString& topic) override;
    bool Linked() override;
    void Advise(const QString& item) override;
    QString ItemText(const QString& item) override;
    bool HasText(const QString& item) override;
    bool Poke(const QString& item, const QString& text) override;
    void Close() override;

private:
    void Take();
    std::unique_ptr<QLocalSocket> m_socket;
    std::map<QString, QString> m_texts; // by the item's name in capitals
    QByteArray m_partial;
    bool m_linked = false;
};

// The socket name of a service and topic (compared without regard to case).
QString DdeSocketName(const QString& service, const QString& topic);
