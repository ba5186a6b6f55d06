#include "model/Backups.h"

#include "model/ConfigFile.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <system_error>
#include <tuple>

namespace tesmira {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kExtension = ".bcf";
constexpr std::string_view kBefore = "before";
constexpr std::string_view kAfter = "after";
// "2026-12-09_14-03-27"
constexpr std::size_t kTimeLength = 19;

std::string Utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

fs::path PathOf(std::string_view utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

bool SafeAscii(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.';
}

std::optional<int> Number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0)
        return std::nullopt;
    return value;
}

std::optional<BackupTime> ParseTime(std::string_view text) {
    // Positions of the six numbers and of the separators between them.
    if (text.size() != kTimeLength || text[4] != '-' || text[7] != '-' || text[10] != '_' ||
        text[13] != '-' || text[16] != '-')
        return std::nullopt;
    const auto year = Number(text.substr(0, 4)), month = Number(text.substr(5, 2)),
               day = Number(text.substr(8, 2)), hour = Number(text.substr(11, 2)),
               minute = Number(text.substr(14, 2)), second = Number(text.substr(17, 2));
    if (!year || !month || !day || !hour || !minute || !second)
        return std::nullopt;
    return BackupTime{*year, *month, *day, *hour, *minute, *second};
}

std::string_view KindText(BackupKind kind) {
    return kind == BackupKind::Before ? kBefore : kAfter;
}

// The last '_'-separated part of `text`, taken off it.
std::string_view TakeLastPart(std::string_view& text) {
    const std::size_t at = text.rfind('_');
    if (at == std::string_view::npos) {
        const std::string_view whole = text;
        text = {};
        return whole;
    }
    const std::string_view last = text.substr(at + 1);
    text = text.substr(0, at);
    return last;
}

// Which copy of a name this is: 1 for the name itself, n for its "_n".
struct ParsedName {
    BackupEntry entry;
    int copy = 1;
};

std::optional<ParsedName> Parse(const fs::path& file) {
    const std::string name = Utf8(file.filename());
    if (name.size() <= kExtension.size() || !name.ends_with(kExtension))
        return std::nullopt;
    std::string_view stem(name.data(), name.size() - kExtension.size());
    if (stem.size() < kTimeLength + 1 || stem[kTimeLength] != '_')
        return std::nullopt;
    ParsedName parsed;
    const auto time = ParseTime(stem.substr(0, kTimeLength));
    if (!time)
        return std::nullopt;
    parsed.entry.time = *time;
    std::string_view rest = stem.substr(kTimeLength + 1);

    std::string_view part = TakeLastPart(rest);
    if (const auto copy = Number(part)) {
        if (*copy < 2)
            return std::nullopt;
        parsed.copy = *copy;
        part = TakeLastPart(rest);
    }
    if (part == kBefore)
        parsed.entry.kind = BackupKind::Before;
    else if (part == kAfter)
        parsed.entry.kind = BackupKind::After;
    else
        return std::nullopt;
    part = TakeLastPart(rest);
    const auto version = part.starts_with('v') ? Number(part.substr(1)) : std::nullopt;
    if (!version || rest.empty())
        return std::nullopt;
    parsed.entry.version = *version;
    parsed.entry.device = std::string(rest);
    parsed.entry.file = file;
    return parsed;
}

// Within one second a write leaves its before and then its after; the next write's copies of
// that second get "_2".
bool Newer(const ParsedName& a, const ParsedName& b) {
    const auto key = [](const ParsedName& p) {
        const BackupTime& t = p.entry.time;
        return std::tuple(t.year, t.month, t.day, t.hour, t.minute, t.second, p.copy,
                          p.entry.kind == BackupKind::After, p.entry.file.filename());
    };
    return key(a) > key(b);
}

std::vector<ParsedName> ParsedBackups(const fs::path& folder) {
    std::vector<ParsedName> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec))
            continue;
        if (auto parsed = Parse(it->path()))
            found.push_back(std::move(*parsed));
    }
    std::sort(found.begin(), found.end(), Newer);
    return found;
}

ConfigFileError CannotKeep(const fs::path& folder) {
    return ConfigFileError("Не удалось записать файл " + Utf8(folder));
}

} // namespace

BackupTime LocalBackupTime(std::time_t moment) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &moment);
#else
    localtime_r(&moment, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::string SafeFileNamePart(std::string_view deviceName) {
    std::string safe;
    for (const char c : deviceName) {
        if (static_cast<unsigned char>(c) >= 0x80 || SafeAscii(c))
            safe += c;
        else if (!safe.empty() && safe.back() != '-')
            safe += '-';
    }
    while (!safe.empty() && safe.back() == '-')
        safe.pop_back();
    return safe.empty() ? std::string("-") : safe;
}

std::string BackupFileName(const BackupTime& time, std::string_view deviceName, int version,
                           BackupKind kind) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d_%02d-%02d-%02d", time.year, time.month,
                  time.day, time.hour, time.minute, time.second);
    return std::string(stamp) + "_" + SafeFileNamePart(deviceName) + "_v" +
           std::to_string(version) + "_" + std::string(KindText(kind)) + std::string(kExtension);
}

std::optional<BackupEntry> ParseBackupFileName(const fs::path& file) {
    if (auto parsed = Parse(file))
        return std::move(parsed->entry);
    return std::nullopt;
}

fs::path KeepBackup(const fs::path& folder, const BackupTime& time, std::string_view deviceName,
                    int version, BackupKind kind, std::span<const std::uint8_t> image,
                    std::size_t kept) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec)
        throw CannotKeep(folder);
    const std::string name = BackupFileName(time, deviceName, version, kind);
    const std::string_view stem(name.data(), name.size() - kExtension.size());
    fs::path file = folder / PathOf(name);
    for (int copy = 2; fs::exists(file, ec) || ec; ++copy) {
        if (ec || copy > 1000)
            throw CannotKeep(file);
        file = folder /
               PathOf(std::string(stem) + "_" + std::to_string(copy) + std::string(kExtension));
    }
    SaveFileAtomically(file, image);

    const std::vector<ParsedName> backups = ParsedBackups(folder);
    for (std::size_t i = kept; i < backups.size(); ++i)
        fs::remove(backups[i].entry.file, ec); // one that cannot go stays until the next time
    return file;
}

std::vector<BackupEntry> ListBackups(const fs::path& folder) {
    std::vector<BackupEntry> entries;
    for (ParsedName& parsed : ParsedBackups(folder))
        entries.push_back(std::move(parsed.entry));
    return entries;
}

bool IsInFolder(const fs::path& file, const fs::path& folder) {
    std::error_code ec;
    const fs::path parent = fs::weakly_canonical(file, ec).parent_path();
    if (ec)
        return false;
    const fs::path wanted = fs::weakly_canonical(folder, ec);
    return !ec && parent == wanted;
}

} // namespace tesmira
