// The numeric fields of the settings dialogs: each field knows its key, its caption (shown with
// the range), its name in messages and the numbers it accepts, so that a refused number gets a
// box naming the field, its range and what was typed.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "core/conventions.h"
#include "core/dialog_form.h"
#include "core/session.h"

namespace vorn {

struct NumberField {
  const char* key;
  const char* caption;
  const char* name;  // as a message starts: "The group level"
  double low;
  double high;
  bool whole = true;  // whole numbers only, typed as digits
};

// "1 to 1000".
std::string Range(const NumberField& field);

// The field's text control holding value, its caption ending with the range.
Control Field(const NumberField& field, double value);

// The field's number when it lies within its range (whole when it must be); nothing otherwise,
// without a box (for a preview that follows the typing).
std::optional<Real> FieldValue(const DialogForm& form, const NumberField& field);

// The field's number within its range (whole when it must be); otherwise nothing, after a box
// such as: The group level (level) must be a whole number from 1 to 1000, not "0".
std::optional<Real> RealNumber(Session& session, const DialogForm& form, const NumberField& field);
std::optional<std::size_t> Number(Session& session, const DialogForm& form, const NumberField& field);

}  // namespace vorn
