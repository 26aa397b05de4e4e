#include "print/running_time_log_layout.h"

#include <QString>
#include <array>
#include <vector>

// The pages as laid out, in millimetres from each band's top-left.
namespace RunningTimeLogLayout {
namespace {

using enum BandLayout::Kind;
using Element = BandLayout::Element;

constexpr Element EngineHeader[] = {
    {"QRLabel5", Label, "エンジン使用記録", 97.9, 1.1, 24.1, 6.6, Qt::AlignLeft, 18, true, true},
    {"QRShape3", VerticalLine, "", 19.6, 17.2, 0.3, 15.6, Qt::AlignLeft, 9, false, false, 2},
    {"QRLabel8", Label, "年月日", 3.7, 22.2, 11.9, 3.4, Qt::AlignHCenter, 8},
    {"QRShape4", VerticalLine, "", 46.0, 24.6, 0.3, 8.2},
    {"QRShape5", HorizontalLine, "", 19.8, 24.3, 151.6, 0.3},
    {"QRShape6", VerticalLine, "", 72.5, 24.6, 0.3, 8.2},
    {"QRShape7", VerticalLine, "", 99.0, 24.3, 0.3, 8.2},
    {"QRShape8", VerticalLine, "", 135.5, 24.6, 0.3, 8.2},
    {"QRShape9", VerticalLine, "", 171.4, 17.2, 0.3, 15.1},
    {"QRLabel2", Label, "運　　転　　時　　間　　区　　分", 90.5, 19.1, 40.5, 3.4, Qt::AlignHCenter,
     8},
    {"QRLabel3", Label, "地　　上", 24.9, 26.5, 15.1, 3.4, Qt::AlignHCenter, 8},
    {"QRLabel6", Label, "空　　中", 51.3, 26.5, 17.2, 3.4, Qt::AlignHCenter, 9},
    {"QRLabel9", Label, "合　　計", 76.7, 26.5, 18.3, 3.4, Qt::AlignHCenter, 8},
    {"QRLabel10", Label, "製造後の総運転時間", 100.5, 26.5, 32.5, 3.4, Qt::AlignHCenter, 8},
    {"QRLabel11", Label, "分解手入後の総運転時間", 136.0, 26.5, 35.2, 3.4, Qt::AlignHCenter, 8},
    {"QRLabel12", Label, "備　　考", 194.2, 23.3, 10.8, 3.4, Qt::AlignHCenter, 8},
};

// Where the propeller's header differs from the engine's.
struct Moved
{
    const char* name;
    double left;
    double top;
    double width;
};
constexpr Moved PropellerMoves[] = {
    {"QRLabel5", 97.9, 1.1, 23.8},    {"QRLabel8", 2.1, 22.2, 15.1},
    {"QRShape5", 20.1, 24.3, 151.6},  {"QRShape6", 72.5, 24.3, 0.3},
    {"QRLabel3", 22.2, 26.5, 18.8},   {"QRLabel6", 49.2, 26.5, 18.3},
    {"QRLabel9", 76.2, 26.5, 18.8},   {"QRLabel10", 101.6, 26.5, 32.0},
    {"QRLabel11", 136.0, 26.5, 36.0},
};

std::vector<Element> propellerHeader()
{
    std::vector<Element> header(std::begin(EngineHeader), std::end(EngineHeader));
    for (Element& element : header) {
        if (QLatin1StringView(element.name) == QLatin1StringView("QRLabel5"))
            element.text = "プロペラ使用記録";
        for (const Moved& moved : PropellerMoves) {
            if (QLatin1StringView(element.name) == QLatin1StringView(moved.name)) {
                element.left = moved.left;
                element.top = moved.top;
                element.width = moved.width;
            }
        }
    }
    return header;
}

// The time columns of a line: ground, air, total, since manufacture, since
// overhaul.
using TimeColumns = std::array<const char*, 5>;

std::vector<Element> detail(const TimeColumns& column)
{
    return {
        {"QRLabel13", Label, "", 0.5, 1.1, 14.8, 4.5, Qt::AlignLeft, 9, false, true},
        {"QRDBText1", DataText, "mmdd", 10.6, 1.1, 7.7, 4.5, Qt::AlignLeft, 9, false, true},
        {"QRDBText2", DataText, column[0], 26.2, 1.1, 17.5, 4.5, Qt::AlignRight, 9, false, true},
        {"QRDBText3", DataText, column[1], 54.5, 1.1, 15.1, 4.5, Qt::AlignRight, 9, false, true},
        {"QRDBText4", DataText, column[2], 82.3, 1.1, 14.3, 4.5, Qt::AlignRight, 9, false, true},
        {"QRDBText5", DataText, column[3], 119.3, 1.1, 13.2, 4.5, Qt::AlignRight, 9, false, true},
        {"QRDBText6", DataText, column[4], 153.7, 1.1, 13.0, 4.5, Qt::AlignRight, 9, false, true},
        {"QRShape10", VerticalLine, "", 171.4, 0.0, 0.3, 6.6},
        {"QRDBText7", DataText, "remarks", 173.0, 0.5, 10.3, 3.4, Qt::AlignLeft, 9, false, true},
    };
}

LogLayout::Layout layout(std::span<const Element> header, std::span<const Element> lines,
                         LogLayout::HeaderBox box, const char16_t* pageNumberColumn,
                         const char* documentSuffix)
{
    return {
        .marginsMm = QMarginsF(20, 10, 5, 5),
        .headerBox = box,
        .header = {"PageHeaderBand1", HeaderHeightMm, header, false, true, 2},
        .detail = {"DetailBand1", DetailHeightMm, lines},
        .footer = {"PageFooterBand1", FooterHeightMm, {}},
        .pageNumberColumn = pageNumberColumn,
        .yearLabel = "QRLabel13",
        .documentSuffix = documentSuffix,
    };
}

} // namespace

const LogLayout::Layout& engineLog()
{
    static const std::vector<Element> lines =
        detail({"e_groundtime", "e_flighttime", "e_totaltime", "e_sincema", "e_sinceov"});
    static const LogLayout::Layout engine =
        layout(EngineHeader, lines, {0.5, 4.5, 29.4, 2}, u"e_pageno", "_engine_log");
    return engine;
}

const LogLayout::Layout& propellerLog()
{
    static const std::vector<Element> header = propellerHeader();
    static const std::vector<Element> lines =
        detail({"p_groundtime", "p_flighttime", "p_totaltime", "p_sincema", "p_sinceov"});
    static const LogLayout::Layout propeller =
        layout(header, lines, {0.0, 4.2, 29.4, 3}, u"p_pageno", "_propeller_log");
    return propeller;
}

} // namespace RunningTimeLogLayout
