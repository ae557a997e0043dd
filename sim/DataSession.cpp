#include "sim/DataSession.h"

namespace sim {

namespace {

const char* FaultText(SRecordDecoder::Fault fault) {
    switch (fault) {
        case SRecordDecoder::Fault::BadCharacter:
            return "bad character";
        case SRecordDecoder::Fault::UnsupportedType:
            return "unsupported record type";
        case SRecordDecoder::Fault::BadLength:
            return "bad record length";
        case SRecordDecoder::Fault::BadChecksum:
            return "bad record checksum";
        case SRecordDecoder::Fault::Rejected:
            return "address outside the area";
        case SRecordDecoder::Fault::None:
            break;
    }
    return "no fault";
}

}  // namespace

DataSession::DataSession(AreaMemory& memory, bool prepared)
    : m_memory(memory),
      m_decoder(memory),
      m_status(prepared ? Status::Receiving : Status::NotPrepared) {}

bool DataSession::Receive(std::span<const uint8_t> transfer) {
    m_bytes += transfer.size();
    ++m_transfers;
    if (m_status != Status::Receiving) {
        return false;
    }
    m_decoder.Feed(transfer);
    switch (m_decoder.GetState()) {
        case SRecordDecoder::State::Reading:
            return false;
        case SRecordDecoder::State::Finished:
            m_status = Status::Complete;
            return true;
        case SRecordDecoder::State::Ended:
            m_status = Status::Stopped;
            return true;
        case SRecordDecoder::State::Failed:
            m_status = Status::Failed;
            return true;
    }
    return false;
}

bool DataSession::Close() {
    if (m_status != Status::Receiving) {
        return false;
    }
    m_status = Status::Stopped;
    return true;
}

std::string DataSession::Describe() const {
    std::string text = std::string("data ") + Area().letter + ": " + std::to_string(m_bytes) +
                       " bytes in " + std::to_string(m_transfers) +
                       (m_transfers == 1 ? " transfer, " : " transfers, ");
    switch (m_status) {
        case Status::Receiving:
            return text + "receiving";
        case Status::Complete:
            return text + "complete";
        case Status::Failed:
            return text + FaultText(m_decoder.GetFault()) + " at line " +
                   std::to_string(m_decoder.Line());
        case Status::Stopped:
            return text + "stopped before the S7 record";
        case Status::NotPrepared:
            return text + "discarded, area not prepared";
    }
    return text;
}

}  // namespace sim
