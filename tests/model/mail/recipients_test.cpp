#include "model/mail/Recipients.h"

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using Addresses = QVector<MailAddress>;
using Pairs = std::vector<std::pair<const char*, const char*>>;  // name, address

Addresses FromPairs(const Pairs& pairs)
{
    Addresses addresses;
    for (const auto& [name, address] : pairs)
        addresses.append({QString::fromUtf8(name), QString::fromUtf8(address)});
    return addresses;
}

TEST(ParseRecipients, CutsAtSemicolonsAndCommas)
{
    const struct {
        const char* list;
        Pairs expected;
    } cases[] = {
        {"a@x.cn; b@x.cn,,c@x.cn", {{"", "a@x.cn"}, {"", "b@x.cn"}, {"", "c@x.cn"}}},
        {"  a@x.cn  ", {{"", "a@x.cn"}}},
        {"王工 <wang@x.cn>, b@x.cn", {{"王工", "wang@x.cn"}, {"", "b@x.cn"}}},
        {"Li Ming<li@x.cn>", {{"Li Ming", "li@x.cn"}}},
        {"<bare@x.cn>", {{"", "bare@x.cn"}}},
        {";;, ;", {}},
        {"", {}},
        {"name <>; a@x.cn", {{"", "a@x.cn"}}},  // a piece without address is skipped
    };
    for (const auto& c : cases) {
        const auto parsed = ParseRecipients(QString::fromUtf8(c.list));
        ASSERT_TRUE(parsed.has_value()) << c.list;
        EXPECT_EQ(*parsed, FromPairs(c.expected)) << c.list;
    }
}

TEST(ParseRecipients, RefusesMalformedOrInjectedPieces)
{
    const char* const lists[] = {
        "王工 <wang@x.cn",                      // "<" without ">"
        "a@x.cn; b<b@x.cn",                     // the same, after a good piece
        "nobody",                               // no "@"
        "a@x.cn\r\nRCPT TO:<evil@x.cn>",        // a second command smuggled in
        "a@x\r\n.cn",
        "Boss\r\nBcc: evil@x.cn <a@x.cn>",      // a header smuggled in through the name
        "a@x.cn\nDATA",
        "a b@x.cn",                             // a space inside the address
    };
    for (const char* list : lists)
        EXPECT_FALSE(ParseRecipients(QString::fromUtf8(list)).has_value()) << list;
}

} // namespace
} // namespace stolvar
