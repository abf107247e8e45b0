// The one message a second copy sends the running copy over the single-
// instance socket: "raise" or "raise TOKEN", one line, where TOKEN is the
// activation token the desktop gave the second copy's start.
#pragma once

#include <QByteArray>
#include <QString>

namespace kelvarok {

// The most a running copy reads of one message: a longer token is unfit
// anyway, and a client that never ends its line cannot make it read more.
constexpr qsizetype kLongestRaiseRequest = 528;

// The message that asks the running copy to come to the front, with the
// token when it is fit to pass on.
QByteArray RaiseRequest(const QString& activationToken);

// The token of a message as the running copy received it (at most
// kLongestRaiseRequest bytes): empty when it carries none, or one that is not
// a short printable word (at most 512 characters), which is never passed on.
QString TokenOfRaiseRequest(const QByteArray& message);

}  // namespace kelvarok
