#pragma once

// One blocking HTTP GET for the update notice. The answer's body is the
// notice, whatever the status; only a failure without any body is described.

#include <QNetworkReply>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;

namespace UpdateCheck {

// The body as text, or a short sentence when the request failed with no body.
// Gives up after timeoutMs; user input is held back while it waits.
QString fetch(QNetworkAccessManager &network, const QUrl &url, int timeoutMs);

// The sentence shown for a failure that brought no body.
QString failureText(QNetworkReply::NetworkError error, bool timedOut);

} // namespace UpdateCheck
