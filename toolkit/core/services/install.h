// The toolkit's install file (toolkit/install.cpp, toolkit/install_win.cpp)
// registers every plug-in with the base's service tables. It lives above the
// layers, so the base knows it only by this declaration; start-up runs it.
#pragma once

namespace korv {

// Registers the editor, the grid and hardcopy. Later calls do nothing.
void toolkit_install();

} // namespace korv
