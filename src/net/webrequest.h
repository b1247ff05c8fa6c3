#pragma once

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QString>
#include <QUrl>

// What the program's web fetches share: where they may go and which redirects they follow.

// http and https only: Qt would also read file: and data: addresses.
bool isWebAddress(const QUrl &url);

// A GET of `url` whose redirects are left to the caller (Qt's own policy follows 303 to 308 too).
QNetworkRequest webRequest(const QUrl &url);

// Qt reports an HTTP error status as an error of the reply; such a reply still carries a body,
// unlike a failure to reach the server or to read the whole reply.
bool isErrorStatus(QNetworkReply::NetworkError error);

// What a finished reply's status asks for: 300, 301 and 302 lead on to another web address, at
// most `maxRedirects` times in all; any other status is the answer itself.
struct RedirectStep
{
    enum Kind { Answer, Follow, Refuse } kind = Answer;
    QUrl target;   // Follow
    QString error; // Refuse
};
RedirectStep redirectStep(const QNetworkReply &reply, int redirectsSoFar, int maxRedirects);
