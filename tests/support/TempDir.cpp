#include "support/TempDir.h"

#include <random>
#include <stdexcept>
#include <system_error>

namespace tesmira::test {

TempDir::TempDir() {
    // create_directory fails on a name that exists, so two tests never share a folder.
    std::random_device seed;
    std::mt19937_64 pick(seed());
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto candidate = base / ("tesmira-test-" + std::to_string(pick()));
        std::error_code ec;
        if (std::filesystem::create_directory(candidate, ec)) {
            std::filesystem::permissions(candidate, std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::replace, ec);
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

} // namespace tesmira::test
