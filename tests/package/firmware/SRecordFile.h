// An S-record text split into its lines and decoded, written for checking firmware images
// apart from the code that makes them. Parsing is strict: anything but upper-case
// hexadecimal, a byte count that disagrees with the line, a wrong record checksum, an unknown
// record type or a line break other than CR LF is an error.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class SRecordFile {
public:
    struct Range {
        uint32_t first;
        uint32_t last;  // included
        bool operator==(const Range&) const = default;
    };
    struct Line {
        std::string text;  // without its line break
        bool endsWithCrLf;
    };
    struct Record {
        int type;
        uint32_t address;
        std::vector<uint8_t> data;
        bool IsData() const { return type >= 1 && type <= 3; }
    };

    // True when the whole text parsed; otherwise error says where it failed.
    bool Parse(std::string_view text, std::string& error);

    const std::vector<Line>& Lines() const { return m_lines; }
    // One record per line, in the order of the lines.
    const std::vector<Record>& Records() const { return m_records; }

    // The address ranges that consecutive data records cover without a gap; a record that does
    // not continue at the address after the previous one starts a new range.
    std::vector<Range> DataRuns() const;
    // The bytes of the given addresses as the data records leave them, FF where none writes.
    std::vector<uint8_t> AreaBytes(Range area) const;

private:
    bool ParseRecord(const std::string& line, Record& record, std::string& error) const;

    std::vector<Line> m_lines;
    std::vector<Record> m_records;
};
