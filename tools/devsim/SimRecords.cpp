#include "SimRecords.h"

#include <algorithm>

namespace tesmira::devsim {

namespace {

const Bytes kDefault26 = {0x01, 0x08, 0x05, 0x02, 0x03, 0x04, 0x07,
                          0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01};
const Bytes kDefault27 = {0x01, 0x08, 0x05, 0x0A, 0x03, 0x04, 0x07,
                          0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01};

// Types 30 and 31 share one record.
const Bytes kDefault30 = {0x38, 0x17, 0x1E, 0x1E, 0x28, 0x14, 0x00, 0x00, 0x28, 0x14, 0x00, 0x00,
                          0x28, 0x14, 0x00, 0x00, 0x08, 0x10, 0x00, 0x00, 0x10, 0x0F, 0x00, 0x00,
                          0x18, 0x04, 0x00, 0x00, 0x18, 0x04, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00,
                          0x00, 0x33, 0x10, 0x00, 0x80, 0x01, 0x10, 0x01, 0x00, 0x00, 0x01, 0x02,
                          0x04, 0x08, 0x10, 0x20, 0xFF, 0x00, 0x78, 0x00, 0x00, 0x00};

const Bytes kDefault33 = {0x07, 0x17, 0x05, 0x14, 0x06, 0x15, 0x02, 0x0F, 0x03, 0x04,
                          0x00, 0x00, 0x01, 0x00, 0x80, 0x00, 0x78, 0x00, 0x00, 0x00};

// Types 34 and 35: the head of the record; the transmitter entries after it are all zero.
const Bytes kHead34 = {0x00, 0x18, 0x00, 0x01, 0x05, 0x05, 0x05,
                       0x08, 0x01, 0x03, 0x33, 0x00, 0x0C};
const Bytes kHead35 = {0x01, 0x00, 0x00, 0x03, 0x04, 0x07, 0x17, 0x1E, 0x1E, 0x01,
                       0x01, 0x03, 0x00, 0x01, 0x18, 0x28, 0x01, 0x01, 0x33, 0x00};

Bytes Padded(const Bytes& head, std::size_t size) {
    Bytes r(size, 0x00);
    std::copy(head.begin(), head.end(), r.begin());
    return r;
}

struct Span {
    std::size_t offset;
    Bytes bytes;
};

// Type 32: the non-zero fields of the record at their offsets; every other byte is zero.
Bytes Default32() {
    Bytes r(kGsmRecordSize, 0x00);
    const Span fields[] = {
        {0, {0x01, 0x00}},                // device number 1, little-endian
        {324, {'*', '1', '0', '2', '#'}}, // SIM1 balance request
        {332, {'*', '1', '0', '2', '#'}}, // SIM2 balance request
        {342, {0x0E, 0x5F}},              // server port 24334
        {378, {0xBA, 0xAB}},              // passed through, meaning unknown
        {380, {0x00, 0x01, 0x00, 0x04}},  // copy of the caption block header
    };
    for (const Span& f : fields)
        std::copy(f.bytes.begin(), f.bytes.end(),
                  r.begin() + static_cast<std::ptrdiff_t>(f.offset));
    std::fill(r.begin() + 132, r.begin() + 324, 0xFF); // every event reported
    return r;
}

} // namespace

Form FormOf(std::uint8_t type) {
    return type == 32 || type == 34 || type == 35 ? Form::Long : Form::Short;
}

std::size_t RecordSize(std::uint8_t type) {
    switch (type) {
    case 26:
    case 27:
        return 13;
    case 30:
    case 31:
        return 58;
    case 32:
        return kGsmRecordSize;
    case 33:
        return 20;
    case 34:
        return 55;
    case 35:
        return 116;
    default:
        return 0;
    }
}

Bytes DefaultRecord(std::uint8_t type) {
    switch (type) {
    case 26:
        return kDefault26;
    case 27:
        return kDefault27;
    case 30:
    case 31:
        return kDefault30;
    case 32:
        return Default32();
    case 33:
        return kDefault33;
    case 34:
        return Padded(kHead34, 55);
    case 35:
        return Padded(kHead35, 116);
    default:
        return Bytes(8, 0x00);
    }
}

Bytes DefaultCaptions() {
    return {0x00, 0x01, 0x00, 0x04};
}

} // namespace tesmira::devsim
