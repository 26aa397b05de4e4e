#pragma once

namespace testsupport {

// Widget tests need an application object, which gtest_main does not make;
// without a display they run on the offscreen platform.
void ensureGuiApplication();

} // namespace testsupport
