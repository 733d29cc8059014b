// The drive's cost of a read, and rates written as CD speeds.
#include "media/drivemodel.h"

#include <algorithm>
#include <cstdlib>

bool isJump(uint64_t next, uint64_t at, uint64_t readThrough)
{
    return at < next || at - next > readThrough;
}

double readCost(const DriveModel& model, DriveHead* head, uint64_t at, uint64_t len, double idle,
                uint64_t* seeks)
{
    const uint64_t sector = std::max<uint64_t>(model.sector, 1);
    uint64_t first = at / sector * sector;
    const uint64_t end = (at + len + sector - 1) / sector * sector;
    if (head->placed && first + sector == head->next)
        first = head->next;
    if (end <= first)
        return 0;
    at = first;
    len = end - first;
    uint64_t bytes = len;
    double seconds = 0;
    if (!head->placed || isJump(head->next, at, model.readThrough)) {
        ++*seeks;
        seconds = model.seekSeconds;
        head->ahead = 0;
    } else {
        // The gap is read and thrown away; what the drive read on while the
        // host was busy elsewhere costs nothing now.
        const double filled = static_cast<double>(head->ahead) + std::max(idle, 0.0) * model.rate;
        const uint64_t buffered =
            std::min(static_cast<uint64_t>(std::min(filled, 1e18)), model.readAhead);
        const uint64_t needed = at - head->next + len;
        bytes = needed > buffered ? needed - buffered : 0;
        head->ahead = buffered > needed ? buffered - needed : 0;
    }
    head->placed = true;
    head->next = at + len;
    return model.rate > 0 ? seconds + static_cast<double>(bytes) / model.rate : 0;
}

bool parseRate(const std::string& text, double* rate)
{
    if (text.empty() || text[0] < '0' || text[0] > '9')
        return false;
    char* end = nullptr;
    const double n = strtod(text.c_str(), &end);
    const std::string unit(end);
    if (unit == "x" || unit == "X")
        *rate = n * CD_SPEED_1X;
    else if (unit == "M")
        *rate = n * 1e6;
    else if (unit.empty())
        *rate = n;
    else
        return false;
    return *rate > 0;
}
