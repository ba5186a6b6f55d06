// The GSM communicator's sound-file commands: the list, upload and delete frames and the file
// list that each of them is answered with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tesmira {

inline constexpr std::size_t kSoundFileMax = 5000; // bytes of one uploaded file
inline constexpr std::size_t kSoundNameField = 10; // zero-padded name at frame bytes 5..14
inline constexpr std::size_t kSoundNameMin = 4;    // a shorter selection is no file name
inline constexpr std::string_view kSoundFileFilter = "Звуковые файлы|*.amr";

inline constexpr std::string_view kUploadTitle = "Загрузка файла";
inline constexpr std::string_view kUploadNameTooLongText =
    "Длина файла с расширением не должна \r\nпревышать 10 символов";
inline constexpr std::string_view kUploadTooLargeText =
    "Можно загрузить файлы только до 5 килобайт.";
inline constexpr std::string_view kDeleteTitle = "Удаление файла";
inline constexpr std::string_view kDeleteNoFileText = "Выберите файл";

// A file command frame, or why it was refused: the text and title of an information box. No
// frame is written when it is refused.
struct SoundFileFrame {
    std::size_t length = 0;
    std::string_view refusal;
    std::string_view title;
};

// 14 01 00 06 20 CRC.
[[nodiscard]] std::size_t WriteListFilesFrame(std::span<std::uint8_t> tx);

// Names are counted in bytes of code page 1251; an upload name must have fewer than 10.
SoundFileFrame CheckUploadName(std::string_view fileName);

// 14 03 N(hi) N(lo) 20, the name zero-padded to 10 bytes, the file's bytes, CRC: size + 16 bytes.
SoundFileFrame WriteUploadFrame(std::span<std::uint8_t> tx, std::string_view fileName,
                                std::span<const std::uint8_t> content);

// The same for a file on disk: the name is checked before the file is opened, and its size
// before it is read. Throws ConfigFileError when the file cannot be read.
SoundFileFrame WriteUploadFrameFromFile(std::span<std::uint8_t> tx,
                                        const std::filesystem::path& path);

// 14 02 00 10 20, the name zero-padded (or cut) to 10 bytes, CRC. A name of fewer than 4
// characters is refused. (Nothing selected in the list does nothing at all.)
SoundFileFrame WriteDeleteFrame(std::span<std::uint8_t> tx, std::string_view selectedName);

// The names of a file list reply (the received frame from its first byte): from byte 5 to the
// byte before the CRC, up to the first zero byte; a byte below 0x14 ends a name, and a name not
// ended so is dropped. Names without a "." are left out.
std::vector<std::string> ParseFileList(std::span<const std::uint8_t> reply);

} // namespace tesmira
