// The main menu: every menu, submenu, caption and separator in order, with the name of the
// handler each command runs. Hosts render it; captions carry "&" before the accelerator letter.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorn {

struct MenuItem {
  std::string caption;           // "-" for a separator
  std::string handler;           // "" for a submenu or a separator
  std::vector<MenuItem> items;   // the entries of a submenu
  int tag = 0;                   // an entry of "Select Group Only": its position in the group list

  bool IsSeparator() const { return caption == "-"; }
  bool IsSubmenu() const { return handler.empty() && !IsSeparator(); }
};

using MenuBar = std::vector<MenuItem>;

inline constexpr std::string_view kLogOnCaption = "&Turn log on";
inline constexpr std::string_view kLogOffCaption = "Turn log off";
inline constexpr std::string_view kSelectGroupHandler = "geh";

// The menu bar as the program starts.
MenuBar MainMenu();

// The caption as read: without "&" (a doubled "&&" stands for one "&").
std::string PlainCaption(std::string_view caption);
// Captions compare ignoring case, "&", blanks at the ends and a trailing "..." (scripts name
// menu items, dialogs and their items so).
bool SameCaption(std::string_view a, std::string_view b);

// The first item, at any depth, that runs handler; nullptr when there is none.
MenuItem* FindByHandler(MenuBar& menu, std::string_view handler);
// The submenu whose entries run handler (the "Select Group Only" submenu for "geh").
MenuItem* FindSubmenuOf(MenuBar& menu, std::string_view handler);

}  // namespace vorn
