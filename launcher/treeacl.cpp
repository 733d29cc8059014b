// The tree's access list, set with what NT 4.0 has: advapi32's calls are
// looked up at run time, so that Windows 95 starts the launcher too.
#include "launcher/treeacl.h"

#include <windows.h>

#include "common/sysproc.h"
#include "launcher/aclcore.h"
#include "launcher/laterapi.h"
#include "launcher/prepcore.h"

namespace {
typedef BOOL(WINAPI* OpenProcessTokenFn)(HANDLE, DWORD, PHANDLE);
typedef BOOL(WINAPI* GetTokenInformationFn)(HANDLE, TOKEN_INFORMATION_CLASS, LPVOID, DWORD,
                                            PDWORD);
typedef BOOL(WINAPI* GetObjectSecurityFn)(HANDLE, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR,
                                          DWORD, LPDWORD);
typedef BOOL(WINAPI* SetObjectSecurityFn)(HANDLE, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR);
typedef BOOL(WINAPI* GetOwnerFn)(PSECURITY_DESCRIPTOR, PSID*, LPBOOL);
typedef BOOL(WINAPI* InitSdFn)(PSECURITY_DESCRIPTOR, DWORD);
typedef BOOL(WINAPI* SetDaclFn)(PSECURITY_DESCRIPTOR, BOOL, PACL, BOOL);
typedef BOOL(WINAPI* SetControlFn)(PSECURITY_DESCRIPTOR, SECURITY_DESCRIPTOR_CONTROL,
                                   SECURITY_DESCRIPTOR_CONTROL);
typedef BOOL(WINAPI* InitAclFn)(PACL, DWORD, DWORD);
typedef BOOL(WINAPI* AddAceFn)(PACL, DWORD, DWORD, LPVOID, DWORD);
typedef DWORD(WINAPI* SidLengthFn)(PSID);
typedef BOOL(WINAPI* EqualSidFn)(PSID, PSID);

// Every one is in NT 3.1 but the last, which Windows 2000 brought.
struct SecurityCalls {
    OpenProcessTokenFn openProcessToken;
    GetTokenInformationFn getTokenInformation;
    GetObjectSecurityFn getObjectSecurity;
    SetObjectSecurityFn setObjectSecurity;
    GetOwnerFn getOwner;
    InitSdFn initSd;
    SetDaclFn setDacl;
    InitAclFn initAcl;
    AddAceFn addAce;
    SidLengthFn sidLength;
    EqualSidFn equalSid;
    SetControlFn setControl;  // may be missing: NT 4.0 inherits nothing past a given list
};

template <class Fn> bool find(Fn* fn, const char* name)
{
    *fn = systemFn<Fn>("advapi32.dll", name);
    return *fn != nullptr;
}

bool findCalls(SecurityCalls* c)
{
    find(&c->setControl, "SetSecurityDescriptorControl");
    return find(&c->openProcessToken, "OpenProcessToken") &&
           find(&c->getTokenInformation, "GetTokenInformation") &&
           find(&c->getObjectSecurity, "GetKernelObjectSecurity") &&
           find(&c->setObjectSecurity, "SetKernelObjectSecurity") &&
           find(&c->getOwner, "GetSecurityDescriptorOwner") &&
           find(&c->initSd, "InitializeSecurityDescriptor") &&
           find(&c->setDacl, "SetSecurityDescriptorDacl") &&
           find(&c->initAcl, "InitializeAcl") && find(&c->addAce, "AddAce") &&
           find(&c->sidLength, "GetLengthSid") && find(&c->equalSid, "EqualSid");
}

// Null on a system without access lists, or one that lacks a call.
const SecurityCalls* securityCalls()
{
    static SecurityCalls calls;
    static const bool found = systemFacts().acls && findCalls(&calls);
    return found ? &calls : nullptr;
}

// The player's account and the owner its new objects get, from its token.
struct Player {
    alignas(8) unsigned char user[128];   // TOKEN_USER
    alignas(8) unsigned char owner[128];  // TOKEN_OWNER
    PSID userSid() { return reinterpret_cast<TOKEN_USER*>(user)->User.Sid; }
    PSID ownerSid() { return reinterpret_cast<TOKEN_OWNER*>(owner)->Owner; }
};

// The tree's security descriptor, with what it points to.
struct PrivateSd {
    SECURITY_DESCRIPTOR sd;
    alignas(8) unsigned char acl[sizeof(ACL) + PRIVATE_ACES_MAX];
};

// What the calls need; false where they cannot be used (the tree is then made
// as on Windows 95).
struct Security {
    const SecurityCalls* calls;
    Player player;
    PrivateSd sd;
};

bool readPlayer(const SecurityCalls& c, Player* p)
{
    HANDLE token;
    if (!c.openProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    DWORD n;
    const bool read = c.getTokenInformation(token, TokenUser, p->user, sizeof p->user, &n) &&
                      c.getTokenInformation(token, TokenOwner, p->owner, sizeof p->owner, &n);
    CloseHandle(token);
    return read;
}

bool buildSd(const SecurityCalls& c, PSID user, PrivateSd* out)
{
    uint8_t aces[PRIVATE_ACES_MAX];
    const size_t n =
        privateAces(static_cast<const uint8_t*>(user), c.sidLength(user), aces, sizeof aces);
    PACL acl = reinterpret_cast<PACL>(out->acl);
    if (!n || !c.initAcl(acl, sizeof out->acl, ACL_REVISION) ||
        !c.addAce(acl, ACL_REVISION, MAXDWORD, aces, static_cast<DWORD>(n)) ||
        !c.initSd(&out->sd, SECURITY_DESCRIPTOR_REVISION) ||
        !c.setDacl(&out->sd, TRUE, acl, FALSE))
        return false;
    // Nothing inherited from the folder above: C:\ lets every user change
    // what is made in it.
    return !c.setControl || c.setControl(&out->sd, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
}

bool readSecurity(Security* s)
{
    s->calls = securityCalls();
    return s->calls && readPlayer(*s->calls, &s->player) &&
           buildSd(*s->calls, s->player.userSid(), &s->sd);
}

// The folder itself, never where a link in its place leads.
HANDLE openItself(const char* path, DWORD access)
{
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE h = CreateFileA(path, access, share, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    // NT 4.0 has no reparse points, and may not take the flag.
    if (h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER)
        h = CreateFileA(path, access, share, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                        nullptr);
    return h;
}

OwnerFacts ownerFacts(Security& s, HANDLE h)
{
    OwnerFacts f = {true, false, false, false, false};
    alignas(8) unsigned char sd[256];
    DWORD n;
    PSID owner = nullptr;
    BOOL defaulted;
    f.queried = h != INVALID_HANDLE_VALUE &&
                s.calls->getObjectSecurity(h, OWNER_SECURITY_INFORMATION, sd, sizeof sd, &n) &&
                s.calls->getOwner(sd, &owner, &defaulted);
    f.hasOwner = f.queried && owner &&
                 !s.calls->equalSid(owner, const_cast<uint8_t*>(SID_EVERYONE));
    f.isUser = f.hasOwner && s.calls->equalSid(owner, s.player.userSid());
    f.isDefaultOwner = f.hasOwner && s.calls->equalSid(owner, s.player.ownerSid());
    return f;
}

// What may be done with the existing folder at path (s: null where the system
// keeps no lists); with set, the player's gets the tree's list through the
// same handle that showed it is theirs and a plain folder.
DirUse existingUse(const char* path, Security* s, bool set)
{
    if (!s)
        return existingDirUse(OwnerFacts{false, false, false, false, false});
    // GetFileInformationByHandle needs the right to read attributes on Windows;
    // Wine lets it pass without.
    HANDLE h = openItself(path, READ_CONTROL | (set ? WRITE_DAC | FILE_READ_ATTRIBUTES : 0));
    DirUse use = existingDirUse(ownerFacts(*s, h));
    BY_HANDLE_FILE_INFORMATION info;
    if (use == DIR_SECURED && set &&
        !(GetFileInformationByHandle(h, &info) && usableDirectory(info.dwFileAttributes) &&
          s->calls->setObjectSecurity(h, DACL_SECURITY_INFORMATION, &s->sd.sd)))
        use = DIR_REFUSED;
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
    return use;
}
}  // namespace

bool foreignDir(const char* path)
{
    Security s;
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES &&
           existingUse(path, readSecurity(&s) ? &s : nullptr, false) == DIR_REFUSED;
}

bool makePrivateDir(const char* path, bool* made)
{
    Security s;
    const bool secure = readSecurity(&s);
    SECURITY_ATTRIBUTES sa = {sizeof sa, &s.sd.sd, FALSE};
    *made = CreateDirectoryA(path, secure ? &sa : nullptr) != 0;
    if (*made)
        return true;
    return existingUse(path, secure ? &s : nullptr, true) != DIR_REFUSED &&
           usableDirectory(GetFileAttributesA(path));
}

void keepDirPrivate(const char* path)
{
    Security s;
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES && readSecurity(&s))
        existingUse(path, &s, true);
}
