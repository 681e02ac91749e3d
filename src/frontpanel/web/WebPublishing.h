#pragma once
// What the published pages share: the values the web-server program hands over (data folder,
// client number), the names of element pictures and their addresses, the query and link
// texts of element actions, and the parser of the requests that come back from the browser.

#include "frontpanel/web/WebProtocol.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <utility>
#include <vector>

struct TWebState {
    QString DataFolder;       // named by the server; pictures go to its "TempFiles" subfolder
    int32_t ClientNumber = 0; // assigned by the server; written into links and form names
    QString BaseAddress;      // prefix of page links (nothing sets it)
};
TWebState& WebState();
void ResetWebState();

// Action numbers every element knows: 1 rewrites the picture, 12 submits a form value.
inline constexpr int32_t kWebActionRefresh = 1;
inline constexpr int32_t kWebActionSubmit = 12;

// Characters per part of a request, name and value (the request as a whole is bounded by
// kWebLongestRequest).
inline constexpr int kWebRequestPartLength = 1000;

// Escapes a data text for HTML text and double-quoted attribute values.
QString HtmlText(const QString& text);

// The picture file name of a web name (no folder, no extension): ":" and path separators
// become blanks, so that a name never leaves the pictures' folder.
QString WebPictureName(const QString& webName);
// The picture's file: <data folder>/TempFiles/<picture name>.jpg.
QString WebPictureFile(const QString& webName);
// The picture's address on the published page: /TempFiles/<percent-encoded name>.jpg.
QString WebPictureUrl(const QString& webName);
class TFP_Element;
// Saves the element's picture and opens its image map: the picture that uses the map and the
// map's first line. The caller adds the areas and "</map>".
void WriteWebImageMapHead(TFP_Element& element, QStringList& lines);
// The address of any file in the pictures' folder (the help file).
QString WebTempFileUrl(const QString& fileName);
// The folder the pictures go to (empty when the server named no data folder).
QString WebTempFolder();

// One name=value pair of a request.
using TWebRequestPair = std::pair<QString, QString>;

// Splits a raw (still URL-encoded) request into names and values: at every "&", each part
// cut to begin at its first "MainModul" and to at most kWebRequestPartLength characters, then
// split at its first "=", then "+" becomes a blank and percent escapes are decoded in name and
// value apart (so that a typed "&", "=" or "+" stays in its value). A part without "=" gives
// an empty value; empty parts are skipped. A request longer than kWebLongestRequest is taken
// not at all, rather than in part.
std::vector<TWebRequestPair> ParseWebRequest(const QString& request);

// A whole number in the text, or false when it is none (a protocol field the server sent).
bool ParseWebNumber(const QString& text, int32_t& number);
