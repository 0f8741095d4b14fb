#include "pictures/picture_maker.h"

namespace vorn {

std::optional<std::string> ChoosePictureFile(Host& host, const std::string& title, const std::string& initialName) {
  const FileDialogOptions options =
      SaveFileOptions(title, "SVG Pictures (*.svg)|*.svg|PNG Pictures (*.png)|*.png", initialName);
  return host.ChooseSaveFile(options);
}

}  // namespace vorn
