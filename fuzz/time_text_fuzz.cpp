// Time text as typed into the grid or read from any store: two texts and a
// percentage through every operation.
#include "core/time_text.h"
#include "fuzz/fuzz_support.h"

#include <fuzzer/FuzzedDataProvider.h>

using fuzzsupport::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QString a = QString::fromStdString(input.ConsumeRandomLengthString(24));
    const QString b = QString::fromStdString(input.ConsumeRandomLengthString(24));
    const int percent = input.ConsumeIntegral<int>();

    require(MyutyTime::TimeAdd(a, b) == MyutyTime::TimeAdd(b, a), "A + B is B + A");
    require(MyutyTime::TimeDiff(a, a).isEmpty(), "A - A is zero, the empty text");
    MyutyTime::TimePercent(a, percent);
    MyutyTime::NormalizeTimeText(a);
    return 0;
}
