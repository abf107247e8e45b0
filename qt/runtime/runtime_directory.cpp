#include "qt/runtime/runtime_directory.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <string>

namespace kelvarok {
namespace {

bool IsSet(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

bool IsPrivateDirectoryOfUser(const std::string& path, uid_t user) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == user &&
         (info.st_mode & 0777) == 0700;
}

}  // namespace

void ProvideRuntimeDirectory() {
  if (IsSet("XDG_RUNTIME_DIR")) return;
  const uid_t user = ::getuid();
  const passwd* account = ::getpwuid(user);
  if (account == nullptr) return;
  std::string temp = IsSet("TMPDIR") ? std::getenv("TMPDIR") : "/tmp";
  while (temp.size() > 1 && temp.back() == '/') temp.pop_back();
  const std::string directory = temp + "/runtime-" + account->pw_name;
  if (::mkdir(directory.c_str(), 0700) != 0 && errno != EEXIST) return;
  if (IsPrivateDirectoryOfUser(directory, user)) ::setenv("XDG_RUNTIME_DIR", directory.c_str(), 1);
}

}  // namespace kelvarok
