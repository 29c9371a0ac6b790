#include "core/mail_tables.h"

#include <algorithm>
#include <cstring>

namespace korv {

namespace {

std::unique_ptr<char[]> terminated_copy(std::string_view text)
{
    auto copy = std::make_unique<char[]>(text.size() + 1);
    if (!text.empty()) // an empty text may have no storage behind it
        std::memcpy(copy.get(), text.data(), text.size());
    copy[text.size()] = '\0';
    return copy;
}

constexpr std::uint32_t mail_unknown_recipient = 14;

} // namespace

void MailRecipientTable::allocate(int count)
{
    count_ = std::max(count, 0);
    const std::size_t slots = static_cast<std::size_t>(std::max(count_, 1));
    records_.assign(slots, MailRecipient{});
    names_.clear();
    names_.resize(slots);
    addresses_.clear();
    addresses_.resize(slots);
    resolved_.assign(slots, nullptr);
}

void MailRecipientTable::set_address(int index, std::string_view text)
{
    if (!valid(index))
        return;
    const auto i = static_cast<std::size_t>(index);
    addresses_[i] = terminated_copy(text);
    records_[i].address = addresses_[i].get();
}

void MailRecipientTable::set_name(int index, std::string_view text)
{
    if (!valid(index))
        return;
    const auto i = static_cast<std::size_t>(index);
    names_[i] = terminated_copy(text);
    records_[i].name = names_[i].get();
}

void MailRecipientTable::set_class(int index, int recipient_class)
{
    if (!valid(index))
        return;
    records_[static_cast<std::size_t>(index)].recipient_class =
        (recipient_class == 2 || recipient_class == 3) ? static_cast<std::uint32_t>(recipient_class)
                                                         : 1u;
}

void MailRecipientTable::resolve(const ResolveFunction& resolve)
{
    for (std::size_t i = 0; i < static_cast<std::size_t>(count_); ++i) {
        MailRecipient& r = records_[i];
        if (resolved_[i])
            continue;
        MailRecipient* found = nullptr;
        std::uint32_t code = mail_unknown_recipient;
        if (r.name && r.name[0] != '\0')
            code = resolve(r.name, &found);
        if (code == mail_unknown_recipient)
            code = resolve(r.address ? r.address : "", &found);
        if (code != 0 || !found)
            continue;
        resolved_[i] = found;
        names_[i].reset();
        addresses_[i].reset();
        r.reserved = found->reserved;
        r.entry_id_size = found->entry_id_size;
        r.entry_id = found->entry_id;
        r.name = found->name;
        r.address = found->address;
    }
}

void MailRecipientTable::release_resolved(const ReleaseFunction& release)
{
    for (std::size_t i = 0; i < resolved_.size(); ++i) {
        if (!resolved_[i])
            continue;
        release(resolved_[i]);
        resolved_[i] = nullptr;
        MailRecipient& r = records_[i];
        r.name = nullptr;
        r.address = nullptr;
        r.entry_id = nullptr;
        r.entry_id_size = 0;
    }
}

int MailRecipientTable::resolved_count() const
{
    return static_cast<int>(std::count_if(resolved_.begin(), resolved_.end(),
                                          [](const MailRecipient* r) { return r != nullptr; }));
}

void MailAttachmentTable::allocate(int count)
{
    const std::size_t slots = static_cast<std::size_t>(std::max(count, 0));
    records_.assign(slots, MailAttachment{});
    paths_.clear();
    paths_.resize(slots);
}

void MailAttachmentTable::set_path(int index, std::string_view path)
{
    if (index < 0 || index >= count())
        return;
    const auto i = static_cast<std::size_t>(index);
    paths_[i] = terminated_copy(path);
    records_[i].path_name = paths_[i].get();
}

} // namespace korv
