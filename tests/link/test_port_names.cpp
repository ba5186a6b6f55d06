#include "link/PortNames.h"

#include <gtest/gtest.h>

#include <string>

namespace tesmira {
namespace {

struct NameRow {
    const char* text;
    const char* path;
};

TEST(PortNames, UnixTextsAreDeviceNamesOrPaths) {
    const NameRow rows[] = {
        {"ttyUSB0", "/dev/ttyUSB0"},
        {"ttyACM12", "/dev/ttyACM12"},
        {"/dev/pts/3", "/dev/pts/3"},
        {"/tmp/my port", "/tmp/my port"},
        {"COM1", "/dev/COM1"},
        {"pts/4", "/dev/pts/4"},
        {"", ""},
    };
    for (const NameRow& row : rows)
        EXPECT_EQ(UnixPortPath(row.text), row.path) << '"' << row.text << '"';
}

TEST(PortNames, OnlyComTextsNameAWindowsPort) {
    const NameRow rows[] = {
        {"COM1", "\\\\.\\COM1"},
        {"COM17", "\\\\.\\COM17"},
        {"COM", "\\\\.\\COM"},
        {"com3", ""},
        {"ttyUSB0", ""},
        {" COM2", ""},
        {"", ""},
    };
    for (const NameRow& row : rows)
        EXPECT_EQ(WindowsPortPath(row.text), row.path) << '"' << row.text << '"';
}

} // namespace
} // namespace tesmira
