#include "support/FakeSysfs.h"

#include <fstream>

namespace tesmira::test {

namespace fs = std::filesystem;

namespace {

void WriteAttribute(const fs::path& file, const std::string& text) {
    std::ofstream(file) << text << '\n';
}

} // namespace

FakeSysfs::FakeSysfs() : root_(dir_.path() / "sys") {
    fs::create_directories(root_ / "class" / "tty");
    fs::create_directories(root_ / "bus" / "platform" / "drivers");
}

void FakeSysfs::AddClassEntry(const std::string& name, const fs::path& ttyFolder) {
    fs::create_directories(ttyFolder);
    fs::create_directory_symlink(fs::relative(ttyFolder, root_ / "class" / "tty"),
                                 root_ / "class" / "tty" / name);
}

void FakeSysfs::AddUsbPort(const std::string& name, const std::string& manufacturer,
                           const std::string& product) {
    const std::string busPort = "1-" + std::to_string(++usbCount_);
    const fs::path usbDevice = root_ / "devices" / "pci0000:00" / "0000:00:14.0" / "usb1" / busPort;
    const fs::path interface = usbDevice / (busPort + ":1.0");
    fs::create_directories(interface);
    WriteAttribute(usbDevice / "idVendor", "10c4");
    if (!manufacturer.empty())
        WriteAttribute(usbDevice / "manufacturer", manufacturer);
    if (!product.empty())
        WriteAttribute(usbDevice / "product", product);
    const bool acm = name.rfind("ttyACM", 0) == 0;
    const fs::path port = acm ? interface : interface / name; // the "device" of the tty
    const fs::path ttyFolder = port / "tty" / name;
    AddClassEntry(name, ttyFolder);
    fs::create_directory_symlink(fs::relative(port, ttyFolder), ttyFolder / "device");
}

void FakeSysfs::AddPlatformPort(const std::string& name, const std::string& driver, int type) {
    const fs::path port = root_ / "devices" / "platform" / (driver + ".0");
    const fs::path driverFolder = root_ / "bus" / "platform" / "drivers" / driver;
    fs::create_directories(driverFolder);
    fs::create_directories(port);
    std::error_code ec;
    if (!fs::is_symlink(port / "driver", ec))
        fs::create_directory_symlink(fs::relative(driverFolder, port), port / "driver");
    const fs::path ttyFolder = port / "tty" / name;
    AddClassEntry(name, ttyFolder);
    fs::create_directory_symlink(fs::relative(port, ttyFolder), ttyFolder / "device");
    WriteAttribute(ttyFolder / "type", std::to_string(type));
}

void FakeSysfs::AddVirtualTerminal(const std::string& name) {
    AddClassEntry(name, root_ / "devices" / "virtual" / "tty" / name);
}

} // namespace tesmira::test
