#include "editing/renaming.h"

#include "io/imported_table.h"

namespace vorn {
namespace {

// The working table of the names of kind, and every table that holds them: the working one and
// the parked ones (W is Workspace or const Workspace).
template <typename W>
auto& WorkingLabels(W& ws, NameKind kind) {
  return kind == NameKind::Individual ? ws.data.individualLabels : ws.data.locusLabels;
}

template <typename W>
auto AllLabels(W& ws, NameKind kind) {
  std::vector<decltype(&ws.data.individualLabels)> tables{&WorkingLabels(ws, kind)};
  auto& groups = ws.groups;
  if (groups.parkedIndividuals) {
    tables.push_back(kind == NameKind::Individual ? &groups.parkedIndividuals->labels : &groups.parkedIndividuals->locusLabels);
  }
  if (groups.parkedLoci) {
    tables.push_back(kind == NameKind::Individual ? &groups.parkedLoci->individualLabels : &groups.parkedLoci->labels);
  }
  return tables;
}

void Replace(LabelTable& labels, std::string_view from, const std::string& to) {
  std::vector<std::string> names = labels.All();
  for (std::string& name : names) {
    if (name == from) name = to;
  }
  labels = LabelTable(std::move(names));
}

}  // namespace

std::string_view KindWord(NameKind kind) { return kind == NameKind::Individual ? "individual" : "locus"; }

Result<std::string> CheckNewName(const Workspace& ws, NameKind kind, std::string_view from, std::string_view text) {
  const std::string word(KindWord(kind));
  if (WorkingLabels(ws, kind).Find(from) < 0) return Failure{"No " + word + " is named '" + std::string(from) + "'."};
  const std::string cleaned = ImportedName(text);
  if (cleaned.empty()) return Failure{"The new name of " + word + " '" + std::string(from) + "' is empty."};
  const std::string name = CutLabel(cleaned);
  if (name == from) return name;
  for (const LabelTable* labels : AllLabels(ws, kind)) {
    if (labels->Find(name) >= 0) {
      const std::string shown = cleaned == name ? "'" + name + "'" : "'" + cleaned + "' (cut to 20 characters: '" + name + "')";
      return Failure{"The name " + shown + " is already the name of another " + word + "."};
    }
  }
  return name;
}

Result<std::string> Rename(Workspace& ws, NameKind kind, std::string_view from, std::string_view text) {
  Result<std::string> name = CheckNewName(ws, kind, from, text);
  if (!name || *name == from) return name;
  const std::string old(from);  // from may be one of the labels replaced below
  for (LabelTable* labels : AllLabels(ws, kind)) Replace(*labels, old, *name);
  for (GroupEntry& entry : kind == NameKind::Individual ? ws.groups.groups : ws.groups.locusSets) {
    for (std::string& member : entry.members) {
      if (member == old) member = *name;
    }
  }
  auto& points = ws.coordinates.points;
  if (const auto point = points.find(old); kind == NameKind::Individual && point != points.end()) {
    const CoordinatePoint kept = point->second;
    points.erase(point);
    points.emplace(*name, kept);
  }
  return name;
}

}  // namespace vorn
