#include "print/journey_log_layout.h"

// The journey log page as laid out, in millimetres from each band's top-left.
namespace JourneyLogLayout {
namespace {

using enum BandLayout::Kind;

constexpr BandLayout::Element Header[] = {
    {"QRLabel5", Label, "飛　行　記　録", 98.4, 1.1, 19.3, 6.6, Qt::AlignLeft, 18, true, true, 1},
    {"QRLabel6", Label, "JOURNEY LOG", 149.8, 1.6, 21.7, 5.8, Qt::AlignLeft, 12, true, true, 1},
    {"QRLabel8", Label, "年月日", 2.1, 22.2, 15.1, 3.4, Qt::AlignHCenter, 8, false, false, 1},
    {"QRShape3", VerticalLine, "", 18.5, 17.2, 0.3, 15.6, Qt::AlignLeft, 9, false, false, 2},
    {"QRLabel10", Label, "乗組員氏名", 20.6, 22.2, 22.0, 3.4, Qt::AlignHCenter, 8, false, false, 1},
    {"QRShape4", VerticalLine, "", 43.9, 17.2, 0.3, 15.6, Qt::AlignLeft, 9, false, false, 2},
    {"QRLabel13", Label, "飛行目的", 45.0, 21.7, 14.0, 3.4, Qt::AlignHCenter, 8, false, false, 1},
    {"QRLabel14", Label, "又は便名", 45.5, 25.9, 13.5, 3.4, Qt::AlignHCenter, 8, false, false, 1},
    {"QRShape5", VerticalLine, "", 60.3, 17.2, 0.3, 15.6, Qt::AlignLeft, 9, false, false, 1},
    {"QRLabel19", Label, "出発地", 61.9, 22.2, 14.6, 3.4, Qt::AlignHCenter, 8, false, false, 1},
    {"QRShape6", VerticalLine, "", 77.8, 17.2, 0.3, 15.6, Qt::AlignLeft, 9, false, false, 2},
    {"QRLabel21", Label, "到着地", 79.4, 22.2, 15.6, 3.4, Qt::AlignHCenter, 8, false, false, 1},
    {"QRShape7", VerticalLine, "", 95.2, 17.2, 0.3, 15.6, Qt::AlignLeft, 9, false, false, 2},
    {"QRShape11", HorizontalLine, "", 95.5, 24.9, 97.6, 0.3, Qt::AlignLeft, 9, false, false, 2},
    {"QRShape12", VerticalLine, "", 105.3, 25.1, 0.3, 7.4, Qt::AlignLeft, 9, false, false, 2},
    {"QRLabel23", Label, "出　発", 96.8, 19.1, 16.7, 3.4, Qt::AlignHCenter, 8, false, false, 1},
    {"QRLabel29", Label, "発進", 96.3, 27.5, 9.3, 3.4, Qt::AlignHCenter, 8, false, false, 1},
    {"QRLabel31", Label, "離陸", 106.4, 27.5, 8.2, 3.4, Qt::AlignHCenter, 8, false, false, 1},
    {"QRShape8", VerticalLine, "", 115.4, 17.2, 0.3, 15.6, Qt::AlignLeft, 9, false, false, 2},
    {"QRLabel33", Label, "着陸", 115.9, 27.5, 9.3, 3.4, Qt::AlignHCenter, 8, false, false, 1},
    {"QRShape13", VerticalLine, "", 125.4, 25.1, 0.3, 7.4, Qt::AlignLeft, 9, false, false, 1},
    {"QRLabel26", Label, "到　着", 116.4, 19.1, 18.8, 3.4, Qt::AlignHCenter, 8, false, false, 1},
    {"QRLabel35", Label, "停止", 125.9, 27.5, 9.3, 3.4, Qt::AlignHCenter, 8, false, false, 1},
    {"QRLabel39", Label, "航行時間", 135.7, 27.5, 13.0, 3.4, Qt::AlignHCenter, 8, false, false, 1},
    {"QRShape16", VerticalLine, "", 148.2, 25.1, 0.3, 7.4, Qt::AlignLeft, 9, false, false, 1},
    {"QRLabel40", Label, "飛行時間", 148.7, 27.5, 13.0, 3.4, Qt::AlignHCenter, 8, false, false, 1},
    {"QRLabel37", Label, "経過時間", 137.1, 19.1, 22.5, 3.4, Qt::AlignHCenter, 8, false, false, 1},
    {"QRLabel47", Label, "製造後", 161.9, 27.5, 14.0, 3.4, Qt::AlignHCenter, 8, false, false, 1},
    {"QRLabel50", Label, "前回OH後", 176.7, 27.5, 15.6, 3.4, Qt::AlignHCenter, 8, false, false, 1},
    {"QRLabel45", Label, "総航行時間", 162.5, 19.1, 29.4, 3.4, Qt::AlignHCenter, 8, false, false,
     1},
    {"QRShape17", VerticalLine, "", 193.1, 17.2, 0.3, 15.6, Qt::AlignLeft, 9, false, false, 2},
    {"QRLabel53", Label, "機長の署名", 193.7, 22.2, 16.7, 3.4, Qt::AlignHCenter, 8, false, false,
     1},
    {"QRShape15", VerticalLine, "", 210.1, 17.2, 0.3, 15.6, Qt::AlignLeft, 9, false, false, 2},
    {"QRLabel56", Label, "備考", 211.7, 22.2, 13.0, 3.4, Qt::AlignHCenter, 8, false, false, 1},
    {"QRShape14", VerticalLine, "", 160.9, 17.2, 0.3, 15.6, Qt::AlignLeft, 9, false, false, 1},
    {"QRShape10", VerticalLine, "", 176.7, 25.1, 0.3, 7.4, Qt::AlignLeft, 9, false, false, 1},
    {"QRShape9", VerticalLine, "", 135.5, 17.2, 0.3, 15.6, Qt::AlignLeft, 9, false, false, 2},
};

constexpr BandLayout::Element Detail[] = {
    {"QRLabel59", Label, "", 1.6, 1.6, 14.8, 4.2, Qt::AlignLeft, 9, false, true, 1},
    {"QRDBText1", DataText, "mmdd", 10.3, 1.6, 7.7, 4.2, Qt::AlignLeft, 9, false, true, 1},
    {"QRDBText2", DataText, "crew", 19.6, 1.6, 6.3, 3.4, Qt::AlignLeft, 9, false, true, 1},
    {"QRDBText3", DataText, "intention", 45.0, 1.6, 11.9, 3.4, Qt::AlignLeft, 9, false, true, 1},
    {"QRDBText4", DataText, "depart", 60.9, 1.6, 8.5, 3.4, Qt::AlignLeft, 9, false, true, 1},
    {"QRDBText5", DataText, "arrive", 78.3, 1.6, 7.7, 3.4, Qt::AlignLeft, 9, false, true, 1},
    {"QRDBText6", DataText, "outtime", 95.0, 1.6, 10.1, 4.2, Qt::AlignRight, 9, false, true, 1},
    {"QRDBText7", DataText, "offtime", 106.6, 1.6, 9.0, 4.2, Qt::AlignRight, 9, false, true, 1},
    {"QRDBText8", DataText, "ontime", 116.7, 1.6, 9.0, 4.2, Qt::AlignRight, 9, false, true, 1},
    {"QRDBText9", DataText, "intime", 127.0, 1.6, 8.2, 4.2, Qt::AlignRight, 9, false, true, 1},
    {"QRDBText10", DataText, "blocktime", 134.4, 1.6, 13.0, 4.2, Qt::AlignRight, 9, false, true, 1},
    {"QRDBText11", DataText, "flighttime", 148.2, 1.6, 12.4, 4.2, Qt::AlignRight, 9, false, true,
     1},
    {"QRDBText12", DataText, "sincema", 166.2, 1.6, 10.6, 4.2, Qt::AlignRight, 9, false, true, 1},
    {"QRDBText13", DataText, "sinceov", 181.8, 1.6, 10.3, 4.2, Qt::AlignRight, 9, false, true, 1},
    {"QRShape29", VerticalLine, "", 193.1, 0.0, 0.3, 6.6, Qt::AlignLeft, 9, false, false, 2},
    {"QRShape30", VerticalLine, "", 210.1, 0.0, 0.3, 6.6, Qt::AlignLeft, 9, false, false, 2},
    {"QRDBText14", DataText, "remarks", 210.6, 0.3, 10.3, 6.3, Qt::AlignLeft, 9, false, true, 1},
    {"QRDBText15", DataText, "sign", 193.7, 0.0, 5.6, 6.3, Qt::AlignLeft, 9, false, true, 1},
};

// The "記事" block closing each page when the older page pattern is chosen.
constexpr BandLayout::Element Footer[] = {
    {"QRShape18", VerticalLine, "", 14.8, 0.0, 0.3, 29.4, Qt::AlignLeft, 9, false, false, 2},
    {"QRLabel58", Label, "記事", 4.0, 10.1, 6.6, 5.0, Qt::AlignHCenter, 8, false, true, 1},
    {"QRShape19", HorizontalLine, "", 15.1, 5.0, 212.2, 0.3, Qt::AlignLeft, 9, false, false, 1},
    {"QRShape20", HorizontalLine, "", 15.1, 9.8, 212.2, 0.3, Qt::AlignLeft, 9, false, false, 1},
    {"QRShape21", HorizontalLine, "", 15.1, 14.6, 212.2, 0.3, Qt::AlignLeft, 9, false, false, 1},
    {"QRShape22", HorizontalLine, "", 15.1, 19.3, 212.2, 0.3, Qt::AlignLeft, 9, false, false, 1},
    {"QRShape23", HorizontalLine, "", 15.1, 24.1, 212.2, 0.3, Qt::AlignLeft, 9, false, false, 1},
    {"QRShape24", VerticalLine, "", 34.9, 0.0, 0.3, 29.4, Qt::AlignLeft, 9, false, false, 2},
    {"QRShape25", VerticalLine, "", 105.3, 0.0, 0.3, 29.4, Qt::AlignLeft, 9, false, false, 2},
    {"QRShape26", VerticalLine, "", 125.4, 0.0, 0.3, 29.4, Qt::AlignLeft, 9, false, false, 2},
    {"QRShape27", VerticalLine, "", 193.1, 0.0, 0.3, 29.4, Qt::AlignLeft, 9, false, false, 2},
    {"QRLabel2", Label, "年月日", 17.5, 1.1, 13.0, 3.4, Qt::AlignHCenter, 8, false, false, 1},
    {"QRLabel3", Label, "不具合事項", 50.3, 1.1, 40.0, 3.4, Qt::AlignHCenter, 8, false, false, 1},
    {"QRLabel9", Label, "年月日", 108.0, 1.1, 14.0, 3.4, Qt::AlignHCenter, 8, false, false, 1},
    {"QRLabel11", Label, "処置その他", 139.7, 1.1, 40.0, 3.4, Qt::AlignHCenter, 8, false, false, 1},
    {"QRLabel12", Label, "確認整備士", 198.4, 1.1, 16.1, 3.4, Qt::AlignLeft, 8, false, true, 1},
};

} // namespace

const LogLayout::Layout& layout()
{
    static const LogLayout::Layout journeyLog{
        .marginsMm = QMarginsF(20, 10, 10, 10),
        .headerBox = {.boxTopMm = 0.5, .markTopMm = 4.5, .markWidthMm = 29.9, .heavyPen = 2},
        .header = {"PageHeaderBand1", HeaderHeightMm, Header, false, true, 2},
        .detail = {"DetailBand1", DetailHeightMm, Detail},
        .footer = {"PageFooterBand1", FooterHeightMm, Footer, true, true},
        .pageNumberColumn = u"pageno",
        .yearLabel = "QRLabel59",
        .documentSuffix = "_journey_log",
    };
    return journeyLog;
}

} // namespace JourneyLogLayout
