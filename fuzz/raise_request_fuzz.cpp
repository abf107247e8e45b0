// Fuzzes the single-instance message: the input is what a client sends the
// running copy, and, read as a token, what a second copy hands over. The
// running copy passes on only a short printable word, and a fit token sent
// by a second copy arrives unchanged.
#include <cstddef>
#include <cstdint>

#include "app/raise_request.h"
#include "fuzz/fuzz_check.h"

namespace {

using namespace kelvarok;
using fuzz::Check;

bool IsFitToken(const QString& token) {
  if (token.size() > 512) return false;
  for (const QChar c : token)
    if (c.unicode() <= ' ' || c.unicode() > '~') return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString received = TokenOfRaiseRequest(bytes.left(kLongestRaiseRequest));
  Check(IsFitToken(received), "only a short printable word is passed on");

  const QString sent = QString::fromLatin1(bytes);
  const QByteArray message = RaiseRequest(sent);
  Check(message.endsWith('\n') && message.count('\n') == 1, "one line");
  Check(message.size() <= kLongestRaiseRequest, "a message the running copy reads whole");
  const QString arrived = TokenOfRaiseRequest(message);
  Check(arrived == (IsFitToken(sent) ? sent : QString()), "a fit token arrives unchanged");
  return 0;
}
