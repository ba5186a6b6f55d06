// A fake sysfs tree with tty class entries for tests of serial port discovery.
#pragma once

#include "support/TempDir.h"

#include <filesystem>
#include <string>

namespace tesmira::test {

// Laid out as the kernel does: devices under root/devices, the class entry
// root/class/tty/<name> a link to the tty's own folder, whose "device" link points at the port.
class FakeSysfs {
public:
    FakeSysfs();

    const std::filesystem::path& root() const { return root_; }

    // A USB serial port: a usb-serial bridge port (ttyUSB*) below the interface, or a CDC ACM
    // tty (ttyACM*) on the interface itself. An empty string leaves that attribute out.
    void AddUsbPort(const std::string& name, const std::string& manufacturer,
                    const std::string& product);
    // A serial core port of a platform driver, with the "type" the kernel gives it (0: no UART).
    void AddPlatformPort(const std::string& name, const std::string& driver, int type);
    // A terminal without a device (tty0, console, pseudo-terminal masters).
    void AddVirtualTerminal(const std::string& name);

private:
    void AddClassEntry(const std::string& name, const std::filesystem::path& ttyFolder);

    TempDir dir_;
    std::filesystem::path root_;
    int usbCount_ = 0;
};

} // namespace tesmira::test
