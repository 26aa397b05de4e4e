#pragma once

#include "print/band_layout.h"

#include <QMarginsF>

// What sets one log's page apart from the others': its margins, its bands as
// laid out, the column that numbers its pages and the label that shows a
// line's year. The three logs share the rest (see LogPrintForm).
namespace LogLayout {

struct BandSpec
{
    const char* name;
    double heightMm;
    std::span<const BandLayout::Element> elements;
    bool ruleTop = false;
    bool ruleBottom = true;
    int rulePen = 1;
};

// The registration box, the page number and the heavy rule under them,
// which every log's header carries with small differences.
struct HeaderBox
{
    double boxTopMm;
    double markTopMm; // the registration mark in the box
    double markWidthMm;
    int heavyPen; // the box and the rule under the title
};

struct Layout
{
    QMarginsF marginsMm; // on B5 landscape paper
    HeaderBox headerBox;
    BandSpec header;
    BandSpec detail;
    BandSpec footer;
    const char16_t* pageNumberColumn;
    const char* yearLabel; // in the detail band
    const char* documentSuffix;
};

// The shared header elements, added ahead of a log's own; the rule spans
// bandWidthMm.
void addHeaderBox(report::Band& band, const HeaderBox& box, double bandWidthMm);
// Spans the rule under the header box across bandWidthMm.
void fitHeaderBox(report::Band& band, double bandWidthMm);

} // namespace LogLayout
