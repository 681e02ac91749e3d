#pragma once
// The head of an HTTP request, read with fixed limits, and the small pieces of its target
// the web server needs: the decoded path, query values, and the file a /TempFiles/ address
// names inside the data folder.

#include "frontpanel/web/WebProtocol.h"

#include <QByteArray>
#include <QString>

// Limits on a request head and on its target (the target holds a click's or a form's request).
inline constexpr qsizetype kHttpLongestHead = 8192;
inline constexpr qsizetype kHttpLongestTarget = kWebLongestRequest;

struct THttpRequest {
    QByteArray Method;  // "GET", "HEAD", ...
    QByteArray Path;    // the target up to "?", still percent-encoded
    QByteArray Query;   // the target after "?", still percent-encoded
};

enum class THttpParse { Incomplete, Complete, Bad, TooLarge, TargetTooLong };

// Parses the request head at the start of the buffer (request line and header lines up to
// the empty line). Incomplete while the empty line has not arrived and the head is within
// its limit; TargetTooLong for a well-formed request line whose target is over its limit.
THttpParse ParseHttpRequest(const QByteArray& buffer, THttpRequest& request);

// The decoded value of a query key ("+" is a blank); empty when missing.
QString HttpQueryValue(const QByteArray& query, const QString& key);

// The file that a decoded path "/TempFiles/<name>" names in <dataFolder>/TempFiles; empty
// when the name is not a plain file name there or the file does not exist.
QString ResolveTempFile(const QString& dataFolder, const QByteArray& path);

// The content type by the file's extension.
QByteArray ContentTypeOf(const QString& fileName);
