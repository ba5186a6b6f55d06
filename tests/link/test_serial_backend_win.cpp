// The Win32 serial backend on scripted kernel32 calls: the values it passes and how it reads
// the answers.
#include "link/SerialBackend_win.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace tesmira {
namespace {

// What the scripted calls saw, and what they answer.
struct Script {
    std::vector<std::string> log;
    BOOL ok = TRUE; // the answer of every call but CreateFileA
    bool opens = true;
    COMSTAT status{};
    DWORD modemBits = 0;
    DWORD transferred = 5;
} script;

template <typename... T> void Log(const char* name, T... values) {
    std::string entry = name;
    ((entry += " " + std::to_string(values)), ...);
    script.log.push_back(entry);
}

Win32CommCalls ScriptedCalls() {
    Win32CommCalls c;
    c.createFile = [](LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                      DWORD disposition, DWORD attributes, HANDLE templ) {
        Log(path, access, share, security != nullptr, disposition, attributes, templ != nullptr);
        return script.opens ? reinterpret_cast<HANDLE>(0x30) : INVALID_HANDLE_VALUE;
    };
    c.closeHandle = [](HANDLE) -> BOOL {
        return Log("CloseHandle"), TRUE;
    };
    c.setCommState = [](HANDLE, LPDCB) {
        return script.ok;
    };
    c.setupComm = [](HANDLE, DWORD in, DWORD out) {
        return Log("SetupComm", in, out), script.ok;
    };
    c.setCommTimeouts = [](HANDLE, LPCOMMTIMEOUTS t) -> BOOL {
        Log("SetCommTimeouts", t->ReadIntervalTimeout, t->ReadTotalTimeoutMultiplier,
            t->ReadTotalTimeoutConstant, t->WriteTotalTimeoutMultiplier,
            t->WriteTotalTimeoutConstant);
        return FALSE; // ignored
    };
    c.purgeComm = [](HANDLE, DWORD flags) {
        return Log("PurgeComm", flags), script.ok;
    };
    c.clearCommError = [](HANDLE, LPDWORD, LPCOMSTAT s) {
        return *s = script.status, script.ok;
    };
    c.readFile = [](HANDLE, LPVOID, DWORD size, LPDWORD got, LPOVERLAPPED) {
        return Log("ReadFile", size), *got = script.transferred, script.ok;
    };
    c.writeFile = [](HANDLE, LPCVOID, DWORD size, LPDWORD written, LPOVERLAPPED) {
        return Log("WriteFile", size), *written = script.transferred, script.ok;
    };
    c.getCommModemStatus = [](HANDLE, LPDWORD bits) {
        return *bits = script.modemBits, script.ok;
    };
    return c;
}

std::unique_ptr<SerialBackend> OpenScripted() {
    script = {};
    auto port = MakeWin32Backend(ScriptedCalls());
    EXPECT_TRUE(port->Open("\\\\.\\COM12"));
    return port;
}

TEST(Win32Backend, PassesTheCallTableValues) {
    std::uint8_t buffer[64];
    const std::pair<std::function<void(SerialBackend&)>, std::vector<std::string>> rows[] = {
        {[](SerialBackend& p) { p.SetTimeouts(); }, {"SetCommTimeouts 1 0 1 0 10"}},
        {[](SerialBackend& p) { EXPECT_TRUE(p.Purge(true, false)); }, {"PurgeComm 10"}},
        {[](SerialBackend& p) { EXPECT_TRUE(p.Purge(false, true)); }, {"PurgeComm 5"}},
        {[](SerialBackend& p) { EXPECT_TRUE(p.Purge(true, true)); }, {"PurgeComm 15"}},
        {[](SerialBackend& p) { EXPECT_TRUE(p.SetQueueSizes(1024, 2048)); },
         {"SetupComm 1024 2048"}},
        {[&](SerialBackend& p) { EXPECT_EQ(p.Read(buffer, 17), 5); }, {"ReadFile 17"}},
        {[&](SerialBackend& p) { EXPECT_EQ(p.Write(buffer, 40), 5); }, {"WriteFile 40"}},
        // Queued output would hold the close until it has drained.
        {[](SerialBackend& p) { p.Close(); }, {"PurgeComm 5", "CloseHandle"}},
    };
    for (const auto& [act, calls] : rows) {
        auto port = OpenScripted();
        // Read and write access, no sharing, open existing, normal attributes.
        EXPECT_EQ(script.log, std::vector<std::string>{"\\\\.\\COM12 3221225472 0 0 3 128 0"});
        script.log.clear();
        act(*port);
        EXPECT_EQ(script.log, calls);
    }
}

TEST(Win32Backend, AnswersBecomeCountsLinesAndFailures) {
    auto port = OpenScripted();
    script.status.cbInQue = 7;
    script.status.cbOutQue = 300;
    QueueCounts counts;
    ASSERT_TRUE(port->Counts(counts));
    EXPECT_EQ(counts.input, 7u);
    EXPECT_EQ(counts.output, 300u);
    ModemLines lines;
    script.modemBits = MS_CTS_ON | MS_RLSD_ON;
    ASSERT_TRUE(port->ModemStatus(lines));
    EXPECT_EQ(lines, (ModemLines{true, false, false, true}));
    script.modemBits = MS_DSR_ON | MS_RING_ON;
    ASSERT_TRUE(port->ModemStatus(lines));
    EXPECT_EQ(lines, (ModemLines{false, true, true, false}));

    // A write that timed out took nothing; a refused call is a failed line.
    std::uint8_t byte = 0;
    script.transferred = 0;
    EXPECT_EQ(port->Write(&byte, 1), 0);
    script.ok = FALSE;
    EXPECT_EQ(port->Write(&byte, 1), -1);
    EXPECT_EQ(port->Read(&byte, 1), -1);
    EXPECT_FALSE(port->Counts(counts));
    EXPECT_FALSE(port->ModemStatus(lines)); // error 50 on a port without modem lines
    EXPECT_FALSE(port->SetLine(LineSettings{}));
    EXPECT_FALSE(port->Purge(true, true));
}

TEST(Win32Backend, AFailedOpenLeavesThePortClosed) {
    script = {};
    script.opens = false;
    auto port = MakeWin32Backend(ScriptedCalls());
    EXPECT_FALSE(port->Open("\\\\.\\COM3"));
    script.log.clear();
    std::uint8_t byte = 0;
    EXPECT_FALSE(port->SetLine(LineSettings{}));
    EXPECT_EQ(port->Write(&byte, 1), -1);
    port->Close();
    EXPECT_TRUE(script.log.empty());
}

LineSettings Line(bool dtr, LineSettings::Rts rts, bool xon, std::uint16_t limit) {
    LineSettings s;
    s.dtrOn = dtr;
    s.rts = rts;
    s.xonXoff = xon;
    s.xonLimit = s.xoffLimit = limit;
    return s;
}

TEST(Win32Dcb, FieldsFollowTheLineSettings) {
    using Rts = LineSettings::Rts;
    LineSettings framed = Line(false, Rts::Off, true, 2048);
    framed.baudRate = 115200;
    framed.byteSize = 7;
    framed.parity = 2;
    framed.stopBits = 2;
    struct Row {
        LineSettings line;
        DWORD platform, major;
        // BaudRate, ByteSize, Parity, StopBits, DTR and RTS control, CTS flow, XON/XOFF out
        // and in, XON and XOFF limits
        std::vector<unsigned> fields;
    };
    const Row rows[] = {
        {Line(false, Rts::Off, false, 256), 2, 10, {9600, 8, 0, 0, 0, 0, 0, 0, 0, 256, 256}},
        {Line(true, Rts::On, false, 512), 2, 10, {9600, 8, 0, 0, 1, 1, 0, 0, 0, 512, 512}},
        {Line(false, Rts::Handshake, false, 512), 2, 10, {9600, 8, 0, 0, 0, 2, 1, 0, 0, 512, 512}},
        {framed, 2, 10, {115200, 7, 2, 2, 0, 0, 0, 1, 1, 2048, 2048}},
        // Capped from NT 4.0 on, not before it and not on Windows 95.
        {Line(false, Rts::Off, false, 5000), 2, 4, {9600, 8, 0, 0, 0, 0, 0, 0, 0, 4096, 4096}},
        {Line(false, Rts::Off, false, 5000), 2, 3, {9600, 8, 0, 0, 0, 0, 0, 0, 0, 5000, 5000}},
        {Line(false, Rts::Off, false, 5000), 1, 4, {9600, 8, 0, 0, 0, 0, 0, 0, 0, 5000, 5000}},
    };
    for (const Row& row : rows) {
        OSVERSIONINFOA platform{};
        platform.dwPlatformId = row.platform;
        platform.dwMajorVersion = row.major;
        const DCB d = MakeDcb(row.line, platform);
        EXPECT_EQ((std::vector<unsigned>{d.BaudRate, d.ByteSize, d.Parity, d.StopBits,
                                         d.fDtrControl, d.fRtsControl, d.fOutxCtsFlow, d.fOutX,
                                         d.fInX, d.XonLim, d.XoffLim}),
                  row.fields);
        EXPECT_EQ(d.DCBlength, 28u);
        EXPECT_EQ(d.fBinary, 1u);
        EXPECT_EQ(d.XonChar, 0x11);
        EXPECT_EQ(d.XoffChar, 0x13);
        // No parity check, DSR flow, error replacement or abort on error.
        EXPECT_EQ(d.fParity | d.fOutxDsrFlow | d.fDsrSensitivity | d.fErrorChar | d.fAbortOnError |
                      d.fNull,
                  0u);
    }
}

} // namespace
} // namespace tesmira
