// Sending e-mail through Simple MAPI (mapi32.dll, loaded by name).
#include <windows.h>

#include <mapi.h>

#include <cstddef>
#include <string>

#include "korvanthide/compression.h"
#include "core/context.h"
#include "core/mail_tables.h"
#include "core/compression_mail.h"

namespace korv {

// The tables are handed to the mail interface as they are.
static_assert(sizeof(MailRecipient) == sizeof(MapiRecipDesc));
static_assert(offsetof(MailRecipient, name) == offsetof(MapiRecipDesc, lpszName));
static_assert(offsetof(MailRecipient, entry_id) == offsetof(MapiRecipDesc, lpEntryID));
static_assert(sizeof(MailAttachment) == sizeof(MapiFileDesc));
static_assert(offsetof(MailAttachment, path_name) == offsetof(MapiFileDesc, lpszPathName));

namespace {

struct MailState {
    HMODULE library = nullptr;
    LPMAPISENDMAIL send = nullptr;
    HWND parent = nullptr;
    MailRecipientTable recipients;
    MailAttachmentTable attachments;
};

MailState& mail_state()
{
    return toolkit_context().record<MailState>(ContextSlot::mail);
}

template <typename Function>
Function mail_function(HMODULE library, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// Keeps the current directory across the mail program, which may change it.
class CurrentDirectoryKeeper {
public:
    CurrentDirectoryKeeper()
    {
        const DWORD needed = GetCurrentDirectoryA(0, nullptr);
        path_.resize(needed);
        const DWORD got = needed ? GetCurrentDirectoryA(needed, path_.data()) : 0;
        path_.resize(got < needed ? got : 0);
    }
    ~CurrentDirectoryKeeper()
    {
        if (!path_.empty())
            SetCurrentDirectoryA(path_.c_str());
    }
    CurrentDirectoryKeeper(const CurrentDirectoryKeeper&) = delete;
    CurrentDirectoryKeeper& operator=(const CurrentDirectoryKeeper&) = delete;

private:
    std::string path_;
};

} // namespace

void sys_mail_library_open(void* root_window)
{
    MailState& state = mail_state();
    state.parent = static_cast<HWND>(root_window);
    if (state.library)
        return;
    state.library = LoadLibraryA("mapi32.dll");
    if (state.library)
        state.send = mail_function<LPMAPISENDMAIL>(state.library, "MAPISendMail");
}

void sys_mail_library_close()
{
    MailState& state = mail_state();
    if (state.library)
        FreeLibrary(state.library);
    state.library = nullptr;
    state.send = nullptr;
    state.parent = nullptr;
}

void sys_mail_recipients_alloc(int count)
{
    mail_state().recipients.allocate(count);
}

void sys_mail_recipient_address_set(int index, std::string_view address)
{
    mail_state().recipients.set_address(index, address);
}

void sys_mail_recipient_name_set(int index, std::string_view name)
{
    mail_state().recipients.set_name(index, name);
}

void sys_mail_recipient_class_set(int index, int recipient_class)
{
    mail_state().recipients.set_class(index, recipient_class);
}

void sys_mail_attachments_alloc(int count)
{
    mail_state().attachments.allocate(count);
}

void sys_mail_attachment_path_set(int index, std::string_view path)
{
    mail_state().attachments.set_path(index, path);
}

void sys_mail_send(int flags, int& result, int& mail_result, std::string_view subject,
                   std::string_view text)
{
    MailState& state = mail_state();
    if (!state.library || !state.send) {
        result = -1;
        mail_result = 0;
        return;
    }
    CurrentDirectoryKeeper keep_directory;
    const auto parent = reinterpret_cast<ULONG_PTR>(state.parent);

    LPMAPIRESOLVENAME resolve_name = nullptr;
    LPMAPIFREEBUFFER free_buffer = nullptr;
    if (flags & mail_resolve_names) {
        resolve_name = mail_function<LPMAPIRESOLVENAME>(state.library, "MAPIResolveName");
        free_buffer = mail_function<LPMAPIFREEBUFFER>(state.library, "MAPIFreeBuffer");
        // Without both, nothing is resolved: what could not be freed is not taken.
        if (resolve_name && free_buffer) {
            state.recipients.resolve([&](const char* name, MailRecipient** out) -> std::uint32_t {
                lpMapiRecipDesc found = nullptr;
                const ULONG r = resolve_name(0, parent, const_cast<LPSTR>(name), MAPI_DIALOG, 0,
                                             &found);
                *out = reinterpret_cast<MailRecipient*>(found);
                return r;
            });
        }
    }

    std::string subject_text(subject), body(text);
    MapiMessage message{};
    message.lpszSubject = subject_text.data();
    message.lpszNoteText = body.data();
    char empty_date[1] = {};
    char empty_conversation[1] = {};
    message.lpszDateReceived = empty_date;
    message.lpszConversationID = empty_conversation;
    message.nRecipCount = static_cast<ULONG>(state.recipients.count());
    message.lpRecips = reinterpret_cast<lpMapiRecipDesc>(state.recipients.records());
    message.nFileCount = static_cast<ULONG>(state.attachments.count());
    message.lpFiles = reinterpret_cast<lpMapiFileDesc>(state.attachments.records());

    FLAGS send_flags = MAPI_LOGON_UI;
    if ((flags & mail_show_dialog) || state.recipients.count() == 0)
        send_flags |= MAPI_DIALOG;
    const ULONG r = state.send(0, parent, &message, send_flags, 0);

    if (free_buffer)
        state.recipients.release_resolved([&](void* record) { free_buffer(record); });

    result = r == 0 ? 0 : -2;
    mail_result = static_cast<int>(r);
}

} // namespace korv
