// The simulated drive's command line: its model, and the faults of a bad
// disc (a scratch, a slow patch, an eject) placed on the image. Pure, so that
// every argument is checked by one table of tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "media/drivemodel.h"
#include "media/mediacheck.h"

// A stretch of the image: bytes of it ("FROM+LENGTH"), a file of it ("PATH"),
// or bytes of a file ("PATH@FROM+LENGTH"). place() turns it into [from, to).
struct ImageRange {
    std::string text;  // as given, for messages
    std::string path;  // empty: bytes of the image
    bool whole;        // the whole file
    uint64_t from, length;
};

// Reads that touch the range wait `seconds`, then fail (a scratch: the drive
// retried and gave up) or answer (a slow patch it read at last).
struct DriveFault {
    bool fails;
    ImageRange range;
    double seconds;
    uint64_t from, to;  // in the image, once placed
};

const double SCRATCH_RETRY_SECONDS = 2;

struct DriveOptions {
    DriveModel model = {0, 0.1, READ_THROUGH, 0};
    std::vector<DriveFault> faults;
    uint64_t ejectAfter = 0;  // the disc goes out once this many bytes were read; 0: never
    bool foreground = false, verbose = false;
    bool printModel = false;  // --model: say the model and stop
    std::string record;       // --record: where every read and lookup is written
    bool cache = false;       // --cache: the system keeps what it read, until unmounted
    std::string image, mountpoint;
};

// The options in argv[1..argc); false with the reason in error.
bool parseDriveArgs(int argc, const char* const* argv, DriveOptions* out, std::string* error);

// Places every fault's range on the image's files (paths match as Windows
// matches them, either slash); false with the reason for a range that names no
// file, a folder, or reaches past its file or the image.
bool placeFaults(std::vector<DriveFault>* faults, const std::vector<MediaFile>& files,
                 uint64_t imageSize, std::string* error);

// What the faults add to a read of [at, at + len): whole sectors, as the
// drive reads them.
struct FaultCharge {
    double seconds;
    bool fails;
};
FaultCharge faultCharge(const std::vector<DriveFault>& faults, uint64_t at, uint64_t len);

// One line for scripts and people: the model's figures, bytes per second first.
std::string describeModel(const DriveModel& model);
