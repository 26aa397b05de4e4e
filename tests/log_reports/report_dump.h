#pragma once

#include "report/page_model.h"

#include <QString>

namespace printtest {

// A page model as text, positions to 0.1 mm: what golden files hold.
QString dump(const report::PageModel& model);

// Compares with the golden file of that name under tests/log_reports/golden; with
// SKELVO_UPDATE_GOLDEN set in the environment the file is written instead.
void expectGolden(const report::PageModel& model, const QString& name);

} // namespace printtest
