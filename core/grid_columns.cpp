#include "core/grid_columns.h"

#include <array>

namespace GridColumns {
namespace {

using namespace Qt::Literals::StringLiterals;

constexpr std::array<DefaultColumn, 40> Defaults{{
    {"yyyy"_L1, 36},          {"mmdd"_L1, 36},         {"crew"_L1, 120},
    {"intention"_L1, 62},     {"depart"_L1, 62},       {"arrive"_L1, 62},
    {"outtime"_L1, 42},       {"offtime"_L1, 42},      {"ontime"_L1, 42},
    {"intime"_L1, 42},        {"blocktime"_L1, 60},    {"flighttime"_L1, 60},
    {"sincema"_L1, -1},       {"sinceov"_L1, -1},      {"remarks"_L1, 120},
    {"glider"_L1, 60},        {"sign"_L1, 60},         {"callsign"_L1, 60},
    {"airworthiness"_L1, 50}, {"ovh"_L1, 50},          {"pageno"_L1, 50},
    {"printed"_L1, 50},       {"e_groundtime"_L1, 60}, {"e_flighttime"_L1, 60},
    {"e_totaltime"_L1, 60},   {"e_sincema"_L1, -1},    {"e_sinceov"_L1, -1},
    {"e_ovh"_L1, 50},         {"e_pageno"_L1, 50},     {"e_printed"_L1, 50},
    {"e_remarks"_L1, 120},    {"p_groundtime"_L1, 60}, {"p_flighttime"_L1, 60},
    {"p_totaltime"_L1, 60},   {"p_sincema"_L1, -1},    {"p_sinceov"_L1, -1},
    {"p_ovh"_L1, 50},         {"p_pageno"_L1, 50},     {"p_printed"_L1, 50},
    {"p_remarks"_L1, 120},
}};

} // namespace

std::span<const DefaultColumn> defaults()
{
    return Defaults;
}

} // namespace GridColumns
