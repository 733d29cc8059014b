// brakdrive: an ISO 9660 image with its Joliet names as a read-only FUSE file
// system that answers at a CD drive's speed, so that copies from "the disc"
// take the time a player's drive would take.
#define FUSE_USE_VERSION 31
#include <fuse.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <csignal>
#include <cstring>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "media/driveargs.h"
#include "media/drivemodel.h"
#include "media/isoread.h"

namespace {
const char kUsage[] =
    "usage: brakdrive [-fv] [-r RATE [-s SEEK_MS]] [-g GAP] [-a BUFFER] [FAULTS] IMAGE MOUNTPOINT\n"
    "       brakdrive --model RATE [-s SEEK_MS] [-g GAP] [-a BUFFER]: print the model\n"
    "  RATE: 24x (CD speed), 20M (10^6 bytes/s) or bytes/s; none is full speed\n"
    "  SEEK_MS: the seek of a read that does not continue the last one (default 100)\n"
    "  GAP: the forward gap in bytes read through instead (default 32768)\n"
    "  BUFFER: bytes the drive reads on into while the host is busy (default 0)\n"
    "  -f: stay in the foreground; the counts go to stderr at unmount\n"
    "  -v: with -f, every read to stderr: where, how long, its seconds\n"
    "  --record FILE: every read and lookup to FILE, in order (mkmedia --layout takes it)\n"
    "  --cache: the system keeps what it has read (as a file cache does) until unmounted\n"
    "FAULTS, each on the reads that touch RANGE (FROM+LENGTH in bytes, a file's PATH,\n"
    "or PATH@FROM+LENGTH within it); DELAY is 8s, 250ms or ms:\n"
    "  --scratch RANGE[,DELAY]: they fail (EIO) after DELAY of retries (default 2s)\n"
    "  --slow RANGE,DELAY: they answer after DELAY\n"
    "  --eject-after BYTES: the disc goes out at the read that passes BYTES read;\n"
    "    SIGUSR1 takes it out at any time. Then every read and lookup fails (ENOMEDIUM)\n";

struct Node {
    uint64_t offset, size;
    bool directory;
    std::vector<std::string> children;
    bool read;  // a directory whose records the drive has read: the system keeps them
};

// One drive a process: the image, its tree by FUSE path, the head and its counts.
const unsigned char* image;
size_t imageSize;
timespec imageTime;
std::map<std::string, Node> tree;
DriveOptions options;
DriveHead head = {false, 0, 0};
uint64_t reads, readBytes, seeks, directoryReads, failedReads, slowReads;
double busySeconds;
timespec busyUntil;
volatile sig_atomic_t ejectSignal;
bool ejectedByCount;
FILE* record;  // --record: "read|dir OFFSET LENGTH PATH" and "look PATH [missing]" lines

bool ejected()
{
    return ejectSignal || ejectedByCount;
}

void onEjectSignal(int)
{
    ejectSignal = 1;
}

double secondsOf(const timespec& t)
{
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

timespec later(const timespec& t, double seconds)
{
    const double ns = static_cast<double>(t.tv_nsec) + seconds * 1e9;
    timespec out = t;
    out.tv_sec += static_cast<time_t>(ns / 1e9);
    out.tv_nsec = static_cast<long>(ns - static_cast<double>(out.tv_sec - t.tv_sec) * 1e9);
    return out;
}

// Seconds since the drive finished the last read: time it stood idle, or
// read on into its buffer.
double idleSeconds()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::max(secondsOf(now) - secondsOf(busyUntil), 0.0);
}

// A read finishes when the drive is done with the one before and with this one:
// time the caller spent elsewhere is time the drive was idle, not ahead. A
// read from the buffer ends now too, or the next read's idle time would count
// from an older end and fill the buffer twice.
void waitForDrive(double cost)
{
    if (cost <= 0)
        return;
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const timespec& start = secondsOf(busyUntil) > secondsOf(now) ? busyUntil : now;
    busyUntil = later(start, cost);
    busySeconds += cost;
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &busyUntil, nullptr) == EINTR) {
    }
}

// One read of the disc, a file's or a directory's: its model cost and its
// faults' delays, then 0, or the error the drive gives.
int driveRead(uint64_t at, uint64_t len, const char* what, bool directory)
{
    if (!ejected() && options.ejectAfter && readBytes + len > options.ejectAfter)
        ejectedByCount = true;
    if (ejected())
        return -ENOMEDIUM;
    const uint64_t seeksBefore = seeks;
    const FaultCharge fault = faultCharge(options.faults, at, len);
    const double cost = readCost(options.model, &head, at, len, idleSeconds(), &seeks);
    if (options.verbose)
        fprintf(stderr, "read %llu +%llu %s %.6f s%s %s\n", static_cast<unsigned long long>(at),
                static_cast<unsigned long long>(len), seeks > seeksBefore ? "seek" : "    ",
                cost + fault.seconds, fault.fails ? " FAILS" : "", what);
    if (record)
        fprintf(record, "%s %llu %llu %s\n", directory ? "dir" : "read",
                static_cast<unsigned long long>(at), static_cast<unsigned long long>(len), what);
    waitForDrive(cost + fault.seconds);
    if (fault.fails) {
        ++failedReads;
        return -EIO;
    }
    slowReads += fault.seconds > 0 ? 1 : 0;
    if (ejected())  // taken out while the drive retried
        return -ENOMEDIUM;
    ++reads;
    readBytes += len;
    return 0;
}

// Reads the directory's records the first time a name is looked up in it.
int readDirectory(const std::string& path)
{
    const auto dir = tree.find(path);
    if (dir == tree.end() || !dir->second.directory)
        return -ENOENT;
    Node& d = dir->second;
    if (!d.read && d.size > 0) {
        const int err = driveRead(d.offset, d.size, path.c_str(), true);
        if (err)
            return err;
        ++directoryReads;
        d.read = true;
    }
    return 0;
}

// Finds a path as a drive does, reading each directory on the way (and the
// path's own records, for a listing). Null with the error in *err.
const Node* lookup(const char* path, int* err, bool listing = false)
{
    *err = ejected() ? -ENOMEDIUM : 0;
    const std::string p = path;
    for (size_t slash = 0; !*err && slash != std::string::npos && slash + 1 < p.size();
         slash = p.find('/', slash + 1))
        *err = readDirectory(slash == 0 ? "/" : p.substr(0, slash));
    if (!*err && listing)
        *err = readDirectory(p);
    const auto it = tree.find(p);
    if (!*err && it == tree.end())
        *err = -ENOENT;
    if (record && (!*err || *err == -ENOENT))
        fprintf(record, "look %s%s\n", path, *err ? " missing" : "");
    return *err ? nullptr : &it->second;
}

int getAttr(const char* path, struct stat* st, fuse_file_info*)
{
    int err;
    const Node* n = lookup(path, &err);
    if (!n)
        return err;
    memset(st, 0, sizeof *st);
    st->st_mode = n->directory ? S_IFDIR | 0555 : S_IFREG | 0444;
    st->st_nlink = n->directory ? 2 : 1;
    st->st_size = static_cast<off_t>(n->directory ? 0 : n->size);
    st->st_blksize = 2048;
    st->st_blocks = static_cast<blkcnt_t>((n->size + 511) / 512);
    st->st_uid = getuid();
    st->st_gid = getgid();
    st->st_atim = st->st_mtim = st->st_ctim = imageTime;
    return 0;
}

int readDir(const char* path, void* buf, fuse_fill_dir_t fill, off_t, fuse_file_info*,
            fuse_readdir_flags)
{
    int err;
    const Node* n = lookup(path, &err, true);
    if (!n)
        return err == -ENOENT && tree.count(path) ? -ENOTDIR : err;
    fill(buf, ".", nullptr, 0, static_cast<fuse_fill_dir_flags>(0));
    fill(buf, "..", nullptr, 0, static_cast<fuse_fill_dir_flags>(0));
    for (const std::string& name : n->children)
        fill(buf, name.c_str(), nullptr, 0, static_cast<fuse_fill_dir_flags>(0));
    return 0;
}

int openFile(const char* path, fuse_file_info* fi)
{
    int err;
    const Node* n = lookup(path, &err);
    if (!n)
        return err;
    if ((fi->flags & O_ACCMODE) != O_RDONLY)
        return -EROFS;
    // Every read reaches the drive, unless the system may keep what it read
    // (--cache): then only until the drive is unmounted.
    fi->direct_io = options.cache ? 0 : 1;
    fi->keep_cache = options.cache ? 1 : 0;
    return 0;
}

int readFile(const char* path, char* buf, size_t size, off_t off, fuse_file_info*)
{
    if (ejected())
        return -ENOMEDIUM;
    const auto it = tree.find(path);
    if (it == tree.end())
        return -ENOENT;
    const Node* n = &it->second;
    if (n->directory)
        return -EISDIR;
    if (off < 0 || static_cast<uint64_t>(off) >= n->size)
        return 0;
    const size_t len = static_cast<size_t>(std::min<uint64_t>(size, n->size - off));
    const uint64_t at = n->offset + static_cast<uint64_t>(off);
    const int err = driveRead(at, len, path, false);
    if (err)
        return err;
    memcpy(buf, image + at, len);
    return static_cast<int>(len);
}

int statFs(const char*, struct statvfs* st)
{
    if (ejected())
        return -ENOMEDIUM;
    memset(st, 0, sizeof *st);
    st->f_bsize = st->f_frsize = 2048;
    st->f_blocks = imageSize / 2048;
    st->f_files = tree.size();
    st->f_namemax = 255;
    return 0;
}

void* init(fuse_conn_info*, fuse_config* cfg)
{
    cfg->direct_io = options.cache ? 0 : 1;
    cfg->kernel_cache = 0;
    return nullptr;
}

void destroy(void*)
{
    if (record && fclose(record) != 0)
        fprintf(stderr, "brakdrive: the record %s is incomplete\n", options.record.c_str());
    fprintf(stderr,
            "brakdrive: %llu reads (%llu of directories), %llu bytes, %llu seeks, %.3f s of "
            "drive time\n",
            static_cast<unsigned long long>(reads), static_cast<unsigned long long>(directoryReads),
            static_cast<unsigned long long>(readBytes), static_cast<unsigned long long>(seeks),
            busySeconds);
    if (!options.faults.empty() || options.ejectAfter || ejected())
        fprintf(stderr, "brakdrive: faults: %llu reads failed, %llu slowed; %s\n",
                static_cast<unsigned long long>(failedReads),
                static_cast<unsigned long long>(slowReads),
                ejectSignal ? "ejected by a signal" : ejectedByCount ? "ejected at its byte count"
                                                                     : "not ejected");
}

// The image's tree under FUSE's names: "/" and "/DEMODATA/BK01.BK2"; the
// faults placed on it.
bool loadTree(const char* path)
{
    const int fd = open(path, O_RDONLY);
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0 || st.st_size <= 0) {
        fprintf(stderr, "brakdrive: cannot read %s: %s\n", path, strerror(errno));
        if (fd >= 0)
            close(fd);
        return false;
    }
    imageSize = static_cast<size_t>(st.st_size);
    imageTime = st.st_mtim;
    void* map = mmap(nullptr, imageSize, PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);
    if (map == MAP_FAILED) {
        fprintf(stderr, "brakdrive: cannot map %s: %s\n", path, strerror(errno));
        return false;
    }
    image = static_cast<const unsigned char*>(map);
    std::vector<MediaFile> files;
    MediaFile root;
    std::string error;
    if (!readIsoTree(image, imageSize, &files, &error, &root) ||
        !placeFaults(&options.faults, files, imageSize, &error)) {
        fprintf(stderr, "brakdrive: %s: %s\n", path, error.c_str());
        return false;
    }
    tree["/"] = {root.offset, root.size, true, {}, false};
    for (const MediaFile& f : files) {  // parents come before their contents
        std::string name = "/" + f.path;
        for (char& c : name)
            if (c == '\\')
                c = '/';
        const size_t slash = name.rfind('/');
        tree[slash == 0 ? "/" : name.substr(0, slash)].children.push_back(name.substr(slash + 1));
        tree[name] = {f.offset, f.size, f.directory, {}, false};
    }
    return true;
}
}  // namespace

// Under the host build's AddressSanitizer: libfuse3 (3.14) may keep one
// 120-byte request of its own when its loop ends at a stop. That leak is
// libfuse's, named by its loop's frame, so that an exit code of 1 stays a
// fault of ours. The frame is on the stack only with the slow unwinder
// (libfuse keeps no frame pointers); the drive allocates little.
extern "C" const char* __lsan_default_suppressions()  // NOLINT(bugprone-reserved-identifier): the hook's name
{
    return "leak:fuse_session_loop\n";
}
extern "C" const char* __asan_default_options()  // NOLINT(bugprone-reserved-identifier): the hook's name
{
    return "fast_unwind_on_malloc=0";
}

int main(int argc, char** argv)
{
    std::string error;
    if (!parseDriveArgs(argc, argv, &options, &error)) {
        fprintf(stderr, "brakdrive: %s\n%s", error.c_str(), kUsage);
        return 2;
    }
    if (options.printModel) {
        printf("%s\n", describeModel(options.model).c_str());
        return 0;
    }
    if (!loadTree(options.image.c_str()))
        return 1;
    if (!options.record.empty() && !(record = fopen(options.record.c_str(), "w"))) {
        fprintf(stderr, "brakdrive: cannot write %s: %s\n", options.record.c_str(), strerror(errno));
        return 1;
    }

    fuse_operations ops = {};
    ops.getattr = getAttr;
    ops.readdir = readDir;
    ops.open = openFile;
    ops.read = readFile;
    ops.statfs = statFs;
    ops.init = init;
    ops.destroy = destroy;
    // fuse_main would give 8 for a stop by a signal as for a failure.
    std::vector<char*> args = {argv[0], const_cast<char*>("-o"),
                               const_cast<char*>("ro,fsname=brakdrive,subtype=iso9660")};
    fuse_args fargs = FUSE_ARGS_INIT(static_cast<int>(args.size()), args.data());
    fuse* fs = fuse_new(&fargs, &ops, sizeof ops, nullptr);
    fuse_opt_free_args(&fargs);
    if (!fs)
        return 1;
    int status = 1;
    if (fuse_mount(fs, options.mountpoint.c_str()) == 0) {
        fuse_session* se = fuse_get_session(fs);
        struct sigaction eject = {};
        eject.sa_handler = onEjectSignal;
        sigemptyset(&eject.sa_mask);
        if (fuse_daemonize(options.foreground ? 1 : 0) == 0 &&
            fuse_set_signal_handlers(se) == 0 && sigaction(SIGUSR1, &eject, nullptr) == 0) {
            // One thread: a drive has one head, and the model one clock. A
            // signal (the way to stop it) ends the loop with its number, > 0.
            status = fuse_loop(fs) < 0 ? 1 : 0;
            fuse_remove_signal_handlers(se);
        }
        fuse_unmount(fs);
    }
    fuse_destroy(fs);
    return status;
}
