// What the core's compression and e-mail routines share: zlib's one-call
// functions with their codes, and sending e-mail through the system's
// Simple MAPI.
#pragma once

#include <span>
#include <string_view>

namespace korv {

// zlib's compress/uncompress with their result (0 Z_OK, -5 Z_BUF_ERROR,
// -4 Z_MEM_ERROR, -3 Z_DATA_ERROR; -2 Z_STREAM_ERROR for lengths outside the
// buffers) and the new destination length.
void sys_compress_bridge(std::span<const unsigned char> source, std::span<unsigned char> destination,
                         int source_length, int& destination_length, int& result);
void sys_uncompress_bridge(std::span<const unsigned char> source,
                           std::span<unsigned char> destination, int source_length,
                           int& destination_length, int& result);

// ---------------------------------------------------------------------------
// E-mail

// Loads mapi32.dll by name and looks up MAPISendMail; the root window becomes
// the parent of the mail dialogs. Called when the root window opens; closing
// it releases the library again.
void sys_mail_library_open(void* root_window);
void sys_mail_library_close();

// One recipient table and one attachment table for the whole program;
// allocating one frees the previous one with all its texts. Indexes count
// from 0; an index outside the table changes nothing.
void sys_mail_recipients_alloc(int count);
void sys_mail_recipient_address_set(int index, std::string_view address);
void sys_mail_recipient_name_set(int index, std::string_view name);
// 2 (Cc) and 3 (Bcc) as they are; anything else 1 (To).
void sys_mail_recipient_class_set(int index, int recipient_class);
void sys_mail_attachments_alloc(int count);
void sys_mail_attachment_path_set(int index, std::string_view path);

// sys_mail_send flag bits.
inline constexpr int mail_show_dialog = 1;
inline constexpr int mail_resolve_names = 4;

// Sends the message with the tables. Results (0, 0) after success,
// (-2, the mail interface's code) after a failed send, (-1, 0) when
// MAPISendMail is not available.
void sys_mail_send(int flags, int& result, int& mail_result, std::string_view subject,
                   std::string_view text);

} // namespace korv
