// The reporter's outputs in the native tree: the console alone.
#include "core/errors_text.h"

namespace korv {

void err_outputs_platform(ErrorOutputs& out) { (void)out; }

} // namespace korv
