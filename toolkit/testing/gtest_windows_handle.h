// Read into googletest's own sources in the Windows trees. googletest is
// built there without its thread support (see CMakeLists.txt), and that
// build lacks the owned handle its Windows death tests keep their pipes and
// child process in; this is that handle.
#pragma once

extern "C" __declspec(dllimport) int __stdcall CloseHandle(void* handle);

namespace testing::internal {

class AutoHandle {
public:
    using Handle = void*;
    AutoHandle() = default;
    explicit AutoHandle(Handle handle) : handle_(handle) {}
    ~AutoHandle() { Reset(); }
    AutoHandle(const AutoHandle&) = delete;
    AutoHandle& operator=(const AutoHandle&) = delete;

    Handle Get() const { return handle_; }
    void Reset() { Reset(invalid()); }
    void Reset(Handle handle)
    {
        if (handle_ == handle)
            return;
        if (handle_ != nullptr && handle_ != invalid())
            CloseHandle(handle_);
        handle_ = handle;
    }

private:
    static Handle invalid() { return reinterpret_cast<Handle>(-1); } // INVALID_HANDLE_VALUE
    Handle handle_ = invalid();
};

} // namespace testing::internal
