// A start's order of reads, and the layout that follows it.
#include "media/readorder.h"

#include <cctype>
#include <cstdlib>
#include <map>
#include <set>

#include "launcher/manifest.h"

namespace {
std::string lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return s;
}

// "/DEMODATA/BK01.BK2" as the media names it: "DEMODATA\BK01.BK2".
std::string mediaPath(const std::string& drivePath)
{
    std::string out;
    for (char c : drivePath)
        out += c == '/' ? '\\' : c;
    while (!out.empty() && out[0] == '\\')
        out.erase(0, 1);
    return out;
}

bool isCount(const std::string& s)
{
    return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
}
}  // namespace

bool parseReadRecord(const std::string& text, std::vector<RecordedStep>* steps,
                     std::string* error)
{
    size_t start = 0;
    for (int line = 1; start < text.size(); ++line) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string l = text.substr(start, end - start);
        start = end + 1;
        if (l.empty())
            continue;
        // "read|dir OFFSET LENGTH PATH" or "look PATH[ missing]"; paths begin with "/".
        const size_t space = l.find(' ');
        const std::string kind = l.substr(0, space);
        std::string rest = space == std::string::npos ? "" : l.substr(space + 1);
        bool ok = false;
        if (kind == "read" || kind == "dir") {
            const size_t a = rest.find(' ');
            const size_t b = a == std::string::npos ? a : rest.find(' ', a + 1);
            ok = b != std::string::npos && isCount(rest.substr(0, a)) &&
                 isCount(rest.substr(a + 1, b - a - 1));
            rest = ok ? rest.substr(b + 1) : rest;
        } else if (kind == "look") {
            ok = true;
            const std::string missing = " missing";
            if (rest.size() > missing.size() &&
                rest.compare(rest.size() - missing.size(), missing.size(), missing) == 0)
                rest.erase(rest.size() - missing.size());
        }
        if (!ok || rest.empty() || rest[0] != '/') {
            *error = "line " + std::to_string(line) + ": not a read, a directory or a lookup: " + l;
            return false;
        }
        steps->push_back({kind == "read"  ? RecordedStep::Read
                          : kind == "dir" ? RecordedStep::Directory
                                          : RecordedStep::Lookup,
                          mediaPath(rest)});
    }
    return true;
}

std::vector<RecordedStep> builtInStart()
{
    std::vector<RecordedStep> out;
    for (const char* name : {"autorun.inf", "brakstart.exe", "BK2DEMO.EXE", "brakpass.exe"})
        out.push_back({RecordedStep::Read, name});
    for (const char* entry : installManifest)
        out.push_back({RecordedStep::Read, entry});
    out.push_back({RecordedStep::Read, "register.exe"});
    return out;
}

std::vector<std::string> startLayout(const std::vector<RecordedStep>& start,
                                     const std::vector<MediaFile>& files)
{
    std::map<std::string, const MediaFile*> byName;
    for (const MediaFile& f : files)
        byName.emplace(lower(f.path), &f);
    std::vector<std::string> out;
    std::set<std::string> placed;  // lower case; "" the root
    // A directory, after its parents: "/" the root, "DEMODATA/" one below it.
    auto placeDirectory = [&](const std::string& path) {
        if (placed.insert("").second)
            out.push_back("/");
        for (size_t end = path.find('\\'); !path.empty(); end = path.find('\\', end + 1)) {
            const std::string dir = end == std::string::npos ? path : path.substr(0, end);
            if (placed.insert(lower(dir)).second) {
                std::string name = byName.at(lower(dir))->path + "/";
                for (char& c : name)
                    if (c == '\\')
                        c = '/';
                out.push_back(name);
            }
            if (end == std::string::npos)
                break;
        }
    };
    // The directories some file is read from, below them or in them: each goes
    // just before the first; a listing of the disc before the start reads them all.
    std::set<std::string> holdReads;
    for (const RecordedStep& step : start) {
        const auto it = byName.find(lower(step.path));
        if (step.kind != RecordedStep::Read || it == byName.end() || it->second->directory)
            continue;
        for (size_t slash = step.path.find('\\'); slash != std::string::npos;
             slash = step.path.find('\\', slash + 1))
            holdReads.insert(lower(step.path.substr(0, slash)));
    }
    for (const RecordedStep& step : start) {
        const auto it = byName.find(lower(step.path));
        if (step.kind == RecordedStep::Directory && !holdReads.count(lower(step.path)) &&
            (step.path.empty() || (it != byName.end() && it->second->directory)))
            placeDirectory(step.path);
        if (step.kind != RecordedStep::Read || it == byName.end() || it->second->directory ||
            !placed.insert(lower(step.path)).second)
            continue;
        const std::string& path = it->second->path;
        const size_t slash = path.rfind('\\');
        placeDirectory(slash == std::string::npos ? "" : path.substr(0, slash));
        std::string name = path;
        for (char& c : name)
            if (c == '\\')
                c = '/';
        out.push_back(name);
    }
    return out;
}
