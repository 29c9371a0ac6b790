// The mail tables' bookkeeping, with a recording stand-in for the resolving
// calls of the mail interface (nothing is sent from here).
#include "core/mail_tables.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>

namespace {

using korv::MailRecipient;
using korv::MailRecipientTable;

TEST(MailTables, RecipientsStartAsToWithoutTexts)
{
    MailRecipientTable table;
    table.allocate(3);
    ASSERT_EQ(table.count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(table.at(i).recipient_class, 1u);
        EXPECT_EQ(table.at(i).name, nullptr);
        EXPECT_EQ(table.at(i).address, nullptr);
        EXPECT_EQ(table.at(i).entry_id, nullptr);
    }
    // A count of 0 keeps one spare record; a negative count is 0.
    table.allocate(0);
    EXPECT_EQ(table.count(), 0);
    EXPECT_NE(table.records(), nullptr);
    table.allocate(-4);
    EXPECT_EQ(table.count(), 0);
}

TEST(MailTables, ClassesAndTextsAreCheckedAndCopied)
{
    MailRecipientTable table;
    table.allocate(2);
    struct Case {
        int given;
        std::uint32_t stored;
    };
    for (const Case c : {Case{2, 2}, Case{3, 3}, Case{7, 1}, Case{0, 1}, Case{-1, 1}, Case{1, 1}}) {
        table.set_class(0, c.given);
        EXPECT_EQ(table.at(0).recipient_class, c.stored) << c.given;
    }
    std::string name = "Anna";
    table.set_name(1, name);
    name[0] = 'X';  // the table keeps its own copy
    EXPECT_STREQ(table.at(1).name, "Anna");
    table.set_address(1, "anna@example.invalid");
    EXPECT_STREQ(table.at(1).address, "anna@example.invalid");

    // Indexes outside the table change nothing.
    table.set_name(2, "out");
    table.set_address(-1, "out");
    table.set_class(5, 2);
    EXPECT_EQ(table.at(0).name, nullptr);
}

// Resolves names from a small address book; every record it hands out must
// be given back exactly once.
struct AddressBook {
    std::map<std::string, std::string> entries;  // name -> address
    std::vector<std::string> asked;
    std::set<void*> outstanding;
    int released = 0;

    std::uint32_t resolve(const char* name, MailRecipient** out)
    {
        asked.push_back(name);
        auto it = entries.find(name);
        if (it == entries.end())
            return 14;
        auto* r = new MailRecipient;
        r->reserved = 0;
        r->name = new char[it->first.size() + 1];
        std::copy(it->first.c_str(), it->first.c_str() + it->first.size() + 1, r->name);
        r->address = new char[it->second.size() + 1];
        std::copy(it->second.c_str(), it->second.c_str() + it->second.size() + 1, r->address);
        r->entry_id_size = 4;
        r->entry_id = r;
        outstanding.insert(r);
        *out = r;
        return 0;
    }
    void release(void* record)
    {
        ASSERT_EQ(outstanding.erase(record), 1u) << "released twice or never handed out";
        auto* r = static_cast<MailRecipient*>(record);
        delete[] r->name;
        delete[] r->address;
        delete r;
        ++released;
    }
};

TEST(MailTables, ResolvingByNameThenAddressAndReleasingEveryRecord)
{
    AddressBook book;
    book.entries = {{"Anna", "SMTP:anna@a.invalid"}, {"bert@b.invalid", "SMTP:bert@b.invalid"}};
    MailRecipientTable table;
    table.allocate(4);
    table.set_name(0, "Anna");
    table.set_class(0, 2);
    table.set_name(1, "Unknown");            // unknown name: tried by address next
    table.set_address(1, "bert@b.invalid");
    table.set_address(2, "nobody@x.invalid");  // no name: address only, not found
    table.set_name(3, "Anna");

    table.resolve([&](const char* n, MailRecipient** out) { return book.resolve(n, out); });
    EXPECT_EQ(book.asked, (std::vector<std::string>{"Anna", "Unknown", "bert@b.invalid",
                                                    "nobody@x.invalid", "Anna"}));
    EXPECT_EQ(table.resolved_count(), 3);
    EXPECT_STREQ(table.at(0).address, "SMTP:anna@a.invalid");
    EXPECT_EQ(table.at(0).recipient_class, 2u);  // the class stays
    EXPECT_EQ(table.at(0).entry_id_size, 4u);
    EXPECT_STREQ(table.at(1).name, "bert@b.invalid");
    EXPECT_STREQ(table.at(2).address, "nobody@x.invalid");  // unresolved keeps its own

    table.release_resolved([&](void* r) { book.release(r); });
    EXPECT_EQ(book.released, 3);
    EXPECT_TRUE(book.outstanding.empty());
    for (int i : {0, 1, 3}) {
        EXPECT_EQ(table.at(i).name, nullptr);
        EXPECT_EQ(table.at(i).address, nullptr);
        EXPECT_EQ(table.at(i).entry_id, nullptr);
        EXPECT_EQ(table.at(i).entry_id_size, 0u);
    }
    // A second release gives nothing back twice.
    table.release_resolved([&](void* r) { book.release(r); });
    EXPECT_EQ(book.released, 3);
}

TEST(MailTables, AttachmentsStartWithoutPlaceOrPath)
{
    korv::MailAttachmentTable table;
    table.allocate(0);
    EXPECT_EQ(table.count(), 0);
    EXPECT_EQ(table.records(), nullptr);
    table.allocate(2);
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(table.at(1).position, 0xFFFFFFFFu);
    EXPECT_EQ(table.at(1).flags, 0u);
    table.set_path(1, "C:\\report.pdf");
    table.set_path(2, "C:\\outside.pdf");
    EXPECT_STREQ(table.at(1).path_name, "C:\\report.pdf");
    EXPECT_EQ(table.at(0).path_name, nullptr);
}

} // namespace
