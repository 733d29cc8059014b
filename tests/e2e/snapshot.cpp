// Snapshots of folders and what a cycle left, read with Win32 calls only.
#include "tests/e2e/snapshot.h"

#include <windows.h>

#include <algorithm>
#include <cctype>

#include "tests/common/testfs.h"

std::string upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return s;
}

void snapshot(const std::string& base, const std::string& rel, const std::set<std::string>& skip,
              std::map<std::string, std::string>* out)
{
    const std::string here = rel.empty() ? base : base + "\\" + rel;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((here + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = fd.cFileName;
        if (name == "." || name == "..")
            continue;
        const std::string path = rel.empty() ? name : rel + "\\" + name;
        const std::string full = base + "\\" + path;
        if (skip.count(upper(full)))
            continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            (*out)[path + "\\"] = "";
            snapshot(base, path, skip, out);
        } else {
            (*out)[path] = readText(full);
        }
    } while (FindNextFileA(h, &fd));
    FindClose(h);
}

long long bytesChanged(const std::map<std::string, std::string>& a,
                       const std::map<std::string, std::string>& b)
{
    std::set<std::string> keys;
    for (const auto& kv : a)
        keys.insert(kv.first);
    for (const auto& kv : b)
        keys.insert(kv.first);
    long long n = 0;
    for (const std::string& k : keys) {
        const auto x = a.find(k), y = b.find(k);
        const bool dir = k.back() == '\\';
        if (x == a.end() || y == b.end())
            n += dir ? 1 : static_cast<long long>((x == a.end() ? y : x)->second.size());
        else if (x->second != y->second)
            n += static_cast<long long>(std::max(x->second.size(), y->second.size()));
    }
    return n;
}

void filesLeft(const std::string& t, const std::string& rel, const std::set<std::string>& links,
               std::vector<std::string>* out)
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((t + "\\" + rel + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = fd.cFileName;
        if (name == "." || name == "..")
            continue;
        const std::string path = rel + "\\" + name;
        if (links.count(upper(t + "\\" + path)))
            out->push_back("link " + path);
        else if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            filesLeft(t, path, links, out);
        else
            out->push_back(path);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
}

std::string joined(const std::vector<std::string>& v)
{
    std::string out;
    for (const std::string& s : v)
        out += (out.empty() ? "" : "|") + s;
    return out;
}
