// The recipient and attachment tables of the e-mail service, and the
// resolving of recipients' names, kept apart from the mail library so that
// the bookkeeping (who owns which text) can be checked without sending.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace korv {

// Laid out as Simple MAPI's MapiRecipDesc on 32-bit Windows.
struct MailRecipient {
    std::uint32_t reserved = 0;
    std::uint32_t recipient_class = 1;  // 1 To, 2 Cc, 3 Bcc
    char* name = nullptr;
    char* address = nullptr;
    std::uint32_t entry_id_size = 0;
    void* entry_id = nullptr;
};

// Laid out as MapiFileDesc.
struct MailAttachment {
    std::uint32_t reserved = 0;
    std::uint32_t flags = 0;
    std::uint32_t position = 0xFFFFFFFFu;  // -1: no place in the text
    char* path_name = nullptr;
    char* file_name = nullptr;
    void* file_type = nullptr;
};

class MailRecipientTable {
public:
    // max(count, 1) records, all To with no texts; the count is count
    // (negative counts as 0), so a count of 0 leaves one spare record.
    void allocate(int count);
    int count() const { return count_; }
    MailRecipient* records() { return records_.empty() ? nullptr : records_.data(); }
    const MailRecipient& at(int index) const { return records_[static_cast<std::size_t>(index)]; }
    bool valid(int index) const { return index >= 0 && index < static_cast<int>(records_.size()); }

    // An index outside the table changes nothing.
    void set_address(int index, std::string_view text);
    void set_name(int index, std::string_view text);
    void set_class(int index, int recipient_class);

    // The mail interface's resolving: resolve(name, out) returns its code and
    // on 0 hands out a record that the interface owns until release(record).
    using ResolveFunction = std::function<std::uint32_t(const char* name, MailRecipient** out)>;
    using ReleaseFunction = std::function<void(void* record)>;

    // Resolves every recipient by its name, else (no name, or the name is
    // unknown, code 14) by its address. A resolved recipient takes the
    // resolved record's identity and texts; its class stays.
    void resolve(const ResolveFunction& resolve);
    // Gives every resolved record back to the interface and clears what
    // pointed into it, so nothing is left pointing at freed memory.
    void release_resolved(const ReleaseFunction& release);
    int resolved_count() const;

private:
    std::vector<MailRecipient> records_;
    std::vector<std::unique_ptr<char[]>> names_, addresses_;
    std::vector<MailRecipient*> resolved_;
    int count_ = 0;
};

class MailAttachmentTable {
public:
    // count records (none for count <= 0), each with no path and no place.
    void allocate(int count);
    int count() const { return static_cast<int>(records_.size()); }
    MailAttachment* records() { return records_.empty() ? nullptr : records_.data(); }
    const MailAttachment& at(int index) const { return records_[static_cast<std::size_t>(index)]; }
    // An index outside the table changes nothing.
    void set_path(int index, std::string_view path);

private:
    std::vector<MailAttachment> records_;
    std::vector<std::unique_ptr<char[]>> paths_;
};

} // namespace korv
