#pragma once
// How the front panel and its web-server program know each other. Both read one secret from a
// file that only the user can read (created by whichever of them needs it first), and each
// proves to the other that it knows the secret before anything else crosses the link:
//
//   server: "Hello? <server nonce>"
//   panel:  "Hello! <panel nonce> <panel proof>"     the server drops a panel that fails
//   server: "Hello. <server proof>"                  the panel drops a server that fails
//
// A proof is the HMAC-SHA256 of the role and both nonces under the secret, in hexadecimal, so
// neither side can pass on what the other sent. Qt Core only: the server program builds it too.

#include <QByteArray>
#include <QString>

// The folder the pictures of the published pages go to (its "TempFiles" subfolder) and the
// secret lives in: the user's data folder + "TvWebServer10", ending in '/'.
QString DefaultWebDataFolder();
// The secret's file in a data folder.
QString WebLinkSecretFile(const QString& dataFolder);

enum class TWebSecretFault {
    None,
    CannotCreate,  // the file (or its folder) cannot be made
    CannotRead,    // it cannot be read, or holds no secret
    Unsafe,        // not a plain file of the user's, or others may read or change it
};

// Reads the secret from fileName, or creates the file (owner-only, in an owner-only folder)
// with a new random secret when it does not exist. On a fault the secret stays empty and
// *reason gets the system's word for it, where there is one.
TWebSecretFault LoadOrCreateWebLinkSecret(const QString& fileName, QByteArray* secret,
                                          QString* reason = nullptr);

enum class TWebLinkRole { Server, Panel };

// A fresh random nonce (hexadecimal).
QByteArray NewWebLinkNonce();
// The proof of the role for the two nonces under the secret.
QByteArray WebLinkProof(const QByteArray& secret, TWebLinkRole role, const QByteArray& serverNonce,
                        const QByteArray& panelNonce);
// Compares a received proof with the expected one in time that does not depend on where they
// differ.
bool SameWebLinkProof(const QByteArray& received, const QByteArray& expected);

// The handshake lines (prefixes; the values follow after a blank).
inline constexpr const char* kWebHelloServer = "Hello?";
inline constexpr const char* kWebHelloPanel = "Hello!";
inline constexpr const char* kWebHelloProof = "Hello.";
