// The catalogue of exports: every format the File > Export menu writes, with the save dialog it
// opens (title, default file name, filter) and the start of the line it reports. The writers are
// one file each: nexus_export, hickory_export, arlequin_export, structure_export,
// genepop_export, ntsys_export, label_list_export (list of OTUs), syntax_export, hindex_export.
#pragma once

#include <array>
#include <string_view>

namespace vorn {

enum class ExportFormat { Nexus, Hickory, Arlequin, Structure, GenePop, GenePopByGroup, Ntsys, OtuList, Syntax, Hindex };

struct ExportDialog {
  ExportFormat format;
  std::string_view handler;      // the menu handler that runs the export
  std::string_view title;        // of the save dialog
  std::string_view defaultName;
  std::string_view filter;
  std::string_view report;       // followed by the file name
};

inline constexpr std::string_view kTextFilter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
inline constexpr std::string_view kExportTitle = "Select File To Export To...";

inline constexpr std::array<ExportDialog, 10> kExports{{
    {ExportFormat::Nexus, "Nexus1Click", kExportTitle, "export.nex", "Nexus Files (*.nex)|*.nex|All Files (*.*)|*.*",
     "Data exported to nexus file "},
    {ExportFormat::Hickory, "HickoryNexusAllelesBlocK91Click", kExportTitle, "export_alleles.nex",
     "Nexus Files (*.nex)|*.nex|All Files (*.*)|*.*", "Data exported to Nexus (ALLELES block) file "},
    {ExportFormat::Arlequin, "ArlequinProject1Click", "Select File To Export Arlequin Data To...", "export.arp",
     "Arlequin Project Files (*.arp)|*.arp|All Files (*.*)|*.*", "Exported Arlequin Project file "},
    {ExportFormat::Structure, "Structure1Click", kExportTitle, "export_structure.txt", kTextFilter,
     "Data exported to structure file "},
    {ExportFormat::GenePop, "GenePop1Click", kExportTitle, "export_genepop.txt", kTextFilter,
     "Data exported to GenePop file "},
    {ExportFormat::GenePopByGroup, "GenePopByGroup1Click", kExportTitle, "export_genepop.txt", kTextFilter,
     "Data exported to GenePop file "},
    {ExportFormat::Ntsys, "NTSyspc1Click", kExportTitle, "export.nts",
     "NTSYSpc Files (*.nts)|*.nts|Text Files (*.txt)|*.txt|All Files (*.*)|*.*", "Data exported to NTSYSpc file "},
    {ExportFormat::OtuList, "ListofOTUs1Click", "Select File To Export OTU-List To...", "otulist.txt", kTextFilter,
     "Exported list of OTU names to file "},
    {ExportFormat::Syntax, "SynTax1Click", "Select File To Export SynTax Data To...", "syntax.txt", kTextFilter,
     "Exported SynTax data to "},
    {ExportFormat::Hindex, "hindex1Click", "Select Base File Name To Export Hindex Data To...", "export_hindex.txt",
     kTextFilter, "EXPERIMENTAL - Exported Hindex files to "},
}};

// The report after a SynTax export ends with this, after the file name.
inline constexpr std::string_view kSyntaxReportEnd = ". Label files also written.";
// The report after a hindex export ends with this, after the file name.
inline constexpr std::string_view kHindexReportEnd = " plus \"_indiv\"/\"_parents\" suffixes";

}  // namespace vorn
