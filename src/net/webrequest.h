#pragma once

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QString>
#include <QUrl>

// What the program's web fetches share: where they may go and which redirects they follow.

// http and https only: Qt would also read file: and data: addresses. A path with a ".."
// segment is refused too: servers resolve it to somewhere else than it seems to name.
bool isWebAddress(const QUrl &url);

// The start of a server's addresses from a host setting: "host" or "host:port" (plain http, as
// the servers have always been asked), or the same after "http://" or "https://".
QString serverAddress(const QString &hostSetting);

// A GET of `url` whose redirects are left to the caller (Qt's own policy follows 303 to 308 too).
QNetworkRequest webRequest(const QUrl &url);

// 300, 301 and 302: the redirects the program follows.
bool isFollowedRedirect(int status);

// What a finished reply leads to: a failure to reach the server or to read the whole reply ends
// the fetch; 300, 301 and 302 lead on to another web address, at most `maxRedirects` times in
// all; any other status, an error status too, is the answer itself.
struct ReplyStep
{
    enum Kind { Answer, Follow, Fail } kind = Answer;
    QUrl target;   // Follow
    QString error; // Fail
};
ReplyStep replyStep(const QNetworkReply &reply, int redirectsSoFar, int maxRedirects);

// Lets go of a reply that is no longer wanted: it stops, tells `receiver` nothing more and is
// deleted later. Nothing happens for none.
void abandonReply(QNetworkReply *reply, const QObject *receiver);
