// SHA-256 (FIPS 180-4) of a file's bytes, written as 64 lower-case hexadecimal digits: what a
// report names a data file by, so that a reader can tell whether they hold the same file.
#pragma once

#include <string>
#include <string_view>

#include "core/result.h"

namespace vorn {

std::string Sha256Hex(std::string_view bytes);

// The digest of the file's bytes; a failure names the file when it cannot be read.
Result<std::string> FileSha256(const std::string& path);

}  // namespace vorn
