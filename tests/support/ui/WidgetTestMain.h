// The widget tests of a folder share one program, so that each pays once for its moc step and
// its link. Each file names its test class with TESMIRA_WIDGET_TEST instead of QTEST_MAIN; the
// program runs the class of the file named by its first argument, alone, as QTEST_MAIN would.
#pragma once

#include <QObject>

#include <functional>
#include <memory>

namespace tesmira::test {

using WidgetTestFactory = std::function<std::unique_ptr<QObject>()>;

// Registers the test class of `sourceFile` (its __FILE__) under the file's base name.
bool RegisterWidgetTest(const char* sourceFile, WidgetTestFactory factory);

} // namespace tesmira::test

#define TESMIRA_WIDGET_TEST(TestClass)                                                             \
    namespace {                                                                                    \
    [[maybe_unused]] const bool widgetTestRegistered = ::tesmira::test::RegisterWidgetTest(        \
        __FILE__, [] { return std::unique_ptr<QObject>(new TestClass); });                         \
    }
