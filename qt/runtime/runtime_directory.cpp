#include "qt/runtime/runtime_directory.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>

namespace kelvarok {
namespace {

bool IsSet(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

bool IsPrivateDirectoryOfUser(const std::string& path, uid_t user) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == user &&
         (info.st_mode & 077) == 0;
}

// Makes the directory when it is missing; true when it is the user's own.
bool MadePrivate(const std::string& path, uid_t user) {
  if (path.empty() || (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)) return false;
  return IsPrivateDirectoryOfUser(path, user);
}

}  // namespace

std::string OwnRuntimeDirectory() {
  const uid_t user = ::getuid();
  if (IsSet("XDG_RUNTIME_DIR") && IsPrivateDirectoryOfUser(std::getenv("XDG_RUNTIME_DIR"), user))
    return std::getenv("XDG_RUNTIME_DIR");
  const passwd* account = ::getpwuid(user);
  if (account == nullptr) return {};
  const std::string temp = WithoutTrailingSlashes(IsSet("TMPDIR") ? std::getenv("TMPDIR") : "/tmp");
  const std::string shared = temp + "/runtime-" + account->pw_name;
  if (MadePrivate(shared, user)) return shared;
  // Someone else's: the user's own cache directory cannot be taken.
  std::string cache;
  if (IsSet("XDG_CACHE_HOME") && std::getenv("XDG_CACHE_HOME")[0] == '/') {
    cache = WithoutTrailingSlashes(std::getenv("XDG_CACHE_HOME"));
  } else if (account->pw_dir != nullptr && account->pw_dir[0] == '/') {
    cache = WithoutTrailingSlashes(account->pw_dir) + "/.cache";
  } else {
    return {};
  }
  ::mkdir(cache.c_str(), 0700);
  const std::string own = cache + "/kelvarok-runtime";
  return MadePrivate(own, user) ? own : std::string();
}

void ProvideRuntimeDirectory() {
  if (IsSet("XDG_RUNTIME_DIR")) return;
  const std::string directory = OwnRuntimeDirectory();
  if (!directory.empty()) ::setenv("XDG_RUNTIME_DIR", directory.c_str(), 1);
}

}  // namespace kelvarok
