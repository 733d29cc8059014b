// Whether a folder of the demo tree may be used, and its access list.
#include "launcher/aclcore.h"

#include <cstring>

const uint8_t SID_EVERYONE[12] = {1, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0};

namespace {
const size_t kAceHead = 8;  // type, flags, size, mask

// S-1-5-18 and S-1-5-32-544.
const uint8_t kSystem[] = {1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0};
const uint8_t kAdmins[] = {1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 2, 0, 0};

// One ACCESS_ALLOWED_ACE: type, flags, size, mask (little-endian), the SID.
void putAce(const uint8_t* sid, size_t len, uint8_t* out)
{
    const size_t size = kAceHead + len;
    const uint8_t head[kAceHead] = {0, ACE_INHERITED_BELOW, static_cast<uint8_t>(size),
                                    static_cast<uint8_t>(size >> 8),
                                    static_cast<uint8_t>(ACE_FULL_CONTROL),
                                    static_cast<uint8_t>(ACE_FULL_CONTROL >> 8),
                                    static_cast<uint8_t>(ACE_FULL_CONTROL >> 16),
                                    static_cast<uint8_t>(ACE_FULL_CONTROL >> 24)};
    std::memcpy(out, head, sizeof head);
    std::memcpy(out + sizeof head, sid, len);
}
}  // namespace

DirUse existingDirUse(const OwnerFacts& f)
{
    if (!f.acls)
        return DIR_AS_IS;
    if (!f.queried)
        return DIR_REFUSED;
    if (!f.hasOwner)
        return DIR_AS_IS;
    return f.isUser || f.isDefaultOwner ? DIR_SECURED : DIR_REFUSED;
}

size_t privateAces(const uint8_t* user, size_t userLen, uint8_t* out, size_t cap)
{
    // Revision 1, and as long as its sub-authority count says.
    if (userLen < 8 || userLen > 68 || user[0] != 1 || userLen != 8 + 4u * user[1])
        return 0;
    const size_t total = 3 * kAceHead + userLen + sizeof kSystem + sizeof kAdmins;
    if (total > cap)
        return 0;
    putAce(user, userLen, out);
    putAce(kSystem, sizeof kSystem, out + kAceHead + userLen);
    putAce(kAdmins, sizeof kAdmins, out + 2 * kAceHead + userLen + sizeof kSystem);
    return total;
}
