// The sample game's FILES.TXT reader: no read past the text or the entry
// table (both heap blocks of their exact size), and a list that parses prints
// back line for line, in the one spelling the writer uses (lower-case hex, the
// size without leading zeros, "\r\n"), and parses again to the same entries.
#include <string>
#include <vector>

#include "media/filelist.h"
#include "tests/fuzz/fuzzinput.h"

namespace {
// The writer's spelling of a line the reader took: "<crc> <size> <path>".
std::string canonical(std::string line)
{
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    for (size_t i = 0; i < 8; ++i)
        if (line[i] >= 'A' && line[i] <= 'F')
            line[i] = static_cast<char>(line[i] - 'A' + 'a');
    const size_t sizeStart = 9;
    size_t zeros = 0;
    while (line[sizeStart + zeros] == '0' && line[sizeStart + zeros + 1] != ' ')
        ++zeros;
    line.erase(sizeStart, zeros);
    return line + "\r\n";
}

bool sameEntry(const ListEntry& a, const ListEntry& b)
{
    return a.crc == b.crc && a.size == b.size && std::strcmp(a.path, b.path) == 0;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in{data, size};
    const int cap = static_cast<int>(in.u32(1) % 160);  // the game allows 144
    const size_t len = in.size;
    std::unique_ptr<char[]> text(new char[len]);
    if (len)
        std::memcpy(text.get(), in.data, len);
    std::unique_ptr<ListEntry[]> entries(new ListEntry[static_cast<size_t>(cap)]);

    int bad = 0;
    const int count = parseList(text.get(), len, entries.get(), cap, &bad);

    std::vector<std::string> lines;  // the non-blank ones
    int lineCount = 0;
    for (size_t pos = 0; pos < len;) {
        size_t end = pos;
        while (end < len && text[end] != '\n')
            ++end;
        ++lineCount;
        const std::string line(text.get() + pos, end - pos);
        if (!line.empty() && line != "\r")
            lines.push_back(line);
        pos = end + 1;
    }

    if (count < 0) {
        FUZZ_CHECK(count == -1 && bad >= 1 && bad <= lineCount);
        return 0;
    }
    FUZZ_CHECK(count == static_cast<int>(lines.size()));

    std::string printed;
    for (int i = 0; i < count; ++i) {
        const std::string want = canonical(lines[static_cast<size_t>(i)]);
        std::unique_ptr<char[]> out(new char[want.size()]);
        const size_t n = formatListLine(out.get(), want.size(), entries[i]);
        FUZZ_CHECK(n == want.size());
        FUZZ_CHECK(std::memcmp(out.get(), want.data(), n) == 0);
        printed.append(out.get(), n);
        // The first entry of that name, letter case aside, is the one found.
        const ListEntry* found = findListEntry(entries.get(), count, entries[i].path);
        FUZZ_CHECK(found && found <= &entries[i]);
    }

    std::unique_ptr<ListEntry[]> again(new ListEntry[static_cast<size_t>(cap)]);
    FUZZ_CHECK(parseList(printed.data(), printed.size(), again.get(), cap, nullptr) == count);
    for (int i = 0; i < count; ++i)
        FUZZ_CHECK(sameEntry(again[i], entries[i]));
    return 0;
}
