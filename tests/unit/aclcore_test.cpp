// Which existing tree folder is used, and the access list the tree gets.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "launcher/aclcore.h"

namespace {
const struct {
    OwnerFacts f;
    DirUse use;
} kOwners[] = {
    // acls, queried, hasOwner, isUser, isDefaultOwner
    {{false, false, false, false, false}, DIR_AS_IS},   // Windows 95
    {{false, true, true, false, false}, DIR_AS_IS},     // ... whatever a stub answers
    {{true, true, true, true, false}, DIR_SECURED},
    {{true, true, true, false, true}, DIR_SECURED},     // an elevated administrator's
    {{true, true, true, true, true}, DIR_SECURED},
    {{true, true, true, false, false}, DIR_REFUSED},    // another account's
    {{true, false, false, false, false}, DIR_REFUSED},  // no right to read it
    {{true, false, true, true, true}, DIR_REFUSED},     // half an answer is none
    {{true, true, false, false, false}, DIR_AS_IS},     // FAT: Everyone owns everything
};

TEST(AclCore, OnlyThePlayersFolderIsUsed)
{
    for (size_t i = 0; i < sizeof kOwners / sizeof kOwners[0]; ++i)
        EXPECT_EQ(existingDirUse(kOwners[i].f), kOwners[i].use) << "row " << i;
}

// Worked out by hand for S-1-5-21-1-2-3-1000.
TEST(AclCore, TheTreeLetsInThePlayerSystemAndAdministratorsOnly)
{
    const uint8_t user[] = {1, 5, 0, 0, 0, 0, 0, 5, 21, 0, 0, 0, 1, 0, 0, 0,
                            2, 0, 0, 0, 3, 0, 0, 0, 0xE8, 3, 0, 0};
    const std::vector<uint8_t> want = {
        0, 3, 36, 0, 0xFF, 1, 0x1F, 0,  // allowed, inherited below, 36 bytes, full control
        1, 5, 0, 0, 0, 0, 0, 5, 21, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 0xE8, 3, 0, 0,
        0, 3, 20, 0, 0xFF, 1, 0x1F, 0, 1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0,  // SYSTEM
        0, 3, 24, 0, 0xFF, 1, 0x1F, 0,
        1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 2, 0, 0,  // Administrators
    };
    uint8_t out[PRIVATE_ACES_MAX];
    ASSERT_EQ(privateAces(user, sizeof user, out, sizeof out), want.size());
    EXPECT_EQ(std::vector<uint8_t>(out, out + want.size()), want);
    EXPECT_EQ(privateAces(user, sizeof user, out, want.size() - 1), 0u);
    EXPECT_EQ(privateAces(user, sizeof user - 4, out, sizeof out), 0u) << "length off its count";
}
}  // namespace
