// Filling a settings dialog from a script answer "key=value, key=value", and describing a
// dialog's keys and values for --help.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/dialog_form.h"
#include "core/result.h"

namespace vorn {

// Sets the named controls as a user would: radio groups and drop-downs by item key, caption or
// 1-based number; check boxes by true/false (yes/no, on/off, 1/0); fields by text within their
// mask; tick and multi-select lists by items joined with "|". A value may be written in double
// quotes to keep a comma or spaces. A key given twice is refused.
Status ApplyDialogAnswer(DialogForm& form, std::string_view answer);

// Marks the items named in value, joined with "|" (every other item unmarked; "" marks none).
// Fails on a name that is not an item of the list called listName.
Result<std::vector<bool>> MarkItems(const std::vector<std::string>& items, std::string_view value,
                                    std::string_view listName);

// One line per visible control: its key, kind and the values it takes.
std::string DescribeDialog(const DialogForm& form);

}  // namespace vorn
