#include "core/log_record.h"

#include <array>

namespace LogRecord {
namespace {

using enum ColumnKind;
using namespace Qt::Literals::StringLiterals;

constexpr std::array<Column, ColumnCount> Columns{{
    {"id"_L1, {}, Integer},
    {"ct"_L1, {}, Integer},
    {"sb"_L1, {}, Integer},
    {"callsign"_L1, u"記号", Text},
    {"yyyy"_L1, u"年", Text},
    {"mmdd"_L1, u"月日", Text},
    {"pageno"_L1, u"頁", Integer},
    {"crew"_L1, u"乗組員氏名", Text},
    {"intention"_L1, u"飛行目的", Text},
    {"depart"_L1, u"出発地", Text},
    {"arrive"_L1, u"到着地", Text},
    {"outtime"_L1, u"発進", TimeText},
    {"offtime"_L1, u"離陸", TimeText},
    {"ontime"_L1, u"着陸", TimeText},
    {"intime"_L1, u"停止", TimeText},
    {"ovh"_L1, u"OH", Flag},
    {"blocktime"_L1, u"航行時間", TimeText},
    {"flighttime"_L1, u"飛行時間", TimeText},
    {"sincema"_L1, u"製造後", TimeText},
    {"sinceov"_L1, u"ＯＨ後", TimeText},
    {"sign"_L1, u"サイン", Text},
    {"remarks"_L1, u"備考", Text},
    {"printed"_L1, u"印刷", Flag},
    {"e_pageno"_L1, u"E_頁", Integer},
    {"e_ovh"_L1, u"E_OH", Flag},
    {"e_groundtime"_L1, u"E_地上", TimeText},
    {"e_flighttime"_L1, u"E_空中", TimeText},
    {"e_totaltime"_L1, u"E_合計", TimeText},
    {"e_sincema"_L1, u"E_製造後", TimeText},
    {"e_sinceov"_L1, u"E_OH後", TimeText},
    {"e_remarks"_L1, u"E_備考", Text},
    {"e_printed"_L1, u"E_印刷", Flag},
    {"p_pageno"_L1, u"P_頁", Integer},
    {"p_ovh"_L1, u"P_OH", Flag},
    {"p_groundtime"_L1, u"P_地上", TimeText},
    {"p_flighttime"_L1, u"P_空中", TimeText},
    {"p_totaltime"_L1, u"P_合計", TimeText},
    {"p_sincema"_L1, u"P_製造後", TimeText},
    {"p_sinceov"_L1, u"P_OH後", TimeText},
    {"p_remarks"_L1, u"P_備考", Text},
    {"p_printed"_L1, u"P_印刷", Flag},
    {"airworthiness"_L1, u"耐検", Flag},
    {"glider"_L1, u"動力(+/-)", TimeText},
}};

} // namespace

std::span<const Column, ColumnCount> columns()
{
    return Columns;
}

std::span<const Column, DataColumnCount> dataColumns()
{
    return columns().subspan<KeyColumnCount>();
}

int columnIndex(QStringView name)
{
    // 43 entries: a linear scan is cheaper than building any index.
    for (int i = 0; i < ColumnCount; ++i) {
        if (Columns[i].name == name)
            return i;
    }
    return -1;
}

const Column* findColumn(QStringView name)
{
    const int index = columnIndex(name);
    return index < 0 ? nullptr : &Columns[index];
}

int csvPosition(QStringView name)
{
    const int index = columnIndex(name);
    return index < KeyColumnCount ? -1 : index - KeyColumnCount;
}

} // namespace LogRecord
