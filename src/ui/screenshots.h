// The screenshot hook (`vorn --screenshot FILE`): pictures of the main window (FILE), of each
// menu of the menu bar (FILE-menu-File.png ...), of every settings dialog in its current state
// (FILE-File_Parameter_Selection.png ...; a caption met twice gets "_2"), of the Group Manager
// (FILE-Group_Manager.png), of the tree viewer and the PCoA plot windows (FILE-Tree_Viewer.png,
// FILE-PCoA_Plot.png) and of the About box,
// so that a test or a reviewer can look at the window without using it.
#pragma once

#include <ostream>
#include <string>

namespace vorn::ui {

class Desktop;

// Saves the pictures as PNG and names each saved file on log; false when one could not be saved.
bool SaveScreenshots(Desktop& desktop, const std::string& path, std::ostream& log);

// FILE with a caption added before its extension: ("shot.png", "File Parameter Selection")
// -> "shot-File_Parameter_Selection.png".
std::string ScreenshotName(const std::string& path, const std::string& caption);

}  // namespace vorn::ui
