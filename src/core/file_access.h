// Whether the user may write a file in place. Renaming a new file over an old one needs only the
// folder's permission, so the all-or-nothing writer asks this of every file it replaces.
#pragma once

#include <sys/types.h>

#include <vector>

namespace vorn {

// The user a file is written for: the real user and group ids and the supplementary groups, as
// the system's access check takes them.
struct FileUser {
  uid_t uid = 0;
  gid_t gid = 0;
  std::vector<gid_t> groups;

  static FileUser Current();
};

// Whether user could write a file of this owner, group and mode in place: the superuser always;
// otherwise the owner's, the group's or the others' write bit, whichever class the user falls in.
bool MayWriteInPlace(uid_t owner, gid_t group, mode_t mode, const FileUser& user);

}  // namespace vorn
