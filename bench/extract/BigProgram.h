// The shape of the benchmark's program: how many menus, dialogs and strings
// MakeScript writes in each of its two languages, and so how many entries
// a catalog of it has.
#pragma once

namespace extract_bench {

constexpr int kMenus = 500, kItems = 40, kDialogs = 750, kControls = 20, kStrings = 15000;
// Every menu has a popup title and its items; every dialog a caption and its controls.
constexpr int kEntries = kMenus * (1 + kItems) + kDialogs * (1 + kControls) + kStrings;

}  // namespace extract_bench
