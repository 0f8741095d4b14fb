#include "commands/dialogs/question_box.h"

namespace vorn {

TQBox::TQBox() : ModalDialog("Question") {
  form.Add(LabelControl("text1", ""));
  form.Add(LabelControl("text2", ""));
  form.Add(TextFieldControl("value", ""));
  form.Add(LabelControl("text3", ""));
}

bool TQBox::Query(Host& host, const std::string& caption, const std::string& text1, const std::string& text2,
                  std::string& value, const std::string& text3) {
  form.SetCaption(caption);
  form["text1"].caption = text1;
  form["text2"].caption = text2;
  form["text3"].caption = text3;
  form["value"].text = value;
  const bool accepted = ShowModal(host);
  value = form["value"].text;
  return accepted;
}

}  // namespace vorn
