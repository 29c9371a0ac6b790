// Stand-in for the window layer's dialog-event post, used only while the
// window layer's own is not part of the build: the store algorithm itself.
#include "korvanthide/window.h"

namespace korv {
PostOutcome win_event_post_dialog(const EventPost& post) { return event_post(post); }
} // namespace korv
