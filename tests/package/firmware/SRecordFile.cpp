#include "tests/package/firmware/SRecordFile.h"

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

int AddressBytes(int type) {
    switch (type) {
        case 0:
        case 1:
        case 5:
        case 9:
            return 2;
        case 2:
        case 6:
        case 8:
            return 3;
        case 3:
        case 7:
            return 4;
        default:
            return -1;
    }
}

}  // namespace

bool SRecordFile::Parse(std::string_view text, std::string& error) {
    m_lines.clear();
    m_records.clear();
    size_t start = 0;
    while (start < text.size()) {
        const size_t breakAt = text.find_first_of("\r\n", start);
        Line line{std::string(text.substr(start, breakAt - start)), false};
        if (breakAt == std::string_view::npos) {
            start = text.size();
        } else if (text.compare(breakAt, 2, "\r\n") == 0) {
            line.endsWithCrLf = true;
            start = breakAt + 2;
        } else {
            error = "line " + std::to_string(m_lines.size() + 1) + ": a lone CR or LF";
            return false;
        }
        Record record;
        if (!ParseRecord(line.text, record, error)) {
            error.insert(0, "line " + std::to_string(m_lines.size() + 1) + ": ");
            return false;
        }
        m_lines.push_back(std::move(line));
        m_records.push_back(std::move(record));
    }
    return true;
}

bool SRecordFile::ParseRecord(const std::string& line, Record& record, std::string& error) const {
    if (line.size() < 4 || line[0] != 'S' || line[1] < '0' || line[1] > '9') {
        error = "not an S-record";
        return false;
    }
    record.type = line[1] - '0';
    const int addressBytes = AddressBytes(record.type);
    if (addressBytes < 0) {
        error = "record type S" + std::to_string(record.type);
        return false;
    }
    if (line.size() % 2 != 0) {
        error = "odd number of hexadecimal digits";
        return false;
    }
    std::vector<uint8_t> bytes;
    for (size_t i = 2; i < line.size(); i += 2) {
        const int high = HexDigit(line[i]);
        const int low = HexDigit(line[i + 1]);
        if (high < 0 || low < 0) {
            error = "not an upper-case hexadecimal byte: " + line.substr(i, 2);
            return false;
        }
        bytes.push_back(static_cast<uint8_t>(high * 16 + low));
    }
    if (size_t{bytes[0]} != bytes.size() - 1 || bytes[0] < addressBytes + 1) {
        error = "byte count disagrees with the line";
        return false;
    }
    uint8_t sum = 0;
    for (size_t i = 0; i + 1 < bytes.size(); ++i) {
        sum = static_cast<uint8_t>(sum + bytes[i]);
    }
    if (static_cast<uint8_t>(~sum) != bytes.back()) {
        error = "wrong record checksum";
        return false;
    }
    record.address = 0;
    for (int i = 1; i <= addressBytes; ++i) {
        record.address = (record.address << 8) | bytes[i];
    }
    record.data.assign(bytes.begin() + 1 + addressBytes, bytes.end() - 1);
    return true;
}

std::vector<SRecordFile::Range> SRecordFile::DataRuns() const {
    std::vector<Range> runs;
    for (const Record& record : m_records) {
        if (!record.IsData() || record.data.empty()) {
            continue;
        }
        const uint32_t last = record.address + static_cast<uint32_t>(record.data.size()) - 1;
        if (!runs.empty() && runs.back().last + 1 == record.address) {
            runs.back().last = last;
        } else {
            runs.push_back({record.address, last});
        }
    }
    return runs;
}

std::vector<uint8_t> SRecordFile::AreaBytes(Range area) const {
    std::vector<uint8_t> bytes(static_cast<size_t>(area.last - area.first) + 1, 0xFF);
    for (const Record& record : m_records) {
        if (!record.IsData()) {
            continue;
        }
        for (size_t i = 0; i < record.data.size(); ++i) {
            const uint64_t address = uint64_t{record.address} + i;
            if (address >= area.first && address <= area.last) {
                bytes[address - area.first] = record.data[i];
            }
        }
    }
    return bytes;
}
