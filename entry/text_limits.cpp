#include "entry/text_limits.h"

QValidator::State TextLimitValidator::validate(QString& input, int& /*position*/) const
{
    return unstorableValueProblem(column_, input, limit_).isEmpty() ? Acceptable : Invalid;
}
