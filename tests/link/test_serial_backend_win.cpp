// The Win32 serial backend on scripted kernel32 calls: the values it passes and how it reads
// the answers.
#include "link/SerialBackend_win.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace tesmira {
namespace {

// What the scripted calls saw, and what they answer.
struct Script {
    std::vector<std::string> log;
    bool ok = true; // the answer of every call but CreateFileA
    bool opens = true;
    COMSTAT status{};
    DWORD modemBits = 0;
    DWORD transferred = 0;
    COMMTIMEOUTS timeouts{};
};
Script script;

std::string Hex(const char* name, DWORD value) {
    char text[64];
    std::snprintf(text, sizeof text, "%s 0x%02lx", name, static_cast<unsigned long>(value));
    return text;
}

Win32CommCalls ScriptedCalls() {
    Win32CommCalls c;
    c.createFile = [](LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                      DWORD disposition, DWORD attributes, HANDLE templ) {
        char text[160];
        std::snprintf(text, sizeof text, "CreateFileA %s 0x%lx %lu %d %lu 0x%lx %d", path, access,
                      share, security != nullptr, disposition, attributes, templ != nullptr);
        script.log.push_back(text);
        return script.opens ? reinterpret_cast<HANDLE>(0x30) : INVALID_HANDLE_VALUE;
    };
    c.closeHandle = [](HANDLE) -> WINBOOL {
        script.log.push_back("CloseHandle");
        return TRUE;
    };
    c.setCommState = [](HANDLE, LPDCB) -> WINBOOL {
        script.log.push_back("SetCommState");
        return script.ok;
    };
    c.setupComm = [](HANDLE, DWORD in, DWORD out) -> WINBOOL {
        script.log.push_back("SetupComm " + std::to_string(in) + " " + std::to_string(out));
        return script.ok;
    };
    c.setCommTimeouts = [](HANDLE, LPCOMMTIMEOUTS t) -> WINBOOL {
        script.log.push_back("SetCommTimeouts");
        script.timeouts = *t;
        return FALSE; // ignored
    };
    c.purgeComm = [](HANDLE, DWORD flags) -> WINBOOL {
        script.log.push_back(Hex("PurgeComm", flags));
        return script.ok;
    };
    c.clearCommError = [](HANDLE, LPDWORD, LPCOMSTAT s) -> WINBOOL {
        *s = script.status;
        return script.ok;
    };
    c.readFile = [](HANDLE, LPVOID, DWORD size, LPDWORD got, LPOVERLAPPED) -> WINBOOL {
        script.log.push_back("ReadFile " + std::to_string(size));
        *got = script.transferred;
        return script.ok;
    };
    c.writeFile = [](HANDLE, LPCVOID, DWORD size, LPDWORD written, LPOVERLAPPED) -> WINBOOL {
        script.log.push_back("WriteFile " + std::to_string(size));
        *written = script.transferred;
        return script.ok;
    };
    c.getCommModemStatus = [](HANDLE, LPDWORD bits) -> WINBOOL {
        *bits = script.modemBits;
        return script.ok;
    };
    c.getVersionEx = [](LPOSVERSIONINFOA v) -> WINBOOL {
        v->dwPlatformId = VER_PLATFORM_WIN32_NT;
        v->dwMajorVersion = 10;
        return TRUE;
    };
    return c;
}

using Log = std::vector<std::string>;

struct CallRow {
    const char* what;
    std::function<void(SerialBackend&)> act;
    Log calls;
};

TEST(Win32Backend, PassesTheCallTableValues) {
    std::uint8_t buffer[64];
    const CallRow rows[] = {
        {"purge input",
         [](SerialBackend& p) { EXPECT_TRUE(p.Purge(true, false)); },
         {"PurgeComm 0x0a"}},
        {"purge output",
         [](SerialBackend& p) { EXPECT_TRUE(p.Purge(false, true)); },
         {"PurgeComm 0x05"}},
        {"purge both",
         [](SerialBackend& p) { EXPECT_TRUE(p.Purge(true, true)); },
         {"PurgeComm 0x0f"}},
        {"queue sizes",
         [](SerialBackend& p) { EXPECT_TRUE(p.SetQueueSizes(1024, 2048)); },
         {"SetupComm 1024 2048"}},
        {"read what waits",
         [&](SerialBackend& p) { EXPECT_EQ(p.Read(buffer, 17), 5); },
         {"ReadFile 17"}},
        {"write", [&](SerialBackend& p) { EXPECT_EQ(p.Write(buffer, 40), 5); }, {"WriteFile 40"}},
        // Queued output would hold the close until it has drained.
        {"close", [](SerialBackend& p) { p.Close(); }, {"PurgeComm 0x05", "CloseHandle"}},
    };
    for (const CallRow& row : rows) {
        script = {};
        script.transferred = 5;
        auto port = MakeWin32Backend(ScriptedCalls());
        ASSERT_TRUE(port->Open("\\\\.\\COM12"));
        EXPECT_EQ(script.log[0], "CreateFileA \\\\.\\COM12 0xc0000000 0 0 3 0x80 0");
        script.log.clear();
        row.act(*port);
        EXPECT_EQ(script.log, row.calls) << row.what;
    }
}

TEST(Win32Backend, TimeoutsLetReadsAndWritesReturnAtOnce) {
    script = {};
    auto port = MakeWin32Backend(ScriptedCalls());
    ASSERT_TRUE(port->Open("\\\\.\\COM1"));
    port->SetTimeouts();
    EXPECT_EQ(script.timeouts.ReadIntervalTimeout, 1u);
    EXPECT_EQ(script.timeouts.ReadTotalTimeoutMultiplier, 0u);
    EXPECT_EQ(script.timeouts.ReadTotalTimeoutConstant, 1u);
    EXPECT_EQ(script.timeouts.WriteTotalTimeoutMultiplier, 0u);
    EXPECT_EQ(script.timeouts.WriteTotalTimeoutConstant, 10u);
}

TEST(Win32Backend, AnswersBecomeCountsLinesAndFailures) {
    script = {};
    auto port = MakeWin32Backend(ScriptedCalls());
    ASSERT_TRUE(port->Open("\\\\.\\COM1"));
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
    script.ok = false;
    EXPECT_EQ(port->Write(&byte, 1), -1);
    EXPECT_EQ(port->Read(&byte, 1), -1);
    EXPECT_FALSE(port->Counts(counts));
    EXPECT_FALSE(port->ModemStatus(lines));
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

struct DcbRow {
    const char* what;
    LineSettings line;
    DWORD platform;
    DWORD major;
    // BaudRate, ByteSize, Parity, StopBits, fDtrControl, fRtsControl, fOutxCtsFlow, fOutX, fInX,
    // XonLim, XoffLim
    std::vector<unsigned> fields;
};

std::vector<unsigned> Fields(const DCB& d) {
    return {d.BaudRate,     d.ByteSize, d.Parity, d.StopBits, d.fDtrControl, d.fRtsControl,
            d.fOutxCtsFlow, d.fOutX,    d.fInX,   d.XonLim,   d.XoffLim};
}

LineSettings Line(std::uint32_t baud, bool dtr, LineSettings::Rts rts, bool xon,
                  std::uint16_t limit) {
    LineSettings s;
    s.baudRate = baud;
    s.dtrOn = dtr;
    s.rts = rts;
    s.xonXoff = xon;
    s.xonLimit = s.xoffLimit = limit;
    return s;
}

TEST(Win32Dcb, FieldsFollowTheLineSettings) {
    using Rts = LineSettings::Rts;
    LineSettings framed = Line(115200, false, Rts::Off, false, 256);
    framed.byteSize = 7;
    framed.parity = 2;
    framed.stopBits = 2;
    const DcbRow rows[] = {
        {"configuration line",
         Line(9600, false, Rts::Off, false, 256),
         2,
         10,
         {9600, 8, 0, 0, 0, 0, 0, 0, 0, 256, 256}},
        {"DTR on, RTS on",
         Line(9600, true, Rts::On, false, 512),
         2,
         10,
         {9600, 8, 0, 0, 1, 1, 0, 0, 0, 512, 512}},
        {"RTS/CTS handshake",
         Line(9600, false, Rts::Handshake, false, 512),
         2,
         10,
         {9600, 8, 0, 0, 0, 2, 1, 0, 0, 512, 512}},
        {"XON/XOFF",
         Line(9600, false, Rts::Off, true, 2048),
         2,
         10,
         {9600, 8, 0, 0, 0, 0, 0, 1, 1, 2048, 2048}},
        {"7E2 at 115200", framed, 2, 10, {115200, 7, 2, 2, 0, 0, 0, 0, 0, 256, 256}},
        {"limit capped from NT 4.0",
         Line(9600, false, Rts::Off, false, 5000),
         2,
         4,
         {9600, 8, 0, 0, 0, 0, 0, 0, 0, 4096, 4096}},
        {"not before NT 4.0",
         Line(9600, false, Rts::Off, false, 5000),
         2,
         3,
         {9600, 8, 0, 0, 0, 0, 0, 0, 0, 5000, 5000}},
        {"not on Windows 95",
         Line(9600, false, Rts::Off, false, 5000),
         1,
         4,
         {9600, 8, 0, 0, 0, 0, 0, 0, 0, 5000, 5000}},
    };
    for (const DcbRow& row : rows) {
        OSVERSIONINFOA platform{};
        platform.dwPlatformId = row.platform;
        platform.dwMajorVersion = row.major;
        const DCB dcb = MakeDcb(row.line, platform);
        EXPECT_EQ(Fields(dcb), row.fields) << row.what;
        EXPECT_EQ(dcb.DCBlength, 28u);
        EXPECT_EQ(dcb.fBinary, 1u);
        EXPECT_EQ(dcb.XonChar, 0x11);
        EXPECT_EQ(dcb.XoffChar, 0x13);
        // No parity check, DSR flow, error replacement or abort on error.
        EXPECT_EQ(dcb.fParity | dcb.fOutxDsrFlow | dcb.fDsrSensitivity | dcb.fErrorChar |
                      dcb.fAbortOnError | dcb.fNull,
                  0u);
    }
}

} // namespace
} // namespace tesmira
