#include "io/group_blocks.h"

#include "core/text_encoding.h"
#include "groups/group_model.h"
#include "io/written_names.h"

namespace vorn {
namespace {

std::string WithoutSpaces(const std::string& line) {
  std::string kept;
  for (char c : line) {
    if (c != ' ' && c != '\t') kept += c;
  }
  return kept;
}

// A member name as the block can hold it; cleaned is set when a character was dropped.
std::string BlockMember(const std::string& member, bool& cleaned) {
  std::string kept;
  for (char c : member) {
    if (c == ',' || c == ';' || c == '=') cleaned = true;
    else kept += c;
  }
  return kept;
}

Failure ReadError(GroupBlock block, const char* number) {
  return Failure{"Cannot read " + std::string(BlockHeader(block)) + " block(" + number + ")"};
}

// The list is full: its active index could not reach another entry.
Failure TooManyEntries(GroupBlock block) {
  const std::string limit = std::to_string(kMaxListEntries);
  const char* entries = block == GroupBlock::Groups ? " groups" : " locus sets";
  return Failure{"The " + std::string(BlockHeader(block)) + " block holds more than " + limit + entries +
                 "; at most " + limit + " can be kept."};
}

std::vector<std::string> SplitMembers(const std::string& text) {
  std::vector<std::string> members;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    members.push_back(CutLabel(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
    if (comma == std::string::npos) return members;
    start = comma + 1;
  }
}

}  // namespace

std::string_view BlockHeader(GroupBlock block) { return block == GroupBlock::Groups ? "[Groups]" : "[LocusSets]"; }

std::string_view CleanedMembersMessage(GroupBlock block) {
  return block == GroupBlock::Groups
             ? "One or more individual names contained one of the characters \",\" or \";\" or \"=\", which have been "
               "removed."
             : "One or more locus names contained one of the characters \",\" or \";\" or \"=\", which have been "
               "removed.";
}

Status CheckWritableBlock(const GroupList& list, GroupBlock block, const LabelTable& labels) {
  const std::string kind = block == GroupBlock::Groups ? "group" : "locus set";
  const std::string memberKind = block == GroupBlock::Groups ? "individual" : "locus";
  const std::string remedy = "; please delete the " + kind + " in the Group Manager or untick \"Include Groups\"" +
                             std::string(kCouldNotBeReadAgain);
  for (std::size_t index = 1; index < list.size(); ++index) {
    const GroupEntry& entry = list[index];
    std::string_view fault = NameFault(entry.name, false);
    if (fault.empty() && entry.name.find('=') != std::string::npos) fault = "contains \"=\"";
    if (!fault.empty()) {
      return Failure{"The " + kind + " name " + QuotedName(entry.name) + " " + std::string(fault) + remedy};
    }
    const std::string named = "The " + kind + " " + QuotedName(entry.name);
    if (entry.members.empty()) return Failure{named + " has no members" + remedy};
    for (const std::string& member : entry.members) {
      bool cleaned = false;
      const std::string written = BlockMember(member, cleaned);
      const long label = cleaned ? labels.Find(member) : -1;
      if (label >= 0) {
        return Failure{"The " + memberKind + " " + QuotedName(member) + " (" + memberKind + " " +
                       std::to_string(label + 1) + "), a member of the " + kind + " " + QuotedName(entry.name) +
                       ", contains \",\" \";\" or \"=\", which the " + std::string(BlockHeader(block)) +
                       " block cannot hold" + remedy};
      }
      fault = NameFault(written, true);
      if (fault.empty()) continue;
      const std::string which = cleaned ? ", which, once \",\" \";\" and \"=\" are removed, " : ", which ";
      return Failure{named + " has the member " + QuotedName(member) + which + std::string(fault) + remedy};
    }
  }
  return Success();
}

bool WriteBlock(TextFileWriter& file, const GroupList& list, GroupBlock block) {
  if (list.size() <= 1) return false;
  file.Line();
  file.Line(BlockHeader(block));
  bool cleaned = false;
  for (std::size_t index = 1; index < list.size(); ++index) {
    const GroupEntry& entry = list[index];
    file.Write(entry.name + "= ");
    for (std::size_t m = 0; m < entry.members.size(); ++m) {
      if (m > 0) file.Write(", ");
      file.Write(BlockMember(entry.members[m], cleaned));
    }
    file.Line(";");
  }
  file.Line("*");
  return cleaned;
}

Status ReadBlock(const std::string& path, GroupBlock block, const DataMatrix& data, GroupList& list,
                 std::vector<RepeatedMember>* repeated) {
  std::vector<RepeatedMember> untold;
  auto reader = LineReader::Open(path);
  if (!reader) return Failure{"Input file error"};
  std::string line;
  bool found = false;
  while (!found && reader->Next(line)) found = WithoutSpaces(line) == BlockHeader(block);
  if (reader->Failed()) return Failure{"Input file error"};
  if (!found) return Success();

  const Status implicit = block == GroupBlock::Groups ? BuildAllData(data, list) : BuildAllLoci(data, list);
  if (!implicit) return implicit;
  while (reader->Next(line)) {
    line = WithoutSpaces(line);
    if (line == "*") return Success();
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos || equals == 0 || equals + 1 == line.size()) return ReadError(block, "1");
    const std::size_t semicolon = line.find(';', equals + 1);
    if (semicolon == std::string::npos || semicolon == equals + 1) return ReadError(block, "2");
    if (list.size() > kMaxListEntries) return TooManyEntries(block);
    list.push_back(GroupEntry{DisplayText(line.substr(0, equals)), SplitMembers(line.substr(equals + 1, semicolon - equals - 1)), false});
    KeepEachMemberOnce(list.back(), repeated ? *repeated : untold);
  }
  if (reader->Failed()) return Failure{"Input file error"};
  return Success();
}

}  // namespace vorn
