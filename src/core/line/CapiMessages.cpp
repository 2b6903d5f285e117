#include "line/CapiMessages.h"

#include "support/AsciiText.h"
#include "support/TextFile.h"

#include <algorithm>

namespace capi {

namespace {

void putLE(Message& message, std::uint32_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        message.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

/// Starts a message with its header; the length is filled in by finish().
Message begin(std::uint16_t applId, std::uint8_t command, std::uint8_t subcommand,
              std::uint16_t number) {
    Message message;
    message.reserve(32);
    putLE(message, 0, 2);
    putLE(message, applId, 2);
    message.push_back(command);
    message.push_back(subcommand);
    putLE(message, number, 2);
    return message;
}

Message finish(Message message) {
    const auto length = static_cast<std::uint16_t>(message.size());
    message[0] = static_cast<std::uint8_t>(length);
    message[1] = static_cast<std::uint8_t>(length >> 8);
    return message;
}

void putZeros(Message& message, std::size_t count) {
    message.insert(message.end(), count, 0);
}

void putStruct(Message& message, const std::string& bytes) {
    message.push_back(static_cast<std::uint8_t>(std::min<std::size_t>(bytes.size(), 255)));
    message.insert(message.end(), bytes.begin(),
                   bytes.begin() +
                       static_cast<std::ptrdiff_t>(std::min<std::size_t>(bytes.size(), 255)));
}

Message plciMessage(std::uint16_t applId, std::uint8_t command, std::uint8_t subcommand,
                    std::uint32_t plci, std::size_t trailingZeros) {
    auto message = begin(applId, command, subcommand, 0);
    putLE(message, plci, 4);
    putZeros(message, trailingZeros);
    return finish(std::move(message));
}

std::size_t codePoints(const std::string& utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

void removeBlanks(std::string& text) {
    std::erase(text, ' ');
}

/// The structure part of a CONNECT_IND body, with positions counted from 1 as the decoding
/// rules count them. Positions beyond the copied body read as 0.
class StructureBytes {
public:
    StructureBytes(const std::uint8_t* body, std::size_t size)
        : m_body(body), m_size(std::min(size, kConnectBodySize)) {}

    std::uint8_t at(std::size_t position) const {
        const std::size_t offset = 6 + position - 1;
        return offset < m_size ? m_body[offset] : 0;
    }

    /// True when positions first .. first+count-1 all lie inside the body.
    bool holds(std::size_t first, std::size_t count) const {
        return 6 + first - 1 + count <= m_size;
    }

    /// count bytes from position first as text (Windows-1252 decoded).
    std::string text(std::size_t first, std::size_t count) const {
        std::string bytes;
        for (std::size_t i = 0; i < count; ++i) {
            bytes.push_back(static_cast<char>(at(first + i)));
        }
        return cp1252ToUtf8(bytes);
    }

private:
    const std::uint8_t* m_body;
    std::size_t m_size;
};

} // namespace

std::uint32_t readLE(const std::uint8_t* data, std::size_t size, std::size_t offset,
                     std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        if (offset + i < size) {
            value |= static_cast<std::uint32_t>(data[offset + i]) << (8 * i);
        }
    }
    return value;
}

MessageHeader decodeHeader(const std::uint8_t* data, std::size_t size) {
    MessageHeader header;
    header.length = static_cast<std::uint16_t>(readLE(data, size, 0, 2));
    header.applId = static_cast<std::uint16_t>(readLE(data, size, 2, 2));
    header.command = static_cast<std::uint8_t>(readLE(data, size, 4, 1));
    header.subcommand = static_cast<std::uint8_t>(readLE(data, size, 5, 1));
    header.number = static_cast<std::uint16_t>(readLE(data, size, 6, 2));
    return header;
}

Message encodeListenReq(std::uint16_t applId) {
    auto message = begin(applId, kListen, kReq, 1);
    putLE(message, 1, 4);          // first controller
    putLE(message, 0, 4);          // no INFO_IND wanted
    putLE(message, 0x00010012, 4); // speech, 3.1 kHz audio, telephony
    putLE(message, 0, 4);          // CIP mask 2
    putZeros(message, 2);          // calling party number and subaddress: empty
    return finish(std::move(message));
}

Message encodeAlertReq(std::uint16_t applId, std::uint32_t plci) {
    return plciMessage(applId, kAlert, kReq, plci, 5);
}

Message encodeConnectResp(std::uint16_t applId, std::uint32_t plci, std::uint16_t reject) {
    auto message = begin(applId, kConnect, kResp, 0);
    putLE(message, plci, 4);
    putLE(message, reject, 2);
    putZeros(message, 13);
    return finish(std::move(message));
}

Message encodeConnectActiveResp(std::uint16_t applId, std::uint32_t plci) {
    return plciMessage(applId, kConnectActive, kResp, plci, 0);
}

Message encodeDisconnectReq(std::uint16_t applId, std::uint32_t plci) {
    return plciMessage(applId, kDisconnect, kReq, plci, 1);
}

Message encodeDisconnectResp(std::uint16_t applId, std::uint32_t plci) {
    return plciMessage(applId, kDisconnect, kResp, plci, 0);
}

Message encodeInfoResp(std::uint16_t applId, std::uint32_t plci) {
    return plciMessage(applId, kInfo, kResp, plci, 0);
}

Message encodeConnectInd(std::uint16_t applId, std::uint16_t number,
                         const IncomingCallElements& call) {
    auto message = begin(applId, kConnect, kInd, number);
    putLE(message, call.plci, 4);
    putLE(message, call.cip, 2);
    putStruct(message, "\x81" + call.calledDigits);
    if (call.callingDigits) {
        std::string calling;
        calling.push_back(static_cast<char>(call.octet3));
        calling.push_back(static_cast<char>(call.octet3a));
        putStruct(message, calling + *call.callingDigits);
    } else {
        putStruct(message, {});
    }
    // Called and calling subaddress, BC, LLC, HLC, additional info, second calling number.
    putZeros(message, 7);
    return finish(std::move(message));
}

namespace {

// A message whose parameters are a PLCI (or controller) and one 16-bit value.
Message encodeWithValue(std::uint16_t applId, std::uint8_t command, std::uint8_t subcommand,
                        std::uint16_t number, std::uint32_t plci, std::uint16_t value) {
    auto message = begin(applId, command, subcommand, number);
    putLE(message, plci, 4);
    putLE(message, value, 2);
    return finish(std::move(message));
}

} // namespace

Message encodeConfirmation(std::uint16_t applId, std::uint8_t command, std::uint16_t number,
                           std::uint32_t plciOrController, std::uint16_t info) {
    return encodeWithValue(applId, command, kConf, number, plciOrController, info);
}

Message encodeConnectActiveInd(std::uint16_t applId, std::uint16_t number, std::uint32_t plci) {
    auto message = begin(applId, kConnectActive, kInd, number);
    putLE(message, plci, 4);
    putZeros(message, 3); // connected number, connected subaddress, LLC
    return finish(std::move(message));
}

Message encodeDisconnectInd(std::uint16_t applId, std::uint16_t number, std::uint32_t plci,
                            std::uint16_t reason) {
    return encodeWithValue(applId, kDisconnect, kInd, number, plci, reason);
}

Message encodeInfoInd(std::uint16_t applId, std::uint16_t number, std::uint32_t plci) {
    auto message = begin(applId, kInfo, kInd, number);
    putLE(message, plci, 4);
    putLE(message, 0x0028, 2); // info number: display
    putZeros(message, 1);      // empty info element
    return finish(std::move(message));
}

DecodedCall decodeConnectInd(const std::uint8_t* body, std::size_t size, const CallerTexts& texts) {
    const auto kept = std::min(size, kConnectBodySize);
    DecodedCall call;
    call.plci = readLE(body, kept, 0, 4);
    call.cip = static_cast<std::int16_t>(readLE(body, kept, 4, 2));

    const StructureBytes bytes(body, kept);
    const std::size_t calledLength = bytes.at(1);
    const std::uint8_t octet3 = bytes.at(calledLength + 3);

    // A structure that does not fit into the body counts as empty.
    std::string called;
    if (calledLength > 0 && bytes.holds(1, calledLength + 1)) {
        called = bytes.text(3, calledLength - 1);
    }

    std::size_t callingLength = bytes.at(calledLength + 2);
    if (!bytes.holds(calledLength + 2, callingLength + 1)) {
        callingLength = 0;
    }

    std::string caller;
    if (callingLength > 2) {
        caller = bytes.text(calledLength + 5, callingLength - 2);
        if (ascii::isAllDigits(caller)) {
            switch (octet3 & 0x70) {
            case 0x20:
                caller = "0" + caller;
                break;
            case 0x10:
                caller = "00" + caller;
                break;
            default:
                break;
            }
        }
    } else if (callingLength > 0) {
        const std::uint8_t octet3a = bytes.at(calledLength + 4);
        if ((octet3a & 0x60) == 0x20) {
            if ((octet3 & 0x0F) == 1) {
                caller = texts.withheld;
            } else if (octet3 == 0) {
                caller = texts.unknown;
            } else {
                caller = texts.withheldOtherPlan + std::to_string(octet3);
            }
        }
    } else {
        caller = texts.notTransmitted;
    }

    if (codePoints(caller) < 3) {
        caller = texts.unknown;
    }
    removeBlanks(caller);
    // Digits that were all blanks leave nothing: the caller is unknown then, too.
    if (caller.empty()) {
        caller = texts.unknown;
        removeBlanks(caller);
    }
    removeBlanks(called);
    if (ascii::isAllDigits(caller) && caller[0] != '0') {
        caller = "0" + caller;
    }
    call.calledMSN = std::move(called);
    call.callerID = std::move(caller);
    return call;
}

} // namespace capi
