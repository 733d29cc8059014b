// The media a test installs from and the demo tree it installs into.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

// The bytes of install entry i on the test media: reproducible, with sizes
// that cross copy blocks and update points (one empty, a few over 64 KiB).
std::string mediaContent(int i);
// Writes every install entry under media, subfolders made; their sizes in
// manifest order.
std::vector<size_t> buildMedia(const std::string& media);
// Points dir0 .. dir3 at t\BK2DEMO and its subfolders, and makes them.
void useTemp(const std::string& t);
