// The final state of a play cycle as the player's disk shows it: every byte
// below a folder, the bytes that changed between two looks, the files left in T.
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

std::string upper(std::string s);
// Joins with '|' between.
std::string joined(const std::vector<std::string>& v);

// Every file and folder below base (path relative to base, folders ending in
// a backslash) with its contents; the full paths in skip (upper case) are not
// entered.
void snapshot(const std::string& base, const std::string& rel, const std::set<std::string>& skip,
              std::map<std::string, std::string>* out);
// Bytes that differ between two snapshots; a folder made or removed counts 1.
long long bytesChanged(const std::map<std::string, std::string>& a,
                       const std::map<std::string, std::string>& b);
// Files below t\rel, relative to t; a link in links (upper case) is named, not entered.
void filesLeft(const std::string& t, const std::string& rel, const std::set<std::string>& links,
               std::vector<std::string>* out);
