#pragma once

#include "report/report.h"

#include <span>

// A band's elements as the log layouts list them: one line per element,
// turned into the report's elements in one place for all three logs.
namespace BandLayout {

enum class Kind
{
    Label,
    DataText,
    Rectangle,
    HorizontalLine,
    VerticalLine,
};

struct Element
{
    const char* name;
    Kind kind;
    const char* text; // a label's caption (UTF-8) or a data text's column
    double left;
    double top;
    double width;
    double height;
    Qt::Alignment alignment = Qt::AlignLeft;
    double pointSize = 9;
    bool bold = false;
    bool autoSize = false;
    int pen = 1;
};

// The layouts' font, drawn with a Mincho face of the system.
inline constexpr char16_t ReportFontFamily[] = u"ＭＳ Ｐ明朝";

void addElements(report::Band& band, std::span<const Element> elements);

} // namespace BandLayout
