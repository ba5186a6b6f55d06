// The two-loop transmitters' factory records written out once, for the tests that need a known
// record of type 26 or 27, and the file of the type 26 one. The record's own test pins the editor's
// defaults to the same bytes.
#pragma once

#include <cstdint>
#include <vector>

namespace tesmira::test {

inline const std::vector<std::uint8_t> kFactoryRecord26 = {0x01, 0x08, 0x05, 0x02, 0x03, 0x04, 0x07,
                                                           0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01};
inline const std::vector<std::uint8_t> kFactoryRecord27 = {0x01, 0x08, 0x05, 0x0A, 0x03, 0x04, 0x07,
                                                           0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01};

// The type 26 factory record as a configuration file: header, the record behind its length, CRC.
inline const std::vector<std::uint8_t> kFactoryFile26 = {0x01, 0x00, 0x1A, 0x00, 0x0D, 0x01, 0x08,
                                                         0x05, 0x02, 0x03, 0x04, 0x07, 0x65, 0x3C,
                                                         0x1E, 0x00, 0x00, 0x01, 0x4C};

} // namespace tesmira::test
