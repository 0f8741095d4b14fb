#include "core/program_folder.h"

#include <filesystem>
#include <system_error>

namespace vorn {

std::string ProgramFolder() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error || !program.has_parent_path()) return ".";
  return program.parent_path().string();
}

std::string InstalledFile(const std::string& name) {
  const std::string beside = ProgramFolder() + "/" + name;
  std::error_code error;
  if (std::filesystem::exists(beside, error)) return beside;
  // VORN_DATA_FROM_PROGRAM is the data folder relative to the program's folder, e.g. "../share/vorn".
  const std::filesystem::path installed =
      (std::filesystem::path(ProgramFolder()) / VORN_DATA_FROM_PROGRAM / name).lexically_normal();
  if (std::filesystem::exists(installed, error)) return installed.string();
  return beside;
}

}  // namespace vorn
