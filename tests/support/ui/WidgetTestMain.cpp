#include "support/ui/WidgetTestMain.h"

#include <QApplication>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace tesmira::test {

namespace {

std::map<std::string, WidgetTestFactory>& Registry() {
    static std::map<std::string, WidgetTestFactory> registry;
    return registry;
}

} // namespace

bool RegisterWidgetTest(const char* sourceFile, WidgetTestFactory factory) {
    const auto name = std::filesystem::path(sourceFile).stem().string();
    // Two files of one name in one program would hide one of them.
    if (!Registry().emplace(name, std::move(factory)).second) {
        std::fprintf(stderr, "widget test %s registered twice\n", name.c_str());
        std::abort();
    }
    return true;
}

} // namespace tesmira::test

// Usage: PROGRAM TEST_FILE_NAME [Qt Test arguments...]; with no name, lists the names.
int main(int argc, char** argv) {
    const auto& registry = tesmira::test::Registry();
    if (argc < 2) {
        for (const auto& entry : registry) {
            std::printf("%s\n", entry.first.c_str());
        }
        return 0;
    }
    const auto found = registry.find(argv[1]);
    if (found == registry.end()) {
        std::fprintf(stderr, "no widget test named %s\n", argv[1]);
        return 2;
    }
    // The program name stays first for Qt Test; the test's name is not one of its arguments.
    std::vector<char*> args{argv[0]};
    args.insert(args.end(), argv + 2, argv + argc);
    int count = static_cast<int>(args.size());
    QApplication app(count, args.data());
    app.setAttribute(Qt::AA_Use96Dpi, true);
    const auto test = found->second();
    return QTest::qExec(test.get(), count, args.data());
}
