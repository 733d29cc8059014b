// The demo tree's folders kept to the player's account: whether an existing
// folder may be used, and the access list every folder of the tree gets.
// SIDs are their bytes as the system lays them out.
#pragma once
#include <cstddef>
#include <cstdint>

// What is known of an existing folder's owner.
struct OwnerFacts {
    bool acls;            // the system keeps access lists, and its calls were found
    bool queried;         // the owner could be read
    bool hasOwner;        // the volume keeps one: NT shows Everyone as the owner of
                          // what lies on FAT, and nobody can give a folder that owner
    bool isUser;          // it is the player's account
    bool isDefaultOwner;  // it is the owner the player's new objects get (an elevated
                          // administrator's are the Administrators')
};

enum DirUse {
    DIR_AS_IS,    // nothing to keep anyone out with: used as before
    DIR_SECURED,  // the player's: given the tree's access list again, then used
    DIR_REFUSED,  // another account's, or unknown: not used, entered or changed
};
DirUse existingDirUse(const OwnerFacts& f);

// S-1-1-0, Everyone.
extern const uint8_t SID_EVERYONE[12];

// Full control (FILE_ALL_ACCESS), and the inheritance of an ACE by folders
// and files below (CONTAINER_INHERIT_ACE | OBJECT_INHERIT_ACE).
const uint32_t ACE_FULL_CONTROL = 0x001F01FFu;
const uint8_t ACE_INHERITED_BELOW = 0x03;
enum { PRIVATE_ACES_MAX = 3 * 8 + 68 + 12 + 16 };  // a SID is at most 68 bytes

// The tree's ACEs, ready for AddAce: full control, inherited below, for the
// player (user, userLen bytes), SYSTEM and Administrators, nobody else. Their
// size, or 0 if cap cannot hold them or userLen is no SID's length.
size_t privateAces(const uint8_t* user, size_t userLen, uint8_t* out, size_t cap);
