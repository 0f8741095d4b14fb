// The filters of the file dialogs that more than one command or dialog shows, in the host's
// format "Description (*.ext)|*.ext|All Files (*.*)|*.*".
#pragma once

namespace vorn {

inline constexpr const char* kTextFilter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
inline constexpr const char* kTreeOrAnyFilter = "Phylip/Newick Tree File (*.ph)|*.ph|All Files (*.*)|*.*";
inline constexpr const char* kCsvFilter = "CSV Files (*.csv)|*.csv|All Files (*.*)|*.*";
inline constexpr const char* kNexusFilter = "Nexus Files (*.nex)|*.nex|All Files (*.*)|*.*";

}  // namespace vorn
