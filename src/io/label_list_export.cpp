#include "io/label_list_export.h"

namespace vorn {

void WriteLabelLines(TextFileWriter& file, const LabelTable& labels, bool counted) {
  if (counted) file.Line(std::to_string(labels.Count()));
  for (const std::string& label : labels.All()) file.Line(label);
}

Status WriteOtuList(const std::string& path, const DataMatrix& matrix) {
  if (matrix.individualLabels.Empty()) return Failure{kNoOtuNames};
  return ReplaceFileWhole(path, [&](TextFileWriter& file) {
    WriteLabelLines(file, matrix.individualLabels, false);
    return Success();
  });
}

}  // namespace vorn
