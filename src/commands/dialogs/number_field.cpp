#include "commands/dialogs/number_field.h"

#include <algorithm>
#include <cmath>

#include "core/number_format.h"
#include "core/number_input.h"

namespace vorn {
namespace {

// A whole number with all its digits (1000000, not 1e+06), any other as short as it reads back.
std::string NumberText(double x) {
  return x == std::floor(x) && std::fabs(x) < 1e15 ? std::to_string(static_cast<long long>(x)) : FormatShortest(x);
}

}  // namespace

std::string Range(const NumberField& field) { return NumberText(field.low) + " to " + NumberText(field.high); }

Control Field(const NumberField& field, double value) {
  // A whole number is typed as digits, in a field six digits wide at least so that the number
  // fields of a dialog line up.
  const int digits = field.whole ? std::max(6, static_cast<int>(NumberText(field.high).size())) : 0;
  Control control = TextFieldControl(field.key, std::string(field.caption) + " (" + Range(field) + ")", digits,
                                     field.whole && field.low >= 0);
  control.text = NumberText(value);
  return control;
}

std::optional<Real> FieldValue(const DialogForm& form, const NumberField& field) {
  const auto value = ParseReal(form[field.key].text);
  if (!value || *value < field.low || *value > field.high || (field.whole && *value != std::floor(*value))) {
    return std::nullopt;
  }
  return value;
}

std::optional<Real> RealNumber(Session& session, const DialogForm& form, const NumberField& field) {
  const std::string& text = form[field.key].text;
  const auto value = FieldValue(form, field);
  if (!value) {
    session.ErrorBox(std::string(field.name) + " (" + field.key + ") must be " +
                     (field.whole ? "a whole number" : "a number") + " from " + Range(field) + ", not \"" + text +
                     "\".");
    return std::nullopt;
  }
  return value;
}

std::optional<std::size_t> Number(Session& session, const DialogForm& form, const NumberField& field) {
  const auto value = RealNumber(session, form, field);
  if (!value) return std::nullopt;
  return static_cast<std::size_t>(*value);
}

}  // namespace vorn
