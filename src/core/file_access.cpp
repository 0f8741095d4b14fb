#include "core/file_access.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace vorn {

FileUser FileUser::Current() {
  FileUser user{::getuid(), ::getgid(), {}};
  const int count = ::getgroups(0, nullptr);
  if (count > 0) {
    user.groups.resize(static_cast<std::size_t>(count));
    user.groups.resize(static_cast<std::size_t>(std::max(0, ::getgroups(count, user.groups.data()))));
  }
  return user;
}

bool MayWriteInPlace(uid_t owner, gid_t group, mode_t mode, const FileUser& user) {
  if (user.uid == 0) return true;
  if (owner == user.uid) return (mode & S_IWUSR) != 0;
  const bool inGroup = group == user.gid || std::find(user.groups.begin(), user.groups.end(), group) != user.groups.end();
  if (inGroup) return (mode & S_IWGRP) != 0;
  return (mode & S_IWOTH) != 0;
}

}  // namespace vorn
