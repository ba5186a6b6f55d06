// The link as the program sets it up (the poll on the user-interface thread's Qt timer, reports
// delivered there) against a simulator that paces its line: a full-size firmware transfer (with
// the link monitor closed, and again with it open and following every frame) and a read of every
// type, each against the time its bytes take on the wire.
#include "app/ui/LinkMonitor.h"
#include "gui/QtPollTimer.h"
#include "gui/ReportBridge.h"
#include "link/Frames.h"
#include "link/LinkModule.h"
#include "tools/DevsimProcess.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <memory>
#include <string_view>

namespace {

using namespace tesmira;
using tesmira::test::DevsimProcess;

constexpr double kBitsPerByte = 10; // start bit, 8 data bits, stop bit

double WireSeconds(std::size_t bytes, double baud) {
    return static_cast<double>(bytes) * kBitsPerByte / baud;
}

double CpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// A full transmit buffer of blocks of 256 data bytes and a shorter last one: 477 blocks.
struct Image {
    std::size_t length = 0;
    std::size_t blocks = 0;
};

Image FillImage(std::span<std::uint8_t> tx) {
    Image image;
    for (; tx.size() - image.length > 2; ++image.blocks) {
        std::size_t& at = image.length;
        const std::size_t data = std::min<std::size_t>(256, tx.size() - at - 2);
        tx[at++] = static_cast<std::uint8_t>(data >> 8);
        tx[at++] = static_cast<std::uint8_t>(data);
        for (std::size_t i = 0; i < data; ++i)
            tx[at++] = static_cast<std::uint8_t>(image.blocks * 13 + i);
    }
    return image;
}

struct Outcome {
    bool ok = false;
    double seconds = 0;
    double cpuSeconds = 0;
    double longestUiStallMs = 0; // the longest the user-interface thread did not get to a tick
};

// One exchange with its reports handled on this (the user-interface) thread; a 1 ms timer
// watches how long the thread is kept from its events.
Outcome RunExchange(LinkModule& link, ExchangeMode mode, int length, ExchangeReport success) {
    QEventLoop loop;
    QObject receiver;
    bool ok = false;
    auto bridge = ui::ReportBridge::create(&receiver, [&](ExchangeReport code, int arg) {
        const bool done =
            code == ExchangeReport::FirmwareProgress
                ? arg == 100
                : code != ExchangeReport::PortOpened && code != ExchangeReport::ReplyStarted;
        if (done) {
            ok = code == success;
            loop.quit();
        }
    });
    QElapsedTimer sinceTick;
    double stall = 0;
    QTimer watch;
    watch.setTimerType(Qt::PreciseTimer);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        stall = std::max(stall, static_cast<double>(sinceTick.nsecsElapsed()) / 1e6 - 1.0);
        sinceTick.restart();
    });
    const double cpu = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    sinceTick.start();
    watch.start(1);
    if (!link.StartExchange(mode, bridge, length))
        return {};
    loop.exec();
    const double seconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
    watch.stop();
    while (link.ExchangeRunning())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    return {ok, seconds, CpuSeconds() - cpu, stall};
}

// A full-size firmware transfer; `suffix` names the figures of this run.
bool TransferFirmware(LinkModule& link, const char* title, const char* suffix) {
    DevsimProcess sim({"--type", "35", "--pace"});
    link.port.SetPortName(sim.slavePath());
    const Image image = FillImage(link.TransmitBuffer());
    const Outcome out = RunExchange(link, ExchangeMode::Firmware, static_cast<int>(image.length),
                                    ExchangeReport::FirmwareProgress);
    const double wire = WireSeconds(image.length, Exchange::kFirmwareBaud);
    // Everything that crosses the line: the blocks with their length fields, and the loader's
    // one-byte answer to each.
    const std::size_t lineBytes = image.length + image.blocks;
    const double line = WireSeconds(lineBytes, Exchange::kFirmwareBaud);
    std::printf("%s: %zu bytes, %.2f s (wire %.2f s; with the %zu answers %zu bytes, %.2f s), "
                "cpu %.2f s, ui stall %.1f ms%s\n",
                title, image.length, out.seconds, wire, image.blocks, lineBytes, line,
                out.cpuSeconds, out.longestUiStallMs, out.ok ? "" : ", FAILED");
    std::printf("firmware_ratio%s=%.2f\n", suffix, out.seconds / wire);
    std::printf("firmware_ratio_line%s=%.2f\n", suffix, out.seconds / line);
    std::printf("ui_stall_ms%s=%.1f\n", suffix, out.longestUiStallMs);
    return out.ok;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv); // the monitor is a widget
    ui::QtPollTimer timer;
    LinkModule link(timer);
    int failures = 0;

    failures += TransferFirmware(link, "firmware", "") ? 0 : 1;
    {
        ui::LinkMonitor monitor(link);
        monitor.resize(900, 300);
        monitor.show();
        monitor.SetListening(true);
        failures += TransferFirmware(link, "firmware, monitor open", "_monitor") ? 0 : 1;
        monitor.TakeFromTap();
        std::printf("monitor rows: %d\n", monitor.model().rowCount());
    }
    // A read of every type the configurator edits; type 32's, the largest record, is also given
    // as read_ms_over_wire as before.
    for (const char* type : {"26", "27", "30", "31", "32", "33", "34", "35"}) {
        DevsimProcess sim({"--type", type, "--pace"});
        link.port.SetPortName(sim.slavePath());
        const Outcome out = RunExchange(link, ExchangeMode::Read, 0, ExchangeReport::Identified);
        const std::size_t bytes = kReadRequestLength + link.Reply().size();
        const double wire = WireSeconds(bytes, Exchange::kConfigBaud);
        const double overWire = (out.seconds - wire) * 1000;
        std::printf("read of type %s: %zu bytes on the line, %.0f ms (wire %.0f ms)%s\n", type,
                    bytes, out.seconds * 1000, wire * 1000, out.ok ? "" : ", FAILED");
        std::printf("read_ms_over_wire_%s=%.0f\n", type, overWire);
        if (std::string_view(type) == "32")
            std::printf("read_ms_over_wire=%.0f\n", overWire);
        failures += out.ok ? 0 : 1;
    }
    return failures == 0 ? 0 : 1;
}
