// The toolkit's context: each record made once, at its first use, and
// released in the reverse order it was made.
#include "core/context.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using korv::ContextSlot;
using korv::ToolkitContext;

std::vector<std::string> released;

// A record whose release reads another slot of the same context, as the
// toolkit's records may (the debug log reads the error state, say).
struct Reader {
    ToolkitContext* context = nullptr;
    ContextSlot other = ContextSlot::count;
    std::string name;
    ~Reader()
    {
        if (context == nullptr)
            return;
        released.push_back(name + " read " + std::to_string(context->record<int>(other)));
    }
};

TEST(ToolkitContext, MakesEachRecordOnceAndReleasesTheLastMadeFirst)
{
    released.clear();
    {
        ToolkitContext context;
        Reader& first = context.record<Reader>(ContextSlot::events);
        first.name = "first";
        first.other = ContextSlot::errors;
        first.context = &context;
        int& number = context.record<int>(ContextSlot::errors, [] { return 7; });
        EXPECT_EQ(number, 7);
        number = 1035;
        EXPECT_EQ(&context.record<int>(ContextSlot::errors, [] { return 8; }), &number);
        Reader& last = context.record<Reader>(ContextSlot::windows);
        last.name = "last";
        last.other = ContextSlot::errors;
        last.context = &context;
    }
    // The last record made reads the number still held; the first, released
    // after the number, gets a new one rather than one that is gone.
    EXPECT_EQ(released, (std::vector<std::string>{"last read 1035", "first read 0"}));
}

TEST(ToolkitContext, RefusesASlotAskedForAsAnotherType)
{
    ToolkitContext context;
    context.record<int>(ContextSlot::mail);
    EXPECT_THROW(context.record<double>(ContextSlot::mail), std::logic_error);
}

} // namespace
