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

// Opens for reading the file that a path "/TempFiles/<name>" names in <dataFolder>/TempFiles:
// the name must be a plain file name, the file is opened first (a symbolic link as the last
// part is not followed) and then the opened file itself is checked: a regular file whose real
// place lies inside that folder. Nothing swapped in between a check and the opening is served.
// Returns the open descriptor (the caller closes it) with its name in *fileName, or -1.
int OpenTempFile(const QString& dataFolder, const QByteArray& path, QString* fileName = nullptr);

// The content type by the file's extension.
QByteArray ContentTypeOf(const QString& fileName);
