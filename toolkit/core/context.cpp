// The toolkit's one context.
#include "core/context.h"

namespace korv {

ToolkitContext::~ToolkitContext()
{
    // A record's release that asks for a record already released gets a new
    // one, released in turn, rather than a record that is gone.
    while (!made_.empty()) {
        std::unique_ptr<Part> last = std::move(made_.back());
        made_.pop_back();
        for (Part*& part : parts_)
            if (part == last.get())
                part = nullptr;
        last.reset();
    }
}

ToolkitContext& toolkit_context()
{
    static ToolkitContext context;
    return context;
}

} // namespace korv
