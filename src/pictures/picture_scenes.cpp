#include "pictures/picture_scenes.h"

#include "groups/group_model.h"
#include "trees/midpoint_root.h"
#include "trees/tree_text.h"

namespace vorn {

std::size_t GroupLevels(const GroupList& groups) {
  const std::size_t count = LevelCount(groups);
  return count > 0 ? count - 1 : 0;
}

Result<std::vector<std::string>> ReadTreeFile(const std::string& fileName) {
  auto lines = ReadTreeList(fileName);
  if (lines && lines->empty()) return Failure{"The file " + fileName + " holds no tree."};
  return lines;
}

Result<TreeScene> MakeTreeScene(const std::vector<std::string>& lines, std::size_t number, const std::string& fileName,
                                const GroupList& groups, std::size_t level, TreeRooting rooting) {
  if (number < 1 || number > lines.size()) {
    return Failure{"The file " + fileName + " holds " + std::to_string(lines.size()) + " trees; there is no tree " +
                   std::to_string(number) + "."};
  }
  const auto refusal = [&](const std::string& why) { return Failure{"Tree " + std::to_string(number) + " of " + fileName + ": " + why}; };
  auto tree = ReadNewick(lines[number - 1]);
  if (!tree) return refusal(tree.error());
  std::string note;
  bool rooted = false;
  if (rooting == TreeRooting::Midpoint) {
    auto midpointRooted = RootAtMidpoint(*tree);
    rooted = midpointRooted.ok();
    if (rooted) tree = std::move(*midpointRooted);
    else note = "Tree " + std::to_string(number) + " of " + fileName + " is drawn as written. " + midpointRooted.error();
  }
  auto layout = LayOutTree(*tree);
  if (!layout) return refusal(layout.error());
  TreeScene scene;
  scene.layout = std::move(*layout);
  scene.colouring = GroupColouring(groups, level);
  scene.title = fileName + ": tree " + std::to_string(number) + " of " + std::to_string(lines.size());
  if (!tree->Root().name.empty()) scene.title += ", " + tree->Root().name;
  if (rooted) scene.title += ", rooted at its midpoint";
  scene.note = std::move(note);
  scene.tree = std::move(*tree);
  return scene;
}

Result<PcoaScene> MakePcoaScene(const Ordination& result, std::size_t xAxis, std::size_t yAxis, const GroupList& groups,
                                std::size_t level) {
  const GroupColouring colouring(groups, level);
  auto layout = LayOutPcoa(result, xAxis, yAxis, colouring);
  if (!layout) return Failure{layout.error()};
  return PcoaScene{std::move(*layout), colouring.Names(), false};
}

}  // namespace vorn
