// tesmira-devsim: plays a device on a pseudo-terminal for tests, demos and training.
#include "SimConfigFile.h"
#include "SimOptions.h"
#include "SimPacedLine.h"
#include "SimServer.h"

#include <csignal>
#include <fstream>
#include <iostream>

using namespace tesmira::devsim;

namespace {

std::atomic<bool> gStop{false};

void OnSignal(int) {
    gStop.store(true);
}

void InstallSignals() {
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

int Fail(const std::string& text, int code = 1) {
    std::cerr << "tesmira-devsim: " << text << "\n";
    return code;
}

std::unique_ptr<Device> MakeDevice(const Options& o, std::string& error) {
    ConfigContent config;
    if (!o.config.empty() && !ReadConfigFile(o.config, config, error))
        return nullptr;
    if (!o.config.empty() && o.type && *o.type != config.type) {
        error = o.config + " holds a configuration of type " + std::to_string(config.type);
        return nullptr;
    }
    const auto type = static_cast<std::uint8_t>(o.type ? *o.type : config.type);
    auto device = std::make_unique<Device>(type, o.version, o.faults);
    if (!o.config.empty() && !device->Load(config.record, config.captions, error))
        return nullptr;
    for (const std::string& name : o.files)
        device->AddFile(name);
    return device;
}

bool WriteFirmware(const std::string& path, const Bytes& image, std::string& error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()),
              static_cast<std::streamsize>(image.size()));
    if (!out.flush()) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::string error;
    auto options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options)
        return Fail(error, 2);
    if (options->help) {
        std::cout << HelpText();
        return 0;
    }
    auto device = MakeDevice(*options, error);
    if (!device)
        return Fail(error);
    auto line = options->port.empty() ? OpenPseudoTerminal(error)
                                      : OpenSerialPort(options->port, options->portBaud, error);
    if (!line)
        return Fail(error);
    if (options->pace)
        line = std::make_unique<PacedLine>(std::move(line));
    InstallSignals();
    std::cout << line->path() << std::endl; // flushed: scripts wait for this line

    const Timing timing{std::chrono::milliseconds(options->delayMs), options->splitChunks,
                        std::chrono::milliseconds(options->splitPauseMs)};
    Server server(*line, *device, timing, options->log ? stdout : nullptr);
    server.Run(gStop);

    int code = 0;
    if (!options->save.empty() && !WriteConfigFile(options->save, *device, error))
        code = Fail(error);
    if (!options->firmwareOut.empty() &&
        !WriteFirmware(options->firmwareOut, device->firmware(), error))
        code = Fail(error);
    return code;
}
