#include "maintenance/maintenance_rows.h"

#include "data/data_set.h"

namespace Maintenance {

std::vector<RowFacts> rowFacts(const DataSet& rows)
{
    std::vector<RowFacts> facts;
    if (!rows.isOpen())
        return facts;
    const auto field = [&](QStringView name) { return rows.fieldIndex(name); };
    const int yyyy = field(u"yyyy"), mmdd = field(u"mmdd");
    const int texts[] = {field(u"sincema"),   field(u"sinceov"),   field(u"e_sincema"),
                         field(u"e_sinceov"), field(u"p_sincema"), field(u"p_sinceov")};
    const int marks[] = {field(u"ovh"), field(u"e_ovh"), field(u"p_ovh"), field(u"airworthiness")};
    facts.reserve(rows.recordCount());
    for (int row = 0; row < rows.recordCount(); ++row) {
        const auto text = [&](int index) {
            if (index < 0)
                return QString();
            const QVariant& value = rows.valueAt(row, index);
            return value.isNull() ? QString() : value.toString();
        };
        // Any non-zero value counts as set, as for every mark of a row.
        const auto mark = [&](int index) {
            return index >= 0 && rows.valueAt(row, index).toInt() != 0;
        };
        facts.push_back({text(yyyy), text(mmdd), text(texts[0]), text(texts[1]), text(texts[2]),
                         text(texts[3]), text(texts[4]), text(texts[5]), mark(marks[0]),
                         mark(marks[1]), mark(marks[2]), mark(marks[3])});
    }
    return facts;
}

} // namespace Maintenance
