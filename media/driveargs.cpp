// The drive's arguments, its faults' places on the image, and their charges.
#include "media/driveargs.h"

#include <strings.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
bool parseCount(const std::string& text, uint64_t* out)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
        text.size() > 18)
        return false;
    *out = strtoull(text.c_str(), nullptr, 10);
    return true;
}

// "8s", "250ms", or milliseconds as -s takes them.
bool parseDelay(const std::string& text, double* seconds)
{
    if (text.empty() || text[0] < '0' || text[0] > '9')
        return false;
    char* end = nullptr;
    const double n = strtod(text.c_str(), &end);
    const std::string unit(end);
    if (unit == "s")
        *seconds = n;
    else if (unit == "ms" || unit.empty())
        *seconds = n / 1000;
    else
        return false;
    return *seconds < 1e6;
}

bool parseRange(const std::string& text, ImageRange* out)
{
    *out = {text, "", true, 0, 0};
    const size_t at = text.find('@');
    std::string bytes = text;
    if (at != std::string::npos) {
        out->path = text.substr(0, at);
        bytes = text.substr(at + 1);
        if (out->path.empty())
            return false;
    }
    const size_t plus = bytes.find('+');
    uint64_t from = 0, length = 0;
    const bool isBytes = plus != std::string::npos && parseCount(bytes.substr(0, plus), &from) &&
                         parseCount(bytes.substr(plus + 1), &length) && length > 0;
    if (at != std::string::npos && !isBytes)
        return false;
    if (!isBytes) {  // a file's name alone
        out->path = text;
        return !text.empty() && text.find(',') == std::string::npos;
    }
    out->whole = false;
    out->from = from;
    out->length = length;
    return true;
}

// "RANGE[,DELAY]": a scratch retries for 2 s unless told; a slow patch needs its delay.
bool parseFault(const std::string& text, bool fails, DriveFault* out)
{
    const size_t comma = text.rfind(',');
    out->fails = fails;
    out->seconds = SCRATCH_RETRY_SECONDS;
    out->from = out->to = 0;
    if (comma == std::string::npos && !fails)
        return false;
    if (comma != std::string::npos && !parseDelay(text.substr(comma + 1), &out->seconds))
        return false;
    return parseRange(text.substr(0, comma), &out->range);
}

std::string windowsPath(std::string path)
{
    for (char& c : path)
        if (c == '/')
            c = '\\';
    const size_t start = path.find_first_not_of('\\');
    return start == std::string::npos ? "" : path.substr(start);
}
}  // namespace

bool parseDriveArgs(int argc, const char* const* argv, DriveOptions* out, std::string* error)
{
    *out = DriveOptions();
    bool rateGiven = false, seekGiven = false;
    std::vector<std::string> places;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        // One option and its value, from "--name value", "--name=value", "-r value" or "-rvalue".
        std::string name, value;
        bool needsValue = false;
        size_t next = 0;  // within a cluster of short flags
        if (arg == "--cache") {
            out->cache = true;
            continue;
        }
        if (arg.compare(0, 2, "--") == 0) {
            const size_t eq = arg.find('=');
            name = arg.substr(0, eq);
            needsValue = name == "--scratch" || name == "--slow" || name == "--eject-after" ||
                         name == "--model" || name == "--record";
            if (!needsValue) {
                *error = "unknown option " + arg;
                return false;
            }
            if (eq != std::string::npos)
                value = arg.substr(eq + 1);
            else if (i + 1 < argc)
                value = argv[++i];
            else {
                *error = name + " needs a value";
                return false;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            for (next = 1; next < arg.size() && (arg[next] == 'f' || arg[next] == 'v'); ++next)
                (arg[next] == 'f' ? out->foreground : out->verbose) = true;
            if (next == arg.size())
                continue;
            name = arg.substr(0, 1) + arg[next];
            if (!strchr("rsga", arg[next])) {
                *error = "unknown option " + name;
                return false;
            }
            if (next + 1 < arg.size())
                value = arg.substr(next + 1);
            else if (i + 1 < argc)
                value = argv[++i];
            else {
                *error = name + " needs a value";
                return false;
            }
        } else {
            places.push_back(arg);
            continue;
        }

        const char* bad = nullptr;
        if (name == "-r" || name == "--model") {
            bad = parseRate(value, &out->model.rate) ? nullptr : "a rate";
            rateGiven = true;
            out->printModel = out->printModel || name == "--model";
        } else if (name == "-s") {
            char* end = nullptr;
            out->model.seekSeconds = strtod(value.c_str(), &end) / 1000;
            bad = value.empty() || *end || value[0] == '-' ? "a seek time in ms" : nullptr;
            seekGiven = true;
        } else if (name == "-g" || name == "-a") {
            bad = parseCount(value, name == "-g" ? &out->model.readThrough : &out->model.readAhead)
                      ? nullptr
                      : "a size in bytes";
        } else if (name == "--record") {
            out->record = value;
            bad = value.empty() ? "a file" : nullptr;
        } else if (name == "--eject-after") {
            bad = parseCount(value, &out->ejectAfter) && out->ejectAfter > 0 ? nullptr
                                                                             : "a byte count";
        } else {
            DriveFault fault = {};
            const bool scratch = name == "--scratch";
            bad = parseFault(value, scratch, &fault)
                      ? nullptr
                      : scratch ? "RANGE[,DELAY] (a range: FROM+LENGTH, PATH or PATH@FROM+LENGTH)"
                                : "RANGE,DELAY (a range: FROM+LENGTH, PATH or PATH@FROM+LENGTH)";
            out->faults.push_back(fault);
        }
        if (bad) {
            *error = name + ": not " + bad + ": " + value;
            return false;
        }
    }
    if (seekGiven && !rateGiven) {
        *error = "-s without -r: a drive with no rate charges no seeks";
        return false;
    }
    if (out->printModel)
        return true;
    if (places.size() != 2) {
        *error = "an image and a mount point, no more";
        return false;
    }
    out->image = places[0];
    out->mountpoint = places[1];
    return true;
}

bool placeFaults(std::vector<DriveFault>* faults, const std::vector<MediaFile>& files,
                 uint64_t imageSize, std::string* error)
{
    for (DriveFault& f : *faults) {
        const ImageRange& r = f.range;
        uint64_t base = 0, limit = imageSize;
        if (!r.path.empty()) {
            const std::string want = windowsPath(r.path);
            const MediaFile* file = nullptr;
            for (const MediaFile& m : files)
                if (strcasecmp(m.path.c_str(), want.c_str()) == 0)
                    file = &m;
            if (!file) {
                *error = r.text + ": no file " + want + " on the image";
                return false;
            }
            if (file->directory || file->size == 0) {
                *error = r.text + ": " + want + (file->directory ? " is a folder" : " is empty");
                return false;
            }
            base = file->offset;
            limit = file->size;
        }
        const uint64_t from = r.whole ? 0 : r.from;
        const uint64_t length = r.whole ? limit : r.length;
        if (from > limit || length > limit - from) {
            *error = r.text + ": past the end of " + (r.path.empty() ? "the image" : r.path);
            return false;
        }
        f.from = base + from;
        f.to = f.from + length;
    }
    return true;
}

FaultCharge faultCharge(const std::vector<DriveFault>& faults, uint64_t at, uint64_t len)
{
    const uint64_t first = at / CD_SECTOR * CD_SECTOR;
    const uint64_t end = (at + len + CD_SECTOR - 1) / CD_SECTOR * CD_SECTOR;
    FaultCharge out = {0, false};
    for (const DriveFault& f : faults)
        if (f.from < end && f.to > first) {
            out.seconds += f.seconds;
            out.fails = out.fails || f.fails;
        }
    return out;
}

std::string describeModel(const DriveModel& model)
{
    char line[200];
    snprintf(line, sizeof line,
             "%.0f bytes/s, %.3f s a seek, %llu-byte gaps read through, %llu-byte buffer, "
             "%llu-byte sectors",
             model.rate, model.seekSeconds, static_cast<unsigned long long>(model.readThrough),
             static_cast<unsigned long long>(model.readAhead),
             static_cast<unsigned long long>(model.sector));
    return line;
}
