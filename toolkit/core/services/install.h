// The toolkit's install file (toolkit/install.cpp, toolkit/install_win.cpp)
// registers every plug-in with the base's service tables. It lives above the
// layers, so the base knows it only by this declaration; start-up runs it.
#pragma once

namespace korv {

// Registers the editor, the grid and hardcopy, and puts the window layer's
// status bar and message box into the error reporter. Later calls do
// nothing. Windows only.
void toolkit_install();
// The part that needs no Windows API: all the native tree has, and all that
// the platform-free tests need.
void toolkit_install_portable();

} // namespace korv
