#include "tools/CliProcess.h"

#include <fstream>
#include <iterator>

namespace tesmira::test {

CliResult RunCliProcess(const std::vector<std::string>& args,
                        const std::filesystem::path& dataFolder) {
    CliProcess cli(args, dataFolder);
    return cli.Wait();
}

std::filesystem::path CliBackupsFolder(const std::filesystem::path& dataFolder) {
    return dataFolder / "Korvana" / "Tesmira" / "backups";
}

std::string ReadText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace tesmira::test
