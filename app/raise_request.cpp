#include "app/raise_request.h"

#include <QList>

namespace kelvarok {
namespace {

constexpr qsizetype kLongestToken = 512;

QString FitToken(const QByteArray& text) {
  if (text.isEmpty() || text.size() > kLongestToken) return {};
  for (const char c : text)
    if (c <= ' ' || c > '~') return {};
  return QString::fromLatin1(text);
}

}  // namespace

QByteArray RaiseRequest(const QString& activationToken) {
  QByteArray message = "raise";
  const QString token = FitToken(activationToken.toLatin1());
  if (!token.isEmpty()) message += ' ' + token.toLatin1();
  return message + '\n';
}

QString TokenOfRaiseRequest(const QByteArray& message) {
  const QList<QByteArray> words = message.simplified().split(' ');
  return FitToken(words.size() == 2 ? words[1] : QByteArray());
}

}  // namespace kelvarok
