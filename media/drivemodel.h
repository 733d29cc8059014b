// The simulated drive's timing: a sequential rate, a seek for every read that
// does not continue where the last one ended, a short forward gap read through
// instead, and optionally a buffer the drive reads on into while the host is
// busy. Pure, so that the media check counts jumps by the same rule.
#pragma once
#include <cstdint>
#include <string>

const double CD_SPEED_1X = 153600;  // bytes per second of a 1x CD
const uint64_t READ_THROUGH = 32 * 1024;  // a gap the drive reads rather than seeks over
const uint64_t CD_SECTOR = 2048;          // the least a drive reads

struct DriveModel {
    double rate;           // bytes per second; 0 is no limit (full speed)
    double seekSeconds;    // for every jump
    uint64_t readThrough;  // a forward gap of at most this is read at the rate
    uint64_t readAhead;    // the buffer the drive fills on from the head while idle; 0: none
    uint64_t sector = CD_SECTOR;  // reads are of whole sectors; 1: of bytes
};

// Where the head is: the end of the previous read, none before the first.
struct DriveHead {
    bool placed;
    uint64_t next;
    uint64_t ahead;  // bytes from next on already in the buffer
};

// Whether a read at `at` is a jump for a head at `next`.
bool isJump(uint64_t next, uint64_t at, uint64_t readThrough);

// Seconds the read of len bytes at `at` costs, idle seconds after the last
// read ended, moving the head; seeks counts the jumps. The first read is a
// seek: the head is not yet over the data. A jump empties the buffer. The
// read covers whole sectors; the sector the last read ended in is still held.
double readCost(const DriveModel& model, DriveHead* head, uint64_t at, uint64_t len, double idle,
                uint64_t* seeks);

// A rate as given on a command line: "24x" (CD speed factors), "20M" (10^6
// bytes per second), or bytes per second; false for anything else or 0.
bool parseRate(const std::string& text, double* rate);
