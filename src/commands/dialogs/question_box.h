// TQBox: the generic question dialog, three lines of text and one edit line.
#pragma once

#include <string>

#include "commands/dialogs/modal_dialog.h"

namespace vorn {

class TQBox : public ModalDialog {
 public:
  TQBox();

  // Shows caption with the three texts and value in the edit line. Gives back the edited value
  // whichever button closed the dialog; true for OK.
  bool Query(Host& host, const std::string& caption, const std::string& text1, const std::string& text2,
             std::string& value, const std::string& text3);
};

}  // namespace vorn
