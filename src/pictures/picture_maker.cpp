#include "pictures/picture_maker.h"

namespace vorn {

std::optional<std::string> ChoosePictureFile(Host& host, const std::string& title, const std::string& initialName) {
  FileDialogOptions options;
  options.title = title;
  options.filter = "SVG Pictures (*.svg)|*.svg|PNG Pictures (*.png)|*.png";
  options.initialName = initialName;
  options.confirmOverwrite = true;
  return host.ChooseSaveFile(options);
}

}  // namespace vorn
