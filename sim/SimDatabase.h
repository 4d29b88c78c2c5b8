#pragma once

#include "sim/SimLayout.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Memory layouts of the models of a definition database: the parameter area
// from every parameter row's standard value, the monitor items, the model
// texts, the version block, the alarm blocks and the addresses of the areas
// later functions use. The storages are read once, shared (no lock), so the
// simulator runs beside the set-up program on the same files.
class TSimDatabase
{
public:
    // basePath: the first storage (.ad0); the others lie beside it.
    bool Open(const std::string &basePath, std::string *error);

    bool Known(uint32_t code) const { return layouts.count(code) != 0; }
    // The model's layout; an unknown code gets an empty one (zeroed memory).
    TSimLayout Layout(uint32_t code) const;
    // The model codes in the database, in code order.
    std::vector<uint32_t> Codes() const;

    // The software version every simulated model reports: "S1.02.3".
    static constexpr char VersionLetter = 'S';
    static constexpr uint16_t VersionDigits = 0x1023;

private:
    std::map<uint32_t, TSimLayout> layouts;
};
